#pragma once
#include "model/construction.h"

namespace didod {

// The zoom factor 1.1 in extended precision (80-bit 0x3FFF 8CCCCCCCCCCCCCCD on x86-64).
inline constexpr long double kZoomFactor = 1.1L;

// Each changes Scale and brings the pixel positions up to date; the caller repaints.
void ZoomIn(Construction& construction, ViewCentre centre);
void ZoomOut(Construction& construction, ViewCentre centre);
void ZoomStandard(Construction& construction, ViewCentre centre);

}  // namespace didod
