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

TEST(IniDocument, FirstOfDuplicateEntriesIsReadAndUpdated) {
  Document doc = Document::parse("[s]\nk=1\nK=2\n[S]\nk=3\n");
  EXPECT_EQ(*doc.find("s", "k"), "1");
  doc.set("s", "k", "9");
  EXPECT_EQ(doc.text(), "[s]\nk=9\nK=2\n[S]\nk=3\n");
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
      {"Windows-1252 text", "[s]\nk=a\xf1o\n", 2},
      {"overlong UTF-8", "[s]\n\nk=\xC0\xAF\n", 3},
      {"UTF-16 surrogate", "[s]\nk=\xED\xA0\x80\n", 2},
      {"cut UTF-8 at end", "[s]\nk=\xC3", 2},
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
