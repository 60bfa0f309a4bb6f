#pragma once
// "Körper erzeugen": a solid made to measure (a family and its measures in
// mm) or one of the library, with a turnable picture that follows every
// change. Invalid measures get their German reason beside the field and no
// solid.
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "app/solid_preview.h"
#include "solids/model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace didod {

struct SolidChoice {
  solids::Polyhedron solid;  // in mm
  std::string name;          // German, for the sheet's title
  double longestEdge = 0;    // mm: the true size the cut-and-fold sheet offers
};

// A measure typed in a field: decimal point or comma; nothing when it is no number.
std::optional<double> ReadMeasure(const QString& text);

class SolidDialog : public QDialog {
  Q_OBJECT
 public:
  explicit SolidDialog(QWidget* parent = nullptr);

  // The solid as the fields describe it now; nothing while a field is invalid.
  const std::optional<SolidChoice>& Choice() const { return choice_; }

  QTabWidget* tabs = nullptr;          // "Nach Maß", "Bibliothek"
  QComboBox* family = nullptr;
  std::vector<QLabel*> labels;         // one per measure of the largest family
  std::vector<QLineEdit*> fields;
  std::vector<QLabel*> problems;       // beside each field
  QCheckBox* regular = nullptr;
  QLineEdit* search = nullptr;
  QListWidget* library = nullptr;
  QLineEdit* libraryEdge = nullptr;    // longest edge, mm
  QLabel* libraryProblem = nullptr;
  SolidPreview* preview = nullptr;
  QPushButton* create = nullptr;       // "Netz erzeugen"

 private:
  void ShowFamily();
  void FillLibrary();
  void Update();
  std::optional<SolidChoice> FamilyChoice();
  std::optional<SolidChoice> LibraryChoice();

  std::optional<SolidChoice> choice_;
};

}  // namespace didod
