#include <gtest/gtest.h>

#include "export/layers.h"
#include "export/point_labels.h"
#include "export_fixture.h"
#include "module/settings_access.h"

namespace kestrel::exporting::testing {
namespace {

// A label as the tests expect it: text, position, layer, colour.
struct Expected {
  std::string text;
  double x, y;
  std::string layer;
  int colour;
};

class PointLabelsTest : public ExportTest {
 protected:
  PointLabelsTest() {
    dialog.CmbOrient.text = "Horizontal";
    dialog.TextZ.text = "3";
  }

  void load_point(const PointSpec& p, std::vector<LayerSpec> layers = {{"Ejes"}}) {
    load({drawing("Principal", layers, {p})});
    std::int32_t CapAc = 0;
    Autocad_Genera_Capas(ctx, CapAc);
  }
  static void tick(Control& box) {
    box.value = 1;
    box.enabled = true;
  }
  void run0(double h) { Autocad_Genera_Textos0(ctx, h); }
  void run(double h) { Autocad_Genera_Textos(ctx, h); }

  // The texts drawn from the `from`-th on are `expected`.
  void expect_texts(const std::vector<Expected>& expected, double rotation = 0, std::size_t from = 0) {
    const auto found = texts();
    ASSERT_EQ(found.size(), from + expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
      SCOPED_TRACE(expected[k].text);
      const memcad::Text& t = *found[from + k];
      EXPECT_EQ(t.text, expected[k].text);
      EXPECT_NEAR(t.insertion.x, expected[k].x, 1e-9);
      EXPECT_NEAR(t.insertion.y, expected[k].y, 1e-9);
      EXPECT_EQ(t.layer(), expected[k].layer);
      EXPECT_EQ(t.color(), expected[k].colour);
      EXPECT_DOUBLE_EQ(t.rotation, rotation);
    }
  }
  void tick_all() {
    for (Control* box : {&dialog.chkNo, &dialog.ChkNu, &dialog.chkCod, &dialog.ChkZ}) tick(*box);
  }
};

TEST_F(PointLabelsTest, FixedHorizontalLabelsSitAroundThePoint) {
  load_point({"P1", 100, 200, 10, "ARB", 1});
  tick_all();
  tick(dialog.ChkX);
  dialog.TextX.text = "2";
  module.model.DeformaZ = 2;
  run0(1);
  EXPECT_TRUE(messages().empty());
  expect_texts({{" P1", 97, 200, "Ejes", 2},
                {" 1, 100.00", 100, 200, "Ejes", 7},
                {" 10.000", 100, 198.6, "Ejes", 1},
                {" ARB", 100, 201.4, "Ejes", 3}});
  EXPECT_EQ(texts()[0]->insertion.z, 20);  // raised by DeformaZ
  EXPECT_EQ(dialog.labMandando.caption, "Generando 1 textos de puntos :");
  EXPECT_EQ(pointer.history(), (std::vector<int>{11, 0}));
}

struct PlacementCase {
  const char* name;
  bool preferred;  // Autocad_Genera_Textos, else Autocad_Genera_Textos0
  const char* orientation;
  std::vector<std::pair<const char*, const char*>> positions;  // "Preferencias" settings
  double h, rotation;
  std::vector<Expected> texts;  // name, number, elevation and code, in drawing order
};

// Point P1 at (100, 200, 10) coded "ARB", every label ticked.
const PlacementCase kPlacements[] = {
    {"fixed vertical: a quarter turn and more, axes swapped", false, "Vertical", {}, 2, 7.853981635,
     {{" P1", 100, 194, "Ejes", 2}, {" 1", 100, 200, "Ejes", 7}, {" 10.000", 102.8, 200, "Ejes", 1},
      {" ARB", 97.2, 200, "Ejes", 3}}},
    // Name above at 0.5 h, then A1 = R(2.5 x 2) = 5; code above after it, A1 = R(3.5 x 2 + 5) = 12;
    // number to the right; elevation below.
    {"preferred by default", true, "Horizontal", {}, 2, 0,
     {{" P1", 101, 202, "Ejes", 2}, {" 1", 101, 199, "Ejes", 7}, {" ARB", 106, 202, "Ejes", 3},
      {" 10.000", 101, 196, "Ejes", 1}}},
    // Right: name at h, A2 = 5; code after it at 0.5 h + 5, A2 = 12. Below: number (7 counts as
    // below); the elevation's position is not a number: its default, below, at A3 = 0.
    {"preferred from settings", true, "Horizontal",
     {{"Pos atributo nombre", "2"}, {"Pos atributo numero", "7"}, {"Pos atributo codigo", "2"},
      {"Pos atributo cota", "nada"}},
     2, 0,
     {{" P1", 102, 199, "Ejes", 2}, {" 1", 101, 196, "Ejes", 7}, {" ARB", 106, 199, "Ejes", 3},
      {" 10.000", 101, 196, "Ejes", 1}}},
};

TEST_F(PointLabelsTest, LabelsArePlacedByOrientationAndPreferences) {
  for (const PlacementCase& c : kPlacements) {
    SCOPED_TRACE(c.name);
    for (const auto& [key, value] : c.positions) save_setting(settings, "Preferencias", key, value);
    dialog.CmbOrient.text = c.orientation;
    load_point({"P1", 100, 200, 10, "ARB", 1});
    const std::size_t before = texts().size();
    tick_all();
    c.preferred ? run(c.h) : run0(c.h);
    expect_texts(c.texts, c.rotation, before);
    for (const auto& [key, value] : c.positions) save_setting(settings, "Preferencias", key, "");
  }
}

TEST_F(PointLabelsTest, OnlyEnabledTickedBoxesCount) {
  load_point({"P1", 0, 0, 0, "C", 1});
  tick_all();
  dialog.chkCod.enabled = false;
  dialog.ChkZ.value = 0;
  run0(1);
  expect_texts({{" P1", -3, 0, "Ejes", 2}, {" 1", 0, 0, "Ejes", 7}});
}

TEST_F(PointLabelsTest, PointsWithoutLabels) {
  load({drawing("Principal", {{"Si"}, {"No", false}},
                {{"", 0, 0, 0, "C", 1}, {"Q", 0, 0, 0, "/", 1}, {"R", 0, 0, 0, "C", 2}})});
  std::int32_t CapAc = 1;
  Autocad_Genera_Capas(ctx, CapAc);
  tick(dialog.chkNo);
  tick(dialog.chkCod);
  run0(1);
  // Point 1 has no name, point 2 is coded "/", point 3 lies on a layer that is off.
  ASSERT_EQ(texts().size(), 1u);
  EXPECT_EQ(texts()[0]->text, " C");
}

TEST_F(PointLabelsTest, OwnLayersForTheSelectedKinds) {
  load_point({"P1", 0, 0, 5, "C", 1});
  state.PrefCap = "3D_";
  tick(dialog.chkNo);
  tick(dialog.ChkZ);
  tick(dialog.ChkAtri);
  state.Solo2D = core::kTrue;
  run0(1);
  ASSERT_NE(layer("3D_P_Nombre"), nullptr);
  EXPECT_EQ(layer("3D_P_Nombre")->color, 2);
  ASSERT_NE(layer("3D_P_Z"), nullptr);
  EXPECT_EQ(layer("3D_P_Z")->color, 1);
  EXPECT_EQ(layer("3D_P_Numero"), nullptr);
  EXPECT_EQ(layer("3D_P_Codigo"), nullptr);
  expect_texts({{" P1", -3, 0, "3D_P_Nombre", 256}, {" 5.000", 0, -1.4, "3D_P_Z", 256}});
  EXPECT_EQ(texts()[1]->insertion.z, 0);  // 2D
}

TEST_F(PointLabelsTest, RunningWidthsRoundHalvesToEven) {
  load_point({"ABC", 0, 0, 0, "X", 1});
  tick(dialog.chkNo);
  tick(dialog.chkCod);
  tick(dialog.ChkZ);
  save_setting(settings, "Preferencias", "Pos atributo cota", "1");
  run(1);
  // Name: A1 = R(3.5) = 4; code at 4.5, A1 = R(1.5 + 4) = 6; elevation at 6.5.
  expect_texts({{" ABC", 0.5, 1, "Ejes", 2}, {" X", 4.5, 1, "Ejes", 3}, {" 0.000", 6.5, 1, "Ejes", 1}});

  load_point({"AB", 0, 0, 0, "X", 1});
  run(1);
  EXPECT_DOUBLE_EQ(texts()[4]->insertion.x, 2.5);  // A1 = R(2.5) = 2
}

TEST_F(PointLabelsTest, TheTwoVariantsReportErrorsDifferently) {
  load_point({"P1", 0, 0, 0, "C", 1});
  module.model.NumRotulos = 4;
  tick(dialog.chkNo);
  app->inject_failure("AddText", 1, 91);
  run0(1);
  app->inject_failure("AddText", 1, 13);
  run(1);
  app->inject_failure("AddText", 1, 5);
  run0(1);
  app->inject_failure("AddText", 1, 5);
  run(1);
  const std::string advice = "Debes seleccionar correctamente tu versión de 32 o 64 bit de CAD";
  EXPECT_EQ(messages(), (std::vector<std::string>{" Textos - Error   nº  91: " + advice, " Textos - Error  13" + advice,
                                                  "Textos - Error   nº   5 Error inyectado",
                                                  "Textos - Error   nº   5 Error inyectado"}));
  EXPECT_EQ(pointer.shape(), 0);
  EXPECT_FALSE(dialog.proBarra.visible);
  EXPECT_EQ(module.model.NumRotulos, 4);  // unlike the points, the labels leave the text count alone
}

}  // namespace
}  // namespace kestrel::exporting::testing
