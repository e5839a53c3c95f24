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
    expect_near(arc.center, c.center, "center");
    EXPECT_THAT((std::vector{arc.radius, arc.start_angle, arc.end_angle}), near({c.radius, c.start, c.end}));
  }
}

// Normals and the OCS point (1, 2, 3) in world coordinates, as ezdxf.math.OCS gives it.
const std::pair<Vec3, Vec3> kOcsCases[] = {
    {{0, 0, -1}, {-1, 2, -3}},
    {{0, 1, 0}, {-1, 3, 2}},
    {{0.0207461631753607, 0.3239633267477399, 0.9458421430852181},
     {-1.0566105330780668, -0.8520196400948861, 3.4867802790369606}},
    {{-0.9268, -0.3755, 0}, {-2.4049499152534923, -2.0533426175682963, 2}},  // not a unit vector
    {{0, 0, 1}, {1, 2, 3}},
    {{0, 0, 0}, {1, 2, 3}},  // no normal: the world
};

TEST(MemcadGeometry, ObjectCoordinateSystemsAgreeWithEzdxf) {
  for (const auto& [normal, world] : kOcsCases) {
    SCOPED_TRACE(::testing::PrintToString(std::vector<double>{normal.x, normal.y, normal.z}));
    const Ocs ocs(normal);
    expect_near(ocs.to_wcs({1, 2, 3}), world, "to world");
    expect_near(ocs.to_ocs(world), {1, 2, 3}, "back");
  }
  EXPECT_TRUE(Ocs({0, 0, 2}).is_world());
  EXPECT_FALSE(Ocs({0, 0, -1}).is_world());
}

// Placing a planar entity moves each of its world points as the placement
// moves them, whatever the entity's own plane and the placement's.
struct PlacementCase {
  const char* what;
  Placement placement;
  Vec3 normal;  // of the entity placed
};

const PlacementCase kPlacementCases[] = {
    {"mirrored in x", Placement({0, 0, 0}, {0, 0, 0}, {-1, 1, 1}, 0), {0, 0, 1}},
    {"rotated and scaled", Placement({1, 2, 0}, {10, 20, 5}, {2, 2, 2}, kPi / 6), {0, 0, 1}},
    {"upright reference", Placement({0, 0, 0}, {-100, 300, 200}, {1, 1, 1}, kPi / 2, {0, 1, 0}), {0, 0, 1}},
    {"entity seen from below", Placement({0, 0, 0}, {3, 0, 0}, {1, 1, 1}, kPi / 4), {0, 0, -1}},
    {"both turned over", Placement({0, 0, 0}, {3, 4, 0}, {1, -1, 1}, 0, {0, 0, -1}), {0, 0, -1}},
};

TEST(MemcadGeometry, PlacedEntitiesKeepTheirWorldShape) {
  for (const PlacementCase& c : kPlacementCases) {
    SCOPED_TRACE(c.what);
    const Placement& p = c.placement;
    Arc arc({1, 1, 0.5}, 2, 0, kPi / 2);
    arc.normal = c.normal;
    const Vec3 middle = arc.ocs().to_wcs(point_on_circle(arc.center, arc.radius, kPi / 4));
    const Vec3 start = p.apply(arc.start_point());
    const Vec3 end = p.apply(arc.end_point());
    arc.transform(p);
    expect_near(arc.start_point(), start, "arc start");
    expect_near(arc.end_point(), end, "arc end");
    const double half = normalize_angle(arc.end_angle - arc.start_angle) / 2;
    expect_near(arc.ocs().to_wcs(point_on_circle(arc.center, arc.radius, arc.start_angle + half)), p.apply(middle),
                "arc middle");

    Text text("T", {4, 5, 6}, 1);
    text.rotation = kPi / 3;
    text.set_normal(c.normal);
    const Vec3 ahead = p.apply(text.ocs().to_wcs({4 + std::cos(kPi / 3), 5 + std::sin(kPi / 3), 6}));
    const Vec3 at = p.apply(text.world_insertion());
    text.transform(p);
    expect_near(text.world_insertion(), at, "text insertion");
    const Vec3 run = text.ocs().to_wcs({std::cos(text.rotation), std::sin(text.rotation), 0});
    const double length = std::hypot(ahead.x - at.x, ahead.y - at.y, ahead.z - at.z);
    expect_near({at.x + run.x * length, at.y + run.y * length, at.z + run.z * length}, ahead, "text direction");

    // A reference inside the placed block: its content lands where the two
    // placements together put it.
    BlockReference inner(nullptr, {1, -2, 3});
    inner.rotation = kPi / 5;
    inner.scale = {1.5, 1.5, 1.5};
    inner.normal = c.normal;
    const Vec3 q{0.5, 0.25, -1};
    const Vec3 placed = p.apply(inner.placement().apply(q));
    inner.transform(p);
    expect_near(inner.placement().apply(q), placed, "nested reference");
  }
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
  doc->layers().add("Curvas");
  Block& block = doc->blocks().add_new("POZO");
  Point& p = doc->model_space().add<Point>(Vec3{1, 2, 3});
  p.set_handle(0x2A);
  p.set_layer("CURVAS");
  auto& ref = doc->model_space().add<BlockReference>(&block, Vec3{10, 10, 0});
  ref.add_attribute("N", "7", {10, 11, 0}, 0.3);
  EXPECT_EQ(p.handle(), 0x2Au);  // a handle given before is kept
  EXPECT_EQ(p.layer_index(), 1u);
  EXPECT_NE(ref.attributes[0]->handle(), 0u);
  const auto kept = doc->model_space().entities()[0];  // erase releases the block's hold on p
  doc->model_space().erase(p);
  EXPECT_EQ(p.owner(), nullptr);
  EXPECT_EQ(doc->model_space().size(), 1u);
  EXPECT_THROW(doc->model_space().erase(p), core::Error);

  Obj point = object(Obj(doc).object("ModelSpace").call("AddPoint", pt(0, 0)));  // no application
  point.put("Layer", "X");
  EXPECT_EQ(doc->layers().size(), 3u);
  EXPECT_EQ(error_of([&] { (void)Obj(doc).object("Utility").call("GetPoint"); }).source(), kStandaloneSource);
}

}  // namespace
}  // namespace kestrel::memcad::testing
