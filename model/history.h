#pragma once
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "model/construction.h"

namespace didod {

// What the user sees as the construction, kept small: only the used slots.
struct ConstructionSnapshot {
  std::vector<int> FaceSizes;      // faces 1 .. FaceCount
  std::vector<NetPoint> NetPoints; // points 1 .. PointCount
  std::vector<bool> Fixed;         // points 1 .. PointCount
  std::vector<std::string> JoinList;
  double Scale = kStandardScale;

  static ConstructionSnapshot Of(const Construction& c);
  // Puts the snapshot into c (pixel positions for centre); the scale only when
  // withScale is set. The drag state of c is left alone.
  void RestoreInto(Construction& c, ViewCentre centre, bool withScale) const;
  bool operator==(const ConstructionSnapshot&) const = default;
};

// Undo and redo of the user's changes to the construction: one step per action,
// each holding the construction as it was before and after the action.
class UndoHistory {
 public:
  explicit UndoHistory(std::size_t capacity = 100) : capacity_(capacity) {}

  // Records a finished action. Drops the redo steps; forgets the oldest step
  // beyond the capacity. An action that changed nothing is not recorded.
  void Record(const std::string& label, const ConstructionSnapshot& before, const ConstructionSnapshot& after,
              bool changesScale);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  std::string UndoLabel() const { return undo_.empty() ? std::string() : undo_.back().label; }
  std::string RedoLabel() const { return redo_.empty() ? std::string() : redo_.back().label; }
  std::size_t UndoCount() const { return undo_.size(); }
  std::size_t RedoCount() const { return redo_.size(); }

  // Takes back the last step (returns false when there is none).
  bool Undo(Construction& c, ViewCentre centre);
  bool Redo(Construction& c, ViewCentre centre);
  void Clear();

  // The saved state: the construction as it is now counts as unchanged, and so
  // does any later state that undo or redo brings back to this point. A new
  // step recorded after undoing past the mark makes it unreachable.
  void MarkClean();
  bool IsClean() const { return cleanAt_ == position_; }

 private:
  struct Step {
    std::string label;
    ConstructionSnapshot before, after;
    bool changesScale = false;
  };
  std::size_t capacity_;
  std::deque<Step> undo_;
  std::vector<Step> redo_;
  // Steps applied since the history began (undo counts down, redo up), and
  // that count at the saved state, or -1 when no sequence of undo and redo
  // leads back to it.
  long long position_ = 0;
  long long cleanAt_ = 0;
};

}  // namespace didod
