#include "persistence/net_record.h"

#include <gtest/gtest.h>

#include "support/message_of.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace didod {
namespace {

using Lines = std::vector<std::string>;
constexpr ViewCentre kCentre{399, 319};

using didod::testing::MessageOf;

TEST(SplitLines, EndsLinesAtCrLfAndCrLfPairs) {
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r\n"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF CR is two line ends
  EXPECT_EQ(SplitLines("\r\n\r\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines("\r"), Lines{""});
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitLines(std::string("a\r\nb\0c\r\nd", 9)), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines(std::string("\0abc", 4)), Lines{});
  EXPECT_EQ(CountLines("a\r\nb\nc\rd\r\n"), 4u);
  EXPECT_EQ(CountLines(std::string("x\n\0\n\n", 5)), 1u);
}

TEST(JoinLines, EndsEveryLineWithCrLf) {
  EXPECT_EQ(JoinLines({}), "");
  EXPECT_EQ(JoinLines({""}), "\r\n");
  EXPECT_EQ(JoinLines({"1", "", "2\t3"}), "1\r\n\r\n2\t3\r\n");
  const Lines lines{"x", "", "y"};
  EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

Construction Triangle() {
  Construction c;
  c.AppendWholeFace({{0, 0}, {-1, 0}, {-0.5, -0.8660254037844386}}, kCentre);
  return c;
}

TEST(WriteNetRecord, TriangleGivesTheTwelveLines) {
  EXPECT_EQ(WriteNetRecord(Triangle()),
            (Lines{"1", "3", "3", "0", "0", "0", "-1", "0", "0", "-0.5", "-0.8660254038", "0"}));
  EXPECT_EQ(WriteNetRecord(Construction{}), (Lines{"0", "0"}));
}

TEST(WriteNetRecord, WritesFlagsAndJoinLinesUnchanged) {
  Construction c = Triangle();
  c.AppendWholeFace({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, kCentre);
  c.ScreenPoints[4].Fixed = true;
  c.JoinList = {"4\t1", "", "12\t99"};
  const Lines lines = WriteNetRecord(c);
  ASSERT_EQ(lines.size(), 2u + 2u + 3u * 7u + 3u);
  EXPECT_EQ(lines[3], "7");
  EXPECT_EQ(lines[4 + 3 * 3 + 2], "1");  // flag of point 4
  EXPECT_EQ(lines[4 + 3 * 4 + 2], "0");
  EXPECT_EQ(Lines(lines.end() - 3, lines.end()), c.JoinList);
}

TEST(ReadNetRecord, ReadsTheTriangleAtTheStandardScale) {
  const Construction c = ReadNetRecord(
      {"1", "3", "3", "0", "0", "0", "-1", "0", "0", "-0.5", "-0.8660254038", "0"}, 0, false, kCentre);
  ASSERT_EQ(c.FaceCount, 1);
  ASSERT_EQ(c.PointCount, 3);
  EXPECT_EQ(c.FaceSizes[1], 3);
  EXPECT_EQ(c.NetPoints[3], (NetPoint{-0.5, -0.8660254038}));
  EXPECT_EQ(c.Scale, 50.0);
  EXPECT_DOUBLE_EQ(c.ScreenPoints[2].x, 349.0);
  EXPECT_DOUBLE_EQ(c.ScreenPoints[3].y, 319.0 + 50.0 * 0.8660254038);
  EXPECT_TRUE(c.JoinList.empty());
  EXPECT_TRUE(c.IsConsistent());
}

TEST(ReadNetRecord, OnlyTheExactFlagLineOneFixes) {
  const Construction c = ReadNetRecord(
      {"2", "2", "2", "4", "0", "0", "1", "0", "0", "1 ", "0", "0", " 1", "0", "0", ""}, 0, false, kCentre);
  EXPECT_TRUE(c.ScreenPoints[1].Fixed);
  EXPECT_FALSE(c.ScreenPoints[2].Fixed);
  EXPECT_FALSE(c.ScreenPoints[3].Fixed);
  EXPECT_FALSE(c.ScreenPoints[4].Fixed);
  EXPECT_TRUE(c.JoinList.empty());
}

TEST(ReadNetRecord, EveryLineAfterThePointsIsAJoinLineInAFile) {
  const Lines lines{"1", "2", "2", "0", "0", "0", "1", "0", "1", "2\t1", "", "[x", "", "junk"};
  const Construction c = ReadNetRecord(lines, 0, false, kCentre);
  EXPECT_EQ(c.JoinList, (Lines{"2\t1", "", "[x", "", "junk"}));
  EXPECT_TRUE(c.ScreenPoints[2].Fixed);
}

TEST(ReadNetRecord, CatalogueRecordStopsAtTheNextBracket) {
  const Lines lines{"[A", "1", "2", "2", "0", "0", "0", "1", "0", "1", "2\t1", "", "[#", "1\t2"};
  const Construction c = ReadNetRecord(lines, 1, true, kCentre);
  EXPECT_EQ(c.JoinList, (Lines{"2\t1", ""}));
}

TEST(ReadNetRecord, MalformedNumbersReadAsTheirValidBeginning) {
  const Construction c =
      ReadNetRecord({"1 face", "2", "2", "0,5", "abc", "1", "2.5e1x", "-", "0"}, 0, false, kCentre);
  EXPECT_EQ(c.FaceCount, 1);
  EXPECT_EQ(c.NetPoints[1], (NetPoint{0, 0}));
  EXPECT_EQ(c.NetPoints[2], (NetPoint{25, 0}));
}

TEST(ReadNetRecord, MissingLinesNameTheFirstMissingIndex) {
  EXPECT_EQ(MessageOf([] { ReadNetRecord({}, 0, false, kCentre); }), "List index out of bounds (0)");
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"2", "3"}, 0, false, kCentre); }),
            "List index out of bounds (2)");
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"1", "3", "3", "0", "0", "0", "1", "0"}, 0, false, kCentre); }),
            "List index out of bounds (8)");
  // Counted in the whole list, not in the record.
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"[A", "0"}, 1, true, kCentre); }), "List index out of bounds (2)");
}

