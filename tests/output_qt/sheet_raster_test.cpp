// The sheet keeps its off-screen image between repaints and redraws only what a
// drag step changes. These tests drag faces across nets, over other faces,
// points and labels, and compare after every step the kept image with the
// picture drawn afresh, pixel for pixel, at device pixel ratio 1 and 2.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "interaction/mouse.h"
#include "output/qpainter_canvas.h"
#include "output/sheet_raster.h"
#include "persistence/catalogue.h"

namespace didod {
namespace {

struct Difference {
  int pixels = 0;
  QRect box;
};

Difference Compare(const QImage& a, const QImage& b) {
  Difference d;
  if (a.size() != b.size() || a.format() != b.format()) return {-1, {}};
  const std::size_t row = static_cast<std::size_t>(a.width()) * 4;
  for (int y = 0; y < a.height(); ++y) {
    if (std::memcmp(a.constScanLine(y), b.constScanLine(y), row) == 0) continue;
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) {
        ++d.pixels;
        d.box |= QRect(x, y, 1, 1);
      }
  }
  return d;
}

std::string Describe(const Difference& d) {
  return std::to_string(d.pixels) + " pixels differ in " + std::to_string(d.box.width()) + "x" +
         std::to_string(d.box.height()) + " at " + std::to_string(d.box.x()) + "," + std::to_string(d.box.y());
}

// A sheet that repaints after every change as the window does and checks each
// time that its kept image is the picture drawn afresh.
class Sheet {
 public:
  Sheet(Construction& c, RenderOptions options, double ratio) : c_(c), options_(options), ratio_(ratio) {
    c_.RecomputeScreenPoints(Centre());
    Repaint("first repaint");
  }

  ViewCentre Centre() const { return ViewCentreOf(options_.SheetWidth, options_.SheetHeight); }
  RenderOptions& Options() { return options_; }
  void SetRatio(double ratio) { ratio_ = ratio; }

  void Repaint(const std::string& when) {
    raster_.Update(c_, options_, ratio_);
    ++kinds_[raster_.LastKind()];
    const Difference d = Compare(raster_.Image(), DrawSheetImage(c_, options_, ratio_));
    EXPECT_EQ(d.pixels, 0) << when << " at ratio " << ratio_ << ": " << Describe(d);
  }

  QPoint At(int point) const {
    return {static_cast<int>(std::lround(c_.ScreenPoints[point].x)),
            static_cast<int>(std::lround(c_.ScreenPoints[point].y))};
  }

  // Grabs the point, moves the pointer through the given positions in steps of
  // at most `stride` pixels, repainting after each, and releases at the last.
  void Drag(int point, const std::vector<QPoint>& via, int stride) {
    QPoint at = At(point);
    ASSERT_EQ(PB5MouseDown(c_, drag_, MouseButton::Left, at.x(), at.y(), Centre()).Step, MouseStep::DragBegun)
        << "point " << point;
    Repaint("press on point " + std::to_string(point));
    for (const QPoint& target : via) {
      const QPoint from = at;
      const int n = std::max(1, (std::max(std::abs(target.x() - from.x()), std::abs(target.y() - from.y())) +
                                 stride - 1) / stride);
      for (int i = 1; i <= n; ++i) {
        at = from + (target - from) * i / n;
        if (PB5MouseMove(c_, drag_, at.x(), at.y(), Centre()).Repaint)
          Repaint("point " + std::to_string(point) + " dragged to " + std::to_string(at.x()) + "," +
                  std::to_string(at.y()));
      }
    }
    PB5MouseUp(c_, drag_, MouseButton::Left, at.x(), at.y(), Centre());
    Repaint("release of point " + std::to_string(point));
  }

  int Count(SheetRaster::Kind kind) const { return kinds_.contains(kind) ? kinds_.at(kind) : 0; }

