#include "craft/tabs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <optional>
#include <set>
#include <utility>

namespace didod::craft {

namespace {

constexpr double kDegree = M_PI / 180.0;

// The numbers that shape a tab, and why they have their values.
struct TabTuning {
  // The classic tab ends at 45°. Ends nearer the edge's line are tried when a
  // tab does not clear: they keep away from the paper round its corners and
  // shorten the tip.
  std::array<double, 3> endAngles{45.0 * kDegree, 30.0 * kDegree, 20.0 * kDegree};
  // Heights tried, as parts of the full height, before a tab is left out.
  std::array<double, 6> heightFactors{1.0, 0.8, 0.6, 0.45, 0.3, 0.2};
  // Steeper ends make slivers that tear when cut.
  double minEndAngle = 10.0 * kDegree;
  // Folded, an end stays this far inside the partner face's corner; on the
  // sheet, this far from a neighbouring edge that has no tab of its own.
  double cornerMargin = 2.0 * kDegree;
  // A tab is at most this part of its edge high, so it looks like a tab ...
  double heightPerEdge = 0.3;
  // ... and its tip keeps 15 % of the edge, so its ends never cross.
  double tipShare = 0.85;
  // A corner with less free paper than this takes no tab end: the tab starts
  // further along its edge.
  double tightCorner = 20.0 * kDegree;
  // Free paper narrower than this takes no tab at all near the corner.
  double minRoom = 1.0 * kDegree;
  // Below this many mm² two shapes only touch.
  double overlapArea = 1e-3;
};
constexpr TabTuning kTuning;

using EdgeKey = std::pair<int, int>;

Box BoxOf(const std::vector<Vec2>& points) {
  Box box;
  for (const Vec2& p : points) box.Add(p);
  return box;
}

std::vector<Vec2> Shape(const GlueTab& tab) { return {tab.corners.begin(), tab.corners.end()}; }

double Area(const GlueTab& tab) { return std::fabs(SignedArea(Shape(tab))); }

// Whether the tab keeps the clearance from the polygon `other`. Where the other
// has a corner at an end of the tab's root the two outlines meet; there the far
// end of each line leaving that corner keeps the clearance from the other line.
// Edge `ownEdge` of the polygon carries the tab: only the tip keeps clear of it.
bool Clears(const GlueTab& tab, const std::vector<Vec2>& other, double tolerance, int ownEdge = -1) {
  const double gap = kTabClearance - 1e-9;
  const auto& t = tab.corners;
  const std::array<std::array<Vec2, 2>, 3> cuts{{{t[1], t[2]}, {t[2], t[3]}, {t[3], t[0]}}};
  const size_t n = other.size();
  const size_t edges = n == 2 ? 1 : n;
  for (size_t k = 0; k < edges; ++k) {
    const Vec2 e0 = other[k];
    const Vec2 e1 = other[(k + 1) % n];
    if (static_cast<int>(k) == ownEdge) {
      if (SegmentDistance(t[2], t[3], e0, e1) < gap) return false;
      continue;
    }
    for (const auto& s : cuts) {
      std::optional<std::pair<Vec2, Vec2>> far;  // far ends of the cut and of the edge
      for (int i = 0; i < 2 && !far; ++i) {
        const Vec2 c = s[i];
        if (!(c == t[0] || c == t[1])) continue;
        if (Distance(c, e0) <= tolerance) far = {{s[1 - i], e1}};
        else if (Distance(c, e1) <= tolerance) far = {{s[1 - i], e0}};
      }
      if (far) {
        if (PointSegmentDistance(far->first, e0, e1) < gap || PointSegmentDistance(far->second, s[0], s[1]) < gap)
          return false;
      } else if (SegmentDistance(s[0], s[1], e0, e1) < gap) {
        return false;
      }
    }
  }
  return true;
}

class TabPlacer {
 public:
  explicit TabPlacer(const TabRequest& r)
      : faces_(*r.faces), tolerance_(r.tolerance), bothSides_(r.mode == TabMode::BothSides) {
    for (const EdgePair& pair : *r.hinges) {
      hinges_.insert({pair.a.face, pair.a.corner});
      hinges_.insert({pair.b.face, pair.b.corner});
    }
    for (const auto& face : faces_) faceBoxes_.push_back(BoxOf(face));
  }

