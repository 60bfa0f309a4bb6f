// Prints into a PDF printer and looks at the page through poppler's tools.
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

#include "output/picture_files.h"
#include "output/printing.h"
#include "sample.h"

namespace didod {
namespace {

using testing::kSheetH;
using testing::kSheetW;
using testing::Near;

std::unique_ptr<QPrinter> PdfPrinter(const QString& path) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(path);
  printer->setResolution(600);
  printer->setPageSize(QPageSize(QPageSize::A4));
  UseWholePrintableArea(*printer);
  return printer;
}

QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
  EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The first page at 120 pixels per inch: one pixel for five device pixels.
constexpr int kPageDpi = 120;
QImage RenderPage(const QString& pdf, const QString& stem, int dpi = kPageDpi, QRect crop = QRect()) {
  QStringList arguments{"-r", QString::number(dpi), "-png", "-singlefile"};
  if (!crop.isNull())
    arguments << "-x" << QString::number(crop.x()) << "-y" << QString::number(crop.y()) << "-W"
              << QString::number(crop.width()) << "-H" << QString::number(crop.height());
  RunTool("pdftoppm", arguments << pdf << stem);
  QImage page(stem + ".png");
  EXPECT_FALSE(page.isNull());
  return page.convertToFormat(QImage::Format_RGB32);
}

class Printing : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty() || QStandardPaths::findExecutable("pdfinfo").isEmpty())
      FAIL() << "poppler-utils (pdftoppm, pdfinfo) are needed; scripts/install-deps installs them";
  }
  QTemporaryDir dir;
  std::shared_ptr<Construction> sample = testing::MakeSample();
  PaintProc paint = testing::PaintOf(sample, kSheetW, kSheetH);

  void ExpectOnePageWithTitle(const QString& pdf) {
    const QString info = RunTool("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("^Pages:\\s+1$", QRegularExpression::MultilineOption))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("^Title:\\s+Quolimat 2013$", QRegularExpression::MultilineOption)))
        << info.toStdString();
  }
};

TEST_F(Printing, FiguresOfAPdfPrinter) {
  auto printer = PdfPrinter(dir.filePath("x.pdf"));
  const PrinterFigures f = FiguresOf(*printer);
  EXPECT_EQ(f.DpiX, 600);
  EXPECT_EQ(f.DpiY, 600);
  EXPECT_NEAR(f.PageWidth, 4961, 4);  // 210 mm
  EXPECT_NEAR(f.PageHeight, 7016, 4);  // 297 mm
}

