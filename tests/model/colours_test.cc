// CAD colour numbers as the RGB values the drawing model keeps.
#include "model/colours.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace kestrel::model {
namespace {

// The values are the CAD palette as BGR longs (red 1 is 255), worked out by hand.
TEST(ColorRgb, PaletteEdgesAndNumbersTheCadHands) {
  const std::pair<std::int32_t, std::int32_t> numbers[] = {
      {0, 8420480}, {1, 255}, {7, 16777215}, {250, 3159088}, {255, 16776447}, {256, 0}, {-1, 16777215}, {257, 16777215}};
  for (const auto& [number, rgb] : numbers) EXPECT_EQ(Color_RGB(number), rgb) << number;
  const std::pair<core::Variant, std::int32_t> variants[] = {
      {std::string("3"), 65280}, {1e12, 16777215}, {2.5, 65535}};  // no overflow; half to even
  for (const auto& [number, rgb] : variants) EXPECT_EQ(Color_RGB(number), rgb) << number.to_string();
  EXPECT_THROW((void)Color_RGB(core::Variant(std::string("rojo"))), core::Error);
}

}  // namespace
}  // namespace kestrel::model
