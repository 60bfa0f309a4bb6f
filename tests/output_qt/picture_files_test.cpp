#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QPainter>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <stdexcept>

#include "output/picture_files.h"
#include "output/qpainter_canvas.h"
#include "sample.h"

namespace didod {
namespace {

using testing::kSheetH;
using testing::kSheetW;
using testing::MakeSample;
using testing::Near;
using testing::PaintOf;
using testing::PixelsFor;

QImage ReadBack(const QString& path, const char* format) {
  QImageReader reader(path, format);
  reader.setAutoDetectImageFormat(false);
  QImage image = reader.read();
  EXPECT_FALSE(image.isNull()) << path.toStdString() << ": " << reader.errorString().toStdString();
  return image.convertToFormat(QImage::Format_RGB32);
}

// The markers and the outline where the drawing puts them.
void ExpectDrawing(const QImage& image, int w, int h, int tolerance, QColor freeColour = QColor(192, 192, 255)) {
  ASSERT_EQ(image.size(), QSize(w, h));
  const auto p = PixelsFor(w, h);
  EXPECT_TRUE(Near(image.pixel(p.cx, p.cy), QColor(255, 0, 0), tolerance)) << std::hex << image.pixel(p.cx, p.cy);
  EXPECT_TRUE(Near(image.pixel(p.fixedX, p.fixedY), QColor(255, 255, 0), tolerance))
      << std::hex << image.pixel(p.fixedX, p.fixedY);
  EXPECT_TRUE(Near(image.pixel(p.freeX, p.freeY), freeColour, tolerance)) << std::hex << image.pixel(p.freeX, p.freeY);
  EXPECT_TRUE(Near(image.pixel(p.edgeX, p.edgeY), QColor(0, 0, 0), tolerance + 40))
      << std::hex << image.pixel(p.edgeX, p.edgeY);
  EXPECT_TRUE(Near(image.pixel(5, 5), QColor(255, 255, 255), tolerance));
  EXPECT_TRUE(Near(image.pixel(w - 3, h - 3), QColor(255, 255, 255), tolerance));
}

class PictureFiles : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::shared_ptr<Construction> sample = MakeSample();
  PaintProc paint = PaintOf(sample, kSheetW, kSheetH);
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(PictureFiles, BitmapIsWhiteWithTheDrawing) {
  const QImage bitmap = RenderBitmap(kSheetW, kSheetH, paint);
  ExpectDrawing(bitmap, kSheetW, kSheetH, 0);
}

TEST_F(PictureFiles, LosslessFormatsHoldExactlyTheBitmap) {
  const QImage bitmap = RenderBitmap(kSheetW, kSheetH, paint);
  const struct {
    PictureFormat format;
    const char* name;
    const char* reader;
  } cases[] = {{PictureFormat::Bitmap, "a.bmp", "bmp"}, {PictureFormat::Gif, "a.gif", "gif"},
               {PictureFormat::Png, "a.png", "png"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WritePicture(c.format, Path(c.name), kSheetW, kSheetH, paint);
    const QImage back = ReadBack(Path(c.name), c.reader);
    ExpectDrawing(back, kSheetW, kSheetH, 0);
    EXPECT_EQ(back, bitmap);
  }
}

TEST_F(PictureFiles, BmpHeadersSay24And4BitsPerPixel) {
  WritePicture(PictureFormat::Bitmap, Path("full.bmp"), kSheetW, kSheetH, paint);
  WritePicture(PictureFormat::Bitmap16, Path("16.bmp"), kSheetW, kSheetH, paint);
  for (const auto& [name, bits, size] : {std::tuple{"full.bmp", 24, 54 + 600 * 150},
                                         std::tuple{"16.bmp", 4, 54 + 64 + 100 * 150}}) {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    ASSERT_EQ(b.size(), size) << name;
    EXPECT_EQ(b.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<uchar>(b[28]), bits) << name;
  }
}

TEST_F(PictureFiles, SixteenColoursKeepPaletteColoursAndMapLightBlue) {
  WritePicture(PictureFormat::Bitmap16, Path("16.bmp"), kSheetW, kSheetH, paint);
  const QImage back = ReadBack(Path("16.bmp"), "bmp");
  // Light blue is no palette colour; its nearest one is silver.
  ExpectDrawing(back, kSheetW, kSheetH, 0, QColor(192, 192, 192));
  const QList<QRgb>& palette = StandardPalette16();
  for (int y = 0; y < back.height(); ++y)
    for (int x = 0; x < back.width(); ++x) ASSERT_TRUE(palette.contains(back.pixel(x, y))) << x << "," << y;
}

TEST(SixteenColours, NearestPaletteEntry) {
  QImage image(4, 1, QImage::Format_RGB32);
  image.setPixel(0, 0, qRgb(250, 10, 5));     // red
  image.setPixel(1, 0, qRgb(100, 100, 100));  // grey
  image.setPixel(2, 0, qRgb(0, 0, 140));      // navy
  image.setPixel(3, 0, qRgb(200, 255, 250));  // nearer white than aqua
  const QImage out = ConvertTo16Colours(image);
  ASSERT_EQ(out.colorCount(), 16);
  EXPECT_EQ(out.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(out.pixel(1, 0), qRgb(128, 128, 128));
  EXPECT_EQ(out.pixel(2, 0), qRgb(0, 0, 128));
  EXPECT_EQ(out.pixel(3, 0), qRgb(255, 255, 255));
}

TEST_F(PictureFiles, JpegWithinTolerance) {
  WritePicture(PictureFormat::Jpeg, Path("a.jpg"), kSheetW, kSheetH, paint);
  QFile f(Path("a.jpg"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  // Baseline (SOF0), not progressive (SOF2).
  EXPECT_TRUE(bytes.contains(QByteArray("\xFF\xC0", 2)));
  EXPECT_FALSE(bytes.contains(QByteArray("\xFF\xC2", 2)));
  const int sof = static_cast<int>(bytes.indexOf(QByteArray("\xFF\xC0", 2)));
  EXPECT_EQ(static_cast<uchar>(bytes[sof + 9]), 3) << "three components";
  // Quality 100: every entry of the first quantisation table is 1.
  const int dqt = static_cast<int>(bytes.indexOf(QByteArray("\xFF\xDB", 2)));
  ASSERT_GT(dqt, 0);
  ASSERT_EQ(static_cast<uchar>(bytes[dqt + 4]) >> 4, 0) << "8-bit table";
  for (int i = 0; i < 64; ++i) ASSERT_EQ(static_cast<uchar>(bytes[dqt + 5 + i]), 1) << i;
  const QImage back = ReadBack(Path("a.jpg"), "jpeg");
  ExpectDrawing(back, kSheetW, kSheetH, 70);
}

TEST_F(PictureFiles, GifQuantisesImagesOfManyColours) {
  QImage gradient(64, 64, QImage::Format_RGB32);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) gradient.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) % 256));
  const QByteArray gif = EncodeGif(gradient);
  QImage back = QImage::fromData(gif, "gif").convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(back.size(), gradient.size());
  QSet<QRgb> colours;
  long error = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      colours.insert(back.pixel(x, y));
      error += std::abs(qRed(back.pixel(x, y)) - qRed(gradient.pixel(x, y)));
    }
  EXPECT_LE(colours.size(), 256);
  EXPECT_LT(error / (64 * 64), 24) << "quantised colours stay near the originals";
}

TEST_F(PictureFiles, PngOfIndexedImageIsAPalettePicture) {
  const QImage sixteen = ConvertTo16Colours(RenderBitmap(kSheetW, kSheetH, paint));
  const QByteArray png = EncodePng(sixteen);
  // IHDR: bit depth 4, colour type 3 (palette), no interlacing.
  ASSERT_GT(png.size(), 33);
  EXPECT_EQ(static_cast<uchar>(png[24]), 4);
  EXPECT_EQ(static_cast<uchar>(png[25]), 3);
  EXPECT_EQ(static_cast<uchar>(png[28]), 0);
  const QImage back = QImage::fromData(png, "png").convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(back, sixteen.convertToFormat(QImage::Format_RGB32));
  const QByteArray rgb = EncodePng(RenderBitmap(kSheetW, kSheetH, paint));
  EXPECT_EQ(static_cast<uchar>(rgb[24]), 8);
  EXPECT_EQ(static_cast<uchar>(rgb[25]), 2);
}

TEST_F(PictureFiles, LargerSheetGivesLargerPicture) {
  WritePicture(PictureFormat::Png, Path("small.png"), kSheetW, kSheetH, paint);
  const PaintProc bigger = PaintOf(sample, 320, 240);
  WritePicture(PictureFormat::Png, Path("big.png"), 320, 240, bigger);
  EXPECT_EQ(ReadBack(Path("small.png"), "png").size(), QSize(kSheetW, kSheetH));
  ExpectDrawing(ReadBack(Path("big.png"), "png"), 320, 240, 0);
}

TEST_F(PictureFiles, UnwritablePathWritesNothing) {
  const QString path = Path("missing/folder/a.gif");
  try {
    WritePicture(PictureFormat::Gif, path, kSheetW, kSheetH, paint);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + path.toStdString());
  }
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(PictureFiles, EncoderFailureKeepsTheOldFile) {
  const QString path = Path("keep.gif");
  WritePicture(PictureFormat::Gif, path, kSheetW, kSheetH, paint);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray before = f.readAll();
  f.close();
  // Wider than GIF and JPEG can hold.
  const PaintProc wide = PaintOf(sample, 70000, 2);
  EXPECT_THROW(WritePicture(PictureFormat::Gif, path, 70000, 2, wide), std::runtime_error);
  try {
    WritePicture(PictureFormat::Jpeg, path, 70000, 2, wide);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()).rfind("JPEG error #", 0), 0u) << e.what();
  }
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"keep.gif"});
}