 private:
  Construction& c_;
  RenderOptions options_;
  double ratio_;
  SheetRaster raster_;
  DragState drag_;
  std::map<SheetRaster::Kind, int> kinds_;
};

RenderOptions Switches(int w, int h, bool points, bool labels) {
  RenderOptions o;
  o.SheetWidth = w;
  o.SheetHeight = h;
  o.ShowPoints = points;
  o.LabelPoints = labels;
  return o;
}

// Corners of a regular polygon of n sides of length `side`, the first at `first`.
std::vector<NetPoint> Regular(int n, NetPoint first, double side, double turn = 0) {
  std::vector<NetPoint> corners{first};
  for (int j = 1; j < n; ++j) {
    const double a = turn + 2 * std::numbers::pi * (j - 1) / n;
    corners.push_back({corners.back().x + side * std::cos(a), corners.back().y + side * std::sin(a)});
  }
  return corners;
}

// Faces lying across each other, with points on the same spot and join lines
// that take labels away:
//   1 a large square around the origin;   2 a triangle across it;
//   3 a free square, to be dragged;       4 a pentagon sharing a corner with 1;
//   5 a triangle on the same corner, over 4; 6 a square hanging on one fixed
//   point, to be turned; 7 a hexagon over everything, on top.
Construction Overlaps() {
  Construction c;
  const ViewCentre centre{0, 0};
  c.AppendWholeFace(Regular(4, {-1.5, -1.5}, 3), centre);                // 1..4
  c.AppendWholeFace(Regular(3, {-2, -0.5}, 3, 0.2), centre);             // 5..7
  c.AppendWholeFace(Regular(4, {2.2, 1.2}, 1), centre);                  // 8..11
  c.AppendWholeFace(Regular(5, {1.5, 1.5}, 1.1, -1.0), centre);          // 12..16
  c.AppendWholeFace(Regular(3, {1.5, 1.5}, 1.3, 2.5), centre);           // 17..19
  c.AppendWholeFace(Regular(4, {-1.5, 1.5}, 1.2, 0.7), centre);          // 20..23
  c.AppendWholeFace(Regular(6, {-0.4, -1.9}, 0.9, 0.3), centre);         // 24..29
  c.JoinList = {"12\t3", "17\t3", "20\t4", "112\t3", "012\t5"};
  for (int p : {12, 17, 20}) c.ScreenPoints[p].Fixed = true;
  return c;
}

class SheetRasterDrag : public ::testing::TestWithParam<double> {};

TEST_P(SheetRasterDrag, HandMadeOverlapsStayExactWhileDragged) {
  for (const auto& [points, labels] : {std::pair{true, true}, std::pair{true, false}, std::pair{false, true}}) {
    SCOPED_TRACE(std::string(points ? "points" : "") + (labels ? " labels" : ""));
    Construction c = Overlaps();
    Sheet sheet(c, Switches(400, 300, points, labels), GetParam());
    // The free square goes across every other face, its grabbed corner over
    // the three points on one spot and the points of the hexagon, and off the sheet.
    sheet.Drag(8, {sheet.At(3), sheet.At(24), sheet.At(27), sheet.At(5), {-30, 150}, {200, 140}}, 4);
    // The hanging square turns about its fixed point across the big square.
    const QPoint pivot = sheet.At(20), start = sheet.At(22);
    std::vector<QPoint> round;
    const double r = std::hypot(start.x() - pivot.x(), start.y() - pivot.y());
    const double a0 = std::atan2(start.y() - pivot.y(), start.x() - pivot.x());
    for (int k = 1; k <= 16; ++k)
      round.push_back(pivot + QPoint(static_cast<int>(std::lround(r * std::cos(a0 + k * 0.4))),
                                     static_cast<int>(std::lround(r * std::sin(a0 + k * 0.4)))));
    sheet.Drag(22, round, 6);
    // Drags of the lowest and the highest face.
    sheet.Drag(2, {{250, 60}, {120, 200}}, 7);
    sheet.Drag(25, {sheet.At(1), sheet.At(9), {380, 280}}, 5);
    EXPECT_GT(sheet.Count(SheetRaster::Kind::Step), 100);
  }
}

TEST_P(SheetRasterDrag, CatalogueNetsStayExactWhileAFaceIsDraggedAcrossThem) {
  std::vector<std::string> lines;
  LoadListFromResource(lines, "konetz");
  const std::vector<std::string> names = CatalogueNames(lines);
  ASSERT_GT(names.size(), 100u);
  // A spread of the catalogue and its largest net.
  std::vector<std::string> sample;
  std::string largest;
  int most = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto net = ReadCatalogueNet(lines, names[i], ViewCentre{});
    ASSERT_TRUE(net) << names[i];
    if (net->PointCount > most) {
      most = net->PointCount;
      largest = names[i];
    }
    if (i % 34 == 5) sample.push_back(names[i]);
  }
  sample.push_back(largest);
  for (const std::string& name : sample) {
    SCOPED_TRACE(name);
    Construction c = *ReadCatalogueNet(lines, name, ViewCentre{});
    Sheet sheet(c, Switches(799, 638, true, true), GetParam());
    // Free a face from the middle of the net on, with a corner that a press
    // picks (no later point lies on it), and move it across the net.
    int grip = 0;
    for (int f = c.FaceCount / 2 + 1; f < c.FaceCount && grip == 0; ++f) {
      const FaceRangeResult r = c.FaceRange(f);
      for (int j = r.first; j <= r.last && grip == 0; ++j)
        if (PickPoint(c, sheet.At(j).x(), sheet.At(j).y()) == j) grip = j;
    }
    ASSERT_GT(grip, 0);
    const FaceRangeResult middle = c.FaceOfPoint(grip);
    for (int j = middle.first; j <= middle.last; ++j) c.ScreenPoints[j].Fixed = false;
    sheet.Repaint("face freed");
    sheet.Drag(grip, {sheet.At(1), sheet.At(c.PointCount), {399, 319}}, 12);
    // Let the last face hang on its first fixed point and turn it half round.
    const FaceRangeResult last = c.FaceRange(c.FaceCount);
    int kept = 0;
    for (int j = last.first; j <= last.last; ++j) {
      if (c.ScreenPoints[j].Fixed && kept == 0)
        kept = j;
      else
        c.ScreenPoints[j].Fixed = false;
    }
    ASSERT_GT(kept, 0);
    sheet.Repaint("last face loosened");
    const int grab = kept == last.last ? last.first : kept + 1;
    const QPoint pivot = sheet.At(kept), start = sheet.At(grab);
    std::vector<QPoint> round;
    for (int k = 1; k <= 6; ++k) {
      const double a = k * std::numbers::pi / 6;
      const QPoint d = start - pivot;
      round.push_back(pivot + QPoint(static_cast<int>(std::lround(d.x() * std::cos(a) - d.y() * std::sin(a))),
                                     static_cast<int>(std::lround(d.x() * std::sin(a) + d.y() * std::cos(a)))));
    }
    sheet.Drag(grab, round, 10);
    EXPECT_GT(sheet.Count(SheetRaster::Kind::Step), 20);
  }
}

