// Label widths from FreeType against the font file's own tables (cmap, hmtx,
// OS/2 read with Python's struct): cell height, whole-unit advances, Windows-1252.
#include "platform/posix/font_text_measure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/error.h"
#include "platform/fonts_folder.h"
#include "platform/temp_folder.h"

namespace kestrel::platform {
namespace {

class FontTextMeasureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (measure.face("Arial").file.find("LiberationSans-Regular") == std::string::npos) {
      GTEST_SKIP() << "Arial does not resolve to Liberation Sans here (Debian fonts-liberation)";
    }
  }
  FontTextMeasure measure;
};

struct WidthCase {
  const char* text;
  double size;
  double width;
};

TEST_F(FontTextMeasureTest, WidthsMatchTheFontTables) {
  // Liberation Sans: 2048 units to the em, Windows ascent + descent 2288.
  const WidthCase cases[] = {
      {"Hola", 1.0, 2.95},          {"Hola", 2.5, 7.37},          {"Hola", 0.7, 2.06},
      {"Ñandú 12,5", 1.0, 7.43},    {"Ñandú 12,5", 2.5, 18.5},    {"áéíóú", 0.7, 2.52},
      {"€", 2.5, 1.99},             {"W", 1.0, 1.35},
  };
  for (const WidthCase& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.size));
    EXPECT_NEAR(measure.width(c.text, c.size, "Arial"), c.width, 1e-9);
  }
}

TEST_F(FontTextMeasureTest, OddInputsMeasureWithoutFailing) {
  // Outside Windows-1252 a character measures as "?", as the code page writes it.
  EXPECT_NEAR(measure.width("中", 1.0, "Arial"), measure.width("?", 1.0, "Arial"), 1e-12);
  EXPECT_EQ(measure.width("", 1.0, "Arial"), 0);
  EXPECT_EQ(measure.width("Hola", 0.003, "Arial"), 0);  // a font of height 0
  EXPECT_EQ(measure.width("Hola", 0, "Arial"), 0);
  // A negative height is an em height: 160 units to the em for size -1.
  EXPECT_NEAR(measure.width("W", -1.0, "Arial"), std::nearbyint(1933.0 * 160 / 2048) * 0.01, 1e-12);
  // A face nobody has: fontconfig's stand-in measures it.
  EXPECT_GT(measure.width("Hola", 1.0, "No Such Face Qz"), 0);
  EXPECT_THROW((void)measure.width("Hola", 1e30, "Arial"), core::Error);  // no font that size
}

TEST(FontsFolder, FindsAFileWhateverTheCaseOfItsName) {
  TempFolder folder;
  write_bytes(folder.path() / "Arial.ttf", "x");
  EXPECT_EQ(find_file_any_case(folder.path() / "ARIAL.TTF"), folder.path() / "Arial.ttf");
  EXPECT_EQ(find_file_any_case(folder.path() / "Arial.ttf"), folder.path() / "Arial.ttf");
  EXPECT_EQ(find_file_any_case(folder.path() / "Times.TTF"), std::nullopt);
  EXPECT_EQ(find_file_any_case(folder.path() / "missing" / "Arial.TTF"), std::nullopt);
}

}  // namespace
}  // namespace kestrel::platform
