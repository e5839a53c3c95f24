#include <cmath>
#include <numbers>

#include "memcad_test_util.h"

namespace kestrel::memcad::testing {
namespace {

constexpr double kPi = std::numbers::pi;

struct BulgeCase {
  Vec3 from, to;
  double bulge;
  Vec3 center;
  double radius, start, end;
};

const BulgeCase kBulgeCases[] = {
    // A counter-clockwise half circle below the chord, and the clockwise one above it.
    {{0, 0, 0}, {10, 0, 0}, 1, {5, 0, 0}, 5, kPi, 0},
    {{0, 0, 0}, {10, 0, 0}, -1, {5, 0, 0}, 5, 0, kPi},
    // A quarter circle: bulge tan(π/8).
    {{1, 0, 2}, {0, 1, 2}, std::tan(kPi / 8), {0, 0, 2}, 1, 0, kPi / 2},
    // Three quarters (bulge above 1): the center lies on the other side of the chord.
    {{1, 0, 0}, {0, -1, 0}, std::tan(3 * kPi / 8), {0, 0, 0}, 1, 0, 3 * kPi / 2},
};

TEST(MemcadGeometry, BulgeArcs) {
  for (const BulgeCase& c : kBulgeCases) {
    SCOPED_TRACE(c.bulge);
    const BulgeArc arc = bulge_arc(c.from, c.to, c.bulge);
    EXPECT_NEAR(arc.center.x, c.center.x, 1e-9);
    EXPECT_NEAR(arc.center.y, c.center.y, 1e-9);
    EXPECT_EQ(arc.center.z, c.center.z);
    EXPECT_NEAR(arc.radius, c.radius, 1e-9);
    EXPECT_NEAR(arc.start_angle, c.start, 1e-9);
    EXPECT_NEAR(arc.end_angle, c.end, 1e-9);
  }
}

TEST(MemcadGeometry, MirroredPlacementKeepsArcsCounterClockwiseOverTheSamePoints) {
  Arc arc({0, 0, 0}, 1, 0, kPi / 2);  // from (1,0) to (0,1)
  arc.transform(Placement({0, 0, 0}, {0, 0, 0}, {-1, 1, 1}, 0));
  // Mirrored in x: the points are (-1,0) and (0,1), swept counter-clockwise from (0,1).
  const Vec3 s = arc.start_point();
  const Vec3 e = arc.end_point();
  EXPECT_NEAR(s.x, 0, 1e-12);
  EXPECT_NEAR(s.y, 1, 1e-12);
  EXPECT_NEAR(e.x, -1, 1e-12);
  EXPECT_NEAR(e.y, 0, 1e-12);
}

TEST(MemcadGeometry, TypedPoints) {
  EXPECT_EQ(parse_typed_point("-5000000,-5000000"), (Vec3{-5000000, -5000000, 0}));
  EXPECT_EQ(parse_typed_point("+1.5,2,3.25"), (Vec3{1.5, 2, 3.25}));
  for (const char* bad : {"", "1", "1,", ",1", "1,2,3,4", "a,b", "1;2", "1,2 "}) {
    EXPECT_FALSE(parse_typed_point(bad).has_value()) << bad;
  }
}

TEST(MemcadPlainApi, BuildingADrawingWithoutLateBinding) {
  auto doc = Document::create("cargado.dwg");
  Layer& layer = doc->layers().add("Curvas");
  layer.color = 3;
  layer.on = false;
  Block& block = doc->blocks().add_new("POZO");
  block.origin = {1, 1, 0};
  block.add<Circle>(Vec3{1, 1, 0}, 0.5);
  Point& p = doc->model_space().add<Point>(Vec3{1, 2, 3});
  p.set_handle(0x2A);
  p.set_layer("CURVAS");
  auto& ref = doc->model_space().add<BlockReference>(&block, Vec3{10, 10, 0});
  ref.add_attribute("N", "7", {10, 11, 0}, 0.3);
  EXPECT_EQ(p.handle(), 0x2Au);  // a handle given before is kept
  EXPECT_EQ(p.layer_index(), 1u);
  EXPECT_EQ(ref.attributes[0]->layer(), "0");
  EXPECT_NE(ref.attributes[0]->handle(), 0u);
  EXPECT_EQ(ref.name(), "POZO");
  EXPECT_EQ(doc->model_space().size(), 2u);
  const auto kept = p.shared_from_this();  // erase releases the block's hold on it
  doc->model_space().erase(p);
  EXPECT_EQ(p.owner(), nullptr);
  EXPECT_EQ(doc->model_space().size(), 1u);
  EXPECT_THROW(doc->model_space().erase(p), core::Error);
}

TEST(MemcadPlainApi, StandaloneDocumentAnswersLateBoundCallsWithoutApplication) {
  auto doc = Document::create("suelto.dwg");
  Obj d(doc);
  Obj point = object(d.object("ModelSpace").call("AddPoint", pt(0, 0)));
  point.put("Layer", "X");
  EXPECT_EQ(doc->layers().size(), 2u);
  const core::Error e = error_of([&] { (void)d.object("Utility").call("GetPoint"); });
  EXPECT_EQ(e.source(), kStandaloneSource);
}

}  // namespace
}  // namespace kestrel::memcad::testing
