// The pattern of every code, its angle, scale and boundary are checked
// against ezdxf in tests/tools/cli_polylines_test.py; here the colour
// branches and the steps their errors name.
#include <gtest/gtest.h>

#include "export/hatch.h"
#include "polyline_fixture.h"

namespace kestrel::exporting::testing {
namespace {

class HatchTest : public ExportTest {
 protected:
  HatchTest() {
    const core::Obj space = module.cad.Documento.object("ModelSpace");
    square = core::Obj(space.call("AddPolyline", core::VbArray<double>(0, {0, 0, 0, 4, 0, 0, 4, 4, 0, 0, 0, 0}))
                           .to_object());
  }
  void hatch(std::int16_t t, const std::string& Cp = "", bool in_block = false, std::int32_t colour = 0,
             bool solid = false) {
    Ch4_CreateHatch(ctx, square, t, Cp, core::to_vb_bool(in_block), colour, core::to_vb_bool(solid));
  }
  [[nodiscard]] std::vector<const memcad::Hatch*> hatches() const {
    return entities<memcad::Hatch>(memcad::EntityKind::kHatch);
  }
  core::Obj square;
};

// Codes outside -70..-50 draw nothing and say nothing; a code inside with no
// pattern of its own asks for an empty pattern name, which the CAD refuses:
// the failure is reported and nothing is left.
TEST_F(HatchTest, CodesWithoutAPatternAreNotTriedOrRefusedByTheCad) {
  const std::pair<std::int16_t, std::size_t> cases[] = {{-71, 0}, {-49, 0}, {0, 0},  {-70, 1},
                                                        {-62, 1}, {-59, 1}, {-56, 1}};
  for (const auto& [t, reported] : cases) {
    SCOPED_TRACE(t);
    const std::size_t shown = messages().size();
    hatch(t);
    EXPECT_TRUE(hatches().empty());
    ASSERT_EQ(messages().size(), shown + reported);
    if (reported > 0) {
      EXPECT_EQ(messages().back().rfind("Ch4_CreateHatch: 10  Error nº ", 0), 0u) << messages().back();
    }
  }
}

TEST_F(HatchTest, ColourBranches) {
  state.PrefCap = "2D_";
  hatch(-60, "Lindes", false, 0x00FF00, true);  // a host colour: its colour index
  hatch(-60, "Lindes", false, 0x00FF00, false);
  state.ColorObject = core::Obj(module.cad.Aplicacion.call("GetInterfaceObject", "ZWCAD.ZcCmColor.2020").to_object());
  state.ColorObject.call("SetRGB", 10, 20, 30);
  hatch(-60, "Lindes", false, -1, true);  // the true-colour object
  hatch(-60, "Lindes", false, -2, true);  // the layer given, colour untouched
  hatch(-60, "", false, 0, true);
  ASSERT_TRUE(messages().empty()) << messages().front();
  const auto made = hatches();
  ASSERT_EQ(made.size(), 5u);
  EXPECT_EQ(made[0]->color(), 3);
  EXPECT_EQ(made[0]->layer(), "2D_Sombreado");
  EXPECT_EQ(made[1]->layer(), "0");
  ASSERT_TRUE(made[2]->true_color().has_value());
  EXPECT_EQ(made[2]->true_color()->red, 10);
  EXPECT_EQ(made[2]->true_color()->blue, 30);
  EXPECT_EQ(made[2]->layer(), "2D_Sombreado");
  EXPECT_EQ(made[3]->layer(), "Lindes");
  EXPECT_EQ(made[3]->color(), made[4]->color());
  EXPECT_EQ(made[4]->layer(), "0");
}

TEST_F(HatchTest, AFailureIsReportedWithTheStepOfItsColourBranch) {
  const std::pair<std::int32_t, const char*> cases[] = {{5, "8"}, {-1, "9"}, {0, "10"}, {-7, "10"}};
  for (const auto& [colour, step] : cases) {
    app->inject_failure("PatternScale", 1, 5);
    hatch(-60, "", false, colour);
    EXPECT_EQ(messages().back(), std::string("Ch4_CreateHatch: ") + step + "  Error nº  5: Error inyectado");
  }
}

}  // namespace
}  // namespace kestrel::exporting::testing
