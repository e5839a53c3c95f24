#include "core/numeric.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/error_number.h"

namespace kestrel::core {
namespace {

using testing_support::error_number;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Numeric, RoundHalfEvenOnlyMovesExactHalves) {
  const std::vector<std::pair<double, double>> cases = {
      {0.5, 0}, {1.5, 2}, {2.5, 2}, {-3.5, -4}, {2.5000001, 3}, {1e300, 1e300}, {4503599627370497.0, 4503599627370497.0},
  };
  for (const auto& [x, expected] : cases) EXPECT_EQ(round_half_even(x), expected) << x;
}

struct IntCase {
  double x;
  std::int32_t expected;  // or the error number when `error` is set
  bool error = false;
};

TEST(Numeric, CIntRoundsHalfToEvenAndChecksTheRange) {
  const std::vector<IntCase> cases = {
      {2.5, 2},        {-1.5, -2},                  {32767.4, 32767}, {32767.5, kOverflow, true},
      {-32768.5, -32768}, {-32768.6, kOverflow, true}, {kNaN, kOverflow, true},
  };
  for (const auto& c : cases) {
    if (c.error) {
      EXPECT_EQ(error_number([&] { (void)cint(c.x); }), c.expected) << c.x;
    } else {
      EXPECT_EQ(cint(c.x), c.expected) << c.x;
    }
  }
}

TEST(Numeric, CLngRoundsHalfToEvenAndChecksTheRange) {
  EXPECT_EQ(clng(2147483646.5), 2147483646);
  EXPECT_EQ(clng(-2147483648.5), INT32_MIN);
  EXPECT_EQ(clng(-2.5), -2);
  EXPECT_EQ(error_number([] { (void)clng(2147483647.5); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)clng(-2147483648.6); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)clng(kNaN); }), kOverflow);
}

TEST(Numeric, CSngChecksTheSingleRange) {
  EXPECT_EQ(csng(0.1), 0.1f);
  EXPECT_EQ(csng(3.4e38), 3.4e38f);
  EXPECT_EQ(csng(-FLT_MAX), -FLT_MAX);
  EXPECT_EQ(error_number([] { (void)csng(3.5e38); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)csng(-1e300); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)csng(kNaN); }), kOverflow);
}

TEST(Numeric, CheckedArithmeticRaisesOverflow) {
  EXPECT_EQ(checked_add(INT32_MAX - 1, 1), INT32_MAX);
  EXPECT_EQ(checked_mul(-46341, 46340), -2147441940);
  EXPECT_EQ(checked_add16(32766, 1), 32767);
  EXPECT_EQ(error_number([] { (void)checked_add(INT32_MAX, 1); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)checked_sub(INT32_MIN, 1); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)checked_mul(65536, 32768); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)checked_add16(32767, 1); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)checked_add16(-32768, -1); }), kOverflow);
}

TEST(Numeric, IntFloorsFixTruncates) {
  EXPECT_EQ(vb_int(-2.2), -3);
  EXPECT_EQ(vb_fix(-2.7), -2);
}

TEST(Numeric, IntegerDivisionRoundsOperandsThenTruncates) {
  EXPECT_EQ(int_div(7, 2), 3);
  EXPECT_EQ(int_div(-7, 2), -3);
  EXPECT_EQ(int_div(7.5, 2), 4);   // 8 \ 2
  EXPECT_EQ(int_div(6.5, 2), 3);   // 6 \ 2
  EXPECT_EQ(int_div(-1, 65536), 0);
  EXPECT_EQ(int_div(16711680, 65536), 255);
  EXPECT_EQ(error_number([] { (void)int_div(5, 0.4); }), kDivisionByZero);  // 0.4 rounds to 0
  EXPECT_EQ(error_number([] { (void)int_div(2147483648.0, 1); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)int_div(INT32_MIN, -1); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)int_div(1e10, 0); }), kOverflow);  // the dividend is converted first
}

TEST(Numeric, ValReadsTheLeadingNumber) {
  const std::vector<std::pair<std::string, double>> cases = {
      {"  12.5abc", 12.5}, {"1 2 3", 123},     {"&h1f", 31},  {"-.5", -0.5},     {"", 0},       {"abc", 0},
      {"&HFFFF", -1},      {"&H8000", -32768}, {"&H10000", 65536}, {"&H0FFFF", 65535}, {"&HFFFFFFFF", -1},
      {"&O177777", -1},    {"&HZ", 0},         {"1,5", 1},    {"  -  3", -3},    {"--4", 0},    {"1e+", 1},
      {"2d2", 200},        {"1.5e3.2", 1500},  {"\t7\n8", 78}, {"1e-400", 0},     {".5.5", 0.5},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(val(text), expected) << '"' << text << '"';
}

TEST(Numeric, ValRaisesOverflowBeyondTheRange) {
  EXPECT_EQ(error_number([] { (void)val("1e400"); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)val("&H123456789"); }), kOverflow);
}

