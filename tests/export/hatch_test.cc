#include <gtest/gtest.h>

#include <optional>

#include "export/hatch.h"
#include "polyline_fixture.h"

namespace kestrel::exporting::testing {
namespace {

constexpr double kRadiansPerGrad = 90.0 / 100 * 3.141592 / 180;

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

struct PatternCase {
  std::int16_t t;
  std::optional<std::string> name;  // none: no hatch is attempted
  double grads;
};

TEST_F(HatchTest, EveryCodeGivesItsPatternOrNothing) {
  std::vector<PatternCase> cases = {{-71, std::nullopt, 0}, {-49, std::nullopt, 0}, {0, std::nullopt, 0},
                                    {-61, "SOLID", 0},      {-60, "SOLID", 0},      {-55, "ANSI37", 0},
                                    {-54, "ANSI37", 50},    {-53, "ANSI31", 50},    {-52, "ANSI31", 100},
                                    {-51, "ANSI31", 150},   {-50, "ANSI31", 0}};
  for (std::int16_t t = -70; t <= -62; ++t) cases.push_back({t, "", 0});
  for (std::int16_t t = -59; t <= -56; ++t) cases.push_back({t, "", 0});
  for (const PatternCase& c : cases) {
    SCOPED_TRACE(c.t);
    const std::size_t before = hatches().size();
    const std::size_t shown = messages().size();
    hatch(c.t);
    if (!c.name) {
      EXPECT_EQ(hatches().size(), before);
      EXPECT_EQ(messages().size(), shown);
    } else if (c.name->empty()) {  // the CAD refuses the empty name: reported, nothing left
      EXPECT_EQ(hatches().size(), before);
      ASSERT_EQ(messages().size(), shown + 1);
      EXPECT_EQ(messages().back().rfind("Ch4_CreateHatch: 10  Error nº ", 0), 0u) << messages().back();
    } else {
      ASSERT_EQ(hatches().size(), before + 1);
      const memcad::Hatch& h = *hatches().back();
      EXPECT_EQ(h.pattern_name, *c.name);
      EXPECT_EQ(h.pattern_type, 0);
      EXPECT_TRUE(h.associative);
      EXPECT_DOUBLE_EQ(h.pattern_scale, 0.1);
      EXPECT_DOUBLE_EQ(h.pattern_angle, c.grads * kRadiansPerGrad);
      ASSERT_EQ(h.loops.size(), 1u);
      EXPECT_TRUE(h.loops[0].outer);
    }
  }
  EXPECT_NEAR(hatch_pattern(-52)->angle_grads * kRadiansPerGrad, 1.5707963, 1e-6);  // 90 degrees
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
