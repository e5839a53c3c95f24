#include <numbers>

#include "memcad_test_util.h"

namespace kestrel::memcad::testing {
namespace {

constexpr double kPi = std::numbers::pi;

// A block "CASA" with base point (10, 0): a line, a circle and an attribute
// definition, inserted at (100, 50) scaled 2 and turned a quarter.
Obj insert_house(Cad& cad) {
  Obj block = object(cad.doc.object("Blocks").call("Add", pt(10, 0, 0), "CASA"));
  object(block.call("AddLine", pt(10, 0), pt(12, 0))).put("Layer", "MUROS");
  (void)block.call("AddCircle", pt(11, 1), 0.5);
  (void)block.call("AddAttribute", 0.2, 0, "Nombre", pt(10, 2), "NOMBRE", "casa");
  EXPECT_EQ(error_of([&] { (void)block.call("InsertBlock", pt(0, 0), "CASA", 1.0, 1.0, 1.0, 0.0); }).number(),
            kRefused);  // a block cannot contain itself
  return cad.add("InsertBlock", pt(100, 50, 0), "casa", 2.0, 2.0, 2.0, kPi / 2);
}

TEST(MemcadBlocks, InsertBlockCopiesAttributeDefinitionsPlaced) {
  Cad cad;
  Obj ref = insert_house(cad);
  EXPECT_EQ(ref.get("Name").to_string(), "CASA");
  const Variant result = ref.call("GetAttributes");
  const auto& attributes = result.as<core::VbArray<Variant>>();
  ASSERT_EQ(attributes.size(), 1);
  Obj attribute = object(attributes[0]);
  EXPECT_EQ(attribute.get("TagString").to_string(), "NOMBRE");
  EXPECT_EQ(attribute.get("TextString").to_string(), "casa");
  EXPECT_DOUBLE_EQ(attribute.get("Height").to_double(), 0.4);
  // (10, 2) is 2 above the base point: scaled to 4 and turned a quarter, it lies 4 left of the insertion.
  EXPECT_THAT(numbers(attribute.get("InsertionPoint")), near({96, 50, 0}));
}

TEST(MemcadExplode, ExplodeCommandPlacesBlockContentAndTurnsAttributesIntoTexts) {
  Cad cad;
  (void)insert_house(cad);
  (void)cad.doc.call("SendCommand", "DESCOMP\r-5000000,-5000000\r+5000000,+5000000\r\r");
  EXPECT_EQ(cad.names(), (std::vector<std::string>{"AcDbLine", "AcDbCircle", "AcDbText"}));
  expect_near(cad.at<Line>(0).end, {100, 54, 0});
  EXPECT_EQ(cad.at<Line>(0).layer(), "MUROS");
  expect_near(cad.at<Circle>(1).center, {98, 52, 0});
  EXPECT_NEAR(cad.at<Circle>(1).radius, 1, 1e-12);
  EXPECT_EQ(cad.at<Text>(2).text, "casa");
}

TEST(MemcadExplode, PolylinesBecomeLinesAndBulgesArcs) {
  Cad cad;
  Obj lw = cad.add("AddLightWeightPolyline", doubles({0, 0, 10, 0, 10, 10}));
  lw.put("Closed", true);
  lw.put("Elevation", 3.0);
  (void)lw.call("SetBulge", 0, 1.0);  // a half circle from (0,0) to (10,0), counter-clockwise
  (void)cad.add("Add3DPoly", doubles({0, 0, 1, 5, 5, 2}));
  (void)cad.doc.call("SendCommand", "_EXPLODE\n0,0\n100,100\n\n");
  EXPECT_EQ(cad.names(), (std::vector<std::string>{"AcDbArc", "AcDbLine", "AcDbLine", "AcDbLine"}));
  const Arc& arc = cad.at<Arc>(0);
  expect_near(arc.center, {5, 0, 3});
  // Radius, then angles: counter-clockwise from (0,0) over the bottom to (10,0).
  EXPECT_THAT((std::vector{arc.radius, arc.start_angle, arc.end_angle}), near({5, kPi, 0}));
  EXPECT_EQ(cad.at<Line>(2).end, (Vec3{0, 0, 3}));  // the closing segment
  EXPECT_EQ(cad.at<Line>(3).end, (Vec3{5, 5, 2}));
}

TEST(MemcadExplode, OnlyWhatLiesInsideTheWindowOneLevelPerCommandOtherCommandsNothing) {
  Cad cad;
  Obj inner = object(cad.doc.object("Blocks").call("Add", pt(0, 0), "DENTRO"));
  (void)inner.call("AddPoint", pt(1, 1));
  Obj outer = object(cad.doc.object("Blocks").call("Add", pt(0, 0), "FUERA"));
  (void)outer.call("InsertBlock", pt(0, 0), "DENTRO", 1.0, 1.0, 1.0, 0.0);
  (void)cad.add("InsertBlock", pt(5, 5), "FUERA", 1.0, 1.0, 1.0, 0.0);
  (void)cad.add("InsertBlock", pt(500, 500), "FUERA", 1.0, 1.0, 1.0, 0.0);
  for (const char* text : {"ZOOM\rE\r", "DESCOMP\r0,0\r10,10\r", "DESCOMP\rnada\r\r"}) {
    (void)cad.doc.call("SendCommand", text);  // other commands and unfinished selections
  }
  const std::string window = "DESCOMP\r0,0\r100,100\r\r";
  (void)cad.doc.call("SendCommand", window);
  EXPECT_EQ(cad.names(), (std::vector<std::string>{"AcDbBlockReference", "AcDbBlockReference"}));
  (void)cad.doc.call("SendCommand", window);
  EXPECT_EQ(cad.names(), (std::vector<std::string>{"AcDbBlockReference", "AcDbPoint"}));
  EXPECT_EQ(cad.at<Point>(1).position, (Vec3{6, 6, 0}));
  EXPECT_EQ(cad.document().command_log().size(), 5u);
}

TEST(MemcadHatch, OuterLoopCopiesTheBoundaryPath) {
  Cad cad;
  Obj boundary = cad.add("AddPolyline", doubles({0, 0, 0, 4, 0, 0, 4, 3, 0, 0, 0, 0}));
  Obj hatch = cad.add("AddHatch", 0, "ANSI31", true);
  core::VbArray<core::ObjectRef> loop(0, std::vector<core::ObjectRef>{boundary.ref()});
  (void)hatch.call("AppendOuterLoop", Variant(loop));
  hatch.put("PatternScale", 0.1);
  EXPECT_EQ(hatch.get("NumberOfLoops").to_int32(), 1);
  const Hatch& data = cad.at<Hatch>(1);
  EXPECT_EQ(data.loops[0].xy, (std::vector<double>{0, 0, 4, 0, 4, 3}));  // the repeated end vertex dropped
  EXPECT_FALSE(data.solid());
  EXPECT_EQ(data.pattern_scale, 0.1);
  // A predefined pattern must be one memcad knows; a custom one may be any.
  EXPECT_EQ(error_of([&] { (void)hatch.call("SetPattern", 0, "ESCHER"); }).number(), kNotFound);
  (void)hatch.call("SetPattern", 2, "ESCHER");
  EXPECT_EQ(hatch.get("PatternName").to_string(), "ESCHER");
}

TEST(MemcadHatch, OpenBoundariesAndNonCurvesAreRefused) {
  Cad cad;
  Obj open = cad.add("AddPolyline", doubles({0, 0, 0, 4, 0, 0, 4, 3, 0}));
  Obj text = cad.add("AddText", "x", pt(0, 0), 1.0);
  Obj hatch = cad.add("AddHatch", 0, "SOLID", true);
  for (const Obj& boundary : {open, text}) {
    core::VbArray<core::ObjectRef> loop(0, std::vector<core::ObjectRef>{boundary.ref()});
    EXPECT_EQ(error_of([&] { (void)hatch.call("AppendOuterLoop", Variant(loop)); }).number(), kRefused);
  }
  EXPECT_EQ(error_of([&] { (void)hatch.call("AppendOuterLoop", 5); }).number(), core::kTypeMismatch);
  core::VbArray<Variant> circle(0, std::vector<Variant>{Variant(cad.add("AddCircle", pt(0, 0), 1.0).ref())});
  (void)hatch.call("AppendOuterLoop", Variant(circle));
  EXPECT_TRUE(cad.at<Hatch>(2).solid());
}

}  // namespace
}  // namespace kestrel::memcad::testing