TEST(Numeric, ParseNumberReadsWholeNumericTexts) {
  const std::vector<std::pair<std::string, double>> numbers = {
      {" 12.5 ", 12.5}, {"+5", 5}, {"- 5", -5}, {"&H1F", 31}, {".5", 0.5}, {"5.", 5}, {"1d2", 100},
      {"1e-400", 0},     {"\t7\r\n", 7}, {"00012", 12},
  };
  for (const auto& [text, expected] : numbers) {
    ASSERT_TRUE(parse_number(text).has_value()) << '"' << text << '"';
    EXPECT_EQ(*parse_number(text), expected) << '"' << text << '"';
  }
  for (const std::string text : {"", " ", "12abc", "inf", "nan", "1e400", ".", "1,5", "True", "0x10", "1 2", "--1",
                                 "&H", "e5", "1e", "&H123456789"}) {
    EXPECT_FALSE(parse_number(text).has_value()) << '"' << text << '"';
  }
}

TEST(Numeric, ToNumberTellsMismatchFromOverflow) {
  EXPECT_EQ(to_number(" -2.5 "), -2.5);
  EXPECT_EQ(error_number([] { (void)to_number("abc"); }), kTypeMismatch);
  EXPECT_EQ(error_number([] { (void)to_number("-1e400"); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)to_number("&H123456789"); }), kOverflow);
}

TEST(Numeric, FormatGeneralLikeCStr) {
  const std::vector<std::pair<double, std::string>> cases = {
      {-0.0, "0"},          {0.1 + 0.2, "0.3"},  {1e20, "1E+20"}, {1e-5, "1E-05"}, {0.0001, "0.0001"},
      {123456789012345, "123456789012345"},     {1e15, "1E+15"}, {1234567890123456, "1.23456789012346E+15"},
      {999999999999999.9, "1E+15"},             {1e100, "1E+100"}, {-1.25e-300, "-1.25E-300"},
      {2.0 / 3, "0.666666666666667"},           {DBL_MAX, "1.79769313486232E+308"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
  };
  for (const auto& [x, expected] : cases) EXPECT_EQ(format_general(x), expected) << x;
}

TEST(Numeric, StrAddsTheSignPlaceAndDropsTheLeadingZero) {
  const std::vector<std::pair<double, std::string>> cases = {
      {3, " 3"}, {-2.5, "-2.5"}, {0.5, " .5"}, {-0.25, "-.25"}, {-0.0, " 0"}, {1e-5, " 1E-05"},
  };
  for (const auto& [x, expected] : cases) EXPECT_EQ(vb_str(x), expected) << x;
}

struct FixedCase {
  double x;
  int decimals;
  std::string expected;
};

TEST(Numeric, FormatFixedRoundsTheFifteenDigitValueHalfAwayFromZero) {
  const std::vector<FixedCase> cases = {
      {2.5, 0, "3"},
      {-2.5, 0, "-3"},
      {0.4999, 0, "0"},
      {1.0005, 3, "1.001"},  // 1.000499999... in binary, 1.0005 as the run time sees it
      {1.005, 2, "1.01"},
      {-12.3449, 2, "-12.34"},
      {-0.0001, 3, "0.000"},  // never "-0.000"
      {-0.0005, 3, "-0.001"},
      {0.00049, 3, "0.000"},
      {-0.0, 2, "0.00"},
      {-999.9996, 3, "-1000.000"},
      {1e20, 3, "100000000000000000000.000"},
      {123456789012345678.0, 0, "123456789012346000"},
      {1.23456789012345678, 20, "1.23456789012346000000"},
      {5, -1, "5"},
  };
  for (const auto& c : cases) EXPECT_EQ(format_fixed(c.x, c.decimals), c.expected) << c.x << " / " << c.decimals;
}

TEST(Numeric, ShortestFormReadsBack) {
  for (double x : {0.1, 1e20, -2.5e-300, 123456.789, DBL_MAX}) {
    const std::string s = format_shortest(x);
    EXPECT_EQ(std::stod(s), x) << s;
  }
  EXPECT_EQ(format_shortest(0.1), "0.1");
}

}  // namespace
}  // namespace kestrel::core
