#include "memcad_test_util.h"

namespace kestrel::memcad::testing {
namespace {

TEST(MemcadLayers, AddReturnsTheExistingLayerWhateverTheCase) {
  Cad cad;
  Obj layers = cad.doc.object("Layers");
  Obj created = object(layers.call("Add", "Curvas"));
  created.put("Color", 3);
  Obj again = object(layers.call("Add", "CURVAS"));
  EXPECT_EQ(again, created);
  EXPECT_EQ(again.get("Name").to_string(), "Curvas");
  EXPECT_EQ(again.get("Color").to_int32(), 3);
  EXPECT_EQ(layers.get("Count").to_int32(), 2);
  EXPECT_EQ(object(layers.call("Item", "curvas")), created);
}

TEST(MemcadLayers, RefusedNamesColoursAndKeys) {
  Cad cad;
  Obj layers = cad.doc.object("Layers");
  EXPECT_EQ(error_of([&] { (void)layers.call("Add", ""); }).number(), kRefused);
  EXPECT_EQ(error_of([&] { (void)layers.call("Add", "a/b"); }).number(), kRefused);
  EXPECT_EQ(error_of([&] { (void)layers.call("Item", "nada"); }).number(), kNotFound);
  EXPECT_EQ(object(layers.call("Item", 0)).get("Name").to_string(), "0");  // by index, from 0
  EXPECT_EQ(error_of([&] { (void)layers.call("Item", 1); }).number(), kNotFound);
  Obj layer = object(layers.call("Add", "Talud_1"));
  EXPECT_EQ(error_of([&] { layer.put("Color", 256); }).number(), kRefused);
}

TEST(MemcadLayers, RenamingKeepsEntitiesOnTheLayer) {
  Cad cad;
  Obj point = cad.add("AddPoint", pt(0, 0));
  point.put("Layer", "Vieja");
  object(cad.doc.object("Layers").call("Item", "Vieja")).put("Name", "Nueva");
  EXPECT_EQ(point.get("Layer").to_string(), "Nueva");
  point.put("Layer", "Vieja");  // the old name is free again: a new layer
  EXPECT_EQ(cad.doc.object("Layers").get("Count").to_int32(), 3);
}

TEST(MemcadLayers, StrictDrawingsRefuseUnknownLayerNames) {
  ApplicationInfo info;
  info.create_missing_records = false;
  Obj app(Application::create(info));
  Obj point = object(app.object("ActiveDocument").object("ModelSpace").call("AddPoint", pt(0, 0)));
  EXPECT_EQ(error_of([&] { point.put("Layer", "PUNTOS"); }).number(), kNotFound);
  (void)app.object("ActiveDocument").object("Layers").call("Add", "PUNTOS");
  point.put("Layer", "puntos");
  EXPECT_EQ(point.get("Layer").to_string(), "PUNTOS");
}

TEST(MemcadBlocks, AddFindsOrCreatesWithOrigin) {
  Cad cad;
  Obj blocks = cad.doc.object("Blocks");
  EXPECT_EQ(blocks.get("Count").to_int32(), 2);  // model space and paper space
  Obj block = object(blocks.call("Add", pt(5, 6, 0), "MURO"));
  EXPECT_EQ(object(blocks.call("Add", pt(0, 0, 0), "muro")), block);
  EXPECT_EQ(numbers(block.get("Origin")), (std::vector<double>{5, 6, 0}));  // the first origin stays
  EXPECT_EQ(error_of([&] { (void)blocks.call("Add", pt(0, 0), ""); }).number(), kRefused);
}

TEST(MemcadDocument, VariablesKeepTheirTypeAndLimitsRoundTrip) {
  Cad cad;
  (void)cad.doc.call("SetVariable", "PDMODE", std::int16_t{34});
  (void)cad.doc.call("SetVariable", "pdsize", std::int32_t{2});
  EXPECT_EQ(cad.doc.call("GetVariable", "PDMODE"), Variant(std::int16_t{34}));
  EXPECT_EQ(cad.doc.call("GetVariable", "PDSIZE"), Variant(2.0));
  EXPECT_EQ(error_of([&] { (void)cad.doc.call("SetVariable", "PDMODE", "mucho"); }).number(), kRefused);
  EXPECT_EQ(error_of([&] { (void)cad.doc.call("GetVariable", "NOEXISTE"); }).number(), kRefused);

  EXPECT_EQ(numbers(cad.doc.get("Limits")), (std::vector<double>{0, 0, 420, 297}));
  core::VbArray<Variant> as_variants(0, std::vector<Variant>{Variant(1), Variant(2), Variant(3.5), Variant(4)});
  cad.doc.put("Limits", Variant(as_variants));
  EXPECT_EQ(cad.document().limits, (Limits{1, 2, 3.5, 4}));
  EXPECT_EQ(error_of([&] { cad.doc.put("Limits", doubles({0, 0, 1})); }).number(), kRefused);
}

TEST(MemcadSelectionSets, UniqueNamesAndSelectionByWindowCrossingAndAll) {
  Cad cad;
  Obj sets = cad.doc.object("SelectionSets");
  Obj first = object(sets.call("Add", "SS0.1234"));
  EXPECT_EQ(error_of([&] { (void)sets.call("Add", "ss0.1234"); }).number(), kRefused);
  (void)first.call("Delete");
  EXPECT_EQ(error_of([&] { (void)first.get("Count"); }).number(), kRefused);

  (void)cad.add("AddPoint", pt(1, 1));
  (void)cad.add("AddLine", pt(2, 2), pt(20, 2));
  (void)cad.add("AddCircle", pt(50, 50), 1.0);
  Obj set = object(sets.call("Add", "SS0.1234"));  // the name is free again
  (void)set.call("Select", kSelectWindow, pt(0, 0), pt(10, 10));
  EXPECT_EQ(set.get("Count").to_int32(), 1);
  (void)set.call("Clear");
  (void)set.call("Select", kSelectCrossing, pt(0, 0), pt(10, 10));
  EXPECT_EQ(set.get("Count").to_int32(), 2);
  (void)set.call("Select", kSelectAll);
  EXPECT_EQ(set.get("Count").to_int32(), 3);  // no duplicates
}

}  // namespace
}  // namespace kestrel::memcad::testing
