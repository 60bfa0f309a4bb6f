#pragma once
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMimeData>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <string>
#include <vector>

#include "interaction/mouse.h"
#include "model/construction.h"
#include "model/history.h"
#include "model/polygon_factory.h"
#include "output/paint_proc.h"
#include "app/construction_dialogs.h"
#include "app/sheet_widget.h"

namespace didod {

struct SolidChoice;

inline constexpr const char* kWindowCaption = "Zozeroradedar konstruieren";

// The questions of ConfirmDiscardOrSave: before the window closes, and before
// something else (a dropped or imported file, a solid) replaces the construction.
inline constexpr const char* kCloseQuestion = "Die Konstruktion wurde geändert. Vor dem Beenden speichern?";
inline constexpr const char* kReplaceQuestion = "Die Konstruktion wurde geändert. Vorher speichern?";

// The one window. It creates the controls, routes their events to the core and
// repaints; the logic lives in the core modules.
class Tfpoly : public QMainWindow {
  Q_OBJECT
 public:
  explicit Tfpoly(QWidget* parent = nullptr);
  ~Tfpoly() override;

  Construction& construction() { return construction_; }
  const Construction& construction() const { return construction_; }

  // Handlers.
  void RG1C();
  void S7C();
  void S18Click();
  void S14Click();
  void S15Cla();
  void S40Click();
  void S41Click();
  void S42Click();
  void Co2Change();
  void f3Click(QObject* sender);
  void PB5Paint();
  void S29C();
  void Sp20C();
  void S3C();
  void S19C();
  void S22C();
  void PB5MouseDown(SheetButton button, int x, int y);
  void PB5MouseMove(int x, int y);
  void PB5MouseUp(SheetButton button, int x, int y);
  // "Körper erzeugen …": asks for a solid and lays its net on the sheet.
  void MakeSolid();
  // Lays the net of the solid on the sheet as one undo step and remembers its
  // true size for the cut-and-fold sheet. False (after telling why) when no
  // net fits the store.
  bool PlaceSolid(const SolidChoice& choice);
  // "Körper importieren …": asks for a 3-D file and lays its solid's net on the sheet.
  void ImportSolid();
  // Lays the net of the solid in the file on the sheet as one undo step, after
  // asking what to do with a changed construction (false when the user
  // cancels). Throws with the message of the first fault, the construction
  // left as it was.
  bool ImportSolidFile(const QString& path);
  double TrueEdgeLength() const { return trueEdge_; }

  // Loads a construction file as the load command does after its dialog: one
  // undo step; a bad file throws and leaves the construction as it was. Serves
  // the file given at start-up and a file dropped onto the window.
  void OpenConstructionFile(const QString& path);
  // The one local "*.pko" file that dropped data names, or empty.
  static QString DroppedConstructionFile(const QMimeData* data);

  void Undo();
  void Redo();
  const UndoHistory& history() const { return history_; }

  // Whether the construction differs from its state at start, at the last
  // successful save, load or catalogue choice (undo back to that state counts
  // as unchanged). Zooming is no change.
  bool ConstructionChanged() const { return !history_.IsClean(); }
  // Before the construction is lost or replaced: when it is changed, asks
  // whether to save it first ("Speichern" runs the normal save, "Verwerfen"
  // goes on without, "Abbrechen" or Esc stops). Returns whether the caller may
  // go on: nothing was changed, the save succeeded, or the user discarded.
  bool ConfirmDiscardOrSave(const QString& question = QString::fromUtf8(kCloseQuestion));

  RenderOptions CurrentRenderOptions() const;
  // The drawing of the sheet for picture output: the renderer bound to this window.
  PaintProc SheetPaintProc() const;
  // The side panel's fields as the polygon factory reads them.
  PolygonRequest CurrentPolygonRequest() const;

