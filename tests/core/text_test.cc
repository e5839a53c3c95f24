#include "core/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error_number.h"

namespace kestrel::core {
namespace {

using testing_support::error_number;

// "año €" is 5 characters in 8 bytes.
const std::string kSpanish = "a\xC3\xB1o \xE2\x82\xAC";

// A stray byte counts as one character; a truncated sequence is stray bytes.
TEST(Text, LenMidLeftRightCountCharactersNotBytes) {
  EXPECT_EQ(len(kSpanish), 5);
  EXPECT_EQ(len("\xF0\x9F\x98\x80"), 1);  // one character outside the BMP
  EXPECT_EQ(len("\xE2\x82"), 2);
  const std::pair<std::string, std::string> cases[] = {
      {mid(kSpanish, 2, 1), "\xC3\xB1"},         {mid(kSpanish, 6), ""},
      {mid(kSpanish, 4, 99), " \xE2\x82\xAC"},    {left(kSpanish, 2), "a\xC3\xB1"},
      {left(kSpanish, 50), kSpanish},            {right(kSpanish, 4), "\xC3\xB1o \xE2\x82\xAC"},
      {mid("x\xE9y\xFF", 2, 1), "\xE9"},          {right("x\xE9y\xFF", 1), "\xFF"},
      {left("\xE2\x82zz", 2), "\xE2\x82"},
  };
  for (const auto& [got, expected] : cases) EXPECT_EQ(got, expected);
}

TEST(Text, BadArgumentsRaiseError5) {
  EXPECT_EQ(error_number([] { (void)mid("abc", 0); }), kInvalidCall);
  EXPECT_EQ(error_number([] { (void)mid("abc", 1, -1); }), kInvalidCall);
  EXPECT_EQ(error_number([] { (void)left("abc", -1); }), kInvalidCall);
  EXPECT_EQ(error_number([] { (void)right("abc", -1); }), kInvalidCall);
  EXPECT_EQ(error_number([] { (void)instr("abc", "a", 0); }), kInvalidCall);
  EXPECT_EQ(error_number([] { (void)asc(""); }), kInvalidCall);
  EXPECT_EQ(error_number([] { (void)chr(256); }), kInvalidCall);
  EXPECT_EQ(error_number([] { (void)chr(-1); }), kInvalidCall);
  EXPECT_EQ(error_number([] { (void)split("a b", " ", -2); }), kInvalidCall);
}

TEST(Text, InStrReturnsCharacterPositions) {
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
}

TEST(Text, ReplaceReplacesWholeCharactersLeftToRight) {
  EXPECT_EQ(replace("a,b,,c", ",", ";"), "a;b;;c");
  EXPECT_EQ(replace("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(replace("abc", "", "x"), "abc");
  EXPECT_EQ(replace("\xE2\x82\xAC\x82", "\x82", "!"), "\xE2\x82\xAC!");
}

TEST(Text, TrimRemovesOnlyBlanks) {
  EXPECT_EQ(ltrim("  a b  ") + "|" + rtrim("  a b  "), "a b  |  a b");
  EXPECT_EQ(trim(" \ta\xC2\xA0 "), "\ta\xC2\xA0");  // tabs and no-break spaces are not blanks
  EXPECT_EQ(trim("    "), "");
}

TEST(Text, CaseChangesAsciiAndWindows1252Letters) {
  EXPECT_EQ(ucase("capa_1 \xC3\xA1\xC3\xB1\xC3\xBC\xC3\xBF\xC5\xA1\xC5\x93\xC5\xBE"),
            "CAPA_1 \xC3\x81\xC3\x91\xC3\x9C\xC5\xB8\xC5\xA0\xC5\x92\xC5\xBD");  // áñüÿšœž
  EXPECT_EQ(lcase("CAPA_1 \xC3\x81\xC5\xB8\xC5\xA0\xC5\x92\xC5\xBD"), "capa_1 \xC3\xA1\xC3\xBF\xC5\xA1\xC5\x93\xC5\xBE");
  EXPECT_EQ(ucase("\xC3\xB7\xC3\x9F\xE2\x82\xAC"), "\xC3\xB7\xC3\x9F\xE2\x82\xAC");  // ÷ ß € have no upper case
  EXPECT_EQ(lcase("\xC3\x97"), "\xC3\x97");                                  // nor × a lower one
  EXPECT_EQ(ucase("a\xE9\xFF"), "A\xC9\x9F");  // stray bytes stay Windows-1252 bytes: é -> É, ÿ -> Ÿ
  EXPECT_EQ(lcase("\xC9z\x81"), "\xE9z\x81");  // 0x81 has no letter: kept
}

TEST(Text, AscAndChrUseWindows1252Codes) {
  const std::pair<std::string, std::int32_t> cases[] = {
      {"\xE2\x82\xAC", 128}, {"\xE2\x80\x94", 151}, {"\xC5\xB8", 0x9F},
      {"\xC2\x81", 0x81},  // an undefined byte's control character
  };
  for (const auto& [text, code] : cases) {
    EXPECT_EQ(asc(text), code) << text;
    EXPECT_EQ(chr(code), text) << code;
  }
  EXPECT_EQ(asc("\xCE\xA9"), 63);   // Ω is not in the code page
  EXPECT_EQ(asc("\xE9z"), 0xE9);     // a stray byte is its own code
  for (std::int32_t code = 0; code <= 255; ++code) {
    EXPECT_TRUE(is_valid_utf8(chr(code)) && len(chr(code)) == 1) << code;
    EXPECT_EQ(asc(chr(code)), code) << code;
  }
}

TEST(Text, SplitLikeTheRunTime) {
  const struct {
    std::string s, delimiter;
    std::int32_t limit;
    std::vector<std::string> expected;
  } cases[] = {
      {" a  b", " ", -1, {"", "a", "", "b"}}, {"abc", "", -1, {"abc"}},           {"a#b#c", "#", 2, {"a", "b#c"}},
      {"a#b#c", "#", 9, {"a", "b", "c"}},     {"a\xE2\x82\xAC::b", "\xE2\x82\xAC::", -1, {"a", "b"}},
      {"", " ", -1, {}},                      {"a b", " ", 0, {}},  // allocated, 0 to -1
  };
  for (const auto& c : cases) {
    const VbArray<std::string> pieces = split(c.s, c.delimiter, c.limit);
    ASSERT_TRUE(pieces.allocated());
    EXPECT_EQ(pieces.lbound(), 0);
    EXPECT_EQ(std::vector<std::string>(pieces.items().begin(), pieces.items().end()), c.expected) << c.s;
  }
}

}  // namespace
}  // namespace kestrel::core
