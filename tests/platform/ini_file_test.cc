#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::platform::ini {
namespace {

using namespace std::string_literals;

// Values the store must give back byte for byte.
const std::vector<std::string> kHostileValues = {
    "",
    "a=b=c",
    "  leading and trailing blanks  ",
    " A_Show_Seleccion_datos1 - Error    nº  91: Variable de tipo Object\r\nsegunda línea",
    "ñ á º Ñ É ü",
    "; not a comment",
    "# nor this",
    "[not a section]",
    "C:\\Merivox\\nuevo\\fuentes_.txt",
    "\\",
    "\\x41 literally",
    "tab\there",
    "controls \x01\x1f\x7f end",
    "ends with CR\r",
    "\n",
    "\r\n\r\n",
    std::string(5000, 'x') + "=",
    "nul \0 inside"s,
    "stray \xf1 and cut \xC3",
};

const std::vector<std::string> kHostileKeys = {
    "Lugar 7", "Decimales X", " leading blank", "a=b", ";semicolon", "#hash", "[bracket", "bracket]",
    "",        "ñoño",        "tab\tkey",       "x\\y", "line\nbreak", "  ",
};

const std::vector<std::string> kHostileSections = {
    "Merivox Errores", "Quentar Posicion Autoca VB", "a]b", "[x]", " padded ", "Ñandú", "", "k=v", "; c",
};

TEST(IniEscaping, EscapedTextIsOneLineAndNamesHideTheirSeparators) {
  const std::string value = escape_value("a\r\nb\\c\t=;#[");
  EXPECT_EQ(value, "a\\r\\nb\\\\c\\t=;#[");
  EXPECT_EQ(escape_name("a=b;c#d[e"), "a\\x3Db\\x3Bc\\x23d\\x5Be");
  EXPECT_EQ(escape_value("\x01\x7f"), "\\x01\\x7F");
}

TEST(IniEscaping, UnknownOrCutEscapesReadLiterally) {
  EXPECT_EQ(unescape("C:\\Fuentes\\q"), "C:\\Fuentes\\q");
  EXPECT_EQ(unescape("end\\"), "end\\");
  EXPECT_EQ(unescape("\\x4"), "\\x4");
  EXPECT_EQ(unescape("\\xZZ"), "\\xZZ");
  EXPECT_EQ(unescape("\\x41\\x6a"), "Aj");
}

TEST(IniDocument, HostileSectionsKeysAndValuesRoundTripThroughText) {
  Document doc;
  std::size_t n = 0;
  for (const auto& section : kHostileSections) {
    for (const auto& key : kHostileKeys) {
      doc.set(section, key, kHostileValues[n++ % kHostileValues.size()]);
    }
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

TEST(IniDocument, NamesCompareWithoutCase) {
  Document doc = Document::parse("[Merivox Errores]\nNumero=3\n[Ñandú]\nÁrbol=1\n");
  ASSERT_NE(doc.find("MERIVOX errores", "numero"), nullptr);
  EXPECT_EQ(*doc.find("MERIVOX errores", "numero"), "3");
  ASSERT_NE(doc.find("ñANDÚ", "áRBOL"), nullptr);
  doc.set("merivox ERRORES", "NUMERO", "4");
  EXPECT_EQ(doc.text(), "[Merivox Errores]\nNumero=4\n[Ñandú]\nÁrbol=1\n");
  EXPECT_EQ(doc.find("Merivox Errores", "Numero "), nullptr);  // blanks are part of names
}

TEST(IniDocument, SettingKeepsCommentsAndAddsEntriesToTheirSection) {
  Document doc = Document::parse(
      "; preferencias\r\n"
      "[Merivox Cad]\r\n"
      "Capas pref=3D_\r\n"
      "\r\n"
      "# fin de Cad\r\n"
      "[Merivox Datos]\r\n");
  doc.set("Merivox Cad", "2D", "0");
  doc.set("Merivox Datos", "Decimales X", "3");
  doc.set("Merivox Errores", "Numero", "1");
  EXPECT_EQ(doc.text(),
            "; preferencias\n"
            "[Merivox Cad]\n"
            "Capas pref=3D_\n"
            "2D=0\n"
            "\n"
            "# fin de Cad\n"
            "[Merivox Datos]\n"
            "Decimales X=3\n"
            "\n"
            "[Merivox Errores]\n"
            "Numero=1\n");
}

TEST(IniDocument, LastOfDuplicateEntriesIsReadUpdatedAndKeptByCompaction) {
  Document doc = Document::parse("[s]\nk=1\nK=2\nx=0\n[S]\nk=3\n\n[t]\n[s]\n\n");
  EXPECT_EQ(*doc.find("s", "k"), "3");
  doc.set("s", "k", "9");
  EXPECT_EQ(doc.text(), "[s]\nk=1\nK=2\nx=0\n[S]\nk=9\n\n[t]\n[s]\n\n");
  doc.compact();
  // The overridden entries go, and so does the empty repeat of [s].
  EXPECT_EQ(doc.text(), "[s]\nx=0\n[S]\nk=9\n\n[t]\n");
  EXPECT_EQ(*doc.find("s", "k"), "9");
  EXPECT_EQ(*doc.find("s", "x"), "0");
}

TEST(IniDocument, AppendedTextIsWhatTheDocumentAdds) {
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
  EXPECT_EQ(*reread.find("Merivox Errores", "Numero"), "3");
  EXPECT_EQ(*reread.find("Merivox Errores", "Lugar 1"), "a");
  EXPECT_EQ(*reread.find("Merivox Errores", "Lugar 2"), "b\r\n=c");
}

TEST(IniDocument, ReadsWindows1252TextAsTheHostWritesItAndWritesUtf8) {
  const struct {
    const char* name;
    std::string text;
    std::string value;  // of [s] k
  } cases[] = {
      {"ñ in a value", "[s]\nk=a\xf1o\n", "año"},
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
  EXPECT_EQ(*Document::parse("[\xd1" "and\xfa]\n\xc1rbol=1\n").find("ñandú", "árbol"), "1");
}

TEST(IniDocument, AnAppendCutShortIsDroppedAfterAGoodFile) {
  const std::string good = "[Merivox Errores]\nNumero=1\nLugar 1=nº\n";
  for (const std::string& tail : {"Lug"s, "[Merivox Err"s, "Lugar 2=n\xC2"s, std::string(700, '\0')}) {
    const Document doc = Document::parse(good + tail);
    EXPECT_EQ(doc.entry_count(), 2u) << tail.size();
    EXPECT_FALSE(doc.appendable());
    EXPECT_EQ(doc.text(), good);
  }
  EXPECT_EQ(*Document::parse(good + "Lugar 2=x").find("Merivox Errores", "Lugar 2"), "x");  // well-formed: kept
}

TEST(IniDocument, ReplacedValueKeepsTheKeyAsWritten) {
  Document doc = Document::parse("[s]\nC:\\dir\\q=old\n");
  doc.set("s", "C:\\dir\\q", "new");
  EXPECT_EQ(doc.text(), "[s]\nC:\\dir\\q=new\n");
}

struct Accepted {
  const char* name;
  std::string text;
  std::size_t entries;
};

TEST(IniDocument, AcceptsWhatPeopleAndEditorsWrite) {
  const Accepted cases[] = {
      {"empty", "", 0},
      {"blank lines", "\n \n\t\n", 0},
      {"comments", "; one\n  # two\n", 0},
      {"byte order mark and CR LF", "\xEF\xBB\xBF[s]\r\nk=v\r\n", 1},
      {"indented section", "  [s]  \nk=v\n", 1},
      {"no final line end", "[s]\nk=v", 1},
      {"empty key and value", "[s]\n=\n", 1},
  };
  for (const Accepted& c : cases) {
    EXPECT_NO_THROW({ EXPECT_EQ(Document::parse(c.text).entry_count(), c.entries) << c.name; }) << c.name;
  }
  EXPECT_EQ(*Document::parse("\xEF\xBB\xBF[s]\r\nk=v\r\n").find("s", "k"), "v");
  EXPECT_EQ(*Document::parse("[s]\n\tk = v \n").find("s", "\tk "), " v ");
}

struct Malformed {
  const char* name;
  std::string text;
  std::size_t line;
};

TEST(IniDocument, RefusesWhatIsNotASettingsFile) {
  const Malformed cases[] = {
      {"line without =", "[s]\nk=v\nloose words\n", 3},
      {"entry before any section", "; c\nk=v\n[s]\n", 2},
      {"lone [", "[s]\n[\n", 2},
      {"control byte", "[s]\nk=a\x01z\n", 2},
      {"NUL byte", "[s]\nk=a\0z\n"s, 2},
      {"bare CR inside a line", "[s]\nk=a\rb\n", 2},
      {"two CRs before LF", "[s]\nk=v\r\r\n", 2},
      {"no section before a bad last line", "k=v\nno", 1},
      {"only a bad unfinished line", "loose words", 1},
      {"binary", "\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0"s, 1},
  };
  for (const Malformed& c : cases) {
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
