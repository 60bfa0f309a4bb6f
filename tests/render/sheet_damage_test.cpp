#include <gtest/gtest.h>

#include <climits>

#include "render/net_renderer.h"
#include "render/recording_canvas.h"
#include "render/sheet_damage.h"

namespace didod {
namespace {

const RenderOptions kSheet{400, 300, true, true};

Construction ThreeFaces() {
  Construction c;
  const ViewCentre centre = ViewCentreOf(400, 300);
  c.AppendWholeFace({{0, 0}, {1, 0}, {0, 1}}, centre);
  c.AppendWholeFace({{1, 0}, {2, 0}, {1, 1}}, centre);
  c.AppendWholeFace({{2, 0}, {3, 0}, {2, 1}, {2.5, 1.5}}, centre);
  c.JoinList = {"4\t2"};
  c.ScreenPoints[4].Fixed = true;
  return c;
}

NetDrawing Laid(const Construction& c, const RenderOptions& o = kSheet) {
  NetDrawing d;
  NetLayout().LayOut(c, o, d);
  return d;
}

TEST(NetLayout, DrawingItLaysOutIsWhatTheRendererDraws) {
  Construction c = ThreeFaces();
  NetLayout layout;  // kept across layouts, as the sheet keeps it
  NetDrawing d;
  for (int step = 0; step < 3; ++step) {
    layout.LayOut(c, kSheet, d);
    RecordingCanvas kept, plain;
    PB5Paintx(kept, d);
    PB5Paintx(plain, c, kSheet);
    EXPECT_EQ(kept.calls, plain.calls) << step;
    EXPECT_EQ(d, Laid(c)) << step;
    c.NetPoints[5].x += 0.37;  // a drag step
    c.Scale += step;           // then a zoom
    c.JoinList.push_back(std::to_string(8 + step) + "\t1");
  }
  ASSERT_EQ(d.FaceCount(), 3);
  EXPECT_EQ(d.Face(3).end - d.Face(3).first, 4);
  EXPECT_EQ(d.corners[3].label, 0);  // point 4 was dropped
  EXPECT_EQ(d.corners[4].label, 4);
}

TEST(SheetDamage, OnlyMovedFaceTellsADragStepFromOtherChanges) {
  const Construction c = ThreeFaces();
  const NetDrawing before = Laid(c);
  EXPECT_EQ(OnlyMovedFace(before, Laid(c)), 0);

  Construction moved = c;
  for (int p = 4; p <= 6; ++p) moved.NetPoints[p].y += 0.5;
  EXPECT_EQ(OnlyMovedFace(before, Laid(moved)), 2);
  moved.NetPoints[1].x += 0.004;  // less than half a pixel: the picture stays
  EXPECT_EQ(OnlyMovedFace(before, Laid(moved)), 2);
  moved.NetPoints[7].x += 1;  // a second face
  EXPECT_EQ(OnlyMovedFace(before, Laid(moved)), -1);

  Construction fixed = c;
  fixed.ScreenPoints[1].Fixed = true;
  EXPECT_EQ(OnlyMovedFace(before, Laid(fixed)), -1);
  Construction joined = c;
  joined.JoinList.push_back("7\t3");  // label numbers change
  EXPECT_EQ(OnlyMovedFace(before, Laid(joined)), -1);
  joined.JoinList = {"4\t2", "12\t1"};  // no point 12: labels stay
  EXPECT_EQ(OnlyMovedFace(before, Laid(joined)), 0);
  EXPECT_EQ(OnlyMovedFace(before, Laid(c, {400, 300, false, true})), -1);
  EXPECT_EQ(OnlyMovedFace(before, Laid(c, {402, 300, true, true})), -1);
  Construction fewer = c;
  fewer.FaceCount = 2;
  fewer.PointCount = 6;
  EXPECT_EQ(OnlyMovedFace(before, Laid(fewer)), -1);
}

TEST(SheetDamage, FaceBoxHoldsOutlineMarkersAndLabels) {
  const NetDrawing d = Laid(ThreeFaces());
  const auto label = [](int) { return PixelBox{0, -1, 12, 13}; };
  // Face 2: corners (250,150), (300,150), (250,100); labels only on 5 and 6,
  // placed at the corner moved by (2, 2).
  const int m = kDamageMargin;
  EXPECT_EQ(FaceBox(d, 2, label), (PixelBox{247 - m, 97 - m, 302 + 12 + m, 152 + 13 + m}));
  NetDrawing bare = Laid(ThreeFaces(), {400, 300, false, false});
  EXPECT_EQ(FaceBox(bare, 2, label), (PixelBox{250 - m, 100 - m, 301 + m, 151 + m}));
  EXPECT_EQ(DeviceBox({10, 20, 30, 41}, 2.0), (PixelBox{19, 39, 61, 83}));
  EXPECT_EQ(DeviceBox({10, 20, 30, 41}, 1.5), (PixelBox{14, 29, 46, 63}));
  EXPECT_TRUE(DeviceBox({}, 2.0).Empty());

  // Corners at the limits of int: the box stays ordered and covers the sheet.
  bare.corners[3].pixel = {INT_MAX, INT_MIN};
  bare.corners[4].pixel = {INT_MIN, INT_MAX};
  const PixelBox far = FaceBox(bare, 2, label);
  EXPECT_LT(far.left, 0);
  EXPECT_GT(far.right, 400);
  EXPECT_LT(far.top, 0);
  EXPECT_GT(far.bottom, 300);
  EXPECT_TRUE(DeviceBox(far, 2.0).Intersects({0, 0, 800, 600}));
}

TEST(SheetDamage, BoxesUniteAndMeetAsRectanglesOfPixels) {
  const PixelBox a{0, 0, 10, 10}, b{10, 0, 20, 10}, c{5, 5, 15, 15};
  EXPECT_FALSE(a.Intersects(b));  // right edges lie outside
  EXPECT_TRUE(a.Intersects(c));
  EXPECT_EQ(a.United(b), (PixelBox{0, 0, 20, 10}));
  EXPECT_EQ(a.United({}), a);
  EXPECT_EQ(PixelBox{}.United(c), c);
  EXPECT_EQ(a.Intersected(c), (PixelBox{5, 5, 10, 10}));
  EXPECT_TRUE(a.Intersected(b).Empty());
  EXPECT_FALSE(a.Intersects({3, 3, 3, 8}));  // an empty box meets nothing
}

}  // namespace
}  // namespace didod