  // The largest tab that clears on the edge: full height first, then lower
  // and with ends slanted more.
  std::optional<GlueTab> Best(const SheetEdge& edge, const SheetEdge& partner, int pair) const {
    const auto& face = faces_[edge.face - 1];
    const Vec2 p = Corner(face, edge.corner);
    const Vec2 q = Corner(face, edge.corner + 1);
    const double length = Distance(p, q);
    if (length <= 0.0) return std::nullopt;
    const Vec2 t = (1.0 / length) * (q - p);
    const Vec2 n = OutwardNormal(face, edge.corner);

    // Folded, the tab lies on the partner face along its edge; its ends must
    // not open wider than the partner's corners there. On the sheet, each end
    // keeps within the free paper at its corner, and to half of it when the
    // next edge round the corner may carry a tab of its own.
    const EdgeKey partnerKey{partner.face, partner.corner};
    const Room roomStart = FreeAngle(p, t, n, partnerKey);
    const Room roomEnd = FreeAngle(q, -1.0 * t, n, partnerKey);
    const auto& other = faces_[partner.face - 1];
    const bool sameTurn = (SignedArea(face) >= 0.0) == (SignedArea(other) >= 0.0);
    const int atStart = sameTurn ? partner.corner + 1 : partner.corner;
    const int atEnd = sameTurn ? partner.corner : partner.corner + 1;
    const int m = static_cast<int>(other.size());
    // Where the free paper at a corner is too narrow for a tab end, the tab
    // starts further along the edge instead, far enough to clear the edge
    // that bounds that paper.
    struct End {
      double angle = 0.0;
      double cot = 0.0;
      double bound = 0.0;
      bool tight = false;
      // How far along the edge the root starts so that the end, from the root
      // up to the tip, keeps the clearance from the bounding line.
      double Inset(double h) const {
        if (!tight) return 0.0;
        if (bound <= kTuning.minRoom) return std::numeric_limits<double>::infinity();
        return std::max(0.0, (kTabClearance + h * std::cos(bound)) / std::sin(bound) - h * cot);
      }
    };
    for (double factor : kTuning.heightFactors) {
      for (double widest : kTuning.endAngles) {
        auto endAt = [&](int k, const Room& room) {
          End e;
          e.bound = room.bound;
          e.tight = room.EndAngle() < kTuning.tightCorner;
          e.angle = e.tight ? widest : std::min(widest, room.EndAngle());
          if (m >= 3) e.angle = std::min(e.angle, InteriorAngle(other, ((k % m) + m) % m) - kTuning.cornerMargin);
          e.angle = std::max(e.angle, kTuning.minEndAngle);
          e.cot = 1.0 / std::tan(e.angle);
          return e;
        };
        const End start = endAt(atStart, roomStart);
        const End end = endAt(atEnd, roomEnd);
        const double full = std::min(
            {kMaxTabHeight, kTuning.heightPerEdge * length, kTuning.tipShare * length / (start.cot + end.cot)});
        const double h = full * factor;
        if (factor < 1.0 && h < kMinTabHeight) continue;
        const double insetStart = start.Inset(h);
        const double insetEnd = end.Inset(h);
        if (length - insetStart - insetEnd - h * (start.cot + end.cot) < (1.0 - kTuning.tipShare) * length) continue;
        const Vec2 rootStart = p + insetStart * t;
        const Vec2 rootEnd = q - insetEnd * t;
        GlueTab tab;
        tab.edge = edge;
        tab.pair = pair;
        tab.height = h;
        tab.corners = {rootStart, rootEnd, rootEnd + h * n - (h * end.cot) * t, rootStart + h * n + (h * start.cot) * t};
        if (Fits(tab)) return tab;
      }
    }
    return std::nullopt;
  }

  bool Place(const SheetEdge& edge, const SheetEdge& partner, int pair) {
    const auto tab = Best(edge, partner, pair);
    if (tab) tabs.push_back(*tab);
    return tab.has_value();
  }

