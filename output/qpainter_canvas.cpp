#include "output/qpainter_canvas.h"

#include <QPolygon>

namespace didod {

QColor ToQColor(Colour c) { return QColor(c.r, c.g, c.b); }

QPainterCanvas::QPainterCanvas(QPainter& painter) : painter_(painter), pen_(Qt::black, 1, Qt::SolidLine) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setPen(pen_);
  painter_.setBrush(Qt::NoBrush);
  painter_.setBackgroundMode(Qt::TransparentMode);
}

void QPainterCanvas::SetPenColour(Colour colour) {
  pen_.setColor(ToQColor(colour));
  painter_.setPen(pen_);
}

void QPainterCanvas::SetPenStyle(PenStyle style) {
  // Dashes end flat, so that dashes, dots and gaps keep the lengths of their pattern.
  pen_.setCapStyle(style == PenStyle::Dash || style == PenStyle::DashDot ? Qt::FlatCap : Qt::SquareCap);
  if (style == PenStyle::Dash) {
    pen_.setStyle(Qt::CustomDashLine);
    pen_.setDashPattern({8.0, 4.0});
  } else if (style == PenStyle::DashDot) {
    pen_.setStyle(Qt::CustomDashLine);
    pen_.setDashPattern({8.0, 3.0, 2.0, 3.0});
  } else {
    pen_.setStyle(style == PenStyle::Solid ? Qt::SolidLine : Qt::NoPen);
  }
  painter_.setPen(pen_);
}

void QPainterCanvas::SetBrushSolid(Colour colour) { painter_.setBrush(QBrush(ToQColor(colour))); }

void QPainterCanvas::SetBrushClear() { painter_.setBrush(Qt::NoBrush); }

QFont CanvasFont(const std::string& family, int points) {
  QFont font(QString::fromStdString(family));
  font.setPixelSize(FontPixelHeight(points));
  return font;
}

void QPainterCanvas::SetFont(const std::string& family, int points) { painter_.setFont(CanvasFont(family, points)); }

void QPainterCanvas::Polygon(const std::vector<PixelPoint>& corners) {
  QPolygon polygon;
  polygon.reserve(static_cast<int>(corners.size()));
  for (const PixelPoint& p : corners) polygon << QPoint(p.x, p.y);
  painter_.drawPolygon(polygon);
}

// The right and bottom edges of the rectangle lie just outside the figure, and a
// one-pixel pen adds one pixel on those sides, hence the minus one.
void QPainterCanvas::Ellipse(int left, int top, int right, int bottom) {
  painter_.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

void QPainterCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (pen_.style() == Qt::NoPen)
    painter_.fillRect(QRect(left, top, right - left, bottom - top), painter_.brush());
  else
    painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void QPainterCanvas::TextOut(int x, int y, const std::string& text) {
  const QString s = QString::fromStdString(text);
  const QFontMetrics metrics(painter_.font());
  painter_.drawText(QPoint(x, y + metrics.ascent()), s);
}

}  // namespace didod

namespace didod {

void QPainterCanvas::SetPenWidth(double width) {
  pen_.setWidthF(width);
  painter_.setPen(pen_);
}

void QPainterCanvas::Line(double x1, double y1, double x2, double y2) {
  painter_.drawLine(QLineF(x1, y1, x2, y2));
}

}  // namespace didod
