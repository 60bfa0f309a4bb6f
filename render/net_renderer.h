#pragma once
#include "model/construction.h"
#include "render/canvas.h"

namespace didod {

struct RenderOptions {
  int SheetWidth = 0;
  int SheetHeight = 0;
  bool ShowPoints = true;    // "Punkte anzeigen": origin and point markers
  bool LabelPoints = false;  // "Punkte beschriften": numbers beside free points
};

inline constexpr const char* kLabelFontFamily = "Verdana";
inline constexpr int kLabelFontPoints = 8;

// Rounds a pixel coordinate formed in extended precision, halves to even.
int RoundPixel(long double value);

// Draws the whole construction onto a canvas that is already white, centred on
// the sheet's centre. Sets font and brush itself; leaves the pen as it finds it.
void PB5Paintx(Canvas& canvas, const Construction& construction, const RenderOptions& options);

}  // namespace didod
