#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

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
  [[nodiscard]] std::vector<const memcad::Circle*> circles() const {
    return entities<memcad::Circle>(memcad::EntityKind::kCircle);
  }
  [[nodiscard]] std::vector<const memcad::Arc*> arcs() const { return entities<memcad::Arc>(memcad::EntityKind::kArc); }
  [[nodiscard]] std::vector<const memcad::Hatch*> hatches() const {
    return entities<memcad::Hatch>(memcad::EntityKind::kHatch);
  }
  [[nodiscard]] std::size_t drawn() const { return document().model_space().entities().size(); }
  // A block to generate into, made the block being defined.
  memcad::Block& define_block() {
    const core::Obj blocks = module.cad.Documento.object("Blocks");
    state.BloqueActual = core::Obj(blocks.call("Add", core::VbArray<double>(0, {0, 0, 0}), "B").to_object());
    return *document().blocks().find("B");
  }
};

TEST_F(PolylinesTest, CirclesFromTwoPointsAndOnADiameter) {
  load({drawing("D", {{"Ejes"}}, {{"A", 0, 0, 7}, {"B", 3, 4, 7}, {"C", 6, 8, 9}})});
  set_polylines(module.model, {{2, {1, 2}}, {4, {1, 3}}});
  generate();
  EXPECT_TRUE(messages().empty());
  const auto drawn = circles();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0]->center, (memcad::Vec3{0, 0, 7}));
  EXPECT_DOUBLE_EQ(drawn[0]->radius, 5);
  EXPECT_EQ(drawn[0]->color(), 256);  // record colour 0: by layer
  EXPECT_EQ(drawn[0]->layer(), "Ejes");
  EXPECT_EQ(drawn[1]->center, (memcad::Vec3{3, 4, 8}));  // X, Y and Z averaged
  EXPECT_DOUBLE_EQ(drawn[1]->radius, 5);
}

TEST_F(PolylinesTest, CountsThatDoNotMatchTheCodeDrawNothing) {
  load({drawing("D", {{"Ejes"}}, numbered_points(3))});
  set_polylines(module.model,
                {{2, {1, 2, 3}}, {3, {1, 2}}, {4, {1}}, {5, {1, 2}}, {1, {1, 2}}, {6, {1, 2, 3}}, {0, {1}}, {-60, {}}});
  generate();
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(drawn(), 0u);
}

