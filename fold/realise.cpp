#include "fold/realise.h"

#include <Eigen/Dense>
#include <Eigen/Sparse>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <unordered_map>

#include "fold/tuning.h"
#include "fold/union_find.h"
#include "geometry/triangulate.h"

namespace didod::foldnet {
namespace {

using Eigen::Vector3d;
using Eigen::VectorXd;
using SparseMatrix = Eigen::SparseMatrix<double>;
using Ldlt = Eigen::SimplicialLDLT<SparseMatrix>;
constexpr double kPi = std::numbers::pi;

struct SolidEdge {
  int u = 0, w = 0;  // glued vertices, u -> w along side1
  Corner side1, side2;
};

// A distance between two glued vertices that a face holds fixed.
struct Bar {
  int u = 0, w = 0;
  double d = 0;
};

// --- Least squares on the bar lengths ---

void Residuals(const std::vector<Bar>& bars, const VectorXd& x, VectorXd& r) {
  r.resize(static_cast<Eigen::Index>(bars.size()));
  for (size_t k = 0; k < bars.size(); ++k)
    r(k) = (x.segment<3>(3 * bars[k].u) - x.segment<3>(3 * bars[k].w)).norm() - bars[k].d;
}

void Jacobian(const std::vector<Bar>& bars, const VectorXd& x, std::vector<Eigen::Triplet<double>>& trip,
              SparseMatrix& J) {
  trip.clear();
  for (size_t k = 0; k < bars.size(); ++k) {
    Vector3d g = x.segment<3>(3 * bars[k].u) - x.segment<3>(3 * bars[k].w);
    const double len = g.norm();
    g = len > 1e-15 ? Vector3d(g / len) : Vector3d(1, 0, 0);
    for (int d = 0; d < 3; ++d) {
      trip.emplace_back(static_cast<int>(k), 3 * bars[k].u + d, g(d));
      trip.emplace_back(static_cast<int>(k), 3 * bars[k].w + d, -g(d));
    }
  }
  J.setFromTriplets(trip.begin(), trip.end());
}

// One damped step: the damping rises until a step lowers the cost. False when
// no step helps any more (or the deadline passed).
bool DampedStep(const SparseMatrix& A, const VectorXd& grad, const std::vector<Bar>& bars, const Deadline& deadline,
                VectorXd& x, VectorXd& r, double& cost, double& lambda, Ldlt& ldlt) {
  const FoldTuning& t = kTuning;
  SparseMatrix I(A.rows(), A.cols());
  I.setIdentity();
  const double giveUp = t.dampingGiveUp * (1 + A.diagonal().mean());
  VectorXd rn;
  while (!deadline.Passed()) {
    // The pattern can change when a term vanishes, so it is analysed afresh.
    ldlt.compute(A + lambda * I);
    if (ldlt.info() != Eigen::Success) {
      lambda *= t.dampingUp;
      if (lambda > t.dampingGiveUp) return false;
      continue;
    }
    const VectorXd xn = x - ldlt.solve(grad);
    Residuals(bars, xn, rn);
    const double costN = rn.squaredNorm();
    if (costN < cost) {
      const double gain = cost - costN;
      x = xn;
      r = rn;
      cost = costN;
      lambda = std::max(lambda / t.dampingDown, t.dampingFloor);
      return gain >= t.leastGain;
    }
    lambda *= t.dampingUp;
    if (lambda > giveUp) return false;
  }
  return false;
}

// Levenberg-Marquardt from x; true when every bar has its length.
bool Descend(const std::vector<Bar>& bars, double size, int iterations, const Deadline& deadline, VectorXd& x) {
  VectorXd r;
  Residuals(bars, x, r);
  double cost = r.squaredNorm();
  SparseMatrix J(static_cast<Eigen::Index>(bars.size()), x.size());
  std::vector<Eigen::Triplet<double>> trip;
  Ldlt ldlt;
  double lambda = -1;
  for (int iter = 0; iter < iterations; ++iter) {
    if (r.cwiseAbs().maxCoeff() < kTuning.converged * size || deadline.Passed()) break;
    Jacobian(bars, x, trip, J);
    const SparseMatrix A = J.transpose() * J;
    const VectorXd grad = J.transpose() * r;
    if (lambda < 0) lambda = kTuning.dampingStart * A.diagonal().mean();
    if (!DampedStep(A, grad, bars, deadline, x, r, cost, lambda, ldlt)) break;
  }
  return !deadline.Passed() && r.cwiseAbs().maxCoeff() < kTuning.accepted * size;
}

// The k largest eigenvalues of the symmetric matrix B, largest first, with
// their eigenvectors as columns. The symmetric QR iteration stalls now and
// then on matrices with many equal eigenvalues (nets of very symmetric
// solids); the singular value decomposition by Jacobi rotations always
// converges, and for a symmetric matrix its singular vectors are the
// eigenvectors, with the sign of the eigenvalue in u . v.
void LargestEigenpairs(const Eigen::MatrixXd& B, int k, Eigen::MatrixXd& vectors, VectorXd& values) {
  k = std::min<int>(k, static_cast<int>(B.rows()));
  const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> eig(B);
  if (eig.info() == Eigen::Success) {
    vectors = eig.eigenvectors().rightCols(k).rowwise().reverse();
    values = eig.eigenvalues().tail(k).reverse();
    return;
  }
  const Eigen::JacobiSVD<Eigen::MatrixXd> svd(B, Eigen::ComputeThinU | Eigen::ComputeThinV);
  std::vector<std::pair<double, int>> order;
  for (int i = 0; i < static_cast<int>(B.rows()); ++i)
    order.push_back({svd.singularValues()(i) * (svd.matrixU().col(i).dot(svd.matrixV().col(i)) < 0 ? -1 : 1), i});
  std::sort(order.begin(), order.end(), std::greater<>());
  vectors.resize(B.rows(), k);
  values.resize(k);
  for (int d = 0; d < k; ++d) {
    values(d) = order[d].first;
    vectors.col(d) = svd.matrixU().col(order[d].second);
  }
}

// --- The surface must not pass through or lie on itself ---

struct Tri {
  int face = 0;
  Vector3d p[3];
  Vector3d lo, hi, n;
};

// Whether segment p-q passes through the inside of triangle t, away from its
// outline and its own ends.
bool Pierces(const Vector3d& p, const Vector3d& q, const Tri& t, double eps) {
  const double dp = t.n.dot(p - t.p[0]), dq = t.n.dot(q - t.p[0]);
  if (!((dp > eps && dq < -eps) || (dp < -eps && dq > eps))) return false;
  const Vector3d x = p + dp / (dp - dq) * (q - p);
  // Barycentric coordinates through sub-areas.
  const double area = t.n.dot((t.p[1] - t.p[0]).cross(t.p[2] - t.p[0]));
  const double wa = t.n.dot((t.p[1] - x).cross(t.p[2] - x)) / area;
  const double wb = t.n.dot((t.p[2] - x).cross(t.p[0] - x)) / area;
  const double e = eps / std::sqrt(area);
  return wa > e && wb > e && 1 - wa - wb > e;
}

// Whether s and t lie in one plane (within tol) and overlap there by more than
// tol: one face folded onto another, or two faces pressed together.
bool LieOnEachOther(const Tri& s, const Tri& t, double tol) {
  for (const Vector3d& q : t.p)
    if (std::fabs(s.n.dot(q - s.p[0])) > tol) return false;
  for (const Vector3d& q : s.p)
    if (std::fabs(t.n.dot(q - t.p[0])) > tol) return false;
  const Vector3d u = (s.p[1] - s.p[0]).normalized(), v = s.n.cross(u);
  geo::Vec2 a[3], b[3];
  for (int i = 0; i < 3; ++i) {
    a[i] = {u.dot(s.p[i] - s.p[0]), v.dot(s.p[i] - s.p[0])};
    b[i] = {u.dot(t.p[i] - s.p[0]), v.dot(t.p[i] - s.p[0])};
  }
  // Separating axes: the edge normals of both triangles.
  for (const geo::Vec2* x : {a, b})
    for (int i = 0; i < 3; ++i) {
      const geo::Vec2 e = x[(i + 1) % 3] - x[i];
      const geo::Vec2 axis = geo::Vec2{-e.y, e.x} / geo::Norm(e);
      double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
      for (int k = 0; k < 3; ++k) {
        lo[0] = std::min(lo[0], geo::Dot(axis, a[k]));
        hi[0] = std::max(hi[0], geo::Dot(axis, a[k]));
        lo[1] = std::min(lo[1], geo::Dot(axis, b[k]));
        hi[1] = std::max(hi[1], geo::Dot(axis, b[k]));
      }
      if (std::min(hi[0], hi[1]) - std::max(lo[0], lo[1]) <= tol) return false;
    }
  return true;
}

// The stages of placing one gluing, over the state they share.
class Placer {
 public:
  Placer(const NetComplex& net, std::span<const Chord> chords, const Deadline& deadline, Effort effort)
      : net_(net), chords_(chords), deadline_(deadline), effort_(effort), F_(static_cast<int>(net.faces.size())) {}

