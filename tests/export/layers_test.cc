#include <gtest/gtest.h>

#include "export/layer_names.h"
#include "export/layers.h"
#include "export_fixture.h"
#include "model/colours.h"

namespace kestrel::exporting::testing {
namespace {

const std::string kOutOfRange = core::standard_description(core::kSubscriptOutOfRange);

class LayersTest : public ExportTest {
 protected:
  void generate(std::int32_t CapAc = 0) { Autocad_Genera_Capas(ctx, CapAc); }
  [[nodiscard]] std::vector<std::string> created_names() const {
    std::vector<std::string> names;
    for (const CreatedLayer& c : state.CapasCreadas.items()) names.push_back(c.Nombre);
    return names;
  }
  // A layer of the drawing as (colour index, on); (-1, false) when missing.
  [[nodiscard]] std::pair<int, bool> cad_layer(const std::string& name) const {
    const memcad::Layer* found = layer(name);
    return found ? std::pair<int, bool>(found->color, found->on) : std::pair(-1, false);
  }
};

// No layers leave an empty table.
TEST_F(LayersTest, CreatesCleanedLayersWithColourIndexAndOnFlag) {
  load({drawing("Principal", {}, {})});
  generate();
  EXPECT_TRUE(state.CapasCreadas.allocated());
  EXPECT_EQ(state.CapasCreadas.size(), 0);
  load({drawing("Principal", {{"Muro", true, 0x0000FF}, {"Talud 1/B", false, 0xFFFFFF}, {"", true, 0x00FF00}}, {})});
  generate();
  EXPECT_TRUE(messages().empty());
  ASSERT_EQ(cad_layer("Talud_1_B"), std::pair(7, false));
  EXPECT_EQ(layer("Talud_1_B")->linetype, "BYLAYER");
  EXPECT_EQ(cad_layer("Capa_3"), std::pair(3, true));
  EXPECT_EQ(created_names(), (std::vector<std::string>{"Muro", "Talud_1_B", "Capa_3"}));
  EXPECT_EQ(std::tuple(state.CapasCreadas[2].Color, state.CapasCreadas[2].Encendida), std::tuple(7, core::kFalse));
  EXPECT_EQ(module.model.Capas[2].Nombre, "Talud 1/B");  // the reload gives the model back its own names
}

TEST_F(LayersTest, PrefixGoesOnCreatedLayersIsReappliedToTheReloadedModelAndTrapsItsErrors) {
  load({drawing("Principal", {{"Muro"}, {"Eje 2"}}, {})});
  state.PrefCap = "3D_";
  apply_prefix(module, state.PrefCap);  // the prefix event comes first
  generate();
  EXPECT_EQ(created_names(), (std::vector<std::string>{"3D_Muro", "3D_Eje_2"}));
  EXPECT_NE(layer("3D_Eje_2"), nullptr);
  EXPECT_EQ(module.model.Capas[2].Nombre, "3D_Eje 2");  // uncleaned, prefixed once
  // The prefix renames in place and traps its errors.
  load({drawing("Principal", {{"Ejes"}}, {})});
  apply_prefix(module, "X_");
  apply_prefix(module, "X_");
  EXPECT_EQ(module.model.Capas[1].Nombre, "X_X_Ejes");
  module.model.NumCapas = 2;
  apply_prefix(module, "Y_");
  EXPECT_EQ(messages(), std::vector<std::string>{"Autocad Genera Capas Prefijo - Error    nº  9:" + kOutOfRange});
}

TEST_F(LayersTest, AnExistingLayerOnlyGetsItsOnFlagAndTwoEmptyNamesShareOne) {
  memcad::Layer& existing = document().layers().add("Muro");
  existing.color = 5;
  existing.linetype = "Continuous";
  existing.on = false;
  load({drawing("Principal", {{"Muro", true, 0x0000FF}, {"", false, 0x0000FF}, {"", true, 0x00FF00}}, {})});
  generate();
  EXPECT_EQ(std::tuple(existing.color, existing.linetype, existing.on), std::tuple(5, "Continuous", true));
  EXPECT_EQ(state.CapasCreadas[1].Color, 1);  // the record keeps the model's colour
  EXPECT_EQ(created_names(), (std::vector<std::string>{"Muro", "Capa_3", "Capa_3"}));
  EXPECT_EQ(cad_layer("Capa_3"), std::pair(1, true));  // the second found the first: only its on flag changed
}

TEST_F(LayersTest, ReferencedDrawingsAddTheirNewLayersAfterTheModelsOwn) {
  std::vector<PointSpec> points;
  for (const char* code : {"**MURO/1/2,xx", "#MURO", "##CASETA", "**NADA", "**OCULTO", "**MURO", "**Principal"}) {
    points.push_back({std::to_string(points.size() + 1), 0, 0, 0, code});
  }
  points[4].layer = 2;
  load({drawing("Principal", {{"Ejes"}, {"Apagada", false}}, points),
        drawing("MURO", {{"Ejes"}, {"Ladrillo", false, 0x0000FF}, {"Mortero"}}, {}),
        drawing("CASETA", {{"Techo 1", true, 0x00FF00}}, {}), drawing("OCULTO", {{"Nunca"}}, {})});
  state.PrefCap = "P_";
  module.model.Opciones.set(model::kXMax, 99.0);
  generate(1);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(created_names(), (std::vector<std::string>{"Ejes", "Apagada", "Ladrillo", "Mortero", "Techo_1"}));
  EXPECT_EQ(layer("Apagada"), nullptr);  // off, and CapAc = 1
  EXPECT_EQ(layer("Ladrillo"), nullptr);
  EXPECT_EQ(cad_layer("Techo_1").first, 3);
  EXPECT_EQ(layer("Nunca"), nullptr);  // its reference lies on a layer that is off
  // The current drawing is back, options kept, prefix applied.
  const model::DrawingModel& m = module.model;
  EXPECT_EQ(std::tuple(m.DibujoActual, m.NumCapas, m.Capas[1].Nombre, m.PtoCodigo[3], m.Opciones.get(model::kXMax)),
            std::tuple(1, 2, "P_Ejes", "##CASETA", 99.0));
}

TEST_F(LayersTest, ErrorsNameTheStepAndKeepWhatWasCreated) {
  load({drawing("Principal", {{"A"}, {"B"}}, {{"1", 0, 0, 0, "**MURO", 1}}), drawing("MURO", {{"C"}, {"D"}}, {})});
  app->inject_failure("Add", 2, 5);
  generate();
  EXPECT_NE(layer("A"), nullptr);
  EXPECT_EQ(layer("B"), nullptr);
  app->inject_failure("Add", 3, 5);  // B, C, then D of MURO
  generate();
  EXPECT_NE(layer("C"), nullptr);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Autocad Genera Capas en 1 - Error    nº  5:Error inyectado",
                                                  "Autocad Genera Capas en 9 - Error    nº  5:Error inyectado"}));
  EXPECT_EQ(message_box.shown()[0].title, "ZWCAD.Application");
}

TEST_F(LayersTest, CreaCapaMakesOneModelLayer) {
  load({drawing("Principal", {{" Talud 1 ", false, 0x00FF00}, {"   ", true, 0x0000FF}}, {})});
  for (std::int32_t k : {1, 2, 3}) Autocad_Crea_Capa(ctx, k);
  EXPECT_EQ(module.model.Capas[1].Nombre, "_Talud_1_");
  EXPECT_EQ(cad_layer("_Talud_1_"), std::pair(3, false));
  EXPECT_EQ(module.model.Capas[2].Nombre, "0");
  EXPECT_EQ(cad_layer("0").first, 1);
  EXPECT_EQ(messages(), std::vector<std::string>{"Autocad_Crea_Capa - Error    nº  9:" + kOutOfRange});  // no layer 3
}

}  // namespace
}  // namespace kestrel::exporting::testing
