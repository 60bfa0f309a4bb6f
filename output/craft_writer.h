#pragma once
#include <string>

#include "craft/sheet.h"

class QPrinter;

namespace didod {

// Writes every page of the sheet to a PDF at true size on the sheet's paper.
// Throws std::runtime_error ("Cannot create file <path>", "Stream write
// error") when the file cannot be written; the file is then as it was.
void WriteCraftPdf(const craft::CraftSheet& sheet, const std::string& path);

// Writes the whole net at true size to one SVG, with the cut lines, the fold
// lines and the marks each in a group (layer) of their own. Fails like the PDF.
void WriteCraftSvg(const craft::CraftSheet& sheet, const std::string& path);
std::string CraftSvgText(const craft::CraftSheet& sheet);

// Sets the printer's paper and orientation to the sheet's.
void PrepareCraftPrinter(const craft::CraftSheet& sheet, QPrinter& printer);
// Prints the pages at 100 %: one millimetre on the sheet is one on paper,
// measured from the paper's corner.
void PrintCraftPages(const craft::CraftSheet& sheet, QPrinter& printer);

}  // namespace didod
