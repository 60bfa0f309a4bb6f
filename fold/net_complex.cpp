#include "fold/net_complex.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <set>
#include <unordered_map>

#include "fold/tuning.h"
#include "fold/union_find.h"
#include "model/join_line.h"

namespace didod::foldnet {
namespace {

using geo::Cross;
using geo::Distance;
using geo::Dot;

constexpr double kPi = std::numbers::pi;

// Distance of p from the segment a-b; `param` gets where along it p lies.
double SegmentDistance(Vec2 p, Vec2 a, Vec2 b, double* param = nullptr) {
  const Vec2 d = b - a;
  const double len2 = Dot(d, d);
  double t = len2 > 0 ? Dot(p - a, d) / len2 : 0.0;
  if (param) *param = t;
  t = std::clamp(t, 0.0, 1.0);
  return Distance(p, a + t * d);
}

// Whether two segments cross at a point inside both, by more than tol.
bool ProperCross(Vec2 a, Vec2 b, Vec2 c, Vec2 d, double tol) {
  const double lab = Distance(a, b), lcd = Distance(c, d);
  if (lab <= 0 || lcd <= 0) return false;
  const double o1 = Cross(b - a, c - a) / lab, o2 = Cross(b - a, d - a) / lab;
  const double o3 = Cross(d - c, a - c) / lcd, o4 = Cross(d - c, b - c) / lcd;
  return ((o1 > tol && o2 < -tol) || (o1 < -tol && o2 > tol)) && ((o3 > tol && o4 < -tol) || (o3 < -tol && o4 > tol));
}

bool SegmentsTouch(Vec2 a, Vec2 b, Vec2 c, Vec2 d, double tol) {
  return ProperCross(a, b, c, d, tol) || SegmentDistance(a, c, d) < tol || SegmentDistance(b, c, d) < tol ||
         SegmentDistance(c, a, b) < tol || SegmentDistance(d, a, b) < tol;
}

// Strictly inside (farther than tol from the outline) a polygon.
bool StrictlyInside(Vec2 p, const std::vector<Vec2>& poly, double tol) {
  const size_t n = poly.size();
  bool inside = false;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    if (SegmentDistance(p, poly[j], poly[i]) < tol) return false;
    if ((poly[i].y > p.y) != (poly[j].y > p.y)) {
      const double x = poly[j].x + (p.y - poly[j].y) * (poly[i].x - poly[j].x) / (poly[i].y - poly[j].y);
      if (p.x < x) inside = !inside;
    }
  }
  return inside;
}

std::string FaceName(int number) { return "Fläche " + std::to_string(number); }
std::string TwoFaces(int a, int b) {
  return "Die Flächen " + std::to_string(std::min(a, b)) + " und " + std::to_string(std::max(a, b));
}

struct Box {
  double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
  bool Meets(const Box& o, double margin) const {
    return x0 < o.x1 + margin && o.x0 < x1 + margin && y0 < o.y1 + margin && o.y0 < y1 + margin;
  }
};

// The stages of building the complex, over the state they share. Each stage
// returns false after setting the refusal.
class Builder {
 public:
  Builder(const Construction& c, double tol, NetComplex& out, bool joinsOnly)
      : c_(c), tol_(std::max(tol, 1e-12)), out_(out), joinsOnly_(joinsOnly) {}

  Built Run() {
    out_ = NetComplex{};
    if (!c_.IsConsistent()) return Refuse("Die Konstruktion ist beschädigt.");
    if (c_.FaceCount == 0) return Refuse("Die Konstruktion ist leer.");
    const bool ok = ReadFaces() && MergeCorners() && NoFaceTouchesItself() && NoFacesOverlap() &&
                    FindHinges() && OnePiece() && WalkOutline();
    if (ok) built_.ok = true;
    return built_;
  }

 private:
  Built Refuse(std::string reason) {
    built_.reason = std::move(reason);
    return built_;
  }
  bool Fail(std::string reason) {
    built_.reason = std::move(reason);
    return false;
  }
  Vec2 Pos(int corner) const { return out_.faces[corners_[corner].face].p[corners_[corner].k]; }
  int Id(Corner c) const { return cornerBase_[c.face] + c.k; }

