#include "app/main_window.h"

#include <algorithm>
#include <iterator>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/accessible_combo.h"
#include "app/application.h"
#include "app/combo_boxes.h"
#include "app/craft_dialog.h"
#include "app/fold_view.h"
#include "app/glyphs.h"
#include "app/help.h"
#include "app/solid_dialog.h"
#include "app/solid_file_dialog.h"
#include "app/whole_check_box.h"
#include "app/panel_palette.h"
#include "output/clipboard.h"
#include "output/printing.h"
#include "output/save_picture.h"
#include "persistence/catalogue.h"
#include "persistence/construction_file.h"
#include "render/zoom.h"
#include "solids/from_file.h"
#include "solids/net.h"

// Resources linked from a static library must be registered by hand.
static void InitGlyphResources() { Q_INIT_RESOURCE(glyphs); }

namespace didod {

namespace {

constexpr int kSidePanelWidth = 209;
constexpr int kCaptionStripHeight = 26;
constexpr int kDesignSheetWidth = 799;
constexpr int kDesignSheetHeight = 638;

const char* const kHintLines[] = {
    "Vieleck an einem blauen Punkt",
    "verschieben. Wird ein Punkt auf ",
    "einem anderen platziert, wird er ",
    "gelb und fixiert.",
    "Um fixierten Punkt kann das ",
    "Vieleck gedreht werden.",
    "Liegt ein blauer Punkt auf einem ",
    "anderen korrekt, muss er ",
    "dennoch gedreht und fixiert ",
    "werden.",
    "Ein rechter Klick löscht das ",
    "Vieleck.",
};

QFont PixelFont(const char* family, int pixels, bool bold = false, bool italic = false) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

const char* kPushButtonStyle =
    "QPushButton { background: white; color: black; border-radius: 2px; padding-top: 1px;"
    " border: 4px solid qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e8e8e8, stop:1 #a0a0a0); }"
    "QPushButton:focus { border: 4px solid qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c8dcf4, stop:1 #3c78b4); }"
    "QPushButton:hover { color: blue; }"
    "QPushButton:pressed { padding-top: 3px; border-color: #909090; }";

// A text colour of the window's own design; it holds whatever the theme's palette.
void SetTextColour(QWidget* widget, QColor colour) {
  QPalette palette = widget->palette();
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
    palette.setColor(role, colour);
  widget->setPalette(palette);
}

}  // namespace

Tfpoly::Tfpoly(QWidget* parent) : QMainWindow(parent) {
  InitGlyphResources();
  UseAccessibleNamesOfComboBoxes();
  setObjectName("fpoly");
  SetCurrentFile(QString());
  setAcceptDrops(true);
  setWindowIcon(QIcon(":/glyphs/didod.svg"));

  BuildMenu();

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  BuildCaptionStrip(central);
  column->addWidget(P1);

  P2 = new QWidget(central);
  P2->setObjectName("P2");
  P2->setAutoFillBackground(true);
  QPalette white = P2->palette();
  white.setColor(QPalette::Window, Qt::white);
  P2->setPalette(white);
  P2->setFont(PixelFont("Verdana", 12));
  auto* row = new QHBoxLayout(P2);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  BuildSidePanel(P2);
  row->addWidget(P34);
  PB5 = new SheetWidget(construction_, P2);
  PB5->setObjectName("PB5");
  PB5->setMinimumSize(1, 1);
  row->addWidget(PB5, 1);
  column->addWidget(P2, 1);
  setCentralWidget(central);
  UsePanelPalette(central);
  P2->setPalette(white);
  KeepControlsWhole();
  SetUpKeyboardAndScreenReaders();

  PB5->renderOptions = [this] { return CurrentRenderOptions(); };
  PB5->onMouseDown = [this](SheetButton b, int x, int y) { PB5MouseDown(b, x, y); };
  PB5->onMouseMove = [this](int x, int y) { PB5MouseMove(x, y); };
  PB5->onMouseUp = [this](SheetButton b, int x, int y) { PB5MouseUp(b, x, y); };
  // Picking compares with the stored pixel positions, so they follow the sheet's size.
  PB5->onResized = [this] { construction_.RecomputeScreenPoints(SheetCentre()); };

  RunHandler([this] { RG1C(); });
  UpdateUndoActions();

  // Size the window so that the sheet has its design size, and centre it.
  const int menuHeight = MM1->sizeHint().height();
  resize(kSidePanelWidth + kDesignSheetWidth, menuHeight + kCaptionStripHeight + kDesignSheetHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
}

Tfpoly::~Tfpoly() {
  // The controls outlive this object's own part while the window is torn down;
  // their last signals must not reach its handlers.
  for (QObject* control : findChildren<QObject*>()) QObject::disconnect(control, nullptr, this, nullptr);
}

void Tfpoly::BuildMenu() {
  MM1 = menuBar();
  MM1->setObjectName("MM1");
  MM1->setNativeMenuBar(false);
  M3 = MM1->addAction("&Ende");
  M3->setObjectName("M3");
  M3->setShortcut(QKeySequence(Qt::Key_Escape));
  M3->setShortcutContext(Qt::WindowShortcut);
  connect(M3, &QAction::triggered, this, [this] { S7C(); });

  // The hidden "Datei" menu only holds the item that swallows the Enter key.
  M2 = new QMenu("Datei", this);
  M2->setObjectName("M2");
  M4 = M2->addAction("M");
  M4->setObjectName("M4");
  M4->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  M4->setShortcutContext(Qt::WindowShortcut);
  addAction(M4);
  addAction(M3);

  editMenu = MM1->addMenu("&Bearbeiten");
  editMenu->setObjectName("MEdit");
  undoAction = editMenu->addAction("Rückgängig", this, [this] { Undo(); });
  undoAction->setObjectName("MUndo");
  undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redoAction = editMenu->addAction("Wiederherstellen", this, [this] { Redo(); });
  redoAction->setObjectName("MRedo");
  redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  editMenu->addSeparator();
  loadShortcut = editMenu->addAction("Konstruktion &laden …", this, [this] { S14Click(); });
  loadShortcut->setObjectName("MLoad");
  loadShortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  saveShortcut = editMenu->addAction("Konstruktion &speichern …", this, [this] { S15Cla(); });
  saveShortcut->setObjectName("MSave");
  saveShortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  clearAction = editMenu->addAction("Konstruktion l&öschen …", this, [this] { S18Click(); });
  clearAction->setObjectName("MClear");
  clearAction->setShortcut(QKeySequence::New);

  // The zoom commands of the tool buttons, for the keyboard.
  viewMenu = MM1->addMenu("&Ansicht");
  viewMenu->setObjectName("MView");
  zoomInAction = viewMenu->addAction("Darstellung &vergrößern", this, [this] { S40Click(); });
  zoomInAction->setObjectName("MZoomIn");
  // "+" is a key of its own on German keyboards and Shift+= on others.
  zoomInAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  zoomOutAction = viewMenu->addAction("Darstellung ver&kleinern", this, [this] { S41Click(); });
  zoomOutAction->setObjectName("MZoomOut");
  zoomOutAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  zoomStandardAction = viewMenu->addAction("&Standardeinstellung", this, [this] { S42Click(); });
  zoomStandardAction->setObjectName("MZoomStandard");
  zoomStandardAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));

