#include "output/craft_writer.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <functional>
#include <stdexcept>

#include "craft/sheet_painter.h"
#include "output/craft_svg_canvas.h"
#include "output/qpainter_canvas.h"
#include "output/picture_files.h"

namespace didod {

namespace {

constexpr const char* kStreamWriteError = "Stream write error";

QPageSize PageSizeOf(craft::Paper paper) {
  switch (paper) {
    case craft::Paper::A3: return QPageSize(QPageSize::A3);
    case craft::Paper::Letter: return QPageSize(QPageSize::Letter);
    case craft::Paper::A4: break;
  }
  return QPageSize(QPageSize::A4);
}

QPageLayout LayoutOf(const craft::CraftSheet& sheet) {
  return QPageLayout(PageSizeOf(sheet.paper),
                     sheet.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                     QPageLayout::Millimeter);
}

// Draws the pages one after the other on a paged device whose origin is the
// paper's corner, `dotsPerMm` device units to the millimetre.
// Pages first..last, from 1.
void PaintPages(const craft::CraftSheet& sheet, QPainter& painter, double dotsPerMm,
                const std::function<bool()>& newPage, int first = 1, int last = 0) {
  const int count = static_cast<int>(sheet.pages.size());
  first = std::clamp(first, 1, std::max(count, 1));
  last = last <= 0 ? count : std::min(last, count);
  for (int i = first - 1; i < last; ++i) {
    if (i > first - 1 && !newPage()) throw std::runtime_error("Could not start a new page.");
    painter.save();
    painter.scale(dotsPerMm / craft::kUnitsPerMm, dotsPerMm / craft::kUnitsPerMm);
    QPainterCanvas canvas(painter);
    // Vector output: smooth lines and slanted tab ends.
    painter.setRenderHint(QPainter::Antialiasing, true);
    craft::DrawCraftPage(canvas, sheet, i);
    painter.restore();
  }
}

}  // namespace

void WriteCraftPdf(const craft::CraftSheet& sheet, const std::string& path) {
  // The whole document is made in memory first, so a failure on the way
  // leaves no partial file.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setCreator("Zozeroradedar");
    pdf.setTitle(QString::fromStdString(sheet.title));
    pdf.setResolution(1200);
    if (!pdf.setPageLayout(LayoutOf(sheet))) throw std::runtime_error("Could not set the PDF page layout.");
    QPainter painter;
    if (!painter.begin(&pdf)) throw std::runtime_error(kStreamWriteError);
    PaintPages(sheet, painter, pdf.resolution() / 25.4, [&] { return pdf.newPage(); });
    if (!painter.end()) throw std::runtime_error(kStreamWriteError);
  }
  WriteFileReplacing(QString::fromStdString(path), bytes);
}

std::string CraftSvgText(const craft::CraftSheet& sheet) {
  const craft::PaperSize size = craft::WholeSheetSize(sheet);
  SvgCanvas canvas(size.width, size.height);
  craft::DrawWholeSheet(canvas, sheet);
  return canvas.Finish();
}

void WriteCraftSvg(const craft::CraftSheet& sheet, const std::string& path) {
  const std::string text = CraftSvgText(sheet);
  WriteFileReplacing(QString::fromStdString(path), QByteArray::fromStdString(text));
}

void PrepareCraftPrinter(const craft::CraftSheet& sheet, QPrinter& printer) {
  printer.setDocName(QString::fromStdString(sheet.title));
  printer.setPageLayout(LayoutOf(sheet));
  printer.setFullPage(true);
}

void PrintCraftPages(const craft::CraftSheet& sheet, QPrinter& printer) {
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) throw std::runtime_error("Could not start printing.");
  // With the full page, device (0, 0) is the paper's corner; the printer's own
  // resolution gives 100 %.
  const bool range = printer.printRange() == QPrinter::PageRange;
  PaintPages(sheet, painter, printer.resolution() / 25.4, [&] { return printer.newPage(); },
             range ? printer.fromPage() : 1, range ? printer.toPage() : 0);
  if (!painter.end()) throw std::runtime_error("Printing failed.");
}

}  // namespace didod
