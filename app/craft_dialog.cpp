#include "app/craft_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>

#include "app/application.h"
#include "app/fold_view.h"
#include "craft/fold_gluing.h"
#include "output/craft_writer.h"
#include "output/recent_folder.h"

namespace didod {

namespace {

constexpr double kDefaultEdgeLength = 40.0;  // mm

// The entries of the tab choice, in the order shown.
struct TabChoice {
  const char* text;
  craft::TabMode mode;
  craft::TabSide side;
};
constexpr TabChoice kTabChoices[] = {
    {"an einer Kante je Paar, wo mehr Platz ist", craft::TabMode::OneSide, craft::TabSide::Roomiest},
    {"an der kleineren Fläche", craft::TabMode::OneSide, craft::TabSide::SmallerFace},
    {"an der größeren Fläche", craft::TabMode::OneSide, craft::TabSide::LargerFace},
    {"abwechselnd entlang der Naht", craft::TabMode::OneSide, craft::TabSide::Alternating},
    {"an beiden Kanten", craft::TabMode::BothSides, craft::TabSide::Roomiest},
};
constexpr int kTabChoiceCount = static_cast<int>(std::size(kTabChoices));

// The options of the last sheet, offered again while the program runs.
craft::CraftOptions& LastOptions() {
  static craft::CraftOptions options = [] {
    craft::CraftOptions o;
    o.edgeLength = kDefaultEdgeLength;
    return o;
  }();
  return options;
}

void Tell(QWidget* parent, const std::string& message) {
  QMessageBox box(QMessageBox::Information, kApplicationTitle, QString::fromStdString(message), QMessageBox::Ok,
                  parent);
  box.exec();
}

bool EndsWith(const std::string& s, const std::string& tail) {
  if (s.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i]) return false;
  return true;
}

// Asks for the options until the sheet can be laid out; nothing when cancelled.
std::optional<craft::CraftSheet> AskAndLayOut(const Construction& construction, const craft::SheetFolding& folding,
                                              const std::string& netName, const QString& caption,
                                              double trueEdgeLength, QWidget* parent) {
  CraftDialog dialog(caption, parent);
  craft::CraftOptions offered = LastOptions();
  if (trueEdgeLength > 0) offered.edgeLength = CraftEdgeLength(trueEdgeLength);
  dialog.SetOptions(offered);
  while (dialog.exec() == QDialog::Accepted) {
    craft::CraftOptions options = dialog.Options();
    options.title = netName;
    LastOptions() = options;
    try {
      return craft::LayoutCraftSheet(construction, folding.hinges, folding.gluings, options);
    } catch (const craft::CraftError& e) {
      Tell(parent, e.what());
    }
  }
  return std::nullopt;
}

}  // namespace

double CraftEdgeLength(double trueEdgeLength) {
  if (trueEdgeLength > 0) return std::clamp(trueEdgeLength, craft::kMinEdgeLength, craft::kMaxEdgeLength);
  // "as large as fits" has no length of its own before a sheet is laid out.
  return LastOptions().edgeLength > 0 ? LastOptions().edgeLength : kDefaultEdgeLength;
}

CraftDialog::CraftDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
  setWindowTitle(caption);
  auto* form = new QFormLayout;

  paper = new QComboBox(this);
  paper->setObjectName("paper");
  paper->addItem("A4", static_cast<int>(craft::Paper::A4));
  paper->addItem("A3", static_cast<int>(craft::Paper::A3));
  paper->addItem("Letter", static_cast<int>(craft::Paper::Letter));
  form->addRow("Papier:", paper);

  fixedSize = new QRadioButton("Kantenlänge:", this);
  fixedSize->setObjectName("fixedSize");
  edgeLength = new QDoubleSpinBox(this);
  edgeLength->setObjectName("edgeLength");
  edgeLength->setRange(craft::kMinEdgeLength, craft::kMaxEdgeLength);
  edgeLength->setDecimals(1);
  edgeLength->setSuffix(" mm");
  edgeLength->setValue(kDefaultEdgeLength);
  edgeLength->setToolTip("Länge der längsten Kante des Netzes");
  largest = new QRadioButton("so groß wie möglich", this);
  largest->setObjectName("largest");
  auto* sizes = new QButtonGroup(this);
  sizes->addButton(fixedSize);
  sizes->addButton(largest);
  fixedSize->setChecked(true);
  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(fixedSize);
  sizeRow->addWidget(edgeLength);
  form->addRow("Größe:", sizeRow);
  form->addRow("", largest);
  connect(fixedSize, &QRadioButton::toggled, edgeLength, &QWidget::setEnabled);

  tabs = new QCheckBox("Klebelaschen", this);
  tabs->setObjectName("tabs");
  tabs->setChecked(true);
  tabSides = new QComboBox(this);
  tabSides->setObjectName("tabSides");
  for (const TabChoice& choice : kTabChoices) tabSides->addItem(choice.text);
  tabSides->setToolTip("Welche Kante eines Paares die Lasche bekommt; hat sie keinen Platz, bekommt sie die andere");
  auto* tabRow = new QHBoxLayout;
  tabRow->addWidget(tabs);
  tabRow->addWidget(tabSides);
  form->addRow("Laschen:", tabRow);
  connect(tabs, &QCheckBox::toggled, tabSides, &QWidget::setEnabled);

  numbers = new QCheckBox("Kanten nummerieren", this);
  numbers->setObjectName("edgeNumbers");
  form->addRow("", numbers);
  faceNumbers = new QCheckBox("Flächen nummerieren", this);
  faceNumbers->setObjectName("faceNumbers");
  form->addRow("", faceNumbers);
  faceColours = new QCheckBox("Flächen je Art farbig füllen", this);
  faceColours->setObjectName("faceColours");
  faceColours->setToolTip("Gleiche Flächen bekommen dieselbe helle Farbe");
  form->addRow("", faceColours);
  printInside = new QCheckBox("Innenseite bedrucken", this);
  printInside->setObjectName("printInside");
  printInside->setToolTip(
      "Spiegelt den ganzen Bogen, damit die Linien auf der Innenseite von farbigem Papier liegen");
  form->addRow("", printInside);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