  M9 = MM1->addMenu("&Darstellung");
  M9->setObjectName("M9");
  M10 = M9->addAction("&Speichern", this, [this] { S29C(); });
  M11 = M9->addAction("&Kopieren", this, [this] { Sp20C(); });
  M12 = M9->addAction("&Vektorgrafik kopieren", this, [this] { S3C(); });
  M9->addSeparator()->setObjectName("N4");
  M13 = M9->addAction("&Drucken", this, [this] { S19C(); });
  M14 = M9->addAction("Vektorgrafik dr&ucken", this, [this] { S22C(); });
  M10->setObjectName("M10");
  M11->setObjectName("M11");
  M12->setObjectName("M12");
  M13->setObjectName("M13");
  M14->setObjectName("M14");

  solidMenu = MM1->addMenu("&Körper");
  solidMenu->setObjectName("MSolid");
  makeSolidAction = solidMenu->addAction("Körper &erzeugen …", this, [this] { MakeSolid(); });
  makeSolidAction->setObjectName("MMakeSolid");
  importSolidAction = solidMenu->addAction("Körper &importieren …", this, [this] { ImportSolid(); });
  importSolidAction->setObjectName("MImportSolid");
  importSolidAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  solidMenu->addSeparator();
  foldAction = solidMenu->addAction("Netz &falten", this, [this] {
    if (construction_.GrabbedPoint == 0) ShowFoldWindow(construction_, this)->setTrueEdgeLength(trueEdge_);
  });
  foldAction->setObjectName("MFold");
  solidMenu->addSeparator();
  craftSaveAction = solidMenu->addAction("Bastelbogen &speichern …", this, [this] {
    if (construction_.GrabbedPoint == 0) SaveCraftSheet(construction_, netName_, this, trueEdge_);
  });
  craftPrintAction = solidMenu->addAction("Bastelbogen &drucken …", this, [this] {
    if (construction_.GrabbedPoint == 0) PrintCraftSheet(construction_, netName_, this, trueEdge_);
  });
  craftSaveAction->setObjectName("MCraftSave");
  craftPrintAction->setObjectName("MCraftPrint");

