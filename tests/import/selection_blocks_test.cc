#include <gtest/gtest.h>

#include <tuple>

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
using Strings = std::vector<std::string>;

class InteractiveImportTest : public ImportTest {
 protected:
  InteractiveImportTest() {
    app->set_picker(picker);
    scripted.dialogs.on_show(std::string(platform::ReportWindow::kFormName), [this](platform::Form& f) {
      ++reports;
      if (cancel_report) dynamic_cast<platform::ReportWindow&>(f).cancel();
    });
  }
  model::t_Datos select(const char* what = "Seleccion") { return Copia_Todo3(ctx, core::Obj(form), what, salir); }
  void select_window(Vec3 from, Vec3 to) {
    picker->push_selection([=](memcad::Document& d) { return memcad::entities_in_window(d.model_space(), from, to); });
  }
  model::t_Datos blocks(bool Prop = false) { return Bloques_Saca(ctx, core::Obj(form), salir, Prop); }
  model::t_Datos documents() { return Lee_Documents(ctx, core::Obj(form), salir); }
  static Strings kinds(const model::t_Datos& set) {
    Strings out;
    for (std::int32_t i = 1; i <= set.NuDibujos; ++i)
      out.push_back(set.Dibujos[i].Texto1 + " " + set.Dibujos[i].Texto2);
    return out;
  }

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
    EXPECT_EQ(std::tuple(salir, state.Datos), std::tuple(core::kTrue, before));
  }
  const auto& box = scripted.message_box.shown().front();
  EXPECT_EQ(std::tuple(box.title, box.text, box.style, reports),
            std::tuple("Copiar selección de <Dibujo1.dwg>",
                       "Ahora debes seleccionar en ZWCAD 2021 las Entidades que deseas...\r\n\r\n¿Quieres continuar?",
                       platform::kYesNoCancel | platform::kQuestion, 0));
}

// Keywords are exact; an empty selection names the document and the family.
TEST_F(InteractiveImportTest, KeywordsAreExactAndAnEmptySelectionNamesDocumentAndFamily) {
  space().add<memcad::Point>(Vec3{1, 2, 3});
  EXPECT_EQ(select("todo"), model::t_Datos{});
  EXPECT_EQ(std::tuple(select("Todo").NuDibujos, select("Dibujo").NuDibujos), std::tuple(1, 1));
  scripted.message_box.answer({platform::kYes});
  select_window({5, 5, 0}, {9, 9, 0});
  (void)select();
  EXPECT_EQ(salir, core::kTrue);
  ASSERT_EQ(scripted.message_box.shown().size(), 2u);
  EXPECT_EQ(std::tuple(scripted.message_box.shown()[1].title, messages()[1]),
            std::tuple("Copiar Selección deZWCad", "El dibujo <Dibujo1.dwg> de ZWCad está vacio"));
  EXPECT_EQ(doc().selection_sets().size(), 0u);  // deleted after use
}

