#pragma once
#include "geometry/vec.h"

namespace didod::netgen {
using geo::Cross;
using geo::Distance;
using geo::Dot;
using geo::Mat3;
using geo::Norm;
using geo::Normalized;
using geo::Reflection;
using geo::Rotation;
using geo::Vec2;
using geo::Vec3;
}  // namespace didod::netgen
