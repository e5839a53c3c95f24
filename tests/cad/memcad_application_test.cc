#include "memcad_test_util.h"

namespace kestrel::memcad::testing {
namespace {

TEST(MemcadApplication, WithoutDrawingActiveDocumentFailsUntilOneIsAdded) {
  ApplicationInfo info;
  info.open_drawing = false;
  Obj app(Application::create(info));
  EXPECT_EQ(app.get("Caption").to_string(), "ZWCAD 2021");
  const core::Error e = error_of([&] { (void)app.get("ActiveDocument"); });
  EXPECT_EQ(e.number(), kRefused);
  EXPECT_EQ(e.source(), "ZWCAD.Application");
  Obj added = object(app.object("Documents").call("Add"));
  EXPECT_EQ(added.get("Name").to_string(), "Dibujo1.dwg");
  EXPECT_EQ(app.object("ActiveDocument"), added);
}

TEST(MemcadApplication, DocumentsAddActivateItemAndOpen) {
  Cad cad;
  EXPECT_EQ(cad.app.get("Caption").to_string(), "ZWCAD 2021 - [Dibujo1.dwg]");
  EXPECT_EQ(cad.doc.object("modelspace"), cad.model);  // member names in any case, the same object each time
  Obj docs = cad.app.object("Documents");
  Obj second = object(docs.call("Add"));
  EXPECT_EQ(cad.app.get("Caption").to_string(), "ZWCAD 2021 - [Dibujo2.dwg]");
  EXPECT_EQ(object(docs.call("Item", "DIBUJO2.DWG")), second);
  (void)cad.doc.call("Activate");
  EXPECT_EQ(cad.app.object("ActiveDocument"), cad.doc);
  EXPECT_EQ(error_of([&] { (void)docs.call("Item", 2); }).number(), kNotFound);

  auto loaded = Document::create("plano.dwg");
  loaded->model_space().add<Point>(Vec3{1, 2, 3});
  cad.application->open_document(loaded);
  EXPECT_EQ(cad.app.object("ActiveDocument").object("ModelSpace").get("Count").to_int32(), 1);
}

TEST(MemcadApplication, QuitMakesEveryLaterCallFail) {
  Cad cad;
  Obj point = cad.add("AddPoint", pt(1, 1));
  (void)cad.app.call("Quit");
  EXPECT_EQ(error_of([&] { (void)cad.app.get("Version"); }).number(), kServerUnavailable);
  EXPECT_EQ(error_of([&] { point.put("Color", 1); }).number(), kServerUnavailable);
}

TEST(MemcadApplication, InjectedFailureHitsTheNthCallFromInjectionAcrossObjectsOnce) {
  Cad cad;
  Obj a = cad.add("AddPoint", pt(0, 0));
  Obj b = cad.add("AddPoint", pt(1, 0));
  a.put("Layer", "A");  // before the injection: not counted
  cad.application->inject_failure("layer", 3, -2147418113);
  a.put("Layer", "A");                                           // call 1
  (void)b.get("Layer");                                          // call 2
  const core::Error e = error_of([&] { b.put("LAYER", "B"); });  // call 3
  EXPECT_EQ(e.number(), -2147418113);
  EXPECT_EQ(e.description(), "Error inyectado");
  EXPECT_EQ(b.get("Layer").to_string(), "0");  // the failed call had no effect
  b.put("Layer", "B");                          // one-shot: later calls work
  EXPECT_EQ(b.get("Layer").to_string(), "B");
}

TEST(MemcadApplication, GetInterfaceObjectGivesATrueColour) {
  Cad cad;
  Obj color = object(cad.app.call("GetInterfaceObject", "ZWCAD.ZcCmColor.2021"));
  (void)color.call("SetRGB", 10, 20, 30);
  EXPECT_EQ(color.get("Green").to_int32(), 20);
  EXPECT_EQ(color.get("ColorMethod").to_int32(), kMethodByRgb);
  EXPECT_EQ(static_cast<std::uint32_t>(color.get("EntityColor").to_int32()), 0xC20A141Eu);
  color.put("ColorIndex", 3);
  EXPECT_EQ(color.get("ColorMethod").to_int32(), kMethodByAci);
  EXPECT_EQ(error_of([&] { (void)color.call("SetRGB", 256, 0, 0); }).number(), kRefused);
  EXPECT_EQ(error_of([&] { (void)cad.app.call("GetInterfaceObject", "Excel.Application"); }).number(),
            kInvalidClassString);
}

}  // namespace
}  // namespace kestrel::memcad::testing
