#pragma once
// The generator speaks the core's vocabulary: the shared vectors and the
// unfolder's solids and nets.
#include "geometry/vec.h"
#include "unfold/polyhedron.h"
#include "unfold/unfold.h"

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

using unfold::Centroid;
using unfold::ConvexHull;
using unfold::ConvexHull2D;
using unfold::ConvexityError;
using unfold::DirectedEdges;
using unfold::EdgeCount;
using unfold::EdgeLengthRange;
using unfold::EulerCharacteristic;
using unfold::FaceCentre;
using unfold::FaceCountsBySize;
using unfold::FaceNormal;
using unfold::FacesRegular;
using unfold::FitNet;
using unfold::HasSymmetry;
using unfold::IsClosed;
using unfold::MergeClosePoints;
using unfold::Net;
using unfold::NetFace;
using unfold::NetScore;
using unfold::OverlapArea;
using unfold::PlanarityError;
using unfold::PolygonArea;
using unfold::Polyhedron;
using unfold::Reroot;
using unfold::SheetBox;
using unfold::Transformed;
using unfold::Unfold;
using unfold::UnfoldByBacktracking;
using unfold::Volume;
}  // namespace didod::netgen
