#include "persistence/catalogue.h"

#include <gtest/gtest.h>

#include "support/message_of.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "persistence/net_record.h"

namespace didod {
namespace {

using Lines = std::vector<std::string>;
constexpr ViewCentre kCentre{399, 319};

using didod::testing::MessageOf;

// A catalogue of three nets in the real layout: names, "[" records in another
// order, "[#". The text is Windows-1252 ("ü" is 0xFC).
const char kCatalogue[] =
    "Zweieck\r\nW\xFCrfelchen\r\nDreieck\r\n"
    "[Dreieck\r\n1\r\n3\r\n3\r\n"
    " 5.66025403784439E-0001\r\n-2.00000000000000E-0002\r\n1\r\n"
    "-1\r\n0\r\n0\r\n-0.5\r\n-0.8660254038\r\n0\r\n"
    "1\t3\r\n"
    "[W\xFCrfelchen\r\n2\r\n2\r\n2\r\n4\r\n0\r\n0\r\n1\r\n1\r\n0\r\n1\r\n0\r\n0\r\n1\r\n1\r\n0\r\n0\r\n"
    "3\t1\r\n4\t2\r\n"
    "[Zweieck\r\n1\r\n2\r\n2\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n"
    "[#\r\n";

Lines Catalogue() { return SplitLines(kCatalogue); }

TEST(Catalogue, NamesAreTheLinesBeforeTheFirstRecord) {
  EXPECT_EQ(CatalogueNames(Catalogue()), (Lines{"Zweieck", "W\xC3\xBCrfelchen", "Dreieck"}));
  EXPECT_EQ(CatalogueNames({"[#"}), Lines{});
  EXPECT_EQ(CatalogueNames({}), Lines{});
}

TEST(Catalogue, ReadsANetByNameIgnoringCase) {
  const Lines lines = Catalogue();
  const auto triangle = ReadCatalogueNet(lines, "dREIECK", kCentre);
  ASSERT_TRUE(triangle);
  EXPECT_EQ(triangle->FaceCount, 1);
  EXPECT_EQ(triangle->PointCount, 3);
  EXPECT_DOUBLE_EQ(triangle->NetPoints[1].x, 0.566025403784439);
  EXPECT_DOUBLE_EQ(triangle->NetPoints[1].y, -0.02);
  EXPECT_TRUE(triangle->ScreenPoints[1].Fixed);
  EXPECT_DOUBLE_EQ(triangle->ScreenPoints[1].x, 399 + 50 * 0.566025403784439);
  EXPECT_EQ(triangle->JoinList, Lines{"1\t3"});  // stops at the next record
  EXPECT_EQ(triangle->Scale, 50.0);

  // "Ü" folds to "ü" as "W" to "w".
  const auto square = ReadCatalogueNet(lines, "w\xC3\x9CRFELCHEN", kCentre);
  ASSERT_TRUE(square);
  EXPECT_EQ(square->FaceCount, 2);
  EXPECT_EQ(square->JoinList, (Lines{"3\t1", "4\t2"}));

  // The last record stops at the terminator.
  const auto last = ReadCatalogueNet(lines, "Zweieck", kCentre);
  ASSERT_TRUE(last);
  EXPECT_EQ(last->PointCount, 2);
  EXPECT_TRUE(last->JoinList.empty());
}

TEST(Catalogue, TextThatNamesNoNetGivesNothing) {
  const Lines lines = Catalogue();
  EXPECT_FALSE(ReadCatalogueNet(lines, "-", kCentre));
  EXPECT_FALSE(ReadCatalogueNet(lines, "", kCentre));
  EXPECT_FALSE(ReadCatalogueNet(lines, "Dreiec", kCentre));
  EXPECT_FALSE(ReadCatalogueNet(lines, "#", kCentre));  // the terminator is no net
  EXPECT_FALSE(ReadCatalogueNet(lines, "Würfel\xE4", kCentre));  // malformed UTF-8
  EXPECT_FALSE(ReadCatalogueNet(lines, "\xE6\x97\xA5", kCentre));  // not in the code page
}

TEST(Catalogue, DamagedRecordReportsLikeAFile) {
  const Lines lines{"Kaputt", "[Kaputt", "1", "3", "3", "0", "0", "[#"};
  EXPECT_EQ(MessageOf([&] { ReadCatalogueNet(lines, "Kaputt", kCentre); }), "List index out of bounds (8)");
  const Lines tooBig{"Riesig", "[Riesig", "500", "[#"};
  EXPECT_EQ(MessageOf([&] { ReadCatalogueNet(tooBig, "Riesig", kCentre); }), kInvalidConstructionMessage);
}

TEST(Catalogue, EmbeddedResourceIsFoundByNameIgnoringCase) {
  Lines lines{"old"};
  LoadListFromResource(lines, "KoNeTz");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "[#");
  for (const std::string& name : CatalogueNames(lines)) EXPECT_TRUE(ReadCatalogueNet(lines, name, kCentre)) << name;

  Lines kept{"old"};
  EXPECT_EQ(MessageOf([&] { LoadListFromResource(kept, "nichtda"); }), "Resource nichtda not found");
  EXPECT_EQ(kept, Lines{"old"});
}

TEST(Catalogue, CodePageConversions) {
  EXPECT_EQ(Windows1252ToUtf8("W\xFCrfel \xE4 \x80"), "W\xC3\xBCrfel \xC3\xA4 \xE2\x82\xAC");
  EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xEF\xBF\xBD");  // unassigned
  EXPECT_EQ(Utf8ToWindows1252("W\xC3\xBCrfel \xE2\x82\xAC \xC5\xB8"), std::string("W\xFCrfel \x80 \x9F"));
  EXPECT_FALSE(Utf8ToWindows1252("\xC2\x81"));  // U+0081 has no place in the code page
  EXPECT_FALSE(Utf8ToWindows1252("\xC3"));
  EXPECT_FALSE(Utf8ToWindows1252("\xFF"));
  for (int c = 0x20; c <= 0xFF; ++c) {
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) continue;
    const std::string one(1, static_cast<char>(c));
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(one)), one) << c;
  }
}

}  // namespace
}  // namespace didod
