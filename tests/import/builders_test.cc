#include "import/builders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>
#include <utility>

#include "import/import_fixture.h"
#include "import/layers.h"
#include "import/property_bag.h"

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
  EXPECT_EQ(std::tuple(zero, beyond, valid), std::tuple(1, 1, 2));
  EXPECT_EQ(
      std::tuple(model.PtoX.lbound(), model.PtoInfo.ubound(), model.PtoCodigo[2], model.PtoZ[3], model.PtoCapa[3]),
      std::tuple(0, 3, "**X", 9.0, 2));
}

TEST_F(BuildersTest, PolylinesTakeTheirElevationAClosedOneOneMoreSlotAndIncompleteGroupsKeepWhatWasBuilt) {
  const auto square = values({0, 0, 1, 0, 1, 1, 0, 1});
  Crea_poli_2D(module, square, 7.5, 1, false);
  Crea_poli_2D(module, square, 7.5, 1, true);
  Crea_poli_3D(module, values({1, 2, 3, 4, 5, 6}), 10, 1, false);
  ASSERT_EQ(model.NumPolis, 3);
  const model::t_Poli& closed = model.Polis[2];
  EXPECT_EQ(std::tuple(model.Polis[1].NuVert, closed.NuVert, closed.Vert.ubound(), closed.Vert[0], closed.Color),
            std::tuple(4, 5, 5, 0, 0));
  EXPECT_EQ(closed.Vert[5], closed.Vert[1]);
  EXPECT_EQ(model.NumPuntos, 10);  // the closing slot adds no point
  EXPECT_EQ(std::tuple(model.PtoZ[8], model.Polis[3].NuVert, model.PtoZ[9], model.PtoZ[10]),
            std::tuple(7.5, 2, 13.0, 16.0));
  // The vertex count rounds half to even; an incomplete last group then
  // reads past the array, which is trapped with the polyline kept as it is.
  Crea_poli_2D(module, values({0, 0, 1, 1, 2}), 0, 1, false);        // 2.5 rounds to 2
  Crea_poli_2D(module, values({0, 0, 1, 1, 2, 2, 3}), 0, 1, false);  // 3.5 rounds to 4
  ASSERT_EQ(model.NumPolis, 5);
  EXPECT_EQ(std::tuple(model.Polis[4].NuVert, model.Polis[5].NuVert, model.Polis[5].Vert[4]), std::tuple(2, 4, 0));
  ASSERT_EQ(messages().size(), 2u);
  EXPECT_TRUE(messages()[0].starts_with("Crea_poli_2D de - Error    nº  9: "));
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
  EXPECT_EQ(std::tuple(model.Polis[1].Color, model.Polis[1].Vert[0]), std::tuple(16711680, 0));
  EXPECT_EQ(unknown_layer, model.CapaActual);  // replaced through the reference
}

// A face whose last corner repeats the third is one triangle; four corners
// make two (1-2-3 and 1-4-3); either way a closed outline follows them.
TEST_F(BuildersTest, FacesAreOneOrTwoTrianglesAndAClosedOutline) {
  const auto p = Punto_crea3D(module, values({0, 0, 0, 1, 0, 0, 1, 1, 0, 1, 1, 0}), 1);
  EXPECT_EQ(p[3], 0);
  Crea_Cara(module, p[0], p[1], p[2], p[3], 1);
  EXPECT_EQ(std::tuple(model.NumPuntos, model.NumTriangulos, model.NumPolis), std::tuple(3, 1, 1));
  const model::t_Poli& outline = model.Polis[1];
  EXPECT_EQ(std::tuple(outline.NuVert, outline.Vert[0], outline.Vert[4]),
            std::tuple(4, kFaceOutlineMarker, outline.Vert[1]));
  const auto q = Punto_crea3D(module, values({10, 0, 0, 11, 0, 0, 11, 1, 0, 11, 1, 0.001}), 1);
  Crea_Cara(module, q[0], q[1], q[2], q[3], 1);
  EXPECT_EQ(model.NumPuntos, 7);
  ASSERT_EQ(model.NumTriangulos, 3);
  EXPECT_EQ(std::tuple(model.TriV1[3], model.TriV2[3], model.TriV3[3]), std::tuple(q[0], q[3], q[2]));
  EXPECT_EQ(std::tuple(model.Polis[2].NuVert, model.Polis[2].Vert[4], model.Polis[2].Vert[5]),
            std::tuple(5, q[3], q[0]));
}

