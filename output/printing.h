#pragma once
#include <QImage>
#include <QPageLayout>
#include <QPrinter>

#include "output/paint_proc.h"
#include "output/print_geometry.h"

namespace didod {

// Orientation of the bitmap print.
inline constexpr QPageLayout::Orientation PrintDefaultOrientation = QPageLayout::Portrait;

// Makes the printable area as large as the printer allows, so that its offsets
// from the paper's edges are the printer's physical ones. Both prints do this.
void UseWholePrintableArea(QPrinter& printer);

// The printer's figures in device pixels, with the printable area as large as
// the printer allows (its margins are its unprintable edges).
PrinterFigures FiguresOf(QPrinter& printer);

// Prints one raster image as one job on the printer: job title "Quolimat 2013",
// the given orientation, margins and scale as LayoutBitmapPrint says.
void PrintImageScaled(QPrinter& printer, const QImage& image, QPageLayout::Orientation orientation);

// Draws the picture of a W x H sheet afresh across the page width, as one job.
void PrintVectorOn(QPrinter& printer, int width, int height, const PaintProc& paint);

// "Drucken": the pixels that the sheet shows, on the default printer.
// "Vektorgrafik drucken": the drawing as vector graphics on the default printer.
// Without a default printer both throw "There is no default printer currently selected".
void PrintBitmap(const QImage& sheetPixels);
void PrintVector(int width, int height, const PaintProc& paint);

}  // namespace didod
