#include <gtest/gtest.h>

#include "export/layer_names.h"
#include "export/layers.h"
#include "export/points.h"
#include "export_fixture.h"

namespace kestrel::exporting::testing {
namespace {

class PointsTest : public ExportTest {
 protected:
  void generate_layers(std::int32_t CapAc = 0) {
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
  generate_layers();
  dialog.txtAltura.text = "0,5";
  const int refreshes = dialog.refreshes();
  Autocad_Genera_Puntos(ctx);

  EXPECT_TRUE(messages().empty());
  const auto drawn = points();
  ASSERT_EQ(drawn.size(), 2u);  // "/" is never drawn
  EXPECT_EQ(drawn[0]->position, (memcad::Vec3{1, 2, 3}));
  EXPECT_EQ(drawn[0]->layer(), "3D_Ejes");
  EXPECT_EQ(drawn[0]->color(), 2);
  EXPECT_EQ(drawn[1]->position, (memcad::Vec3{7, 8, 9}));
  EXPECT_EQ(drawn[1]->layer(), "3D_Cota_1");

  EXPECT_EQ(variable("PDMODE"), core::Variant(std::int16_t{34}));
  EXPECT_EQ(variable("PDSIZE"), core::Variant(0.5));
  EXPECT_EQ(pointer.history(), (std::vector<int>{11, 0}));
  EXPECT_EQ(dialog.labMandando.caption, "Generando 3 puntos:");
  EXPECT_GT(dialog.refreshes(), refreshes);
  EXPECT_FALSE(dialog.proBarra.visible);
}

TEST_F(PointsTest, TwoDimensionalExportFlattensAndNoZExaggerationApplies) {
  load({drawing("Principal", {{"Ejes"}}, {{"A", 1, 2, 3}})});
  generate_layers();
  module.model.DeformaZ = 10;
  Autocad_Genera_Puntos(ctx);
  EXPECT_EQ(points().back()->position.z, 3);
  state.Solo2D = core::kTrue;
  Autocad_Genera_Puntos(ctx);
  EXPECT_EQ(points().back()->position.z, 0);
}

TEST_F(PointsTest, SkippingOffLayersSkipsTheirPoints) {
  load({drawing("Principal", {{"Si"}, {"No", false}}, {{"A", 1, 1, 1, "", 1}, {"B", 2, 2, 2, "", 2}})});
  generate_layers(1);
  Autocad_Genera_Puntos(ctx);
  ASSERT_EQ(points().size(), 1u);
  EXPECT_EQ(points()[0]->layer(), "Si");
}

TEST_F(PointsTest, NoPointsChangesNothingAndAnEmptyHeightGivesSizeZero) {
  load({drawing("Principal", {{"Ejes"}}, {})});
  generate_layers();
  Autocad_Genera_Puntos(ctx);
  EXPECT_TRUE(pointer.history().empty());
  EXPECT_EQ(variable("PDMODE"), core::Variant(std::int16_t{0}));
  load({drawing("Principal", {{"Ejes"}}, {{"A", 1, 2, 3}})});
  generate_layers();
  dialog.txtAltura.text = "";
  Autocad_Genera_Puntos(ctx);
  EXPECT_EQ(variable("PDSIZE"), core::Variant(0.0));
}

struct ProgressCase {
  std::int32_t points;
  float max;
  std::size_t updates;
};

TEST_F(PointsTest, ProgressMovesAboutFiveHundredTimes) {
  const ProgressCase cases[] = {{1000, 500, 500}, {499, 499, 499}, {1001, 500.5f, 500}};
  for (const ProgressCase& c : cases) {
    load({drawing("Principal", {{"Ejes"}}, numbered_points(c.points))});
    generate_layers();
    const std::size_t calls = pump.calls();
    Autocad_Genera_Puntos(ctx);
    EXPECT_EQ(dialog.proBarra.max, c.max) << c.points;
    EXPECT_EQ(dialog.proBarra.min, 0);
    EXPECT_EQ(pump.calls() - calls, c.updates) << c.points;
    EXPECT_EQ(dialog.proBarra.value, static_cast<int>(c.updates)) << c.points;
  }
}

TEST_F(PointsTest, CancellingStopsAtTheProgressStepAndLeavesTheDisplayStyle) {
  load({drawing("Principal", {{"Ejes"}}, numbered_points(1000))});
  generate_layers();
  CancelOnKey user(module.model);
  pump.set_key_target(&user);
  pump.press_on_call(3);  // the update at point 6 (step 2)
  Autocad_Genera_Puntos(ctx);
  EXPECT_EQ(points().size(), 5u);
  EXPECT_EQ(dialog.proBarra.value, 3);
  EXPECT_EQ(variable("PDMODE"), core::Variant(std::int16_t{0}));
  EXPECT_EQ(variable("PDSIZE"), core::Variant(0.0));
  EXPECT_EQ(pointer.shape(), 11);
  EXPECT_TRUE(dialog.proBarra.visible);
  EXPECT_TRUE(messages().empty());
}

TEST_F(PointsTest, WrongBitnessErrorsClearTheLabelCount) {
  for (const std::int32_t number : {91, 13}) {
    load({drawing("Principal", {{"Ejes"}}, {{"A", 1, 2, 3}})});
    generate_layers();
    module.model.NumRotulos = 4;
    app->inject_failure("AddPoint", 1, number);
    Autocad_Genera_Puntos(ctx);
    EXPECT_EQ(messages().back(), "Puntos - Error en 7 - nº  " + std::to_string(number) +
                                     ": Debes seleccionar correctamente tu versión de 32 o 64 bit de CAD");
    EXPECT_EQ(module.model.NumRotulos, 0);
    EXPECT_EQ(pointer.shape(), 0);
    EXPECT_FALSE(dialog.proBarra.visible);
  }
}

TEST_F(PointsTest, OtherErrorsCarryTheStepAndTheVersionAdvice) {
  model::t_Dibujo d = drawing("Principal", {{"Ejes"}}, {{"A", 1, 2, 3}});
  model::mete_dibujo(module.model, d);  // sets the version advice
  load({d});
  generate_layers();
  module.model.NumRotulos = 4;
  app->inject_failure("SetVariable", 2, 5);
  Autocad_Genera_Puntos(ctx);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "Puntos - Error en 12 - nº   5 Error inyectado" + std::string(model::kVersionAdvice));
  EXPECT_EQ(module.model.NumRotulos, 4);
  EXPECT_EQ(variable("PDMODE"), core::Variant(std::int16_t{34}));
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
