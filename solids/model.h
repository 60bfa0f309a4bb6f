#pragma once
// The polyhedron model the solids are built in.
#include "tools/netgen/polyhedron.h"

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
using netgen::Centroid;
using netgen::ConvexHull;
using netgen::DirectedEdges;
using netgen::EdgeLengthRange;
using netgen::FaceCentre;
using netgen::FaceNormal;
using netgen::HasSymmetry;
using netgen::Polyhedron;
}  // namespace didod::solids
