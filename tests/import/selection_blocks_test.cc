#include <gtest/gtest.h>

#include "cad/memcad/pick_box.h"
#include "import/blocks.h"
#include "import/builders.h"
#include "import/documents.h"
#include "import/import_fixture.h"
#include "import/selection_copy.h"
#include "platform/report_window.h"

namespace kestrel::import_test {
namespace {

using namespace importing;
using memcad::Vec3;

class InteractiveImportTest : public ImportTest {
 protected:
  InteractiveImportTest() {
    state.NombreCad = "ZWCAD 2021";
    app->set_picker(picker);
    scripted.dialogs.on_show(std::string(platform::ReportWindow::kFormName), [this](platform::Form& f) {
      ++reports;
      if (cancel_report) dynamic_cast<platform::ReportWindow&>(f).cancel();
    });
  }
  model::t_Datos select() { return Copia_Todo3(ctx, core::Obj(form), "Seleccion", salir); }

  std::shared_ptr<memcad::ScriptedPicker> picker = std::make_shared<memcad::ScriptedPicker>();
  core::VbBool salir = core::kFalse;
  int reports = 0;
  bool cancel_report = false;
};

TEST_F(InteractiveImportTest, NoOrCancelLeaveTheDrawingSetAsItWas) {
  space().add<memcad::Point>(Vec3{1, 2, 3});
  state.Datos.NuDibujos = 2;
  state.Datos.Dibujos.redim(0, 2);
  state.Datos.Dibujos[2].Texto2 = "anterior";
  const model::t_Datos before = state.Datos;
  for (int answer : {platform::kNo, platform::kCancel}) {
    scripted.message_box.answer({answer});
    salir = core::kFalse;
    EXPECT_EQ(select(), model::t_Datos{});
    EXPECT_EQ(salir, core::kTrue);
    EXPECT_EQ(state.Datos, before);
  }
  const auto& box = scripted.message_box.shown().front();
  EXPECT_EQ(box.title, "Copiar selección de <Dibujo1.dwg>");
  EXPECT_EQ(box.text, "Ahora debes seleccionar en ZWCAD 2021 las Entidades que deseas...\r\n\r\n¿Quieres continuar?");
  EXPECT_EQ(box.style, platform::kYesNoCancel | platform::kQuestion);
  EXPECT_EQ(reports, 0);
}

TEST_F(InteractiveImportTest, EmptySelectionNamesDocumentAndFamily) {
  space().add<memcad::Point>(Vec3{1, 2, 3});
  scripted.message_box.answer({platform::kYes});
  picker->push_selection([](memcad::Document& d) { return memcad::entities_in_window(d.model_space(), {5, 5, 0}, {9, 9, 0}); });
  (void)select();
  EXPECT_EQ(salir, core::kTrue);
  ASSERT_EQ(scripted.message_box.shown().size(), 2u);
  EXPECT_EQ(scripted.message_box.shown()[1].title, "Copiar Selección deZWCad");
  EXPECT_EQ(messages()[1], "El dibujo <Dibujo1.dwg> de ZWCad está vacio");
  EXPECT_EQ(doc().selection_sets().size(), 0u);  // deleted after use
}

TEST_F(InteractiveImportTest, WindowSelectionGivesExactlyOneDrawing) {
  space().add<memcad::Line>(Vec3{0, 0, 0}, Vec3{2, 2, 0}).set_layer("L");
  space().add<memcad::Line>(Vec3{0, 0, 0}, Vec3{20, 2, 0});  // crosses the window: left out
  space().add<memcad::Circle>(Vec3{1, 1, 0}, 0.5);
  state.Datos.NuDibujos = 3;
  state.Datos.Dibujos.redim(0, 3);
  scripted.message_box.answer({platform::kYes});
  picker->push_selection([](memcad::Document& d) { return memcad::entities_in_window(d.model_space(), {-1, -1, 0}, {5, 5, 0}); });
  const model::t_Datos set = select();
  EXPECT_EQ(salir, core::kFalse);
  ASSERT_EQ(set.NuDibujos, 1);
  EXPECT_EQ(set.Dibujos.ubound(), 1);
  const model::t_Dibujo& d = set.Dibujos[1];
  EXPECT_EQ(d.Texto1 + " " + d.Texto2, "PLANTA Dibujo1.dwg");
  EXPECT_EQ(d.NuPolis, 2);  // the line and the circle
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(form->entries("LabXYZ(0)=").front(), "LabXYZ(0)=Copiando Selección ZWCAD 2021");
  EXPECT_EQ(doc().selection_sets().size(), 0u);
}

TEST_F(InteractiveImportTest, SelectionOfUnreadKindsCopiesNothingAndCancelledReportStops) {
  space().add<memcad::UnknownEntity>("SPLINE", "AcDbSpline");
  scripted.message_box.answer({platform::kYes, platform::kYes});
  picker->push_selection(memcad::select_all_of_model_space());
  const model::t_Datos set = select();
  ASSERT_EQ(set.NuDibujos, 1);
  EXPECT_EQ(set.Dibujos[1].NuPun + set.Dibujos[1].NuPolis + set.Dibujos[1].NuRotulos, 0);
  cancel_report = true;
  picker->push_selection(memcad::select_all_of_model_space());
  salir = core::kFalse;
  EXPECT_EQ(select().NuDibujos, 0);
  EXPECT_EQ(salir, core::kTrue);
}

TEST_F(InteractiveImportTest, KeywordsAreExact) {
  space().add<memcad::Point>(Vec3{1, 2, 3});
  EXPECT_EQ(Copia_Todo3(ctx, core::Obj(form), "todo", salir), model::t_Datos{});
  EXPECT_EQ(Copia_Todo3(ctx, core::Obj(form), "Todo", salir).NuDibujos, 1);
  EXPECT_EQ(Copia_Todo3(ctx, core::Obj(form), "Dibujo", salir).NuDibujos, 1);
}

TEST_F(InteractiveImportTest, PickedCircleIsRefusedAndTheModelKept) {
  std::int16_t layer = 1;
  (void)Anade_Punto(model, 7, 7, 7, layer, "");
  const model::t_Dibujo before = Sacar(module);
  space().add<memcad::Circle>(Vec3{0, 0, 0}, 3.0);
  picker->push_entity(memcad::entity_at(space(), {3, 0.1, 0}, 0.5));
  EXPECT_EQ(Copia_Pol(ctx, core::Obj(form)), before);
  EXPECT_EQ(messages(), (std::vector<std::string>{"El objeto seleccionado AcDbCircle no es una línea o polilínea "}));
  EXPECT_EQ(scripted.message_box.shown()[0].title, "Obtener Poly o Polilíneas de AutoCAD:");
}

TEST_F(InteractiveImportTest, PickedPolylineIsAddedToTheModel) {
  std::int16_t layer = 1;
  (void)Anade_Punto(model, 7, 7, 7, layer, "");
  space().add<memcad::Line>(Vec3{0, 0, 0}, Vec3{10, 0, 0});
  space().add<memcad::LightweightPolyline>(std::vector<double>{0, 1, 10, 1, 10, 5});
  // (5, 0.8): 0.8 from the line, 0.2 from the polyline.
  picker->push_entity(memcad::entity_at(space(), {5, 0.8, 0}, 1.0));
  const model::t_Dibujo d = Copia_Pol(ctx, core::Obj(form));
  EXPECT_EQ(d.NuPun, 4);  // the earlier point kept
  ASSERT_EQ(d.NuPolis, 1);
  EXPECT_EQ(d.poli[1].NuVert, 3);
  EXPECT_EQ(d.Y[2], 1.0);
  // Nothing picked: logged, the model returned.
  picker->push_entity_cancel();
  EXPECT_EQ(Copia_Pol(ctx, core::Obj(form)).NuPolis, 1);
  EXPECT_EQ(scripted.message_box.shown().back().title, "Error inesperado:");
}

class BlocksTest : public InteractiveImportTest {
 protected:
  model::t_Datos blocks(bool Prop = false) { return Bloques_Saca(ctx, core::Obj(form), salir, Prop); }
};

TEST_F(BlocksTest, EmptyModelSpaceGivesNoBlocks) {
  doc().blocks().add("B").add<memcad::Point>(Vec3{1, 1, 1});
  EXPECT_EQ(blocks(true).NuDibujos, 0);
  EXPECT_EQ(salir, core::kTrue);
  EXPECT_EQ(reports, 0);
}

TEST_F(BlocksTest, NamedBlocksComeBackWithBasePointsAndAttributes) {
  memcad::Block& empty = doc().blocks().add("VACIO");
  empty.origin = {4, 5, 6};
  doc().blocks().add_reserved("*U7").add<memcad::Point>(Vec3{1, 1, 1});
  memcad::Block& tag = doc().blocks().add("ETIQUETA");
  memcad::Block& outer = doc().blocks().add("EXTERIOR");
  outer.add<memcad::BlockReference>(&tag, Vec3{1, 2, 0}).add_attribute("N", "12", Vec3{3, 4, 0}, 1.5);
  outer.add<memcad::Line>(Vec3{0, 0, 0}, Vec3{1, 0, 0});
  space().add<memcad::Point>(Vec3{0, 0, 0});
  const model::t_Datos set = blocks(false);
  EXPECT_EQ(reports, 0);  // Prop false
  ASSERT_EQ(set.NuDibujos, 3);  // *U7 skipped
  const model::t_Dibujo& v = set.Dibujos[1];
  EXPECT_EQ(v.Texto1 + " " + v.Texto2 + " " + v.Nmb[0], "BLOQUE VACIO Bloque");
  EXPECT_EQ(v.NuPun, 0);
  EXPECT_EQ((std::array{v.X[0], v.Y[0], v.Z[0]}), (std::array{4.0, 5.0, 6.0}));
  const model::t_Dibujo& e = set.Dibujos[3];
  EXPECT_EQ(e.Texto2, "EXTERIOR");
  EXPECT_EQ((std::array{e.NuPun, e.NuPolis, e.NuRotulos}), (std::array{3, 1, 1}));  // the insertion and the line's ends
  EXPECT_EQ(e.Cd[1], "**ETIQUETA");
  EXPECT_EQ(e.Rotulo[1].Texto, "12");
  EXPECT_EQ(form->entries("LabXYZ(3)=").back(), "LabXYZ(3)=EXTERIOR...");
}

TEST_F(BlocksTest, UnreadableBlockEntityIsReportedAndTheRestComesBack) {
  memcad::Block& b = doc().blocks().add("B");
  b.add<memcad::Line>(Vec3{0, 0, 0}, Vec3{1, 0, 0});
  b.add<memcad::Point>(Vec3{5, 5, 5});
  space().add<memcad::Point>(Vec3{0, 0, 0});
  app->inject_failure("StartPoint", 1, 5);
  const model::t_Datos set = blocks(false);
  ASSERT_EQ(set.NuDibujos, 1);
  EXPECT_EQ(set.Dibujos[1].NuPun, 1);
  EXPECT_EQ(module.error_log.count(), 1u);
}

TEST_F(BlocksTest, TwoDocumentsGiveBlockPlanBlockPlan) {
  doc().blocks().add("A1").add<memcad::Point>(Vec3{1, 1, 1});
  space().add<memcad::Point>(Vec3{0, 0, 0});
  memcad::Document& second = app->add_document();
  second.blocks().add("B2").add<memcad::Point>(Vec3{2, 2, 2});
  second.model_space().add<memcad::Point>(Vec3{3, 3, 3});
  const model::t_Datos set = Lee_Documents(ctx, core::Obj(form), salir);
  EXPECT_EQ(salir, core::kFalse);
  ASSERT_EQ(set.NuDibujos, 4);
  std::vector<std::string> kinds;
  for (const model::t_Dibujo& d : set.Dibujos.items()) kinds.push_back(d.Texto1 + " " + d.Texto2);
  EXPECT_EQ(std::vector<std::string>(kinds.begin() + 1, kinds.end()), (std::vector<std::string>{"BLOQUE A1", "PLANTA Dibujo1.dwg", "BLOQUE B2", "PLANTA Dibujo2.dwg"}));
  EXPECT_EQ(set.Dibujos[4].Cabecera.text48, "1" + std::string(29, ' '));
  EXPECT_EQ(set.Dibujos[4].X[1], 3.0);
}

TEST_F(BlocksTest, DocumentThatFailsLeavesTheOthers) {
  space().add<memcad::Point>(Vec3{0, 0, 0});
  memcad::Document& second = app->add_document();
  second.model_space().add<memcad::Point>(Vec3{3, 3, 3});
  app->inject_failure("Activate", 1, 91);
  const model::t_Datos set = Lee_Documents(ctx, core::Obj(form), salir);
  ASSERT_EQ(set.NuDibujos, 1);
  EXPECT_EQ(set.Dibujos[1].Texto2, "Dibujo2.dwg");
  EXPECT_EQ(module.error_log.count(), 1u);
  EXPECT_EQ(salir, core::kFalse);
}

TEST_F(BlocksTest, EmptyDrawingNoticeOnlyWhenEmpty) {
  Dibujo_Vacio(ctx, "ZWCAD", salir);
  EXPECT_EQ(salir, core::kTrue);
  EXPECT_EQ(scripted.message_box.shown()[0].title, "Copiar de ZWCad");
  space().add<memcad::Point>(Vec3{0, 0, 0});
  salir = core::kFalse;
  Dibujo_Vacio(ctx, "ZWCAD", salir);
  EXPECT_EQ(salir, core::kFalse);
  EXPECT_EQ(messages(), (std::vector<std::string>{"El dibujo activo <Dibujo1.dwg> de ZWCAD está vacio"}));
}

}  // namespace
}  // namespace kestrel::import_test
