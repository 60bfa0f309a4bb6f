#include "fold/net_complex.h"
#include "fold/union_find.h"
#include "model/join_line.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <set>
#include <unordered_map>

namespace didod::foldnet {
namespace {

constexpr double kPi = std::numbers::pi;

Vec2 Sub(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
double Dist(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

double SegmentDistance(Vec2 p, Vec2 a, Vec2 b, double* param = nullptr) {
  const Vec2 d = Sub(b, a);
  const double len2 = d.x * d.x + d.y * d.y;
  double t = len2 > 0 ? ((p.x - a.x) * d.x + (p.y - a.y) * d.y) / len2 : 0.0;
  if (param) *param = t;
  t = std::clamp(t, 0.0, 1.0);
  return Dist(p, {a.x + t * d.x, a.y + t * d.y});
}

// Whether two segments cross at a point inside both, by more than tol.
bool ProperCross(Vec2 a, Vec2 b, Vec2 c, Vec2 d, double tol) {
  const double lab = Dist(a, b), lcd = Dist(c, d);
  if (lab <= 0 || lcd <= 0) return false;
  const double o1 = Cross(Sub(b, a), Sub(c, a)) / lab;
  const double o2 = Cross(Sub(b, a), Sub(d, a)) / lab;
  const double o3 = Cross(Sub(d, c), Sub(a, c)) / lcd;
  const double o4 = Cross(Sub(d, c), Sub(b, c)) / lcd;
  return ((o1 > tol && o2 < -tol) || (o1 < -tol && o2 > tol)) &&
         ((o3 > tol && o4 < -tol) || (o3 < -tol && o4 > tol));
}

bool SegmentsTouch(Vec2 a, Vec2 b, Vec2 c, Vec2 d, double tol) {
  if (ProperCross(a, b, c, d, tol)) return true;
  return SegmentDistance(a, c, d) < tol || SegmentDistance(b, c, d) < tol ||
         SegmentDistance(c, a, b) < tol || SegmentDistance(d, a, b) < tol;
}

// Strictly inside (farther than tol from the outline) a counter-clockwise polygon.
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

}  // namespace

EdgeRef NetComplex::Ref(Corner c) const {
  const Face& f = faces[c.face];
  const int n = static_cast<int>(f.p.size());
  // The counter-clockwise edge k -> k + 1 is the face's own edge from the
  // smaller-numbered end when the face is stored clockwise.
  const int own = f.reversed ? f.original[(c.k + 1) % n] : f.original[c.k];
  return {f.number, own};
}

bool BuildNetComplex(const Construction& c, double tol, NetComplex& out, std::string& reason, bool joinsOnly) {
  out = NetComplex{};
  if (!c.IsConsistent()) {
    reason = "Die Konstruktion ist beschädigt.";
    return false;
  }
  if (c.FaceCount == 0) {
    reason = "Die Konstruktion ist leer.";
    return false;
  }
  tol = std::max(tol, 1e-12);

  // Faces, counter-clockwise, with their angles.
  double edgeSum = 0;
  int edgeCount = 0;
  for (int f = 1; f <= c.FaceCount; ++f) {
    const FaceRangeResult r = c.FaceRange(f);
    const int n = c.FaceSizes[f];
    if (n < 3) {
      reason = FaceName(f) + " hat weniger als drei Ecken.";
      return false;
    }
    Face face;
    face.number = f;
    std::vector<Vec2> pts;
    for (int i = r.first; i <= r.last; ++i) {
      const NetPoint& p = c.NetPoints[i];
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
        reason = FaceName(f) + " hat eine ungültige Ecke.";
        return false;
      }
      pts.push_back({p.x, p.y});
    }
    double area = 0, perimeter = 0;
    for (int i = 0; i < n; ++i) {
      area += Cross(pts[i], pts[(i + 1) % n]);
      const double len = Dist(pts[i], pts[(i + 1) % n]);
      perimeter += len;
      if (len < tol) {
        reason = FaceName(f) + " hat zwei zusammenfallende Ecken.";
        return false;
      }
    }
    for (int i = 0; i < n; ++i)
      for (int j = i + 2; j < n; ++j) {
        if (i == 0 && j == n - 1) continue;
        if (SegmentsTouch(pts[i], pts[(i + 1) % n], pts[j], pts[(j + 1) % n], tol)) {
          reason = FaceName(f) + " überschneidet sich selbst.";
          return false;
        }
      }
    area /= 2;
    if (std::fabs(area) < tol * perimeter) {
      reason = FaceName(f) + " hat keinen Flächeninhalt.";
      return false;
    }
    face.reversed = area < 0;
    for (int i = 0; i < n; ++i) {
      const int own = face.reversed ? (n - i) % n : i;
      face.original.push_back(own);
      face.p.push_back(pts[own]);
    }
    for (int i = 0; i < n; ++i) {
      const Vec2 prev = face.p[(i + n - 1) % n], here = face.p[i], next = face.p[(i + 1) % n];
      const Vec2 dn = Sub(next, here), dp = Sub(prev, here);
      double a = std::atan2(Cross(dn, dp), dn.x * dp.x + dn.y * dp.y);
      if (a <= 0) a += 2 * kPi;
      face.angle.push_back(a);
      if (a > kPi + 1e-9) face.convex = false;
      edgeSum += Dist(here, next);
      ++edgeCount;
    }
    face.hingeOf.assign(n, -1);
    face.boundaryOf.assign(n, -1);
    out.faces.push_back(std::move(face));
  }
  out.size = edgeSum / edgeCount;
  const int F = static_cast<int>(out.faces.size());

  // Corners at one place (or joined) form one sheet vertex.
  std::vector<Corner> corners;
  std::vector<int> cornerBase(F);
  for (int f = 0; f < F; ++f) {
    cornerBase[f] = static_cast<int>(corners.size());
    for (int k = 0; k < static_cast<int>(out.faces[f].p.size()); ++k) corners.push_back({f, k});
  }
  const int C = static_cast<int>(corners.size());
  auto pos = [&](int i) { return out.faces[corners[i].face].p[corners[i].k]; };
  UnionFind uf(C);
  std::set<std::pair<int, int>> joined;  // corners joined directly, smaller first
  {
    std::unordered_map<std::int64_t, std::vector<int>> grid;
    auto cell = [&](double v) { return static_cast<std::int64_t>(std::floor(v / tol)); };
    auto key = [](std::int64_t gx, std::int64_t gy) { return gx * 73856093LL ^ gy * 19349663LL; };
    for (int i = 0; i < C; ++i) {
      const Vec2 p = pos(i);
      const std::int64_t gx = cell(p.x), gy = cell(p.y);
      for (std::int64_t dx = -1; dx <= 1; ++dx)
        for (std::int64_t dy = -1; dy <= 1; ++dy) {
          auto it = grid.find(key(gx + dx, gy + dy));
          if (it == grid.end()) continue;
          for (int j : it->second)
            if (Dist(p, pos(j)) < tol) uf.Unite(i, j);
        }
      grid[key(gx, gy)].push_back(i);
    }
    // Joined points count as one even if they drifted apart a little.
    for (const std::string& line : c.JoinList) {
      const auto [a, b] = ParseJoinLine(line);
      if (a < 1 || b < 1 || a > c.PointCount || b > c.PointCount) continue;
      const FaceRangeResult ra = c.FaceOfPoint(a), rb = c.FaceOfPoint(b);
      if (ra.face == rb.face) continue;
      const Face& fa = out.faces[ra.face - 1];
      const Face& fb = out.faces[rb.face - 1];
      const int na = static_cast<int>(fa.p.size()), nb = static_cast<int>(fb.p.size());
      const int ownA = a - ra.first, ownB = b - rb.first;
      const int ka = fa.reversed ? (na - ownA) % na : ownA;
      const int kb = fb.reversed ? (nb - ownB) % nb : ownB;
      const int ia = cornerBase[ra.face - 1] + ka, ib = cornerBase[rb.face - 1] + kb;
      if (Dist(pos(ia), pos(ib)) < 100 * tol) {
        uf.Unite(ia, ib);
        joined.insert({std::min(ia, ib), std::max(ia, ib)});
      }
    }
  }
  std::vector<int> vertexOfRoot(C, -1);
  std::vector<Vec2> vertexPos;
  for (int i = 0; i < C; ++i) {
    const int r = uf.Find(i);
    if (vertexOfRoot[r] < 0) {
      vertexOfRoot[r] = static_cast<int>(vertexPos.size());
      vertexPos.push_back(pos(r));
    }
    out.faces[corners[i].face].vertex.push_back(vertexOfRoot[r]);
  }
  out.vertexCount = static_cast<int>(vertexPos.size());
  const int V = out.vertexCount;
  std::vector<std::vector<Corner>> cornersAt(V);
  for (int f = 0; f < F; ++f) {
    const Face& face = out.faces[f];
    for (int k = 0; k < static_cast<int>(face.p.size()); ++k) {
      for (const Corner& other : cornersAt[face.vertex[k]])
        if (other.face == f) {
          reason = FaceName(face.number) + " berührt sich selbst.";
          return false;
        }
      cornersAt[face.vertex[k]].push_back({f, k});
    }
  }

  // Overlapping faces.
  struct Box {
    double x0, y0, x1, y1;
  };
  std::vector<Box> boxes(F);
  for (int f = 0; f < F; ++f) {
    Box b{1e300, 1e300, -1e300, -1e300};
    for (const Vec2& p : out.faces[f].p) {
      b.x0 = std::min(b.x0, p.x);
      b.y0 = std::min(b.y0, p.y);
      b.x1 = std::max(b.x1, p.x);
      b.y1 = std::max(b.y1, p.y);
    }
    boxes[f] = b;
  }
  auto boxesMeet = [&](int f, int g, double margin) {
    return boxes[f].x0 < boxes[g].x1 + margin && boxes[g].x0 < boxes[f].x1 + margin &&
           boxes[f].y0 < boxes[g].y1 + margin && boxes[g].y0 < boxes[f].y1 + margin;
  };
  auto overlapMessage = [](int a, int b) {
    return "Die Flächen " + std::to_string(a) + " und " + std::to_string(b) + " überdecken sich.";
  };
  for (int f = 0; f < F; ++f)
    for (int g = f + 1; g < F; ++g) {
      if (!boxesMeet(f, g, -tol)) continue;
      const Face& A = out.faces[f];
      const Face& B = out.faces[g];
      const int na = static_cast<int>(A.p.size()), nb = static_cast<int>(B.p.size());
      bool overlap = false;
      for (int i = 0; i < na && !overlap; ++i)
        for (int j = 0; j < nb && !overlap; ++j)
          overlap = ProperCross(A.p[i], A.p[(i + 1) % na], B.p[j], B.p[(j + 1) % nb], tol);
      // One face inside the other, or lying on it edge to edge: points just
      // inside an edge of one face lie inside the other.
      auto probe = [&](const Face& P, const Face& Q) {
        const int n = static_cast<int>(P.p.size());
        for (int i = 0; i < n; ++i) {
          const Vec2 a = P.p[i], b = P.p[(i + 1) % n];
          const double len = Dist(a, b);
          const double off = std::min(10 * tol, 0.01 * len);
          const Vec2 m{(a.x + b.x) / 2 - (b.y - a.y) / len * off, (a.y + b.y) / 2 + (b.x - a.x) / len * off};
          if (StrictlyInside(m, Q.p, tol / 2)) return true;
        }
        return false;
      };
      if (!overlap) overlap = probe(A, B) || probe(B, A);
      if (overlap) {
        reason = overlapMessage(A.number, B.number);
        return false;
      }
    }

  // A corner lying on the middle of another face's edge: the faces touch
  // along part of an edge, which holds nothing together (remembered to
  // explain a net that falls apart).
  std::vector<std::pair<int, int>> partialTouch;
  for (int f = 0; f < F; ++f) {
    const Face& A = out.faces[f];
    const int n = static_cast<int>(A.p.size());
    for (int k = 0; k < n; ++k) {
      const Vec2 a = A.p[k], b = A.p[(k + 1) % n];
      const double len = Dist(a, b);
      for (int v = 0; v < V; ++v) {
        if (v == A.vertex[k] || v == A.vertex[(k + 1) % n]) continue;
        const Vec2 p = vertexPos[v];
        if (p.x < std::min(a.x, b.x) - tol || p.x > std::max(a.x, b.x) + tol ||
            p.y < std::min(a.y, b.y) - tol || p.y > std::max(a.y, b.y) + tol)
          continue;
        double t = 0;
        if (SegmentDistance(p, a, b, &t) < tol && t * len > tol && (1 - t) * len > tol) {
          for (const Corner& other : cornersAt[v]) partialTouch.push_back({f, other.face});
        }
      }
    }
  }

  // Hinges: an edge from u to w in one face and from w to u in another.
  std::unordered_map<std::int64_t, std::vector<Corner>> edgesFrom;
  auto edgeKey = [&](int u, int w) { return static_cast<std::int64_t>(u) * V + w; };
  for (int f = 0; f < F; ++f) {
    const Face& face = out.faces[f];
    const int n = static_cast<int>(face.p.size());
    for (int k = 0; k < n; ++k) edgesFrom[edgeKey(face.vertex[k], face.vertex[(k + 1) % n])].push_back({f, k});
  }
  for (auto& [key, list] : edgesFrom) {
    if (list.size() > 1) {
      reason = overlapMessage(out.faces[list[0].face].number, out.faces[list[1].face].number);
      return false;
    }
  }
  for (int f = 0; f < F; ++f) {
    Face& face = out.faces[f];
    const int n = static_cast<int>(face.p.size());
    for (int k = 0; k < n; ++k) {
      if (face.hingeOf[k] >= 0) continue;
      auto it = edgesFrom.find(edgeKey(face.vertex[(k + 1) % n], face.vertex[k]));
      if (it == edgesFrom.end()) continue;
      const Corner other = it->second[0];
      if (joinsOnly) {
        // Only edges whose two ends were joined one to one.
        const int m = static_cast<int>(out.faces[other.face].p.size());
        auto id = [&](int face, int k) { return cornerBase[face] + k; };
        auto isJoined = [&](int x, int y) { return joined.count({std::min(x, y), std::max(x, y)}) > 0; };
        if (!isJoined(id(f, k), id(other.face, (other.k + 1) % m)) ||
            !isJoined(id(f, (k + 1) % n), id(other.face, other.k)))
          continue;
      }
      const int h = static_cast<int>(out.hinges.size());
      out.hinges.push_back({{f, k}, other});
      face.hingeOf[k] = h;
      out.faces[other.face].hingeOf[other.k] = h;
    }
  }

  // One piece?
  UnionFind pieces(F);
  int pieceCount = F;
  for (const HingeRec& h : out.hinges)
    if (pieces.Unite(h.a.face, h.b.face)) --pieceCount;
  if (pieceCount > 1) {
    for (const auto& [f, g] : partialTouch)
      if (pieces.Find(f) != pieces.Find(g)) {
        reason = "Die Flächen " + std::to_string(out.faces[std::min(f, g)].number) + " und " +
                 std::to_string(out.faces[std::max(f, g)].number) +
                 " berühren sich nur an einem Teil einer Kante.";
        return false;
      }
    for (int v = 0; v < V; ++v)
      for (size_t i = 1; i < cornersAt[v].size(); ++i)
        if (pieces.Find(cornersAt[v][i].face) != pieces.Find(cornersAt[v][0].face)) {
          reason = "Die Flächen " + std::to_string(out.faces[cornersAt[v][0].face].number) + " und " +
                   std::to_string(out.faces[cornersAt[v][i].face].number) +
                   " berühren sich nur in einer Ecke.";
          return false;
        }
    reason = "Das Netz zerfällt in " + std::to_string(pieceCount) +
             " Teile, die nicht an ganzen Kanten zusammenhängen.";
    return false;
  }

  // Around every sheet vertex the faces form fans through the hinges.
  auto nextAround = [&](Corner c) -> Corner {
    // The face across the outgoing edge of corner c, at the same vertex.
    const Face& face = out.faces[c.face];
    const int h = face.hingeOf[c.k];
    if (h < 0) return {-1, -1};
    const HingeRec& hr = out.hinges[h];
    const Corner other = (hr.a.face == c.face && hr.a.k == c.k) ? hr.b : hr.a;
    const int n = static_cast<int>(out.faces[other.face].p.size());
    return {other.face, (other.k + 1) % n};
  };
  auto incomingFree = [&](Corner c) {
    const int n = static_cast<int>(out.faces[c.face].p.size());
    return out.faces[c.face].hingeOf[(c.k + n - 1) % n] < 0;
  };
  // Faces of one piece that meet at a point without a hinge there touch
  // only by chance: the point is taken apart, one sheet vertex per fan.
  for (int v = 0; v < V; ++v) {
    const std::vector<Corner> at = cornersAt[v];
    std::vector<bool> done(at.size(), false);
    auto indexOf = [&](Corner c) {
      for (size_t i = 0; i < at.size(); ++i)
        if (at[i].face == c.face && at[i].k == c.k) return static_cast<int>(i);
      return -1;
    };
    std::vector<std::vector<Corner>> fans;
    auto walk = [&](Corner first) {
      std::vector<Corner> fan;
      Corner c = first;
      while (c.face >= 0) {
        const int i = indexOf(c);
        if (i < 0 || done[i]) break;
        done[i] = true;
        fan.push_back(c);
        c = nextAround(c);
      }
      fans.push_back(std::move(fan));
    };
    for (const Corner& c : at)
      if (incomingFree(c)) walk(c);
    const bool outline = !fans.empty();
    for (size_t i = 0; i < at.size(); ++i)
      if (!done[i]) walk(at[i]);
    if (!outline) out.innerVertices.push_back(v);
    for (size_t k = 1; k < fans.size(); ++k) {
      const int fresh = out.vertexCount++;
      cornersAt.push_back(fans[k]);
      for (const Corner& c : fans[k]) out.faces[c.face].vertex[c.k] = fresh;
    }
    if (fans.size() > 1) cornersAt[v] = fans[0];
  }

  // The outline: from each free edge to the next one around its end.
  std::vector<Corner> freeEdges;
  for (int f = 0; f < F; ++f)
    for (int k = 0; k < static_cast<int>(out.faces[f].p.size()); ++k)
      if (out.faces[f].hingeOf[k] < 0) freeEdges.push_back({f, k});
  Corner e = freeEdges[0];
  std::vector<BoundaryPoint> endPoints;
  do {
    Face& face = out.faces[e.face];
    const int n = static_cast<int>(face.p.size());
    face.boundaryOf[e.k] = static_cast<int>(out.edges.size());
    out.edges.push_back({e, Dist(face.p[e.k], face.p[(e.k + 1) % n])});
    BoundaryPoint bp;
    Corner c{e.face, (e.k + 1) % n};
    bp.vertex = face.vertex[c.k];
    for (;;) {
      const double a = out.faces[c.face].angle[c.k];
      bp.angle += a;
      bp.maxAngle = std::max(bp.maxAngle, a);
      ++bp.corners;
      bp.fan.push_back(c);
      const Corner next = nextAround(c);
      if (next.face < 0) break;
      c = next;
    }
    endPoints.push_back(std::move(bp));
    e = c;  // the corner whose outgoing edge is free
  } while (!(e.face == out.edges[0].edge.face && e.k == out.edges[0].edge.k) &&
           out.edges.size() <= freeEdges.size());
  if (out.edges.size() != freeEdges.size()) {
    reason = "Das Netz hat ein Loch: es wird nicht von einem einzigen Umriss begrenzt.";
    return false;
  }
  // Point i is where edge i starts, i.e. where edge i - 1 ends.
  const int n = static_cast<int>(out.edges.size());
  out.points.resize(n);
  for (int i = 0; i < n; ++i) out.points[(i + 1) % n] = std::move(endPoints[i]);
  return true;
}

}  // namespace didod::foldnet
