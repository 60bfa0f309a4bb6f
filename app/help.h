#pragma once
// Menu "Hilfe": the guide, a window beside the main window whose pictures the
// net renderer draws from small constructions built here, and the box about
// the program.
#include <QDialog>
#include <QString>

class QTextBrowser;

namespace didod {

// Names under which the guide's pictures are resources of its document.
inline constexpr const char* kGuidePictureLoose = "bild:lose";
inline constexpr const char* kGuidePictureTurned = "bild:gedreht";
inline constexpr const char* kGuidePictureLocked = "bild:gesperrt";
inline constexpr const char* kGuidePictureCube = "bild:wuerfel";

class GuideWindow : public QDialog {
  Q_OBJECT
 public:
  explicit GuideWindow(QWidget* parent = nullptr);
  QTextBrowser* text() const { return text_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void DrawPictures(qreal ratio);
  QTextBrowser* text_ = nullptr;
  qreal ratio_ = 0.0;  // device pixel ratio the pictures were drawn for
  bool followsScreen_ = false;
};

// "Anleitung" (F1): shows the parent's guide window, made on the first call;
// later calls bring the same window to the front.
GuideWindow* ShowGuide(QWidget* parent);

// The program's version and licence as the build states them.
QString ProgramVersion();
QString ProgramLicence();

// "Über Zozeroradedar": a modal box with name, version and licence.
void ShowAbout(QWidget* parent);

}  // namespace didod
