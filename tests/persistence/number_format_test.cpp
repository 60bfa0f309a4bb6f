#include "persistence/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>
#include <string>

namespace didod {
namespace {

TEST(FormatNetCoordinate, WritesTenDecimalsWithoutTrailingZeros) {
  EXPECT_EQ(FormatNetCoordinate(0.98), "0.98");
  EXPECT_EQ(FormatNetCoordinate(-1.02), "-1.02");
  EXPECT_EQ(FormatNetCoordinate(2), "2");
  EXPECT_EQ(FormatNetCoordinate(100), "100");
  EXPECT_EQ(FormatNetCoordinate(0), "0");
  EXPECT_EQ(FormatNetCoordinate(-0.0), "0");
  EXPECT_EQ(FormatNetCoordinate(-0.00000000004), "0");
  EXPECT_EQ(FormatNetCoordinate(0.5660254037844386), "0.5660254038");
  EXPECT_EQ(FormatNetCoordinate(-0.8660254037844386), "-0.8660254038");
  EXPECT_EQ(FormatNetCoordinate(3), "3");
  EXPECT_EQ(FormatNetCoordinate(-2.5), "-2.5");
  EXPECT_EQ(FormatNetCoordinate(0.00000000006), "0.0000000001");
  EXPECT_EQ(FormatNetCoordinate(-1234567.125), "-1234567.125");
  EXPECT_EQ(FormatNetCoordinate(1e20), "100000000000000000000");
}

TEST(FormatNetCoordinate, NonFiniteValuesWriteZero) {
  EXPECT_EQ(FormatNetCoordinate(std::nan("")), "0");
  EXPECT_EQ(FormatNetCoordinate(INFINITY), "0");
  EXPECT_EQ(FormatNetCoordinate(-INFINITY), "0");
}

// A German user's locale writes "0,98"; the file must not change with it.
class GermanNumericLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    oldC_ = std::setlocale(LC_NUMERIC, nullptr);
    haveC_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr ||
             std::setlocale(LC_NUMERIC, "de_DE") != nullptr;
    oldGlobal_ = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
  }
  void TearDown() override {
    std::setlocale(LC_NUMERIC, oldC_.c_str());
    std::locale::global(oldGlobal_);
  }
  struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
  };
  std::string oldC_;
  bool haveC_ = false;
  std::locale oldGlobal_;
};

TEST_F(GermanNumericLocale, FormatsAndParsesWithPoint) {
  EXPECT_EQ(FormatNetCoordinate(0.98), "0.98");
  EXPECT_EQ(FormatNetCoordinate(-1234.5), "-1234.5");
  EXPECT_EQ(FormatNetCoordinate(0.5660254037844386), "0.5660254038");
  EXPECT_DOUBLE_EQ(ParseLineReal("0.5"), 0.5);
  EXPECT_DOUBLE_EQ(ParseLineReal("0,5"), 0.0);
  EXPECT_EQ(ParseLineInteger("1.000"), 1);
  if (!haveC_) GTEST_LOG_(INFO) << "no German C locale installed; only the C++ locale was German";
}

TEST(ParseLineInteger, ReadsDecimalHexSignsAndBlanks) {
  EXPECT_EQ(ParseLineInteger("0"), 0);
  EXPECT_EQ(ParseLineInteger("199"), 199);
  EXPECT_EQ(ParseLineInteger("-7"), -7);
  EXPECT_EQ(ParseLineInteger("+7"), 7);
  EXPECT_EQ(ParseLineInteger("   12"), 12);
  EXPECT_EQ(ParseLineInteger("$1A"), 26);
  EXPECT_EQ(ParseLineInteger("x1a"), 26);
  EXPECT_EQ(ParseLineInteger("X1F"), 31);
  EXPECT_EQ(ParseLineInteger("0x10"), 16);
  EXPECT_EQ(ParseLineInteger("0X10"), 16);
  EXPECT_EQ(ParseLineInteger("-$10"), -16);
  EXPECT_EQ(ParseLineInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseLineInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseLineInteger("-2147483648"), INT32_MIN);
}

