#include <gtest/gtest.h>

#include "core/error.h"
#include "model/colours.h"
#include "model/number_text.h"

namespace kestrel::model {
namespace {

TEST(ColorAci, MapsExactEntriesAndEverythingElseToSeven) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {0x0000FF, 1}, {0x00FFFF, 2}, {0xD8D4D8, 254}, {0x000940, 46}, {0xFF7C78, 171}, {0x807C80, 8},
      {0xFFFFFF, 7}, {0x000000, 7}, {0x0000FE, 7},   {-1, 7},        {0x10000FF, 7},
  };
  for (const auto& [colour, index] : cases) EXPECT_EQ(Color_ACI(colour), index) << std::hex << colour;
}

struct FormatCase {
  core::Variant value;
  std::int16_t decimals;
  std::int16_t width;
  const char* expected;
};

TEST(FormatoNumero, FixedDecimalsWithPointAndPadding) {
  const FormatCase cases[] = {
      {1234.5678, 2, 0, "1234.57"},
      {"12,5", 3, 0, "12.500"},
      {-2.5, 0, 0, "-3"},  // halves away from zero
      {7.6, -1, 0, "8"},
      {3.14159, 2, 6, "     3.14"},
      {3.14159, 20, 6, "          3.141590000000000"},  // at most 15 decimals; the width counts 20
      {12345.6, 1, 3, "12345.6"},
      {"abc", 2, 0, "0.00"},
      {core::Variant(), 2, 0, "0.00"},
      {"1,5,7", 2, 0, "1.50"},
      {1e20, 1, 0, "100000000000000000000.0"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(Formato_Numero(c.value, c.decimals, c.width), c.expected) << c.value.to_string() << " " << c.decimals;
  }
}

TEST(ValorNumero, ReadsTheLeadingNumberWithACommaAsPoint) {
  const std::pair<const char*, double> cases[] = {
      {"0,5", 0.5}, {"0.5", 0.5}, {"", 0},      {"abc", 0},     {"12abc", 12},
      {"1,5,3", 1.5}, {"-2,5e1", -25}, {" 3 4", 34}, {"1.2.3", 1.2}, {"1e999", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(Valor_Numero(text), value) << text;
}

}  // namespace
}  // namespace kestrel::model