  bool Run(Solid& out) {
    return GlueCorners() && CollectEdges() && CornerAnglesAgree() && CollectBars() && StartingPoint() && Place() &&
           Orient() && Dihedrals() && SurfaceClear() && Finish(out);
  }

 private:
  int Cls(Corner c) const { return cls_[c.face][c.k]; }
  const Vector3d& At(int f, int k) const { return P_[cls_[f][k]]; }

  bool GlueCorners();
  bool CollectEdges();
  bool CornerAnglesAgree();
  bool CollectBars();
  bool StartingPoint();
  bool Place();
  bool Orient();
  bool Dihedrals();
  bool SurfaceClear();
  bool Finish(Solid& out);
  void Count(Solid& out) const;

  const NetComplex& net_;
  std::span<const Chord> chords_;
  const Deadline& deadline_;
  const Effort effort_;
  const int F_;
  int V_ = 0;                           // glued vertices
  std::vector<std::vector<int>> cls_;   // glued vertex of each face corner
  std::vector<SolidEdge> edges_;        // hinges, then chords
  std::vector<std::vector<int>> edgeOf_;
  std::vector<Bar> bars_;
  VectorXd x0_, x_;
  std::vector<Vector3d> P_;
  std::vector<Vector3d> normal_;
  std::vector<double> dihedral_;
  double volume_ = 0;
};

bool Placer::GlueCorners() {
  UnionFind uf(net_.vertexCount);
  for (const Chord& ch : chords_) {
    const Corner a = net_.edges[ch.a].edge, b = net_.edges[ch.b].edge;
    uf.Unite(net_.VertexOf(a), net_.VertexOf(net_.Next(b)));
    uf.Unite(net_.VertexOf(net_.Next(a)), net_.VertexOf(b));
  }
  std::vector<int> classOfRoot(net_.vertexCount, -1);
  for (int v = 0; v < net_.vertexCount; ++v)
    if (classOfRoot[uf.Find(v)] < 0) classOfRoot[uf.Find(v)] = V_++;
  cls_.resize(F_);
  std::vector<int> seen;
  for (int f = 0; f < F_; ++f) {
    for (int v : net_.faces[f].vertex) cls_[f].push_back(classOfRoot[uf.Find(v)]);
    seen = cls_[f];
    std::sort(seen.begin(), seen.end());
    if (std::adjacent_find(seen.begin(), seen.end()) != seen.end()) return false;  // two corners of a face meet
  }
  return true;
}

// Edges of the solid; none may collapse, no two may join the same corners.
bool Placer::CollectEdges() {
  for (const HingeRec& h : net_.hinges) edges_.push_back({Cls(h.a), Cls(net_.Next(h.a)), h.a, h.b});
  for (const Chord& ch : chords_) {
    const Corner a = net_.edges[ch.a].edge, b = net_.edges[ch.b].edge;
    edges_.push_back({Cls(a), Cls(net_.Next(a)), a, b});
  }
  edgeOf_.resize(F_);
  for (int f = 0; f < F_; ++f) edgeOf_[f].assign(net_.faces[f].Size(), -1);
  std::unordered_map<long long, int> byEnds;
  for (size_t i = 0; i < edges_.size(); ++i) {
    const SolidEdge& e = edges_[i];
    if (e.u == e.w) return false;
    const long long key = static_cast<long long>(std::min(e.u, e.w)) * V_ + std::max(e.u, e.w);
    if (!byEnds.emplace(key, static_cast<int>(i)).second) return false;
    edgeOf_[e.side1.face][e.side1.k] = static_cast<int>(i);
    edgeOf_[e.side2.face][e.side2.k] = static_cast<int>(i);
  }
  return true;
}

// Corners with three convex face angles fix the angles at their edges; both
// ends of an edge must agree.
bool Placer::CornerAnglesAgree() {
  std::vector<std::vector<Corner>> at(V_);
  for (int f = 0; f < F_; ++f)
    for (int k = 0; k < net_.faces[f].Size(); ++k) at[cls_[f][k]].push_back({f, k});
  std::vector<double> cosAt(edges_.size(), 2.0);
  for (const auto& corners : at) {
    if (corners.size() != 3) continue;
    double ang[3];
    for (int i = 0; i < 3; ++i) ang[i] = net_.faces[corners[i].face].angle[corners[i].k];
    if (std::any_of(ang, ang + 3, [](double a) { return a >= kPi - kTuning.angleEps; })) continue;
    for (int i = 0; i < 3; ++i) {
      const Corner y = corners[(i + 1) % 3], z = corners[(i + 2) % 3];
      const int ny = net_.faces[y.face].Size(), nz = net_.faces[z.face].Size();
      const int ey[2] = {edgeOf_[y.face][y.k], edgeOf_[y.face][(y.k + ny - 1) % ny]};
      const int ez[2] = {edgeOf_[z.face][z.k], edgeOf_[z.face][(z.k + nz - 1) % nz]};
      int common = -1;
      for (int p : ey)
        for (int q : ez)
          if (p == q) common = p;
      if (common < 0) continue;
      const double x = ang[i], a = ang[(i + 1) % 3], b = ang[(i + 2) % 3];
      const double c = (std::cos(x) - std::cos(a) * std::cos(b)) / (std::sin(a) * std::sin(b));
      if (cosAt[common] <= 1.5 && std::fabs(cosAt[common] - c) > kTuning.cosAgree) return false;
      cosAt[common] = c;
    }
  }
  return true;
}

// Every pair of corners of a face holds a distance; faces sharing two glued
// vertices must agree on it.
bool Placer::CollectBars() {
  std::unordered_map<long long, int> index;
  for (int f = 0; f < F_; ++f) {
    const Face& face = net_.faces[f];
    for (int k = 0; k < face.Size(); ++k)
      for (int l = k + 1; l < face.Size(); ++l) {
        const int u = std::min(cls_[f][k], cls_[f][l]), w = std::max(cls_[f][k], cls_[f][l]);
        const double d = geo::Distance(face.p[k], face.p[l]);
        const auto [it, fresh] = index.emplace(static_cast<long long>(u) * V_ + w, static_cast<int>(bars_.size()));
        if (fresh)
          bars_.push_back({u, w, d});
        else if (std::fabs(bars_[it->second].d - d) > kTuning.distanceAgree * net_.size)
          return false;
      }
  }
  return true;
}

// Distances along the surface, bent onto a sphere of the surface's area and
// placed in space by classical multidimensional scaling.
bool Placer::StartingPoint() {
  Eigen::MatrixXd D = Eigen::MatrixXd::Constant(V_, V_, 1e300);
  for (int v = 0; v < V_; ++v) D(v, v) = 0;
  for (const Bar& b : bars_) D(b.u, b.w) = D(b.w, b.u) = std::min(D(b.u, b.w), b.d);
  for (int k = 0; k < V_; ++k) {
    if (deadline_.Passed()) return false;
    for (int i = 0; i < V_; ++i) {
      const double dik = D(i, k);
      if (dik >= 1e299) continue;
      for (int j = 0; j < V_; ++j) D(i, j) = std::min(D(i, j), dik + D(k, j));
    }
  }
  if (D.maxCoeff() >= 1e299) return false;  // not connected
  double area = 0;
  for (const Face& face : net_.faces)
    for (int k = 0; k < face.Size(); ++k) area += geo::Cross(face.p[k], face.p[(k + 1) % face.Size()]) / 2;
  const double radius = std::sqrt(area / (4 * kPi));
  D = D.unaryExpr([radius](double d) { return 2 * radius * std::sin(std::min(d / (2 * radius), kPi / 2)); });
  Eigen::MatrixXd B = D.cwiseProduct(D);
  const VectorXd rowMean = B.rowwise().mean();
  const double mean = rowMean.mean();
  for (int i = 0; i < V_; ++i)
    for (int j = 0; j < V_; ++j) B(i, j) = -0.5 * (B(i, j) - rowMean(i) - rowMean(j) + mean);
  if (deadline_.Passed()) return false;
  Eigen::MatrixXd axes;
  VectorXd lengths;
  LargestEigenpairs(B, 3, axes, lengths);
  x0_.resize(3 * V_);
  for (int v = 0; v < V_; ++v)
    for (int d = 0; d < 3; ++d) {
      const double lambda = d < lengths.size() ? std::max(lengths(d), 1e-6 * net_.size * net_.size) : 1e-6;
      x0_(3 * v + d) = d < lengths.size() ? axes(v, d) * std::sqrt(lambda) : 0.0;
    }
  return true;
}

// Descends from the start, then from shaken copies of it.
bool Placer::Place() {
  x_ = x0_;
  if (Descend(bars_, net_.size, effort_.iterations, deadline_, x_)) return true;
  std::mt19937 random(kTuning.restartSeed);
  std::normal_distribution<double> noise(0.0, kTuning.restartNoise * net_.size);
  for (int attempt = 0; attempt < effort_.restarts && !deadline_.Passed(); ++attempt) {
    x_ = x0_;
    for (Eigen::Index i = 0; i < x_.size(); ++i) x_(i) += noise(random);
    if (Descend(bars_, net_.size, effort_.iterations, deadline_, x_)) return true;
  }
  return false;
}

// Outward orientation: counter-clockwise corners seen from outside.
bool Placer::Orient() {
  P_.resize(V_);
  for (int v = 0; v < V_; ++v) P_[v] = x_.segment<3>(3 * v);
  double volume = 0;
  for (int f = 0; f < F_; ++f)
    for (int k = 1; k + 1 < net_.faces[f].Size(); ++k) volume += At(f, 0).dot(At(f, k).cross(At(f, k + 1))) / 6;
  const double size = net_.size;
  if (!(std::fabs(volume) >= kTuning.flatVolume * size * size * size)) return false;
  if (volume < 0)
    for (Vector3d& p : P_) p.x() = -p.x();
  volume_ = std::fabs(volume);
  return true;
}

bool Placer::Dihedrals() {
  normal_.resize(F_);
  for (int f = 0; f < F_; ++f) {
    Vector3d s = Vector3d::Zero();
    for (int k = 0; k < net_.faces[f].Size(); ++k) s += At(f, k).cross(At(f, (k + 1) % net_.faces[f].Size()));
    normal_[f] = s.normalized();
  }
  dihedral_.resize(edges_.size());
  for (size_t i = 0; i < edges_.size(); ++i) {
    const SolidEdge& e = edges_[i];
    const Vector3d dir = (P_[e.w] - P_[e.u]).normalized();
    const Vector3d& nf = normal_[e.side1.face];
    const Vector3d& ng = normal_[e.side2.face];
    dihedral_[i] = kPi - std::atan2(nf.cross(ng).dot(dir), nf.dot(ng));
    if (!std::isfinite(dihedral_[i])) return false;
  }
  return true;
}

bool Placer::SurfaceClear() {
  std::vector<Tri> tris;
  for (int f = 0; f < F_; ++f)
    for (const auto& t : geo::Triangulate(net_.faces[f].p)) {
      Tri tri{f, {At(f, t[0]), At(f, t[1]), At(f, t[2])}, {}, {}, {}};
      const Vector3d n = (tri.p[1] - tri.p[0]).cross(tri.p[2] - tri.p[0]);
      if (!(n.norm() > 0)) continue;
      tri.n = n.normalized();
      tri.lo = tri.p[0].cwiseMin(tri.p[1]).cwiseMin(tri.p[2]);
      tri.hi = tri.p[0].cwiseMax(tri.p[1]).cwiseMax(tri.p[2]);
      tris.push_back(tri);
    }
  const double eps = kTuning.pierceEps * net_.size, flat = kTuning.lyingFlat * net_.size;
  for (size_t i = 0; i < tris.size(); ++i) {
    if (deadline_.Passed()) return false;
    for (size_t j = i + 1; j < tris.size(); ++j) {
      const Tri& s = tris[i];
      const Tri& t = tris[j];
      if (s.face == t.face) continue;
      if ((s.lo.array() > t.hi.array() + flat).any() || (t.lo.array() > s.hi.array() + flat).any()) continue;
      for (int k = 0; k < 3; ++k)
        if (Pierces(s.p[k], s.p[(k + 1) % 3], t, eps) || Pierces(t.p[k], t.p[(k + 1) % 3], s, eps)) return false;
      if (LieOnEachOther(s, t, flat)) return false;
    }
  }
  return true;
}

// Counts, with faces that lie flat against each other taken as one, and
// corners where two edges continue each other taken as none.
void Placer::Count(Solid& out) const {
  UnionFind faceGroups(F_);
  int groups = F_;
  std::vector<std::vector<int>> bent(V_);
  int bentEdges = 0;
  for (size_t i = 0; i < edges_.size(); ++i) {
    if (std::fabs(dihedral_[i] - kPi) < kTuning.coplanar) {
      if (faceGroups.Unite(edges_[i].side1.face, edges_[i].side2.face)) --groups;
    } else {
      ++bentEdges;
      bent[edges_[i].u].push_back(static_cast<int>(i));
      bent[edges_[i].w].push_back(static_cast<int>(i));
    }
  }
  int corners = 0, straight = 0;
  for (int v = 0; v < V_; ++v) {
    if (bent[v].empty()) continue;
    auto away = [&](int e) {
      const int other = edges_[e].u == v ? edges_[e].w : edges_[e].u;
      return Vector3d((P_[other] - P_[v]).normalized());
    };
    if (bent[v].size() == 2 && away(bent[v][0]).dot(away(bent[v][1])) < -1 + kTuning.straight)
      ++straight;
    else
      ++corners;
  }
  out.faces = groups;
  out.edges = bentEdges - straight;
  out.vertices = corners;
}

bool Placer::Finish(Solid& out) {
  // Convex when every corner lies on the inner side of every face.
  out.convex = true;
  for (int f = 0; f < F_ && out.convex; ++f)
    for (int v = 0; v < V_ && out.convex; ++v)
      if ((P_[v] - At(f, 0)).dot(normal_[f]) > kTuning.convexSlack * net_.size) out.convex = false;
  out.volume = volume_;
  Count(out);
  out.corners.assign(F_, {});
  for (int f = 0; f < F_; ++f)
    for (int k = 0; k < net_.faces[f].Size(); ++k) out.corners[f].push_back({At(f, k).x(), At(f, k).y(), At(f, k).z()});
  const auto H = static_cast<std::ptrdiff_t>(net_.hinges.size());
  out.hingeDihedral.assign(dihedral_.begin(), dihedral_.begin() + H);
  out.chordDihedral.assign(dihedral_.begin() + H, dihedral_.end());
  return true;
}

}  // namespace

bool Realise(const NetComplex& net, std::span<const Chord> chords, const Deadline& deadline, Effort effort,
             Solid& out) {
  return Placer(net, chords, deadline, effort).Run(out);
}

}  // namespace didod::foldnet
