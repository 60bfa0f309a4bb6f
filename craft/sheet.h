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

// Two edges that meet when the net is folded: a hinge (edges lying on each
// other in the net) or a glued pair (free edges that come together).
struct EdgePair {
  SheetEdge a;
  SheetEdge b;
};

enum class Paper { A4, A3, Letter };
enum class TabMode { None, OneSide, BothSides };

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
  bool edgeNumbers = false;
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

// A bad request for a sheet: its message is for the user.
class CraftError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class LineKind { Cut, Fold };

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
// every other edge as a cut line. Throws CraftError for an empty net, an edge
// length outside kMinEdgeLength..kMaxEdgeLength or more than kMaxPages pages.
CraftSheet LayoutCraftSheet(const Construction& construction, const std::vector<EdgePair>& hinges,
                            const std::vector<EdgePair>& gluings, const CraftOptions& options);

// The net alone at a given scale, unrotated, before pages are chosen.
NetSheet LayoutNet(const Construction& construction, const std::vector<EdgePair>& hinges,
                   const std::vector<EdgePair>& gluings, TabMode tabs, bool edgeNumbers, double mmPerUnit);

}  // namespace didod::craft
