#include "memcad_test_util.h"

namespace kestrel::memcad::testing {
namespace {

struct PickedCad : Cad {
  std::shared_ptr<ScriptedPicker> picker = std::make_shared<ScriptedPicker>();
  PickedCad() { application->set_picker(picker); }
};

TEST(MemcadPicker, GetPointAnswersThePickedPointAndRecordsThePrompt) {
  PickedCad cad;
  cad.picker->push_point({3, 4, 5});
  Obj utility = cad.doc.object("Utility");
  const Variant point = utility.call("GetPoint", Variant(), "Perfil de Merivox: indica un punto de inserción...");
  EXPECT_EQ(numbers(point), (std::vector<double>{3, 4, 5}));
  EXPECT_EQ(cad.picker->prompts(), (std::vector<std::string>{"Perfil de Merivox: indica un punto de inserción..."}));
  const core::Error e = error_of([&] { (void)utility.call("GetPoint", Variant(), "otra vez"); });
  EXPECT_EQ(e.number(), kRefused);
  EXPECT_EQ(e.description(), "Cancelado por el usuario");
}

TEST(MemcadPicker, GetEntityWritesBackTheEntityAndThePoint) {
  PickedCad cad;
  Obj line = cad.add("AddLine", pt(0, 0), pt(10, 0));
  cad.picker->push_entity(std::dynamic_pointer_cast<Entity>(line.ref()), {5, 0, 0});
  std::array<Variant, 3> args{Variant(), Variant(), Variant("Merivox: Seleciona una linea o polilínea...")};
  (void)cad.doc.object("Utility").call_with("GetEntity", args);
  EXPECT_EQ(object(args[0]), line);
  EXPECT_EQ(numbers(args[1]), (std::vector<double>{5, 0, 0}));
  cad.picker->push_entity_cancel();
  EXPECT_EQ(error_of([&] { (void)cad.doc.object("Utility").call_with("GetEntity", args); }).number(), kRefused);
}

TEST(MemcadPicker, SelectOnScreenFillsTheSet) {
  PickedCad cad;
  (void)cad.add("AddPoint", pt(0, 0));
  (void)cad.add("AddPoint", pt(1, 1));
  cad.picker->push_selection(select_all_of_model_space());
  cad.picker->push_selection_cancel();
  Obj set = object(cad.doc.object("SelectionSets").call("Add", "SS1"));
  (void)set.call("SelectOnScreen");
  EXPECT_EQ(set.get("Count").to_int32(), 2);
  EXPECT_EQ(error_of([&] { (void)set.call("SelectOnScreen"); }).number(), kRefused);
  EXPECT_EQ(set.get("Count").to_int32(), 2);
}

TEST(MemcadPicker, WithoutPickerEveryPromptIsCancelled) {
  Cad cad;
  Obj utility = cad.doc.object("Utility");
  std::array<Variant, 2> args;
  EXPECT_EQ(error_of([&] { (void)utility.call("GetPoint"); }).description(), "Cancelado por el usuario");
  EXPECT_EQ(error_of([&] { (void)utility.call_with("GetEntity", args); }).description(), "Cancelado por el usuario");
  Obj set = object(cad.doc.object("SelectionSets").call("Add", "SS1"));
  EXPECT_EQ(error_of([&] { (void)set.call("SelectOnScreen"); }).description(), "Cancelado por el usuario");
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
  for (const auto& call : std::vector<std::function<void()>>{
           [&] { (void)point.get("Layer"); },
           [&] { point.put("Color", 1); },
           [&] { (void)layers.call("Add", "A"); },
       }) {
    const core::Error e = error_of(call);
    EXPECT_EQ(e.number(), kRefused);
    EXPECT_EQ(e.description(), "El dibujo del objeto está cerrado");
  }
  model = Obj();  // the block goes: the point is detached from it
  EXPECT_EQ(error_of([&] { (void)point.get("Layer"); }).description(), "El objeto ha sido borrado");
}

TEST(MemcadLifetime, ClosedDocumentRefusesCalls) {
  Cad cad;
  Obj point = cad.add("AddPoint", pt(0, 0));
  (void)cad.doc.call("Close");
  EXPECT_EQ(cad.app.object("Documents").get("Count").to_int32(), 0);
  EXPECT_EQ(error_of([&] { (void)point.get("Coordinates"); }).number(), kRefused);
  EXPECT_EQ(error_of([&] { (void)cad.model.get("Count"); }).number(), kRefused);
  EXPECT_EQ(error_of([&] { (void)cad.app.get("ActiveDocument"); }).number(), kRefused);
}

TEST(MemcadLifetime, PlainDataStaysCompact) {
  // 10^6 points must stay within about 150 bytes each: the entity itself is
  // what the late-bound calls reach, so nothing else is allocated per point.
  EXPECT_LE(sizeof(Point), 88u);
}

}  // namespace
}  // namespace kestrel::memcad::testing