TEST_F(Printing, BitmapAtSixtyPixelsPerInchBetweenTheMargins) {
  const QString pdf = dir.filePath("bitmap.pdf");
  auto printer = PdfPrinter(pdf);
  const QImage sheet = RenderBitmap(kSheetW, kSheetH, paint);
  PrintImageScaled(*printer, sheet, PrintDefaultOrientation);
  printer.reset();
  ExpectOnePageWithTitle(pdf);
  const QImage page = RenderPage(pdf, dir.filePath("bitmap"));
  ASSERT_NEAR(page.width(), 992, 1);
  // Left margin 591 and top margin 236 device pixels, then ten device pixels per
  // sheet pixel: the picture's area at the printer's resolution holds every sheet
  // pixel as a block of 10 x 10.
  const QImage area = RenderPage(pdf, dir.filePath("area"), 600, QRect(591, 236, 10 * kSheetW, 10 * kSheetH));
  ASSERT_EQ(area.size(), QSize(10 * kSheetW, 10 * kSheetH));
  auto at = [&](int x, int y) { return area.pixel(10 * x + 5, 10 * y + 5); };
  const auto p = testing::PixelsFor(kSheetW, kSheetH);
  for (int y = 0; y < kSheetH; ++y)
    for (int x = 0; x < kSheetW; ++x)
      ASSERT_TRUE(Near(at(x, y), QColor(sheet.pixel(x, y)), 24)) << x << "," << y << std::hex << " " << at(x, y) << " " << sheet.pixel(x, y);
  EXPECT_EQ(at(p.cx, p.cy), qRgb(255, 0, 0));
  EXPECT_EQ(at(p.fixedX, p.fixedY), qRgb(255, 255, 0));
  // Nothing in the left margin, nothing below the picture.
  for (int y = 0; y < page.height(); y += 7)
    for (int x = 0; x < 591 / 5 - 1; ++x) ASSERT_EQ(page.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
  for (int x = 0; x < page.width(); x += 5)
    ASSERT_EQ(page.pixel(x, (236 + 10 * kSheetH) / 5 + 2), qRgb(255, 255, 255)) << x;
}

TEST_F(Printing, VectorAcrossThePageWidth) {
  const QString pdf = dir.filePath("vector.pdf");
  auto printer = PdfPrinter(pdf);
  // A face dragged below the sheet (pixel y 160 to 175) is covered by the white band.
  auto wide = std::make_shared<Construction>(*sample);
  wide->AppendWholeFace({{0.0, -1.7}, {0.4, -1.7}, {0.2, -2.0}}, ViewCentreOf(kSheetW, kSheetH));
  const PrinterFigures figures = FiguresOf(*printer);
  PrintVectorOn(*printer, kSheetW, kSheetH, testing::PaintOf(wide, kSheetW, kSheetH));
  printer.reset();
  ExpectOnePageWithTitle(pdf);
  const QImage page = RenderPage(pdf, dir.filePath("vector"));
  const VectorPrintLayout l = LayoutVectorPrint(figures, kSheetW, kSheetH);
  EXPECT_EQ(l.Target.Left, 20);
  EXPECT_EQ(l.Target.Right, figures.PageWidth - 20);
  const double sx = (l.Target.Right - l.Target.Left) / double(kSheetW);
  const double sy = (l.Target.Bottom - l.Target.Top) / double(kSheetH);
  const double toPage = kPageDpi / 600.0;
  // The page pixel that holds the middle of sheet pixel (x, y).
  auto at = [&](double x, double y) {
    return page.pixel(int((20 + (x + 0.5) * sx) * toPage), int((20 + (y + 0.5) * sy) * toPage));
  };
  const auto p = testing::PixelsFor(kSheetW, kSheetH);
  EXPECT_TRUE(Near(at(p.cx, p.cy), QColor(255, 0, 0), 8)) << std::hex << at(p.cx, p.cy);
  EXPECT_TRUE(Near(at(p.fixedX, p.fixedY), QColor(255, 255, 0), 8));
  EXPECT_TRUE(Near(at(p.freeX, p.freeY), QColor(192, 192, 255), 8));
  EXPECT_TRUE(Near(at(p.edgeX, p.edgeY), QColor(0, 0, 0), 8)) << std::hex << at(p.edgeX, p.edgeY);
  EXPECT_TRUE(Near(at(p.edgeX, p.edgeY + 2), QColor(255, 255, 255), 8));
  // The outline's right edge (sheet x = 170) lands where the stretch puts it.
  EXPECT_TRUE(Near(at(p.freeX, p.freeY + 20), QColor(0, 0, 0), 8));
  // Below the picture, down to R, the page is white, the face there included.
  for (int y = kSheetH + 2; y < 185; ++y)
    for (int x = 0; x < kSheetW; ++x) ASSERT_EQ(at(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

TEST_F(Printing, FailingDrawingStillEndsTheJob) {
  const QString pdf = dir.filePath("failed.pdf");
  auto printer = PdfPrinter(pdf);
  EXPECT_THROW(PrintVectorOn(*printer, kSheetW, kSheetH,
                             [](Canvas& canvas) {
                               canvas.Ellipse(0, 0, 10, 10);
                               throw std::runtime_error("drawing failed");
                             }),
               std::runtime_error);
  // The job was ended: the page is complete, and the printer takes the next job.
  ExpectOnePageWithTitle(pdf);
  const QString next = dir.filePath("next.pdf");
  printer->setOutputFileName(next);
  PrintVectorOn(*printer, kSheetW, kSheetH, paint);
  ExpectOnePageWithTitle(next);
}

TEST(PrintingWithoutPrinter, SaysSo) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
  const QImage sheet(10, 10, QImage::Format_RGB32);
  try {
    PrintBitmap(sheet);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "There is no default printer currently selected");
  }
  EXPECT_THROW(PrintVector(10, 10, [](Canvas&) {}), std::runtime_error);
}

}  // namespace
}  // namespace didod
