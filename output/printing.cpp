#include "output/printing.h"

#include <QPainter>
#include <QPrinterInfo>
#include <memory>
#include <stdexcept>

#include "output/picture_files.h"
#include "output/qpainter_canvas.h"

namespace didod {

namespace {

std::unique_ptr<QPrinter> DefaultPrinter() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) throw std::runtime_error("There is no default printer currently selected");
  return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void BeginJob(QPrinter& printer, QPainter& painter) {
  printer.setDocName(QString::fromLatin1(kPrintJobTitle));
  printer.setCopyCount(1);
  printer.setPrintRange(QPrinter::AllPages);
  if (!painter.begin(&printer)) throw std::runtime_error("The print job could not be started");
}

// Ends the job; the painter's end sends the page to the printer.
void EndJob(QPainter& painter) {
  if (!painter.end()) throw std::runtime_error("The print job could not be finished");
}

}  // namespace

void UseWholePrintableArea(QPrinter& printer) {
  printer.setFullPage(false);
  const QPageLayout layout = printer.pageLayout();
  printer.setPageMargins(layout.minimumMargins(), layout.units());
}

PrinterFigures FiguresOf(QPrinter& printer) {
  PrinterFigures f;
  f.PageWidth = printer.width();
  f.PageHeight = printer.height();
  f.DpiX = printer.logicalDpiX();
  f.DpiY = printer.logicalDpiY();
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const QRect paper = printer.pageLayout().fullRectPixels(printer.resolution());
  f.OffX = page.left() - paper.left();
  f.OffY = page.top() - paper.top();
  return f;
}

void PrintImageScaled(QPrinter& printer, const QImage& image, QPageLayout::Orientation orientation) {
  printer.setPageOrientation(orientation);
  UseWholePrintableArea(printer);
  QPainter painter;
  BeginJob(printer, painter);
  // From here on the painter's destructor ends the job also when a step fails.
  const BitmapPrintLayout layout = LayoutBitmapPrint(FiguresOf(printer), image.width(), image.height());
  const PageRect& t = layout.Target;
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  // A plain copy of the pixels: no lossy compression on the way to the printer.
  painter.setRenderHint(QPainter::LosslessImageRendering, true);
  painter.drawImage(QRect(t.Left, t.Top, t.Right - t.Left, t.Bottom - t.Top), image, image.rect());
  EndJob(painter);
}

void PrintVectorOn(QPrinter& printer, int width, int height, const PaintProc& paint) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  UseWholePrintableArea(printer);
  QPainter painter;
  BeginJob(printer, painter);
  const VectorPrintLayout layout = LayoutVectorPrint(FiguresOf(printer), width, height);
  const PageRect& t = layout.Target;
  // The sheet's W x H stretched onto the target rectangle; the pen scales with it,
  // so lines keep the weight of one sheet pixel.
  painter.translate(t.Left, t.Top);
  painter.scale(static_cast<double>(t.Right - t.Left) / width, static_cast<double>(t.Bottom - t.Top) / height);
  AlignToPixelCentres(painter);
  QPainterCanvas canvas(painter);
  PrepareMetafileBackground(canvas, width, height, MetafileUse::Print);
  paint(canvas);
  canvas.SetBrushSolid(kWhite);
  canvas.SetPenStyle(PenStyle::None);
  for (const PageRect& band : layout.Bands) canvas.Rectangle(band.Left, band.Top, band.Right, band.Bottom);
  EndJob(painter);
}

void PrintBitmap(const QImage& sheetPixels) {
  std::unique_ptr<QPrinter> printer = DefaultPrinter();
  PrintImageScaled(*printer, sheetPixels, PrintDefaultOrientation);
}

void PrintVector(int width, int height, const PaintProc& paint) {
  std::unique_ptr<QPrinter> printer = DefaultPrinter();
  PrintVectorOn(*printer, width, height, paint);
}

}  // namespace didod
