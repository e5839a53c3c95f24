// Numbers as DXF text: shortest text that reads back to the same double;
// angles in degrees that survive degrees → radians → degrees; no text for a
// value that is not a number.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "cad/dxf/dxf.h"
#include "cad/dxf/number_text.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/texts.h"
#include "core/error.h"
#include "dxf/dxf_test_util.h"

namespace kestrel::dxf {
namespace {

std::string real_text(double v) {
  char buf[kNumberTextSize];
  return std::string(buf, format_real(buf, v));
}

std::string degrees_text(double radians) {
  char buf[kNumberTextSize];
  return std::string(buf, format_degrees(buf, radians));
}

// Reals: the shortest text with a point; angles: degrees to twelve
// significant digits; integers: decimal and upper-case hex.
TEST(FormatNumbers, TextsAsTheFileHoldsThem) {
  const double pi = std::acos(-1.0);
  char buf[kNumberTextSize];
  const std::pair<std::string, const char*> cases[] = {
      {real_text(-0.0), "-0.0"},        {real_text(1.0), "1.0"},
      {real_text(1e-7), "0.0000001"},   {real_text(1.5e-7), "1.5e-07"},
      {real_text(99999999.5), "99999999.5"}, {real_text(1e8), "1e+08"},
      {real_text(123456789012.0), "123456789012.0"}, {real_text(5e-324), "5e-324"},
      {degrees_text(0), "0.0"},         {degrees_text(-pi / 4), "-45.0"},
      {degrees_text(1), "57.2957795131"}, {degrees_text(1e-20), "5.72957795131e-19"},
      {std::string(buf, format_integer(buf, -32768)), "-32768"},
      {std::string(buf, format_hex(buf, 0xABCDEF12)), "ABCDEF12"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(text, expected);
}

// A drawing holding a value that is not a number (nor an angle whose
// degrees are not) is not saved: the error names the group code and no file
// is left.
TEST(SaveNonFinite, FailsNamingTheGroupCode) {
  using memcad::Vec3;
  const struct {
    void (*add)(memcad::Block&);
    const char* says;
  } cases[] = {
      {[](memcad::Block& ms) { ms.add<memcad::Point>(Vec3{INFINITY, 0, 0}); },
       "(+infinito) para el código de grupo 10"},
      {[](memcad::Block& ms) { ms.add<memcad::Circle>(Vec3{1, 2, 0}, NAN); }, "(NaN) para el código de grupo 40"},
      {[](memcad::Block& ms) { ms.add<memcad::Text>("A", Vec3{1, 2, 0}).rotation = NAN; },
       "(NaN) para el código de grupo 50"},
      // Finite radians whose degrees overflow.
      {[](memcad::Block& ms) { ms.add<memcad::Arc>(Vec3{}, 1, 1e307, 0); }, "para el código de grupo 50"},
  };
  test::TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    const auto doc = memcad::Document::create();
    doc->model_space().add<memcad::Point>(Vec3{1, 1, 1});
    c.add(doc->model_space());
    for (const bool to_file : {false, true}) {
      try {
        to_file ? save_dxf(*doc, folder.path() / "plano.dxf") : (void)save_dxf_text(*doc);
        ADD_FAILURE() << "saved";
      } catch (const core::Error& e) {
        EXPECT_EQ(e.number(), core::kAutomationError);
        EXPECT_NE(e.description().find(c.says), std::string::npos) << e.description();
      }
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
  }
}

// Every double reads back exactly, and the text is never longer than the
// shortest round-trip form.
TEST(FormatReal, RoundTripsAndIsShortest) {
  std::mt19937_64 random(20240601);
  for (int i = 0; i < 200000; ++i) {
    double v;
    switch (i % 4) {
      case 0: v = std::uniform_real_distribution<double>(-1e9, 1e9)(random); break;
      case 1: v = std::round(std::uniform_real_distribution<double>(-1e7, 1e7)(random) * 1000) / 1000; break;
      case 2: {
        const std::uint64_t bits = random();
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) v = 1;
        break;
      }
      default: v = std::ldexp(std::uniform_real_distribution<double>(-1, 1)(random), int(random() % 120) - 60);
    }
    const std::string text = real_text(v);
    ASSERT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
    char shortest[kNumberTextSize];
    const auto end = std::to_chars(shortest, shortest + sizeof shortest, v).ptr;
    std::string reference(shortest, end);
    if (reference.find_first_of(".e") == std::string::npos) reference += ".0";
    ASSERT_LE(text.size(), reference.size()) << text << " vs " << reference;
  }
}

// Saving an angle read from a file writes the same text again, whatever the angle.
TEST(FormatDegrees, TextSurvivesReadingBack) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 200000; ++i) {
    double radians = std::uniform_real_distribution<double>(-20, 20)(random);
    if (i % 3 == 0) radians = std::ldexp(radians, -int(random() % 60));
    const std::string first = degrees_text(radians);
    const double read_back = degrees_to_radians(std::strtod(first.c_str(), nullptr));
    ASSERT_EQ(degrees_text(read_back), first);
  }
}

}  // namespace
}  // namespace kestrel::dxf
