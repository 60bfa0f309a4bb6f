#include "model/join_line.h"

#include <gtest/gtest.h>

namespace didod {
namespace {

TEST(JoinLine, ReadsOnlyNumbersWrittenWithTheirOwnDigits) {
  EXPECT_EQ(ParseJoinLine("5\t2"), (JoinLine{5, 2}));
  EXPECT_EQ(ParseJoinLine("999\t100"), (JoinLine{999, 100}));
  EXPECT_EQ(ParseJoinLine(JoinLineText(12, 7)), (JoinLine{12, 7}));
  EXPECT_EQ(JoinLineText(12, 7), "12\t7");
  // Leading zeros, signs, blanks, a missing or doubled TAB, trailing text and
  // numbers too long for any point: no join.
  for (const char* line : {"05\t1", "5\t01", "+5\t1", "5\t-1", " 5\t1", "5 \t1", "5\t1 ", "5", "5 1", "5\t\t1",
                           "5\t1\t", "5\tx", "\t1", "5\t", "1234567890\t1", "1\t1234567890", ""})
    EXPECT_EQ(ParseJoinLine(line), JoinLine{}) << line;
}

TEST(JoinLine, DroppedPointNeedsOnlyTheFirstFieldAndItsTab) {
  EXPECT_EQ(DroppedPointOf("5\t2"), 5);
  EXPECT_EQ(DroppedPointOf("16\t" + std::string(300, 'x')), 16);
  EXPECT_EQ(DroppedPointOf("7\t"), 7);
  for (const char* line : {"05\t1", "013\t2", "x5\t1", "5", "-5\t1", "\t5", "123456789012\t1"})
    EXPECT_EQ(DroppedPointOf(line), 0) << line;
  EXPECT_EQ(DroppedPointOf("123456789\t1"), 123456789);
}

}  // namespace
}  // namespace didod
