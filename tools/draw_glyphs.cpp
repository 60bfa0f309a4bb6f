// Draws the tool-button glyphs into resources/glyphs/. Run by hand when a glyph
// changes; the PNGs are committed. The bottom-left pixel of each glyph carries
// the colour that the window makes transparent.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor kKey(255, 0, 255);

QImage Canvas(int size, QColor background = kKey) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(background);
  return image;
}

void Arrow(QPainter& p, QPointF from, QPointF to, qreal head) {
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
  const QPointF n(-d.y(), d.x());
  QPolygonF tip;
  tip << to << to - d * head + n * head * 0.6 << to - d * head - n * head * 0.6;
  p.setBrush(p.pen().color());
  p.drawPolygon(tip);
}

void Diskette(QPainter& p, QRect r) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(0, 0, 200));
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setBrush(QColor(255, 255, 0));
  p.drawRect(QRect(r.left() + 2, r.top(), r.width() - 5, r.height() / 2 - 1));
  p.setBrush(QColor(192, 192, 192));
  p.drawRect(QRect(r.left() + 3, r.bottom() - r.height() / 3 + 1, r.width() - 7, r.height() / 3 - 1));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString dir = argc > 1 ? argv[1] : "resources/glyphs";

  {  // leave: teal arrow pointing left, outlined in black
    QImage img = Canvas(13);
    QPainter p(&img);
    QPolygon arrow;
    arrow << QPoint(1, 6) << QPoint(6, 1) << QPoint(6, 4) << QPoint(11, 4) << QPoint(11, 8) << QPoint(6, 8)
          << QPoint(6, 11);
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 191, 191));
    p.drawPolygon(arrow);
    p.end();
    img.save(dir + "/_01.png");
  }
  {  // load: arrow leaving the diskette to the right
    QImage img = Canvas(20);
    QPainter p(&img);
    Diskette(p, QRect(1, 4, 12, 13));
    p.setPen(QPen(Qt::black, 2));
    Arrow(p, QPointF(10, 10.5), QPointF(19, 10.5), 4);
    p.end();
    img.save(dir + "/_05.png");
  }
  {  // save: arrow entering the diskette from the left
    QImage img = Canvas(20);
    QPainter p(&img);
    Diskette(p, QRect(7, 4, 12, 13));
    p.setPen(QPen(Qt::black, 2));
    Arrow(p, QPointF(0, 10.5), QPointF(10, 10.5), 4);
    p.end();
    img.save(dir + "/_06.png");
  }
  for (bool outwards : {true, false}) {  // enlarge and reduce: four diagonal arrows
    QImage img = Canvas(20);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 1.2));
    const QPointF c(9.5, 9.5);
    for (QPointF corner : {QPointF(1, 1), QPointF(18, 1), QPointF(1, 18), QPointF(18, 18)}) {
      const QPointF inner = c + (corner - c) * 0.15, outer = c + (corner - c);
      if (outwards) Arrow(p, inner, outer, 3.5);
      else Arrow(p, outer, inner, 3.5);
    }
    p.end();
    img.save(dir + (outwards ? "/_09.png" : "/_10.png"));
  }
  {  // standard scale: dark blue curved arrow on silver
    QImage img = Canvas(16, QColor(192, 192, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 191), 2));
    QPainterPath arc;
    arc.arcMoveTo(QRectF(3, 3, 10, 10), 160);
    arc.arcTo(QRectF(3, 3, 10, 10), 160, -250);
    p.drawPath(arc);
    p.setBrush(QColor(0, 0, 191));
    p.setPen(Qt::NoPen);
    QPolygonF tip;
    tip << QPointF(1, 6) << QPointF(7, 6) << QPointF(3.5, 11);
    p.drawPolygon(tip);
    p.end();
    img.save(dir + "/_11.png");
  }
  std::printf("glyphs written to %s\n", qPrintable(dir));
  return 0;
}
