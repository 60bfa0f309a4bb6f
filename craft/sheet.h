#pragma once
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "craft/geometry.h"
#include "model/construction.h"

namespace didod::craft {

// An edge of the net: face (from 1) and corner k (from 0); the edge runs from
// corner k to corner k + 1, the last corner back to the first.
struct SheetEdge {
  int face = 0;
  int corner = 0;
  bool operator==(const SheetEdge&) const = default;
};

inline constexpr double kFlatAngle = 3.14159265358979323846;

// Two edges that meet when the net is folded: a hinge (edges lying on each
// other in the net) or a glued pair (free edges that come together).
struct EdgePair {
  SheetEdge a;
  SheetEdge b;
  // Inner angle between the two faces at this edge of the folded solid, in
  // radians: less than pi at a convex edge (a mountain fold seen from outside),
  // more than pi at a reflex one (a valley fold).
  double dihedral = kFlatAngle;
};

enum class Paper { A4, A3, Letter };
enum class TabMode { None, OneSide, BothSides };
// With one tab per pair, which of the two edges gets it: the one that takes the
// larger tab, the one on the smaller or on the larger face (the roomier where
// both faces are alike), or alternately one side and the other along each
// seam. When the chosen edge has no room, the partner takes the tab.
enum class TabSide { Roomiest, SmallerFace, LargerFace, Alternating };

struct PaperSize {
  double width = 0.0;   // portrait, millimetres
  double height = 0.0;
};
PaperSize PaperSizeOf(Paper paper);

struct CraftOptions {
  Paper paper = Paper::A4;
  // Length of the net's longest edge in millimetres; 0 makes the net as large
  // as fits one page.
  double edgeLength = 0.0;
  TabMode tabs = TabMode::OneSide;
  TabSide tabSide = TabSide::Roomiest;
  bool edgeNumbers = false;
  bool faceNumbers = false;
  bool faceColours = false;  // a light colour per kind of face
  // The whole sheet mirrored, for printing on the inside of coloured paper;
  // the folds are then named as seen from the inside.
  bool printInside = false;
  std::string title;  // empty gives "Netz"
};

inline constexpr double kMinEdgeLength = 5.0;     // mm
inline constexpr double kMaxEdgeLength = 2000.0;  // mm
inline constexpr int kMaxPages = 100;

// Page furniture, millimetres.
inline constexpr double kPageMargin = 10.0;
inline constexpr double kHeaderHeight = 10.0;
inline constexpr double kFooterHeight = 14.0;
inline constexpr double kTileOverlap = 10.0;
inline constexpr double kScaleBarLength = 100.0;
inline constexpr double kMaxTabHeight = 7.0;
inline constexpr double kMinTabHeight = 1.5;
// Paper kept free between a tab and any other tab or face, except at the ends
// of its own edge, so that no cut has to run exactly along another.
inline constexpr double kTabClearance = 0.5;

// A bad request for a sheet: its message is for the user.
class CraftError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Fold lines are named as seen from the printed side.
enum class LineKind { Cut, Mountain, Valley };

struct SheetLine {
  Vec2 a;
  Vec2 b;
  LineKind kind = LineKind::Cut;
};

// A glue tab on one edge of a glued pair: root corners on the edge, tip corners
// away from the face, the ends angled inwards.
struct GlueTab {
  SheetEdge edge;
  int pair = 0;  // index into the glued pairs
  std::array<Vec2, 4> corners;  // root start, root end, tip end, tip start
  double height = 0.0;
};

struct SheetText {
  Vec2 centre;  // the text is centred on this point
  double height = 0.0;
  std::string text;
};

// The net laid out at true size, millimetres, y down.
struct NetSheet {
  std::vector<std::vector<Vec2>> faces;  // face f at index f - 1
  std::vector<SheetLine> lines;          // every cut and fold line, each once
  std::vector<GlueTab> tabs;
  std::vector<SheetText> labels;         // edge numbers
  std::vector<SheetText> faceLabels;     // face numbers, when asked for
  std::vector<int> faceKinds;            // per face: congruent faces share a kind, from 0
  bool faceColours = false;
  bool printInside = false;
  std::vector<SheetLine> marks;          // crosses on glued edges that got no tab
  std::vector<SheetEdge> untabbed;       // glued edges that are marked
  double mmPerUnit = 0.0;
  double edgeLength = 0.0;               // the longest edge, mm
  Box bounds;                            // faces, tabs and labels
};

// One printed page: the part `window` of the sheet appears with its top-left
// corner at `origin` on the page. `own` is the part of the window that no
// earlier page shows, so the own parts of all pages share nothing.
struct SheetPage {
  int number = 1;  // from 1
  int row = 0;
  int column = 0;
  Box window;
  Box own;
  Vec2 origin;
};

struct CraftSheet {
  NetSheet net;
  std::string title;
  Paper paper = Paper::A4;
  bool landscape = false;
  double pageWidth = 0.0;  // mm, as oriented
  double pageHeight = 0.0;
  int rows = 1;
  int columns = 1;
  std::vector<SheetPage> pages;
};

// Lays out the net with tabs on the glued pairs. Hinges are drawn as fold lines,
// mountain or valley by their dihedral angle, every other edge as a cut line. Throws CraftError for an empty net, an edge
// length outside kMinEdgeLength..kMaxEdgeLength or more than kMaxPages pages.
CraftSheet LayoutCraftSheet(const Construction& construction, const std::vector<EdgePair>& hinges,
                            const std::vector<EdgePair>& gluings, const CraftOptions& options);

// The net alone at a given scale, unrotated, before pages are chosen; of the
// options, paper and edge length play no part.
NetSheet LayoutNet(const Construction& construction, const std::vector<EdgePair>& hinges,
                   const std::vector<EdgePair>& gluings, const CraftOptions& options, double mmPerUnit);

}  // namespace didod::craft
