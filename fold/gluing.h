#pragma once
// Gluings of the outline: pairs of free edges of equal length that nest like
// parentheses, with at most a given angle gathered at every glued vertex.
// Counted by dynamic programming over stretches of the outline and listed
// without dead ends. One search object can count again under other limits;
// its tables are kept, so that counting and listing allocate nothing once
// they have grown.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "fold/deadline.h"
#include "fold/net_complex.h"

namespace didod::foldnet {

struct Chord {
  int a = 0;  // outline edge, a < b
  int b = 0;
  bool operator==(const Chord&) const = default;
};

// A kind of glued vertex: the angle it gathers and its number of face corners.
struct VertexKind {
  double angle = 0;
  int corners = 0;
};

class GluingSearch {
 public:
  explicit GluingSearch(const NetComplex& net);

  // Counts the gluings in which every glued vertex gathers at most
  // `angleLimit` (2 pi for convex solids) and, when `only` is not empty, is of
  // one of those kinds. False (and nothing to list) when the deadline passed.
  bool Count(double angleLimit, const Deadline& deadline, std::span<const VertexKind> only = {});

  // Number of gluings of the last count, saturated at about 1e18.
  std::int64_t Total() const { return total_; }
  bool Counted() const { return counted_; }
  // The kinds of glued vertex met while counting without `only`.
  const std::vector<VertexKind>& KindsMet() const { return met_; }

  // Calls visit for every gluing of the last count (chords in no particular
  // order) until it returns false or the deadline passes. True when all were
  // listed.
  using Visit = std::function<bool(std::span<const Chord>)>;
  bool List(const Visit& visit, const Deadline& deadline);

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
  struct Cell {
    int begin = 0;
    int size = 0;
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
  std::span<const State> S(int a, int b) const {
    const Cell& c = cells_[static_cast<size_t>(a) * n_ + b];
    return {pool_.data() + c.begin, static_cast<size_t>(c.size)};
  }
  std::int64_t& B(int a, int b) { return block_[static_cast<size_t>(a) * n_ + b]; }
  std::int64_t B(int a, int b) const { return block_[static_cast<size_t>(a) * n_ + b]; }
  std::int64_t BlockCount(int a, int m) const;
  void FillStretch(int a, int b);
  void CountWhole();
  bool Step();
  bool StepBlock(const Task& t);
  bool StepInterval(const Task& t);

  const NetComplex& net_;
  int n_ = 0;
  int faceCount_ = 0;
  double limit_ = 0;
  std::vector<VertexKind> only_;
  bool counted_ = false;
  std::int64_t total_ = 0;
  std::vector<Cell> cells_;
  std::vector<State> pool_;
  std::vector<State> scratch_;
  std::vector<std::int64_t> block_;
  std::vector<char> hinged_;  // face pairs that share a hinge
  mutable std::vector<VertexKind> met_;
  // While listing.
  std::vector<int> glued_;  // face pairs glued so far
  std::vector<Chord> chords_;
  std::vector<Task> pending_;
  const Visit* visit_ = nullptr;
  DeadlineTicker<256>* ticker_ = nullptr;
  bool stopped_ = false;
};

}  // namespace didod::foldnet
