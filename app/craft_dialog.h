#pragma once
#include <QDialog>
#include <string>

#include "craft/sheet.h"
#include "model/construction.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QRadioButton;

namespace didod {

// The choices for a cut-and-fold sheet: paper, edge length or as large as fits,
// glue tabs and where they go, edge and face numbers, faces coloured by kind,
// and printing on the inside.
class CraftDialog : public QDialog {
  Q_OBJECT
 public:
  CraftDialog(const QString& caption, QWidget* parent = nullptr);

  craft::CraftOptions Options() const;
  void SetOptions(const craft::CraftOptions& options);

  QComboBox* paper = nullptr;
  QRadioButton* fixedSize = nullptr;
  QDoubleSpinBox* edgeLength = nullptr;  // mm
  QRadioButton* largest = nullptr;       // "so groß wie möglich"
  QCheckBox* tabs = nullptr;
  QComboBox* tabSides = nullptr;         // which edge of a pair, or both
  QCheckBox* numbers = nullptr;
  QCheckBox* faceNumbers = nullptr;
  QCheckBox* faceColours = nullptr;
  QCheckBox* printInside = nullptr;      // "Innenseite bedrucken"
};

// The edge length (mm) the cut-and-fold sheet offers for a net: the true edge
// length of a solid made to measure (0 for none), otherwise the last sheet's.
double CraftEdgeLength(double trueEdgeLength);

// The window's commands "Bastelbogen speichern …" and "Bastelbogen drucken …".
// Both check first that the net folds; a net that does not gets the fold
// check's verdict and no sheet. Then they ask for the sheet's options, and a
// file name (PDF or SVG) or a printer. Return whether a sheet was written or
// printed. A true edge length (mm: the longest edge of a solid made to
// measure, 0 for none) is offered as the sheet's edge length.
bool SaveCraftSheet(const Construction& construction, const std::string& netName, QWidget* parent,
                    double trueEdgeLength = 0);
bool PrintCraftSheet(const Construction& construction, const std::string& netName, QWidget* parent,
                     double trueEdgeLength = 0);

// Without any dialog: folds, lays out and writes the sheet to the file, PDF or,
// for a name ending in ".svg", SVG. Returns an empty string when written,
// otherwise the message for the user (the fold verdict or why the sheet cannot
// be made); file errors are thrown.
std::string WriteCraftSheetFile(const Construction& construction, const std::string& netName,
                                const craft::CraftOptions& options, const std::string& path);

}  // namespace didod