  // One tab for the pair, on whichever edge takes the larger one.
  void PlaceEither(const EdgePair& pair, int index) {
    const auto onA = Best(pair.a, pair.b, index);
    const auto onB = Best(pair.b, pair.a, index);
    if (onA && (!onB || Area(*onA) >= Area(*onB) - 1e-9))
      tabs.push_back(*onA);
    else if (onB)
      tabs.push_back(*onB);
  }

  // One tab for the pair on the chosen edge, or on its partner when it has no room.
  void PlacePreferring(const EdgePair& pair, int index, bool onA) {
    const SheetEdge& first = onA ? pair.a : pair.b;
    const SheetEdge& second = onA ? pair.b : pair.a;
    if (!Place(first, second, index)) Place(second, first, index);
  }

  std::vector<GlueTab> tabs;

 private:
  bool Fits(const GlueTab& tab) const {
    const std::vector<Vec2> shape = Shape(tab);
    const Box box = BoxOf(shape);
    for (size_t f = 0; f < faces_.size(); ++f) {
      const auto& face = faces_[f];
      if (face.size() < 2 || !BoxesNear(faceBoxes_[f], box, kTabClearance)) continue;
      if (face.size() >= 3 && SharedArea(face, shape) > kTuning.overlapArea) return false;
      const bool own = static_cast<int>(f) + 1 == tab.edge.face;
      if (!Clears(tab, face, tolerance_, own ? tab.edge.corner : -1)) return false;
    }
    for (const GlueTab& other : tabs) {
      const std::vector<Vec2> placed = Shape(other);
      if (!BoxesNear(BoxOf(placed), box, kTabClearance)) continue;
      if (SharedArea(placed, shape) > kTuning.overlapArea || !Clears(tab, placed, tolerance_)) return false;
    }
    return true;
  }

  // The angle of empty paper at `at`, turning from the edge direction `along`
  // towards the outside `out` until the first edge of any face there; halved
  // when that edge may get a tab too: it is no hinge, and not the partner of a
  // pair that gets one tab only.
  struct Room {
    double bound;  // angle from the edge to the first line that bounds the tab's end
    bool shared;   // whether that line is half way to an edge that may get a tab too
    // The widest end that keeps inside.
    double EndAngle() const { return shared ? bound : bound - kTuning.cornerMargin; }
  };
  Room FreeAngle(Vec2 at, Vec2 along, Vec2 out, EdgeKey partner) const {
    const double turn = Cross(along, out) >= 0.0 ? 1.0 : -1.0;
    double best = 2.0 * M_PI;
    bool shared = true;
    for (size_t f = 0; f < faces_.size(); ++f) {
      const auto& face = faces_[f];
      const int n = static_cast<int>(face.size());
      if (n < 2) continue;
      for (int k = 0; k < n; ++k) {
        if (Distance(face[k], at) > tolerance_) continue;
        const int previous = (k + n - 1) % n;
        const std::pair<Vec2, EdgeKey> edges[2] = {{Corner(face, k + 1), {static_cast<int>(f) + 1, k}},
                                                   {Corner(face, previous), {static_cast<int>(f) + 1, previous}}};
        for (const auto& [to, key] : edges) {
          const Vec2 d = to - at;
          if (Length(d) <= tolerance_) continue;
          double angle = std::atan2(turn * Cross(along, d), Dot(along, d));
          if (angle < 0.0) angle += 2.0 * M_PI;
          if (angle < 1e-9 || angle > 2.0 * M_PI - 1e-9) continue;  // the edge itself, or one on it
          if (angle < best) {
            best = angle;
            // With tabs on both edges of each pair, the partner's tab shares the
            // corner unless the corner is too narrow for two: then the first
            // tab takes it whole and the partner goes without.
            shared = !hinges_.count(key) &&
                     (key != partner || (bothSides_ && angle / 2.0 >= kTuning.tightCorner));
          }
        }
      }
    }
    return {shared ? best / 2.0 : best, shared};
  }

