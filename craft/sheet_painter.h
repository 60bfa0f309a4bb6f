#pragma once
#include "craft/sheet.h"
#include "render/canvas.h"

namespace didod::craft {

// The canvas for a page is laid out in tenths of a millimetre from the paper's
// top-left corner.
inline constexpr double kUnitsPerMm = 10.0;

inline constexpr const char* kSheetFontFamily = "DejaVu Sans";

// Layers of a page, kept apart by surfaces that can (SVG groups).
inline constexpr const char* kColourGroup = "colour";  // faces filled by their kind
inline constexpr const char* kCutGroup = "cut";
inline constexpr const char* kFoldGroup = "fold";
// Edge and face numbers, crosses, title, scale bar and legend (whose samples of
// cut and fold lines stay out of the cut and fold layers).
inline constexpr const char* kMarkGroup = "marks";

inline constexpr double kCutPenWidth = 0.25;   // mm
inline constexpr double kFoldPenWidth = 0.25;  // mm, dashed
inline constexpr double kMarkPenWidth = 0.2;   // mm

// The legend in the footer of the first page, right of the scale bar, mm.
inline constexpr double kLegendLeft = kPageMargin + kScaleBarLength + 17.0;
inline constexpr double kLegendWidth = 72.0;

// Draws page `index` (from 0) of the sheet. The canvas is white; cut lines come
// out solid, mountain folds dashed and valley folds dash-dotted. The first page
// carries the legend.
void DrawCraftPage(Canvas& canvas, const CraftSheet& sheet, int index);

// Draws the whole net on one surface of the net's size plus margins, title and
// scale bar, for cutting plotters. Returns the size used in millimetres.
PaperSize WholeSheetSize(const CraftSheet& sheet);
void DrawWholeSheet(Canvas& canvas, const CraftSheet& sheet);

}  // namespace didod::craft
