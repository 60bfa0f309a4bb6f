#include "app/help.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QShowEvent>
#include <QScrollBar>
#include <QTextBrowser>
#include <QWindow>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "interaction/mouse.h"
#include "model/construction.h"
#include "model/polygon_factory.h"
#include "output/sheet_raster.h"
#include "persistence/catalogue.h"
#include "render/net_renderer.h"

#ifndef DIDOD_VERSION
#error "DIDOD_VERSION comes from the project version in CMakeLists.txt"
#endif
#ifndef DIDOD_LICENSE
#error "DIDOD_LICENSE comes from the licence setting in CMakeLists.txt"
#endif

namespace didod {

namespace {

// Every picture is a small sheet; the scale makes a unit edge 60 pixels long,
// a little larger than on the real sheet, so that the markers stay apart.
constexpr int kPictureWidth = 300;
constexpr int kPictureHeight = 220;
constexpr double kPictureScale = 60.0;
constexpr int kPictureMargin = 14;

// A construction built the way a user builds one: polygon buttons and drags
// through the sheet's own mouse logic, so the pictures show what the program does.
struct Sketch {
  Construction c;
  DragState drag;
  ViewCentre centre = ViewCentreOf(kPictureWidth, kPictureHeight);

  Sketch() { c.Scale = kPictureScale; }

  void Add(PolygonButton button) { AddPolygonForButton(c, button, PolygonRequest{}, centre); }

  QPoint At(int point) const {
    const ScreenPoint& p = c.ScreenPoints[point];
    return {int(std::lround(p.x)), int(std::lround(p.y))};
  }

  // Presses on a point, moves the pointer to `to` in two steps and lets go there.
  void Drag(int point, QPoint to) {
    const QPoint from = At(point);
    PB5MouseDown(c, drag, MouseButton::Left, from.x(), from.y(), centre);
    const QPoint half = (from + to) / 2;
    PB5MouseMove(c, drag, half.x(), half.y(), centre);
    PB5MouseMove(c, drag, to.x(), to.y(), centre);
    PB5MouseUp(c, drag, MouseButton::Left, to.x(), to.y(), centre);
  }

