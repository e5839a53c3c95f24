#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/cp1252.h"
#include "core/error.h"
#include "core/utf8.h"

namespace kestrel::core {
namespace {

TEST(Utf8, ValidityFollowsTheWellFormedTable) {
  const std::pair<std::string, bool> cases[] = {
      {"\xF0\x9F\x98\x80", true}, {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF
      {"\xED\x9F\xBF", true},                                // U+D7FF, just below the surrogates
      {std::string("a\0b", 3), true},                          // NUL is a character like any other
      {"\xC0\xAF", false}, {"\xE0\x80\xAF", false}, {"\xF0\x80\x80\xAF", false},  // overlong
      {"\xED\xA0\x80", false},                               // surrogate U+D800
      {"\xF4\x90\x80\x80", false}, {"\xF5\x80\x80\x80", false}, {"\xFF", false},
      {"\x80", false}, {"\xE2\x82", false}, {"\xE2\x82x", false},  // lone, truncated
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(is_valid_utf8(text), valid) << testing::PrintToString(text);
}

TEST(Utf8, DecodeGivesCodeAndSize) {
  const std::string s = "a\xC3\xB1\xE2\x82\xAC\xF0\x9F\x98\x80\x93";
  const std::vector<std::tuple<char32_t, int, bool>> expected = {
      {U'a', 1, true}, {0xF1, 2, true}, {0x20AC, 3, true}, {0x1F600, 4, true}, {0x201C, 1, false}};  // stray 0x93: “
  std::size_t pos = 0;
  for (const auto& e : expected) {
    const Utf8Char c = decode_char(s, pos);
    EXPECT_EQ(std::tuple(c.code, int(c.size), c.well_formed), e) << pos;
    pos += c.size;
  }
  EXPECT_EQ(pos, s.size());
}

TEST(Utf8, StrayBytesBecomeTheirWindows1252Characters) {
  EXPECT_EQ(to_valid_utf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(to_valid_utf8("\x80" "5"), "\xE2\x82\xAC" "5");
  EXPECT_EQ(to_valid_utf8("\xE2\x82"), "\xC3\xA2\xE2\x80\x9A");  // â‚
  EXPECT_EQ(to_valid_utf8("ok \xC3\xB1"), "ok \xC3\xB1");
  EXPECT_TRUE(is_valid_utf8(to_valid_utf8("\xC0\xAF\xED\xA0\x80\xFF")));
}

// Every one- and two-byte start, followed by a continuation byte, walks to
// the end in steps of 1 to 4 bytes and repairs to valid text.
TEST(Utf8, EveryByteSequenceDecodesWithoutFailing) {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; b += (a >= 0xE0 ? 1 : 17)) {
      const std::string s = {char(a), char(b), char(0x80 + (a ^ b) % 64)};
      for (std::size_t pos = 0, size = 0; pos < s.size(); pos += size) {
        size = decode_char(s, pos).size;
        ASSERT_TRUE(size >= 1 && pos + size <= s.size());
      }
      ASSERT_TRUE(is_valid_utf8(to_valid_utf8(s)));
    }
  }
}

TEST(Utf8, AppendSkipAndCount) {
  std::string out;
  for (const char32_t code : {char32_t{0x20AC}, char32_t{0xD800}, char32_t{0x110000}}) append_utf8(out, code);
  EXPECT_EQ(out, "\xE2\x82\xAC\xEF\xBF\xBD\xEF\xBF\xBD");  // non-characters become U+FFFD
  const std::string s = "a\xC3\xB1" "b";
  EXPECT_EQ(skip_chars(s, 0, 2), 3u);
  EXPECT_EQ(skip_chars(s, 0, 9), s.size());
  EXPECT_EQ(count_chars(s, 0, 99), 3u);
}

TEST(Cp1252, HighControlRangeMatchesTheCodePage) {
  const std::vector<std::pair<std::uint8_t, char32_t>> table = {
      {0x80, 0x20AC}, {0x81, 0x0081}, {0x83, 0x0192}, {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090},
      {0x93, 0x201C}, {0x9D, 0x009D}, {0x9F, 0x0178}, {0x00, 0x0000}, {0xA0, 0x00A0}, {0xFF, 0x00FF},
  };
  for (const auto& [byte, code] : table) {
    EXPECT_EQ(cp1252_char(byte), code) << int(byte);
    EXPECT_EQ(cp1252_byte(code), byte) << int(byte);
  }
}

TEST(Cp1252, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = from_cp1252(all);
  EXPECT_TRUE(is_valid_utf8(utf8));
  EXPECT_EQ(to_cp1252(utf8, Unrepresentable::kError), all);
}

TEST(Cp1252, MissingCharactersAndStrayBytes) {
  EXPECT_EQ(cp1252_byte(0x0080), std::nullopt);  // the C1 control the euro sign displaced
  EXPECT_EQ(to_cp1252("\xCE\xA9=\xE2\x82\xAC\xF0\x9F\x98\x80"), "?=\x80?");
  EXPECT_EQ(to_cp1252("caf\xE9 \xC3\xA9 \xE2\x82"), "caf\xE9 \xE9 \xE2\x82");  // stray bytes go back unchanged
  try {
    (void)to_cp1252("a\xCE\xA9", Unrepresentable::kError);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), kInvalidCall);
  }
}

}  // namespace
}  // namespace kestrel::core
