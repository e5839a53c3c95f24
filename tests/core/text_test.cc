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

TEST(Text, LenCountsCharactersNotBytes) {
  EXPECT_EQ(len(kSpanish), 5);
  EXPECT_EQ(len("\xF0\x9F\x98\x80"), 1);  // one character outside the BMP
  EXPECT_EQ(len("a\xE9z"), 3);            // a stray byte counts as one character
  EXPECT_EQ(len("\xE2\x82"), 2);          // a truncated sequence is two stray bytes
}

TEST(Text, MidLeftRightWorkOnCharacters) {
  EXPECT_EQ(mid(kSpanish, 2, 1), "\xC3\xB1");
  EXPECT_EQ(mid(kSpanish, 2), "\xC3\xB1o \xE2\x82\xAC");
  EXPECT_EQ(mid(kSpanish, 6), "");
  EXPECT_EQ(mid(kSpanish, 4, 99), " \xE2\x82\xAC");
  EXPECT_EQ(left(kSpanish, 2), "a\xC3\xB1");
  EXPECT_EQ(left(kSpanish, 50), kSpanish);
  EXPECT_EQ(right(kSpanish, 4), "\xC3\xB1o \xE2\x82\xAC");
  EXPECT_EQ(right("", 3), "");
}

TEST(Text, SlicingKeepsStrayBytesIntact) {
  const std::string s = "x\xE9y\xFF";
  EXPECT_EQ(mid(s, 2, 1), "\xE9");
  EXPECT_EQ(right(s, 1), "\xFF");
  EXPECT_EQ(left("\xE2\x82zz", 2), "\xE2\x82");
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

struct InStrCase {
  std::string s;
  std::string find;
  std::int32_t start;
  std::int32_t expected;
};

TEST(Text, InStrReturnsCharacterPositions) {
  const std::vector<InStrCase> cases = {
      {"abcabc", "c", 4, 6},
      {"abcabc", "c", 7, 0},
      {"abcabc", "C", 1, 0},  // binary comparison
      {kSpanish, "\xE2\x82\xAC", 2, 5},
      {"", "", 1, 0},
      {"abc", "", 4, 4},
      {"abc", "", 5, 0},
      {"aaa", "aa", 2, 2},
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
  EXPECT_EQ(replace("abc", "b", ""), "ac");
  EXPECT_EQ(replace("\xE2\x82\xAC\x82", "\x82", "!"), "\xE2\x82\xAC!");
}

TEST(Text, TrimRemovesOnlyBlanks) {
  EXPECT_EQ(ltrim("  a b  "), "a b  ");
  EXPECT_EQ(rtrim("  a b  "), "  a b");
  EXPECT_EQ(trim("\ta\t"), "\ta\t");
  EXPECT_EQ(trim("\xC2\xA0x"), "\xC2\xA0x");  // a no-break space is not a blank
  EXPECT_EQ(trim("    "), "");
}

TEST(Text, CaseChangesAsciiAndWindows1252Letters) {
  EXPECT_EQ(ucase("capa_1 \xC3\xA1\xC3\xA9\xC3\xAD\xC3\xB3\xC3\xBA\xC3\xB1\xC3\xBC"),
            "CAPA_1 \xC3\x81\xC3\x89\xC3\x8D\xC3\x93\xC3\x9A\xC3\x91\xC3\x9C");
  EXPECT_EQ(lcase("CAPA_1 \xC3\x81\xC3\x91"), "capa_1 \xC3\xA1\xC3\xB1");
  EXPECT_EQ(ucase("\xC3\xBF\xC5\xA1\xC5\x93\xC5\xBE"), "\xC5\xB8\xC5\xA0\xC5\x92\xC5\xBD");  // ÿšœž
  EXPECT_EQ(lcase("\xC5\xB8\xC5\xA0\xC5\x92\xC5\xBD"), "\xC3\xBF\xC5\xA1\xC5\x93\xC5\xBE");
  EXPECT_EQ(ucase("\xC3\xB7\xC3\x9F"), "\xC3\xB7\xC3\x9F");  // ÷ and ß have no upper case here
  EXPECT_EQ(lcase("\xC3\x97"), "\xC3\x97");                  // nor × a lower one
  EXPECT_EQ(ucase("\xE2\x82\xAC"), "\xE2\x82\xAC");
}

TEST(Text, CaseChangeKeepsStrayBytesAsBytes) {
  EXPECT_EQ(ucase("a\xE9\xFF"), "A\xC9\x9F");  // é -> É, ÿ -> Ÿ, still Windows-1252 bytes
  EXPECT_EQ(lcase("\xC9z\x81"), "\xE9z\x81");  // 0x81 has no letter: kept
}

TEST(Text, AscGivesWindows1252Codes) {
  EXPECT_EQ(asc("Abc"), 65);
  EXPECT_EQ(asc("\xE2\x82\xAC"), 128);            // €
  EXPECT_EQ(asc("\xE2\x80\x94"), 151);            // —
  EXPECT_EQ(asc("\xC2\x81"), 0x81);               // an undefined byte's control character
  EXPECT_EQ(asc("\xCE\xA9"), 63);                 // Ω is not in the code page
  EXPECT_EQ(asc("\xE9z"), 0xE9);                  // a stray byte is its own code
  EXPECT_EQ(asc(std::string(1, '\0')), 0);
}

TEST(Text, ChrAndAscRoundTripEveryCode) {
  for (std::int32_t code = 0; code <= 255; ++code) {
    const std::string c = chr(code);
    EXPECT_TRUE(is_valid_utf8(c)) << code;
    EXPECT_EQ(len(c), 1) << code;
    EXPECT_EQ(asc(c), code) << code;
  }
  EXPECT_EQ(chr(128), "\xE2\x82\xAC");
  EXPECT_EQ(chr(0x9F), "\xC5\xB8");
  EXPECT_EQ(chr(0x8D), "\xC2\x8D");
}

struct SplitCase {
  std::string s;
  std::string delimiter;
  std::int32_t limit;
  std::vector<std::string> expected;
};

TEST(Text, SplitLikeTheRunTime) {
  const std::vector<SplitCase> cases = {
      {"a  b", " ", -1, {"a", "", "b"}},
      {" a ", " ", -1, {"", "a", ""}},
      {"abc", "", -1, {"abc"}},
      {"a#b#c", "#", 2, {"a", "b#c"}},
      {"a#b#c", "#", 9, {"a", "b", "c"}},
      {"a\xE2\x82\xAC" "b", "\xE2\x82\xAC", -1, {"a", "b"}},
      {"x::y", "::", -1, {"x", "y"}},
  };
  for (const auto& c : cases) {
    const VbArray<std::string> pieces = split(c.s, c.delimiter, c.limit);
    ASSERT_TRUE(pieces.allocated());
    EXPECT_EQ(pieces.lbound(), 0);
    EXPECT_EQ(std::vector<std::string>(pieces.items().begin(), pieces.items().end()), c.expected) << c.s;
  }
}

TEST(Text, SplitOfNothingIsAnAllocatedEmptyArray) {
  for (const auto& pieces : {split(""), split("a b", " ", 0)}) {
    EXPECT_TRUE(pieces.allocated());
    EXPECT_EQ(pieces.lbound(), 0);
    EXPECT_EQ(pieces.ubound(), -1);
  }
}

}  // namespace
}  // namespace kestrel::core