  // The corner of a face where `score` is largest.
  int Corner(int face, const std::function<double(const NetPoint&)>& score) const {
    const FaceRangeResult range = c.FaceRange(face);
    int best = range.first;
    for (int j = range.first + 1; j <= range.last; ++j)
      if (score(c.NetPoints[j]) > score(c.NetPoints[best])) best = j;
    return best;
  }
};

QImage Picture(const Construction& c, qreal ratio) {
  RenderOptions options;
  options.SheetWidth = kPictureWidth;
  options.SheetHeight = kPictureHeight;
  return DrawSheetImage(c, options, ratio);
}

// A square and a triangle: loose, joined at one corner and turned, locked.
struct JoinPictures {
  QImage loose, turned, locked;
};

JoinPictures DrawJoinPictures(qreal ratio) {
  Sketch s;
  s.Add(PolygonButton::f4);  // face 1, axis-parallel, at the centre
  s.Add(PolygonButton::f3);  // face 2, with one horizontal edge, up and to the left
  // The triangle's horizontal edge goes onto the square's edge that faces the
  // same way, so that the triangle ends up outside the square.
  const int apex = s.Corner(2, [&](const NetPoint& p) {
    const FaceRangeResult t = s.c.FaceRange(2);
    double others = 0;
    for (int j = t.first; j <= t.last; ++j) others += std::fabs(s.c.NetPoints[j].y - p.y);
    return others;  // the corner off the line of the other two
  });
  const FaceRangeResult t = s.c.FaceRange(2);
  const double edgeY = (s.c.NetPoints[t.first].y + s.c.NetPoints[t.first + 1].y + s.c.NetPoints[t.last].y -
                        s.c.NetPoints[apex].y) / 2;
  const bool apexAbove = s.c.NetPoints[apex].y > edgeY;
  const double up = apexAbove ? 1.0 : -1.0;  // from the square's centre towards the edge used
  const int squareLeft = s.Corner(1, [&](const NetPoint& p) { return up * p.y - p.x; });
  const int squareRight = s.Corner(1, [&](const NetPoint& p) { return up * p.y + p.x; });
  const int triangleLeft = s.Corner(2, [&](const NetPoint& p) { return -up * p.y - p.x; });
  const int triangleRight = s.Corner(2, [&](const NetPoint& p) { return -up * p.y + p.x; });

  JoinPictures pictures;
  s.Drag(triangleLeft, s.At(squareLeft) + QPoint(-85, apexAbove ? 60 : -60));
  pictures.loose = Picture(s.c, ratio);

  // Dropped onto the square's corner: the triangle now stands on the square's edge.
  s.Drag(triangleLeft, s.At(squareLeft));
  // Swung 35 degrees about the fixed corner, away from the square, let go where nothing is.
  const QPoint pivot = s.At(squareLeft);
  const QPoint tip = s.At(apex);
  const double r = std::hypot(tip.x() - pivot.x(), tip.y() - pivot.y());
  const double angle = std::atan2(pivot.y() - tip.y(), tip.x() - pivot.x()) + up * 35.0 * std::numbers::pi / 180.0;
  s.Drag(apex, pivot + QPoint(int(std::lround(r * std::cos(angle))), int(-std::lround(r * std::sin(angle)))));
  pictures.turned = Picture(s.c, ratio);

  // Turned back onto the square's other corner of that edge: a second fixed point.
  s.Drag(triangleRight, s.At(squareRight));
  pictures.locked = Picture(s.c, ratio);
  return pictures;
}

// The cube of the catalogue, centred and scaled to the picture.
std::optional<QImage> DrawCubePicture(qreal ratio) {
  std::vector<std::string> lines;
  LoadListFromResource(lines, "konetz");
  const ViewCentre centre = ViewCentreOf(kPictureWidth, kPictureHeight);
  std::optional<Construction> cube = ReadCatalogueNet(lines, "Würfel", centre);
  if (!cube || cube->PointCount == 0) return std::nullopt;
  Construction& c = *cube;
  double left = c.NetPoints[1].x, right = left, bottom = c.NetPoints[1].y, top = bottom;
  for (int j = 2; j <= c.PointCount; ++j) {
    left = std::min(left, c.NetPoints[j].x);
    right = std::max(right, c.NetPoints[j].x);
    bottom = std::min(bottom, c.NetPoints[j].y);
    top = std::max(top, c.NetPoints[j].y);
  }
  const double midX = (left + right) / 2, midY = (bottom + top) / 2;
  for (int j = 1; j <= c.PointCount; ++j) {
    c.NetPoints[j].x -= midX;
    c.NetPoints[j].y -= midY;
  }
  const double fit = std::min((kPictureWidth - 2.0 * kPictureMargin) / std::max(right - left, 1e-9),
                              (kPictureHeight - 2.0 * kPictureMargin) / std::max(top - bottom, 1e-9));
  c.Scale = std::min(kPictureScale, fit);
  c.RecomputeScreenPoints(centre);
  return Picture(c, ratio);
}

QString Figure(const char* name, const char* caption) {
  return QStringLiteral(
             "<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" style=\"border-color:#b0b0b0;"
             " border-style:solid;\"><tr><td><img src=\"%1\" width=\"%2\" height=\"%3\"></td></tr></table>"
             "<p><i>%4</i></p>")
      .arg(QString::fromLatin1(name))
      .arg(kPictureWidth)
      .arg(kPictureHeight)
      .arg(QString::fromUtf8(caption));
}

QString GuideHtml() {
  QString html;
  html += R"(<h1>Anleitung</h1>
<p>Zozeroradedar legt Netze von Polyedern aus: Vielecke werden auf dem weißen Zeichenblatt Kante an Kante
aneinandergelegt, bis das Netz eines Körpers entsteht. Das Netz lässt sich prüfen, falten und als Bastelbogen
ausgeben.</p>

<h2>Netz mit der Maus bauen</h2>
<p>Die Knöpfe links unter „Regelmäßiges Vieleck“ legen ein neues Vieleck auf das Blatt: „Dreieck“, „Quadrat“,
„Fünfeck“, „Sechseck“, „Achteck“, „Zehneck“, „Polygon“ mit der Eckenzahl aus „Seiten“ (2 bis 32),
„gleichschenkliges Dreieck“ mit der Schenkellänge aus „mit 2.Seite“, „Rhombus“ mit dem „Innenwinkel“ und
„Sonderflächen“ mit der Fläche, die darunter gewählt ist. Alle Kanten werden mit dem „Skalierungsfaktor“
multipliziert. In „mit 2.Seite“, „Innenwinkel“ und „Skalierungsfaktor“ darf auch eine Rechnung stehen,
zum Beispiel <tt>2*WURZEL(2)</tt>; ein unlesbarer Wert wird für diesen Klick durch den Vorgabewert ersetzt.</p>
<p>Das erste Vieleck liegt in der Mitte des Blattes, jedes weitere links oberhalb davon. Ein Vieleck wird an
einem seiner blauen Eckpunkte mit der linken (oder mittleren) Maustaste gepackt und mit gedrückter Taste
verschoben.</p>
)";
  html += Figure(kGuidePictureLoose, "Ein Quadrat und ein Dreieck, noch nicht verbunden: alle Punkte sind blau.");
  html += R"(
<h2>Verbinden</h2>
<p>Lässt man die Maustaste über einem Eckpunkt eines anderen Vielecks los, springt das gezogene Vieleck so,
dass sein Punkt genau auf diesem Partner liegt. Der losgelassene Punkt wird gelb: er ist mit dem Partner
verbunden und fixiert. Es zählt, wo der Mauszeiger losgelassen wird; er muss waagrecht und senkrecht
weniger als 8 Pixel vom Partner entfernt sein. Wird die Taste anderswo losgelassen, bleibt das Vieleck
einfach dort liegen.</p>

<h2>Drehen</h2>
<p>Ein Vieleck mit einem gelben Punkt lässt sich nicht mehr verschieben, nur noch um diesen Punkt drehen:
an einem anderen Eckpunkt packen und den Mauszeiger um den gelben Punkt herumführen. Wie weit der Zeiger
vom gelben Punkt entfernt ist, spielt keine Rolle, nur die Richtung.</p>
)";
  html += Figure(kGuidePictureTurned,
                 "Das Dreieck ist mit einer Ecke an das Quadrat gelegt (gelb) und um diese Ecke gedreht.");
  html += R"(
<h2>Festhalten und Sperren</h2>
<p>Wird ein Vieleck beim Drehen über einem Partnerpunkt losgelassen, dreht es sich genau in dessen Richtung,
und auch dieser Punkt wird gelb. Mit zwei gelben Punkten ist das Vieleck gesperrt: es lässt sich weder
verschieben noch drehen.</p>
<p>Ein Punkt ist nicht schon dadurch verbunden, dass er auf einem anderen liegt. Liegt ein blauer Punkt nach
dem ersten Verbinden bereits richtig auf seinem Partner, muss er trotzdem gepackt, gedreht (auch um nichts)
und über dem Partner losgelassen werden, damit er gelb und fixiert wird.</p>
)";
  html += Figure(kGuidePictureLocked,
                 "Beide oberen Ecken des Dreiecks sind fixiert: das Dreieck ist am Quadrat gesperrt.");
  html += R"(
