#include "core/numeric.h"

#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/error_number.h"
#include "core/exact_products.h"

namespace kestrel::core {
namespace {

using testing_support::error_number;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Each case: the argument and the result, NaN where error 6 is raised.
template <class F>
void expect_results(F&& f, std::initializer_list<std::pair<double, double>> cases, const char* what) {
  for (const auto& [x, expected] : cases) {
    if (std::isnan(expected)) {
      EXPECT_EQ(error_number([&] { (void)f(x); }), kOverflow) << what << " " << x;
    } else {
      EXPECT_EQ(f(x), expected) << what << " " << x;
    }
  }
}

// Rounding half to even only moves exact halves.
TEST(Numeric, ConversionsRoundHalfToEvenIntFloorsFixTruncatesAndOverflowIsRaised) {
  expect_results([](double x) { return round_half_even(x); },
                 {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-3.5, -4}, {2.5000001, 3}, {1e300, 1e300},
                  {4503599627370497.0, 4503599627370497.0}},
                 "round_half_even");
  expect_results([](double x) { return double(cint(x)); },
                 {{2.5, 2}, {-1.5, -2}, {32767.4, 32767}, {32767.5, kNaN}, {-32768.5, -32768}, {-32768.6, kNaN},
                  {kNaN, kNaN}},
                 "cint");
  expect_results([](double x) { return double(clng(x)); },
                 {{-2.5, -2}, {-2147483648.5, INT32_MIN}, {2147483647.5, kNaN}, {kNaN, kNaN}}, "clng");
  expect_results([](double x) { return double(csng(x)); },
                 {{3.4e38, double(3.4e38f)}, {3.5e38, kNaN}, {-1e300, kNaN}, {kNaN, kNaN}}, "csng");
  expect_results([](double x) { return double(checked_add(INT32_MAX - 1, std::int32_t(x))); }, {{1, INT32_MAX}, {2, kNaN}},
                 "add");
  expect_results([](double x) { return double(checked_sub(INT32_MIN, std::int32_t(x))); }, {{1, kNaN}}, "sub");
  expect_results([](double x) { return double(checked_mul(std::int32_t(x), 46340)); },
                 {{-46341, -2147441940}, {46342, kNaN}}, "mul");
  expect_results([](double x) { return double(checked_add16(std::int16_t(x), 1)); }, {{32766, 32767}, {32767, kNaN}},
                 "add16");
  EXPECT_EQ(error_number([] { (void)checked_add16(-32768, -1); }), kOverflow);
  // Int floors, Fix truncates, integer division rounds its operands first.
  EXPECT_EQ(vb_int(-2.2), -3);
  EXPECT_EQ(vb_fix(-2.7), -2);
  EXPECT_EQ(int_div(-7, 2), -3);
  EXPECT_EQ(int_div(7.5, 2), 4);   // 8 \ 2
  EXPECT_EQ(int_div(6.5, 2), 3);   // 6 \ 2
  EXPECT_EQ(error_number([] { (void)int_div(5, 0.4); }), kDivisionByZero);  // 0.4 rounds to 0
  EXPECT_EQ(error_number([] { (void)int_div(2147483648.0, 1); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)int_div(INT32_MIN, -1); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)int_div(1e10, 0); }), kOverflow);  // the dividend is converted first
}