  helpMenu = MM1->addMenu("&Hilfe");
  helpMenu->setObjectName("MHelp");
  guideAction = helpMenu->addAction("&Anleitung", this, [this] { ShowGuide(this); });
  guideAction->setObjectName("MGuide");
  guideAction->setShortcut(QKeySequence(Qt::Key_F1));
  aboutAction = helpMenu->addAction("Ü&ber Zozeroradedar", this, [this] { ShowAbout(this); });
  aboutAction->setObjectName("MAbout");
}

void Tfpoly::BuildCaptionStrip(QWidget* parent) {
  P1 = new QFrame(parent);
  P1->setObjectName("P1");
  P1->setFixedHeight(kCaptionStripHeight);
  P1->setFrameShape(QFrame::Panel);
  P1->setFrameShadow(QFrame::Raised);
  P1->setLineWidth(1);
  P1->setAutoFillBackground(true);
  QPalette grey = P1->palette();
  grey.setColor(QPalette::Window, QColor(240, 240, 240));
  P1->setPalette(grey);

  captionText = new QLabel(QString::fromLatin1(kWindowCaption), P1);
  captionText->setObjectName("P1Caption");
  captionText->setFont(PixelFont("Verdana", 16, true, true));
  SetTextColour(captionText, QColor(0, 0, 128));
  captionText->setAlignment(Qt::AlignCenter);
  captionText->setAttribute(Qt::WA_TransparentForMouseEvents);
  P1->installEventFilter(this);

  auto makeToolButton = [](QToolBar* bar, const char* name, const QString& hint, QSize size) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setFixedSize(size);
    // The bar's icon size is the glyphs' own, so they are drawn unscaled.
    button->setIconSize(bar->iconSize());
    button->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(button);
    return button;
  };

  auto* strip = new QHBoxLayout(P1);
  strip->setContentsMargins(1, 1, 1, 1);
  strip->setSpacing(0);

  TB3 = new QToolBar(P1);
  TB3->setObjectName("TB3");
  TB3->setIconSize(QSize(13, 13));
  S7 = makeToolButton(TB3, "S7", "Teilprogramm beenden", QSize(23, 22));
  connect(S7, &QToolButton::clicked, this, [this] { S7C(); });
  strip->addWidget(TB3);

  TB1 = new QToolBar(P1);
  TB1->setObjectName("TB1");
  TB1->setIconSize(QSize(20, 20));
  P27 = new QWidget(TB1);
  P27->setObjectName("P27");
  P27->setFixedWidth(8);
  TB1->addWidget(P27);
  S18 = makeToolButton(TB1, "S18", "Konstruktion löschen", QSize(24, 23));
  S18->setText(QString(QChar(0x2716)));  // heavy cross, in place of the Wingdings cross
  S18->setFont(PixelFont("DejaVu Sans", 17));
  SetTextColour(S18, QColor(0, 0, 255));
  S14 = makeToolButton(TB1, "S14", "Konstruktion laden", QSize(24, 23));
  S15 = makeToolButton(TB1, "S15", "Konstruktion speichern", QSize(24, 23));
  S40 = makeToolButton(TB1, "S40", "Darstellung vergrößern", QSize(24, 23));
  S42 = makeToolButton(TB1, "S42", "Standardeinstellung", QSize(24, 23));
  S41 = makeToolButton(TB1, "S41", "Darstellung verkleinern", QSize(24, 23));
  connect(S18, &QToolButton::clicked, this, [this] { S18Click(); });
  connect(S14, &QToolButton::clicked, this, [this] { S14Click(); });
  connect(S15, &QToolButton::clicked, this, [this] { S15Cla(); });
  connect(S40, &QToolButton::clicked, this, [this] { S40Click(); });
  connect(S42, &QToolButton::clicked, this, [this] { S42Click(); });
  connect(S41, &QToolButton::clicked, this, [this] { S41Click(); });
  strip->addWidget(TB1);
  strip->addStretch(1);

  P8 = new QWidget(P1);
  P8->setObjectName("P8");
  P8->setFixedWidth(235);
  auto* p8Layout = new QHBoxLayout(P8);
  p8Layout->setContentsMargins(9, 0, 9, 0);
  Co2 = new QComboBox(P8);
  Co2->setObjectName("Co2");
  Co2->setAccessibleName("Fertiges Netz");  // before any change of it makes Qt cache its description
  Co2->setEditable(true);
  Co2->lineEdit()->setAccessibleName("Fertiges Netz");
  Co2->setInsertPolicy(QComboBox::NoInsert);
  Co2->setFixedWidth(217);
  Co2->setMaxVisibleItems(32);
  Co2->setFont(PixelFont("Verdana", 12));
  KeepEscForOpenList(Co2);
  LeaveUndoKeysToTheWindow(Co2);  // right after a choice, Ctrl+Z undoes the choice
  p8Layout->addWidget(Co2);
  strip->addWidget(P8);
  for (QToolBar* bar : {TB3, TB1}) bar->setStyleSheet("QToolBar { background: transparent; border: none; }");
  captionText->lower();
  connect(Co2, &QComboBox::currentIndexChanged, this, [this] { Co2Change(); });
  connect(Co2, &QComboBox::editTextChanged, this, [this](const QString& text) {
    // Choosing an entry also changes the text; that choice is handled once, by the index.
    if (text != Co2->itemText(Co2->currentIndex())) Co2Change();
  });
}

