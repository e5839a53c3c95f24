#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::platform::ini {
namespace {

using namespace std::string_literals;

// Names and values the document must give back byte for byte.
const std::vector<std::string> kHostileValues = {
    "",       "a=b=c",          "  blanks  ", "ñ á º\r\nsegunda línea", "; not a comment", "# nor this",
    "[x]",    "C:\\Merivox\\nuevo\\", "\\x41 literally", "tab\there", "controls \x01\x1f\x7f end",
    "\r\n\r\n", std::string(5000, 'x') + "=", "nul \0 inside"s, "stray \xf1 and cut \xC3",
};
const std::vector<std::string> kHostileKeys = {"Lugar 7", " leading", "a=b", ";semi", "#hash", "[br", "br]",
                                               "",        "ñoño",     "x\\y", "line\nbreak"};
const std::vector<std::string> kHostileSections = {"Merivox Errores", "a]b", "[x]", " padded ", "Ñandú", "", "k=v"};

TEST(IniDocument, EscapedTextIsOneLineSoHostileNamesAndValuesRoundTrip) {
  EXPECT_EQ(escape_value("a\r\nb\\c\t=;#[\x01\x7f"), "a\\r\\nb\\\\c\\t=;#[\\x01\\x7F");
  EXPECT_EQ(escape_name("a=b;c#d[e"), "a\\x3Db\\x3Bc\\x23d\\x5Be");
  for (const char* literal : {"C:\\Fuentes\\q", "end\\", "\\x4", "\\xZZ"}) EXPECT_EQ(unescape(literal), literal);
  EXPECT_EQ(unescape("\\x41\\x6a"), "Aj");
  // Hostile sections, keys and values round trip through the text.
  Document doc;
  std::size_t n = 0;
  for (const auto& section : kHostileSections) {
    for (const auto& key : kHostileKeys) doc.set(section, key, kHostileValues[n++ % kHostileValues.size()]);
  }
  const Document again = Document::parse(doc.text());
  EXPECT_EQ(again.entry_count(), kHostileSections.size() * kHostileKeys.size());
  n = 0;
  for (const auto& section : kHostileSections) {
    for (const auto& key : kHostileKeys) {
      const std::string* value = again.find(section, key);
      ASSERT_NE(value, nullptr) << "[" << section << "] " << key;
      EXPECT_EQ(*value, kHostileValues[n++ % kHostileValues.size()]) << "[" << section << "] " << key;
    }
  }
}

TEST(IniDocument, NamesCompareWithoutCaseAndTheLastOfDuplicatesCounts) {
  Document doc = Document::parse("[Merivox Errores]\nNumero=3\n[Ñandú]\nÁrbol=1\n");
  EXPECT_EQ(*doc.find("ñANDÚ", "áRBOL"), "1");
  doc.set("merivox ERRORES", "NUMERO", "4");
  EXPECT_EQ(doc.text(), "[Merivox Errores]\nNumero=4\n[Ñandú]\nÁrbol=1\n");
  EXPECT_EQ(doc.find("Merivox Errores", "Numero "), nullptr);  // blanks are part of names
  // The last of duplicate entries is read, updated and kept by compaction.
  Document dup = Document::parse("[s]\nk=1\nK=2\nx=0\n[S]\nk=3\n\n[t]\n[s]\n\n");
  EXPECT_EQ(*dup.find("s", "k"), "3");
  dup.set("s", "k", "9");
  EXPECT_EQ(dup.text(), "[s]\nk=1\nK=2\nx=0\n[S]\nk=9\n\n[t]\n[s]\n\n");
  dup.compact();  // the overridden entries go, and so does the empty repeat of [s]
  EXPECT_EQ(dup.text(), "[s]\nx=0\n[S]\nk=9\n\n[t]\n");
}

TEST(IniDocument, SettingKeepsCommentsAndAddsEntriesToTheirSection) {
  Document doc = Document::parse("; preferencias\r\n[Merivox Cad]\r\nCapas pref=3D_\r\n\r\n# fin\r\n[Merivox Datos]\r\n");
  doc.set("Merivox Cad", "2D", "0");
  doc.set("Merivox Datos", "Decimales X", "3");
  doc.set("Merivox Errores", "Numero", "1");
  EXPECT_EQ(doc.text(),
            "; preferencias\n[Merivox Cad]\nCapas pref=3D_\n2D=0\n\n# fin\n[Merivox Datos]\nDecimales X=3\n\n"
            "[Merivox Errores]\nNumero=1\n");
}

TEST(IniDocument, AppendedTextIsWhatTheDocumentAddsAndACutAppendIsDropped) {
  const std::string original = "; log\n[Merivox Errores]\nNumero=1\nLugar 1=a\n[Merivox Cad]\n2D=0";
  Document doc = Document::parse(original);
  ASSERT_TRUE(doc.appendable());
  const std::vector<std::pair<std::string, std::string>> first = {{"Numero", "2"}, {"Lugar 2", "b\r\n=c"}};
  const std::vector<std::pair<std::string, std::string>> second = {{"Numero", "3"}};
  std::string added = doc.append("merivox errores", first);
  added += doc.append("Merivox Errores", second);
  // A line end for the unfinished last line, a blank line, the header once.
  EXPECT_EQ(added, "\n\n[merivox errores]\nNumero=2\nLugar 2=b\\r\\n=c\nNumero=3\n");
  const Document reread = Document::parse(original + added);
  EXPECT_EQ(reread.entries(), doc.entries());
  EXPECT_EQ(*reread.find("Merivox Errores", "Lugar 2"), "b\r\n=c");
  // An append cut short is dropped after a good file.
  const std::string good = "[Merivox Errores]\nNumero=1\nLugar 1=nº\n";
  for (const std::string& tail : {"Lug"s, "[Merivox Err"s, "Lugar 2=n\xC2"s, std::string(700, '\0')}) {
    const Document cut = Document::parse(good + tail);
    EXPECT_FALSE(cut.appendable()) << tail.size();
    EXPECT_EQ(cut.text(), good) << tail.size();
  }
  EXPECT_EQ(*Document::parse(good + "Lugar 2=x").find("Merivox Errores", "Lugar 2"), "x");  // well-formed: kept
}

TEST(IniDocument, ReadsWindows1252TextAsTheHostWritesItAndWritesUtf8) {
  const struct {
    const char* name;
    std::string text;
    std::string value;  // of [s] k
  } cases[] = {
      {"no final line end", "[s]\nk=\xe1rbol", "árbol"},
      {"euro and quotes", "[s]\nk=\x80 \x93x\x94\n", "€ “x”"},
      {"UTF-8 beside a Windows-1252 byte", "[s]\nk=\xc3\xb1\xf1\n", "Ã±ñ"},
      {"a cut sequence after ASCII lines", "[s]\nk=\xC3", "Ã"},
  };
  for (const auto& c : cases) {
    const Document doc = Document::parse(c.text);
    ASSERT_NE(doc.find("s", "k"), nullptr) << c.name;
    EXPECT_EQ(*doc.find("s", "k"), c.value) << c.name;
    EXPECT_FALSE(doc.appendable()) << c.name;  // the next write rewrites it whole, in UTF-8
    EXPECT_EQ(doc.text(), "[s]\nk=" + c.value + "\n") << c.name;
  }
}

TEST(IniDocument, AcceptsWhatPeopleAndEditorsWriteAndRefusesTheRest) {
  const std::pair<std::string, std::size_t> cases[] = {
      {"", 0}, {"\n \n\t\n; one\n  # two\n", 0}, {"\xEF\xBB\xBF[s]\r\nk=v\r\n", 1}, {"  [s]  \nk=v", 1}, {"[s]\n=\n", 1},
  };
  for (const auto& [text, entries] : cases) EXPECT_EQ(Document::parse(text).entry_count(), entries) << text;
  EXPECT_EQ(*Document::parse("\xEF\xBB\xBF[s]\r\nk=v\r\n").find("s", "k"), "v");
  EXPECT_EQ(*Document::parse("[s]\n\tk = v \n").find("s", "\tk "), " v ");
  // What is not a settings file is refused, naming the line.
  const struct {
    const char* name;
    std::string text;
    std::size_t line;
  } refused[] = {
      {"line without =", "[s]\nk=v\nloose words\n", 3},
      {"entry before any section", "; c\nk=v\n[s]\n", 2},
      {"lone [", "[s]\n[\n", 2},
      {"NUL byte", "[s]\nk=a\0z\n"s, 2},
      {"control character", "[s]\nk=4\x01\n", 2},
      {"bare CR inside a line", "[s]\nk=a\rb\n", 2},
      {"two CRs before LF", "[s]\nk=v\r\r\n", 2},
      {"only a bad unfinished line", "loose words", 1},
      {"binary", "\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0"s, 1},
  };
  for (const auto& c : refused) {
    try {
      (void)Document::parse(c.text);
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const FormatError& e) {
      EXPECT_EQ(e.line(), c.line) << c.name << ": " << e.what();
    }
  }
}

}  // namespace
}  // namespace kestrel::platform::ini
