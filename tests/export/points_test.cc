// Points and their labels: layers, display style, progress, cancelling and
// errors; where the labels sit around a point, by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "export/layer_names.h"
#include "export/layers.h"
#include "export/point_labels.h"
#include "export/points.h"
#include "export_fixture.h"
#include "module/settings_access.h"

namespace kestrel::exporting::testing {
namespace {

class PointsTest : public ExportTest {
 protected:
  // Loads one drawing and makes its layers, as the export does before the points.
  void load_with_layers(const std::vector<LayerSpec>& layers, const std::vector<PointSpec>& points,
                        std::int32_t CapAc = 0) {
    load({drawing("Principal", layers, points)});
    const std::size_t shown = messages().size();
    Autocad_Genera_Capas(ctx, CapAc);
    ASSERT_EQ(messages().size(), shown);
  }
  [[nodiscard]] core::Variant variable(const char* name) const { return document().variables().get(name); }
};

TEST_F(PointsTest, DrawsPointsOnTheirLayersWithColourTwoAndSetsTheDisplayStyle) {
  state.PrefCap = "3D_";
  load({drawing("Principal", {{"Ejes"}, {"Cota 1"}},
                {{"A", 1, 2, 3, "X", 1}, {"B", 4, 5, 6, "/", 2}, {"C", 7, 8, 9, "", 2}})});
  apply_prefix(module, state.PrefCap);
  std::int32_t CapAc = 0;
  Autocad_Genera_Capas(ctx, CapAc);
  dialog.txtAltura.text = "0,5";
  module.model.DeformaZ = 10;  // points keep their own elevation
  Autocad_Genera_Puntos(ctx);

  EXPECT_TRUE(messages().empty());
  const auto drawn = points();
  ASSERT_EQ(drawn.size(), 2u);  // "/" is never drawn
  EXPECT_EQ(std::tuple(drawn[0]->position, drawn[0]->layer(), drawn[0]->color(), drawn[1]->layer()),
            std::tuple(memcad::Vec3{1, 2, 3}, "3D_Ejes", 2, "3D_Cota_1"));
  EXPECT_EQ(std::tuple(variable("PDMODE"), variable("PDSIZE"), pointer.history(), dialog.labMandando.caption,
                       dialog.proBarra.visible),
            std::tuple(core::Variant(std::int16_t{34}), core::Variant(0.5), std::vector<int>{11, 0},
                       "Generando 3 puntos:", false));

  state.Solo2D = core::kTrue;
  Autocad_Genera_Puntos(ctx);
  EXPECT_EQ(points().back()->position, (memcad::Vec3{7, 8, 0}));
}

TEST_F(PointsTest, SkippingOffLayersSkipsTheirPoints) {
  load_with_layers({{"Si"}, {"No", false}}, {{"A", 1, 1, 1, "", 1}, {"B", 2, 2, 2, "", 2}}, 1);
  Autocad_Genera_Puntos(ctx);
  ASSERT_EQ(points().size(), 1u);
  EXPECT_EQ(points()[0]->layer(), "Si");
}

TEST_F(PointsTest, ProgressMovesAboutFiveHundredTimes) {
  const struct {
    std::int32_t points;
    float max;
    std::size_t updates;
  } cases[] = {{1000, 500, 500}, {499, 499, 499}, {1001, 500.5f, 500}};
  for (const auto& c : cases) {
    load_with_layers({{"Ejes"}}, numbered_points(c.points));
    const std::size_t calls = pump.calls();
    Autocad_Genera_Puntos(ctx);
    EXPECT_EQ(std::tuple(dialog.proBarra.max, pump.calls() - calls, dialog.proBarra.value),
              std::tuple(c.max, c.updates, static_cast<int>(c.updates)))
        << c.points;
  }
}

TEST_F(PointsTest, CancellingStopsAtTheProgressStepAndLeavesTheDisplayStyle) {
  load_with_layers({{"Ejes"}}, numbered_points(1000));
  CancelOnKey user(module.model);
  pump.set_key_target(&user);
  pump.press_on_call(3);  // the update at point 6 (step 2)
  Autocad_Genera_Puntos(ctx);
  EXPECT_EQ(
      std::tuple(points().size(), variable("PDMODE"), pointer.shape(), dialog.proBarra.visible, messages().size()),
      std::tuple(5u, core::Variant(std::int16_t{0}), 11, true, 0u));
}

// Without the layer table the first point ends the run; errors carry their
// step and only wrong bitness clears the label count.
TEST_F(PointsTest, ErrorsCarryTheStepAndOnlyWrongBitnessClearsTheLabelCount) {
  load({drawing("Principal", {{"Ejes"}}, numbered_points(3))});
  Autocad_Genera_Puntos(ctx);
  EXPECT_EQ(points().size(), 1u);
  EXPECT_EQ(messages(), std::vector<std::string>{"Puntos - Error en 10 - nº   9 " +
                                                 core::standard_description(core::kSubscriptOutOfRange)});
  EXPECT_EQ(message_box.shown()[0].title, core::kRuntimeSource);
  const std::string bitness = ": Debes seleccionar correctamente tu versión de 32 o 64 bit de CAD";
  const InjectedError cases[] = {
      {"AddPoint", 1, 91, "Puntos - Error en 7 - nº  91" + bitness, 0},
      {"AddPoint", 1, 13, "Puntos - Error en 7 - nº  13" + bitness, 0},
      {"SetVariable", 2, 5, "Puntos - Error en 12 - nº   5 Error inyectado" + std::string(model::kVersionAdvice), 4},
  };
  for (const auto& c : cases) {
    if (c.number == 5) model::mete_dibujo(module.model, drawing("Principal", {{"Ejes"}}, {}));  // the version advice
    load_with_layers({{"Ejes"}}, {{"A", 1, 2, 3}});
    module.model.NumRotulos = 4;
    app->inject_failure(c.member, c.call, c.number);
    Autocad_Genera_Puntos(ctx);
    EXPECT_EQ(std::tuple(messages().back(), module.model.NumRotulos, pointer.shape()),
              std::tuple(c.message, c.count_left, 0));
  }
}

// A label as the tests expect it: text, position, layer, colour.
struct Expected {
  std::string text;
  double x, y;
  std::string layer;
  int colour;
};

class PointLabelsTest : public PointsTest {
 protected:
  PointLabelsTest() {
    dialog.CmbOrient.text = "Horizontal";
    dialog.TextZ.text = "3";
  }

