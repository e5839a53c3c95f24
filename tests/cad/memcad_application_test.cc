#include "memcad_test_util.h"

namespace kestrel::memcad::testing {
namespace {

TEST(MemcadApplication, StartsWithOneEmptyDrawingAndCaptionNamingIt) {
  Cad cad;
  EXPECT_EQ(cad.app.get("Version").to_string(), "21.0");
  EXPECT_EQ(cad.app.get("Caption").to_string(), "ZWCAD 2021 - [Dibujo1.dwg]");
  EXPECT_EQ(cad.doc.get("Name").to_string(), "Dibujo1.dwg");
  EXPECT_EQ(cad.model.get("Count").to_int32(), 0);
  Obj layer0 = object(cad.doc.object("Layers").call("Item", 0));
  EXPECT_EQ(layer0.get("Name").to_string(), "0");
  EXPECT_EQ(layer0.get("Color").to_int32(), 7);
  EXPECT_EQ(layer0.get("Linetype").to_string(), "Continuous");
  EXPECT_EQ(object(cad.doc.object("TextStyles").call("Item", "standard")).get("Name").to_string(), "Standard");
}

TEST(MemcadApplication, MemberNamesIgnoreCaseAndSameObjectsComeBack) {
  Cad cad;
  EXPECT_EQ(cad.app.get("CAPTION"), cad.app.get("caption"));
  EXPECT_EQ(cad.doc.object("modelspace"), cad.model);
  EXPECT_EQ(cad.app.object("activedocument"), cad.doc);
  cad.app.put("visible", true);
  EXPECT_TRUE(cad.app.get("Visible").to_bool());
  EXPECT_TRUE(cad.application->visible());
}

TEST(MemcadApplication, UnknownMemberRaises438NamingIt) {
  Cad cad;
  const core::Error e = error_of([&] { (void)cad.model.call("AddSpline", pt(0, 0)); });
  EXPECT_EQ(e.number(), core::kMemberNotSupported);
  EXPECT_NE(e.description().find("AddSpline"), std::string::npos);
  EXPECT_EQ(error_of([&] { cad.app.put("Version", "22.0"); }).number(), core::kMemberNotSupported);
}

TEST(MemcadApplication, WithoutDrawingActiveDocumentFailsWithAutomationError) {
  ApplicationInfo info;
  info.open_drawing = false;
  Obj app(Application::create(info));
  EXPECT_EQ(app.get("Caption").to_string(), "ZWCAD 2021");
  const core::Error e = error_of([&] { (void)app.get("ActiveDocument"); });
  EXPECT_EQ(e.number(), kRefused);
  EXPECT_EQ(e.source(), "ZWCAD.Application");
  Obj docs = app.object("Documents");
  EXPECT_EQ(docs.get("Count").to_int32(), 0);
  Obj added = object(docs.call("Add"));
  EXPECT_EQ(added.get("Name").to_string(), "Dibujo1.dwg");
  EXPECT_EQ(app.object("ActiveDocument"), added);
}

TEST(MemcadApplication, DocumentsAddActivateAndItem) {
  Cad cad;
  Obj docs = cad.app.object("Documents");
  Obj second = object(docs.call("Add"));
  EXPECT_EQ(second.get("Name").to_string(), "Dibujo2.dwg");
  EXPECT_EQ(cad.app.get("Caption").to_string(), "ZWCAD 2021 - [Dibujo2.dwg]");
  EXPECT_EQ(docs.get("Count").to_int32(), 2);
  EXPECT_EQ(object(docs.call("Item", 0)), cad.doc);
  EXPECT_EQ(object(docs.call("Item", "DIBUJO2.DWG")), second);
  (void)cad.doc.call("Activate");
  EXPECT_EQ(cad.app.object("ActiveDocument"), cad.doc);
  EXPECT_EQ(error_of([&] { (void)docs.call("Item", 2); }).number(), kNotFound);
}

TEST(MemcadApplication, OpenDocumentBindsALoadedDrawing) {
  Cad cad;
  auto loaded = Document::create("plano.dwg");
  loaded->model_space().add<Point>(Vec3{1, 2, 3});
  cad.application->open_document(loaded);
  Obj doc = cad.app.object("ActiveDocument");
  EXPECT_EQ(doc.get("Name").to_string(), "plano.dwg");
  EXPECT_EQ(doc.object("ModelSpace").get("Count").to_int32(), 1);
  cad.application->inject_failure("Count", 1, 91);
  EXPECT_EQ(error_of([&] { (void)doc.object("ModelSpace").get("Count"); }).number(), 91);
}

TEST(MemcadApplication, QuitMakesEveryLaterCallFail) {
  Cad cad;
  Obj point = cad.add("AddPoint", pt(1, 1));
  (void)cad.app.call("Quit");
  EXPECT_TRUE(cad.application->has_quit());
  for (const auto& call : std::vector<std::function<void()>>{
           [&] { (void)cad.app.get("Version"); },
           [&] { (void)cad.doc.get("Name"); },
           [&] { (void)cad.model.get("Count"); },
           [&] { point.put("Color", 1); },
       }) {
    EXPECT_EQ(error_of(call).number(), kServerUnavailable);
  }
}

TEST(MemcadApplication, InjectedFailureHitsTheNthCallAcrossObjectsOnce) {
  Cad cad;
  cad.application->inject_failure("layer", 3, -2147418113);
  Obj a = cad.add("AddPoint", pt(0, 0));
  Obj b = cad.add("AddPoint", pt(1, 0));
  a.put("Layer", "A");                       // call 1
  (void)b.get("Layer");                      // call 2
  const core::Error e = error_of([&] { b.put("LAYER", "B"); });  // call 3
  EXPECT_EQ(e.number(), -2147418113);
  EXPECT_EQ(e.description(), "Error inyectado");
  EXPECT_EQ(b.get("Layer").to_string(), "0");  // the failed call had no effect
  b.put("Layer", "B");                          // one-shot: later calls work
  EXPECT_EQ(b.get("Layer").to_string(), "B");
}

TEST(MemcadApplication, InjectedFailureCountsFromInjection) {
  Cad cad;
  (void)cad.app.get("Version");
  cad.application->inject_failure("Version", 1, 5);
  EXPECT_EQ(error_of([&] { (void)cad.app.get("Version"); }).number(), 5);
  EXPECT_EQ(cad.app.get("Version").to_string(), "21.0");
}

TEST(MemcadApplication, GetInterfaceObjectGivesATrueColour) {
  Cad cad;
  Obj color = object(cad.app.call("GetInterfaceObject", "ZWCAD.ZcCmColor.2021"));
  (void)color.call("SetRGB", 10, 20, 30);
  EXPECT_EQ(color.get("Red").to_int32(), 10);
  EXPECT_EQ(color.get("Green").to_int32(), 20);
  EXPECT_EQ(color.get("Blue").to_int32(), 30);
  EXPECT_EQ(color.get("ColorMethod").to_int32(), kMethodByRgb);
  EXPECT_EQ(static_cast<std::uint32_t>(color.get("EntityColor").to_int32()), 0xC20A141Eu);
  color.put("ColorIndex", 3);
  EXPECT_EQ(color.get("ColorMethod").to_int32(), kMethodByAci);
  EXPECT_EQ(error_of([&] { (void)color.call("SetRGB", 256, 0, 0); }).number(), kRefused);
  EXPECT_EQ(error_of([&] { (void)cad.app.call("GetInterfaceObject", "Excel.Application"); }).number(),
            kInvalidClassString);
}

TEST(MemcadApplication, DisplayRequestsAreCounted) {
  Cad cad;
  (void)cad.app.call("ZoomExtents");
  (void)cad.app.call("Update");
  (void)cad.app.call("update");
  EXPECT_EQ(cad.application->zoom_extents_count(), 1);
  EXPECT_EQ(cad.application->update_count(), 2);
}

}  // namespace
}  // namespace kestrel::memcad::testing
