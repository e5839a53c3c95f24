// The group reader: codes, values, numbers as the DXF reference reads them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "cad/dxf/group_reader.h"
#include "core/error.h"

namespace kestrel::dxf {
namespace {

std::vector<Group> groups(std::string_view text) {
  GroupReader reader(text, "g.dxf");
  std::vector<Group> out;
  Group g;
  while (reader.next(g)) out.push_back(g);
  return out;
}

// Codes with blanks around them, CRLF line ends, values that keep their
// blanks, a byte order mark skipped; each group knows its line.
TEST(GroupReader, CodesValuesAndLines) {
  const auto g = groups("\xEF\xBB\xBF  0\r\nSECTION\r\n 10\n1.5\n1071\n  dos espacios \n-5\n\n");
  ASSERT_EQ(g.size(), 4u);
  const std::tuple<int, std::string, std::size_t> expected[] = {
      {0, "SECTION", 1}, {10, "1.5", 3}, {1071, "  dos espacios ", 5}, {-5, "", 7}};
  for (std::size_t i = 0; i < g.size(); ++i) {
    EXPECT_EQ(std::tie(g[i].code, g[i].value, g[i].line), expected[i]) << i;
  }
}

TEST(GroupReader, RefusesCodesThatAreNotCodes) {
  for (const char* bad : {"1072\nx\n", "-6\nx\n", "1 0\nx\n", "+10\nx\n", "-\nx\n", "10x\ny\n", "\nx\n"}) {
    EXPECT_THROW((void)groups(bad), core::Error) << bad;
  }
}

TEST(GroupReader, RealsAsStrtodReadsThem) {
  GroupReader reader("", "r.dxf");
  std::mt19937_64 random(11);
  for (int i = 0; i < 100000; ++i) {
    char text[64];
    switch (i % 4) {
      case 0: std::snprintf(text, sizeof text, "%.*f", int(random() % 9), double(random() % 100000000) / 997); break;
      case 1: std::snprintf(text, sizeof text, "%.17g", std::uniform_real_distribution<double>(-1e6, 1e6)(random)); break;
      case 2: std::snprintf(text, sizeof text, "-%llu.%llu", random() % 1000000000ULL, random() % 1000000ULL); break;
      default: std::snprintf(text, sizeof text, "%llu", random() % 10000000000000000ULL);
    }
    const Group g{10, text, 1};
    ASSERT_EQ(reader.real(g), std::strtod(text, nullptr)) << text;
  }
}

// Reals as strtod reads them but without its hex, infinities and NaN.
TEST(GroupReader, RealForms) {
  GroupReader reader("", "r.dxf");
  const std::pair<const char*, double> cases[] = {
      {"1.", 1}, {".5", 0.5}, {"+4", 4}, {" 2.5 ", 2.5}, {"-0", -0.0}, {"1e-400", 0}, {"1E3", 1000}, {"-2e-3", -0.002},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(reader.real(Group{40, text, 1}), value) << text;
  for (const char* bad : {"", ".", "-", "1,5", "1.5.2", "nan", "inf", "1e999", "0x10"}) {
    EXPECT_THROW((void)reader.real(Group{40, bad, 1}), core::Error) << bad;
  }
}

TEST(GroupReader, IntegersHandlesAndCounts) {
  GroupReader reader("", "i.dxf");
  EXPECT_EQ(reader.integer(Group{62, "-7", 1}), -7);
  EXPECT_EQ(reader.handle(Group{5, "1aF", 1}), 0x1AFu);
  EXPECT_EQ(reader.handle(Group{5, "zz", 1}), 0u);
  EXPECT_EQ(reader.count(Group{90, "3", 1}, 3), 3u);
  EXPECT_THROW((void)reader.count(Group{90, "4", 1}, 3), core::Error);
  EXPECT_THROW((void)reader.count(Group{90, "-1", 1}, 3), core::Error);
}

}  // namespace
}  // namespace kestrel::dxf