QPushButton* Tfpoly::MakePolygonButton(const char* name, const QString& caption, int left, int top, int width) {
  auto* button = new QPushButton(caption, P34);
  button->setObjectName(name);
  button->setGeometry(left, top, width, 25);
  button->setStyleSheet(kPushButtonStyle);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, button] { f3Click(button); });
  return button;
}

void Tfpoly::BuildSidePanel(QWidget* parent) {
  P34 = new QFrame(parent);
  P34->setObjectName("P34");
  P34->setFixedWidth(kSidePanelWidth);
  P34->setAutoFillBackground(true);
  QPalette grey = P34->palette();
  grey.setColor(QPalette::Window, QColor(240, 240, 240));
  P34->setPalette(grey);

  auto label = [this](const char* name, const QString& text, int left, int top) {
    auto* l = new QLabel(text, P34);
    l->setObjectName(name);
    l->move(left, top);
    l->adjustSize();
    return l;
  };
  auto edit = [this](const char* name, const QString& text, int left, int top, int width) {
    auto* e = new QLineEdit(text, P34);
    e->setObjectName(name);
    e->setGeometry(left, top, width, 22);
    return e;
  };

  L51 = label("L51", "Regelmäßiges Vieleck", 16, 16);
  L51->setFont(PixelFont("Verdana", 12, true));
  SetTextColour(L51, QColor(0, 0, 128));
  L51->adjustSize();
  f3 = MakePolygonButton("f3", "Dreieck", 16, 40, 80);
  f4 = MakePolygonButton("f4", "Quadrat", 112, 40, 80);
  f5 = MakePolygonButton("f5", "Fünfeck", 16, 72, 80);
  f6 = MakePolygonButton("f6", "Sechseck", 112, 72, 80);
  f8 = MakePolygonButton("f8", "Achteck", 16, 104, 80);
  f10 = MakePolygonButton("f10", "Zehneck", 112, 104, 80);
  f12 = MakePolygonButton("f12", "Polygon", 16, 136, 80);
  L39 = label("L39", "Seiten", 112, 142);
  E7 = edit("E7", "12", 160, 138, 28);
  f7 = MakePolygonButton("f7", "gleichschenkliges Dreieck", 16, 176, 177);
  L49 = label("L49", "mit 2.Seite", 16, 214);
  Edit2 = edit("Edit2", "2", 112, 210, 81);
  f9 = MakePolygonButton("f9", "Rhombus", 16, 240, 177);
  L40 = label("L40", "Innenwinkel", 16, 278);
  Edit3 = edit("Edit3", "60", 112, 274, 81);
  f11 = MakePolygonButton("f11", "Sonderflächen", 16, 308, 177);
  Co1 = new QComboBox(P34);
  Co1->setObjectName("Co1");
  Co1->setAccessibleName("Sonderfläche");
  Co1->setEditable(true);
  Co1->lineEdit()->setAccessibleName("Sonderfläche");
  Co1->setInsertPolicy(QComboBox::NoInsert);
  Co1->setGeometry(16, 344, 177, 24);
  KeepEscForOpenList(Co1);
  for (const char* name : kSpecialFaceNames) Co1->addItem(QString::fromUtf8(name));
  L41 = label("L41", "Skalierungsfaktor", 16, 378);
  Edit4 = edit("Edit4", "1", 144, 374, 28);
  c4 = new WholeCheckBox("Punkte anzeigen", P34);
  c4->setObjectName("c4");
  c4->setGeometry(24, 408, 161, 17);
  c4->setChecked(true);
  c3 = new WholeCheckBox("Punkte beschriften", P34);
  c3->setObjectName("c3");
  c3->setGeometry(24, 428, 153, 17);
  c3->setChecked(false);
  connect(c4, &QCheckBox::clicked, this, [this] { PB5Paint(); });
  connect(c3, &QCheckBox::clicked, this, [this] { PB5Paint(); });

  QStringList hint;
  for (const char* line : kHintLines) hint << QString::fromUtf8(line);
  L50 = new QLabel(hint.join('\n'), P34);
  L50->setObjectName("L50");
  L50->setGeometry(10, 456, 189, 156);
  L50->setFont(PixelFont("Verdana", 11));
  L50->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Tfpoly::KeepControlsWhole() {
  // The side panel's controls sit at fixed places; the panel is never lower than the last of them.
  P34->setMinimumHeight(P34->childrenRect().bottom() + 1 + 4);
  // The caption text, centred over the strip, stays clear of the tool buttons and the net chooser.
  for (QToolBar* bar : {TB3, TB1}) bar->setMinimumWidth(bar->sizeHint().width());
  const int tools = TB3->minimumWidth() + TB1->minimumWidth();
  const int side = std::max(tools, P8->width()) + 8;
  P1->setMinimumWidth(2 * side + captionText->sizeHint().width());
  PB5->setMinimumSize(120, 120);
}

void Tfpoly::SetUpKeyboardAndScreenReaders() {
  // A screen reader names a tool button by its hint and an edit field by its label.
  for (QToolButton* button : {S7, S18, S14, S15, S40, S42, S41}) button->setAccessibleName(button->toolTip());
  L39->setBuddy(E7);
  L49->setBuddy(Edit2);
  L40->setBuddy(Edit3);
  L41->setBuddy(Edit4);
  PB5->setAccessibleName("Zeichenblatt");
  PB5->setAccessibleDescription("Das Netz; Vielecke werden mit der Maus verschoben, gedreht und gelöscht.");
  P34->setAccessibleName("Vielecke");
  // Tab follows the reading order: the net chooser at the top, then the panel from top to bottom.
  QWidget* const order[] = {Co2, f3, f4, f5, f6, f8, f10, f12, E7, f7, Edit2, f9, Edit3, f11, Co1, Edit4, c4, c3};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void Tfpoly::SetCurrentFile(const QString& path) {
  setWindowFilePath(path);
  const QString caption = QString::fromLatin1(kWindowCaption);
  // "[*]" is where the title bar shows the mark of a changed construction.
  setWindowTitle(path.isEmpty() ? caption + "[*]" : QFileInfo(path).fileName() + "[*] – " + caption);
}

void Tfpoly::RG1C() {
  construction_.AllocateStore();
  Co1->setCurrentIndex(0);
  Co2->blockSignals(true);
  Co2->clear();
  Co2->addItem("-");
  Co2->setEditText("-");
  Co2->setCurrentIndex(0);
  Co2->blockSignals(false);
  LoadListFromResource(LB8, "konetz");
  Co2->blockSignals(true);
  for (const std::string& name : CatalogueNames(LB8)) Co2->addItem(QString::fromStdString(name));
  Co2->setCurrentIndex(0);
  Co2->blockSignals(false);
  shownNet_ = 0;
  WidenListToLongestEntry(Co2);
  construction_.GrabbedPoint = 0;
  construction_.FaceCount = 0;
  construction_.PointCount = 0;
  construction_.Scale = kStandardScale;
}

void Tfpoly::FormActivate() {
  S7->setIcon(LoadGlyph("_01"));
  S14->setIcon(LoadGlyph("_05"));
  S15->setIcon(LoadGlyph("_06"));
  S40->setIcon(LoadGlyph("_09"));
  S41->setIcon(LoadGlyph("_10"));
  S42->setIcon(LoadGlyph("_11"));
}

bool Tfpoly::eventFilter(QObject* watched, QEvent* event) {
  // The caption text is centred over the whole strip, behind the tool buttons.
  if (watched == P1 && event->type() == QEvent::Resize) captionText->setGeometry(P1->rect());
  return QMainWindow::eventFilter(watched, event);
}

void Tfpoly::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  FormActivate();
}

void Tfpoly::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void Tfpoly::closeEvent(QCloseEvent* event) {
  if (!ConfirmDiscardOrSave()) {
    event->ignore();
    return;
  }
  construction_.ReleaseStore();
  event->accept();
}

bool Tfpoly::ConfirmDiscardOrSave(const QString& question) {
  if (!ConstructionChanged()) return true;
  QMessageBox box(QMessageBox::Question, QString::fromLatin1(kApplicationTitle), question, QMessageBox::NoButton,
                  this);
  box.setObjectName("SaveQuestion");
  QPushButton* save = box.addButton("&Speichern", QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton("&Verwerfen", QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton("&Abbrechen", QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == discard) return true;
  if (box.clickedButton() != save) return false;
  // A failed save is shown here and keeps the construction: the caller must
  // not go on as if it had been saved.
  bool saved = false;
  RunHandler([&] { saved = SaveConstructionAs(); });
  return saved;
}

void Tfpoly::S7C() { close(); }

void Tfpoly::S18Click() {
  QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle), "Konstruktion wirklich löschen?",
                  QMessageBox::NoButton, this);
  box.setObjectName("ClearQuestion");
  QPushButton* yes = box.addButton("&Ja", QMessageBox::YesRole);
  QPushButton* no = box.addButton("&Nein", QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  if (box.clickedButton() != yes) return;
  RecordAction("Konstruktion löschen", true, [this] { construction_.ResetConstruction(); });
  netName_.clear();
  trueEdge_ = 0;
  SetCurrentFile(QString());
  PB5Paint();
}

void Tfpoly::PB5Paint() { PB5->Refresh(); }

RenderOptions Tfpoly::CurrentRenderOptions() const {
  RenderOptions options;
  options.SheetWidth = PB5->width();
  options.SheetHeight = PB5->height();
  options.ShowPoints = c4->isChecked();
  options.LabelPoints = c3->isChecked();
  return options;
}

PolygonRequest Tfpoly::CurrentPolygonRequest() const {
  PolygonRequest request;
  request.Sides = E7->text().toStdString();
  request.LegLength = Edit2->text().toStdString();
  request.Angle = Edit3->text().toStdString();
  request.Scale = Edit4->text().toStdString();
  // Typed text that is no entry's leaves the box without a selected entry.
  const int index = Co1->currentIndex();
  request.SpecialFace = (index >= 0 && Co1->currentText() == Co1->itemText(index)) ? index : -1;
  return request;
}

void Tfpoly::f3Click(QObject* sender) {
  PolygonButton button = PolygonButton::f6;  // a sender that is none of the others is f6
  if (sender == f4) button = PolygonButton::f4;
  else if (sender == f3) button = PolygonButton::f3;
  else if (sender == f5) button = PolygonButton::f5;
  else if (sender == f8) button = PolygonButton::f8;
  else if (sender == f10) button = PolygonButton::f10;
  else if (sender == f12) button = PolygonButton::f12;
  else if (sender == f7) button = PolygonButton::f7;
  else if (sender == f9) button = PolygonButton::f9;
  else if (sender == f11) button = PolygonButton::f11;
  bool added = false;
  const auto* pushButton = qobject_cast<QPushButton*>(sender);
  const std::string label = (pushButton ? pushButton->text().toStdString() : std::string("Vieleck")) + " hinzufügen";
  RecordAction(label, false, [&] {
    added = AddPolygonForButton(construction_, button, CurrentPolygonRequest(), SheetCentre());
  });
  if (added) PB5Paint();
}

void Tfpoly::S40Click() {
  ZoomIn(construction_, SheetCentre());
  PB5Paint();
}

void Tfpoly::S41Click() {
  ZoomOut(construction_, SheetCentre());
  PB5Paint();
}

void Tfpoly::S42Click() {
  ZoomStandard(construction_, SheetCentre());
  PB5Paint();
}

void Tfpoly::ReplaceConstruction(Construction&& replacement) {
  const int grabbed = construction_.GrabbedPoint;
  construction_ = std::move(replacement);
  construction_.GrabbedPoint = grabbed;
  construction_.RecomputeScreenPoints(SheetCentre());
  PB5Paint();
}

template <typename Body>
void Tfpoly::RecordAction(const std::string& label, bool changesScale, Body&& body) {
  const ConstructionSnapshot before = ConstructionSnapshot::Of(construction_);
  body();
  history_.Record(label, before, ConstructionSnapshot::Of(construction_), changesScale);
  UpdateUndoActions();
}

void Tfpoly::UpdateUndoActions() {
  const bool changed = ConstructionChanged();
  setWindowModified(changed);
  if (changed != changedShown_) {
    changedShown_ = changed;
    emit changedStateChanged(changed);
  }
  const bool idle = construction_.GrabbedPoint == 0;
  undoAction->setEnabled(idle && history_.CanUndo());
  redoAction->setEnabled(idle && history_.CanRedo());
  undoAction->setText(history_.CanUndo() ? QString::fromStdString("Rückgängig: " + history_.UndoLabel())
                                         : QStringLiteral("Rückgängig"));
  redoAction->setText(history_.CanRedo() ? QString::fromStdString("Wiederherstellen: " + history_.RedoLabel())
                                         : QStringLiteral("Wiederherstellen"));
}

void Tfpoly::Undo() {
  if (construction_.GrabbedPoint != 0) return;  // never in the middle of a drag
  if (history_.Undo(construction_, SheetCentre())) PB5Paint();
  UpdateUndoActions();
}

void Tfpoly::Redo() {
  if (construction_.GrabbedPoint != 0) return;
  if (history_.Redo(construction_, SheetCentre())) PB5Paint();
  UpdateUndoActions();
}

void Tfpoly::S15Cla() { SaveConstructionAs(); }

bool Tfpoly::SaveConstructionAs() {
  if (construction_.GrabbedPoint != 0) return false;
  const QString path = AskConstructionFile(this, FileDialogUse::Save, lastSaved_);
  if (path.isEmpty()) return false;
  SaveConstructionFile(construction_, QFile::encodeName(path).toStdString());
  SetCurrentFile(path);
  MarkSaved();
  return true;
}

void Tfpoly::MarkSaved() {
  history_.MarkClean();
  UpdateUndoActions();
}

void Tfpoly::S14Click() {
  if (construction_.GrabbedPoint != 0) return;
  const QString path = AskConstructionFile(this, FileDialogUse::Open, lastLoaded_);
  if (path.isEmpty()) return;
  // The loaded file becomes the unchanged state: changed work before it is saved or let go first.
  if (!ConfirmDiscardOrSave(QString::fromUtf8(kReplaceQuestion))) return;
  OpenConstructionFile(path);
}

void Tfpoly::OpenConstructionFile(const QString& path) {
  if (construction_.GrabbedPoint != 0) return;
  // The whole file is read and checked first; a failure leaves the construction as it was.
  Construction loaded = LoadConstructionFile(QFile::encodeName(path).toStdString(), SheetCentre());
  RecordAction("Konstruktion laden", true, [&] { ReplaceConstruction(std::move(loaded)); });
  netName_ = QFileInfo(path).completeBaseName().toStdString();
  trueEdge_ = 0;
  SetCurrentFile(path);
  MarkSaved();
  lastLoaded_ = {QFileInfo(path).absolutePath(), QFileInfo(path).fileName()};  // the next load starts here
}

QString Tfpoly::DroppedConstructionFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().constFirst();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return path.endsWith(QLatin1String(".pko"), Qt::CaseInsensitive) ? path : QString();
}

void Tfpoly::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedConstructionFile(event->mimeData()).isEmpty() && construction_.GrabbedPoint == 0)
    event->acceptProposedAction();
}