TEST_F(InteractiveImportTest, WindowSelectionGivesExactlyOneDrawing) {
  space().add<memcad::Line>(Vec3{0, 0, 0}, Vec3{2, 2, 0}).set_layer("L");
  space().add<memcad::Line>(Vec3{0, 0, 0}, Vec3{20, 2, 0});  // crosses the window: left out
  space().add<memcad::Circle>(Vec3{1, 1, 0}, 0.5);
  state.Datos.NuDibujos = 3;
  state.Datos.Dibujos.redim(0, 3);
  scripted.message_box.answer({platform::kYes});
  select_window({-1, -1, 0}, {5, 5, 0});
  const model::t_Datos set = select();
  EXPECT_EQ(std::tuple(salir, set.Dibujos.ubound(), kinds(set), set.Dibujos[1].NuPolis, reports),
            std::tuple(core::kFalse, 1, Strings{"PLANTA Dibujo1.dwg"}, 2, 1));  // the line and the circle
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

TEST_F(InteractiveImportTest, APickedPolylineIsAddedToTheModelAnythingElseIsRefused) {
  std::int16_t layer = 1;
  (void)Anade_Punto(model, 7, 7, 7, layer, "");
  const model::t_Dibujo before = Sacar(module);
  space().add<memcad::Circle>(Vec3{0, -10, 0}, 3.0);
  picker->push_entity(memcad::entity_at(space(), {3, -9.9, 0}, 0.5));
  EXPECT_EQ(Copia_Pol(ctx, core::Obj(form)), before);
  EXPECT_EQ(messages(), Strings{"El objeto seleccionado AcDbCircle no es una línea o polilínea "});
  EXPECT_EQ(scripted.message_box.shown()[0].title, "Obtener Poly o Polilíneas de AutoCAD:");
  space().add<memcad::Line>(Vec3{0, 0, 0}, Vec3{10, 0, 0});
  space().add<memcad::LightweightPolyline>(std::vector<double>{0, 1, 10, 1, 10, 5});
  picker->push_entity(memcad::entity_at(space(), {5, 0.8, 0}, 1.0));  // 0.8 from the line, 0.2 from the polyline
  const model::t_Dibujo d = Copia_Pol(ctx, core::Obj(form));
  ASSERT_EQ(std::tuple(d.NuPun, d.NuPolis), std::tuple(4, 1));  // the earlier point kept
  EXPECT_EQ(std::tuple(d.poli[1].NuVert, d.Y[2]), std::tuple(3, 1.0));
  picker->push_entity_cancel();  // nothing picked: logged, the model returned
  EXPECT_EQ(Copia_Pol(ctx, core::Obj(form)).NuPolis, 1);
  EXPECT_EQ(scripted.message_box.shown().back().title, "Error inesperado:");
}

// An empty model space gives no blocks; once it holds something, the named blocks come back.
TEST_F(InteractiveImportTest, NamedBlocksComeBackWithBasePointsAndAttributes) {
  doc().blocks().add("VACIO").origin = {4, 5, 6};
  doc().blocks().add_reserved("*U7").add<memcad::Point>(Vec3{1, 1, 1});
  memcad::Block& tag = doc().blocks().add("ETIQUETA");
  memcad::Block& outer = doc().blocks().add("EXTERIOR");
  outer.add<memcad::BlockReference>(&tag, Vec3{1, 2, 0}).add_attribute("N", "12", Vec3{3, 4, 0}, 1.5);
  outer.add<memcad::Line>(Vec3{0, 0, 0}, Vec3{1, 0, 0});
  const std::int32_t none = blocks(true).NuDibujos;
  EXPECT_EQ(std::tuple(none, salir, reports), std::tuple(0, core::kTrue, 0));
  salir = core::kFalse;
  space().add<memcad::Point>(Vec3{0, 0, 0});
  const model::t_Datos set = blocks(false);
  EXPECT_EQ(reports, 0);                                                                   // Prop false
  ASSERT_EQ(kinds(set), (Strings{"BLOQUE VACIO", "BLOQUE ETIQUETA", "BLOQUE EXTERIOR"}));  // *U7 skipped
  const model::t_Dibujo& v = set.Dibujos[1];
  EXPECT_EQ(std::tuple(v.Nmb[0], v.NuPun, v.X[0], v.Y[0], v.Z[0]), std::tuple("Bloque", 0, 4.0, 5.0, 6.0));
  const model::t_Dibujo& e = set.Dibujos[3];
  // The insertion and the line's ends.
  EXPECT_EQ(std::tuple(e.NuPun, e.NuPolis, e.NuRotulos, e.Cd[1], e.Rotulo[1].Texto),
            std::tuple(3, 1, 1, "**ETIQUETA", "12"));
  EXPECT_EQ(form->entries("LabXYZ(3)=").back(), "LabXYZ(3)=EXTERIOR...");
}

TEST_F(InteractiveImportTest, AnUnreadableBlockEntityOrDocumentIsReportedAndTheRestComesBack) {
  memcad::Block& b = doc().blocks().add("B");
  b.add<memcad::Line>(Vec3{0, 0, 0}, Vec3{1, 0, 0});
  b.add<memcad::Point>(Vec3{5, 5, 5});
  space().add<memcad::Point>(Vec3{0, 0, 0});
  app->inject_failure("StartPoint", 1, 5);
  const model::t_Datos set = blocks(false);
  ASSERT_EQ(set.NuDibujos, 1);
  EXPECT_EQ(std::tuple(set.Dibujos[1].NuPun, module.error_log.count()), std::tuple(1, 1u));
  app->add_document().model_space().add<memcad::Point>(Vec3{3, 3, 3});
  app->inject_failure("Activate", 1, 91);  // the first document
  salir = core::kFalse;
  const Strings read = kinds(documents());
  EXPECT_EQ(std::tuple(read, module.error_log.count(), salir),
            std::tuple(Strings{"PLANTA Dibujo2.dwg"}, 2u, core::kFalse));
}

TEST_F(InteractiveImportTest, TwoDocumentsGiveBlockPlanBlockPlan) {
  doc().blocks().add("A1").add<memcad::Point>(Vec3{1, 1, 1});
  space().add<memcad::Point>(Vec3{0, 0, 0});
  memcad::Document& second = app->add_document();
  second.blocks().add("B2").add<memcad::Point>(Vec3{2, 2, 2});
  second.model_space().add<memcad::Point>(Vec3{3, 3, 3});
  const model::t_Datos set = documents();
  EXPECT_EQ(salir, core::kFalse);
  ASSERT_EQ(kinds(set), (Strings{"BLOQUE A1", "PLANTA Dibujo1.dwg", "BLOQUE B2", "PLANTA Dibujo2.dwg"}));
  EXPECT_EQ(std::tuple(set.Dibujos[4].Cabecera.text48, set.Dibujos[4].X[1]),
            std::tuple("1" + std::string(29, ' '), 3.0));
}

TEST_F(InteractiveImportTest, EmptyDrawingNoticeOnlyWhenEmpty) {
  Dibujo_Vacio(ctx, "ZWCAD", salir);
  EXPECT_EQ(std::tuple(salir, scripted.message_box.shown()[0].title), std::tuple(core::kTrue, "Copiar de ZWCad"));
  space().add<memcad::Point>(Vec3{0, 0, 0});
  salir = core::kFalse;
  Dibujo_Vacio(ctx, "ZWCAD", salir);
  EXPECT_EQ(std::tuple(salir, messages()),
            std::tuple(core::kFalse, Strings{"El dibujo activo <Dibujo1.dwg> de ZWCAD está vacio"}));
}

}  // namespace
}  // namespace kestrel::import_test
