#pragma once
// The net as a flat complex: faces in counter-clockwise order, the sheet's
// vertices (corners at one place), the hinges and the boundary walk.
#include <string>
#include <vector>

#include "fold/fold.h"
#include "geometry/vec.h"

namespace didod::foldnet {

using geo::Vec2;

struct Face {
  int number = 0;               // 1-based face number in the construction
  std::vector<int> original;    // counter-clockwise corner k -> the face's own corner index
  std::vector<Vec2> p;          // corners, counter-clockwise
  std::vector<double> angle;    // inner angle at each corner
  std::vector<int> vertex;      // sheet vertex of each corner
  std::vector<int> hingeOf;     // edge k (corner k -> k+1): hinge index or -1 when free
  std::vector<int> boundaryOf;  // edge k: position on the boundary walk or -1
  bool convex = true;
  bool reversed = false;        // stored clockwise in the construction
  int Size() const { return static_cast<int>(p.size()); }
};

struct Corner {
  int face = 0;  // index into faces (0-based)
  int k = 0;     // counter-clockwise corner
  bool operator==(const Corner&) const = default;
};

struct HingeRec {
  Corner a;  // edge a.k -> a.k + 1 of face a.face
  Corner b;  // the same edge seen from the other face
};

// A point of the outline between two free edges.
struct BoundaryPoint {
  double angle = 0.0;     // sum of the face angles gathered there
  double maxAngle = 0.0;  // largest single face angle
  int corners = 0;
  int vertex = 0;         // sheet vertex
};

struct BoundaryEdge {
  Corner edge;  // face edge edge.k -> edge.k + 1
  double length = 0.0;
};

struct NetComplex {
  std::vector<Face> faces;
  int vertexCount = 0;
  std::vector<HingeRec> hinges;
  // Edge i of the outline runs from point i to point i + 1 (mod n).
  std::vector<BoundaryEdge> edges;
  std::vector<BoundaryPoint> points;
  // Sheet vertices not on the outline (surrounded by faces).
  std::vector<int> innerVertices;
  double size = 1.0;  // mean edge length, the scale of every tolerance

  EdgeRef Ref(Corner c) const;
  // The next corner of the same face.
  Corner Next(Corner c) const { return {c.face, (c.k + 1) % faces[c.face].Size()}; }
  int VertexOf(Corner c) const { return faces[c.face].vertex[c.k]; }
};

// Whether the net could be built, and if not why (German, for the user).
struct Built {
  bool ok = false;
  bool hole = false;  // refused because faces lying edge to edge enclose a hole
  std::string reason;
  explicit operator bool() const { return ok; }
};

// Builds the complex. Faces lying edge to edge form a hinge there; with
// joinsOnly only where both ends of the edge were joined to each other.
Built BuildNetComplex(const Construction& c, double tolerance, NetComplex& out, bool joinsOnly = false);

}  // namespace didod::foldnet
