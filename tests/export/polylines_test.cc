// The polyline generator's own paths: blocks, switched-off layers, progress
// and errors. The shapes themselves (circles, arcs, hatches, counts that do
// not match a code, 2D and 3D) are checked against ezdxf in
// tests/tools/cli_polylines_test.py.
#include <gtest/gtest.h>

#include "export/polylines.h"
#include "polyline_fixture.h"

namespace kestrel::exporting::testing {
namespace {

class PolylinesTest : public ExportTest {
 protected:
  void generate(bool in_block = false) {
    core::VbBool EnBloque = core::to_vb_bool(in_block);
    Autocad_Genera_Polilineas(ctx, EnBloque);
  }
  [[nodiscard]] std::size_t drawn() const { return document().model_space().entities().size(); }
  // A block to generate into, made the block being defined.
  memcad::Block& define_block() {
    const core::Obj blocks = module.cad.Documento.object("Blocks");
    state.BloqueActual = core::Obj(blocks.call("Add", core::VbArray<double>(0, {0, 0, 0}), "B").to_object());
    return *document().blocks().find("B");
  }
};

TEST_F(PolylinesTest, InsideABlockFlatPolylinesTakeTheirCommonElevationAndHatchesFollow) {
  load({drawing("D", {{"Ejes"}}, {{"A", 0, 0, 12.5}, {"B", 5, 0, 12.5}, {"C", 5, 5, 3}})});
  set_polylines(module.model, {{0, {1, 2}}, {0, {1, 2, 3}}, {-60, {1, 2, 3, 1}}});
  state.Solo2D = core::kTrue;
  generate();
  for (const auto* p : entities<memcad::Polyline2d>(memcad::EntityKind::kPolyline2d)) EXPECT_EQ(p->elevation, 0);
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

TEST_F(PolylinesTest, TheRunAsksForTheTrueColourObjectAndDrawsEvenWithout) {
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
}

TEST_F(PolylinesTest, ErrorsNameTheirStepAndOnlyWrongBitnessClearsThePolylineCount) {
  const struct {
    const char* member;
    int call;
    std::int32_t number;
    const char* message;
    std::int32_t polylines_left;
  } cases[] = {
      {"Add3DPoly", 2, 91, "Polilineas: 2  Error nº  91: Debes seleccionar correctamente tu versión de 32 o 64 bit de CAD", 0},
      {"Add3DPoly", 2, 13, "Polilineas: 2  Error nº  13: Debes seleccionar correctamente tu versión de 32 o 64 bit de CAD", 0},
      {"Layer", 1, 5, "Polilineas: 1  Error nº  5: Error inyectado", 3},
  };
  for (const auto& c : cases) {
    load({drawing("D", {{"Ejes"}}, numbered_points(2))});
    set_polylines(module.model, {{0, {1, 2}}, {0, {1, 2}}, {0, {1, 2}}});
    app->inject_failure(c.member, c.call, c.number);
    generate();
    EXPECT_EQ(messages().back(), c.message);
    EXPECT_EQ(module.model.NumPolis, c.polylines_left);
  }
}

}  // namespace
}  // namespace kestrel::exporting::testing
