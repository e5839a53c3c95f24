#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "export/ordena.h"
#include "export/polyline_geometry.h"
#include "export/region_test.h"
#include "surface_fixture.h"

namespace kestrel::exporting::testing {
namespace {

using Ring = std::vector<GridPoint>;

TEST(RegionTest, WindingFillWithEdgesAndVerticesInside) {
  const Ring square{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  // A notch cut into the top edge down to y = 20.
  const Ring notched{{0, 0}, {100, 0}, {100, 100}, {60, 100}, {50, 20}, {40, 100}, {0, 100}};
  // A five-pointed star drawn in one stroke: its centre is wound twice,
  // so the winding rule fills it (an even-odd rule would not).
  const Ring star{{0, 100}, {59, -81}, {-95, 31}, {95, 31}, {-59, -81}};
  struct Case {
    const Ring* ring;
    GridPoint p;
    bool inside;
  } const cases[] = {
      {&square, {50, 50}, true},   {&square, {100, 50}, true},  {&square, {0, 0}, true},
      {&square, {100, 100}, true}, {&square, {101, 50}, false}, {&square, {50, -1}, false},
      {&notched, {50, 50}, false}, {&notched, {50, 20}, true},  {&notched, {50, 10}, true},
      {&notched, {45, 60}, true},  {&star, {0, 0}, true},       {&star, {0, 99}, true},
      {&star, {90, 90}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(inside_region(*c.ring, c.p), c.inside) << c.p.x << "," << c.p.y;
  }
  EXPECT_TRUE(inside_region(Ring{{0, 0}, {10, 0}}, {5, 0}));  // only on the segment
  EXPECT_FALSE(inside_region(Ring{{0, 0}, {10, 0}}, {5, 1}));
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

class ColouringTest : public SurfaceTest {};

TEST_F(ColouringTest, SmallestClosedPolylineWinsAndSomeNeverColour) {
  // Layers: 1 off, 2..5 on. Squares: 100 x 100 on layer 3 holding a 10 x 10
  // on layer 5; on the off layer, with code -200, and an open one, each
  // around a triangle of its own.
  std::vector<PointSpec> pts{{"a", 0, 0, 0},     {"b", 100, 0, 0},   {"c", 100, 100, 0}, {"d", 0, 100, 0},
                             {"e", 40, 40, 0},   {"f", 50, 40, 0},   {"g", 50, 50, 0},   {"h", 40, 50, 0},
                             {"i", 200, 0, 0},   {"j", 210, 0, 0},   {"k", 210, 10, 0},  {"l", 200, 10, 0}};
  load({drawing("D", {{"Off", false}, {"L2"}, {"L3"}, {"L4"}, {"L5"}}, pts)});
  set_polylines(module.model, {{0, {1, 2, 3, 4, 1}, 0, 3},
                               {0, {5, 6, 7, 8, 5}, 0, 5},
                               {0, {9, 10, 11, 12, 9}, 0, 1},
                               {-200, {9, 10, 11, 12, 9}, 0, 2},
                               {0, {9, 10, 11, 12}, 0, 4}});
  // Test points (((x1 + x2) / 2 + x3) / 2, likewise y): (47.5, 45) in both
  // squares; (0, 75) on the big one's edge; (207.5, 5) only in the three
  // that never colour; (100, 100) on the big one's corner.
  set_triangles({{5, 6, 7}, {1, 4, 4}, {9, 10, 11}, {3, 3, 3}});
  Colores_TRI(surface, module.model);
  EXPECT_EQ(surface.CapaTri, core::VbArray<std::int32_t>(0, {5, 3, 0, 3}));
}

TEST_F(ColouringTest, EqualAreasAllColourAndTheFirstListedWinsWhereTheyOverlap) {
  std::vector<PointSpec> pts{{"a", 0, 0, 0}, {"b", 10, 0, 0}, {"c", 10, 10, 0}, {"d", 0, 10, 0},
                             {"e", 20, 0, 0}, {"f", 30, 0, 0}, {"g", 30, 10, 0}, {"h", 20, 10, 0},
                             {"i", 5, 0, 0},  {"j", 15, 0, 0}, {"k", 15, 10, 0}, {"l", 5, 10, 0}};
  load({drawing("D", {{"L1"}, {"L2"}, {"L3"}, {"L4"}}, pts)});
  // Three 10 x 10 squares: two disjoint (layers 2, 3) and one straddling
  // the first (layer 4), listed last.
  set_polylines(module.model,
                {{0, {1, 2, 3, 4, 1}, 0, 2}, {0, {5, 6, 7, 8, 5}, 0, 3}, {0, {9, 10, 11, 12, 9}, 0, 4}});
  // Test points (5, 2.5) in square 1 and on square 3's edge, (25, 7.5) in
  // square 2, (15, 2.5) on square 3's edge only.
  set_triangles({{2, 3, 1}, {5, 8, 7}, {10, 11, 10}});
  Colores_TRI(surface, module.model);
  EXPECT_EQ(surface.CapaTri, core::VbArray<std::int32_t>(0, {2, 3, 4}));
}

// The specified order, without an index: every candidate, largest area
// first, tests every triangle and overwrites.
std::vector<std::int32_t> brute_force(const model::DrawingModel& m) {
  std::vector<std::pair<double, std::int32_t>> order;
  for (std::int32_t j = 1; j <= m.NumPolis; ++j) {
    if (colours_triangles(m, j)) order.emplace_back(std::trunc(Superficie_Perimetro(m, j).area * 1000), j);
  }
  // Largest first; among equal keys the first listed is applied last.
  std::sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first != b.first ? a.first > b.first : a.second > b.second; });
  std::vector<std::int32_t> layers(static_cast<std::size_t>(m.NumTriangulos + 1), 0);
  for (const auto& [key, j] : order) {
    const Ring ring = polyline_ring(m, j);
    for (std::int32_t t = 0; t <= m.NumTriangulos; ++t) {
      const double x = ((m.PtoX[m.TriV1[t]] + m.PtoX[m.TriV2[t]]) / 2 + m.PtoX[m.TriV3[t]]) / 2;
      const double y = ((m.PtoY[m.TriV1[t]] + m.PtoY[m.TriV2[t]]) / 2 + m.PtoY[m.TriV3[t]]) / 2;
      const GridPoint p{static_cast<std::int64_t>(std::llround(x * 100)), static_cast<std::int64_t>(std::llround(y * 100))};
      if (inside_region(ring, p)) layers[static_cast<std::size_t>(t)] = m.Polis[j].CapaP;
    }
  }
  return layers;
}

TEST_F(ColouringTest, IndexedColouringEqualsTheLargestFirstOverwrite) {
  std::mt19937 random(12);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  for (int round = 0; round < 30; ++round) {
    // Points on a quarter-unit grid, so test points and edges meet often.
    std::vector<PointSpec> pts;
    for (int k = 0; k < 400; ++k) pts.push_back({"p", uniform(0, 160) / 4.0, uniform(0, 160) / 4.0, 0});
    std::vector<PolySpec> polis;
    const int first_ring = static_cast<int>(pts.size()) + 1;
    for (int r = 0; r < 12; ++r) {
      // Star-shaped rings (concave) and boxes, nested and overlapping at random.
      const double cx = uniform(0, 40), cy = uniform(0, 40), size = uniform(1, 25);
      const int corners = uniform(3, 9);
      std::vector<std::int32_t> vertices;
      for (int c = 0; c < corners; ++c) {
        const double angle = 2 * 3.14159265358979 * c / corners;
        const double reach = size * (c % 2 == 0 || corners == 4 ? 1.0 : uniform(2, 10) / 10.0);
        pts.push_back({"v", std::round(cx + reach * std::cos(angle)), std::round(cy + reach * std::sin(angle)), 0});
        vertices.push_back(static_cast<std::int32_t>(pts.size()));
      }
      vertices.push_back(vertices.front());
      polis.push_back({r % 5 == 0 ? -200 : 0, vertices, 0, uniform(1, 4)});
    }
    load({drawing("D", {{"L1"}, {"L2"}, {"L3", false}, {"L4"}}, pts)});
    set_polylines(module.model, polis);
    std::vector<std::array<std::int32_t, 3>> triangles;
    for (int t = 0; t < 300; ++t) triangles.push_back({uniform(1, 400), uniform(1, 400), uniform(1, first_ring - 1)});
    set_triangles(triangles);
    Colores_TRI(surface, module.model);
    const std::vector<std::int32_t> expected = brute_force(module.model);
    ASSERT_EQ(std::vector<std::int32_t>(surface.CapaTri.items().begin(), surface.CapaTri.items().end()), expected)
        << "round " << round;
  }
}

}  // namespace
}  // namespace kestrel::exporting::testing