  bool ReadFaces();
  bool ReadFace(int f);
  bool MergeCorners();
  void MergeJoinedCorners(UnionFind& uf);
  bool NoFaceTouchesItself();
  bool NoFacesOverlap();
  bool Overlap(const Face& a, const Face& b) const;
  void FindPartialTouches();
  bool FindHinges();
  bool OnePiece();
  Corner NextAround(Corner c) const;
  void SplitFans();
  bool WalkOutline();

  const Construction& c_;
  const double tol_;
  NetComplex& out_;
  const bool joinsOnly_;
  Built built_;
  std::vector<Corner> corners_;       // every corner of every face
  std::vector<int> cornerBase_;       // per face, its first corner in corners_
  std::set<std::pair<int, int>> joined_;  // corners joined directly, smaller first
  std::vector<Vec2> vertexPos_;
  std::vector<std::vector<Corner>> cornersAt_;   // per sheet vertex
  std::vector<std::pair<int, int>> partialTouch_;  // faces touching along part of an edge
};

bool Builder::ReadFaces() {
  double edgeSum = 0;
  int edgeCount = 0;
  for (int f = 1; f <= c_.FaceCount; ++f) {
    if (!ReadFace(f)) return false;
    const Face& face = out_.faces.back();
    for (int k = 0; k < face.Size(); ++k) edgeSum += Distance(face.p[k], face.p[(k + 1) % face.Size()]);
    edgeCount += face.Size();
  }
  out_.size = edgeSum / edgeCount;
  for (int f = 0; f < static_cast<int>(out_.faces.size()); ++f) {
    cornerBase_.push_back(static_cast<int>(corners_.size()));
    for (int k = 0; k < out_.faces[f].Size(); ++k) corners_.push_back({f, k});
  }
  return true;
}

// One face, counter-clockwise, with its angles.
bool Builder::ReadFace(int f) {
  const FaceRangeResult r = c_.FaceRange(f);
  const int n = c_.FaceSizes[f];
  if (n < 3) return Fail(FaceName(f) + " hat weniger als drei Ecken.");
  std::vector<Vec2> pts;
  for (int i = r.first; i <= r.last; ++i) {
    const NetPoint& p = c_.NetPoints[i];
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return Fail(FaceName(f) + " hat eine ungültige Ecke.");
    pts.push_back({p.x, p.y});
  }
  double area = 0, perimeter = 0;
  for (int i = 0; i < n; ++i) {
    area += Cross(pts[i], pts[(i + 1) % n]) / 2;
    const double len = Distance(pts[i], pts[(i + 1) % n]);
    perimeter += len;
    if (len < tol_) return Fail(FaceName(f) + " hat zwei zusammenfallende Ecken.");
  }
  for (int i = 0; i < n; ++i)
    for (int j = i + 2; j < n; ++j)
      if (!(i == 0 && j == n - 1) && SegmentsTouch(pts[i], pts[(i + 1) % n], pts[j], pts[(j + 1) % n], tol_))
        return Fail(FaceName(f) + " überschneidet sich selbst.");
  if (std::fabs(area) < tol_ * perimeter) return Fail(FaceName(f) + " hat keinen Flächeninhalt.");
  Face face;
  face.number = f;
  face.reversed = area < 0;
  for (int i = 0; i < n; ++i) {
    const int own = face.reversed ? (n - i) % n : i;
    face.original.push_back(own);
    face.p.push_back(pts[own]);
  }
  for (int i = 0; i < n; ++i) {
    const Vec2 here = face.p[i];
    const Vec2 dn = face.p[(i + 1) % n] - here, dp = face.p[(i + n - 1) % n] - here;
    double a = std::atan2(Cross(dn, dp), Dot(dn, dp));
    if (a <= 0) a += 2 * kPi;
    face.angle.push_back(a);
    if (a > kPi + kTuning.angleEps) face.convex = false;
  }
  face.hingeOf.assign(n, -1);
  face.boundaryOf.assign(n, -1);
  out_.faces.push_back(std::move(face));
  return true;
}

// Corners at one place (or joined) form one sheet vertex.
bool Builder::MergeCorners() {
  const int C = static_cast<int>(corners_.size());
  UnionFind uf(C);
  std::unordered_map<std::int64_t, std::vector<int>> grid;
  auto cell = [&](double v) { return static_cast<std::int64_t>(std::floor(v / tol_)); };
  auto key = [](std::int64_t gx, std::int64_t gy) { return gx * 73856093LL ^ gy * 19349663LL; };
  for (int i = 0; i < C; ++i) {
    const Vec2 p = Pos(i);
    const std::int64_t gx = cell(p.x), gy = cell(p.y);
    for (std::int64_t dx = -1; dx <= 1; ++dx)
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
        auto it = grid.find(key(gx + dx, gy + dy));
        if (it == grid.end()) continue;
        for (int j : it->second)
          if (Distance(p, Pos(j)) < tol_) uf.Unite(i, j);
      }
    grid[key(gx, gy)].push_back(i);
  }
  MergeJoinedCorners(uf);
  std::vector<int> vertexOfRoot(C, -1);
  for (int i = 0; i < C; ++i) {
    const int r = uf.Find(i);
    if (vertexOfRoot[r] < 0) {
      vertexOfRoot[r] = static_cast<int>(vertexPos_.size());
      vertexPos_.push_back(Pos(r));
    }
    out_.faces[corners_[i].face].vertex.push_back(vertexOfRoot[r]);
  }
  out_.vertexCount = static_cast<int>(vertexPos_.size());
  cornersAt_.assign(out_.vertexCount, {});
  for (const Corner& corner : corners_) cornersAt_[out_.VertexOf(corner)].push_back(corner);
  return true;
}

