#include <gtest/gtest.h>

#include "export/triangulation.h"
#include "model/options.h"
#include "surface_fixture.h"

namespace kestrel::exporting::testing {
namespace {

constexpr std::int32_t kRed = 0x0000FF;   // CAD colour 1
constexpr std::int32_t kBlue = 0xFF0000;  // CAD colour 5

class TriangulationTest : public SurfaceTest {
 protected:
  void SetUp() override {
    load({drawing("D", {{"Ejes"}, {"Muros"}, {"Zona"}}, {{"A", 0, 0, 1}, {"B", 4, 0, 2}, {"C", 0, 4, 3}})});
    module.model.Opciones.set(model::kTriangulationColour, 0x00FF00);  // CAD colour 3
  }
  void run(bool solid, const std::vector<std::int32_t>& colours = {}) {
    const auto n = static_cast<std::size_t>(module.model.NumTriangulos + 1);
    std::vector<std::int32_t> list = colours.empty() ? std::vector<std::int32_t>(n, 0) : colours;
    core::VbBool Solido = core::to_vb_bool(solid);
    Triangulation(ctx, surface, core::VbArray<std::int32_t>(0, std::move(list)), Solido);
  }
};

TEST_F(TriangulationTest, ProgressStepsAndTheLayerEvenWithoutTriangles) {
  // step = NumTriangulos \ 500 (at least 1); Max = NumTriangulos / step + 1;
  // triangles 0..NumTriangulos, an update at each multiple of the step.
  const struct {
    std::int32_t triangles;  // NumTriangulos
    float max;
    std::size_t updates;
  } cases[] = {{0, 0, 0}, {499, 500, 500}, {1000, 501, 501}};
  for (const auto& c : cases) {
    same_triangles(c.triangles + 1);
    const std::size_t before = drawn();
    const std::size_t calls = pump.calls();
    dialog.proBarra.max = 0;
    run(false);
    EXPECT_TRUE(messages().empty());
    ASSERT_NE(layer("TRI"), nullptr);
    EXPECT_EQ(layer("TRI")->color, 3);
    EXPECT_EQ(dialog.proBarra.max, c.max) << c.triangles;
    EXPECT_EQ(pump.calls() - calls, c.updates) << c.triangles;
    EXPECT_EQ(drawn() - before, c.triangles == 0 ? 0u : static_cast<std::size_t>(c.triangles + 1));
  }
  EXPECT_EQ(dialog.labMandando.caption, "Generando  1000 triángulos:");
  EXPECT_EQ(pointer.shape(), 0);
  EXPECT_FALSE(dialog.proBarra.visible);
}

TEST_F(TriangulationTest, FacesCarryTheColourInForceAndTheScaledElevations) {
  same_triangles(4);
  module.model.DeformaZ = 10;
  run(false, {kRed, 0, 0, kBlue});
  const auto drawn = faces();
  ASSERT_EQ(drawn.size(), 4u);
  const std::int16_t expected[] = {1, 1, 1, 5};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(drawn[i]->color(), expected[i]) << i;
  EXPECT_EQ(drawn[0]->corners[1], (memcad::Vec3{4, 0, 20}));
  EXPECT_EQ(drawn[0]->corners[3], drawn[0]->corners[0]);
}

TEST_F(TriangulationTest, ATriangleWithoutColourIsReportedByNumber) {
  same_triangles(2);
  core::VbBool Solido = core::kFalse;
  Triangulation(ctx, surface, core::VbArray<std::int32_t>(0, {kRed}), Solido);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_NE(messages()[0].find("el triángulo 1 no tiene color"), std::string::npos) << messages()[0];
  EXPECT_EQ(faces().size(), 1u);  // what was drawn stays
}

}  // namespace
}  // namespace kestrel::exporting::testing