craft::CraftOptions CraftDialog::Options() const {
  craft::CraftOptions o;
  o.paper = static_cast<craft::Paper>(paper->currentData().toInt());
  o.edgeLength = largest->isChecked() ? 0.0 : edgeLength->value();
  const TabChoice& choice = kTabChoices[std::clamp(tabSides->currentIndex(), 0, kTabChoiceCount - 1)];
  o.tabs = tabs->isChecked() ? choice.mode : craft::TabMode::None;
  o.tabSide = choice.side;
  o.edgeNumbers = numbers->isChecked();
  o.faceNumbers = faceNumbers->isChecked();
  o.faceColours = faceColours->isChecked();
  o.printInside = printInside->isChecked();
  return o;
}

void CraftDialog::SetOptions(const craft::CraftOptions& o) {
  paper->setCurrentIndex(paper->findData(static_cast<int>(o.paper)));
  if (o.edgeLength > 0.0) {
    edgeLength->setValue(o.edgeLength);
    fixedSize->setChecked(true);
  } else {
    largest->setChecked(true);
  }
  tabs->setChecked(o.tabs != craft::TabMode::None);
  int choice = 0;
  for (int i = 0; i < kTabChoiceCount; ++i) {
    const bool both = kTabChoices[i].mode == craft::TabMode::BothSides;
    if (o.tabs == craft::TabMode::BothSides ? both : !both && kTabChoices[i].side == o.tabSide) choice = i;
  }
  tabSides->setCurrentIndex(choice);
  numbers->setChecked(o.edgeNumbers);
  faceNumbers->setChecked(o.faceNumbers);
  faceColours->setChecked(o.faceColours);
  printInside->setChecked(o.printInside);
}

std::string WriteCraftSheetFile(const Construction& construction, const std::string& netName,
                                const craft::CraftOptions& options, const std::string& path) {
  const craft::SheetFolding folding = craft::FoldForSheet(construction);
  if (!folding.folds) return folding.message;
  craft::CraftOptions named = options;
  named.title = netName;
  craft::CraftSheet sheet;
  try {
    sheet = craft::LayoutCraftSheet(construction, folding.hinges, folding.gluings, named);
  } catch (const craft::CraftError& e) {
    return e.what();
  }
  if (EndsWith(path, ".svg"))
    WriteCraftSvg(sheet, path);
  else
    WriteCraftPdf(sheet, path);
  return {};
}

bool SaveCraftSheet(const Construction& construction, const std::string& netName, QWidget* parent,
                    double trueEdgeLength) {
  const craft::SheetFolding folding = craft::SheetFoldingOf(CheckNetWaiting(construction, parent));
  if (!folding.folds) {
    Tell(parent, folding.message);
    return false;
  }
  const auto sheet = AskAndLayOut(construction, folding, netName, "Bastelbogen speichern", trueEdgeLength, parent);
  if (!sheet) return false;
  const QString pdfFilter = "PDF-Datei (*.pdf)";
  const QString svgFilter = "SVG-Datei für Schneideplotter (*.svg)";
  QString filter = pdfFilter;
  // The first sheet of a run is offered in the working folder, later ones where the last one went.
  const QString folder = RecentFolder(QStringLiteral("craft"), QString());
  const QString name = QString::fromStdString(sheet->title) + ".pdf";
  QString path = QFileDialog::getSaveFileName(parent, "Bastelbogen speichern",
                                              folder.isEmpty() ? name : QDir(folder).filePath(name),
                                              pdfFilter + ";;" + svgFilter, &filter);
  if (path.isEmpty()) return false;
  RememberFolder(QStringLiteral("craft"), path);
  const bool svg = filter == svgFilter || path.endsWith(".svg", Qt::CaseInsensitive);
  if (svg && !path.endsWith(".svg", Qt::CaseInsensitive)) path += ".svg";
  if (!svg && !path.endsWith(".pdf", Qt::CaseInsensitive)) path += ".pdf";
  if (svg)
    WriteCraftSvg(*sheet, path.toStdString());
  else
    WriteCraftPdf(*sheet, path.toStdString());
  return true;
}

bool PrintCraftSheet(const Construction& construction, const std::string& netName, QWidget* parent,
                     double trueEdgeLength) {
  const craft::SheetFolding folding = craft::SheetFoldingOf(CheckNetWaiting(construction, parent));
  if (!folding.folds) {
    Tell(parent, folding.message);
    return false;
  }
  const auto sheet = AskAndLayOut(construction, folding, netName, "Bastelbogen drucken", trueEdgeLength, parent);
  if (!sheet) return false;
  QPrinter printer(QPrinter::HighResolution);
  PrepareCraftPrinter(*sheet, printer);
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle("Bastelbogen drucken");
  dialog.setMinMax(1, static_cast<int>(sheet->pages.size()));
  if (dialog.exec() != QDialog::Accepted) return false;
  PrintCraftPages(*sheet, printer);
  return true;
}

}  // namespace didod
