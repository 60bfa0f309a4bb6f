#include "app/glyphs.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <memory>

namespace didod {

QImage GlyphBitmap(const QString& name) {
  const QImage image(":/glyphs/" + name);
  if (image.isNull()) return {};
  const QRgb key = image.pixel(0, image.height() - 1);
  QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < keyed.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x)
      if ((line[x] & RGB_MASK) == (key & RGB_MASK)) line[x] = 0;
  }
  return keyed;
}

namespace {

// Every pixmap has the size asked for, in device pixels, with the glyph centred in
// it at the offset a bitmap icon would get. At ratio 1 the glyph is the bitmap
// itself; at any other ratio the vector glyph is drawn at that many device pixels.
class GlyphEngine final : public QIconEngine {
 public:
  GlyphEngine(QImage bitmap, std::shared_ptr<QSvgRenderer> vector)
      : bitmap_(std::move(bitmap)), vector_(std::move(vector)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap drawn = scaledPixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state, ratio);
    drawn.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect.topLeft(), drawn);
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return GlyphSize(size); }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  // The icon asks for high-density pixmaps here, with the size in device pixels.
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    if (size.isEmpty() || !(scale > 0)) return {};
    const QSize logical = (QSizeF(size) / scale).toSize();
    const QSize glyph = GlyphSize(logical);
    if (glyph.isEmpty()) return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      const QPoint offset((logical.width() - glyph.width()) / 2, (logical.height() - glyph.height()) / 2);
      if (scale == 1.0 && glyph == bitmap_.size()) {
        painter.drawImage(offset, bitmap_);
      } else if (vector_) {
        painter.setRenderHint(QPainter::Antialiasing);
        vector_->render(&painter, QRectF(QPointF(offset) * scale, QSizeF(glyph) * scale));
      } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(QPointF(offset) * scale, QSizeF(glyph) * scale), bitmap_);
      }
    }
    QPixmap result = QPixmap::fromImage(std::move(image));
    if (mode == QIcon::Disabled && qApp) {
      QStyleOption option;
      option.palette = QApplication::palette();
      result = QApplication::style()->generatedIconPixmap(mode, result, &option);
    }
    return result;
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {bitmap_.size()}; }
  QIconEngine* clone() const override { return new GlyphEngine(*this); }
  QString key() const override { return QStringLiteral("didod-glyph"); }

 private:
  // The bitmap's own size, or smaller to fit `room`.
  QSize GlyphSize(QSize room) const {
    QSize glyph = bitmap_.size();
    if (glyph.width() > room.width() || glyph.height() > room.height()) glyph.scale(room, Qt::KeepAspectRatio);
    return glyph;
  }

  QImage bitmap_;
  std::shared_ptr<QSvgRenderer> vector_;
};

}  // namespace

QIcon LoadGlyph(const QString& name) {
  QImage bitmap = GlyphBitmap(name);
  if (bitmap.isNull()) return {};
  auto vector = std::make_shared<QSvgRenderer>(QStringLiteral(":/glyphs/%1.svg").arg(name));
  if (!vector->isValid()) vector.reset();
  return QIcon(new GlyphEngine(std::move(bitmap), std::move(vector)));
}

}  // namespace didod