TEST(ParseLineInteger, MalformedLinesGiveTheirValidBeginning) {
  EXPECT_EQ(ParseLineInteger(""), 0);
  EXPECT_EQ(ParseLineInteger("   "), 0);
  EXPECT_EQ(ParseLineInteger("abc"), 0);
  EXPECT_EQ(ParseLineInteger("12abc"), 12);
  EXPECT_EQ(ParseLineInteger("12 "), 12);
  EXPECT_EQ(ParseLineInteger("3.7"), 3);
  EXPECT_EQ(ParseLineInteger("-"), 0);
  EXPECT_EQ(ParseLineInteger("$"), 0);
  EXPECT_EQ(ParseLineInteger("0x"), 0);
  EXPECT_EQ(ParseLineInteger("$1G"), 1);
  EXPECT_EQ(ParseLineInteger("\t5"), 0);
  // A digit that would overflow ends the number.
  EXPECT_EQ(ParseLineInteger("2147483648"), 214748364);
  EXPECT_EQ(ParseLineInteger("-2147483649"), -214748364);
  EXPECT_EQ(ParseLineInteger("99999999999999999999"), 999999999);
  EXPECT_EQ(ParseLineInteger("$123456789"), 0x12345678);
}

TEST(ParseLineReal, ReadsBothWrittenForms) {
  EXPECT_DOUBLE_EQ(ParseLineReal("0.5660254038"), 0.5660254038);
  EXPECT_DOUBLE_EQ(ParseLineReal(" 5.66025403784439E-0001"), 0.566025403784439);
  EXPECT_DOUBLE_EQ(ParseLineReal("-2.00000000000000E-0002"), -0.02);
  EXPECT_DOUBLE_EQ(ParseLineReal("-1.02"), -1.02);
  EXPECT_DOUBLE_EQ(ParseLineReal("+3"), 3.0);
  EXPECT_DOUBLE_EQ(ParseLineReal("1e3"), 1000.0);
  EXPECT_DOUBLE_EQ(ParseLineReal("2.5E+2"), 250.0);
  EXPECT_DOUBLE_EQ(ParseLineReal(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ParseLineReal("5."), 5.0);
  // Correctly rounded, so every written coordinate reads back exactly as its text says.
  EXPECT_EQ(ParseLineReal("0.1"), 0.1);
  EXPECT_EQ(ParseLineReal(FormatNetCoordinate(-0.8660254037844386)), -0.8660254038);
}

TEST(ParseLineReal, MalformedLinesGiveTheirValidBeginning) {
  EXPECT_EQ(ParseLineReal(""), 0.0);
  EXPECT_EQ(ParseLineReal("0,5"), 0.0);
  EXPECT_EQ(ParseLineReal("1,5"), 1.0);
  EXPECT_EQ(ParseLineReal("abc"), 0.0);
  EXPECT_EQ(ParseLineReal("."), 0.0);
  EXPECT_EQ(ParseLineReal("-"), 0.0);
  EXPECT_EQ(ParseLineReal("2.5x"), 2.5);
  EXPECT_EQ(ParseLineReal("3E"), 3.0);
  EXPECT_EQ(ParseLineReal("3E+"), 3.0);
  EXPECT_EQ(ParseLineReal("1.5.5"), 1.5);
  EXPECT_EQ(ParseLineReal("nan"), 0.0);
  EXPECT_EQ(ParseLineReal("inf"), 0.0);
  EXPECT_EQ(ParseLineReal("1e999"), 0.0);  // beyond a double: no infinity enters the store
  EXPECT_EQ(ParseLineReal("1e-999"), 0.0);
  EXPECT_TRUE(std::isfinite(ParseLineReal("-9e308")));
}

}  // namespace
}  // namespace didod