 signals:
  // The result of ConstructionChanged() became `changed`.
  void changedStateChanged(bool changed);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The controls. Each has its pointer's name as object name (the caption text
  // "P1Caption"; undo, redo, load and save "MUndo", "MRedo", "MLoad", "MSave";
  // the items "MMakeSolid", "MFold", "MCraftSave", "MCraftPrint"), by
  // which tests find them.
  // Caption strip.
  QFrame* P1 = nullptr;
  QLabel* captionText = nullptr;
  QToolBar* TB3 = nullptr;
  QToolButton* S7 = nullptr;
  QToolBar* TB1 = nullptr;
  QWidget* P27 = nullptr;
  QToolButton* S18 = nullptr;
  QToolButton* S14 = nullptr;
  QToolButton* S15 = nullptr;
  QToolButton* S40 = nullptr;
  QToolButton* S42 = nullptr;
  QToolButton* S41 = nullptr;
  QWidget* P8 = nullptr;
  QComboBox* Co2 = nullptr;
  // Work area.
  QWidget* P2 = nullptr;
  QFrame* P34 = nullptr;
  SheetWidget* PB5 = nullptr;
  // Side panel.
  QLabel* L51 = nullptr;
  QPushButton *f3 = nullptr, *f4 = nullptr, *f5 = nullptr, *f6 = nullptr, *f8 = nullptr, *f10 = nullptr,
              *f12 = nullptr, *f7 = nullptr, *f9 = nullptr, *f11 = nullptr;
  QLabel *L39 = nullptr, *L49 = nullptr, *L40 = nullptr, *L41 = nullptr, *L50 = nullptr;
  QLineEdit *E7 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr;
  QComboBox* Co1 = nullptr;
  QCheckBox *c4 = nullptr, *c3 = nullptr;
  // Menu.
  QMenuBar* MM1 = nullptr;
  QAction *M3 = nullptr, *M4 = nullptr;
  QMenu *M2 = nullptr, *M9 = nullptr;
  QAction *M10 = nullptr, *M11 = nullptr, *M12 = nullptr, *M13 = nullptr, *M14 = nullptr;
  QMenu* editMenu = nullptr;
  QAction* undoAction = nullptr;
  QAction* redoAction = nullptr;
  QAction* saveShortcut = nullptr;
  QMenu* solidMenu = nullptr;  // "Körper"
  QAction* makeSolidAction = nullptr;  // "Körper erzeugen …"
  QAction* importSolidAction = nullptr;  // "Körper importieren …"
  QAction* foldAction = nullptr;
  QAction* craftSaveAction = nullptr;
  QAction* craftPrintAction = nullptr;
  QMenu* helpMenu = nullptr;  // "Hilfe"
  QAction *guideAction = nullptr, *aboutAction = nullptr;
  QAction* loadShortcut = nullptr;
  QAction* clearAction = nullptr;
  QMenu* viewMenu = nullptr;  // "Ansicht"
  QAction *zoomInAction = nullptr, *zoomOutAction = nullptr, *zoomStandardAction = nullptr;

  void BuildCaptionStrip(QWidget* parent);
  void BuildSidePanel(QWidget* parent);
  void BuildMenu();
  void FormActivate();
  void KeepControlsWhole();
  void SetUpKeyboardAndScreenReaders();
  // The file last saved or loaded, shown in the title bar; empty for none.
  void SetCurrentFile(const QString& path);
  QPushButton* MakePolygonButton(const char* name, const QString& caption, int left, int top, int width);
  void ReplaceConstruction(Construction&& replacement);
  // Runs an action that changes the construction and records it as one undo step.
  template <typename Body>
  void RecordAction(const std::string& label, bool changesScale, Body&& body);
  void UpdateUndoActions();
  // The save command; returns whether a file was written.
  bool SaveConstructionAs();
  void MarkSaved();
  ViewCentre SheetCentre() const { return PB5->Centre(); }

  Construction construction_;
  std::string netName_;  // name of the chosen catalogue net or the loaded file, for printed sheets
  double trueEdge_ = 0;  // mm, the longest edge of the solid made last; 0 when the net has no true size
  DragState drag_;
  UndoHistory history_;
  ConstructionSnapshot dragBefore_;
  bool changedShown_ = false;  // the changed state last announced
  RememberedFile lastSaved_;   // where the save dialog starts
  RememberedFile lastLoaded_;  // where the open dialog starts
  int shownNet_ = 0;           // the entry of Co2 before its latest change, shown again when a choice is cancelled
  RememberedFile lastImported_;  // where the import dialog starts
  std::vector<std::string> LB8;   // the catalogue's lines
};

}  // namespace didod
