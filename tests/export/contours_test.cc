#include <gtest/gtest.h>

#include "export/contours.h"
#include "surface_fixture.h"

namespace kestrel::exporting::testing {
namespace {

constexpr std::int32_t kGreen = 0x00FF00;   // CAD colour 3
constexpr std::int32_t kCyan = 0xFFFF00;    // CAD colour 4
constexpr std::int32_t kBlue = 0xFF0000;    // CAD colour 5

struct ContourSpec {
  bool cv;  // kind flag
  std::int32_t colour;
  std::vector<model::Vertex3> vertices;
};

class ContoursTest : public SurfaceTest {
 protected:
  void SetUp() override { load({drawing("D", {{"Ejes"}}, {{"A", 0, 0, 0}})}); }
  void set_contours(const std::vector<ContourSpec>& specs) {
    model::t_Curvado& set = module.model.Curvado;
    set.NuCurvas = static_cast<std::int32_t>(specs.size());
    set.Curvas.redim(1, set.NuCurvas);
    for (std::int32_t j = 1; j <= set.NuCurvas; ++j) {
      const ContourSpec& s = specs[static_cast<std::size_t>(j - 1)];
      model::t_Curva& c = set.Curvas[j];
      c.NuVertC = static_cast<std::int32_t>(s.vertices.size()) - 1;
      c.VertC = core::VbArray<model::Vertex3>(0, s.vertices);
      c.ColorC = s.colour;
      c.TipoC = core::to_vb_bool(s.cv);
    }
  }
  [[nodiscard]] std::vector<const memcad::Polyline3d*> lines3d() const {
    return entities<memcad::Polyline3d>(memcad::EntityKind::kPolyline3d);
  }
};

TEST_F(ContoursTest, LayersTakeTheFirstColoursOfEachKindAndLinesTheirKindsLayer) {
  state.PrefCap = "X_";
  Curvado(ctx);  // no contours: no layers
  EXPECT_EQ(layer("X_Cv"), nullptr);
  EXPECT_TRUE(pointer.history().empty());
  module.model.DeformaZ = 10;
  set_contours({{true, kGreen, {{0, 0, 2}, {1, 0, 2}}},
                {true, kCyan, {{0, 1, 3}, {1, 1, 3}, {2, 1, 3}}},
                {false, kBlue, {{0, 2, 4}}},  // one vertex: not drawn
                {false, kGreen, {{0, 3, 5}, {1, 3, 5}}}});
  Curvado(ctx);
  EXPECT_TRUE(messages().empty());
  // "Cv" took green, then cyan while "Cvd" was unknown; "Cvd" took blue.
  EXPECT_EQ(layer("X_Cv")->color, 4);
  EXPECT_EQ(layer("X_Cvd")->color, 5);
  const auto drawn = lines3d();
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[0]->xyz, (std::vector<double>{0, 0, 20, 1, 0, 20}));
  EXPECT_EQ(drawn[0]->layer(), "X_Cv");
  EXPECT_EQ(drawn[1]->layer(), "X_Cv");
  EXPECT_EQ(drawn[2]->layer(), "X_Cvd");
  EXPECT_EQ(drawn[2]->color(), 256);
  EXPECT_EQ(pointer.shape(), 0);
  EXPECT_TRUE(dialog.proBarra.visible);  // left shown
  // N = 8 vertices - 1: step 1, maximum 7, no + 1.
  EXPECT_EQ(dialog.proBarra.max, 7);
}

TEST_F(ContoursTest, CancelAndShortVertexListsStopTheRun) {
  std::vector<ContourSpec> many;
  for (int j = 0; j < 600; ++j) many.push_back({true, kGreen, {{0, 0, 0}, {1, 1, 1}}});
  set_contours(many);  // N = 1199, step 2
  CancelOnKey user(module.model);
  pump.set_key_target(&user);
  pump.press_on_call(4);  // the update at vertex 6, after contour 2 was flushed at vertex 4
  Curvado(ctx);
  EXPECT_EQ(lines3d().size(), 2u);
  EXPECT_EQ(pointer.shape(), 11);

  module.model.Cancelar = core::kFalse;
  set_contours({{true, kGreen, {{0, 0, 0}, {1, 1, 1}}}, {true, kGreen, {{0, 0, 0}, {1, 1, 1}}}});
  module.model.Curvado.Curvas[2].NuVertC = 5;
  Curvado(ctx);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0].rfind("Curvado - Error   nº  9: ", 0), 0u) << messages()[0];
  EXPECT_NE(messages()[0].find("la curva 2 tiene menos de los 6 vértices"), std::string::npos) << messages()[0];
}

}  // namespace
}  // namespace kestrel::exporting::testing
