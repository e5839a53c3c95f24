#include <gtest/gtest.h>

#include "export/block_reference.h"
#include "export/layer_names.h"

namespace kestrel::exporting {
namespace {

TEST(LimpiaNombreCapa, KeepsLettersDigitsAndUnderscoreCharacterForCharacter) {
  const std::pair<const char*, const char*> cases[] = {
      {"Talud 1/B", "Talud_1_B"}, {"   ", "___"},  {"Año", "A_o"},     {"¤¥", "¤¥"},
      {"árbol", "_rbol"},          {"€Ω", "__"},    {"a\tb", "a_b"},    {"Capa_7-z", "Capa_7_z"},
  };
  for (const auto& [name, cleaned] : cases) EXPECT_EQ(Limpia_Nombre_Capa(name, 4), cleaned) << name;
  EXPECT_EQ(Limpia_Nombre_Capa("", 3), "Capa_3");
  EXPECT_EQ(Limpia_Nombre_Capa("", -2), "Capa_-2");
}

struct ReferenceCase {
  const char* code;
  const char* shortened;
  const char* name;
  double scale;
  double rotation;
};

TEST(LeeReferenciaBloque, SplitsNameScaleAndRotation) {
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
    EXPECT_EQ(code, c.shortened) << c.code;
    EXPECT_EQ(name, c.name) << c.code;
    EXPECT_EQ(scale, c.scale) << c.code;
    EXPECT_EQ(rotation, c.rotation) << c.code;
    EXPECT_EQ(block_reference_name(c.code), c.name);
  }
}

TEST(BlockReference, OnlyTwoMarkersMakeAReference) {
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
  try {
    (void)Busca_Dibujo(m, "nada");
    FAIL() << "no error";
  } catch (const core::Error& e) {
    EXPECT_EQ(e.number(), core::kSubscriptOutOfRange);
  }
}

}  // namespace
}  // namespace kestrel::exporting
