#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include "output/clipboard.h"
#include "output/picture_files.h"
#include "sample.h"

namespace didod {
namespace {

using testing::kSheetH;
using testing::kSheetW;

TEST(Clipboard, BitmapCopiesTheSheetsPixels) {
  // The sheet's pixels, labels and all; here a picture that no new drawing would give.
  QImage sheet = RenderBitmap(kSheetW, kSheetH, testing::PaintOf(testing::MakeSample(), kSheetW, kSheetH, true));
  sheet.setPixel(0, 0, qRgb(1, 2, 3));
  CopyBitmapToClipboard(sheet);
  const QImage back = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(back, sheet);
}

TEST(Clipboard, VectorPictureInThreeForms) {
  const auto sample = testing::MakeSample();
  const PaintProc paint = testing::PaintOf(sample, kSheetW, kSheetH);
  CopyMetafileToClipboard(kSheetW, kSheetH, paint);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  const QByteArray expectedEmf = MakeMetafile(kSheetW, kSheetH, paint, MetafileUse::Clipboard);
  EXPECT_EQ(data->data("image/emf"), expectedEmf);
  EXPECT_EQ(data->data("image/x-emf"), expectedEmf);
  EXPECT_NE(expectedEmf, MakeMetafile(kSheetW, kSheetH, paint, MetafileUse::File)) << "black outline, not white";

  QSvgRenderer svg(data->data("image/svg+xml"));
  ASSERT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBox(), QRect(0, 0, kSheetW, kSheetH));

  ASSERT_TRUE(data->hasImage());
  const QImage image = qvariant_cast<QImage>(data->imageData()).convertToFormat(QImage::Format_RGB32);
  // The black outline lies outside the picture, so the fallback equals the plain bitmap.
  EXPECT_EQ(image, RenderBitmap(kSheetW, kSheetH, paint));
}

}  // namespace
}  // namespace didod
