#include "app/solid_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "solids/families.h"
#include "solids/library.h"

namespace didod {

namespace {

const char* kNotANumber = "Bitte eine Zahl eingeben.";
constexpr int kPictureSize = 48;
constexpr double kLibraryEdge = 40.0;  // mm, the longest edge offered first

SolidFaces FacesOf(const solids::Polyhedron& p) {
  SolidFaces faces;
  for (const auto& f : p.faces) {
    std::vector<geo::Vec3> corners;
    for (int v : f) corners.push_back(p.vertices[v]);
    faces.push_back(std::move(corners));
  }
  return faces;
}

double LongestEdge(const solids::Polyhedron& p) {
  double longest = 0;
  for (const auto& f : p.faces)
    for (std::size_t i = 0; i < f.size(); ++i)
      longest = std::max(longest, geo::Distance(p.vertices[f[i]], p.vertices[f[(i + 1) % f.size()]]));
  return longest;
}

// The library's pictures, drawn once while the program runs.
const std::vector<QIcon>& LibraryPictures() {
  static const std::vector<QIcon> pictures = [] {
    std::vector<QIcon> p;
    for (const solids::LibraryEntry& e : solids::Library())
      p.push_back(QIcon(QPixmap::fromImage(SolidPicture(FacesOf(e.build()), kPictureSize))));
    return p;
  }();
  return pictures;
}

void ShowProblem(QLabel* label, const std::string& message) {
  label->setText(QString::fromStdString(message));
  label->setVisible(!message.empty());
}

}  // namespace

std::optional<double> ReadMeasure(const QString& text) {
  QString t = text.trimmed();
  t.replace(',', '.');
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || t.isEmpty()) return std::nullopt;
  return v;
}

SolidDialog::SolidDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Körper erzeugen");
  setObjectName("solidDialog");
  tabs = new QTabWidget(this);

  // Made to measure.
  auto* measured = new QWidget(tabs);
  auto* grid = new QGridLayout(measured);
  family = new QComboBox(measured);
  family->setObjectName("family");
  for (const solids::FamilyForm& f : solids::Families()) family->addItem(QString::fromStdString(f.name));
  grid->addWidget(new QLabel("Körper:", measured), 0, 0);
  grid->addWidget(family, 0, 1, 1, 2);
  std::size_t most = 0;
  for (const solids::FamilyForm& f : solids::Families()) most = std::max(most, f.measures.size());
  for (std::size_t m = 0; m < most; ++m) {
    auto* label = new QLabel(measured);
    auto* field = new QLineEdit(measured);
    field->setObjectName(QString("measure%1").arg(m));
    field->setMaximumWidth(90);
    auto* problem = new QLabel(measured);
    problem->setObjectName(QString("problem%1").arg(m));
    problem->setStyleSheet("QLabel { color: #b00000; }");
    problem->setWordWrap(true);
    problem->hide();
    label->setBuddy(field);
    grid->addWidget(label, 1 + static_cast<int>(m), 0);
    grid->addWidget(field, 1 + static_cast<int>(m), 1);
    grid->addWidget(problem, 1 + static_cast<int>(m), 2);
    labels.push_back(label);
    fields.push_back(field);
    problems.push_back(problem);
    connect(field, &QLineEdit::textChanged, this, [this] { Update(); });
  }
  regular = new QCheckBox(measured);
  regular->setObjectName("regular");
  grid->addWidget(regular, 1 + static_cast<int>(most), 0, 1, 3);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(2 + static_cast<int>(most), 1);
  tabs->addTab(measured, "Nach Maß");

  // The library.
  auto* shelf = new QWidget(tabs);
  auto* shelfLayout = new QVBoxLayout(shelf);
  search = new QLineEdit(shelf);
  search->setObjectName("search");
  search->setPlaceholderText("Suchen, z. B. Würfel, Kuppel, J86 …");
  search->setClearButtonEnabled(true);
  library = new QListWidget(shelf);
  library->setObjectName("library");
  library->setIconSize(QSize(kPictureSize, kPictureSize));
  auto* edgeRow = new QHBoxLayout;
  libraryEdge = new QLineEdit(QString::number(kLibraryEdge), shelf);
  libraryEdge->setObjectName("libraryEdge");
  libraryEdge->setMaximumWidth(90);
  auto* edgeLabel = new QLabel("Längste Kante (mm):", shelf);
  edgeLabel->setBuddy(libraryEdge);
  libraryProblem = new QLabel(shelf);
  libraryProblem->setObjectName("libraryProblem");
  libraryProblem->setStyleSheet("QLabel { color: #b00000; }");
  libraryProblem->hide();
  edgeRow->addWidget(edgeLabel);
  edgeRow->addWidget(libraryEdge);
  edgeRow->addWidget(libraryProblem, 1);
  shelfLayout->addWidget(search);
  shelfLayout->addWidget(library, 1);
  shelfLayout->addLayout(edgeRow);
  tabs->addTab(shelf, "Bibliothek");

  preview = new SolidPreview(this);
  auto* buttons = new QDialogButtonBox(this);
  create = buttons->addButton("Netz erzeugen", QDialogButtonBox::AcceptRole);
  create->setObjectName("create");
  buttons->addButton("Abbrechen", QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (choice_) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* row = new QHBoxLayout;
  row->addWidget(tabs, 1);
  row->addWidget(preview, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row, 1);
  layout->addWidget(buttons);

  FillLibrary();
  connect(family, &QComboBox::currentIndexChanged, this, [this] { ShowFamily(); });
  connect(regular, &QCheckBox::toggled, this, [this] { Update(); });
  connect(tabs, &QTabWidget::currentChanged, this, [this] { Update(); });
  connect(search, &QLineEdit::textChanged, this, [this] { FillLibrary(); });
  connect(library, &QListWidget::currentRowChanged, this, [this] { Update(); });
  connect(library, &QListWidget::itemDoubleClicked, this, [this] {
    if (choice_) accept();
  });
  connect(libraryEdge, &QLineEdit::textChanged, this, [this] { Update(); });
  ShowFamily();
}

