#pragma once
// The solids are built in the unfolder's polyhedron model.
#include "unfold/polyhedron.h"

namespace didod::solids {
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
using unfold::Centroid;
using unfold::ConvexHull;
using unfold::DirectedEdges;
using unfold::EdgeLengthRange;
using unfold::FaceCentre;
using unfold::FaceNormal;
using unfold::HasSymmetry;
using unfold::Polyhedron;
}  // namespace didod::solids
