#include "unfold/mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <unordered_map>
#include <utility>

#include "geometry/polygon.h"
#include "model/construction.h"

namespace didod::unfold {

using geo::Cross;
using geo::Distance;
using geo::Dot;
using geo::Norm;
using geo::Vec2;

namespace {

// "1 Kante" or "3 Kanten".
std::string Count(long n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The file's name as the messages show it.
std::string Quoted(const std::string& name) { return "\xE2\x80\x9E" + name + "\xE2\x80\x9C"; }

// The work in progress: the faces over welded vertices, and the tolerances
// scaled to the solid.
struct Mesh {
  std::string name;
  std::vector<Vec3> vertices;
  std::vector<std::vector<int>> faces;
  double weld = 0;   // absolute
  double plane = 0;  // absolute
  [[noreturn]] void Refuse(const std::string& what) const { throw ImportError(Quoted(name) + " " + what); }
};

// Newell's normal: its length is twice the face's area.
Vec3 AreaNormal(const std::vector<Vec3>& v, const std::vector<int>& face) {
  Vec3 n;
  for (std::size_t i = 0; i < face.size(); ++i) n += Cross(v[face[i]], v[face[(i + 1) % face.size()]]);
  return n;
}

Vec3 Mean(const std::vector<Vec3>& v, const std::vector<int>& face) {
  Vec3 c;
  for (int i : face) c += v[i];
  return c / static_cast<double>(face.size());
}

void CheckInput(const Soup& soup, Mesh& m, const ImportTolerances& t) {
  if (soup.faces.empty()) m.Refuse("enth\xC3\xA4lt keine Fl\xC3\xA4" "chen");
  if (static_cast<long>(soup.faces.size()) > t.maxInputFaces || static_cast<long>(soup.vertices.size()) > t.maxInputVertices)
    m.Refuse("ist zu gro\xC3\x9F: " + Count(static_cast<long>(soup.faces.size()), "Fl\xC3\xA4" "che", "Fl\xC3\xA4" "chen") +
             " und " + Count(static_cast<long>(soup.vertices.size()), "Ecke", "Ecken") + ", h\xC3\xB6" "chstens " +
             std::to_string(t.maxInputFaces) + " Fl\xC3\xA4" "chen werden gelesen");
  long bad = 0;
  for (const Vec3& p : soup.vertices) bad += !(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
  if (bad > 0) m.Refuse("enth\xC3\xA4lt ung\xC3\xBCltige Koordinaten: " + Count(bad, "Punkt ist", "Punkte sind") + " keine Zahl");
  long broken = 0;
  for (const auto& face : soup.faces) {
    bool inRange = face.size() >= 3;
    for (int i : face) inRange = inRange && i >= 0 && i < static_cast<int>(soup.vertices.size());
    broken += !inRange;
  }
  if (broken > 0)
    m.Refuse("enth\xC3\xA4lt " + Count(broken, "Fl\xC3\xA4" "che", "Fl\xC3\xA4" "chen") +
             " mit weniger als drei Ecken oder fehlenden Punkten");
}

// Corners closer than the weld tolerance become the first of them; corners no
// face uses are dropped.
void Weld(const Soup& soup, Mesh& m, const ImportTolerances& t) {
  Vec3 lo = soup.vertices[soup.faces[0][0]], hi = lo;
  for (const auto& face : soup.faces)
    for (int i : face) {
      const Vec3& p = soup.vertices[i];
      lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
      hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
  const double size = Distance(lo, hi);
  if (!(size > 0) || !std::isfinite(size)) m.Refuse("hat keine Ausdehnung: alle Ecken liegen in einem Punkt");
  m.weld = t.weld * size;
  m.plane = t.plane * size;
  // Cells of the weld tolerance's size; a point's partners lie in its cell or a neighbouring one.
  auto cellOf = [&](const Vec3& p) {
    return std::array<std::int64_t, 3>{static_cast<std::int64_t>(std::floor((p.x - lo.x) / m.weld)),
                                       static_cast<std::int64_t>(std::floor((p.y - lo.y) / m.weld)),
                                       static_cast<std::int64_t>(std::floor((p.z - lo.z) / m.weld))};
  };
  struct CellHash {
    std::size_t operator()(const std::array<std::int64_t, 3>& c) const {
      return static_cast<std::size_t>(c[0] * 73856093LL ^ c[1] * 19349663LL ^ c[2] * 83492791LL);
    }
  };
  std::unordered_map<std::array<std::int64_t, 3>, std::vector<int>, CellHash> cells;
  std::vector<int> welded(soup.vertices.size(), -1);
  for (const auto& face : soup.faces)
    for (int i : face) {
      if (welded[i] >= 0) continue;
      const Vec3& p = soup.vertices[i];
      const auto c = cellOf(p);
      int found = -1;
      for (std::int64_t dx = -1; dx <= 1 && found < 0; ++dx)
        for (std::int64_t dy = -1; dy <= 1 && found < 0; ++dy)
          for (std::int64_t dz = -1; dz <= 1 && found < 0; ++dz) {
            const auto it = cells.find({c[0] + dx, c[1] + dy, c[2] + dz});
            if (it == cells.end()) continue;
            for (int v : it->second)
              if (Distance(m.vertices[v], p) <= m.weld) { found = v; break; }
          }
      if (found < 0) {
        found = static_cast<int>(m.vertices.size());
        m.vertices.push_back(p);
        cells[c].push_back(found);
      }
      welded[i] = found;
    }
  for (const auto& face : soup.faces) {
    std::vector<int> f;
    for (int i : face) f.push_back(welded[i]);
    m.faces.push_back(std::move(f));
  }
}

// A face whose corners repeat or whose area vanishes next to its outline.
void CheckAreas(const Mesh& m) {
  long flat = 0;
  for (const auto& face : m.faces) {
    std::set<int> corners(face.begin(), face.end());
    double outline = 0;
    for (std::size_t i = 0; i < face.size(); ++i)
      outline += Distance(m.vertices[face[i]], m.vertices[face[(i + 1) % face.size()]]);
    const double area = Norm(AreaNormal(m.vertices, face)) / 2;
    if (corners.size() != face.size() || area <= m.weld * outline / 2) ++flat;
  }
  if (flat > 0)
    m.Refuse("hat entartete Fl\xC3\xA4" "chen: " + Count(flat, "Fl\xC3\xA4" "che hat", "Fl\xC3\xA4" "chen haben") +
             " keinen Fl\xC3\xA4" "cheninhalt");
}

struct EdgeUse {
  int face;
  bool forward;  // runs from the smaller vertex number to the larger
};
using EdgeMap = std::map<std::pair<int, int>, std::vector<EdgeUse>>;

EdgeMap Edges(const Mesh& m) {
  EdgeMap edges;
  for (int f = 0; f < static_cast<int>(m.faces.size()); ++f) {
    const auto& face = m.faces[f];
    for (std::size_t i = 0; i < face.size(); ++i) {
      const int a = face[i], b = face[(i + 1) % face.size()];
      edges[{std::min(a, b), std::max(a, b)}].push_back({f, a < b});
    }
  }
  return edges;
}

// Every edge between exactly two faces that run along it in opposite directions.
void CheckEdges(const Mesh& m, const EdgeMap& edges) {
  long single = 0, crowded = 0, sameWay = 0;
  for (const auto& [edge, uses] : edges) {
    if (uses.size() == 1) ++single;
    else if (uses.size() > 2) ++crowded;
    else if (uses[0].forward == uses[1].forward) ++sameWay;
  }
  if (single > 0)
    m.Refuse("ist nicht geschlossen: " + Count(single, "Kante geh\xC3\xB6rt", "Kanten geh\xC3\xB6ren") +
             " nur zu einer Fl\xC3\xA4" "che");
  if (crowded > 0)
    m.Refuse("ist keine 2-Mannigfaltigkeit: " + Count(crowded, "Kante geh\xC3\xB6rt", "Kanten geh\xC3\xB6ren") +
             " zu mehr als zwei Fl\xC3\xA4" "chen");
  if (sameWay == 0) return;
  // Could turning some faces over mend it?
  std::vector<std::vector<std::pair<int, bool>>> across(m.faces.size());  // neighbour, same way
  for (const auto& [edge, uses] : edges) {
    const bool same = uses[0].forward == uses[1].forward;
    across[uses[0].face].push_back({uses[1].face, same});
    across[uses[1].face].push_back({uses[0].face, same});
  }
  std::vector<int> turn(m.faces.size(), -1);
  bool orientable = true;
  for (std::size_t start = 0; start < m.faces.size() && orientable; ++start) {
    if (turn[start] >= 0) continue;
    turn[start] = 0;
    std::vector<int> queue{static_cast<int>(start)};
    for (std::size_t q = 0; q < queue.size() && orientable; ++q)
      for (const auto& [g, same] : across[queue[q]]) {
        const int want = turn[queue[q]] ^ (same ? 1 : 0);
        if (turn[g] < 0) { turn[g] = want; queue.push_back(g); }
        else if (turn[g] != want) orientable = false;
      }
  }
  if (!orientable) m.Refuse("ist nicht orientierbar: es hat keine Innen- und Au\xC3\x9F" "enseite");
  m.Refuse("ist nicht einheitlich orientiert: " +
           Count(sameWay, "Kante wird", "Kanten werden") + " von ihren beiden Fl\xC3\xA4" "chen in derselben Richtung durchlaufen");
}

// The faces around every vertex form one fan, and all faces hang together.
void CheckConnections(const Mesh& m) {
  // At vertex v, the corner of face f is joined to the corner of the face
  // across the edge from v to the next corner.
  std::map<std::pair<int, int>, int> faceOfEdge;  // directed edge -> face
  for (int f = 0; f < static_cast<int>(m.faces.size()); ++f) {
    const auto& face = m.faces[f];
    for (std::size_t i = 0; i < face.size(); ++i) faceOfEdge[{face[i], face[(i + 1) % face.size()]}] = f;
  }
  std::vector<std::vector<int>> facesAt(m.vertices.size());
  for (int f = 0; f < static_cast<int>(m.faces.size()); ++f)
    for (int v : m.faces[f]) facesAt[v].push_back(f);
  long pinched = 0;
  for (int v = 0; v < static_cast<int>(m.vertices.size()); ++v) {
    if (facesAt[v].empty()) continue;
    // Walk once around v from its first face.
    std::size_t seen = 0;
    int f = facesAt[v][0];
    do {
      ++seen;
      const auto& face = m.faces[f];
      const std::size_t at = std::find(face.begin(), face.end(), v) - face.begin();
      const int before = face[(at + face.size() - 1) % face.size()];
      f = faceOfEdge.at({v, before});
    } while (f != facesAt[v][0] && seen <= facesAt[v].size());
    if (seen != facesAt[v].size()) ++pinched;
  }
  if (pinched > 0)
    m.Refuse("ist keine 2-Mannigfaltigkeit: an " + Count(pinched, "Ecke", "Ecken") +
             " sto\xC3\x9F" "en getrennte Fl\xC3\xA4" "chen zusammen");
  std::vector<bool> reached(m.faces.size(), false);
  long parts = 0;
  for (std::size_t start = 0; start < m.faces.size(); ++start) {
    if (reached[start]) continue;
    ++parts;
    reached[start] = true;
    std::vector<int> queue{static_cast<int>(start)};
    for (std::size_t q = 0; q < queue.size(); ++q) {
      const auto& face = m.faces[queue[q]];
      for (std::size_t i = 0; i < face.size(); ++i) {
        const int g = faceOfEdge.at({face[(i + 1) % face.size()], face[i]});
        if (!reached[g]) { reached[g] = true; queue.push_back(g); }
      }
    }
  }
  if (parts > 1) m.Refuse("besteht aus " + std::to_string(parts) + " getrennten Teilen");
}

void TurnOutwards(Mesh& m) {
  if (Volume(Polyhedron{m.vertices, m.faces}) >= 0) return;
  for (auto& face : m.faces) std::reverse(face.begin(), face.end());
}

// Neighbouring faces in one plane become one face. Neighbours are taken the
// least bent first (how far the smaller one's corners lie off the larger
// one's plane), so that the triangles of each flat face have joined up before
// two nearly flat faces meet; two groups become one when they face the same
// way and the corners of the group with fewer faces lie on the other group's
// plane (its area-weighted mean).
void MergeCoplanar(Mesh& m) {
  const int count = static_cast<int>(m.faces.size());
  std::map<std::pair<int, int>, int> faceOfEdge;
  for (int f = 0; f < count; ++f) {
    const auto& face = m.faces[f];
    for (std::size_t i = 0; i < face.size(); ++i) faceOfEdge[{face[i], face[(i + 1) % face.size()]}] = f;
  }
  std::vector<double> area(count);
  std::vector<Vec3> normal(count), centre(count);
  for (int f = 0; f < count; ++f) {
    const Vec3 n = AreaNormal(m.vertices, m.faces[f]);
    area[f] = Norm(n);
    normal[f] = n / area[f];
    centre[f] = Mean(m.vertices, m.faces[f]);
  }
  auto offPlane = [&](const std::vector<int>& face, Vec3 n, Vec3 c) {
    double off = 0;
    for (int v : face) off = std::max(off, std::fabs(Dot(m.vertices[v] - c, n)));
    return off;
  };
  struct Pair {
    double bend;
    int f, g;
  };
  std::vector<Pair> pairs;
  for (int f = 0; f < count; ++f) {
    const auto& face = m.faces[f];
    for (std::size_t i = 0; i < face.size(); ++i) {
      const int g = faceOfEdge.at({face[(i + 1) % face.size()], face[i]});
      if (g <= f || Dot(normal[f], normal[g]) <= 0) continue;
      const int small = area[f] < area[g] ? f : g, large = small == f ? g : f;
      const double bend = offPlane(m.faces[small], normal[large], centre[large]);
      if (bend <= m.plane) pairs.push_back({bend, f, g});
    }
  }
  std::stable_sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) { return a.bend < b.bend; });
  // Each group: its faces, the sum of their area normals, and of their centres weighted by area.
  std::vector<int> group(count);
  std::vector<std::vector<int>> members(count);
  std::vector<Vec3> areaNormal(count), weightedCentre(count);
  std::vector<double> groupArea(count);
  for (int f = 0; f < count; ++f) {
    group[f] = f;
    members[f] = {f};
    areaNormal[f] = normal[f] * area[f];
    weightedCentre[f] = centre[f] * area[f];
    groupArea[f] = area[f];
  }
  for (const Pair& p : pairs) {
    int host = group[p.f], guest = group[p.g];
    if (host == guest) continue;
    if (members[host].size() < members[guest].size() ||
        (members[host].size() == members[guest].size() && groupArea[host] < groupArea[guest]))
      std::swap(host, guest);
    const Vec3 n = geo::Normalized(areaNormal[host]), c = weightedCentre[host] / groupArea[host];
    if (Dot(n, areaNormal[guest]) <= 0) continue;
    bool onPlane = true;
    for (std::size_t k = 0; k < members[guest].size() && onPlane; ++k)
      onPlane = offPlane(m.faces[members[guest][k]], n, c) <= m.plane;
    if (!onPlane) continue;
    for (int f : members[guest]) group[f] = host;
    members[host].insert(members[host].end(), members[guest].begin(), members[guest].end());
    members[guest].clear();
    areaNormal[host] += areaNormal[guest];
    weightedCentre[host] += weightedCentre[guest];
    groupArea[host] += groupArea[guest];
  }
  std::vector<std::vector<int>> groups;
  for (auto& g : members)
    if (!g.empty()) groups.push_back(std::move(g));
  // Groups in the order of their first face in the file.
  for (auto& members : groups) std::sort(members.begin(), members.end());
  std::stable_sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) { return a[0] < b[0]; });
  long holed = 0;
  std::vector<std::vector<int>> merged;
  for (const auto& members : groups) {
    if (members.size() == 1) {
      merged.push_back(m.faces[members[0]]);
      continue;
    }
    // The group's outline: its edges whose other side lies outside the group.
    std::set<int> inGroup(members.begin(), members.end());
    std::vector<std::pair<int, int>> outline;
    for (int f : members) {
      const auto& face = m.faces[f];
      for (std::size_t i = 0; i < face.size(); ++i) {
        const int a = face[i], b = face[(i + 1) % face.size()];
        if (!inGroup.count(faceOfEdge.at({b, a}))) outline.push_back({a, b});
      }
    }
    std::map<int, int> next;
    bool pinched = false;
    for (const auto& [a, b] : outline) pinched = pinched || !next.insert({a, b}).second;
    std::vector<int> loop{outline.empty() ? -1 : outline[0].first};
    while (!pinched && !outline.empty()) {
      const auto it = next.find(loop.back());
      if (it == next.end()) { pinched = true; break; }
      if (it->second == loop[0]) break;
      loop.push_back(it->second);
      if (loop.size() > outline.size()) { pinched = true; break; }
    }
    if (pinched || outline.empty() || loop.size() != outline.size()) {
      ++holed;
      continue;
    }
    merged.push_back(std::move(loop));
  }
  if (holed > 0)
    m.Refuse("hat " + Count(holed, "Fl\xC3\xA4" "che", "Fl\xC3\xA4" "chen") +
             ", die nicht einfach " + (holed == 1 ? "ist" : "sind") + ": ein Loch oder eine Ber\xC3\xBChrung mit sich selbst");
  m.faces = std::move(merged);
}

// A corner that only two faces share lies on a straight edge between them and
// is no vertex of the solid.
void DropStraightCorners(Mesh& m) {
  std::vector<int> uses(m.vertices.size(), 0);
  for (const auto& face : m.faces)
    for (int v : face) ++uses[v];
  for (auto& face : m.faces) {
    std::vector<int> kept;
    for (int v : face)
      if (uses[v] > 2) kept.push_back(v);
    face = std::move(kept);
  }
  std::vector<int> renumber(m.vertices.size(), -1);
  std::vector<Vec3> used;
  for (auto& face : m.faces)
    for (int& v : face) {
      if (renumber[v] < 0) { renumber[v] = static_cast<int>(used.size()); used.push_back(m.vertices[v]); }
      v = renumber[v];
    }
  m.vertices = std::move(used);
}

// Every face plane and simple.
void CheckFaces(const Mesh& m) {
  long bent = 0, crossed = 0;
  for (const auto& face : m.faces) {
    if (face.size() < 3) {
      ++crossed;
      continue;
    }
    const Vec3 n = AreaNormal(m.vertices, face);
    const Vec3 unit = n / Norm(n), c = Mean(m.vertices, face);
    double off = 0;
    for (int v : face) off = std::max(off, std::fabs(Dot(m.vertices[v] - c, unit)));
    if (off > m.plane) {
      ++bent;
      continue;
    }
    // The outline seen along the normal.
    const Vec3 e1 = geo::Normalized(m.vertices[face[1]] - m.vertices[face[0]]), e2 = Cross(unit, e1);
    std::vector<Vec2> flat;
    for (int v : face) flat.push_back({Dot(m.vertices[v] - c, e1), Dot(m.vertices[v] - c, e2)});
    if (!geo::IsSimplePolygon(flat, m.weld)) ++crossed;
  }
  if (bent > 0)
    m.Refuse("hat " + Count(bent, "Fl\xC3\xA4" "che", "Fl\xC3\xA4" "chen") + ", die nicht eben " +
             (bent == 1 ? "ist" : "sind"));
  if (crossed > 0)
    m.Refuse("hat " + Count(crossed, "Fl\xC3\xA4" "che", "Fl\xC3\xA4" "chen") + ", die nicht einfach " +
             (crossed == 1 ? "ist" : "sind") + ": der Umriss ber\xC3\xBChrt oder schneidet sich selbst");
}

// Corners written with a few digits leave polygons a little bent, enough to
// tear the folded solid apart. The corners are moved onto their faces'
// planes, a little at a time, each move the mean of what its polygons ask
// (triangles are plane anyway): the moves stay as small as the bends.
void Flatten(Mesh& m, double size) {
  constexpr int kRounds = 200;
  constexpr double kFlat = 1e-13;  // of the solid's size
  for (int round = 0; round < kRounds; ++round) {
    std::vector<Vec3> move(m.vertices.size());
    std::vector<int> asked(m.vertices.size(), 0);
    double worst = 0;
    for (const auto& face : m.faces) {
      if (face.size() < 4) continue;
      const Vec3 n = geo::Normalized(AreaNormal(m.vertices, face)), c = Mean(m.vertices, face);
      for (int v : face) {
        const double off = Dot(m.vertices[v] - c, n);
        worst = std::max(worst, std::fabs(off));
        move[v] -= n * off;
        ++asked[v];
      }
    }
    if (worst <= kFlat * size) return;
    for (std::size_t v = 0; v < m.vertices.size(); ++v)
      if (asked[v] > 0) m.vertices[v] += move[v] / static_cast<double>(asked[v]);
  }
}

void CheckCapacity(const Mesh& m) {
  long corners = 0;
  std::size_t largest = 0;
  for (const auto& face : m.faces) {
    corners += static_cast<long>(face.size());
    largest = std::max(largest, face.size());
  }
  const long faces = static_cast<long>(m.faces.size());
  if (faces > kMaxFaces || corners > kMaxPoints)
    m.Refuse("hat " + Count(faces, "Fl\xC3\xA4" "che", "Fl\xC3\xA4" "chen") + " mit zusammen " +
             Count(corners, "Ecke", "Ecken") + "; eine Konstruktion fasst h\xC3\xB6" "chstens " +
             std::to_string(kMaxFaces) + " Fl\xC3\xA4" "chen und " + std::to_string(kMaxPoints) + " Punkte");
  if (static_cast<int>(largest) > kMaxCorners)
    m.Refuse("hat eine Fl\xC3\xA4" "che mit " + std::to_string(largest) + " Ecken; ein Vieleck hat h\xC3\xB6" "chstens " +
             std::to_string(kMaxCorners));
}

}  // namespace

