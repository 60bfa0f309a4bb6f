#include "fold/realise.h"

#include <Eigen/Dense>
#include <Eigen/Sparse>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <unordered_map>

namespace didod::foldnet {
namespace {

using Eigen::Vector3d;
constexpr double kPi = std::numbers::pi;

struct UnionFind {
  std::vector<int> parent;
  explicit UnionFind(int n) : parent(n) {
    for (int i = 0; i < n; ++i) parent[i] = i;
  }
  int Find(int x) {
    while (parent[x] != x) {
      parent[x] = parent[parent[x]];
      x = parent[x];
    }
    return x;
  }
  bool Unite(int a, int b) {
    a = Find(a);
    b = Find(b);
    if (a == b) return false;
    parent[std::max(a, b)] = std::min(a, b);
    return true;
  }
};

struct SolidEdge {
  int u = 0, w = 0;  // classes, u -> w along side1
  Corner side1, side2;
};

struct Distance {
  int u = 0, w = 0;
  double d = 0;
};

bool Fail(std::string* why, const char* text) {
  if (why) *why = text;
  return false;
}

// Ear clipping of a counter-clockwise simple polygon.
std::vector<std::array<int, 3>> Triangulate(const std::vector<Vec2>& p) {
  std::vector<std::array<int, 3>> out;
  std::vector<int> idx(p.size());
  for (size_t i = 0; i < p.size(); ++i) idx[i] = static_cast<int>(i);
  auto cross = [&](int a, int b, int c) {
    return (p[b].x - p[a].x) * (p[c].y - p[a].y) - (p[b].y - p[a].y) * (p[c].x - p[a].x);
  };
  int guard = 0;
  while (idx.size() > 3 && guard < 10000) {
    ++guard;
    const int m = static_cast<int>(idx.size());
    bool clipped = false;
    for (int i = 0; i < m; ++i) {
      const int a = idx[(i + m - 1) % m], b = idx[i], c = idx[(i + 1) % m];
      if (cross(a, b, c) <= 1e-14) continue;
      bool inside = false;
      for (int j : idx) {
        if (j == a || j == b || j == c) continue;
        if (cross(a, b, j) >= 0 && cross(b, c, j) >= 0 && cross(c, a, j) >= 0) {
          inside = true;
          break;
        }
      }
      if (inside) continue;
      out.push_back({a, b, c});
      idx.erase(idx.begin() + i);
      clipped = true;
      break;
    }
    if (!clipped) break;
  }
  if (idx.size() >= 3)
    for (size_t i = 1; i + 1 < idx.size(); ++i) out.push_back({idx[0], idx[i], idx[i + 1]});
  return out;
}

// Whether segment p-q passes through the inside of triangle a-b-c, away from
// its outline and its own ends.
bool Pierces(const Vector3d& p, const Vector3d& q, const Vector3d& a, const Vector3d& b, const Vector3d& c,
             double eps) {
  const Vector3d n = (b - a).cross(c - a);
  const double nn = n.norm();
  if (nn <= 0) return false;
  const double dp = n.dot(p - a) / nn, dq = n.dot(q - a) / nn;
  if (!((dp > eps && dq < -eps) || (dp < -eps && dq > eps))) return false;
  const double t = dp / (dp - dq);
  const Vector3d x = p + t * (q - p);
  // Barycentric coordinates through sub-areas.
  const double wa = n.dot((b - x).cross(c - x)) / (nn * nn);
  const double wb = n.dot((c - x).cross(a - x)) / (nn * nn);
  const double wc = 1 - wa - wb;
  const double e = eps / std::sqrt(nn);
  return wa > e && wb > e && wc > e;
}

}  // namespace

bool Realise(const NetComplex& net, const std::vector<Chord>& chords, Clock::time_point deadline, Solid& out,
             std::string* why, Effort effort) {
  const int F = static_cast<int>(net.faces.size());
  const double size = net.size;
  auto vertexOf = [&](Corner c) { return net.faces[c.face].vertex[c.k]; };
  auto nextCorner = [&](Corner c) {
    return Corner{c.face, (c.k + 1) % static_cast<int>(net.faces[c.face].p.size())};
  };

  // Glued vertices.
  UnionFind uf(net.vertexCount);
  for (const Chord& ch : chords) {
    const Corner a = net.edges[ch.a].edge, b = net.edges[ch.b].edge;
    uf.Unite(vertexOf(a), vertexOf(nextCorner(b)));
    uf.Unite(vertexOf(nextCorner(a)), vertexOf(b));
  }
  std::vector<int> classOfRoot(net.vertexCount, -1);
  int V = 0;
  for (int v = 0; v < net.vertexCount; ++v) {
    const int r = uf.Find(v);
    if (classOfRoot[r] < 0) classOfRoot[r] = V++;
  }
  auto cls = [&](Corner c) { return classOfRoot[uf.Find(vertexOf(c))]; };
  for (int f = 0; f < F; ++f) {
    const int n = static_cast<int>(net.faces[f].p.size());
    std::vector<int> seen;
    for (int k = 0; k < n; ++k) seen.push_back(cls({f, k}));
    std::sort(seen.begin(), seen.end());
    if (std::adjacent_find(seen.begin(), seen.end()) != seen.end()) return Fail(why, "face corners meet");
  }

  // Edges of the solid: hinges, then chords.
  std::vector<SolidEdge> edges;
  for (const HingeRec& h : net.hinges) edges.push_back({cls(h.a), cls(nextCorner(h.a)), h.a, h.b});
  for (const Chord& ch : chords) {
    const Corner a = net.edges[ch.a].edge, b = net.edges[ch.b].edge;
    edges.push_back({cls(a), cls(nextCorner(a)), a, b});
  }
  std::vector<std::vector<int>> edgeOf(F);
  for (int f = 0; f < F; ++f) edgeOf[f].assign(net.faces[f].p.size(), -1);
  {
    std::unordered_map<long long, int> byEnds;
    for (size_t i = 0; i < edges.size(); ++i) {
      const SolidEdge& e = edges[i];
      if (e.u == e.w) return Fail(why, "edge collapses");
      const long long key = static_cast<long long>(std::min(e.u, e.w)) * V + std::max(e.u, e.w);
      if (!byEnds.emplace(key, static_cast<int>(i)).second) return Fail(why, "two edges join the same corners");
      edgeOf[e.side1.face][e.side1.k] = static_cast<int>(i);
      edgeOf[e.side2.face][e.side2.k] = static_cast<int>(i);
    }
  }

  // Corners with three faces fix the angles at their edges; both ends of an
  // edge must agree.
  {
    std::vector<std::vector<Corner>> at(V);
    for (int f = 0; f < F; ++f)
      for (int k = 0; k < static_cast<int>(net.faces[f].p.size()); ++k) at[cls({f, k})].push_back({f, k});
    std::vector<double> cosAt(edges.size(), 2.0);
    for (int v = 0; v < V; ++v) {
      if (at[v].size() != 3) continue;
      double ang[3];
      bool convex = true;
      for (int i = 0; i < 3; ++i) {
        ang[i] = net.faces[at[v][i].face].angle[at[v][i].k];
        if (ang[i] >= kPi - 1e-9) convex = false;
      }
      if (!convex) continue;
      for (int i = 0; i < 3; ++i) {
        const Corner y = at[v][(i + 1) % 3], z = at[v][(i + 2) % 3];
        const int ny = static_cast<int>(net.faces[y.face].p.size());
        const int nz = static_cast<int>(net.faces[z.face].p.size());
        const int ey[2] = {edgeOf[y.face][y.k], edgeOf[y.face][(y.k + ny - 1) % ny]};
        const int ez[2] = {edgeOf[z.face][z.k], edgeOf[z.face][(z.k + nz - 1) % nz]};
        int common = -1;
        for (int p : ey)
          for (int q : ez)
            if (p == q) common = p;
        if (common < 0) continue;
        const double x = ang[i], a = ang[(i + 1) % 3], b = ang[(i + 2) % 3];
        const double c = (std::cos(x) - std::cos(a) * std::cos(b)) / (std::sin(a) * std::sin(b));
        if (cosAt[common] <= 1.5 && std::fabs(cosAt[common] - c) > 1e-6)
          return Fail(why, "edge angles disagree");
        cosAt[common] = c;
      }
    }
  }

  // Distances held by each face: every pair of its corners.
  std::vector<Distance> dist;
  {
    std::unordered_map<long long, int> index;
    for (int f = 0; f < F; ++f) {
      const auto& face = net.faces[f];
      const int n = static_cast<int>(face.p.size());
      for (int k = 0; k < n; ++k)
        for (int l = k + 1; l < n; ++l) {
          int u = cls({f, k}), w = cls({f, l});
          if (u > w) std::swap(u, w);
          const double d = std::hypot(face.p[k].x - face.p[l].x, face.p[k].y - face.p[l].y);
          const long long key = static_cast<long long>(u) * V + w;
          auto [it, fresh] = index.emplace(key, static_cast<int>(dist.size()));
          if (fresh)
            dist.push_back({u, w, d});
          else if (std::fabs(dist[it->second].d - d) > 1e-7 * size)
            return Fail(why, "distances disagree");
        }
    }
  }

  // Start: distances along the surface, placed in space by classical
  // multidimensional scaling.
  Eigen::MatrixXd D = Eigen::MatrixXd::Constant(V, V, 1e300);
  for (int v = 0; v < V; ++v) D(v, v) = 0;
  for (const Distance& d : dist) D(d.u, d.w) = D(d.w, d.u) = std::min(D(d.u, d.w), d.d);
  for (int k = 0; k < V; ++k) {
    if (k % 32 == 0 && Clock::now() > deadline) return Fail(why, "time");
    for (int i = 0; i < V; ++i) {
      const double dik = D(i, k);
      if (dik >= 1e299) continue;
      for (int j = 0; j < V; ++j) D(i, j) = std::min(D(i, j), dik + D(k, j));
    }
  }
  if (Clock::now() > deadline) return Fail(why, "time");
  if (D.maxCoeff() >= 1e299) return Fail(why, "not connected");
  // Surface distances to chords as on a sphere of the surface's area.
  double area = 0;
  for (const Face& face : net.faces) {
    const int n = static_cast<int>(face.p.size());
    for (int k = 0; k < n; ++k) area += 0.5 * (face.p[k].x * face.p[(k + 1) % n].y - face.p[(k + 1) % n].x * face.p[k].y);
  }
  const double radius = std::sqrt(area / (4 * kPi));
  for (int i = 0; i < V; ++i)
    for (int j = 0; j < V; ++j) D(i, j) = 2 * radius * std::sin(std::min(D(i, j) / (2 * radius), kPi / 2));
  Eigen::MatrixXd B = D.cwiseProduct(D);
  {
    const Eigen::VectorXd rowMean = B.rowwise().mean();
    const double mean = rowMean.mean();
    for (int i = 0; i < V; ++i)
      for (int j = 0; j < V; ++j) B(i, j) = -0.5 * (B(i, j) - rowMean(i) - rowMean(j) + mean);
  }
  Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> eig(B);
  Eigen::VectorXd x0(3 * V);
  for (int v = 0; v < V; ++v)
    for (int d = 0; d < 3; ++d) {
      const int col = V - 1 - d;
      const double lambda = col >= 0 ? std::max(eig.eigenvalues()(col), 1e-6 * size * size) : 1e-6;
      x0(3 * v + d) = col >= 0 ? eig.eigenvectors()(v, col) * std::sqrt(lambda) : 0.0;
    }

  // Levenberg-Marquardt on the distances.
  const int R = static_cast<int>(dist.size());
  const int N = 3 * V;
  auto residuals = [&](const Eigen::VectorXd& x, Eigen::VectorXd& r) {
    r.resize(R);
    for (int k = 0; k < R; ++k)
      r(k) = (x.segment<3>(3 * dist[k].u) - x.segment<3>(3 * dist[k].w)).norm() - dist[k].d;
  };
  auto solve = [&](Eigen::VectorXd x, Eigen::VectorXd& result) -> bool {
    Eigen::VectorXd r;
    residuals(x, r);
    double cost = r.squaredNorm();
    Eigen::SparseMatrix<double> J(R, N);
    std::vector<Eigen::Triplet<double>> trip;
    Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> ldlt;
    double lambda = -1;
    Eigen::SparseMatrix<double> I(N, N);
    I.setIdentity();
    for (int iter = 0; iter < effort.iterations; ++iter) {
      if (r.cwiseAbs().maxCoeff() < 1e-10 * size) break;
      if (Clock::now() > deadline) return false;
      trip.clear();
      for (int k = 0; k < R; ++k) {
        Vector3d g = x.segment<3>(3 * dist[k].u) - x.segment<3>(3 * dist[k].w);
        const double len = g.norm();
        g = len > 1e-15 ? Vector3d(g / len) : Vector3d(1, 0, 0);
        for (int d = 0; d < 3; ++d) {
          trip.emplace_back(k, 3 * dist[k].u + d, g(d));
          trip.emplace_back(k, 3 * dist[k].w + d, -g(d));
        }
      }
      J.setFromTriplets(trip.begin(), trip.end());
      const Eigen::SparseMatrix<double> A = J.transpose() * J;
      const Eigen::VectorXd grad = J.transpose() * r;
      if (lambda < 0) lambda = 1e-3 * A.diagonal().mean();
      bool improved = false;
      while (!improved) {
        const Eigen::SparseMatrix<double> H = A + lambda * I;
        // The pattern can change when a term vanishes, so it is analysed afresh.
        ldlt.compute(H);
        if (ldlt.info() != Eigen::Success) {
          lambda *= 4;
          if (lambda > 1e12) {
            iter = 1000;
            break;
          }
          continue;
        }
        const Eigen::VectorXd step = -ldlt.solve(grad);
        const Eigen::VectorXd xn = x + step;
        Eigen::VectorXd rn;
        residuals(xn, rn);
        const double costN = rn.squaredNorm();
        if (costN < cost) {
          x = xn;
          r = rn;
          const double gain = cost - costN;
          cost = costN;
          lambda = std::max(lambda / 3, 1e-15);
          improved = true;
          if (gain < 1e-30) iter = 1000;
        } else {
          lambda *= 4;
          if (lambda > 1e12 * (1 + A.diagonal().mean())) {
            iter = 1000;  // no further progress: judge what was reached
            break;
          }
        }
      }
    }
    result = x;
    return r.cwiseAbs().maxCoeff() < 1e-7 * size;
  };

  Eigen::VectorXd x;
  bool placed = solve(x0, x);
  std::mt19937 random(12345);
  for (int attempt = 0; attempt < effort.restarts && !placed; ++attempt) {
    if (Clock::now() > deadline) return Fail(why, "time");
    std::normal_distribution<double> noise(0.0, 0.3 * size);
    Eigen::VectorXd start = x0;
    for (int i = 0; i < N; ++i) start(i) += noise(random);
    placed = solve(start, x);
  }
  if (!placed) return Fail(why, "no placement");

  std::vector<Vector3d> P(V);
  for (int v = 0; v < V; ++v) P[v] = x.segment<3>(3 * v);
  auto facePoint = [&](int f, int k) { return P[cls({f, k})]; };
  // Outward orientation: counter-clockwise corners seen from outside.
  double volume = 0;
  for (int f = 0; f < F; ++f) {
    const int n = static_cast<int>(net.faces[f].p.size());
    for (int k = 1; k + 1 < n; ++k) volume += facePoint(f, 0).dot(facePoint(f, k).cross(facePoint(f, k + 1))) / 6;
  }
  if (std::fabs(volume) < 1e-6 * size * size * size) return Fail(why, "flat");
  if (volume < 0)
    for (Vector3d& p : P) p.x() = -p.x();
  out.volume = std::fabs(volume);

  std::vector<Vector3d> normal(F);
  for (int f = 0; f < F; ++f) {
    const int n = static_cast<int>(net.faces[f].p.size());
    Vector3d s = Vector3d::Zero();
    for (int k = 0; k < n; ++k) s += facePoint(f, k).cross(facePoint(f, (k + 1) % n));
    normal[f] = s.normalized();
  }
  std::vector<double> dihedral(edges.size());
  for (size_t i = 0; i < edges.size(); ++i) {
    const SolidEdge& e = edges[i];
    const Vector3d dir = (P[e.w] - P[e.u]).normalized();
    const Vector3d& nf = normal[e.side1.face];
    const Vector3d& ng = normal[e.side2.face];
    dihedral[i] = kPi - std::atan2(nf.cross(ng).dot(dir), nf.dot(ng));
    if (dihedral[i] < 1e-6 || dihedral[i] > 2 * kPi - 1e-6) return Fail(why, "faces folded onto each other");
  }

  // The surface must not pass through itself.
  {
    struct Tri {
      int face;
      Vector3d p[3];
      Vector3d lo, hi;
    };
    std::vector<Tri> tris;
    for (int f = 0; f < F; ++f)
      for (const auto& t : Triangulate(net.faces[f].p)) {
        Tri tri{f, {facePoint(f, t[0]), facePoint(f, t[1]), facePoint(f, t[2])}, {}, {}};
        tri.lo = tri.p[0].cwiseMin(tri.p[1]).cwiseMin(tri.p[2]);
        tri.hi = tri.p[0].cwiseMax(tri.p[1]).cwiseMax(tri.p[2]);
        tris.push_back(tri);
      }
    const double eps = 1e-7 * size;
    for (size_t i = 0; i < tris.size(); ++i)
      for (size_t j = i + 1; j < tris.size(); ++j) {
        const Tri& s = tris[i];
        const Tri& t = tris[j];
        if (s.face == t.face) continue;
        if ((s.lo.array() > t.hi.array() + eps).any() || (t.lo.array() > s.hi.array() + eps).any()) continue;
        for (int k = 0; k < 3; ++k) {
          if (Pierces(s.p[k], s.p[(k + 1) % 3], t.p[0], t.p[1], t.p[2], eps) ||
              Pierces(t.p[k], t.p[(k + 1) % 3], s.p[0], s.p[1], s.p[2], eps))
            return Fail(why, "surface crosses itself");
        }
      }
  }

  // Convex when every corner lies on the inner side of every face.
  out.convex = true;
  for (int f = 0; f < F && out.convex; ++f) {
    const Vector3d base = facePoint(f, 0);
    for (int v = 0; v < V; ++v)
      if ((P[v] - base).dot(normal[f]) > 1e-7 * size) {
        out.convex = false;
        break;
      }
  }

  // Counts, with faces that lie flat against each other taken as one.
  {
    UnionFind faceGroups(F);
    int groups = F;
    std::vector<std::vector<int>> bent(V);
    int bentEdges = 0;
    for (size_t i = 0; i < edges.size(); ++i) {
      if (std::fabs(dihedral[i] - kPi) < 1e-7) {
        if (faceGroups.Unite(edges[i].side1.face, edges[i].side2.face)) --groups;
      } else {
        ++bentEdges;
        bent[edges[i].u].push_back(static_cast<int>(i));
        bent[edges[i].w].push_back(static_cast<int>(i));
      }
    }
    int corners = 0, straight = 0;
    for (int v = 0; v < V; ++v) {
      if (bent[v].empty()) continue;
      if (bent[v].size() == 2) {
        auto away = [&](int e) {
          const int other = edges[e].u == v ? edges[e].w : edges[e].u;
          return Vector3d((P[other] - P[v]).normalized());
        };
        if (away(bent[v][0]).dot(away(bent[v][1])) < -1 + 1e-9) {
          ++straight;
          continue;
        }
      }
      ++corners;
    }
    out.faces = groups;
    out.edges = bentEdges - straight;
    out.vertices = corners;
  }

  out.corners.assign(F, {});
  for (int f = 0; f < F; ++f)
    for (int k = 0; k < static_cast<int>(net.faces[f].p.size()); ++k) out.corners[f].push_back(facePoint(f, k));
  const size_t H = net.hinges.size();
  out.hingeDihedral.assign(dihedral.begin(), dihedral.begin() + static_cast<long>(H));
  out.chordDihedral.assign(dihedral.begin() + static_cast<long>(H), dihedral.end());
  return true;
}

}  // namespace didod::foldnet
