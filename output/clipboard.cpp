#include "output/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <stdexcept>

#include "output/picture_files.h"
#include "output/qpainter_canvas.h"

namespace didod {

namespace {

QClipboard& OpenClipboard() {
  QClipboard* clipboard = QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
  if (!clipboard) throw std::runtime_error("Cannot open clipboard");
  return *clipboard;
}

}  // namespace

void CopyBitmapToClipboard(const QImage& sheetPixels) {
  QClipboard& clipboard = OpenClipboard();
  clipboard.setImage(sheetPixels);
}

std::unique_ptr<QMimeData> MakeMetafileMimeData(int width, int height, const PaintProc& paint) {
  auto data = std::make_unique<QMimeData>();
  const QByteArray emf = MakeMetafile(width, height, paint, MetafileUse::Clipboard);
  data->setData(QStringLiteral("image/emf"), emf);
  data->setData(QStringLiteral("image/x-emf"), emf);
  data->setData(QStringLiteral("image/svg+xml"), MakeSvg(width, height, paint, MetafileUse::Clipboard));
  QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  if (image.isNull()) throw std::bad_alloc();
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    PrepareMetafileBackground(canvas, image.width(), image.height(), MetafileUse::Clipboard);
    paint(canvas);
  }
  data->setImageData(image);
  return data;
}

void CopyMetafileToClipboard(int width, int height, const PaintProc& paint) {
  QClipboard& clipboard = OpenClipboard();
  std::unique_ptr<QMimeData> data = MakeMetafileMimeData(width, height, paint);
  clipboard.setMimeData(data.release());  // the clipboard owns it from here
}

}  // namespace didod