void Tfpoly::dropEvent(QDropEvent* event) {
  const QString path = DroppedConstructionFile(event->mimeData());
  if (path.isEmpty() || construction_.GrabbedPoint != 0) return;
  event->acceptProposedAction();
  // Loaded once the drop is over, so that a question or an error display does not hold up the
  // program the file came from.
  QTimer::singleShot(0, this, [this, path] {
    RunHandler([this, path] {
      if (ConfirmDiscardOrSave(QString::fromUtf8(kReplaceQuestion))) OpenConstructionFile(path);
    });
  });
}

void Tfpoly::Co2Change() {
  const int before = shownNet_;
  shownNet_ = Co2->currentIndex();
  if (Co2->currentIndex() <= 0 || construction_.GrabbedPoint != 0) return;
  std::optional<Construction> net = ReadCatalogueNet(LB8, Co2->currentText().toStdString(), SheetCentre());
  if (!net) return;  // typed text that names no net
  // The chosen net becomes the unchanged state: changed work before it is saved or let go first.
  if (!ConfirmDiscardOrSave(QString::fromUtf8(kReplaceQuestion))) {
    // Cancelled: the box shows again what it showed before the choice.
    const QSignalBlocker quiet(Co2);
    Co2->setCurrentIndex(before);
    Co2->setEditText(Co2->itemText(before));
    shownNet_ = before;
    return;
  }
  RecordAction("Netz " + Co2->currentText().toStdString(), true, [&] { ReplaceConstruction(std::move(*net)); });
  netName_ = Co2->currentText().toStdString();
  SetCurrentFile(QString());
  MarkSaved();
  trueEdge_ = 0;
}

