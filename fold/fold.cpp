#include "fold/fold.h"

#include <Eigen/Dense>
#include <chrono>
#include <cmath>
#include <numbers>
#include <queue>

#include "fold/net_complex.h"

namespace didod {
namespace {

using foldnet::NetComplex;

// The faces that stay together: a tree of hinges from the first face, which
// stays in place.
void BuildSteps(const NetComplex& net, FoldResult& r) {
  const int F = static_cast<int>(net.faces.size());
  std::vector<bool> placed(F, false);
  std::queue<int> todo;
  placed[0] = true;
  todo.push(0);
  r.steps.push_back({net.faces[0].number, 0, 0, 0, 0.0});
  while (!todo.empty()) {
    const int f = todo.front();
    todo.pop();
    const auto& face = net.faces[f];
    const int n = static_cast<int>(face.p.size());
    for (int k = 0; k < n; ++k) {
      const int h = face.hingeOf[k];
      if (h < 0) continue;
      const auto& hr = net.hinges[h];
      const foldnet::Corner child = hr.a.face == f ? hr.b : hr.a;
      if (placed[child.face]) continue;
      placed[child.face] = true;
      const auto& cf = net.faces[child.face];
      const int m = static_cast<int>(cf.p.size());
      FoldStep s;
      s.face = cf.number;
      s.parent = face.number;
      s.axisFrom = cf.original[child.k];
      s.axisTo = cf.original[(child.k + 1) % m];
      s.angle = r.hinges[h].dihedral - std::numbers::pi;
      r.steps.push_back(s);
      todo.push(child.face);
    }
  }
}

}  // namespace

FoldResult FoldNet(const Construction& c, const FoldOptions& options) {
  FoldResult r;
  NetComplex net;
  std::string reason;
  const bool ok = foldnet::BuildNetComplex(c, options.tolerance, net, reason);
  // The flat net is shown even when it is refused.
  if (c.IsConsistent()) {
    for (int f = 1; f <= c.FaceCount; ++f) {
      const FaceRangeResult fr = c.FaceRange(f);
      std::vector<Point3> corners;
      for (int i = fr.first; i <= fr.last; ++i) corners.push_back({c.NetPoints[i].x, c.NetPoints[i].y, 0.0});
      r.flat.push_back(std::move(corners));
    }
  }
  if (!ok) {
    r.verdict = FoldResult::Verdict::NotANet;
    r.message = "Das ist kein Netz: " + reason;
    return r;
  }
  for (const auto& h : net.hinges) r.hinges.push_back({net.Ref(h.a), net.Ref(h.b), std::numbers::pi});
  r.verdict = FoldResult::Verdict::Undecided;
  r.message = "Ob sich das Netz schließt, ließ sich nicht entscheiden.";
  BuildSteps(net, r);
  return r;
}

std::vector<std::vector<Point3>> FacesAt(const FoldResult& r, double fraction) {
  using Eigen::Vector3d;
  std::vector<std::vector<Point3>> out = r.flat;
  const int F = static_cast<int>(r.flat.size());
  struct Pose {
    Eigen::Matrix3d R = Eigen::Matrix3d::Identity();
    Vector3d t = Vector3d::Zero();
    bool set = false;
  };
  std::vector<Pose> pose(F + 1);
  auto vec = [](const Point3& p) { return Vector3d(p.x, p.y, p.z); };
  for (const FoldStep& s : r.steps) {
    if (s.face < 1 || s.face > F) continue;
    Pose& p = pose[s.face];
    if (s.parent >= 1 && s.parent <= F && pose[s.parent].set) {
      const auto& corners = r.flat[s.face - 1];
      const int n = static_cast<int>(corners.size());
      if (s.axisFrom < 0 || s.axisFrom >= n || s.axisTo < 0 || s.axisTo >= n) continue;
      const Vector3d a = vec(corners[s.axisFrom]);
      const Vector3d axis = (vec(corners[s.axisTo]) - a).normalized();
      const Eigen::Matrix3d turn = Eigen::AngleAxisd(fraction * s.angle, axis).toRotationMatrix();
      // x -> parent(turn (x - a) + a)
      p.R = pose[s.parent].R * turn;
      p.t = pose[s.parent].R * (a - turn * a) + pose[s.parent].t;
    }
    p.set = true;
    for (Point3& q : out[s.face - 1]) {
      const Vector3d v = p.R * vec(q) + p.t;
      q = {v.x(), v.y(), v.z()};
    }
  }
  return out;
}

}  // namespace didod
