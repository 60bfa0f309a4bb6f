#include <gtest/gtest.h>

#include "output/print_geometry.h"

namespace didod {
namespace {

// A4 at 600 dpi without physical offsets.
PrinterFigures A4At600() { return {4960, 7016, 600, 600, 0, 0}; }

TEST(BitmapPrintLayout, MarginsAndStartingScaleAt600Dpi) {
  // A sheet small enough to print at the starting scale.
  const BitmapPrintLayout l = LayoutBitmapPrint(A4At600(), 300, 200);
  EXPECT_EQ(l.Left, 591);
  EXPECT_EQ(l.Right, 354);
  EXPECT_EQ(l.Top, 236);
  // 3000 <= 4960 - 591 - 354: exactly 10 device pixels per sheet pixel, 60 sheet pixels per inch.
  EXPECT_EQ(l.Sx, 10.0);
  EXPECT_EQ(l.Sy, 10.0);
  EXPECT_EQ(l.Target, (PageRect{591, 236, 3591, 2236}));
}

TEST(BitmapPrintLayout, WideSheetIsFittedToTheWidthOnly) {
  const PrinterFigures p = A4At600();
  const BitmapPrintLayout l = LayoutBitmapPrint(p, 799, 5000);
  const double room = p.PageWidth - 591 - 354;
  EXPECT_LE(799 * l.Sx, room);
  EXPECT_GT(799 * (l.Sx + 0.02), room) << "the largest scale of the 0.02 steps that fits";
  EXPECT_DOUBLE_EQ(l.Sx, l.Sy);
  EXPECT_EQ(l.Target.Right, RoundEven(799 * l.Sx + 591));
  // The height is not fitted: a tall sheet runs past the page.
  EXPECT_GT(l.Target.Bottom, p.PageHeight);
}

TEST(BitmapPrintLayout, ScaleSteps) {
  // 100 dpi: starting scale 100/60; steps of 0.02 until 500 * sx <= 300.
  const PrinterFigures p{1245, 1000, 100, 100, 0, 0};  // room = 1245 - 98 - 59 = 1088
  const BitmapPrintLayout l = LayoutBitmapPrint(p, 1000, 10);
  double sx = 100.0 / 60.0;
  while (1000 * sx > 1088) sx -= 0.02;
  EXPECT_EQ(l.Sx, sx);
  EXPECT_NEAR(l.Sx, 1.0867, 1e-3);
}

TEST(BitmapPrintLayout, MarginBelowTheOffsetBecomesZero) {
  // 600 dpi, offsets of 400 pixels: left 591 - 400, right 354 - 400 < 0, top 236 - 400 < 0.
  const BitmapPrintLayout l = LayoutBitmapPrint({4800, 6600, 600, 600, 400, 400}, 100, 100);
  EXPECT_EQ(l.Left, 191);
  EXPECT_EQ(l.Right, 0);
  EXPECT_EQ(l.Top, 0);
}

TEST(BitmapPrintLayout, NoRoomFallsBackToOnePixel) {
  // A page narrower than its margins: nothing fits, the scale falls back to 1.
  const BitmapPrintLayout l = LayoutBitmapPrint({500, 500, 600, 600, 0, 0}, 10, 10);
  EXPECT_EQ(l.Sx, 1.0);
  EXPECT_EQ(l.Sy, 1.0);
  // And an empty picture on such a page ends at once.
  const BitmapPrintLayout empty = LayoutBitmapPrint({500, 500, 600, 600, 0, 0}, 0, 0);
  EXPECT_EQ(empty.Target, (PageRect{591, 236, 591, 236}));
}

TEST(VectorPrintLayout, PageWidthLessTwentyOnEachSide) {
  const VectorPrintLayout l = LayoutVectorPrint({4800, 6600, 600, 600, 0, 0}, 799, 638);
  EXPECT_EQ(l.R, 3817);
  EXPECT_EQ(l.Target, (PageRect{20, 20, 4780, 3817}));
  EXPECT_EQ(l.Target.Right - l.Target.Left, 4760);
  EXPECT_EQ(l.Target.Bottom - l.Target.Top, 3797);
  // c = round(6600 * 799 / 4800 + 20) = round(1118.6...) = 1119
  EXPECT_EQ(l.C, 1119);
  ASSERT_EQ(l.Bands.size(), 4u);
  EXPECT_EQ(l.Bands[0], (PageRect{-20, -20, 1139, -1}));
  EXPECT_EQ(l.Bands[1], (PageRect{-20, -20, -1, 3817}));
  EXPECT_EQ(l.Bands[2], (PageRect{-20, 639, 1139, 3817}));
  EXPECT_EQ(l.Bands[3], (PageRect{1120, -20, 1139, 3817}));
}

TEST(VectorPrintLayout, BandsNeverCoverThePicture) {
  // Landscape: c falls below W.
  for (const PrinterFigures& p : {PrinterFigures{7016, 4960, 600, 600, 0, 0}, PrinterFigures{4800, 6600, 600, 600, 0, 0},
                                  PrinterFigures{3000, 1000, 300, 300, 0, 0}}) {
    for (const auto& [W, H] : {std::pair{799, 638}, std::pair{1600, 300}, std::pair{200, 900}}) {
      const VectorPrintLayout l = LayoutVectorPrint(p, W, H);
      for (const PageRect& b : l.Bands) {
        const bool overlaps = b.Left < W && b.Right > 0 && b.Top < H && b.Bottom > 0;
        EXPECT_FALSE(overlaps) << W << "x" << H << " band " << b.Left << "," << b.Top << "," << b.Right << ","
                               << b.Bottom;
      }
    }
  }
  const VectorPrintLayout landscape = LayoutVectorPrint({7016, 4960, 600, 600, 0, 0}, 799, 638);
  EXPECT_LT(landscape.C + 1, 799);
  ASSERT_EQ(landscape.Bands.size(), 3u) << "the right band would start beyond its own end";
}

TEST(RoundEven, HalvesToEven) {
  EXPECT_EQ(RoundEven(2.5), 2);
  EXPECT_EQ(RoundEven(3.5), 4);
  EXPECT_EQ(RoundEven(-2.5), -2);
  EXPECT_EQ(RoundEven(590.55), 591);
}

}  // namespace
}  // namespace didod
