#include "model/history.h"

namespace didod {

ConstructionSnapshot ConstructionSnapshot::Of(const Construction& c) {
  ConstructionSnapshot s;
  s.FaceSizes.assign(c.FaceSizes.begin() + 1, c.FaceSizes.begin() + 1 + c.FaceCount);
  s.NetPoints.assign(c.NetPoints.begin() + 1, c.NetPoints.begin() + 1 + c.PointCount);
  s.Fixed.reserve(c.PointCount);
  for (int i = 1; i <= c.PointCount; ++i) s.Fixed.push_back(c.ScreenPoints[i].Fixed);
  s.JoinList = c.JoinList;
  s.Scale = c.Scale;
  return s;
}

void ConstructionSnapshot::RestoreInto(Construction& c, ViewCentre centre, bool withScale) const {
  const double scale = withScale ? Scale : c.Scale;
  const int grabbed = c.GrabbedPoint;
  c.ResetConstruction();
  c.GrabbedPoint = grabbed;
  c.Scale = scale;
  c.FaceCount = static_cast<int>(FaceSizes.size());
  for (int f = 1; f <= c.FaceCount; ++f) c.FaceSizes[f] = FaceSizes[f - 1];
  c.PointCount = static_cast<int>(NetPoints.size());
  for (int i = 1; i <= c.PointCount; ++i) {
    c.NetPoints[i] = NetPoints[i - 1];
    c.ScreenPoints[i].Fixed = Fixed[i - 1];
  }
  c.JoinList = JoinList;
  c.RecomputeScreenPoints(centre);
}

void UndoHistory::Record(const std::string& label, const ConstructionSnapshot& before,
                         const ConstructionSnapshot& after, bool changesScale) {
  if (before == after) return;
  if (cleanAt_ > position_) cleanAt_ = -1;  // the saved state lay among the dropped redo steps
  redo_.clear();
  undo_.push_back({label, before, after, changesScale});
  ++position_;
  while (undo_.size() > capacity_) undo_.pop_front();
}

bool UndoHistory::Undo(Construction& c, ViewCentre centre) {
  if (undo_.empty()) return false;
  Step step = std::move(undo_.back());
  undo_.pop_back();
  step.before.RestoreInto(c, centre, step.changesScale);
  redo_.push_back(std::move(step));
  --position_;
  return true;
}

bool UndoHistory::Redo(Construction& c, ViewCentre centre) {
  if (redo_.empty()) return false;
  Step step = std::move(redo_.back());
  redo_.pop_back();
  step.after.RestoreInto(c, centre, step.changesScale);
  undo_.push_back(std::move(step));
  ++position_;
  return true;
}

void UndoHistory::Clear() {
  // The steps are gone, and with them every way back to a saved state that is
  // not the current one.
  const bool clean = IsClean();
  undo_.clear();
  redo_.clear();
  position_ = 0;
  cleanAt_ = clean ? 0 : -1;
}

void UndoHistory::MarkClean() { cleanAt_ = position_; }

}  // namespace didod
