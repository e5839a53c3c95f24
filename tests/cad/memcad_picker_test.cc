#include "memcad_test_util.h"

#include "cad/memcad/pick_box.h"

namespace kestrel::memcad::testing {
namespace {

struct PickedCad : Cad {
  std::shared_ptr<ScriptedPicker> picker = std::make_shared<ScriptedPicker>();
  PickedCad() { application->set_picker(picker); }
};

TEST(MemcadPicker, PromptsAnswerFromTheScriptThenCancel) {
  PickedCad cad;
  Obj utility = cad.doc.object("Utility");
  cad.picker->push_point({3, 4, 5});
  EXPECT_EQ(numbers(utility.call("GetPoint", Variant(), "indica un punto")), (std::vector<double>{3, 4, 5}));
  EXPECT_EQ(cad.picker->prompts(), (std::vector<std::string>{"indica un punto"}));
  const core::Error e = error_of([&] { (void)utility.call("GetPoint", Variant(), "otra vez"); });
  EXPECT_EQ(e.number(), kRefused);
  EXPECT_EQ(e.description(), "Cancelado por el usuario");

  Obj line = cad.add("AddLine", pt(0, 0), pt(10, 0));
  cad.picker->push_entity(entity_of(line.ref()), {5, 0, 0});
  std::array<Variant, 3> args{Variant(), Variant(), Variant("Seleciona una linea")};
  (void)utility.call_with("GetEntity", args);  // written back through the arguments
  EXPECT_EQ(object(args[0]), line);
  EXPECT_EQ(numbers(args[1]), (std::vector<double>{5, 0, 0}));

  cad.picker->push_selection(select_all_of_model_space());
  cad.picker->push_selection_cancel();
  Obj set = object(cad.doc.object("SelectionSets").call("Add", "SS1"));
  (void)set.call("SelectOnScreen");
  EXPECT_EQ(set.get("Count").to_int32(), 1);
  EXPECT_EQ(error_of([&] { (void)set.call("SelectOnScreen"); }).number(), kRefused);
  EXPECT_EQ(set.get("Count").to_int32(), 1);
}

TEST(MemcadPicker, WithoutPickerEveryPromptIsCancelled) {
  Cad cad;
  std::array<Variant, 2> args;
  EXPECT_EQ(error_of([&] { (void)cad.doc.object("Utility").call_with("GetEntity", args); }).description(),
            "Cancelado por el usuario");
}

TEST(MemcadLifetime, EntityOutlivingItsDrawingRaisesInsteadOfCrashing) {
  Obj point;
  Obj layers;
  Obj model;
  {
    auto app = Application::create();
    Obj doc = Obj(app).object("ActiveDocument");
    model = doc.object("ModelSpace");
    layers = doc.object("Layers");
    point = object(model.call("AddPoint", pt(1, 2, 3)));
  }  // the application and its drawing are gone
  EXPECT_EQ(error_of([&] { point.put("Color", 1); }).description(), "El dibujo del objeto está cerrado");
  EXPECT_EQ(error_of([&] { (void)layers.call("Add", "A"); }).description(), "El dibujo del objeto está cerrado");
  model = Obj();  // the block goes: the point is detached from it
  EXPECT_EQ(error_of([&] { (void)point.get("Layer"); }).description(), "El objeto ha sido borrado");
}

TEST(MemcadLifetime, ClosedDocumentRefusesCalls) {
  Cad cad;
  Obj point = cad.add("AddPoint", pt(0, 0));
  (void)cad.doc.call("Close");
  EXPECT_EQ(cad.app.object("Documents").get("Count").to_int32(), 0);
  EXPECT_EQ(error_of([&] { (void)point.get("Coordinates"); }).number(), kRefused);
  EXPECT_EQ(error_of([&] { (void)cad.app.get("ActiveDocument"); }).number(), kRefused);
}

TEST(MemcadPickBox, NearestGeometryWithinTheBoxWins) {
  Cad cad;
  Block& space = cad.document().model_space();
  auto& line = space.add<Line>(Vec3{0, 0, 0}, Vec3{10, 0, 0});
  auto& circle = space.add<Circle>(Vec3{20, 0, 0}, 5.0);
  auto& polyline = space.add<LightweightPolyline>(std::vector<double>{0, 3, 10, 3, 10, 13});
  polyline.closed = true;
  // By hand: distances in plan to the nearest piece of each geometry.
  const std::pair<Vec3, Entity*> cases[] = {
      {{5, 1, 0}, &line},        // 1 from the line, 2 from the polyline
      {{5, 2.2, 0}, &polyline},  // 0.8 from the polyline's first edge
      {{20, 0, 0}, nullptr},     // a circle's centre is 5 from its curve
      {{24.5, 0, 0}, &circle},   // 0.5 from the curve
      {{5, 8.2, 0}, &polyline},  // the closing edge (10,13)-(0,3) passes 0.14 away
      {{50, 50, 0}, nullptr},
  };
  for (const auto& [at, expected] : cases) EXPECT_EQ(entity_at(space, at, 1.0).get(), expected) << at.x << "," << at.y;
}

TEST(MemcadPickBox, WindowTakesOnlyWhatLiesWhollyInside) {
  Cad cad;
  Block& space = cad.document().model_space();
  auto& inside = space.add<Line>(Vec3{1, 1, 0}, Vec3{2, 2, 0});
  space.add<Line>(Vec3{1, 1, 0}, Vec3{20, 2, 0});
  auto& point = space.add<Point>(Vec3{4, 4, 9});
  auto& polyline = space.add<Polyline2d>(std::vector<double>{1, 3, 0, 3, 3, 0});
  // Seen from below, the same vertices lie at x = -1..-3 in the world: outside.
  space.add<Polyline2d>(std::vector<double>{1, 3, 0, 3, 3, 0}).normal = {0, 0, -1};
  const auto chosen = entities_in_window(space, {4, 4, 0}, {0, 0, 0});
  ASSERT_EQ(chosen.size(), 3u);
  EXPECT_EQ(chosen[0].get(), &inside);
  EXPECT_EQ(chosen[1].get(), &point);  // the border counts
  EXPECT_EQ(chosen[2].get(), &polyline);
  EXPECT_TRUE(entities_in_window(space, {30, 30, 0}, {40, 40, 0}).empty());
}

}  // namespace
}  // namespace kestrel::memcad::testing
