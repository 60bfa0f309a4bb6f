#pragma once
#include <functional>

#include "render/canvas.h"

namespace didod {

// Draws the whole construction onto a canvas of the sheet's size whose origin is
// the sheet's top-left corner; picture output prepares only pen and background.
using PaintProc = std::function<void(Canvas&)>;

}  // namespace didod