<h2>Löschen</h2>
<p>Ein rechter Klick auf einen Eckpunkt löscht sein Vieleck, auch ein gesperrtes. Nur das erste Vieleck der
Konstruktion lässt sich so nicht löschen. Das blaue Kreuz „Konstruktion löschen“ oben links (oder
„Bearbeiten“ → „Konstruktion löschen …“, Strg+N) leert nach einer Rückfrage das ganze Blatt.</p>

<h2>Rückgängig und Wiederherstellen</h2>
<p>„Bearbeiten“ → „Rückgängig“ (Strg+Z) nimmt den letzten Schritt zurück: ein neues Vieleck, ein
Verschieben, Drehen oder Verbinden, ein Löschen, das Laden einer Konstruktion, ein fertiges Netz oder einen
erzeugten Körper. Der Menüeintrag nennt den Schritt, den er zurücknimmt. „Wiederherstellen“ (Strg+Y oder
Strg+Umschalt+Z) holt ihn wieder. Während ein Vieleck gezogen wird, geht beides nicht.</p>

<h2>Fertige Netze</h2>
<p>Die Liste oben rechts, die anfangs „-“ zeigt, enthält 103 fertige Netze: platonische, archimedische und
catalanische Körper, Prismen, Antiprismen, Pyramiden und Pyramidenstümpfe, Sternkörper und die
Johnson-Polyeder 12 bis 69. Ein Netz wird aus der Liste gewählt oder sein Name eingetippt. Es ersetzt die
Konstruktion; wurde diese geändert, fragt das Programm vorher, ob sie gespeichert werden soll.</p>
<p>„Körper“ → „Körper erzeugen …“ legt das Netz eines Körpers nach Maß oder aus der Bibliothek aus, und
„Körper importieren …“ (Strg+I) das Netz eines Körpers aus einer 3-D-Datei.</p>
)";
  html += Figure(kGuidePictureCube, "Das fertige Netz „Würfel“.");
  html += R"(
