#include "render/zoom.h"

namespace didod {

void ZoomIn(Construction& c, ViewCentre centre) {
  c.Scale = static_cast<double>(static_cast<long double>(c.Scale) * kZoomFactor);
  c.RecomputeScreenPoints(centre);
}

void ZoomOut(Construction& c, ViewCentre centre) {
  c.Scale = static_cast<double>(static_cast<long double>(c.Scale) / kZoomFactor);
  c.RecomputeScreenPoints(centre);
}

void ZoomStandard(Construction& c, ViewCentre centre) {
  c.ResetScale();
  c.RecomputeScreenPoints(centre);
}

}  // namespace didod
