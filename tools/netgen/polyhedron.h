#pragma once
#include <map>
#include <utility>
#include <vector>

#include "tools/netgen/vec.h"

namespace didod::netgen {

// A closed polyhedral surface: every face lists its corners counter-clockwise
// as seen from outside.
struct Polyhedron {
  std::vector<Vec3> vertices;
  std::vector<std::vector<int>> faces;
};

// Merges points closer than tol, keeping the first of each cluster.
std::vector<Vec3> MergeClosePoints(const std::vector<Vec3>& points, double tol = 1e-9);

// The convex hull of the points, coplanar triangles merged into one face.
// Points strictly inside the hull are dropped.
Polyhedron ConvexHull(const std::vector<Vec3>& points);

Vec3 FaceNormal(const Polyhedron& p, int face);  // unit, outward
Vec3 FaceCentre(const Polyhedron& p, int face);  // mean of the corners
Vec3 Centroid(const Polyhedron& p);              // mean of the vertices

// Directed edge (a, b) -> face holding it in its corner order.
std::map<std::pair<int, int>, int> DirectedEdges(const Polyhedron& p);

// Every directed edge once, its reverse once: a closed, consistently oriented surface.
bool IsClosed(const Polyhedron& p);
int EdgeCount(const Polyhedron& p);
int EulerCharacteristic(const Polyhedron& p);
// Largest distance of a corner from its face's plane.
double PlanarityError(const Polyhedron& p);
// Largest distance of a vertex outside any face plane (0 for a convex solid).
double ConvexityError(const Polyhedron& p);
// Shortest and longest edge.
std::pair<double, double> EdgeLengthRange(const Polyhedron& p);
// Whether every face has equal sides and equal angles.
bool FacesRegular(const Polyhedron& p, double tol);
// Face count by number of corners.
std::map<int, int> FaceCountsBySize(const Polyhedron& p);
double Volume(const Polyhedron& p);

Polyhedron Transformed(const Polyhedron& p, const Mat3& m, const Vec3& shift = {});
// Whether the vertex set is mapped onto itself by the given map.
bool HasSymmetry(const Polyhedron& p, const Mat3& m, const Vec3& shift = {}, double tol = 1e-7);

}  // namespace didod::netgen
