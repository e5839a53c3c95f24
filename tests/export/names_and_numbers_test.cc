// Layer and block names, block references, colour indices and number texts.
#include <gtest/gtest.h>

#include <limits>

#include "core/error.h"
#include "core/error_number.h"
#include "export/block_reference.h"
#include "export/blocks.h"
#include "export/layer_names.h"
#include "model/colours.h"
#include "model/number_text.h"

namespace kestrel::exporting {
namespace {

using core::testing_support::error_number;

// Layer names keep letters, digits and the underscore, character for character.
TEST(LimpiaNombre, LayerAndBlockNamesKeepTheirCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"Talud 1/B", "Talud_1_B"}, {"   ", "___"},  {"Año", "A_o"},     {"¤¥", "¤¥"},
      {"árbol", "_rbol"},          {"€Ω", "__"},    {"a\tb", "a_b"},    {"Capa_7-z", "Capa_7_z"},
  };
  for (const auto& [name, cleaned] : cases) EXPECT_EQ(Limpia_Nombre_Capa(name, 4), cleaned) << name;
  EXPECT_EQ(Limpia_Nombre_Capa("", 3), "Capa_3");
  EXPECT_EQ(Limpia_Nombre_Capa("", -2), "Capa_-2");
  // Block names: upper case kept characters, twenty-seven at most.
  const auto clean_block_name = [](std::string text, std::int32_t n = 4) {
    Limpia_Nombre_Bloque(text, n);
    return text;
  };
  const std::pair<const char*, const char*> blocks[] = {
      {"muro norte 1", "MURO_NORTE_1"},
      {"-abc", "B_ABC"},
      {"---", "B___"},
      {"árbol", "B_RBOL"},  // "Á" is no kept character, so the first becomes "B_"
      {"pozo ñ", "POZO__"},
      {"¤x¥", "¤X¥"},
      {"abcdefghijabcdefghijabcdefghijabcdefghij", "ABCDEFGHIJABCDEFGHIJABCDEFG"},
      {"-bcdefghijabcdefghijabcdefghij", "B_BCDEFGHIJABCDEFGHIJABCDEF"},  // B_ grows it past 27
  };
  for (const auto& [name, cleaned] : blocks) EXPECT_EQ(clean_block_name(name), cleaned) << name;
  EXPECT_EQ(clean_block_name("", -12), "Bloque_12");  // an empty name takes the magnitude of n
  EXPECT_EQ(error_number([&] { clean_block_name("", std::numeric_limits<std::int32_t>::min()); }), core::kOverflow);
}

struct ReferenceCase {
  const char* code;
  const char* shortened;
  const char* name;
  double scale;
  double rotation;
};

TEST(LeeReferenciaBloque, MarkersStartAReferenceThatSplitsIntoNameScaleAndRotation) {
  const ReferenceCase cases[] = {
      {"**MURO/1/2,xx", "**MURO/1/2", "MURO", 1, 2},
      {"**MURO", "**MURO", "MURO", 1, 0},
      {"##MURO/3", "##MURO/3", "MURO", 3, 0},
      {"**MURO/2/100", "**MURO/2/100", "MURO", 2, 100},
      {"**MURO/", "**MURO/", "MURO", 0, 0},
      {"**MURO//50", "**MURO//50", "MURO", 0, 50},
      {"**MURO/0,5/1", "**MURO/0", "MURO", 0, 0},  // the comment starts at the comma
      {"**MURO,x/y", "**MURO", "MURO", 1, 0},
      {"**/2", "**/2", "", 2, 0},
      {"**MURO NORTE/1/-100", "**MURO NORTE/1/-100", "MURO NORTE", 1, -100},
  };
  for (const ReferenceCase& c : cases) {
    std::string code = c.code;
    std::string name;
    double rotation = -1;
    double scale = -1;
    Lee_Referencia_Bloque(code, name, rotation, scale);
    EXPECT_EQ(std::tuple(code, name, scale, rotation), std::tuple(c.shortened, c.name, c.scale, c.rotation)) << c.code;
    EXPECT_EQ(block_reference_name(c.code), c.name);
  }
  // Only two markers make a reference.
  for (const auto& [code, reference] : {std::pair{"**MURO", true}, {"##MURO", true}, {"#MURO", false},
                                        {"*#MURO", false}, {"*", false}, {"", false}}) {
    EXPECT_EQ(is_block_reference(code), reference) << code;
  }
}

TEST(BuscaDibujo, FirstExactNameAsLongElseIntegerZero) {
  model::DrawingModel m;
  EXPECT_EQ(Busca_Dibujo(m, "MURO"), core::Variant(std::int16_t{0}));
  m.NumDibujos = 3;
  m.Dibujos.redim(1, 3);
  m.Dibujos[1].Texto2 = "Principal";
  m.Dibujos[2].Texto2 = "MURO";
  m.Dibujos[3].Texto2 = "MURO";
  EXPECT_EQ(Busca_Dibujo(m, "MURO"), core::Variant(std::int32_t{2}));
  EXPECT_EQ(Busca_Dibujo(m, "muro"), core::Variant(std::int16_t{0}));
  EXPECT_EQ(Busca_Dibujo(m, ""), core::Variant(std::int16_t{0}));
  m.NumDibujos = 4;  // a count past the stored drawings
  EXPECT_EQ(error_number([&] { (void)Busca_Dibujo(m, "nada"); }), core::kSubscriptOutOfRange);
}

TEST(ColorAci, MapsExactEntriesAndEverythingElseToSeven) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {0x0000FF, 1}, {0x00FFFF, 2}, {0xD8D4D8, 254}, {0x000940, 46}, {0xFF7C78, 171}, {0x807C80, 8},
      {0xFFFFFF, 7}, {0x000000, 7}, {0x0000FE, 7},   {-1, 7},        {0x10000FF, 7},
  };
  for (const auto& [colour, index] : cases) EXPECT_EQ(model::Color_ACI(colour), index) << std::hex << colour;
}

struct FormatCase {
  core::Variant value;
  std::int16_t decimals;
  std::int16_t width;
  const char* expected;
};

// Numbers are written with fixed decimals, a point and padding, and read up
// to the first character that is no part of a number, a comma as the point.
TEST(FormatoNumero, WrittenWithFixedDecimalsAndReadWithACommaAsPoint) {
  const FormatCase cases[] = {
      {1234.5678, 2, 0, "1234.57"},
      {"12,5", 3, 0, "12.500"},
      {-2.5, 0, 0, "-3"},  // halves away from zero
      {7.6, -1, 0, "8"},
      {3.14159, 2, 6, "     3.14"},
      {3.14159, 20, 6, "          3.141590000000000"},  // at most 15 decimals; the width counts 20
      {12345.6, 1, 3, "12345.6"},
      {"abc", 2, 0, "0.00"},
      {core::Variant(), 2, 0, "0.00"},
      {"1,5,7", 2, 0, "1.50"},
      {1e20, 1, 0, "100000000000000000000.0"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(model::Formato_Numero(c.value, c.decimals, c.width), c.expected)
        << c.value.to_string() << " " << c.decimals;
  }
  const std::pair<const char*, double> read[] = {
      {"0,5", 0.5}, {"0.5", 0.5}, {"", 0},      {"abc", 0},     {"12abc", 12},
      {"1,5,3", 1.5}, {"-2,5e1", -25}, {" 3 4", 34}, {"1.2.3", 1.2}, {"1e999", 0},
  };
  for (const auto& [text, value] : read) EXPECT_EQ(model::Valor_Numero(text), value) << text;
}

}  // namespace
}  // namespace kestrel::exporting