TEST_F(PictureFiles, SvgIsXmlOfTheSheetsSizeAndDrawsTheNet) {
  WritePicture(PictureFormat::Svg, Path("a.svg"), kSheetW, kSheetH, paint);
  QFile f(Path("a.svg"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray svg = f.readAll();
  QXmlStreamReader xml(svg);
  QString viewBox;
  int shapes = 0;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("svg")) viewBox = xml.attributes().value("viewBox").toString();
    if (xml.name() == QLatin1String("ellipse") || xml.name() == QLatin1String("circle") || xml.name() == QLatin1String("polygon") ||
        xml.name() == QLatin1String("path") || xml.name() == QLatin1String("polyline"))
      ++shapes;
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(viewBox, QStringLiteral("0 0 200 150"));
  EXPECT_GE(shapes, 6) << "origin, outline and four point markers";
  // Rendered by Qt's SVG reader, the markers are where the drawing puts them.
  QSvgRenderer renderer(svg);
  ASSERT_TRUE(renderer.isValid());
  QImage image(kSheetW, kSheetH, QImage::Format_RGB32);
  image.fill(Qt::green);
  QPainter painter(&image);
  renderer.render(&painter, QRectF(0, 0, kSheetW, kSheetH));
  painter.end();
  ExpectDrawing(image, kSheetW, kSheetH, 8);
}

TEST_F(PictureFiles, PdfPageIsTheSheetsSize) {
  WritePicture(PictureFormat::Pdf, Path("a.pdf"), kSheetW, kSheetH, paint);
  QFile f(Path("a.pdf"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray pdf = f.readAll();
  EXPECT_TRUE(pdf.startsWith("%PDF-"));
  const QRegularExpression mediaBox(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)\\s*\\]"));
  const auto match = mediaBox.match(QString::fromLatin1(pdf));
  ASSERT_TRUE(match.hasMatch());
  // 96 pixels to the inch, 72 points to the inch.
  EXPECT_NEAR(match.captured(1).toDouble(), kSheetW * 0.75, 1.0);
  EXPECT_NEAR(match.captured(2).toDouble(), kSheetH * 0.75, 1.0);
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page/") +
                pdf.count("/Type /Page "),
            1);
}

TEST(Background, EachUseLaysItsOwnOutline) {
  struct Probe : Canvas {
    std::vector<std::string> calls;
    void SetPenColour(Colour c) override { calls.push_back(c == kWhite ? "pen white" : "pen black"); }
    void SetPenStyle(PenStyle s) override { calls.push_back(s == PenStyle::None ? "pen none" : "pen solid"); }
    void SetBrushSolid(Colour) override { calls.push_back("brush white"); }
    void SetBrushClear() override { calls.push_back("brush clear"); }
    void SetFont(const std::string& f, int p) override { calls.push_back(f + " " + std::to_string(p)); }
    void Polygon(const std::vector<PixelPoint>&) override {}
    void Ellipse(int, int, int, int) override {}
    void Rectangle(int l, int t, int r, int b) override {
      calls.push_back("rect " + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
                      std::to_string(b));
    }
    void TextOut(int, int, const std::string&) override {}
  };
  Probe file, clip, print;
  PrepareMetafileBackground(file, 10, 20, MetafileUse::File);
  PrepareMetafileBackground(clip, 10, 20, MetafileUse::Clipboard);
  PrepareMetafileBackground(print, 10, 20, MetafileUse::Print);
  using V = std::vector<std::string>;
  EXPECT_EQ(file.calls, (V{"Verdana 10", "brush white", "pen white", "rect -1,-1,11,21", "pen black", "brush clear"}));
  EXPECT_EQ(clip.calls, (V{"Verdana 10", "brush white", "rect -1,-1,11,21", "brush clear"}));
  EXPECT_EQ(print.calls,
            (V{"Verdana 10", "brush white", "pen none", "rect -1,-1,11,21", "pen solid", "brush clear"}));
}

}  // namespace
}  // namespace didod