void Tfpoly::MakeSolid() {
  if (construction_.GrabbedPoint != 0) return;
  SolidDialog dialog(this);
  if (dialog.exec() != QDialog::Accepted || !dialog.Choice()) return;
  // The solid replaces the construction; it stays unsaved work afterwards.
  if (!ConfirmDiscardOrSave(QString::fromUtf8(kReplaceQuestion))) return;
  PlaceSolid(*dialog.Choice());
}

bool Tfpoly::PlaceSolid(const SolidChoice& choice) {
  std::optional<Construction> net = solids::SolidNetConstruction(choice.solid, choice.name, PB5->width(), PB5->height(),
                                                         SheetCentre());
  if (!net) {
    QMessageBox::information(this, QString::fromLatin1(kApplicationTitle),
                             "Das Netz dieses Körpers passt nicht in die Konstruktion.");
    return false;
  }
  RecordAction("Körper " + choice.name, true, [&] { ReplaceConstruction(std::move(*net)); });
  netName_ = choice.name;
  SetCurrentFile(QString());
  trueEdge_ = choice.longestEdge;
  return true;
}

void Tfpoly::ImportSolid() {
  if (construction_.GrabbedPoint != 0) return;
  const QString path = AskSolidFile(this, SolidFileUse::Import, lastImported_);
  if (path.isEmpty()) return;
  RunHandler([&] { ImportSolidFile(path); });
}

