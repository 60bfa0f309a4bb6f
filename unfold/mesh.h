#pragma once
// From the faces a 3-D file lists to a solid that can be unfolded: corners
// welded, neighbouring faces in one plane merged into one polygon, and every
// property the unfolder relies on checked.
#include <stdexcept>
#include <string>
#include <vector>

#include "unfold/polyhedron.h"

namespace didod::unfold {

// The faces of a file: corners by index into the vertex list, in the file's order.
struct Soup {
  std::vector<Vec3> vertices;
  std::vector<std::vector<int>> faces;
};

// A file that holds no solid the program can take; the message is for the user.
class ImportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The tuning numbers of the import, lengths relative to the solid's size (the
// diagonal of its bounding box).
struct ImportTolerances {
  // Corners closer than this are one vertex. Coordinates written with seven
  // significant digits (ASCII STL) or as single-precision numbers (binary STL)
  // are off by a few ten-millionths, well below it; distinct corners of any
  // solid that fits the construction lie far further apart.
  double weld = 1e-5;
  // Neighbouring faces whose corners lie this close to one plane are one face
  // (a triangulated square becomes one square again). It is also how far a
  // polygon's corners may lie from its plane.
  double plane = 1e-5;
  // More faces or vertices than this are refused before any work: no solid of
  // at most 199 faces needs that many triangles.
  long maxInputFaces = 200000;
  long maxInputVertices = 600000;
};

// The solid the faces describe, every face counter-clockwise seen from
// outside, every corner shared by at least three faces. Throws ImportError
// naming `name` (the file's name) and what is wrong: no faces, coordinates
// that are no numbers, faces without area, edges with one face or more than
// two, faces not consistently oriented, several separate parts, corners where
// separate fans of faces meet, faces that are not plane or not simple, or
// more faces or points than the construction holds.
Polyhedron SolidFromSoup(const Soup& soup, const std::string& name, const ImportTolerances& tolerances = {});

// The faces' corners as one list of vertices with shared corners welded, for
// writing a solid given face by face (points closer than `weld` times its
// size are one).
Soup WeldFaces(const std::vector<std::vector<Vec3>>& faces, double weld = 1e-9);

}  // namespace didod::unfold
