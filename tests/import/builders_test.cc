#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "import/builders.h"
#include "import/import_fixture.h"
#include "import/layers.h"
#include "import/property_bag.h"
#include "model/colours.h"

namespace kestrel::import_test {
namespace {

using namespace importing;

class BuildersTest : public ImportTest {};

TEST_F(BuildersTest, PointsClampTheirLayerAndKeepListsFromZero) {
  Anade_Capa(model, "A", core::kTrue, 0, 0);
  Anade_Capa(model, "B", core::kTrue, 0, 0);
  std::int16_t zero = 0, beyond = 3, valid = 2;
  EXPECT_EQ(Anade_Punto(model, 1, 2, 3, zero, ""), 1);
  EXPECT_EQ(Anade_Punto(model, 4, 5, 6, beyond, "**X"), 2);
  EXPECT_EQ(Anade_Punto(model, 7, 8, 9, valid, ""), 3);
  EXPECT_EQ((std::array{zero, beyond, valid}), (std::array<std::int16_t, 3>{1, 1, 2}));
  EXPECT_EQ(model.PtoX.lbound(), 0);
  EXPECT_EQ(model.PtoInfo.ubound(), 3);
  EXPECT_EQ(model.PtoCodigo[2], "**X");
  EXPECT_EQ(model.PtoZ[3], 9);
  EXPECT_EQ(model.PtoCapa[3], 2);
}

TEST_F(BuildersTest, PolylinesTakeTheirElevationAndAClosedOneOneMoreSlot) {
  const auto square = values({0, 0, 1, 0, 1, 1, 0, 1});
  Crea_poli_2D(module, square, 7.5, 1, false);
  Crea_poli_2D(module, square, 7.5, 1, true);
  Crea_poli_3D(module, values({1, 2, 3, 4, 5, 6}), 10, 1, false);
  ASSERT_EQ(model.NumPolis, 3);
  EXPECT_EQ(model.Polis[1].NuVert, 4);
  const model::t_Poli& closed = model.Polis[2];
  EXPECT_EQ(closed.NuVert, 5);
  EXPECT_EQ(closed.Vert.ubound(), 5);
  EXPECT_EQ(closed.Vert[5], closed.Vert[1]);
  EXPECT_EQ(closed.Vert[0], 0);
  EXPECT_EQ(closed.Color, 0);
  EXPECT_EQ(model.PtoZ[8], 7.5);
  EXPECT_EQ(model.NumPuntos, 10);  // the closing slot adds no point
  EXPECT_EQ(model.Polis[3].NuVert, 2);
  EXPECT_EQ(model.PtoZ[9], 13);
  EXPECT_EQ(model.PtoZ[10], 16);
}

// The vertex count rounds half to even; an incomplete last group then
// reads past the array, which is trapped with the polyline kept as it is.
TEST_F(BuildersTest, IncompleteCoordinateGroupsKeepWhatWasBuilt) {
  Crea_poli_2D(module, values({0, 0, 1, 1, 2}), 0, 1, false);  // 5 values: 2.5 rounds to 2
  Crea_poli_2D(module, values({0, 0, 1, 1, 2, 2, 3}), 0, 1, false);  // 3.5 rounds to 4
  ASSERT_EQ(model.NumPolis, 2);
  EXPECT_EQ(model.Polis[1].NuVert, 2);
  EXPECT_EQ(model.Polis[2].NuVert, 4);
  EXPECT_EQ(model.Polis[2].Vert[4], 0);  // the slot never filled
  ASSERT_EQ(messages().size(), 2u);
  EXPECT_EQ(messages()[0].rfind("Crea_poli_2D de - Error    nº  9: ", 0), 0u);
}

TEST_F(BuildersTest, LineNeedsTwoDistinctKnownPoints) {
  std::int16_t layer = 1;
  Anade_Punto(model, 0, 0, 0, layer, "");
  Anade_Punto(model, 1, 1, 0, layer, "");
  crea_Pol(module, 1, 1, layer, 1);
  crea_Pol(module, 1, 3, layer, 1);
  EXPECT_EQ(model.NumPolis, 0);
  std::int16_t unknown_layer = 9;
  crea_Pol(module, 1, 2, unknown_layer, 5);
  ASSERT_EQ(model.NumPolis, 1);
  EXPECT_EQ(model.Polis[1].Color, model::Color_RGB(5));
  EXPECT_EQ(model.Polis[1].Vert[0], 0);
  EXPECT_EQ(unknown_layer, model.CapaActual);  // replaced through the reference
}

// A face whose last corner repeats the third is one triangle; four corners
// make two (1-2-3 and 1-4-3); either way a closed outline follows them.
TEST_F(BuildersTest, FacesAreOneOrTwoTrianglesAndAClosedOutline) {
  const auto p = Punto_crea3D(module, values({0, 0, 0, 1, 0, 0, 1, 1, 0, 1, 1, 0}), 1);
  EXPECT_EQ(p[3], 0);
  Crea_Cara(module, p[0], p[1], p[2], p[3], 1);
  EXPECT_EQ(model.NumPuntos, 3);
  EXPECT_EQ(model.NumTriangulos, 1);
  ASSERT_EQ(model.NumPolis, 1);
  EXPECT_EQ(model.Polis[1].NuVert, 4);
  EXPECT_EQ(model.Polis[1].Vert[0], kFaceOutlineMarker);
  EXPECT_EQ(model.Polis[1].Vert[4], model.Polis[1].Vert[1]);
  const auto q = Punto_crea3D(module, values({10, 0, 0, 11, 0, 0, 11, 1, 0, 11, 1, 0.001}), 1);
  Crea_Cara(module, q[0], q[1], q[2], q[3], 1);
  EXPECT_EQ(model.NumPuntos, 7);
  ASSERT_EQ(model.NumTriangulos, 3);
  EXPECT_EQ((std::array{model.TriV1[3], model.TriV2[3], model.TriV3[3]}), (std::array{q[0], q[3], q[2]}));
  EXPECT_EQ(model.Polis[2].NuVert, 5);
  EXPECT_EQ((std::array{model.Polis[2].Vert[4], model.Polis[2].Vert[5]}), (std::array{q[3], q[0]}));
}

// An arc is start, middle (on the circle towards the chord's midpoint, at a
// marker elevation) and end; a circle is its centre and its top point; both flat.
TEST_F(BuildersTest, ArcsAndCirclesAreTheirDefiningPoints) {
  Crea_Arco(module, xyz(0, 0, 0), xyz(2, 0, 5), xyz(0, -2, 5), 2.0f, 1);
  Crea_Circulo(module, xyz(3, 4, 1), 1.5f, 1);
  ASSERT_EQ(model.NumPolis, 2);
  const model::t_Poli& arc = model.Polis[1];
  EXPECT_EQ((std::array{arc.Vert[0], arc.NuVert}), (std::array{kArcMarker, 3}));
  EXPECT_NEAR(model.PtoX[arc.Vert[2]], std::sqrt(2.0), 1e-8);
  EXPECT_NEAR(model.PtoY[arc.Vert[2]], -std::sqrt(2.0), 1e-8);
  EXPECT_EQ(model.PtoZ[arc.Vert[2]], kArcMiddleElevation);
  EXPECT_EQ(model.PtoZ[arc.Vert[1]], 0);
  const model::t_Poli& circle = model.Polis[2];
  EXPECT_EQ(circle.Vert[0], kCircleMarker);
  EXPECT_EQ((std::array{model.PtoX[circle.Vert[2]], model.PtoY[circle.Vert[2]]}), (std::array{3.0, 5.5}));
  EXPECT_EQ(model.PtoZ[circle.Vert[1]], 0);
}

TEST(Azimut, QuadrantsAndAxes) {
  constexpr double pi = kImportPi;
  const struct {
    double dx, dy, expected;
  } cases[] = {{1, 0, pi / 2}, {-1, 0, 3 * pi / 2}, {0, 1, 0}, {0, -1, pi}, {1, 1, pi / 4},
               {-1, 1, 2 * pi - pi / 4}, {-1, -1, pi + pi / 4}, {0, 0, 0}};
  for (const auto& c : cases) EXPECT_NEAR(Azimut(c.dx, c.dy), c.expected, 1e-9) << c.dx << "," << c.dy;
}

TEST(BlockInsertionCode, ScaleAndRotation) {
  const float quarter = static_cast<float>(std::numbers::pi / 2);
  EXPECT_EQ(block_insertion_code("ARBOL", 0, 1), "**ARBOL");
  EXPECT_EQ(block_insertion_code("ARBOL", 0, -1), "**ARBOL");
  EXPECT_EQ(block_insertion_code("ARBOL", 0, 2.5), "**ARBOL/2.5");
  EXPECT_EQ(block_insertion_code("ARBOL", quarter, 2), "**ARBOL/2/300.0000");
  EXPECT_EQ(block_insertion_code("ARBOL", quarter, 1), "**ARBOL/1/300.0000");
}

TEST_F(BuildersTest, TextsCleanCodesAndTurnRadiansIntoGrads) {
  Crea_Texto(module, "", xyz(0, 0, 0), 0, 1, 1, 0, "Standard");
  EXPECT_EQ(model.NumRotulos, 0);
  Crea_Texto(module, "\\lPalabra", xyz(1, 2, 0), kImportPi / 2, 1, 2.5, 3, "Standard");
  ASSERT_EQ(model.NumRotulos, 1);
  const model::t_Rotulo& text = model.Rotulos[1];
  EXPECT_EQ((std::array{text.Texto, text.Estilo}), (std::array<std::string, 2>{"Palabra", "Standard"}));
  EXPECT_NEAR(text.Giro, 300, 1e-9);
  EXPECT_EQ((std::array{text.Altura, text.Xr}), (std::array{2.5, 1.0}));
  EXPECT_EQ(clean_text_codes("abc\\o\\lXYZ"), "XYZ");
  EXPECT_EQ(clean_text_codes("\\nothing"), "\\nothing");  // no "l": kept
  EXPECT_EQ(clean_text_codes("plain"), "plain");
}

TEST_F(BuildersTest, CotaTextosTakesElevationStrictlyInsideTheRing) {
  std::int16_t layer = 1;
  for (int i = 0; i < 3; ++i) Anade_Punto(model, 100.0 * i, 0, 0, layer, "");
  const double distances[] = {1.05, 1.0, 1.08};
  for (int i = 0; i < 3; ++i) Crea_Texto(module, "12,5", xyz(100.0 * i + distances[i], 0, 0), 0, 1, 1, 0, "");
  Crea_Texto(module, "99", xyz(0, 1.04, 0), 0, 1, 1, 0, "");  // no comma: never read
  Cota_Textos(model);
  EXPECT_EQ(model.PtoZ[1], 12.5);
  EXPECT_EQ(model.PtoZ[2], 0);
  EXPECT_EQ(model.PtoZ[3], 0);
}

TEST_F(BuildersTest, BorraModeloThenSacarGivesAnEmptyDrawing) {
  std::int16_t layer = 1;
  Anade_Capa(model, "A", core::kTrue, 0, 0);
  Anade_Punto(model, 1, 1, 1, layer, "");
  Crea_Texto(module, "t", xyz(0, 0, 0), 0, 1, 1, 0, "");
  const model::t_Dibujo full = Sacar(module);
  EXPECT_EQ((std::array{full.NuPun, full.nuCapas, full.NuRotulos}), (std::array{1, 1, 1}));
  Borra_Modelo(model);
  const model::t_Dibujo empty = Sacar(module);
  EXPECT_EQ(empty.NuPun, 0);
  EXPECT_FALSE(empty.X.allocated());
  EXPECT_FALSE(empty.Capas1.allocated());
  EXPECT_EQ(model.CapaActual, 0);
}

TEST(ColorRgb, PaletteEdges) {
  EXPECT_EQ(model::Color_RGB(0), 8420480);
  EXPECT_EQ(model::Color_RGB(1), 255);
  EXPECT_EQ(model::Color_RGB(7), 16777215);
  EXPECT_EQ(model::Color_RGB(255), 16776447);
  EXPECT_EQ(model::Color_RGB(256), 0);
  EXPECT_EQ(model::Color_RGB(-1), model::kRgbWhite);
  EXPECT_EQ(model::Color_RGB(257), model::kRgbWhite);
  EXPECT_EQ(model::Color_RGB(core::Variant(std::string("3"))), 65280);
  EXPECT_EQ(model::Color_RGB(core::Variant(1e12)), model::kRgbWhite);  // no overflow
  EXPECT_EQ(model::Color_RGB(core::Variant(2.5)), 65535);             // half to even
  EXPECT_THROW((void)model::Color_RGB(core::Variant(std::string("rojo"))), core::Error);
  static_assert(model::Color_RGB(250) == 3159088);
}

}  // namespace
}  // namespace kestrel::import_test
