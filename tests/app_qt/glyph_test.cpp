#include <gtest/gtest.h>

#include <QApplication>
#include <QHash>
#include <QSet>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/glyphs.h"
#include "app/main_window.h"
#include "tests/app_qt/window_support.h"

namespace didod {
namespace {

using didod::testing::Control;

struct GlyphOnButton {
  const char* button;
  const char* glyph;
};
constexpr GlyphOnButton kGlyphs[] = {{"S7", "_01"},  {"S14", "_05"}, {"S15", "_06"},
                                     {"S40", "_09"}, {"S41", "_10"}, {"S42", "_11"}};

QImage Argb(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_ARGB32); }

// The bitmap centred in the icon's frame, as a tool button shows it at ratio 1.
QImage BitmapInFrame(const QImage& bitmap, QSize frame) {
  QImage framed(frame, QImage::Format_ARGB32);
  framed.fill(0);
  QPainter painter(&framed);
  painter.drawImage((frame.width() - bitmap.width()) / 2, (frame.height() - bitmap.height()) / 2, bitmap);
  return framed;
}

int Distance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// Which pixels of the framed bitmap carry the glyph: those nearer its ink than its
// background, so the bitmap's own edge smoothing towards the background does not count.
std::vector<bool> InkOf(const QImage& framed, QRgb key) {
  int farthest = 0;
  for (int y = 0; y < framed.height(); ++y)
    for (int x = 0; x < framed.width(); ++x)
      if (qAlpha(framed.pixel(x, y)) > 0) farthest = std::max(farthest, Distance(framed.pixel(x, y), key));
  std::vector<bool> ink;
  for (int y = 0; y < framed.height(); ++y)
    for (int x = 0; x < framed.width(); ++x)
      ink.push_back(qAlpha(framed.pixel(x, y)) > 0 && 2 * Distance(framed.pixel(x, y), key) > farthest);
  return ink;
}

// How well a drawing at `ratio` covers the glyph's pixels: each frame pixel's
// coverage is the mean alpha of its device pixels; returns the share of pixels
// where drawing and bitmap agree on being inked, among those either inks.
double AgreementWithBitmap(const QImage& drawn, double ratio, QSize frame, const std::vector<bool>& ink) {
  int both = 0, either = 0;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      double sum = 0;
      int count = 0;
      for (int dy = int(std::floor(y * ratio)); dy < int(std::ceil((y + 1) * ratio)) && dy < drawn.height(); ++dy)
        for (int dx = int(std::floor(x * ratio)); dx < int(std::ceil((x + 1) * ratio)) && dx < drawn.width(); ++dx) {
          sum += qAlpha(drawn.pixel(dx, dy)) / 255.0;
          ++count;
        }
      const bool inkedDrawn = count > 0 && sum / count >= 0.5;
      const bool inkedBitmap = ink[std::size_t(y * frame.width() + x)];
      both += inkedDrawn && inkedBitmap;
      either += inkedDrawn || inkedBitmap;
    }
  }
  return either == 0 ? 0.0 : double(both) / either;
}

// Share of the inked device pixels that are fully opaque: a bitmap smoothed up to
// the device's size blurs every edge, a drawing at the device's resolution keeps them.
double SolidShare(const QImage& drawn) {
  int inked = 0, solid = 0;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) {
      const int alpha = qAlpha(drawn.pixel(x, y));
      inked += alpha > 25;
      solid += alpha > 230;
    }
  return inked == 0 ? 0.0 : double(solid) / inked;
}

TEST(Glyphs, AtRatioOneTheButtonsShowTheirBitmapsUnchangedAndAtHigherRatiosSharpDrawingsOfTheSameGlyph) {
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  for (const auto& [buttonName, glyph] : kGlyphs) {
    SCOPED_TRACE(glyph);
    const QToolButton* button = Control<QToolButton>(w, buttonName);
    const QSize frame = button->iconSize();
    const QImage bitmap = GlyphBitmap(glyph);
    ASSERT_FALSE(bitmap.isNull());
    ASSERT_TRUE(frame.width() >= bitmap.width() && frame.height() >= bitmap.height());
    const QImage framed = BitmapInFrame(bitmap, frame);
    const QImage raw(QStringLiteral(":/glyphs/%1").arg(glyph));
    const std::vector<bool> ink = InkOf(framed, raw.pixel(0, raw.height() - 1));

    const QPixmap atOne = button->icon().pixmap(frame, 1.0);
    EXPECT_EQ(Argb(atOne), framed);

    for (const double ratio : {1.5, 2.0, 3.0}) {
      SCOPED_TRACE(ratio);
      const QPixmap hiDpi = button->icon().pixmap(frame, ratio);
      EXPECT_EQ(hiDpi.size(), (QSizeF(frame) * ratio).toSize());
      EXPECT_DOUBLE_EQ(hiDpi.devicePixelRatio(), ratio);
      const QImage drawn = Argb(hiDpi);
      EXPECT_GE(AgreementWithBitmap(drawn, ratio, frame, ink), 0.7);
      const QImage smoothed = framed.scaled(drawn.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      EXPECT_GE(SolidShare(drawn), SolidShare(smoothed) + 0.05);
      // Drawn in the bitmap's colours: each colour the bitmap shows in a few pixels
      // or more is somewhere in the drawing, unmixed.
      QHash<QRgb, int> bitmapColours;
      for (int y = 0; y < framed.height(); ++y)
        for (int x = 0; x < framed.width(); ++x)
          if (ink[std::size_t(y * frame.width() + x)]) ++bitmapColours[framed.pixel(x, y)];
      QSet<QRgb> drawnColours;
      for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) drawnColours.insert(drawn.pixel(x, y));
      for (auto colour = bitmapColours.cbegin(); colour != bitmapColours.cend(); ++colour)
        if (colour.value() >= 4) EXPECT_TRUE(drawnColours.contains(colour.key())) << std::hex << colour.key();
    }
  }
}

// Runs in the processes that ctest starts at device pixel ratios 1.5 and 2: the
// real buttons must show the drawing at the device's resolution, not a bitmap
// scaled by the style.
TEST(Glyphs, ButtonsOnAHighDensityScreenShowTheGlyphAtDevicePixels) {
  if (qApp->devicePixelRatio() <= 1.0) GTEST_SKIP() << "checked by the runs at ratios 1.5 and 2";
  Tfpoly w;
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const qreal ratio = w.devicePixelRatioF();
  for (const auto& [buttonName, glyph] : kGlyphs) {
    SCOPED_TRACE(glyph);
    QToolButton* button = Control<QToolButton>(w, buttonName);
    const QImage shown = button->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage drawn = Argb(button->icon().pixmap(button->iconSize(), ratio));
    ASSERT_EQ(shown.width(), qRound(button->width() * ratio));
    // The drawing's opaque pixels appear unchanged somewhere on the button.
    bool found = false;
    for (int oy = 0; oy + drawn.height() <= shown.height() && !found; ++oy)
      for (int ox = 0; ox + drawn.width() <= shown.width() && !found; ++ox) {
        bool same = true;
        for (int y = 0; y < drawn.height() && same; ++y)
          for (int x = 0; x < drawn.width() && same; ++x)
            if (qAlpha(drawn.pixel(x, y)) == 255) same = shown.pixel(ox + x, oy + y) == drawn.pixel(x, y);
        found = same;
      }
    EXPECT_TRUE(found);
  }
}

}  // namespace
}  // namespace didod