// Joined points count as one even if they drifted apart a little.
void Builder::MergeJoinedCorners(UnionFind& uf) {
  for (const std::string& line : c_.JoinList) {
    const auto [a, b] = ParseJoinLine(line);
    if (a < 1 || b < 1 || a > c_.PointCount || b > c_.PointCount) continue;
    const FaceRangeResult ra = c_.FaceOfPoint(a), rb = c_.FaceOfPoint(b);
    if (ra.face == rb.face) continue;
    auto corner = [&](const FaceRangeResult& r, int point) {
      const Face& face = out_.faces[r.face - 1];
      const int own = point - r.first;
      return Id({r.face - 1, face.reversed ? (face.Size() - own) % face.Size() : own});
    };
    const int ia = corner(ra, a), ib = corner(rb, b);
    if (Distance(Pos(ia), Pos(ib)) < kTuning.joinedDrift * tol_) {
      uf.Unite(ia, ib);
      joined_.insert({std::min(ia, ib), std::max(ia, ib)});
    }
  }
}

bool Builder::NoFaceTouchesItself() {
  for (const auto& at : cornersAt_)
    for (size_t i = 0; i < at.size(); ++i)
      for (size_t j = i + 1; j < at.size(); ++j)
        if (at[i].face == at[j].face) return Fail(FaceName(out_.faces[at[i].face].number) + " berührt sich selbst.");
  return true;
}

// Whether two faces overlap: their edges cross, or points just inside an edge
// of one lie inside the other (one face inside the other, or lying on it).
bool Builder::Overlap(const Face& a, const Face& b) const {
  for (int i = 0; i < a.Size(); ++i)
    for (int j = 0; j < b.Size(); ++j)
      if (ProperCross(a.p[i], a.p[(i + 1) % a.Size()], b.p[j], b.p[(j + 1) % b.Size()], tol_)) return true;
  auto probe = [&](const Face& p, const Face& q) {
    for (int i = 0; i < p.Size(); ++i) {
      const Vec2 s = p.p[i], e = p.p[(i + 1) % p.Size()];
      const double len = Distance(s, e);
      const double inset = std::min(kTuning.probeInset * tol_, kTuning.probeInsetOfEdge * len);
      const Vec2 left{-(e.y - s.y) / len, (e.x - s.x) / len};
      if (StrictlyInside((s + e) / 2 + inset * left, q.p, tol_ / 2)) return true;
    }
    return false;
  };
  return probe(a, b) || probe(b, a);
}