bool Tfpoly::ImportSolidFile(const QString& path) {
  if (construction_.GrabbedPoint != 0) return false;
  if (!ConfirmDiscardOrSave(QString::fromUtf8(kReplaceQuestion))) return false;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  solids::FileNet placed;
  try {
    placed = solids::NetOfSolidFile(QFile::encodeName(path).toStdString(), PB5->width(), PB5->height(), SheetCentre());
  } catch (...) {
    QGuiApplication::restoreOverrideCursor();
    throw;
  }
  QGuiApplication::restoreOverrideCursor();
  RecordAction("Körper " + placed.name, true, [&] { ReplaceConstruction(std::move(placed.net)); });
  netName_ = placed.name;
  SetCurrentFile(QString());
  trueEdge_ = 0;  // a file's units are its own
  return true;
}
PaintProc Tfpoly::SheetPaintProc() const {
  return [this](Canvas& canvas) { PB5Paintx(canvas, construction_, CurrentRenderOptions()); };
}

void Tfpoly::S29C() { SavePicture(PB5->width(), PB5->height(), SheetPaintProc(), this); }
void Tfpoly::Sp20C() { CopyBitmapToClipboard(PB5->Pixels()); }
void Tfpoly::S3C() { CopyMetafileToClipboard(PB5->width(), PB5->height(), SheetPaintProc()); }
void Tfpoly::S19C() { PrintBitmap(PB5->Pixels()); }
void Tfpoly::S22C() { PrintVector(PB5->width(), PB5->height(), SheetPaintProc()); }
static MouseButton ToMouseButton(SheetButton b) {
  switch (b) {
    case SheetButton::Left: return MouseButton::Left;
    case SheetButton::Right: return MouseButton::Right;
    case SheetButton::Middle: return MouseButton::Middle;
  }
  return MouseButton::Left;
}

