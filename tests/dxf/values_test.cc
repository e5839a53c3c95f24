// Values in DXF files: groups as the reader splits them, numbers as text
// (shortest reals that read back, angles that survive degrees → radians →
// degrees) and texts (Windows-1252 with \U+XXXX escapes, or UTF-8).
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "cad/dxf/dxf.h"
#include "cad/dxf/group_reader.h"
#include "cad/dxf/number_text.h"
#include "cad/dxf/text_codec.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/texts.h"
#include "core/error.h"
#include "core/error_number.h"
#include "dxf/dxf_test_util.h"

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
  for (std::size_t i = 0; i < g.size(); ++i) EXPECT_EQ(std::tie(g[i].code, g[i].value, g[i].line), expected[i]) << i;
  for (const char* bad : {"1072\nx\n", "-6\nx\n", "1 0\nx\n", "+10\nx\n", "-\nx\n", "10x\ny\n", "\nx\n"}) {
    EXPECT_THROW((void)groups(bad), core::Error) << bad;
  }
}

// Reals as strtod reads them but without its hex, infinities and NaN.
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
    ASSERT_EQ(reader.real(Group{10, text, 1}), std::strtod(text, nullptr)) << text;
  }
  const std::pair<const char*, double> cases[] = {
      {"1.", 1}, {".5", 0.5}, {"+4", 4}, {" 2.5 ", 2.5}, {"-0", -0.0}, {"1e-400", 0}, {"1E3", 1000}, {"-2e-3", -0.002},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(reader.real(Group{40, text, 1}), value) << text;
  for (const char* bad : {"", ".", "-", "1,5", "1.5.2", "nan", "inf", "1e999", "0x10"}) {
    EXPECT_THROW((void)reader.real(Group{40, bad, 1}), core::Error) << bad;
  }
}

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
    std::string reference(shortest, std::to_chars(shortest, shortest + sizeof shortest, v).ptr);
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
    ASSERT_EQ(degrees_text(degrees_to_radians(std::strtod(first.c_str(), nullptr))), first);
  }
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
      {[](memcad::Block& ms) { ms.add<memcad::Point>(Vec3{INFINITY, 0, 0}); }, "(+infinito) para el código de grupo 10"},
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
      const core::Error e = core::testing_support::caught(
          [&] { to_file ? save_dxf(*doc, folder.path() / "plano.dxf") : (void)save_dxf_text(*doc); });
      EXPECT_EQ(e.number(), core::kAutomationError);
      EXPECT_NE(e.description().find(c.says), std::string::npos) << e.description();
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
  }
}

std::string encoded(std::string_view utf8) {
  std::string out;
  encode_text(utf8, out);
  return out;
}

TEST(EncodeText, Windows1252AndEscapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"Plano", "Plano"},
      {"Señal º á €", "Se\xF1" "al \xBA \xE1 \x80"},
      {"Ω", "\\U+03A9"},
      {"λ—", "\\U+03BB\x97"},
      {"😀", "\\U+D83D\\U+DE00"},  // above U+FFFF: a surrogate pair
      {"a\nb\tc", "a^Jb^Ic"},
      {"x^2", "x^ 2"},
      {"a\xFF" "b", "a\xFF" "b"},  // a stray byte is written as itself
  };
  for (const auto& [utf8, bytes] : cases) EXPECT_EQ(encoded(utf8), bytes) << utf8;
}

TEST(DecodeText, EscapesAndCaretsInvertEncodingAndMTextKeepsEscapedBackslashes) {
  TextDecoder d(FileEncoding::kWindows1252);
  const std::pair<const char*, const char*> cases[] = {
      {"\\U+03A9", "Ω"},       {"\\U+03a9", "Ω"},         {"\\U+D83D\\U+DE00", "😀"},
      {"\\U+D83D", "\uFFFD"},  // a lone surrogate
      {"\\U+12", "\\U+12"},    // too short: kept
      {"\\U+XYZW", "\\U+XYZW"}, {"a^Jb^Ic", "a\nb\tc"},   {"x^ 2", "x^2"},
      {"x^2", "x^2"},          // not a caret pair
      {"end^", "end^"},        {"C:\\\\U+0041", "C:\\A"},
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(d.decode(bytes), utf8) << bytes;
  EXPECT_EQ(d.decode("C:\\\\U+0041", true), "C:\\\\U+0041");
  EXPECT_EQ(d.decode("{\\fArial;\\U+0041}\\P", true), "{\\fArial;A}\\P");
  for (const char* s : {"Señal º", "Ω λ 😀", "a^b^ c\n", "^^", "\\U+ sin cifras", "línea\tcolumna"}) {
    EXPECT_EQ(d.decode(encoded(s)), s) << s;
  }
}

// Files before R2007 are in their code page, later ones in UTF-8; a code
// page other than Windows-1252 is not known.
TEST(FileEncoding, VersionAndCodePage) {
  const std::tuple<const char*, const char*, FileEncoding, bool> cases[] = {
      {"AC1015", "ANSI_1252", FileEncoding::kWindows1252, true}, {"", "", FileEncoding::kWindows1252, true},
      {"AC1009", "ansi_1252", FileEncoding::kWindows1252, true}, {"AC1021", "ANSI_1252", FileEncoding::kUtf8, true},
      {"AC1032", "ANSI_1251", FileEncoding::kUtf8, true},        {"AC1015", "UTF-8", FileEncoding::kUtf8, true},
      {"AC1015", "ANSI_1251", FileEncoding::kWindows1252, false},
  };
  for (const auto& [version, code_page, expected, known] : cases) {
    bool is_known = !known;
    EXPECT_EQ(file_encoding(version, code_page, is_known), expected) << version << ' ' << code_page;
    EXPECT_EQ(is_known, known) << version << ' ' << code_page;
  }
}

}  // namespace
}  // namespace kestrel::dxf