// An arc is start, middle (on the circle towards the chord's midpoint, at a
// marker elevation) and end; a circle is its centre and its top point; both flat.
TEST_F(BuildersTest, ArcsAndCirclesAreTheirDefiningPoints) {
  Crea_Arco(module, xyz(0, 0, 0), xyz(2, 0, 5), xyz(0, -2, 5), 2.0f, 1);
  Crea_Circulo(module, xyz(3, 4, 1), 1.5f, 1);
  ASSERT_EQ(model.NumPolis, 2);
  const model::t_Poli& arc = model.Polis[1];
  EXPECT_EQ(std::tuple(arc.Vert[0], arc.NuVert, model.PtoZ[arc.Vert[1]], model.PtoZ[arc.Vert[2]]),
            std::tuple(kArcMarker, 3, 0.0, kArcMiddleElevation));
  EXPECT_NEAR(model.PtoX[arc.Vert[2]], std::sqrt(2.0), 1e-8);
  EXPECT_NEAR(model.PtoY[arc.Vert[2]], -std::sqrt(2.0), 1e-8);
  const model::t_Poli& circle = model.Polis[2];
  EXPECT_EQ(
      std::tuple(circle.Vert[0], model.PtoX[circle.Vert[2]], model.PtoY[circle.Vert[2]], model.PtoZ[circle.Vert[1]]),
      std::tuple(kCircleMarker, 3.0, 5.5, 0.0));
}

TEST(Azimut, QuadrantsAxesAndTheInsertionCode) {
  constexpr double pi = kImportPi;
  const struct {
    double dx, dy, expected;
  } cases[] = {{1, 0, pi / 2},           {-1, 0, 3 * pi / 2},   {0, 1, 0}, {0, -1, pi}, {1, 1, pi / 4},
               {-1, 1, 2 * pi - pi / 4}, {-1, -1, pi + pi / 4}, {0, 0, 0}};
  for (const auto& c : cases) EXPECT_NEAR(Azimut(c.dx, c.dy), c.expected, 1e-9) << c.dx << "," << c.dy;
  // An insertion's code carries its scale and rotation.
  const float quarter = static_cast<float>(std::numbers::pi / 2);
  const struct {
    float rotation;
    double scale;
    const char* code;
  } codes[] = {{0, 1, "**ARBOL"},
               {0, -1, "**ARBOL"},
               {0, 2.5, "**ARBOL/2.5"},
               {quarter, 2, "**ARBOL/2/300.0000"},
               {quarter, 1, "**ARBOL/1/300.0000"}};
  for (const auto& c : codes) EXPECT_EQ(block_insertion_code("ARBOL", c.rotation, c.scale), c.code);
}

TEST_F(BuildersTest, TextsCleanCodesAndTurnRadiansIntoGrads) {
  Crea_Texto(module, "", xyz(0, 0, 0), 0, 1, 1, 0, "Standard");
  EXPECT_EQ(model.NumRotulos, 0);
  Crea_Texto(module, "\\lPalabra", xyz(1, 2, 0), kImportPi / 2, 1, 2.5, 3, "Standard");
  ASSERT_EQ(model.NumRotulos, 1);
  const model::t_Rotulo& text = model.Rotulos[1];
  EXPECT_EQ(std::tuple(text.Texto, text.Estilo, text.Altura, text.Xr), std::tuple("Palabra", "Standard", 2.5, 1.0));
  EXPECT_NEAR(text.Giro, 300, 1e-9);
  EXPECT_EQ(clean_text_codes("abc\\o\\lXYZ"), "XYZ");
  EXPECT_EQ(clean_text_codes("\\nothing"), "\\nothing");  // no "l": kept
}

TEST_F(BuildersTest, CotaTextosTakesElevationStrictlyInsideTheRing) {
  std::int16_t layer = 1;
  const double distances[] = {1.05, 1.0, 1.08};
  for (int i = 0; i < 3; ++i) {
    Anade_Punto(model, 100.0 * i, 0, 0, layer, "");
    Crea_Texto(module, "12,5", xyz(100.0 * i + distances[i], 0, 0), 0, 1, 1, 0, "");
  }
  Crea_Texto(module, "99", xyz(0, 1.04, 0), 0, 1, 1, 0, "");  // no comma: never read
  Cota_Textos(model);
  EXPECT_EQ(std::tuple(model.PtoZ[1], model.PtoZ[2], model.PtoZ[3]), std::tuple(12.5, 0.0, 0.0));
}

}  // namespace
}  // namespace kestrel::import_test