void SolidDialog::ShowFamily() {
  const solids::FamilyForm& form = solids::Families().at(std::max(0, family->currentIndex()));
  for (std::size_t m = 0; m < fields.size(); ++m) {
    const bool used = m < form.measures.size();
    labels[m]->setVisible(used);
    fields[m]->setVisible(used);
    if (!used) { problems[m]->hide(); continue; }
    labels[m]->setText(QString::fromStdString(form.measures[m].label) + (form.measures[m].whole ? ":" : " (mm):"));
    fields[m]->blockSignals(true);
    fields[m]->setText(QString::number(form.measures[m].initial));
    fields[m]->blockSignals(false);
  }
  regular->blockSignals(true);
  regular->setVisible(!form.regularLabel.empty());
  regular->setText(QString::fromStdString(form.regularLabel));
  regular->setChecked(false);
  regular->blockSignals(false);
  Update();
}

void SolidDialog::FillLibrary() {
  const QString current = library->currentItem() ? library->currentItem()->text() : QString();
  library->blockSignals(true);
  library->clear();
  const auto& pictures = LibraryPictures();
  for (int i : solids::SearchLibrary(search->text().toStdString())) {
    auto* item = new QListWidgetItem(pictures[i], QString::fromStdString(solids::Library()[i].name), library);
    if (item->text() == current) library->setCurrentItem(item);
  }
  if (!library->currentItem() && library->count() > 0) library->setCurrentRow(0);
  library->blockSignals(false);
  Update();
}

std::optional<SolidChoice> SolidDialog::FamilyChoice() {
  const solids::FamilyForm& form = solids::Families().at(std::max(0, family->currentIndex()));
  solids::FamilyInput input{form.kind, {}, regular->isVisible() && regular->isChecked()};
  std::map<int, std::string> messages;
  for (std::size_t m = 0; m < form.measures.size(); ++m) {
    const bool fixedByRegular = input.regular && static_cast<int>(m) == form.heightMeasure;
    fields[m]->setEnabled(!fixedByRegular);
    const std::optional<double> v = ReadMeasure(fields[m]->text());
    if (!v && !fixedByRegular) messages[static_cast<int>(m)] = kNotANumber;
    input.values.push_back(v.value_or(fixedByRegular ? 0.0 : 1.0));
  }
  for (const solids::FieldProblem& p : solids::CheckFamily(input))
    if (!messages.count(p.measure)) messages[p.measure] = p.message;
  for (std::size_t m = 0; m < form.measures.size(); ++m)
    ShowProblem(problems[m], messages.count(static_cast<int>(m)) ? messages[static_cast<int>(m)] : "");
  if (!messages.empty()) return std::nullopt;
  SolidChoice c;
  c.solid = solids::BuildFamily(input);
  c.name = solids::FamilySolidName(input);
  c.longestEdge = LongestEdge(c.solid);
  return c;
}

std::optional<SolidChoice> SolidDialog::LibraryChoice() {
  const std::optional<double> edge = ReadMeasure(libraryEdge->text());
  const std::string message = edge ? solids::LengthProblem(*edge) : kNotANumber;
  ShowProblem(libraryProblem, message);
  if (!message.empty() || !library->currentItem()) return std::nullopt;
  const solids::LibraryEntry& entry = solids::LibraryEntryNamed(library->currentItem()->text().toStdString());
  SolidChoice c;
  c.solid = solids::BuildLibrarySolid(entry, *edge);
  c.name = entry.name;
  c.longestEdge = *edge;
  return c;
}

void SolidDialog::Update() {
  choice_ = tabs->currentIndex() == 0 ? FamilyChoice() : LibraryChoice();
  create->setEnabled(choice_.has_value());
  preview->setSolid(choice_ ? FacesOf(choice_->solid) : SolidFaces{});
}

}  // namespace didod
