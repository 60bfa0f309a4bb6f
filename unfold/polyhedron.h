#pragma once
#include <map>
#include <utility>
#include <vector>

#include "geometry/vec.h"

// Solids as 3-D models: vertices, planar faces and which faces meet at which
// edge.
namespace didod::unfold {

using geo::Mat3;
using geo::Vec3;

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

// The face across an edge, and that edge's number in the other face's order.
struct Neighbour {
  int face = -1;
  int edge = -1;  // edge k runs from corner k to corner k + 1
};
// For every face and each of its edges (corner k to k + 1) the neighbour
// across it. The surface must be closed and consistently oriented (IsClosed);
// otherwise throws std::invalid_argument.
std::vector<std::vector<Neighbour>> Adjacency(const Polyhedron& p);

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

}  // namespace didod::unfold