Polyhedron SolidFromSoup(const Soup& soup, const std::string& name, const ImportTolerances& tolerances) {
  Mesh m;
  m.name = name;
  CheckInput(soup, m, tolerances);
  Weld(soup, m, tolerances);
  CheckAreas(m);
  CheckEdges(m, Edges(m));
  CheckConnections(m);
  TurnOutwards(m);
  MergeCoplanar(m);
  DropStraightCorners(m);
  CheckFaces(m);
  Flatten(m, m.plane / tolerances.plane);
  CheckCapacity(m);
  return {std::move(m.vertices), std::move(m.faces)};
}

Soup WeldFaces(const std::vector<std::vector<Vec3>>& faces, double weld) {
  Soup soup;
  double size = 0;
  for (const auto& face : faces)
    for (const Vec3& p : face) size = std::max({size, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
  const double tol = weld * std::max(size, 1e-300);
  for (const auto& face : faces) {
    std::vector<int> f;
    for (const Vec3& p : face) {
      int found = -1;
      for (int v = 0; v < static_cast<int>(soup.vertices.size()) && found < 0; ++v)
        if (Distance(soup.vertices[v], p) <= tol) found = v;
      if (found < 0) {
        found = static_cast<int>(soup.vertices.size());
        soup.vertices.push_back(p);
      }
      f.push_back(found);
    }
    soup.faces.push_back(std::move(f));
  }
  return soup;
}

}  // namespace didod::unfold
