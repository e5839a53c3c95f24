// The polyline generator's own paths: blocks, switched-off layers, progress,
// hatch colours and errors; pasting one polyline and drawing a profile. The
// shapes and hatch patterns are checked against ezdxf in
// tests/tools/cli_export_test.py.
#include <gtest/gtest.h>

#include "export/hatch.h"
#include "export/polylines.h"
#include "export/profile.h"
#include "export_fixture.h"

namespace kestrel::exporting::testing {
namespace {

const std::string kBitness = ": Debes seleccionar correctamente tu versión de 32 o 64 bit de CAD";

class PolylinesTest : public ExportTest {
 protected:
  PolylinesTest() { app->set_picker(picker); }
  void generate(bool in_block = false) {
    core::VbBool EnBloque = core::to_vb_bool(in_block);
    Autocad_Genera_Polilineas(ctx, EnBloque);
  }
  // A block to generate into, made the block being defined.
  memcad::Block& define_block() {
    const core::Obj blocks = module.cad.Documento.object("Blocks");
    state.BloqueActual = core::Obj(blocks.call("Add", core::VbArray<double>(0, {0, 0, 0}), "B").to_object());
    return *document().blocks().find("B");
  }
  // Hatches a 4 x 4 square with shape code `t`.
  void hatch(std::int16_t t, const std::string& Cp = "", std::int32_t colour = 0, bool solid = false) {
    const core::Obj space = module.cad.Documento.object("ModelSpace");
    const core::Obj square(
        space.call("AddPolyline", core::VbArray<double>(0, {0, 0, 0, 4, 0, 0, 4, 4, 0, 0, 0, 0})).to_object());
    Ch4_CreateHatch(ctx, square, t, Cp, core::kFalse, colour, core::to_vb_bool(solid));
  }
  std::shared_ptr<memcad::ScriptedPicker> picker = std::make_shared<memcad::ScriptedPicker>();
};

TEST_F(PolylinesTest, InsideABlockFlatPolylinesTakeTheirCommonElevationAndHatchesFollow) {
  load({drawing("D", {{"Ejes"}}, {{"A", 0, 0, 12.5}, {"B", 5, 0, 12.5}, {"C", 5, 5, 3}})});
  set_polylines(module.model, {{0, {1, 2}}, {0, {1, 2, 3}}, {-60, {1, 2, 3, 1}}});
  state.Solo2D = core::kTrue;
  generate();
  for (const auto* p : entities<memcad::Polyline2d>()) EXPECT_EQ(p->elevation, 0);
  const std::size_t in_model_space = drawn();
  memcad::Block& block = define_block();
  generate(true);
  ASSERT_EQ(block.entities().size(), 4u);  // three polylines and the hatch
  EXPECT_EQ(static_cast<const memcad::Polyline2d&>(*block.entities()[0]).elevation, 12.5);
  EXPECT_EQ(static_cast<const memcad::Polyline2d&>(*block.entities()[1]).elevation, 0);  // mixed Z
  EXPECT_EQ(block.entities()[3]->kind(), memcad::EntityKind::kHatch);
  EXPECT_EQ(drawn(), in_model_space);  // nothing more in model space
  dialog.chkSombrea.value = 1;  // "no hatches"
  generate();
  EXPECT_EQ(drawn(), in_model_space + 3);
}

TEST_F(PolylinesTest, TheRunAsksForTheTrueColourObjectDrawsEvenWithoutAndErrorsNameTheirStep) {
  load({drawing("D", {{"Ejes"}}, numbered_points(2))});
  set_polylines(module.model, {{0, {1, 2}}});
  module.cad.VersionCad = "ZWCAD 2021(x64)";
  generate();
  EXPECT_TRUE(state.ColorObject);
  EXPECT_EQ(state.Busy, core::kFalse);

  state.ColorObject = {};
  app->inject_failure("GetInterfaceObject", 1, 429);
  generate();
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_TRUE(messages()[0].starts_with("Color_True en 1 - ZWCAD 2021(x64) - Error    nº  429")) << messages()[0];
  EXPECT_FALSE(state.ColorObject);
  EXPECT_EQ(state.Busy, core::kTrue);
  EXPECT_EQ(drawn(), 2u);
  // Errors name their step; only wrong bitness clears the polyline count.
  const InjectedError cases[] = {
      {"Add3DPoly", 2, 91, "Polilineas: 2  Error nº  91" + kBitness, 0},
      {"Add3DPoly", 2, 13, "Polilineas: 2  Error nº  13" + kBitness, 0},
      {"Layer", 1, 5, "Polilineas: 1  Error nº  5: Error inyectado", 3},
  };
  for (const auto& c : cases) {
    load({drawing("D", {{"Ejes"}}, numbered_points(2))});
    set_polylines(module.model, {{0, {1, 2}}, {0, {1, 2}}, {0, {1, 2}}});
    app->inject_failure(c.member, c.call, c.number);
    generate();
    EXPECT_EQ(std::tuple(messages().back(), module.model.NumPolis), std::tuple(c.message, c.count_left));
  }
}

// Codes outside -70..-50 draw nothing and say nothing; a code inside with no
// pattern of its own asks for an empty pattern name, which the CAD refuses.
TEST_F(PolylinesTest, HatchCodesWithoutAPatternAreNotTriedOrRefusedByTheCad) {
  const std::pair<std::int16_t, std::size_t> cases[] = {{-71, 0}, {-49, 0}, {0, 0},  {-70, 1},
                                                        {-62, 1}, {-59, 1}, {-56, 1}};
  for (const auto& [t, reported] : cases) {
    SCOPED_TRACE(t);
    const std::size_t shown = messages().size();
    hatch(t);
    EXPECT_TRUE(entities<memcad::Hatch>().empty());
    ASSERT_EQ(messages().size(), shown + reported);
    if (reported > 0) {
      EXPECT_TRUE(messages().back().starts_with("Ch4_CreateHatch: 10  Error nº ")) << messages().back();
    }
  }
}

TEST_F(PolylinesTest, HatchColourBranchesAndTheirSteps) {
  state.PrefCap = "2D_";
  hatch(-60, "Lindes", 0x00FF00, true);  // a host colour: its colour index
  hatch(-60, "Lindes", 0x00FF00, false);
  state.ColorObject = core::Obj(module.cad.Aplicacion.call("GetInterfaceObject", "ZWCAD.ZcCmColor.2020").to_object());
  state.ColorObject.call("SetRGB", 10, 20, 30);
  hatch(-60, "Lindes", -1, true);  // the true-colour object
  hatch(-60, "Lindes", -2, true);  // the layer given, colour untouched
  hatch(-60, "", 0, true);
  ASSERT_TRUE(messages().empty()) << messages().front();
  const auto made = entities<memcad::Hatch>();
  std::vector<std::string> layers;
  for (const auto* h : made) layers.push_back(h->layer());
  EXPECT_EQ(layers, (std::vector<std::string>{"2D_Sombreado", "0", "2D_Sombreado", "Lindes", "0"}));
  EXPECT_EQ(made[0]->color(), 3);
  EXPECT_EQ(made[2]->true_color(), (memcad::Rgb{10, 20, 30}));
  EXPECT_EQ(made[3]->color(), made[4]->color());
  // A failure is reported with the step of its colour branch.
  for (const auto& [colour, step] : {std::pair{5, "8"}, {-1, "9"}, {0, "10"}, {-7, "10"}}) {
    app->inject_failure("PatternScale", 1, 5);
    hatch(-60, "", colour);
    EXPECT_EQ(messages().back(), std::string("Ch4_CreateHatch: ") + step + "  Error nº  5: Error inyectado");
  }
}

TEST_F(PolylinesTest, PastingAPolylineKeepsTheRawCoordinatesOnItsLayer) {
  load({drawing("D", {{"Ejes"}, {"Linde norte", true, 0xFF}}, {{"A", 1, 2, 3}, {"B", 4, 5, 6, "", 2}})});
  module.model.DeformaZ = 10;
  state.Solo2D = core::kTrue;
  set_polylines(module.model, {{0, {1, 2}}, {0, {2, 1}, 0, 2}});
  std::int32_t nPol = 2;
  Pega_Polilinea(ctx, nPol);
  const auto pasted = entities<memcad::Polyline3d>();
  ASSERT_EQ(pasted.size(), 1u);
  EXPECT_EQ(pasted[0]->xyz, (std::vector<double>{4, 5, 6, 1, 2, 3}));
  EXPECT_EQ(pasted[0]->layer(), "Linde_norte");
  ASSERT_NE(layer("Linde_norte"), nullptr);
  EXPECT_EQ(layer("Linde_norte")->color, 1);
  ASSERT_EQ(messages(), std::vector<std::string>{"Polilinea copiada"});
  EXPECT_EQ(message_box.shown()[0].title, "Autocad:");
  nPol = 3;
  Pega_Polilinea(ctx, nPol);
  EXPECT_TRUE(messages().back().starts_with("Autocad Pega_Polilinea - Error    nº  9: ")) << messages().back();
}

TEST_F(PolylinesTest, AProfileWithACancelledPickOrTooFewPointsDrawsNothing) {
  const core::VbArray<double> Pk(1, {0, 20}), Ct(1, {100, 101});
  picker->push_point_cancel();
  Dibuja_perfil(module, 2, Pk, Ct);
  picker->push_point({1, 1, 0});
  Dibuja_perfil(module, 0, Pk, Ct);
  picker->push_point({1, 1, 0});
  Dibuja_perfil(module, 1, Pk, Ct);  // the CAD refuses a one-vertex polyline
  EXPECT_TRUE(entities<memcad::Polyline3d>().empty());
  ASSERT_EQ(messages().size(), 3u);
  for (const std::string& m : messages()) EXPECT_TRUE(m.starts_with("Autocad Genera Perfil - Error    nº ")) << m;
}

}  // namespace
}  // namespace kestrel::exporting::testing