void Tfpoly::PB5MouseDown(SheetButton button, int x, int y) {
  const bool idle = construction_.GrabbedPoint == 0;
  const ConstructionSnapshot before = idle ? ConstructionSnapshot::Of(construction_) : ConstructionSnapshot{};
  const MouseResult result = didod::PB5MouseDown(construction_, drag_, ToMouseButton(button), x, y, SheetCentre());
  if (result.Step == MouseStep::FaceDeleted) {
    history_.Record("Löschen", before, ConstructionSnapshot::Of(construction_), false);
  } else if (result.Step == MouseStep::DragBegun) {
    dragBefore_ = before;
  }
  UpdateUndoActions();
  if (result.Repaint) PB5Paint();
}

void Tfpoly::PB5MouseMove(int x, int y) {
  if (didod::PB5MouseMove(construction_, drag_, x, y, SheetCentre()).Repaint) PB5Paint();
}

void Tfpoly::PB5MouseUp(SheetButton button, int x, int y) {
  const bool turning = drag_.GrabFixedCount != 0;
  const std::size_t joinsBefore = construction_.JoinList.size();
  const MouseResult result = didod::PB5MouseUp(construction_, drag_, ToMouseButton(button), x, y, SheetCentre());
  if (result.Step == MouseStep::DragEnded) {
    const char* label = construction_.JoinList.size() > joinsBefore ? "Verbinden" : turning ? "Drehen" : "Verschieben";
    history_.Record(label, dragBefore_, ConstructionSnapshot::Of(construction_), false);
    dragBefore_ = {};
  }
  UpdateUndoActions();
  if (result.Repaint) PB5Paint();
}

}  // namespace didod
