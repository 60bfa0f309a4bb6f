#include <gtest/gtest.h>

#include <algorithm>

#include "render/net_renderer.h"
#include "render/recording_canvas.h"
#include "render/zoom.h"

namespace didod {
namespace {

const ViewCentre kCentre = ViewCentreOf(799, 638);

RenderOptions Sheet(bool points = true, bool labels = false) {
  return RenderOptions{799, 638, points, labels};
}

std::vector<std::string> Draw(const Construction& c, const RenderOptions& options) {
  RecordingCanvas canvas;
  PB5Paintx(canvas, c, options);
  return canvas.calls;
}

std::vector<std::string> Texts(const std::vector<std::string>& calls) {
  std::vector<std::string> texts;
  for (const auto& call : calls)
    if (call.rfind("text ", 0) == 0) texts.push_back(call.substr(call.rfind(' ') + 1));
  return texts;
}

Construction TwoTriangles() {
  Construction c;
  c.AppendWholeFace({{0, 0}, {1, 0}, {0, 1}}, kCentre);
  c.AppendWholeFace({{2, 0}, {3, 0}, {2, -1}}, kCentre);
  c.ScreenPoints[4].Fixed = true;
  return c;
}

TEST(NetRenderer, EmptyConstructionDrawsOnlyTheOriginMarker) {
  EXPECT_EQ(Draw(Construction{}, Sheet()),
            (std::vector<std::string>{"font Verdana 8", "brush #FF0000", "ellipse 397,317,402,322"}));
  EXPECT_EQ(Draw(Construction{}, Sheet(false)), (std::vector<std::string>{"font Verdana 8", "brush #FF0000"}));
}

TEST(NetRenderer, OutlineThenMarkersInIndexOrderWithTheirColours) {
  const auto calls = Draw(TwoTriangles(), Sheet());
  const std::vector<std::string> expected = {
      "font Verdana 8", "brush #FF0000", "ellipse 397,317,402,322",
      "brush clear", "polygon 399,319 449,319 399,269",
      "brush #C0C0FF", "ellipse 396,316,403,323",
      "brush #C0C0FF", "ellipse 446,316,453,323",
      "brush #C0C0FF", "ellipse 396,266,403,273",
      "brush clear", "polygon 499,319 549,319 499,369",
      "brush #FFFF00", "ellipse 496,316,503,323",
      "brush #C0C0FF", "ellipse 546,316,553,323",
      "brush #C0C0FF", "ellipse 496,366,503,373"};
  EXPECT_EQ(calls, expected);
}

TEST(NetRenderer, LabelsCountOnlyPointsNotDroppedOntoAnother) {
  Construction c = TwoTriangles();
  c.AppendWholeFace({{5, 5}, {6, 5}}, kCentre);
  EXPECT_EQ(Texts(Draw(c, Sheet(true, true))),
            (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));
  c.JoinList = {"5\t2"};
  EXPECT_EQ(Texts(Draw(c, Sheet(true, true))), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
  // Only the whole first field with its TAB counts.
  c.JoinList = {"15\t2", "51\t3", "5", "x5\t1", "05\t1"};
  EXPECT_EQ(Texts(Draw(c, Sheet(true, true))).size(), 8u);
  c.JoinList = {"112\t3", "12\t5"};
  EXPECT_EQ(Texts(Draw(c, Sheet(true, true))).size(), 8u);
  c.JoinList = {"1\t5"};
  EXPECT_EQ(Texts(Draw(c, Sheet(true, true))).front(), "1");  // point 1 has no label: the first label is point 2's
}

TEST(NetRenderer, LabelPlacedBelowRightWithClearBrushAndWithoutMarkers) {
  Construction c;
  c.AppendWholeFace({{1, 0}, {0, 0}}, kCentre);
  const auto calls = Draw(c, Sheet(false, true));
  const std::vector<std::string> expected = {"font Verdana 8", "brush #FF0000", "brush clear",
                                             "polygon 449,319 399,319", "brush #C0C0FF", "brush clear",
                                             "text 451,321 1", "brush #C0C0FF", "brush clear", "text 401,321 2"};
  EXPECT_EQ(calls, expected);
}

TEST(NetRenderer, HalvesRoundToEven) {
  EXPECT_EQ(RoundPixel(401.5L), 402);
  EXPECT_EQ(RoundPixel(402.5L), 402);
  EXPECT_EQ(RoundPixel(-0.5L), 0);
  EXPECT_EQ(RoundPixel(1e30L), INT32_MAX);
  Construction c;
  c.AppendWholeFace({{0.05, -0.05}, {0.03, -0.03}}, kCentre);  // 401.5, 321.5 and 400.5, 320.5
  const auto calls = Draw(c, Sheet(false));
  EXPECT_EQ(calls[3], "polygon 402,322 400,320");
}

TEST(NetRenderer, DrawingFollowsNetPointsScaleAndSheetNotStoredPixels) {
  Construction c;
  c.AppendWholeFace({{1, 0}, {0, 1}}, kCentre);
  c.ScreenPoints[1].x = -1000;  // stale pixel positions do not matter to the drawing
  c.Scale = 100;
  const auto calls = Draw(c, RenderOptions{200, 100, false, false});
  EXPECT_EQ(calls[3], "polygon 200,50 100,-50");
}

TEST(NetRenderer, EmptyFaceConsumesNoPoints) {
  Construction c;
  c.AppendWholeFace({}, kCentre);
  c.AppendWholeFace({{1, 0}, {0, 0}}, kCentre);
  const auto calls = Draw(c, Sheet(false));
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& s) { return s.rfind("polygon", 0) == 0; }),
            1);
  EXPECT_EQ(calls[3], "polygon 449,319 399,319");
}