bool Builder::NoFacesOverlap() {
  const int F = static_cast<int>(out_.faces.size());
  std::vector<Box> boxes(F);
  for (int f = 0; f < F; ++f)
    for (const Vec2& p : out_.faces[f].p)
      boxes[f] = {std::min(boxes[f].x0, p.x), std::min(boxes[f].y0, p.y), std::max(boxes[f].x1, p.x),
                  std::max(boxes[f].y1, p.y)};
  for (int f = 0; f < F; ++f)
    for (int g = f + 1; g < F; ++g)
      if (boxes[f].Meets(boxes[g], -tol_) && Overlap(out_.faces[f], out_.faces[g]))
        return Fail(TwoFaces(out_.faces[f].number, out_.faces[g].number) + " überdecken sich.");
  FindPartialTouches();
  return true;
}

// A corner lying on the middle of another face's edge: the faces touch along
// part of an edge, which holds nothing together (remembered to explain a net
// that falls apart).
void Builder::FindPartialTouches() {
  for (int f = 0; f < static_cast<int>(out_.faces.size()); ++f) {
    const Face& face = out_.faces[f];
    const int n = face.Size();
    for (int k = 0; k < n; ++k) {
      const Vec2 a = face.p[k], b = face.p[(k + 1) % n];
      const Box box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
      const double len = Distance(a, b);
      for (int v = 0; v < out_.vertexCount; ++v) {
        if (v == face.vertex[k] || v == face.vertex[(k + 1) % n]) continue;
        const Vec2 p = vertexPos_[v];
        if (!box.Meets({p.x, p.y, p.x, p.y}, tol_)) continue;
        double t = 0;
        if (SegmentDistance(p, a, b, &t) < tol_ && t * len > tol_ && (1 - t) * len > tol_)
          for (const Corner& other : cornersAt_[v]) partialTouch_.push_back({f, other.face});
      }
    }
  }
}

// Hinges: an edge from u to w in one face and from w to u in another.
bool Builder::FindHinges() {
  const std::int64_t V = out_.vertexCount;
  std::unordered_map<std::int64_t, Corner> edgesFrom;
  for (const Corner& c : corners_) {
    const auto [it, fresh] = edgesFrom.emplace(out_.VertexOf(c) * V + out_.VertexOf(out_.Next(c)), c);
    if (!fresh)
      return Fail(TwoFaces(out_.faces[it->second.face].number, out_.faces[c.face].number) + " überdecken sich.");
  }
  auto joined = [&](Corner x, Corner y) { return joined_.count({std::min(Id(x), Id(y)), std::max(Id(x), Id(y))}) > 0; };
  for (const Corner& c : corners_) {
    Face& face = out_.faces[c.face];
    if (face.hingeOf[c.k] >= 0) continue;
    const auto it = edgesFrom.find(out_.VertexOf(out_.Next(c)) * V + out_.VertexOf(c));
    if (it == edgesFrom.end()) continue;
    const Corner other = it->second;
    // Cut apart, only edges whose two ends were joined one to one.
    if (joinsOnly_ && !(joined(c, out_.Next(other)) && joined(out_.Next(c), other))) continue;
    const int h = static_cast<int>(out_.hinges.size());
    out_.hinges.push_back({c, other});
    face.hingeOf[c.k] = h;
    out_.faces[other.face].hingeOf[other.k] = h;
  }
  return true;
}

bool Builder::OnePiece() {
  const int F = static_cast<int>(out_.faces.size());
  UnionFind pieces(F);
  int pieceCount = F;
  for (const HingeRec& h : out_.hinges)
    if (pieces.Unite(h.a.face, h.b.face)) --pieceCount;
  if (pieceCount == 1) {
    SplitFans();
    return true;
  }
  auto number = [&](int f) { return out_.faces[f].number; };
  for (const auto& [f, g] : partialTouch_)
    if (pieces.Find(f) != pieces.Find(g))
      return Fail(TwoFaces(number(f), number(g)) + " berühren sich nur an einem Teil einer Kante.");
  for (const auto& at : cornersAt_)
    for (size_t i = 1; i < at.size(); ++i)
      if (pieces.Find(at[i].face) != pieces.Find(at[0].face))
        return Fail(TwoFaces(number(at[0].face), number(at[i].face)) + " berühren sich nur in einer Ecke.");
  return Fail("Das Netz zerfällt in " + std::to_string(pieceCount) +
              " Teile, die nicht an ganzen Kanten zusammenhängen.");
}