  const std::vector<std::vector<Vec2>>& faces_;
  std::vector<Box> faceBoxes_;
  std::set<EdgeKey> hinges_;
  double tolerance_;
  bool bothSides_;
};

double FaceArea(const std::vector<Vec2>& face) { return std::fabs(SignedArea(face)); }

}  // namespace

std::vector<GlueTab> PlaceTabs(const TabRequest& r) {
  if (r.mode == TabMode::None) return {};
  TabPlacer placer(r);
  const auto& gluings = *r.gluings;
  std::vector<bool> alternate;
  if (r.mode == TabMode::OneSide && r.side == TabSide::Alternating)
    alternate = AlternateAlongSeams(*r.faces, gluings, r.tolerance);
  for (size_t i = 0; i < gluings.size(); ++i) {
    const EdgePair& pair = gluings[i];
    const int index = static_cast<int>(i);
    if (r.mode == TabMode::BothSides) {
      placer.Place(pair.a, pair.b, index);
      placer.Place(pair.b, pair.a, index);
      continue;
    }
    if (r.side == TabSide::Alternating) {
      placer.PlacePreferring(pair, index, alternate[i]);
      continue;
    }
    const double areaA = FaceArea((*r.faces)[pair.a.face - 1]);
    const double areaB = FaceArea((*r.faces)[pair.b.face - 1]);
    const bool alike = std::fabs(areaA - areaB) <= 1e-6 * std::max(areaA, areaB);
    if (r.side == TabSide::Roomiest || alike)
      placer.PlaceEither(pair, index);
    else
      placer.PlacePreferring(pair, index, (areaA < areaB) == (r.side == TabSide::SmallerFace));
  }
  return std::move(placer.tabs);
}

std::vector<bool> AlternateAlongSeams(const std::vector<std::vector<Vec2>>& faces,
                                      const std::vector<EdgePair>& gluings, double tolerance) {
  const size_t count = gluings.size();
  // Side 0 of a pair is edge a, side 1 edge b; an edge's end 0 is its first corner.
  auto edgeOf = [&](size_t pair, int side) -> const SheetEdge& { return side == 0 ? gluings[pair].a : gluings[pair].b; };
  auto end = [&](size_t pair, int side, int which) {
    const SheetEdge& e = edgeOf(pair, side);
    return Corner(faces[e.face - 1], e.corner + which);
  };
  // The end of the other edge that meets end `which` of this one when folded.
  auto mate = [&](size_t pair, int which) {
    const bool sameTurn = (SignedArea(faces[gluings[pair].a.face - 1]) >= 0.0) ==
                          (SignedArea(faces[gluings[pair].b.face - 1]) >= 0.0);
    return sameTurn ? 1 - which : which;
  };
  // Two pairs follow each other along a seam when an edge of each meets the
  // other's on the sheet, and the edges glued to those meet there too: side
  // `side` of `pair` lies on the same side of the cut as side `otherSide` of `other`.
  struct Link {
    size_t other;
    int side;
    int otherSide;
  };
  std::vector<std::vector<Link>> links(count);
  for (size_t i = 0; i < count; ++i)
    for (size_t j = i + 1; j < count; ++j)
      for (int x = 0; x < 2; ++x)
        for (int ex = 0; ex < 2; ++ex)
          for (int y = 0; y < 2; ++y)
            for (int ey = 0; ey < 2; ++ey) {
              if (Distance(end(i, x, ex), end(j, y, ey)) > tolerance) continue;
              if (Distance(end(i, 1 - x, mate(i, ex)), end(j, 1 - y, mate(j, ey))) > tolerance) continue;
              links[i].push_back({j, x, y});
              links[j].push_back({i, y, x});
            }

  // Along each seam, from its first pair on: the next tab goes on the other side.
  std::vector<int> tabSide(count, -1);
  for (size_t start = 0; start < count; ++start) {
    if (tabSide[start] >= 0) continue;
    tabSide[start] = 0;
    std::deque<size_t> queue{start};
    while (!queue.empty()) {
      const size_t i = queue.front();
      queue.pop_front();
      for (const Link& link : links[i]) {
        if (tabSide[link.other] >= 0) continue;
        const bool tabOnLinkedSide = tabSide[i] == link.side;
        tabSide[link.other] = tabOnLinkedSide ? 1 - link.otherSide : link.otherSide;
        queue.push_back(link.other);
      }
    }
  }
  std::vector<bool> onA(count);
  for (size_t i = 0; i < count; ++i) onA[i] = tabSide[i] == 0;
  return onA;
}

}  // namespace didod::craft
