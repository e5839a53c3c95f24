#include <gtest/gtest.h>

#include "export/layer_names.h"
#include "export/layers.h"
#include "export/points.h"
#include "export_fixture.h"

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
  load({drawing("Principal", {{"Ejes"}, {"Cota 1"}},
                {{"A", 1, 2, 3, "X", 1}, {"B", 4, 5, 6, "/", 2}, {"C", 7, 8, 9, "", 2}})});
  state.PrefCap = "3D_";
  apply_prefix(module, state.PrefCap);
  std::int32_t CapAc = 0;
  Autocad_Genera_Capas(ctx, CapAc);
  dialog.txtAltura.text = "0,5";
  module.model.DeformaZ = 10;  // points keep their own elevation
  Autocad_Genera_Puntos(ctx);

  EXPECT_TRUE(messages().empty());
  const auto drawn = points();
  ASSERT_EQ(drawn.size(), 2u);  // "/" is never drawn
  EXPECT_EQ(drawn[0]->position, (memcad::Vec3{1, 2, 3}));
  EXPECT_EQ(drawn[0]->layer(), "3D_Ejes");
  EXPECT_EQ(drawn[0]->color(), 2);
  EXPECT_EQ(drawn[1]->layer(), "3D_Cota_1");
  EXPECT_EQ(variable("PDMODE"), core::Variant(std::int16_t{34}));
  EXPECT_EQ(variable("PDSIZE"), core::Variant(0.5));
  EXPECT_EQ(pointer.history(), (std::vector<int>{11, 0}));
  EXPECT_EQ(dialog.labMandando.caption, "Generando 3 puntos:");
  EXPECT_FALSE(dialog.proBarra.visible);

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
    EXPECT_EQ(dialog.proBarra.max, c.max) << c.points;
    EXPECT_EQ(pump.calls() - calls, c.updates) << c.points;
    EXPECT_EQ(dialog.proBarra.value, static_cast<int>(c.updates)) << c.points;
  }
}

TEST_F(PointsTest, CancellingStopsAtTheProgressStepAndLeavesTheDisplayStyle) {
  load_with_layers({{"Ejes"}}, numbered_points(1000));
  CancelOnKey user(module.model);
  pump.set_key_target(&user);
  pump.press_on_call(3);  // the update at point 6 (step 2)
  Autocad_Genera_Puntos(ctx);
  EXPECT_EQ(points().size(), 5u);
  EXPECT_EQ(variable("PDMODE"), core::Variant(std::int16_t{0}));
  EXPECT_EQ(pointer.shape(), 11);
  EXPECT_TRUE(dialog.proBarra.visible);
  EXPECT_TRUE(messages().empty());
}

TEST_F(PointsTest, ErrorsCarryTheStepAndOnlyWrongBitnessClearsTheLabelCount) {
  const std::string bitness = ": Debes seleccionar correctamente tu versión de 32 o 64 bit de CAD";
  const struct {
    const char* member;
    int call;
    std::int32_t number;
    std::string message;
    std::int32_t labels_left;
  } cases[] = {
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
    EXPECT_EQ(messages().back(), c.message);
    EXPECT_EQ(module.model.NumRotulos, c.labels_left);
    EXPECT_EQ(pointer.shape(), 0);
  }
}

TEST_F(PointsTest, WithoutTheLayerTableTheFirstPointEndsTheRun) {
  load({drawing("Principal", {{"Ejes"}}, numbered_points(3))});
  Autocad_Genera_Puntos(ctx);
  EXPECT_EQ(points().size(), 1u);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "Puntos - Error en 10 - nº   9 " + core::standard_description(core::kSubscriptOutOfRange));
  EXPECT_EQ(message_box.shown()[0].title, core::kRuntimeSource);
}

}  // namespace
}  // namespace kestrel::exporting::testing
