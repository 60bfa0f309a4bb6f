#include "app/glyphs.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>

namespace didod {

QIcon LoadGlyph(const QString& name) {
  const QImage image(":/glyphs/" + name);
  if (image.isNull()) return {};
  QPixmap pixmap = QPixmap::fromImage(image);
  const QRgb key = image.pixel(0, image.height() - 1);
  pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(key, Qt::MaskInColor)));
  return QIcon(pixmap);
}

}  // namespace didod
