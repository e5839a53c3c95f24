// Text in DXF files: Windows-1252 with \U+XXXX escapes when writing;
// the file's code page or UTF-8 when reading, escapes decoded.
#include <gtest/gtest.h>

#include <tuple>

#include "cad/dxf/text_codec.h"

namespace kestrel::dxf {
namespace {

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

// A value that is not UTF-8 in a UTF-8 file is read as Windows-1252, and counted.
TEST(DecodeText, FollowsTheFileEncodingValueByValue) {
  TextDecoder ansi(FileEncoding::kWindows1252);
  EXPECT_EQ(ansi.decode("Se\xF1" "al \x80"), "Señal €");
  TextDecoder utf8(FileEncoding::kUtf8);
  EXPECT_EQ(utf8.decode("Señal €"), "Señal €");
  EXPECT_EQ(utf8.decode("Se\xF1" "al"), "Señal");
  EXPECT_EQ(utf8.decode("bien ñ"), "bien ñ");
  EXPECT_EQ(utf8.decode("\xC3"), "Ã");
  EXPECT_EQ(utf8.fallbacks(), 2u);
}

TEST(DecodeText, EscapesAndCarets) {
  TextDecoder d(FileEncoding::kWindows1252);
  const std::pair<const char*, const char*> cases[] = {
      {"\\U+03A9", "Ω"},
      {"\\U+03a9", "Ω"},
      {"\\U+D83D\\U+DE00", "😀"},
      {"\\U+D83D", "\uFFFD"},  // a lone surrogate
      {"\\U+12", "\\U+12"},    // too short: kept
      {"\\U+XYZW", "\\U+XYZW"},
      {"a^Jb^Ic", "a\nb\tc"},
      {"x^ 2", "x^2"},
      {"x^2", "x^2"},  // not a caret pair
      {"end^", "end^"},
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(d.decode(bytes), utf8) << bytes;
}

TEST(DecodeText, InvertsEncodingAndMTextKeepsEscapedBackslashes) {
  TextDecoder d(FileEncoding::kWindows1252);
  EXPECT_EQ(d.decode("C:\\\\U+0041", true), "C:\\\\U+0041");
  EXPECT_EQ(d.decode("{\\fArial;\\U+0041}\\P", true), "{\\fArial;A}\\P");
  EXPECT_EQ(d.decode("C:\\\\U+0041", false), "C:\\A");
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
