// The triangulated surface: triangles coloured by the polylines around them,
// drawn as faces, and the contour lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "export/contours.h"
#include "export/ordena.h"
#include "export/polyline_geometry.h"
#include "export/region_test.h"
#include "export/triangulation.h"
#include "export_fixture.h"
#include "model/options.h"

namespace kestrel::exporting::testing {
namespace {

using Ring = std::vector<GridPoint>;

constexpr std::int32_t kRed = 0x0000FF;    // CAD colour 1
constexpr std::int32_t kGreen = 0x00FF00;  // CAD colour 3
constexpr std::int32_t kCyan = 0xFFFF00;   // CAD colour 4
constexpr std::int32_t kBlue = 0xFF0000;   // CAD colour 5

TEST(RegionTest, WindingFillWithEdgesAndVerticesInside) {
  const Ring square{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  // A notch cut into the top edge down to y = 20.
  const Ring notched{{0, 0}, {100, 0}, {100, 100}, {60, 100}, {50, 20}, {40, 100}, {0, 100}};
  // A five-pointed star drawn in one stroke: its centre is wound twice,
  // so the winding rule fills it (an even-odd rule would not).
  const Ring star{{0, 100}, {59, -81}, {-95, 31}, {95, 31}, {-59, -81}};
  const Ring segment{{0, 0}, {10, 0}};
  struct Case {
    const Ring* ring;
    GridPoint p;
    bool inside;
  } const cases[] = {
      {&square, {50, 50}, true},   {&square, {100, 50}, true},  {&square, {0, 0}, true},
      {&square, {100, 100}, true}, {&square, {101, 50}, false}, {&square, {50, -1}, false},
      {&notched, {50, 50}, false}, {&notched, {50, 20}, true},  {&notched, {50, 10}, true},
      {&notched, {45, 60}, true},  {&star, {0, 0}, true},       {&star, {0, 99}, true},
      {&star, {90, 90}, false},    {&segment, {5, 0}, true},    {&segment, {5, 1}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(inside_region(*c.ring, c.p), c.inside) << c.p.x << "," << c.p.y;
  }
}

TEST(OrdenaTest, SortsLikeTheLibraryAndKeepsEveryTiedPair) {
  std::mt19937 random(7);
  for (int n : {0, 1, 6, 7, 8, 100, 1000}) {
    std::vector<std::pair<int, int>> items;
    for (int i = 0; i < n; ++i) items.emplace_back(static_cast<int>(random() % 10), i);
    std::vector<std::pair<int, int>> expected = items;
    std::stable_sort(expected.begin(), expected.end(), [](auto& a, auto& b) { return a.first < b.first; });
    Ordena(std::span<std::pair<int, int>>(items));
    EXPECT_EQ(items, expected) << n;
  }
}

// Triangles are tested at (((x1 + x2) / 2 + x3) / 2, likewise y).
TEST_F(SurfaceTest, SmallestClosedPolylineWinsEqualAreasAllColourAndSomeNeverColour) {
  // Layer 1 is off. A 100 x 100 square (layer 3) holds a 10 x 10 one (layer 5); around a third square
  // lie a polyline on the off layer, one coded -200 and an open one.
  std::vector<PointSpec> pts{{"a", 0, 0, 0},   {"b", 100, 0, 0}, {"c", 100, 100, 0}, {"d", 0, 100, 0},
                             {"e", 40, 40, 0}, {"f", 50, 40, 0}, {"g", 50, 50, 0},   {"h", 40, 50, 0},
                             {"i", 200, 0, 0}, {"j", 210, 0, 0}, {"k", 210, 10, 0},  {"l", 200, 10, 0}};
  load({drawing("D", {{"Off", false}, {"L2"}, {"L3"}, {"L4"}, {"L5"}}, pts)});
  set_polylines(module.model, {{0, {1, 2, 3, 4, 1}, 0, 3},
                               {0, {5, 6, 7, 8, 5}, 0, 5},
                               {0, {9, 10, 11, 12, 9}, 0, 1},
                               {-200, {9, 10, 11, 12, 9}, 0, 2},
                               {0, {9, 10, 11, 12}, 0, 4}});
  // (47.5, 45) in both squares; (0, 75) on the big one's edge; (207.5, 5) only in the three that never
  // colour; (100, 100) on the big one's corner.
  set_triangles({{5, 6, 7}, {1, 4, 4}, {9, 10, 11}, {3, 3, 3}});
  Colores_TRI(surface, module.model);
  EXPECT_EQ(surface.CapaTri, core::VbArray<std::int32_t>(0, {5, 3, 0, 3}));
  // Equal areas all colour and the first listed wins where they overlap: two
  // disjoint squares (layers 2, 3) and one straddling the first (layer 4), listed last.
  pts = {{"a", 0, 0, 0},  {"b", 10, 0, 0}, {"c", 10, 10, 0}, {"d", 0, 10, 0},
         {"e", 20, 0, 0}, {"f", 30, 0, 0}, {"g", 30, 10, 0}, {"h", 20, 10, 0},
         {"i", 5, 0, 0},  {"j", 15, 0, 0}, {"k", 15, 10, 0}, {"l", 5, 10, 0}};
  load({drawing("D", {{"L1"}, {"L2"}, {"L3"}, {"L4"}}, pts)});
  set_polylines(module.model,
                {{0, {1, 2, 3, 4, 1}, 0, 2}, {0, {5, 6, 7, 8, 5}, 0, 3}, {0, {9, 10, 11, 12, 9}, 0, 4}});
  // (5, 2.5) in square 1 and on square 3's edge, (25, 7.5) in square 2, (15, 2.5) on square 3's edge only.
  set_triangles({{2, 3, 1}, {5, 8, 7}, {10, 11, 10}});
  Colores_TRI(surface, module.model);
  EXPECT_EQ(surface.CapaTri, core::VbArray<std::int32_t>(0, {2, 3, 4}));
}

class TriangulationTest : public SurfaceTest {
 protected:
  void SetUp() override {
    load({drawing("D", {{"Ejes"}, {"Muros"}, {"Zona"}}, {{"A", 0, 0, 1}, {"B", 4, 0, 2}, {"C", 0, 4, 3}})});
    module.model.Opciones.set(model::kTriangulationColour, kGreen);
  }
  // One colour per triangle, none (0) by default; `count` colours when given.
  void run(std::vector<std::int32_t> colours = {}, std::size_t count = 0) {
    colours.resize(count > 0 ? count : static_cast<std::size_t>(module.model.NumTriangulos + 1));
    core::VbBool Solido = core::kFalse;
    Triangulation(ctx, surface, core::VbArray<std::int32_t>(0, std::move(colours)), Solido);
  }
};

TEST_F(TriangulationTest, ProgressStepsAndTheLayerEvenWithoutTriangles) {
  // step = NumTriangulos \ 500 (at least 1); Max = NumTriangulos / step + 1;
  // triangles 0..NumTriangulos, an update at each multiple of the step.
  const struct {
    std::int32_t triangles;  // NumTriangulos
    float max;
    std::size_t updates, faces;
  } cases[] = {{0, 0, 0, 0}, {499, 500, 500, 500}, {1000, 501, 501, 1001}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.triangles);
    same_triangles(c.triangles + 1);
    const std::size_t before = drawn();
    const std::size_t calls = pump.calls();
    dialog.proBarra.max = 0;
    run();
    ASSERT_NE(layer("TRI"), nullptr);
    EXPECT_EQ(std::tuple(messages().size(), layer("TRI")->color, dialog.proBarra.max, pump.calls() - calls,
                         drawn() - before),
              std::tuple(0u, 3, c.max, c.updates, c.faces));
  }
  EXPECT_EQ(std::tuple(dialog.labMandando.caption, pointer.shape(), dialog.proBarra.visible),
            std::tuple("Generando  1000 triángulos:", 0, false));
}

TEST_F(TriangulationTest, FacesCarryTheColourInForceAndScaledElevationsAndEachNeedsAColour) {
  same_triangles(4);
  module.model.DeformaZ = 10;
  run({kRed, 0, 0, kBlue});
  const auto faces = entities<memcad::Face3d>();
  std::vector<std::int16_t> colours;
  for (const auto* face : faces) colours.push_back(face->color());
  ASSERT_EQ(colours, (std::vector<std::int16_t>{1, 1, 1, 5}));
  EXPECT_EQ(std::pair(faces[0]->corners[1], faces[0]->corners[3]),
            std::pair(memcad::Vec3{4, 0, 20}, faces[0]->corners[0]));
  // A triangle without colour is reported by number; what was drawn stays.
  same_triangles(2);
  run({kRed}, 1);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_NE(messages()[0].find("el triángulo 1 no tiene color"), std::string::npos) << messages()[0];
  EXPECT_EQ(entities<memcad::Face3d>().size(), 4u + 1u);
}

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
  ASSERT_TRUE(layer("X_Cv") && layer("X_Cvd"));
  EXPECT_EQ(std::tuple(layer("X_Cv")->color, layer("X_Cvd")->color), std::tuple(4, 5));
  const auto lines = entities<memcad::Polyline3d>();
  std::vector<std::pair<std::string, std::int16_t>> placed;
  for (const auto* line : lines) placed.emplace_back(line->layer(), line->color());
  EXPECT_EQ(placed, (std::vector<std::pair<std::string, std::int16_t>>{{"X_Cv", 256}, {"X_Cv", 256}, {"X_Cvd", 256}}));
  EXPECT_EQ(lines[0]->xyz, (std::vector<double>{0, 0, 20, 1, 0, 20}));
  // The bar is left shown; N = 8 vertices - 1: step 1, no + 1.
  EXPECT_EQ(std::tuple(pointer.shape(), dialog.proBarra.visible, dialog.proBarra.max), std::tuple(0, true, 7.0f));
}

TEST_F(ContoursTest, CancelAndShortVertexListsStopTheRun) {
  const ContourSpec line{true, kGreen, {{0, 0, 0}, {1, 1, 1}}};
  set_contours(std::vector<ContourSpec>(600, line));  // N = 1199, step 2
  CancelOnKey user(module.model);
  pump.set_key_target(&user);
  pump.press_on_call(4);  // the update at vertex 6, after contour 2 was flushed at vertex 4
  Curvado(ctx);
  EXPECT_EQ(entities<memcad::Polyline3d>().size(), 2u);
  EXPECT_EQ(pointer.shape(), 11);

  module.model.Cancelar = core::kFalse;
  set_contours({line, line});
  module.model.Curvado.Curvas[2].NuVertC = 5;
  Curvado(ctx);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_TRUE(messages()[0].starts_with("Curvado - Error   nº  9: ")) << messages()[0];
  EXPECT_NE(messages()[0].find("la curva 2 tiene menos de los 6 vértices"), std::string::npos) << messages()[0];
}

}  // namespace
}  // namespace kestrel::exporting::testing
