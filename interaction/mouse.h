#pragma once
#include <vector>

#include "model/construction.h"

namespace didod {

enum class MouseButton { Left, Right, Middle };

// A point is hit when the pointer lies strictly less than this many pixels
// from its stored (unrounded) pixel position in x and in y: a square, not a circle.
inline constexpr int kPickTolerance = 8;

// What the sheet's handlers keep between a press and its release. The point
// being dragged is Construction::GrabbedPoint (0 while idle).
struct DragState {
  int GrabFirst = 0;       // first point of the face hit by the latest press
  int GrabLast = 0;        // last point of that face
  int GrabFixedCount = 0;  // fixed points of that face, counted at the grab: 0 moves, 1 turns
  int Pivot = 0;           // highest-numbered fixed point of that face; centre of the turn
  double StartAngle = 0.0; // direction of the grabbed point seen from Pivot at the grab (radians)
  // Offsets of the face's points from the pivot during a turn, one per point of
  // the face, in net units (scratch, sized at the grab).
  std::vector<NetPoint> Offsets;
};

// What a handler did, so that the window knows whether to repaint and an undo
// history can record one step per finished action.
enum class MouseStep {
  None,         // nothing that changes the construction for good
  DragBegun,    // a press grabbed a face; nothing has moved yet
  DragEnded,    // the release ended a drag: the face is placed (and maybe joined)
  FaceDeleted,  // a right press deleted a face
};

struct MouseResult {
  bool Repaint = false;
  MouseStep Step = MouseStep::None;
  bool operator==(const MouseResult&) const = default;
};

// Press on the sheet at the integer pixel position (X, Y). The right button
// deletes the face of the picked point (never face 1); left and middle grab it.
// Presses during a drag are ignored.
MouseResult PB5MouseDown(Construction& c, DragState& s, MouseButton button, int X, int Y,
                         ViewCentre centre);
// Pointer move: during a drag the face follows (moves, or turns about its fixed point).
MouseResult PB5MouseMove(Construction& c, DragState& s, int X, int Y, ViewCentre centre);
// Release: places the face for (X, Y), joins it to a point of another face under
// the pointer, and ends the drag. The button does not matter.
MouseResult PB5MouseUp(Construction& c, DragState& s, MouseButton button, int X, int Y,
                       ViewCentre centre);

// Building blocks, exposed for tests.

// Highest-numbered point hit by (X, Y), 0 when none.
int PickPoint(const Construction& c, int X, int Y);
// Lowest-numbered point hit by (X, Y) outside first .. last, 0 when none.
int FindPartner(const Construction& c, int X, int Y, int first, int last);
// Deletes the face owning first .. last with its join lines, renumbering the
// first numbers of later join lines. Face 1 is never deleted (returns false).
bool DeleteFace(Construction& c, int face, int first, int last);

}  // namespace didod