// The centre of the circle through three plan points, by determinants.
memcad::Vec3 circumcentre(const memcad::Vec3& a, const memcad::Vec3& b, const memcad::Vec3& c) {
  const double d = 2 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
  const double a2 = a.x * a.x + a.y * a.y, b2 = b.x * b.x + b.y * b.y, c2 = c.x * c.x + c.y * c.y;
  return {(a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
          (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d, a.z};
}

double ccw_from(double from, double angle) {
  const double turn = std::fmod(angle - from, 2 * std::numbers::pi);
  return turn < 0 ? turn + 2 * std::numbers::pi : turn;
}

struct ArcCase {
  const char* name;
  memcad::Vec3 p1, p2, p3;
};

TEST_F(PolylinesTest, ArcsRunThroughTheirThreePointsWhicheverWayTheyTurn) {
  const ArcCase cases[] = {
      {"counter-clockwise half", {10, 0, 1}, {0, 10, 2}, {-10, 0, 3}},
      {"clockwise half", {-10, 0, 1}, {0, 10, 2}, {10, 0, 3}},
      {"first chord horizontal", {0, 0, 0}, {4, 0, 0}, {6, 3, 0}},
      {"second chord horizontal", {1, 5, 0}, {3, 2, 0}, {9, 2, 0}},
      {"vertical chord", {2, 1, 0}, {2, 7, 0}, {8, 5, 0}},
      {"clockwise, far from the origin", {105.3, 210.7, 50}, {130.2, 240.9, 51}, {160.8, 215.4, 52}},
  };
  for (const ArcCase& c : cases) {
    SCOPED_TRACE(c.name);
    load({drawing("D", {{"Ejes"}}, {{"1", c.p1.x, c.p1.y, c.p1.z}, {"2", c.p2.x, c.p2.y, c.p2.z}, {"3", c.p3.x, c.p3.y, c.p3.z}})});
    set_polylines(module.model, {{3, {1, 2, 3}}});
    generate();
    ASSERT_FALSE(arcs().empty());
    const memcad::Arc& arc = *arcs().back();
    const memcad::Vec3 centre = circumcentre(c.p1, c.p2, c.p3);
    const double radius = std::hypot(c.p1.x - centre.x, c.p1.y - centre.y);
    const double tolerance = 2e-6 * radius;
    expect_near(arc.center, centre, 1e-9 * radius);
    EXPECT_NEAR(arc.radius, radius, 1e-9 * radius);
    // The ends are P1 and P3, and P2 lies inside the sweep.
    const memcad::Vec3 s = arc.start_point(), e = arc.end_point();
    const bool forward = std::hypot(s.x - c.p1.x, s.y - c.p1.y) < tolerance;
    const memcad::Vec3& first = forward ? c.p1 : c.p3;
    const memcad::Vec3& last = forward ? c.p3 : c.p1;
    EXPECT_NEAR(s.x, first.x, tolerance);
    EXPECT_NEAR(s.y, first.y, tolerance);
    EXPECT_NEAR(e.x, last.x, tolerance);
    EXPECT_NEAR(e.y, last.y, tolerance);
    const double through = ccw_from(arc.start_angle, std::atan2(c.p2.y - centre.y, c.p2.x - centre.x));
    EXPECT_LT(through, ccw_from(arc.start_angle, arc.end_angle));
  }
}

TEST_F(PolylinesTest, CollinearOrRepeatedPointsGiveTheHugeRadius) {
  load({drawing("D", {{"Ejes"}}, {{"A", 0, 0, 0}, {"B", 1, 1, 0}, {"C", 2, 2, 0}, {"D", 5, 0, 0}})});
  set_polylines(module.model, {{3, {1, 2, 3}}, {3, {1, 1, 4}}, {5, {4, 2, 2}}});
  generate();
  EXPECT_TRUE(messages().empty());
  ASSERT_EQ(arcs().size(), 2u);
  for (const auto* arc : arcs()) EXPECT_EQ(arc->radius, 100000);
  EXPECT_EQ(arcs()[0]->center, (memcad::Vec3{0, 0, 0}));
  ASSERT_EQ(circles().size(), 1u);
  EXPECT_EQ(circles()[0]->radius, 100000);
}

TEST_F(PolylinesTest, PolylinesIn2DAnd3DWithTheZExaggeration) {
  load({drawing("D", {{""}}, {{"A", 0, 0, 2}, {"B", 5, 0, 3}, {"C", 5, 5, 4}})});
  module.model.DeformaZ = 10;
  set_polylines(module.model, {{0, {1, 2, 3}, 0, 1}});
  generate();
  auto p3 = entities<memcad::Polyline3d>(memcad::EntityKind::kPolyline3d);
  ASSERT_EQ(p3.size(), 1u);
  EXPECT_EQ(p3[0]->xyz, (std::vector<double>{0, 0, 20, 5, 0, 30, 5, 5, 40}));
  EXPECT_EQ(p3[0]->layer(), "Capa_1");  // the cleaned empty layer name
  state.Solo2D = core::kTrue;
  generate();
  auto p2 = entities<memcad::Polyline2d>(memcad::EntityKind::kPolyline2d);
  ASSERT_EQ(p2.size(), 1u);
  EXPECT_EQ(p2[0]->xyz, (std::vector<double>{0, 0, 0, 5, 0, 0, 5, 5, 0}));
}

TEST_F(PolylinesTest, TheCommonElevationIsSetOnlyIn2DInsideABlock) {
  load({drawing("D", {{"Ejes"}}, {{"A", 0, 0, 12.5}, {"B", 5, 0, 12.5}, {"C", 5, 5, 3}})});
  set_polylines(module.model, {{0, {1, 2}}, {0, {1, 2, 3}}});
  state.Solo2D = core::kTrue;
  generate();
  for (const auto* p : entities<memcad::Polyline2d>(memcad::EntityKind::kPolyline2d)) EXPECT_EQ(p->elevation, 0);
  memcad::Block& block = define_block();
  generate(true);
  ASSERT_EQ(block.entities().size(), 2u);
  EXPECT_EQ(static_cast<const memcad::Polyline2d&>(*block.entities()[0]).elevation, 12.5);
  EXPECT_EQ(static_cast<const memcad::Polyline2d&>(*block.entities()[1]).elevation, 0);  // mixed Z
  EXPECT_EQ(drawn(), 2u);  // nothing more in model space
}

TEST_F(PolylinesTest, OnlyClosedPolylinesAreHatchedAndOnlyWhenAllowed) {
  load({drawing("D", {{"Ejes"}}, {{"A", 0, 0, 0}, {"B", 5, 0, 0}, {"C", 5, 5, 0}})});
  set_polylines(module.model, {{-60, {1, 2, 3, 1}}, {-60, {1, 2, 3}}, {0, {1, 2, 3, 1}}});
  generate();
  ASSERT_EQ(hatches().size(), 1u);
  EXPECT_EQ(hatches()[0]->pattern_name, "SOLID");
  EXPECT_EQ(hatches()[0]->layer(), "Ejes");
  EXPECT_EQ(drawn(), 4u);
  dialog.chkSombrea.value = 1;
  generate();
  EXPECT_EQ(hatches().size(), 1u);
  memcad::Block& block = define_block();
  dialog.chkSombrea.value = 0;
  generate(true);
  EXPECT_EQ(block.entities().size(), 4u);  // the hatch goes into the block too
}

TEST_F(PolylinesTest, OffLayersAreSkippedWhenOnlyLayersThatAreOnAreExported) {
  load({drawing("D", {{"Si"}, {"No", false}}, numbered_points(2))});
  set_polylines(module.model, {{0, {1, 2}, 0, 2}, {0, {1, 2}, 0, 1}});
  state.CapAc = 1;
  generate();
  ASSERT_EQ(drawn(), 1u);
  EXPECT_EQ(document().model_space().entities()[0]->layer(), "Si");
}

TEST_F(PolylinesTest, ProgressBarMaxIsOneMoreThanTheSteps) {
  const std::pair<std::int32_t, float> cases[] = {{3, 4}, {1001, 501.5f}};
  for (const auto& [count, max] : cases) {
    load({drawing("D", {{"Ejes"}}, numbered_points(2))});
    set_polylines(module.model, std::vector<PolySpec>(static_cast<std::size_t>(count), PolySpec{0, {1}}));
    generate();
    EXPECT_EQ(dialog.proBarra.max, max) << count;
    EXPECT_EQ(dialog.labMandando.caption, "Generando " + std::to_string(count) + " polilineas:");
  }
  EXPECT_EQ(pointer.shape(), 0);
  EXPECT_TRUE(dialog.proBarra.visible);  // the dialog hides it
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

TEST_F(PolylinesTest, WrongBitnessErrorsClearThePolylineCount) {
  for (const std::int32_t number : {91, 13}) {
    load({drawing("D", {{"Ejes"}}, numbered_points(2))});
    set_polylines(module.model, {{0, {1, 2}}, {0, {1, 2}}, {0, {1, 2}}});
    app->inject_failure("Add3DPoly", 2, number);
    generate();
    EXPECT_EQ(messages().back(), "Polilineas: 2  Error nº  " + std::to_string(number) +
                                     ": Debes seleccionar correctamente tu versión de 32 o 64 bit de CAD");
    EXPECT_EQ(module.model.NumPolis, 0);
  }
  load({drawing("D", {{"Ejes"}}, numbered_points(2))});
  set_polylines(module.model, {{0, {1, 2}}});
  app->inject_failure("Layer", 1, 5);
  generate();
  EXPECT_EQ(messages().back(), "Polilineas: 1  Error nº  5: Error inyectado");
  EXPECT_EQ(module.model.NumPolis, 1);
}

}  // namespace
}  // namespace kestrel::exporting::testing
