#include "solids/solver.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace didod::solids {

namespace {

// Why each number has its value.
struct SolverTuning {
  // Steps of Gauss-Newton: a good guess needs five or six, a poor one more.
  int maxSteps = 60;
  // Difference step for the Jacobian, relative to the number: about the cube
  // root of the double's epsilon, the best for central differences.
  double differenceStep = 6e-6;
  // A step smaller than this (relative) changes no bit that matters any more.
  double smallestStep = 1e-16;
  // Rods must hold to this when done (unit lengths, so absolute).
  double acceptedError = 1e-13;
};

Eigen::VectorXd Residuals(const Design& d, const std::vector<double>& x) {
  const std::vector<Vec3> p = d.points(x);
  Eigen::VectorXd r(static_cast<Eigen::Index>(d.rods.size()));
  for (std::size_t i = 0; i < d.rods.size(); ++i) {
    const Rod& rod = d.rods[i];
    r[static_cast<Eigen::Index>(i)] = geo::Distance(p.at(rod.a), p.at(rod.b)) - rod.length;
  }
  return r;
}

}  // namespace

double RodError(const Design& d, const std::vector<double>& numbers) {
  return Residuals(d, numbers).cwiseAbs().maxCoeff();
}

std::vector<double> Solve(const Design& d) {
  const SolverTuning tune;
  std::vector<double> x = d.start;
  const auto n = static_cast<Eigen::Index>(x.size());
  for (int step = 0; step < tune.maxSteps; ++step) {
    const Eigen::VectorXd r = Residuals(d, x);
    Eigen::MatrixXd jacobian(r.size(), n);
    for (Eigen::Index k = 0; k < n; ++k) {
      const double h = tune.differenceStep * std::max(1.0, std::fabs(x[k]));
      std::vector<double> up = x, down = x;
      up[k] += h;
      down[k] -= h;
      jacobian.col(k) = (Residuals(d, up) - Residuals(d, down)) / (2 * h);
    }
    const Eigen::VectorXd delta = jacobian.colPivHouseholderQr().solve(-r);
    double largest = 0;
    for (Eigen::Index k = 0; k < n; ++k) {
      x[k] += delta[k];
      largest = std::max(largest, std::fabs(delta[k]) / std::max(1.0, std::fabs(x[k])));
    }
    if (!std::isfinite(largest)) break;
    if (largest < tune.smallestStep) break;
  }
  if (!(RodError(d, x) <= tune.acceptedError)) throw std::runtime_error("the measures of the solid do not close");
  return x;
}

std::vector<Vec3> SolvedPoints(const Design& d) { return d.points(Solve(d)); }

}  // namespace didod::solids