// The sanitizers watch these: pixel positions clamped to the limits of int,
// from a far coordinate and from many zoom-ins, still draw markers and labels.
TEST(NetRenderer, FarCoordinatesAndHugeScalesDrawWithoutOverflow) {
  Construction far;
  far.AppendWholeFace({{0, 0}, {4.3e7, 0}, {0, -4.3e7}, {-4.3e7, 4.3e7}}, kCentre);
  const auto calls = Draw(far, Sheet(true, true));
  EXPECT_NE(std::find(calls.begin(), calls.end(), "polygon 399,319 2147483647,319 399,2147483647 -2147483648,-2147483648"),
            calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "ellipse 268435453,316,268435460,323"), calls.end());

  Construction zoomed = TwoTriangles();
  for (int k = 0; k < 185; ++k) ZoomIn(zoomed, kCentre);
  const auto zoomedCalls = Draw(zoomed, Sheet(true, true));
  EXPECT_EQ(Texts(zoomedCalls).size(), 6u);
  EXPECT_NE(std::find(zoomedCalls.begin(), zoomedCalls.end(), "polygon 399,319 2147483647,319 399,-2147483648"),
            zoomedCalls.end());
}

TEST(Zoom, ExactValuesInExtendedPrecision) {
  Construction c;
  ZoomIn(c, kCentre);
  EXPECT_EQ(c.Scale, 55.0);
  ZoomIn(c, kCentre);
  EXPECT_EQ(c.Scale, 60.5);
  ZoomIn(c, kCentre);
  EXPECT_EQ(c.Scale, 66.55);
  ZoomStandard(c, kCentre);
  ZoomOut(c, kCentre);
  EXPECT_EQ(c.Scale, 45.45454545454545);
  ZoomOut(c, kCentre);
  EXPECT_EQ(c.Scale, 41.32231404958677);
  ZoomOut(c, kCentre);
  EXPECT_EQ(c.Scale, 37.56574004507888);
  ZoomStandard(c, kCentre);
  ZoomIn(c, kCentre);
  ZoomOut(c, kCentre);
  EXPECT_EQ(c.Scale, 50.0);
  for (int k = 0; k < 10; ++k) ZoomIn(c, kCentre);
  for (int k = 0; k < 10; ++k) ZoomOut(c, kCentre);
  EXPECT_EQ(c.Scale, 50.0);
}

TEST(Zoom, RecomputesPixelPositionsKeepsNetPointsAndFlags) {
  Construction c;
  c.AppendWholeFace({{1, 0}, {2, 2}}, kCentre);
  c.ScreenPoints[2].Fixed = true;
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].x, 449.0);
  ZoomIn(c, kCentre);
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].x, 454.0);
  EXPECT_DOUBLE_EQ(c.ScreenPoints[1].y, 319.0);
  EXPECT_EQ(c.NetPoints[1], (NetPoint{1, 0}));
  EXPECT_TRUE(c.ScreenPoints[2].Fixed);
  const auto zoomed = Draw(c, Sheet());
  ZoomOut(c, kCentre);
  ZoomIn(c, kCentre);
  EXPECT_EQ(Draw(c, Sheet()), zoomed);  // the same picture, call for call
}

}  // namespace
}  // namespace didod