// Val reads the leading number and raises overflow beyond the range;
// parse_number reads whole numeric texts only.
TEST(Numeric, ValAndParseNumberReadNumbersFromText) {
  const std::vector<std::pair<std::string, double>> cases = {
      {"  12.5abc", 12.5}, {"1 2 3", 123},     {"&h1f", 31},  {"-.5", -0.5},     {"", 0},       {"abc", 0},
      {"&HFFFF", -1},      {"&H8000", -32768}, {"&H10000", 65536}, {"&H0FFFF", 65535}, {"&HFFFFFFFF", -1},
      {"&O177777", -1},    {"&HZ", 0},         {"1,5", 1},    {"  -  3", -3},    {"--4", 0},    {"1e+", 1},
      {"2d2", 200},        {"1.5e3.2", 1500},  {"\t7\n8", 78}, {"1e-400", 0},     {".5.5", 0.5},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(val(text), expected) << '"' << text << '"';
  EXPECT_EQ(error_number([] { (void)val("1e400"); }), kOverflow);
  EXPECT_EQ(error_number([] { (void)val("&H123456789"); }), kOverflow);
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
  // CDbl tells a text that is no number (13) from one beyond the range (6).
  EXPECT_EQ(error_number([] { (void)to_number("abc"); }), kTypeMismatch);
  EXPECT_EQ(error_number([] { (void)to_number("-1e400"); }), kOverflow);
}

// CStr's text; Str adds the sign place and drops the leading zero.
TEST(Numeric, FormatGeneralLikeCStrAndStrAndFixedFromFifteenDigitsHalfAwayFromZero) {
  const std::vector<std::pair<double, std::string>> cases = {
      {-0.0, "0"},          {0.1 + 0.2, "0.3"},  {1e20, "1E+20"}, {1e-5, "1E-05"}, {0.0001, "0.0001"},
      {123456789012345, "123456789012345"},     {1e15, "1E+15"}, {1234567890123456, "1.23456789012346E+15"},
      {999999999999999.9, "1E+15"},             {1e100, "1E+100"}, {-1.25e-300, "-1.25E-300"},
      {2.0 / 3, "0.666666666666667"},           {DBL_MAX, "1.79769313486232E+308"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
  };
  for (const auto& [x, expected] : cases) EXPECT_EQ(format_general(x), expected) << x;
  for (double x : {0.1, -2.5e-300, DBL_MAX}) EXPECT_EQ(std::stod(format_shortest(x)), x);  // reads back
  const std::pair<double, std::string> str_cases[] = {
      {3, " 3"}, {-2.5, "-2.5"}, {0.5, " .5"}, {-0.25, "-.25"}, {-0.0, " 0"}, {1e-5, " 1E-05"},
  };
  for (const auto& [x, expected] : str_cases) EXPECT_EQ(vb_str(x), expected) << x;
  // Fixed decimals round the fifteen-digit value half away from zero.
  const struct {
    double x;
    int decimals;
    const char* expected;
  } fixed[] = {
      {-2.5, 0, "-3"},          {1.0005, 3, "1.001"},  // 1.000499999... in binary, 1.0005 as the run time sees it
      {-12.3449, 2, "-12.34"},  {-0.0001, 3, "0.000"},  // never "-0.000"
      {-0.0005, 3, "-0.001"},   {-999.9996, 3, "-1000.000"}, {1e20, 3, "100000000000000000000.000"},
      {123456789012345678.0, 0, "123456789012346000"}, {1.23456789012345678, 20, "1.23456789012346000000"},
      {5, -1, "5"},
  };
  for (const auto& c : fixed) EXPECT_EQ(format_fixed(c.x, c.decimals), c.expected) << c.x << " / " << c.decimals;
}

// The limb arithmetic that 32-bit targets use, against the compiler's 128-bit integers.
int reference_sign(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
  const __int128 diff = static_cast<__int128>(a) * b - static_cast<__int128>(c) * d;
  return (diff > 0) - (diff < 0);
}

TEST(ExactProducts, LimbsAgreeWithWideIntegersOnEdgesAndRandomValues) {
  constexpr std::int64_t big = (std::int64_t{1} << 62) - 1;
  const std::array<std::int64_t, 9> edges{0, 1, -1, big, -big, big - 1, -(big - 1), 0xffffffffLL, -0x100000000LL};
  for (auto a : edges)
    for (auto b : edges)
      for (auto c : edges)
        for (auto d : edges)
          ASSERT_EQ(detail::sign_of_product_difference_by_limbs(a, b, c, d), reference_sign(a, b, c, d))
              << a << " " << b << " " << c << " " << d;
  std::mt19937_64 rng(7);
  std::uniform_int_distribution<std::int64_t> any(-big, big);
  for (int i = 0; i < 200000; ++i) {
    const std::int64_t a = any(rng), b = any(rng), c = any(rng), d = any(rng);
    ASSERT_EQ(detail::sign_of_product_difference_by_limbs(a, b, c, d), reference_sign(a, b, c, d));
    // Equal products differ only in their last bits: the halves' carries matter.
    ASSERT_EQ(detail::sign_of_product_difference_by_limbs(a, b, b, a), 0);
    ASSERT_EQ(detail::sign_of_product_difference_by_limbs(a, b, a, b + (b < big ? 1 : -1)),
              reference_sign(a, b, a, b + (b < big ? 1 : -1)));
  }
}

}  // namespace
}  // namespace kestrel::core