// The corner of the face across the outgoing edge of corner c, at the same
// vertex; face -1 when that edge is free.
Corner Builder::NextAround(Corner c) const {
  const int h = out_.faces[c.face].hingeOf[c.k];
  if (h < 0) return {-1, -1};
  const HingeRec& hr = out_.hinges[h];
  return out_.Next(hr.a == c ? hr.b : hr.a);
}

// Faces of one piece that meet at a point without a hinge there touch only by
// chance: the point is taken apart, one sheet vertex per fan of faces.
void Builder::SplitFans() {
  const int V = out_.vertexCount;
  for (int v = 0; v < V; ++v) {
    const std::vector<Corner> at = cornersAt_[v];
    std::vector<bool> done(at.size(), false);
    std::vector<std::vector<Corner>> fans;
    auto walk = [&](Corner c) {
      std::vector<Corner> fan;
      for (auto i = std::find(at.begin(), at.end(), c); i != at.end() && !done[i - at.begin()];
           i = std::find(at.begin(), at.end(), c)) {
        done[i - at.begin()] = true;
        fan.push_back(c);
        c = NextAround(c);
      }
      fans.push_back(std::move(fan));
    };
    for (const Corner& c : at) {
      const Face& face = out_.faces[c.face];
      if (face.hingeOf[(c.k + face.Size() - 1) % face.Size()] < 0) walk(c);  // starts at a free edge
    }
    const bool outline = !fans.empty();
    for (size_t i = 0; i < at.size(); ++i)
      if (!done[i]) walk(at[i]);
    if (!outline) out_.innerVertices.push_back(v);
    for (size_t k = 1; k < fans.size(); ++k) {
      const int fresh = out_.vertexCount++;
      for (const Corner& c : fans[k]) out_.faces[c.face].vertex[c.k] = fresh;
    }
  }
}

// The outline: from each free edge to the next one around its end.
bool Builder::WalkOutline() {
  std::vector<Corner> freeEdges;
  for (const Corner& c : corners_)
    if (out_.faces[c.face].hingeOf[c.k] < 0) freeEdges.push_back(c);
  std::vector<BoundaryPoint> endPoints;
  Corner e = freeEdges[0];
  do {
    Face& face = out_.faces[e.face];
    face.boundaryOf[e.k] = static_cast<int>(out_.edges.size());
    out_.edges.push_back({e, Distance(face.p[e.k], face.p[(e.k + 1) % face.Size()])});
    BoundaryPoint bp;
    Corner c = out_.Next(e);
    bp.vertex = out_.VertexOf(c);
    for (;;) {
      const double a = out_.faces[c.face].angle[c.k];
      bp.angle += a;
      bp.maxAngle = std::max(bp.maxAngle, a);
      ++bp.corners;
      const Corner next = NextAround(c);
      if (next.face < 0) break;
      c = next;
    }
    endPoints.push_back(bp);
    e = c;  // the corner whose outgoing edge is free
  } while (!(e == out_.edges[0].edge) && out_.edges.size() <= freeEdges.size());
  if (out_.edges.size() != freeEdges.size()) {
    built_.hole = true;
    return Fail("Das Netz hat ein Loch: es wird nicht von einem einzigen Umriss begrenzt.");
  }
  // Point i is where edge i starts, i.e. where edge i - 1 ends.
  const int n = static_cast<int>(out_.edges.size());
  out_.points.resize(n);
  for (int i = 0; i < n; ++i) out_.points[(i + 1) % n] = endPoints[i];
  return true;
}

}  // namespace

EdgeRef NetComplex::Ref(Corner c) const {
  const Face& f = faces[c.face];
  // The counter-clockwise edge k -> k + 1 is the face's own edge from the
  // smaller-numbered end when the face is stored clockwise.
  const int own = f.reversed ? f.original[(c.k + 1) % f.Size()] : f.original[c.k];
  return {f.number, own};
}

Built BuildNetComplex(const Construction& c, double tolerance, NetComplex& out, bool joinsOnly) {
  return Builder(c, tolerance, out, joinsOnly).Run();
}

}  // namespace didod::foldnet