  void load_point(const PointSpec& p) { load_with_layers({{"Ejes"}}, {p}); }
  static void tick(Control& box) {
    box.value = 1;
    box.enabled = true;
  }
  void tick_all() {
    for (Control* box : {&dialog.chkNo, &dialog.ChkNu, &dialog.chkCod, &dialog.ChkZ}) tick(*box);
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
      EXPECT_EQ(std::tuple(t.text, t.layer(), t.color()),
                std::tuple(expected[k].text, expected[k].layer, expected[k].colour));
      EXPECT_NEAR(std::hypot(t.insertion.x - expected[k].x, t.insertion.y - expected[k].y), 0, 1e-9);
      EXPECT_DOUBLE_EQ(t.rotation, rotation);
    }
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
  // The first raised by DeformaZ.
  EXPECT_EQ(std::tuple(texts()[0]->insertion.z, dialog.labMandando.caption, pointer.history()),
            std::tuple(20.0, "Generando 1 textos de puntos :", std::vector<int>{11, 0}));
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

// Only enabled ticked boxes count; a point without a name, one coded "/"
// and one on a layer that is off miss their labels.
TEST_F(PointLabelsTest, OnlyEnabledTickedBoxesAndDrawnPointsGetLabels) {
  load_point({"P1", 0, 0, 0, "C", 1});
  tick_all();
  dialog.chkCod.enabled = false;
  dialog.ChkZ.value = 0;
  run0(1);
  expect_texts({{" P1", -3, 0, "Ejes", 2}, {" 1", 0, 0, "Ejes", 7}});
  load_with_layers({{"Si"}, {"No", false}}, {{"", 0, 0, 0, "C", 1}, {"Q", 0, 0, 0, "/", 1}, {"R", 0, 0, 0, "C", 2}}, 1);
  dialog.ChkNu.value = 0;
  tick(dialog.chkCod);
  run0(1);
  expect_texts({{" C", 0, 1.4, "Si", 3}}, 0, 2);
}

TEST_F(PointLabelsTest, OwnLayersForTheSelectedKinds) {
  load_point({"P1", 0, 0, 5, "C", 1});
  state.PrefCap = "3D_";
  tick(dialog.chkNo);
  tick(dialog.ChkZ);
  tick(dialog.ChkAtri);
  state.Solo2D = core::kTrue;
  run0(1);
  std::vector<int> colours;  // -1: no such layer
  for (const char* kind : {"Nombre", "Z", "Numero", "Codigo"}) {
    const memcad::Layer* made = layer(std::string("3D_P_") + kind);
    colours.push_back(made ? made->color : -1);
  }
  EXPECT_EQ(colours, (std::vector{2, 1, -1, -1}));
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
  for (const auto& [number, fixed] : {std::pair{91, true}, {13, false}, {5, true}, {5, false}}) {
    app->inject_failure("AddText", 1, number);
    fixed ? run0(1) : run(1);
  }
  const std::string advice = "Debes seleccionar correctamente tu versión de 32 o 64 bit de CAD";
  EXPECT_EQ(messages(), (std::vector<std::string>{" Textos - Error   nº  91: " + advice, " Textos - Error  13" + advice,
                                                  "Textos - Error   nº   5 Error inyectado",
                                                  "Textos - Error   nº   5 Error inyectado"}));
  // Unlike the points, the labels leave the text count alone.
  EXPECT_EQ(std::tuple(pointer.shape(), dialog.proBarra.visible, module.model.NumRotulos), std::tuple(0, false, 4));
}

}  // namespace
}  // namespace kestrel::exporting::testing
