#include <numbers>

#include "memcad_test_util.h"

namespace kestrel::memcad::testing {
namespace {

constexpr double kPi = std::numbers::pi;

struct AddCase {
  const char* member;  // of model space
  std::vector<Variant> args;
  const char* entity_name;
  const char* reads;             // a member that reads the geometry back
  std::vector<double> expected;  // what it reads
};

const AddCase kAddCases[] = {
    {"AddPoint", {pt(1, 2, 3)}, "AcDbPoint", "Coordinates", {1, 2, 3}},
    {"AddLine", {pt(0, 0, 1), pt(3, 4, 1)}, "AcDbLine", "EndPoint", {3, 4, 1}},
    // A 2D polyline lies in its plane: the vertex z it is given is not used.
    {"AddPolyline", {doubles({0, 0, 5, 10, 0, 5, 10, 10, 5})}, "AcDb2dPolyline", "Coordinates",
     {0, 0, 0, 10, 0, 0, 10, 10, 0}},
    {"AddLightWeightPolyline", {doubles({0, 0, 4, 0, 4, 3})}, "AcDbPolyline", "Coordinates", {0, 0, 4, 0, 4, 3}},
    {"Add3DPoly", {doubles({0, 0, 1, 1, 1, 2})}, "AcDb3dPolyline", "Coordinates", {0, 0, 1, 1, 1, 2}},
    {"AddArc", {pt(1, 1), 2.0, 0.0, kPi / 2}, "AcDbArc", "StartPoint", {3, 1, 0}},
    {"AddCircle", {pt(5, 5, 2), 3.0}, "AcDbCircle", "Center", {5, 5, 2}},
    {"AddText", {" 12", pt(7, 8, 9), 0.5}, "AcDbText", "InsertionPoint", {7, 8, 9}},
    {"AddMText", {pt(1, 1), 10.0, "a\\Pb"}, "AcDbMText", "InsertionPoint", {1, 1, 0}},
    {"Add3DFace", {pt(0, 0, 1), pt(1, 0, 2), pt(1, 1, 3), pt(0, 0, 1)}, "AcDbFace", "Coordinates",
     {0, 0, 1, 1, 0, 2, 1, 1, 3, 0, 0, 1}},
};

TEST(MemcadEntities, EachAddGivesTheCadEntityNameAndGeometryBack) {
  for (const AddCase& c : kAddCases) {
    SCOPED_TRACE(c.member);
    Cad cad;
    std::vector<Variant> args = c.args;
    Obj e = object(cad.model.call_with(c.member, args));
    EXPECT_EQ(e.get("EntityName").to_string(), c.entity_name);
    EXPECT_THAT(numbers(e.get(c.reads)), near(c.expected, 1e-12));
    EXPECT_EQ(object(cad.model.call("Item", 0)), e);
  }
}

TEST(MemcadEntities, LayerColourAndTrueColourReachTheData) {
  Cad cad;
  Obj point = cad.add("AddPoint", pt(1, 2, 3));
  point.put("Color", std::int16_t{2});
  point.put("Layer", "PUNTOS");
  const Entity& data = cad.document().model_space().at(0);
  EXPECT_EQ(data.color(), 2);
  EXPECT_EQ(point.get("Color").to_int32(), 2);
  EXPECT_EQ(data.layer(), "PUNTOS");
  EXPECT_EQ(cad.document().layers().find("puntos")->color, 7);  // created on first use
  EXPECT_EQ(error_of([&] { point.put("Color", 257); }).number(), kRefused);

  Obj color = object(cad.app.call("GetInterfaceObject", "AutoCAD.AcCmColor.24"));
  (void)color.call("SetRGB", 200, 100, 50);
  point.put("TrueColor", color.ref());
  EXPECT_EQ(point.object("TrueColor").get("Red").to_int32(), 200);
  EXPECT_EQ(data.true_color(), (Rgb{200, 100, 50}));
  point.put("Color", 1);  // an index drops the true colour
  EXPECT_FALSE(data.true_color().has_value());
  EXPECT_EQ(error_of([&] { point.put("TrueColor", cad.doc.ref()); }).number(), core::kTypeMismatch);
}

// Seen from below (normal -Z), an entity's own system is the world mirrored
// in x and z. Centers, ends and insertion points go out and come in as world
// points; polyline vertices stay in the entity's system, as a CAD has them.
TEST(MemcadEntities, EntitiesSeenFromBelowHandOutWorldPoints) {
  Cad cad;
  Block& ms = cad.document().model_space();
  auto& arc = ms.add<Arc>(Vec3{2.5, 2.5, 0.5}, 1.0, 0.0, kPi / 2);
  arc.normal = {0, 0, -1};
  Obj a(hand_out(arc));
  EXPECT_EQ(numbers(a.get("Center")), (std::vector<double>{-2.5, 2.5, -0.5}));
  EXPECT_THAT(numbers(a.get("StartPoint")), near({-3.5, 2.5, -0.5}, 1e-12));
  a.put("Center", pt(-1, 1, -2));
  EXPECT_EQ(arc.center, (Vec3{1, 1, 2}));

  auto& lw = ms.add<LightweightPolyline>(std::vector<double>{1, 1, 2, 1});
  lw.normal = {0, 0, -1};
  EXPECT_EQ(numbers(Obj(hand_out(lw)).get("Coordinates")), (std::vector<double>{1, 1, 2, 1}));

  auto& text = ms.add<Text>("T", Vec3{7, 7, 0}, 1.0);
  text.set_normal({0, 0, -1});
  Obj t(hand_out(text));
  EXPECT_EQ(numbers(t.get("InsertionPoint")), (std::vector<double>{-7, 7, 0}));
  t.put("Normal", pt(0, 0, -2));
  EXPECT_EQ(text.normal(), (Vec3{0, 0, -1}));
  EXPECT_EQ(error_of([&] { t.put("Normal", pt(0, 0, 0)); }).number(), kRefused);

  const Obj utility = cad.doc.object("Utility");
  EXPECT_EQ(numbers(utility.call("TranslateCoordinates", pt(1, 2, 3), 4, 0, false, pt(0, 0, -1))),
            (std::vector<double>{-1, 2, -3}));
  EXPECT_EQ(numbers(utility.call("TranslateCoordinates", pt(-1, 2, -3), 0, 4, true, pt(0, 0, -1))),
            (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(error_of([&] { (void)utility.call("TranslateCoordinates", pt(1, 2, 3), 4, 0, false); }).number(), kRefused);
}

TEST(MemcadEntities, PolylineAndTextPropertiesRoundTrip) {
  Cad cad;
  Obj lw = cad.add("AddLightWeightPolyline", doubles({0, 0, 4, 0, 4, 3}));
  (void)lw.call("SetBulge", 1, 0.5);
  EXPECT_EQ(lw.call("GetBulge", 1).to_double(), 0.5);
  EXPECT_EQ(numbers(lw.call("Coordinate", 2)), (std::vector<double>{4, 3}));
  lw.put("Coordinates", doubles({1, 1, 2, 2}));
  EXPECT_EQ(lw.call("GetBulge", 1).to_double(), 0.0);  // new vertices, no bulges
  EXPECT_EQ(error_of([&] { (void)lw.call("GetBulge", 2); }).number(), kNotFound);

  (void)cad.doc.object("TextStyles").call("Add", "Arial");
  EXPECT_EQ(object(cad.doc.object("TextStyles").call("Item", "standard")).get("Name").to_string(), "Standard");
  Obj text = cad.add("AddText", "Cota", pt(1, 2), 0.25);
  text.put("StyleName", "ARIAL");
  EXPECT_EQ(text.get("StyleName").to_string(), "Arial");  // the style's own spelling
  text.put("Alignment", 10);
  EXPECT_EQ(text.get("Alignment").to_int32(), 10);
  EXPECT_EQ(error_of([&] { text.put("Height", 0.0); }).number(), kRefused);

  // A copy owns the fields few texts set: changing it leaves the original.
  text.put("ScaleFactor", 0.8);
  auto& original = static_cast<Text&>(*cad.document().model_space().entities().back());
  const auto copy = original.clone();
  auto& copied = static_cast<Text&>(*copy);
  EXPECT_EQ(copied.width_factor(), 0.8);
  copied.set_width_factor(0.5);
  EXPECT_EQ(text.get("ScaleFactor").to_double(), 0.8);

  Obj arc = cad.add("AddArc", pt(0, 0), 1.0, -kPi / 2, 0.0);  // angles are kept within one turn
  EXPECT_NEAR(arc.get("StartAngle").to_double(), 3 * kPi / 2, 1e-12);
}

// Texts of up to 13 bytes stay inside the entity, longer ones go to the
// heap: both sides of that line, and a text set from a piece of itself.
TEST(MemcadEntities, TextStringsOfAnyLengthRoundTrip) {
  Cad cad;
  Obj text = cad.add("AddText", "", pt(0, 0), 1.0);
  for (const std::string s : {"", "1234567890123", "12345678901234", "Señal nº 5 — Ω y más allá del margen"}) {
    SCOPED_TRACE(s);
    text.put("TextString", s);
    EXPECT_EQ(text.get("TextString").to_string(), s);
  }
  auto& t = static_cast<Text&>(*cad.document().model_space().entities().back());
  t.text = t.text.view().substr(7);  // from its own heap bytes
  EXPECT_EQ(t.text, "nº 5 — Ω y más allá del margen");
  t.text = t.text.view().substr(0, 5);  // from the heap back inside
  EXPECT_EQ(t.text, "nº 5");

  memcad::ShortText copy = t.text;
  t.text = "changed";
  EXPECT_EQ(copy, "nº 5");
  memcad::ShortText moved = std::move(copy);
  EXPECT_EQ(moved, "nº 5");
}

struct RefusedCase {
  const char* what;
  const char* member;  // of model space, where a block "B" exists
  std::vector<Variant> args;
  std::int32_t number;
};

const RefusedCase kRefusedCases[] = {
    {"2d polyline of one vertex", "AddPolyline", {doubles({0, 0, 0})}, kRefused},
    {"3d polyline not in triples", "Add3DPoly", {doubles({1, 2, 3, 4, 5, 6, 7})}, kRefused},
    {"lightweight polyline of odd count", "AddLightWeightPolyline", {doubles({1, 2, 3, 4, 5})}, kRefused},
    {"empty coordinate array", "AddPolyline", {Variant(core::VbArray<double>())}, kRefused},
    {"zero block scale", "InsertBlock", {pt(0, 0), "B", 1.0, 0.0, 1.0, 0.0}, kRefused},
    {"unknown block", "InsertBlock", {pt(0, 0), "NADA", 1.0, 1.0, 1.0, 0.0}, kRefused},
    {"empty hatch pattern", "AddHatch", {0, "", true}, kRefused},
    {"unknown predefined pattern", "AddHatch", {0, "ANSI39", true}, kNotFound},
    {"zero circle radius", "AddCircle", {pt(0, 0), 0.0}, kRefused},
    {"point of two numbers", "AddPoint", {doubles({1, 2})}, kRefused},
    {"text point as text", "AddText", {"a", "1,2", 1.0}, core::kTypeMismatch},
    {"null point", "AddPoint", {core::ObjectRef()}, core::kTypeMismatch},
    {"missing radius", "AddCircle", {pt(0, 0)}, 449},
};

TEST(MemcadEntities, RefusedCallsRaiseAndAddNothing) {
  for (const RefusedCase& c : kRefusedCases) {
    SCOPED_TRACE(c.what);
    Cad cad;
    (void)cad.doc.object("Blocks").call("Add", pt(0, 0), "B");
    std::vector<Variant> args = c.args;
    EXPECT_EQ(error_of([&] { (void)cad.model.call_with(c.member, args); }).number(), c.number);
    EXPECT_EQ(cad.model.get("Count").to_int32(), 0);
  }
  Cad cad;
  const core::Error refused = error_of([&] { (void)cad.add("AddPoint", doubles({1, 2, 3, 4})); });
  EXPECT_EQ(refused.source(), "ZWCAD.Application");
  EXPECT_NE(refused.description().find("argumento 1"), std::string::npos) << refused.description();
}

TEST(MemcadEntities, NumbersArrivingAsOtherArraysAreAccepted) {
  Cad cad;
  core::VbArray<Variant> v(0, std::vector<Variant>{Variant(1), Variant(2.5), Variant(std::int16_t{3})});
  EXPECT_EQ(numbers(cad.add("AddPoint", Variant(v)).get("Coordinates")), (std::vector<double>{1, 2.5, 3}));
  core::VbArray<std::int32_t> l(0, std::vector<std::int32_t>{0, 0, 5, 5});
  EXPECT_EQ(numbers(cad.add("AddLightWeightPolyline", Variant(l)).get("Coordinates")),
            (std::vector<double>{0, 0, 5, 5}));
}

TEST(MemcadEntities, HandlesAreUniqueAndDeleteRemoves) {
  Cad cad;
  Obj a = cad.add("AddPoint", pt(0, 0));
  Obj b = cad.add("AddPoint", pt(1, 0));
  EXPECT_EQ(a.get("Handle").to_string(), "100");
  EXPECT_EQ(b.get("Handle").to_string(), "101");
  (void)a.call("Delete");
  EXPECT_EQ(cad.model.get("Count").to_int32(), 1);
  EXPECT_EQ(object(cad.model.call("Item", 0)), b);
  const core::Error e = error_of([&] { (void)a.get("Layer"); });
  EXPECT_EQ(e.number(), kRefused);
  EXPECT_EQ(e.description(), "El objeto ha sido borrado");
}

}  // namespace
}  // namespace kestrel::memcad::testing