INSTANTIATE_TEST_SUITE_P(Ratios, SheetRasterDrag, ::testing::Values(1.0, 2.0));

// Every change that is not the move of one face redraws the whole image; a
// repaint without a change changes nothing.
TEST(SheetRaster, OtherChangesRedrawTheWholeImage) {
  Construction c = Overlaps();
  Sheet sheet(c, Switches(400, 300, true, true), 1.0);
  EXPECT_EQ(sheet.Count(SheetRaster::Kind::Whole), 1);
  sheet.Repaint("again");
  EXPECT_EQ(sheet.Count(SheetRaster::Kind::Unchanged), 1);
  c.Scale = 61.5;
  sheet.Repaint("zoom");
  sheet.Options().LabelPoints = false;
  sheet.Repaint("labels off");
  sheet.Options().ShowPoints = false;
  sheet.Repaint("points off");
  sheet.Options().SheetWidth = 333;
  sheet.Repaint("resize");
  sheet.SetRatio(2.0);
  sheet.Repaint("ratio");
  c.ScreenPoints[9].Fixed = true;
  sheet.Repaint("point fixed");
  sheet.Options().LabelPoints = true;
  sheet.Repaint("labels on");
  c.JoinList.pop_back();
  c.JoinList.erase(c.JoinList.begin());
  sheet.Repaint("join lines gone");
  EXPECT_EQ(sheet.Count(SheetRaster::Kind::Whole), 9);
  // Two faces moved between repaints.
  for (int p : {1, 9}) c.NetPoints[p].x += 0.3;
  sheet.Repaint("two faces moved");
  EXPECT_EQ(sheet.Count(SheetRaster::Kind::Whole), 10);
  EXPECT_EQ(sheet.Count(SheetRaster::Kind::Step), 0);
  // A drag that ends on a partner's point: the join redraws the whole.
  Construction d = Overlaps();
  Sheet other(d, Switches(400, 300, true, true), 1.0);
  other.Drag(8, {other.At(2)}, 5);
  EXPECT_TRUE(d.ScreenPoints[8].Fixed);
  EXPECT_EQ(other.Count(SheetRaster::Kind::Whole), 2);
}

// The box a drag step redraws relies on this: a label's text, drawn as the
// renderer draws it, touches no pixel outside its box and the margin.
TEST(SheetRaster, LabelTextStaysInsideItsBox) {
  for (double ratio : {1.0, 2.0}) {
    for (int label = 1; label <= kMaxPoints; ++label) {
      QImage image(QSize(60, 30) * ratio, QImage::Format_RGB32);
      image.setDevicePixelRatio(ratio);
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.SetFont(kLabelFontFamily, kLabelFontPoints);
        canvas.TextOut(10, 8, std::to_string(label));
      }
      const PixelBox text = LabelTextBox(label);
      const PixelBox box = DeviceBox({10 + text.left - kDamageMargin, 8 + text.top - kDamageMargin,
                                      10 + text.right + kDamageMargin, 8 + text.bottom + kDamageMargin},
                                     ratio);
      int inked = 0, outside = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
          if (image.pixel(x, y) == qRgb(255, 255, 255)) continue;
          ++inked;
          if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) ++outside;
        }
      ASSERT_GT(inked, 0) << label;
      ASSERT_EQ(outside, 0) << "label " << label << " at ratio " << ratio;
    }
  }
}

}  // namespace
}  // namespace didod