TEST(ReadNetRecord, RefusesWhatTheStoreCannotHold) {
  const std::string refused = kInvalidConstructionMessage;
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"200"}, 0, false, kCentre); }), refused);
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"-1", "0"}, 0, false, kCentre); }), refused);
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"1", "202", "202"}, 0, false, kCentre); }), refused);
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"2", "-3", "6", "3"}, 0, false, kCentre); }), refused);
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"0", "1000"}, 0, false, kCentre); }), refused);
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"0", "-1"}, 0, false, kCentre); }), refused);
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"1", "3", "4"}, 0, false, kCentre); }), refused);
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"0", "3"}, 0, false, kCentre); }), refused);
  // Huge counts are refused at once, before any line is looked for.
  EXPECT_EQ(MessageOf([] { ReadNetRecord({"$7FFFFFFF"}, 0, false, kCentre); }), refused);
  // Five faces of 200 corners are each within the renderer's limit but exceed the points.
  Lines big{"5", "200", "200", "200", "200", "200", "1000"};
  EXPECT_EQ(MessageOf([&] { ReadNetRecord(big, 0, false, kCentre); }), refused);
}

TEST(ReadNetRecord, AcceptsTheLargestStore) {
  Lines lines{"199"};
  for (int f = 1; f < 199; ++f) lines.push_back("5");
  lines.push_back("9");  // 198 * 5 + 9 = 999
  lines.push_back("999");
  for (int i = 1; i <= 999; ++i) {
    lines.push_back(std::to_string(i));
    lines.push_back("-" + std::to_string(i) + ".25");
    lines.push_back(i % 2 ? "1" : "0");
  }
  const Construction c = ReadNetRecord(lines, 0, false, kCentre);
  EXPECT_EQ(c.FaceCount, 199);
  EXPECT_EQ(c.PointCount, 999);
  EXPECT_EQ(c.NetPoints[999], (NetPoint{999, -999.25}));
  EXPECT_TRUE(c.IsConsistent());
  EXPECT_EQ(WriteNetRecord(c), lines);
}

}  // namespace
}  // namespace didod
