#include <gtest/gtest.h>

#include "bridge_fixture.h"

namespace kestrel::bridge {
namespace {

constexpr const char* kClass = "ZWCAD.Application.2021";
const std::string kGet = std::string("get:") + kClass;
const std::string kCreate = std::string("create:") + kClass;

TEST_F(BridgeTest, WithNoCadFourAttemptsAreMadeSilentlyAndAFailedFirstStartTakesTheCaption) {
  EXPECT_FALSE(connect());
  EXPECT_EQ(host.calls(), (std::vector{kGet, kCreate, kGet, kCreate}));
  EXPECT_TRUE(message_box.shown().empty());
  EXPECT_EQ(pointer.shape(), platform::kPointerDefault);
  EXPECT_EQ(kestrel->aCad().labMandando.caption, "Abriendo ZWCAD 2021(x64)");
  EXPECT_FALSE(kestrel->Mira());
  // A failed first start then takes the caption as version label.
  int starts = 0;
  host.install(kClass, [&starts]() -> core::ObjectRef {
    if (++starts == 1) core::raise(core::kCannotCreateObject);
    return memcad::Application::create();
  });
  ASSERT_TRUE(connect());
  EXPECT_EQ(std::tuple(starts, host.calls().size(), kestrel->version_label()),
            std::tuple(2, 4u + 4u, "ZWCAD 2021 - [Dibujo1.dwg]"));
}

TEST_F(BridgeTest, StartsTheCadWhenNoneRunsAndBindsItsDocument) {
  install_cad();
  core::VbBool sigue = core::kFalse;
  std::string nombre, vers;
  kestrel->IniciaAutocad(sigue, kLabel, nullptr, &nombre, &vers);

  ASSERT_EQ(sigue, core::kTrue);
  EXPECT_EQ(host.calls(), (std::vector{kGet, kCreate}));
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(std::tuple(nombre, vers, created[0]->visible()), std::tuple("ZWCAD 2021 - [Dibujo1.dwg]", "21.0", true));
  EXPECT_EQ(created[0]->active_document()->variables().get("MODEMACRO").to_string(), "Merivox 2022");
  EXPECT_EQ(module.cad.FamiliaCad, "ZWCad");
  EXPECT_TRUE(module.cad.EspacioPapel);
  EXPECT_EQ(std::tuple(kestrel->aCad().Caption, kestrel->aCad().labMandando.caption),
            std::tuple("Generar en ZWCAD 2021 - [Dibujo1.dwg]", "ZWCAD 2021(x64) ya está cargado."));
  EXPECT_EQ(pointer.shape(), platform::kPointerDefault);
  EXPECT_TRUE(kestrel->Mira());

  // Connecting again keeps the document objects while the user opens another drawing.
  const core::Obj first_document = module.cad.Documento;
  const core::Obj first_model_space = module.cad.EspacioModelo;
  created[0]->add_document();
  sigue = core::kFalse;
  kestrel->IniciaAutocad(sigue, kLabel, nullptr, &nombre);
  EXPECT_EQ(std::tuple(sigue, nombre, module.cad.Documento, module.cad.EspacioModelo),
            std::tuple(core::kTrue, "ZWCAD 2021 - [Dibujo2.dwg]", first_document, first_model_space));

  created[0]->quit();  // the user closes the CAD
  EXPECT_FALSE(kestrel->Mira());
  EXPECT_TRUE(message_box.shown().empty());
}

TEST_F(BridgeTest, AttachesToTheRunningCadWithoutStartingOneAndASilentCheckChangesNoText) {
  install_cad();
  auto running = memcad::Application::create();
  host.set_running(kClass, running);
  ASSERT_TRUE(connect(kLabel, /*silent=*/true));
  EXPECT_EQ(host.calls(), std::vector{kGet});
  EXPECT_EQ(module.cad.Aplicacion.ref(), core::ObjectRef(running));
  EXPECT_EQ(std::tuple(kestrel->aCad().Caption, kestrel->aCad().labMandando.caption, kestrel->aCad().refreshes()),
            std::tuple("Pegar en Autocad", "Autocad ya está cargado.", 0));
}

TEST_F(BridgeTest, CadWithNoDrawingOpenAsksToCloseItOrOpenOne) {
  host.set_running(kClass, memcad::Application::create({.open_drawing = false}));
  EXPECT_FALSE(connect());
  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_TRUE(message_box.shown()[0].text.starts_with("Cierra Autocad o abre un dibujo vacio   "))
      << message_box.shown()[0].text;
  EXPECT_EQ(error_setting("Numero"), "1");
}

TEST_F(BridgeTest, SilentCheckOfACadWithNoDrawingShowsNothing) {
  host.set_running(kClass, memcad::Application::create({.open_drawing = false}));
  EXPECT_FALSE(connect(kLabel, /*silent=*/true));
  EXPECT_TRUE(message_box.shown().empty());
}

TEST_F(BridgeTest, FailureAfterTheDocumentIsBoundUsesTheSecondMessage) {
  auto app = memcad::Application::create();
  host.set_running(kClass, app);
  app->inject_failure("ModelSpace", 1, -2147467259);
  EXPECT_FALSE(connect());
  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_TRUE(message_box.shown()[0].text.starts_with("Cierra Autocad  - Error : -2147467259:"))
      << message_box.shown()[0].text;
}

TEST_F(BridgeTest, LabelOutsideTheCatalogueKeepsTheFamily) {
  module.cad.FamiliaCad = "AutoCad";
  host.install("ZWCAD.Application", [] { return core::ObjectRef(memcad::Application::create()); });
  ASSERT_TRUE(connect("ZWCAD 2022(x64)"));
  EXPECT_EQ(std::tuple(kestrel->application_class(), module.cad.FamiliaCad, module.cad.VersionCad),
            std::tuple("ZWCAD.Application", "AutoCad", "ZWCAD 2022(x64)"));
}

TEST_F(BridgeTest, ShortNameIsTheCaptionsFirstTwoWordsJoinedByOneBlank) {
  // The caption reads product + " - [Dibujo1.dwg]".
  for (const auto& [product, short_name] : {std::pair{"ZWCAD 2021", "ZWCAD 2021"}, {"ZWCAD  2021", "ZWCAD 2021"},
                                            {"  AutoCAD   2018 x", "AutoCAD 2018"}}) {
    test_support::ScriptedModule scene;
    scene.host.install(cad::application_for(kLabel).class_name,
                       [&] { return core::ObjectRef(memcad::Application::create({.product = product})); });
    c_Kestrel k(scene.module);
    core::VbBool sigue = core::kFalse;
    k.IniciaAutocad(sigue, kLabel);
    EXPECT_EQ(k.cad_short_name(), "ZWCad");  // read before the application was bound
    k.IniciaAutocad(sigue, kLabel);
    EXPECT_EQ(k.cad_short_name(), short_name) << product;
  }
}

TEST_F(ConnectedTest, ACadErrorInsideAMethodIsShownOnceLoggedAndSwallowed) {
  created[0]->inject_failure("ZoomExtents", 1, -2145320885);
  kestrel->A_Zoom_extension();  // returns normally
  ASSERT_EQ(message_box.shown().size(), 1u);
  const auto& box = message_box.shown()[0];
  EXPECT_TRUE(box.text.starts_with("No se puede hacer el zoom en Autocad \r\nError nº -2145320885  ")) << box.text;
  EXPECT_EQ(box.style, platform::kOkOnly | platform::kExclamation);
  EXPECT_EQ(error_setting("Lugar 1"), box.text);
  EXPECT_EQ(created[0]->update_count(), 0);  // the routine ended at the failing call
}

}  // namespace
}  // namespace kestrel::bridge