<h2>Netzprüfung</h2>
<p>„Körper“ → „Netz falten“ prüft, ob sich das Netz zu einem Körper schließt. Das Fenster „Netz falten“
meldet „Das Netz wird geprüft …“ und lässt sich dabei mit „Abbrechen“ beenden; dann nennt es das Ergebnis,
etwa „Das Netz faltet sich zu …“ oder „Das Netz schließt sich zu keinem Körper …“ mit dem Grund. Der Regler
„Faltung“ faltet das Netz vom flachen Bogen bis zum geschlossenen Körper, und mit der Maus lässt sich das
Bild drehen. Schließt sich das Netz zu mehreren Körpern, blättern die Pfeile „Voriger Körper“ und
„Nächster Körper“ durch sie; „Körper exportieren …“ speichert den gezeigten Körper als 3-D-Datei.</p>

<h2>Bastelbogen</h2>
<p>„Körper“ → „Bastelbogen speichern …“ und „Bastelbogen drucken …“ machen aus dem Netz einen Bogen zum
Ausschneiden, Falten und Kleben. Zuerst wird das Netz geprüft; schließt es sich nicht, erscheint das
Ergebnis der Prüfung und kein Bogen. Dann fragt ein Fenster nach dem Papier (A4, A3, Letter), der Größe
(„Kantenlänge“ der längsten Kante in mm oder „so groß wie möglich“), den Klebelaschen, ob Kanten und
Flächen nummeriert und Flächen je Art farbig gefüllt werden, und ob die Innenseite bedruckt wird.
Gespeichert wird als PDF-Datei oder als SVG-Datei für Schneideplotter. Auf dem Bogen sind Schnittlinien
durchgezogen, Bergfalten gestrichelt und Talfalten strichpunktiert.</p>

<h2>Ansicht, Bilder und Dateien</h2>
<p>Die Knöpfe mit den Pfeilen oben (oder „Ansicht“, Strg++, Strg+-, Strg+0) vergrößern und verkleinern die
Darstellung oder stellen die Standardgröße wieder her. „Punkte anzeigen“ blendet die Punkte aus und ein,
„Punkte beschriften“ schreibt die Nummer jedes Punktes dazu, der nicht auf einen anderen gelegt wurde.
„Darstellung“ speichert das Blatt als Bild, kopiert es als Bild oder Vektorgrafik und druckt es.
Konstruktionen werden mit den Diskettenknöpfen (Strg+O, Strg+S) als „.pko“-Datei geladen und gespeichert;
eine solche Datei kann auch auf das Fenster gezogen werden. „Ende“ (Esc) beendet das Programm und fragt
vorher nach dem Speichern einer geänderten Konstruktion.</p>
)";
  return html;
}

}  // namespace

