#pragma once
// Gluings of the outline: pairs of free edges of equal length that nest like
// parentheses, with at most a given angle gathered at every glued vertex.
// Counted by dynamic programming over stretches of the outline and listed
// without dead ends.
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "fold/net_complex.h"

namespace didod::foldnet {

using Clock = std::chrono::steady_clock;

struct Chord {
  int a = 0;  // outline edge, a < b
  int b = 0;
};

// A kind of glued vertex: the angle it gathers and its number of face corners.
struct VertexKind {
  double angle = 0;
  int corners = 0;
};

class GluingSearch {
 public:
  // angleLimit: the most angle a glued vertex may gather (2 pi for convex
  // solids). With `only`, every glued vertex must be of one of those kinds.
  // Stops early (Finished() false) when the deadline passes.
  GluingSearch(const NetComplex& net, double angleLimit, Clock::time_point deadline,
               std::vector<VertexKind> only = {});

  // The kinds of glued vertex met while counting.
  std::vector<VertexKind> KindsMet() const;

  bool Finished() const { return finished_; }
  // Number of gluings, saturated at about 1e18.
  std::int64_t Count() const { return total_; }

  // Calls visit for every gluing (chords in no particular order) until it
  // returns false or the deadline passes. Returns true when all were listed.
  bool List(const std::function<bool(const std::vector<Chord>&)>& visit);

  // Whether the glued vertex gathering these angles can be a corner of a solid
  // made of rigid flat faces.
  static bool VertexPossible(double angle, double maxAngle, double limit);

 private:
  struct State {
    double angle;
    double maxAngle;
    int corners;
    std::int64_t count;
  };
  enum class Kind { Interval, Block };
  struct Task {
    Kind kind;
    int a;
    int b;
    double angle;
    double maxAngle;
    int corners;
  };

  bool Closes(double angle, double maxAngle, int corners) const;
  bool ChordAllowed(int a, int m) const;
  std::vector<State>& S(int a, int b) { return table_[static_cast<size_t>(a) * n_ + b]; }
  const std::vector<State>& S(int a, int b) const { return table_[static_cast<size_t>(a) * n_ + b]; }
  std::int64_t& B(int a, int b) { return block_[static_cast<size_t>(a) * n_ + b]; }
  std::int64_t B(int a, int b) const { return block_[static_cast<size_t>(a) * n_ + b]; }
  std::int64_t BlockCount(int a, int m) const;
  bool Step(std::vector<Task>& pending);
  bool TimeUp();

  const NetComplex& net_;
  int n_ = 0;
  int faceCount_ = 0;
  double limit_ = 0;
  Clock::time_point deadline_;
  bool finished_ = false;
  std::int64_t total_ = 0;
  std::vector<std::vector<State>> table_;
  std::vector<std::int64_t> block_;
  std::vector<char> hinged_;  // face pairs that share a hinge
  std::vector<int> glued_;    // face pairs glued so far while listing
  std::vector<Chord> chords_;
  const std::function<bool(const std::vector<Chord>&)>* visit_ = nullptr;
  bool stopped_ = false;
  std::vector<VertexKind> only_;
  mutable std::vector<VertexKind> met_;
  int ticks_ = 0;
};

}  // namespace didod::foldnet
