#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "export/arc_three_points.h"
#include "export/polyline_geometry.h"
#include "export_fixture.h"
#include "model/bearing.h"

namespace kestrel::exporting::testing {
namespace {

TEST(BearingTest, GradsClockwiseFromNorth) {
  const double diagonal = 4.2426406871;
  const std::array<double, 4> cases[] = {
      {0, 0, 0, 0},        {0, 5, 0, 5},          {5, 0, 100, 5},         {0, -5, 200, 5},        {-5, 0, 300, 5},
      {3, 3, 50, diagonal}, {3, -3, 150, diagonal}, {-3, -3, 250, diagonal}, {-3, 3, 350, diagonal},
  };
  for (const auto& [dx, dy, direction, distance] : cases) {
    const model::Bearing b = model::Rumbo_Distancia(10, 20, 10 + dx, 20 + dy);
    EXPECT_NEAR(b.direction, direction, 1e-7) << dx << "," << dy;
    EXPECT_NEAR(b.distance, distance, 1e-9);
  }
}

// Degenerate inputs leave the array alone; an arc writes its centre over point one.
TEST(ArcThreePointsTest, DegenerateInputsLeaveTheArrayAloneAndAnArcWritesItsCentreOverPointOne) {
  const std::array<double, 9> inputs[] = {
      {0, 0, 0, 0.00005, 0, 0, 5, 5, 0},  // P1 and P2 within 0.0001
      {0, 0, 0, 5, 5, 1, 5, 5.00009, 1},  // P2 and P3
      {0, 0, 0, 1, 2, 0, 2, 4, 0},        // collinear
      {0, 0, 0, 3, 0, 0, 7, 0, 0},        // both chords horizontal
  };
  for (std::array<double, 9> xyz : inputs) {
    const std::array<double, 9> before = xyz;
    double radius = 0, start = -1, end = -1;
    EXPECT_FALSE(Arco_Tres_Puntos(xyz, radius, start, end));
    EXPECT_EQ(std::tuple(radius, start, xyz), std::tuple(kDegenerateRadius, -1.0, before));
  }
  std::array<double, 9> xyz{10, 0, 3, 0, 10, 4, -10, 0, 5};
  double radius = 0, start = 0, end = 0;
  ASSERT_TRUE(Arco_Tres_Puntos(xyz, radius, start, end));
  EXPECT_NEAR(std::hypot(xyz[0], xyz[1]), 0, 1e-12);
  EXPECT_EQ(xyz[2], 3);
  EXPECT_DOUBLE_EQ(radius, 10);
  EXPECT_NEAR(start, 2 * 3.141592, 1e-12);  // east is 400 grads, with the routine's own pi
  EXPECT_NEAR(end, 3.141592, 1e-12);
}

class PolylineMeasuresTest : public ExportTest {};

TEST_F(PolylineMeasuresTest, ClosedTestAndAreaAndPerimeter) {
  load({drawing("D", {{"Ejes"}}, {{"A", 0, 0, 1}, {"B", 10, 0, 1}, {"C", 10, 10, 1}, {"D", 0, 10, 1}, {"E", 0, 0, 2}})});
  set_polylines(module.model, {{0, {1, 2, 3, 4, 1}}, {0, {4, 3, 2, 1, 4}}, {0, {1, 2, 3, 4, 5}}, {0, {1, 2, 3}}});
  const model::DrawingModel& m = module.model;
  // The third ends on the first's plan point at another Z: not closed.
  EXPECT_EQ((std::vector{Poli_Cerrada(m, 1), Poli_Cerrada(m, 3), Poli_Cerrada(m, 4)}),
            (std::vector{true, false, false}));
  for (std::int32_t i : {1, 2}) {  // either way round
    const AreaPerimeter square = Superficie_Perimetro(m, i);
    EXPECT_EQ(std::pair(square.area, square.perimeter), std::pair(100.0, 40.0));
  }
  const AreaPerimeter open = Superficie_Perimetro(m, 4);
  EXPECT_DOUBLE_EQ(open.area, 0);  // no closing pair: this path bounds nothing
  EXPECT_NEAR(open.perimeter, 20 + std::sqrt(200.0), 1e-12);
}

}  // namespace
}  // namespace kestrel::exporting::testing