GuideWindow::GuideWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("GuideWindow");
  setWindowTitle(QStringLiteral("Anleitung – Zozeroradedar"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  text_ = new QTextBrowser(this);
  text_->setObjectName("GuideText");
  text_->setOpenLinks(false);
  layout->addWidget(text_);
  resize(700, 760);
  DrawPictures(parent ? parent->devicePixelRatioF() : devicePixelRatioF());
}

void GuideWindow::DrawPictures(qreal ratio) {
  ratio_ = ratio;
  // The text first: setting it clears the document, resources included.
  text_->setHtml(GuideHtml());
  QTextDocument* doc = text_->document();
  doc->setDocumentMargin(14);
  const JoinPictures join = DrawJoinPictures(ratio);
  doc->addResource(QTextDocument::ImageResource, QUrl(kGuidePictureLoose), join.loose);
  doc->addResource(QTextDocument::ImageResource, QUrl(kGuidePictureTurned), join.turned);
  doc->addResource(QTextDocument::ImageResource, QUrl(kGuidePictureLocked), join.locked);
  if (const std::optional<QImage> cube = DrawCubePicture(ratio))
    doc->addResource(QTextDocument::ImageResource, QUrl(kGuidePictureCube), *cube);
  doc->markContentsDirty(0, doc->characterCount());
}

void GuideWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Shown on a screen of another pixel density than before: sharp pictures for it.
  if (devicePixelRatioF() != ratio_) DrawPictures(devicePixelRatioF());
  // Moved to such a screen while open: the same, keeping the place in the text.
  if (QWindow* window = windowHandle(); window && !followsScreen_) {
    followsScreen_ = true;
    connect(window, &QWindow::screenChanged, this, [this] {
      if (devicePixelRatioF() == ratio_) return;
      const int scrolled = text_->verticalScrollBar()->value();
      DrawPictures(devicePixelRatioF());
      text_->verticalScrollBar()->setValue(scrolled);
    });
  }
}

GuideWindow* ShowGuide(QWidget* parent) {
  GuideWindow* guide = parent ? parent->findChild<GuideWindow*>("GuideWindow", Qt::FindDirectChildrenOnly) : nullptr;
  if (guide == nullptr) guide = new GuideWindow(parent);
  guide->show();
  guide->raise();
  guide->activateWindow();
  return guide;
}

QString ProgramVersion() { return QStringLiteral(DIDOD_VERSION); }

QString ProgramLicence() {
  const QString licence = QStringLiteral(DIDOD_LICENSE);
  return licence == "LicenseRef-proprietary" ? licence + " (noch keine Lizenz gewählt)" : licence;
}

void ShowAbout(QWidget* parent) {
  QMessageBox box(parent);
  box.setObjectName("AboutBox");
  box.setWindowTitle(QStringLiteral("Über Zozeroradedar"));
  const QIcon icon = parent ? parent->window()->windowIcon() : QApplication::windowIcon();
  if (!icon.isNull()) box.setIconPixmap(icon.pixmap(QSize(64, 64), parent ? parent->devicePixelRatioF() : 1.0));
  box.setTextFormat(Qt::RichText);
  box.setText(QStringLiteral("<h3>Zozeroradedar</h3><p>Version %1</p>"
                             "<p>Netze von Polyedern am Bildschirm legen, prüfen, falten und als Bastelbogen "
                             "ausgeben.</p><p>Lizenz: %2</p>")
                  .arg(ProgramVersion(), ProgramLicence().toHtmlEscaped()));
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

}  // namespace didod
