#include <gtest/gtest.h>

#include "export/layer_names.h"
#include "export/layers.h"
#include "export_fixture.h"
#include "model/colours.h"

namespace kestrel::exporting::testing {
namespace {

class LayersTest : public ExportTest {
 protected:
  void generate(std::int32_t CapAc = 0) { Autocad_Genera_Capas(ctx, CapAc); }
  [[nodiscard]] std::vector<std::string> created_names() const {
    std::vector<std::string> names;
    for (const CreatedLayer& c : state.CapasCreadas.items()) names.push_back(c.Nombre);
    return names;
  }
};

TEST_F(LayersTest, CreatesCleanedLayersWithColourIndexAndOnFlag) {
  load({drawing("Principal", {{"Muro", true, 0x0000FF}, {"Talud 1/B", false, 0xFFFFFF}, {"", true, 0x00FF00}}, {})});
  generate();
  EXPECT_TRUE(messages().empty());
  const memcad::Layer* talud = layer("Talud_1_B");
  ASSERT_NE(talud, nullptr);
  EXPECT_EQ(talud->color, 7);
  EXPECT_FALSE(talud->on);
  EXPECT_EQ(talud->linetype, "BYLAYER");
  ASSERT_NE(layer("Capa_3"), nullptr);
  EXPECT_EQ(layer("Capa_3")->color, 3);

  EXPECT_EQ(created_names(), (std::vector<std::string>{"Muro", "Talud_1_B", "Capa_3"}));
  EXPECT_EQ(state.CapasCreadas[2].Color, 7);
  EXPECT_EQ(state.CapasCreadas[2].Encendida, core::kFalse);
  // The reload gives the model back its own names.
  EXPECT_EQ(module.model.Capas[2].Nombre, "Talud 1/B");
}

TEST_F(LayersTest, PrefixGoesOnCreatedLayersAndIsReappliedToTheReloadedModel) {
  load({drawing("Principal", {{"Muro"}, {"Eje 2"}}, {})});
  state.PrefCap = "3D_";
  apply_prefix(module, state.PrefCap);  // the prefix event comes first
  generate();
  EXPECT_EQ(created_names(), (std::vector<std::string>{"3D_Muro", "3D_Eje_2"}));
  EXPECT_NE(layer("3D_Eje_2"), nullptr);
  EXPECT_EQ(module.model.Capas[2].Nombre, "3D_Eje 2");  // uncleaned, prefixed once
}

TEST_F(LayersTest, AnExistingLayerOnlyGetsItsOnFlagAndTwoEmptyNamesShareOne) {
  memcad::Layer& existing = document().layers().add("Muro");
  existing.color = 5;
  existing.linetype = "Continuous";
  existing.on = false;
  load({drawing("Principal", {{"Muro", true, 0x0000FF}, {"", false, 0x0000FF}, {"", true, 0x00FF00}}, {})});
  generate();
  EXPECT_EQ(existing.color, 5);
  EXPECT_EQ(existing.linetype, "Continuous");
  EXPECT_TRUE(existing.on);
  EXPECT_EQ(state.CapasCreadas[1].Color, 1);  // the record keeps the model's colour
  EXPECT_EQ(created_names(), (std::vector<std::string>{"Muro", "Capa_3", "Capa_3"}));
  EXPECT_EQ(layer("Capa_3")->color, 1);  // the second found the first: only its on flag changed
  EXPECT_TRUE(layer("Capa_3")->on);
}

TEST_F(LayersTest, NoLayersLeavesAnEmptyTable) {
  load({drawing("Principal", {}, {})});
  generate();
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(state.CapasCreadas.allocated());
  EXPECT_EQ(state.CapasCreadas.size(), 0);
}

TEST_F(LayersTest, ReferencedDrawingsAddTheirNewLayersAfterTheModelsOwn) {
  const std::vector<PointSpec> points{
      {"1", 0, 0, 0, "**MURO/1/2,xx", 1}, {"2", 0, 0, 0, "#MURO", 1},      {"3", 0, 0, 0, "##CASETA", 1},
      {"4", 0, 0, 0, "**NADA", 1},        {"5", 0, 0, 0, "**OCULTO", 2},   {"6", 0, 0, 0, "**MURO", 1},
      {"7", 0, 0, 0, "**Principal", 1},
  };
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
  EXPECT_EQ(layer("Techo_1")->color, 3);
  EXPECT_EQ(layer("Nunca"), nullptr);  // its reference lies on a layer that is off
  // The current drawing is back, options kept, prefix applied.
  EXPECT_EQ(module.model.DibujoActual, 1);
  EXPECT_EQ(module.model.NumCapas, 2);
  EXPECT_EQ(module.model.Capas[1].Nombre, "P_Ejes");
  EXPECT_EQ(module.model.PtoCodigo[3], "##CASETA");
  EXPECT_EQ(module.model.Opciones.get(model::kXMax), 99.0);
}

TEST_F(LayersTest, ErrorsNameTheStepAndKeepWhatWasCreated) {
  load({drawing("Principal", {{"A"}, {"B"}}, {{"1", 0, 0, 0, "**MURO", 1}}), drawing("MURO", {{"C"}, {"D"}}, {})});
  app->inject_failure("Add", 2, 5);
  generate();
  EXPECT_NE(layer("A"), nullptr);
  EXPECT_EQ(layer("B"), nullptr);
  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_EQ(messages()[0], "Autocad Genera Capas en 1 - Error    nº  5:Error inyectado");
  EXPECT_EQ(message_box.shown()[0].title, "ZWCAD.Application");

  app->inject_failure("Add", 3, 5);  // B, C, then D of MURO
  generate();
  EXPECT_EQ(messages()[1], "Autocad Genera Capas en 9 - Error    nº  5:Error inyectado");
  EXPECT_NE(layer("C"), nullptr);
}

TEST_F(LayersTest, CreaCapaMakesOneModelLayer) {
  load({drawing("Principal", {{" Talud 1 ", false, 0x00FF00}, {"   ", true, 0x0000FF}}, {})});
  for (std::int32_t k : {1, 2, 3}) Autocad_Crea_Capa(ctx, k);
  EXPECT_EQ(module.model.Capas[1].Nombre, "_Talud_1_");
  EXPECT_EQ(layer("_Talud_1_")->color, 3);
  EXPECT_FALSE(layer("_Talud_1_")->on);
  EXPECT_EQ(module.model.Capas[2].Nombre, "0");
  EXPECT_EQ(layer("0")->color, 1);
  ASSERT_EQ(messages().size(), 1u);  // there is no layer 3
  EXPECT_EQ(messages()[0], "Autocad_Crea_Capa - Error    nº  9:" +
                               core::standard_description(core::kSubscriptOutOfRange));
}

TEST_F(LayersTest, PrefixRenamesInPlaceAndTrapsItsErrors) {
  load({drawing("Principal", {{"Ejes"}}, {})});
  apply_prefix(module, "X_");
  apply_prefix(module, "X_");
  EXPECT_EQ(module.model.Capas[1].Nombre, "X_X_Ejes");
  module.model.NumCapas = 2;
  apply_prefix(module, "Y_");
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "Autocad Genera Capas Prefijo - Error    nº  9:" +
                               core::standard_description(core::kSubscriptOutOfRange));
}

}  // namespace
}  // namespace kestrel::exporting::testing
