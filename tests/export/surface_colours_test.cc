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

}  // namespace
}  // namespace kestrel::exporting::testing
