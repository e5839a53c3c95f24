#include "core/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/cp1252.h"
#include "core/error_number.h"
#include "core/utf8.h"

namespace kestrel::core {
namespace {

using testing_support::error_number;

// "año €" is 5 characters in 8 bytes.
const std::string kSpanish = "a\xC3\xB1o \xE2\x82\xAC";

// A stray byte counts as one character; a truncated sequence is stray bytes.
// Replace works on whole characters, left to right; trim removes only blanks.
TEST(Text, StringFunctionsWorkOnCharactersNotBytesAndRefuseBadArgumentsWithError5) {
  EXPECT_EQ(len(kSpanish), 5);
  EXPECT_EQ(len("\xF0\x9F\x98\x80"), 1);  // one character outside the BMP
  EXPECT_EQ(len("\xE2\x82"), 2);
  const std::pair<std::string, std::string> cases[] = {
      {mid(kSpanish, 2, 1), "\xC3\xB1"},         {mid(kSpanish, 6), ""},
      {mid(kSpanish, 4, 99), " \xE2\x82\xAC"},    {left(kSpanish, 2), "a\xC3\xB1"},
      {left(kSpanish, 50), kSpanish},            {right(kSpanish, 4), "\xC3\xB1o \xE2\x82\xAC"},
      {mid("x\xE9y\xFF", 2, 1), "\xE9"},          {right("x\xE9y\xFF", 1), "\xFF"},
      {left("\xE2\x82zz", 2), "\xE2\x82"},
      {replace("a,b,,c", ",", ";"), "a;b;;c"},   {replace("aaaa", "aa", "b"), "bb"},
      {replace("abc", "", "x"), "abc"},          {replace("\xE2\x82\xAC\x82", "\x82", "!"), "\xE2\x82\xAC!"},
      {ltrim("  a b  ") + "|" + rtrim("  a b  "), "a b  |  a b"},
      {trim(" \ta\xC2\xA0 "), "\ta\xC2\xA0"},  // tabs and no-break spaces are not blanks
      {trim("    "), ""},
  };
  for (const auto& [got, expected] : cases) EXPECT_EQ(got, expected) << testing::PrintToString(expected);
  // Bad arguments raise error 5.
  const std::function<void()> calls[] = {
      [] { (void)mid("abc", 0); },    [] { (void)mid("abc", 1, -1); },    [] { (void)left("abc", -1); },
      [] { (void)right("abc", -1); }, [] { (void)instr("abc", "a", 0); }, [] { (void)asc(""); },
      [] { (void)chr(256); },         [] { (void)chr(-1); },              [] { (void)split("a b", " ", -2); },
  };
  for (std::size_t k = 0; k < std::size(calls); ++k) EXPECT_EQ(error_number(calls[k]), kInvalidCall) << k;
}

TEST(Text, InStrAndSplitWorkInCharactersLikeTheRunTime) {
  const struct {
    std::string s, find;
    std::int32_t start, expected;
  } cases[] = {
      {"abcabc", "c", 4, 6}, {"abcabc", "c", 7, 0}, {"abcabc", "C", 1, 0} /* binary */, {kSpanish, "\xE2\x82\xAC", 2, 5},
      {"", "", 1, 0},        {"abc", "", 4, 4},      {"abc", "", 5, 0}, {"aaa", "aa", 2, 2},
      // A byte match inside a character is not a match: the stray byte 0x82
      // does not occur in "€", only as its own character.
      {"\xE2\x82\xAC\x82", "\x82", 1, 2},
      {"\xE2\x82\xAC", "\xE2", 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(instr(c.s, c.find, c.start), c.expected) << '"' << c.s << "\" / \"" << c.find << "\" from " << c.start;
  }
  // Split as the run time splits.
  const struct {
    std::string s, delimiter;
    std::int32_t limit;
    std::vector<std::string> expected;
  } splits[] = {
      {" a  b", " ", -1, {"", "a", "", "b"}}, {"abc", "", -1, {"abc"}},           {"a#b#c", "#", 2, {"a", "b#c"}},
      {"a#b#c", "#", 9, {"a", "b", "c"}},     {"a\xE2\x82\xAC::b", "\xE2\x82\xAC::", -1, {"a", "b"}},
      {"", " ", -1, {}},                      {"a b", " ", 0, {}},  // allocated, 0 to -1
  };
  for (const auto& c : splits) {
    const VbArray<std::string> pieces = split(c.s, c.delimiter, c.limit);
    ASSERT_TRUE(pieces.allocated());
    EXPECT_EQ(pieces.lbound(), 0);
    EXPECT_EQ(std::vector<std::string>(pieces.items().begin(), pieces.items().end()), c.expected) << c.s;
  }
}

// Case changes ASCII and Windows-1252 letters; Asc and Chr use Windows-1252
// codes (the code page itself is checked below; here the characters it lacks
// and stray bytes).
TEST(Text, CaseAscAndChrFollowWindows1252) {
  EXPECT_EQ(ucase("capa_1 \xC3\xA1\xC3\xB1\xC3\xBC\xC3\xBF\xC5\xA1\xC5\x93\xC5\xBE"),
            "CAPA_1 \xC3\x81\xC3\x91\xC3\x9C\xC5\xB8\xC5\xA0\xC5\x92\xC5\xBD");  // áñüÿšœž
  EXPECT_EQ(lcase("CAPA_1 \xC3\x81\xC5\xB8\xC5\xA0\xC5\x92\xC5\xBD"), "capa_1 \xC3\xA1\xC3\xBF\xC5\xA1\xC5\x93\xC5\xBE");
  EXPECT_EQ(ucase("\xC3\xB7\xC3\x9F\xE2\x82\xAC"), "\xC3\xB7\xC3\x9F\xE2\x82\xAC");  // ÷ ß € have no upper case
  EXPECT_EQ(lcase("\xC3\x97"), "\xC3\x97");                                  // nor × a lower one
  EXPECT_EQ(ucase("a\xE9\xFF"), "A\xC9\x9F");  // stray bytes stay Windows-1252 bytes: é -> É, ÿ -> Ÿ
  EXPECT_EQ(lcase("\xC9z\x81"), "\xE9z\x81");  // 0x81 has no letter: kept
  EXPECT_EQ(asc("\xCE\xA9"), 63);  // Ω is not in the code page
  EXPECT_EQ(asc("\xE9z"), 0xE9);    // a stray byte is its own code
  EXPECT_EQ(chr(128), "\xE2\x82\xAC");
  for (std::int32_t code = 0; code <= 255; ++code) {
    EXPECT_TRUE(is_valid_utf8(chr(code)) && len(chr(code)) == 1) << code;
    EXPECT_EQ(asc(chr(code)), code) << code;
  }
}

TEST(Utf8, ValidityFollowsTheWellFormedTableAndEverySequenceRepairs) {
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
  // Stray bytes become their Windows-1252 characters. Every one- and two-byte
  // start, followed by a continuation byte, walks to the end in steps of 1 to
  // 4 bytes and repairs to valid text.
  EXPECT_EQ(to_valid_utf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(to_valid_utf8("\x80" "5"), "\xE2\x82\xAC" "5");
  EXPECT_EQ(to_valid_utf8("\xE2\x82"), "\xC3\xA2\xE2\x80\x9A");  // â‚
  EXPECT_EQ(to_valid_utf8("ok \xC3\xB1"), "ok \xC3\xB1");
  EXPECT_TRUE(is_valid_utf8(to_valid_utf8("\xC0\xAF\xED\xA0\x80\xFF")));
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

// The high control range as the code page has it; every byte round trips; a
// character it lacks becomes "?" (or error 5) and stray bytes go back unchanged.
TEST(Cp1252, TheCodePageRoundTripsAndReplacesWhatItLacks) {
  const std::vector<std::pair<std::uint8_t, char32_t>> table = {
      {0x80, 0x20AC}, {0x81, 0x0081}, {0x83, 0x0192}, {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090},
      {0x93, 0x201C}, {0x9D, 0x009D}, {0x9F, 0x0178}, {0x00, 0x0000}, {0xA0, 0x00A0}, {0xFF, 0x00FF},
  };
  for (const auto& [byte, code] : table) {
    EXPECT_EQ(cp1252_char(byte), code) << int(byte);
    EXPECT_EQ(cp1252_byte(code), byte) << int(byte);
  }
  std::string all;  // every byte round trips
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = from_cp1252(all);
  EXPECT_TRUE(is_valid_utf8(utf8));
  EXPECT_EQ(to_cp1252(utf8, Unrepresentable::kError), all);
  EXPECT_EQ(cp1252_byte(0x0080), std::nullopt);  // the C1 control the euro sign displaced
  EXPECT_EQ(to_cp1252("\xCE\xA9=\xE2\x82\xAC\xF0\x9F\x98\x80"), "?=\x80?");
  EXPECT_EQ(to_cp1252("caf\xE9 \xC3\xA9 \xE2\x82"), "caf\xE9 \xE9 \xE2\x82");
  EXPECT_EQ(error_number([] { (void)to_cp1252("a\xCE\xA9", Unrepresentable::kError); }), kInvalidCall);
}

}  // namespace
}  // namespace kestrel::core
