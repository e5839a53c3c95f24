#include <gtest/gtest.h>

#include "bridge_fixture.h"
#include "model/loading.h"
#include "platform/posix/ini_settings_store.h"
#include "platform/temp_folder.h"
#include "support/scripted_ui.h"

namespace kestrel::bridge {
namespace {

// A drawing of `points` points on two layers ("Base 1" on, "Oculta" off,
// every second point), names and points ticked.
model::t_Datos survey(int points) {
  model::t_Dibujo d = points_drawing("P", points);
  for (int i = 1; i <= points; ++i) {
    d.X[i] = i;
    d.Z[i] = 100.0 + i;
    d.Capa[i] = static_cast<std::int16_t>(i % 2 == 0 ? 2 : 1);
  }
  d.nuCapas = 2;
  d.Capas1 = core::VbArray<model::t_Capa>(1, {{"Base 1", core::kTrue, 0x0000FF, 0, {}}, {"Oculta", core::kFalse, 0, 0, {}}});
  d.Opciones.set(model::kChkPtos, 1);
  d.Opciones.set(model::kChkNo, 1);
  return drawing_set({std::move(d)}, 1);
}

class ExportDialogTest : public ConnectedTest {
 protected:
  // The elevations of the points drawn.
  [[nodiscard]] std::vector<double> point_zs() {
    std::vector<double> zs;
    for (const auto& e : drawing().model_space().entities()) {
      if (const auto* p = dynamic_cast<const memcad::Point*>(e.get())) zs.push_back(p->position.z);
    }
    return zs;
  }
  using User = test_support::ScriptedUser<exporting::f_Acad>;
  // The scripted user: applies `choices` and presses "Generar".
  void user_accepts(std::function<void(User&)> choices = {}) {
    dialogs.on_show("f_Acad", [this, choices](platform::Form&) {
      User user(kestrel->aCad());
      if (choices) choices(user);
      user.click("cmdDatosaceptar");
    });
  }
};

TEST_F(ExportDialogTest, NothingToExportOrAnIncompatibleCadShowsAMessageAndNeverTheDialog) {
  kestrel->A_Show_Seleccion_datos1();
  EXPECT_TRUE(dialogs.shown().empty());
  // Texts alone are enough for the new entry but not for the old one.
  module.model.NumRotulos = 1;
  kestrel->A_Show_Seleccion_datos1();
  std::int32_t v = 0;
  kestrel->A_Show_Seleccion_datos(v, v, v, v, v, v, v, v, v);
  EXPECT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(shown_texts(), (std::vector<std::string>(2, "No hay nada activado en el dibujo")));
  EXPECT_EQ(message_box.shown()[0].title, "Generar en Autocad ZWCAD 2021(x64):");
  // An incompatible CAD is named and the dialog not shown either.
  kestrel->Mete(survey(3), {});
  created[0]->inject_failure("GetInterfaceObject", 1, 429);
  kestrel->A_Show_Seleccion_datos1();
  EXPECT_EQ(dialogs.shown().size(), 1u);
  ASSERT_EQ(message_box.shown().size(), 4u);  // Color_True's own error, then the verdict
  const auto& verdict = message_box.shown()[3];
  EXPECT_EQ(std::tuple(verdict.text, verdict.title, verdict.style),
            std::tuple("Tu versión de ZWCAD 2021(x64) no es compatible con Merivox. Actualiza tu version de ZWCad",
                       "ZWCad", platform::kCritical));
}

TEST_F(ExportDialogTest, TwoDThenThreeDExportsFlattenOnlyTheFirst) {
  kestrel->Mete(survey(2), {});
  user_accepts([](User& u) { u.tick("Op3D(0)"); });
  kestrel->A_Show_Seleccion_datos1();
  user_accepts([](User& u) { u.tick("Op3D(1)"); });
  kestrel->A_Show_Seleccion_datos1();
  EXPECT_EQ(point_zs(), (std::vector<double>{0, 0, 101, 102}));
}

TEST_F(ExportDialogTest, EscapeDuringTheExportAbortsAfterTheQuestion) {
  kestrel->Mete(survey(1200), {});  // progress step 2: the pump runs every second point
  pump.press_on_call(3);
  message_box.answer({platform::kYes});
  user_accepts([](User& u) { u.tick("chkNo", 0); });
  kestrel->A_Show_Seleccion_datos1();
  EXPECT_EQ(shown_texts(), std::vector<std::string>{"¿Quieres abortar el proceso en curso?"});
  EXPECT_EQ(module.model.Cancelar, core::kTrue);
  EXPECT_EQ(point_zs().size(), 5u);  // points 1..5 were drawn before the 6th asked
  EXPECT_EQ(drawing().variables().get("PDMODE").to_int32(), 0);  // untouched
}

// Options that cannot be saved do not cost the user the drawing; the failure is counted apart.
TEST_F(ExportDialogTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheDrawingStillMade) {
  platform::TempFolder folder;
  platform::write_bytes(folder.path() / "plain", "a file where a folder should be");
  const auto file = folder.path() / "plain" / "S.ini";
  auto store = platform::IniSettingsStore::single_file(file);
  Module unwritable(Services{store, message_box, pointer, pump, dialogs, host, text_measure});
  c_Kestrel other(unwritable);
  core::VbBool sigue = core::kFalse;
  other.IniciaAutocad(sigue, kLabel);
  ASSERT_EQ(sigue, core::kTrue);
  other.Mete(survey(4), {});
  dialogs.on_show("f_Acad", [&](platform::Form&) { other.aCad().click("cmdDatosaceptar"); });
  other.A_Show_Seleccion_datos1();

  EXPECT_EQ(point_zs().size(), 4u);
  EXPECT_FALSE(other.aCad().loaded());
  ASSERT_EQ(message_box.shown().size(), 1u);
  const std::string& text = message_box.shown()[0].text;
  EXPECT_TRUE(text.starts_with("cmdDatosaceptar - Error    nº  75: ")) << text;
  EXPECT_NE(text.find("(" + file.string() + ": "), std::string::npos) << text;
  EXPECT_NE(text.find("Not a directory"), std::string::npos) << text;
  EXPECT_EQ(std::tuple(unwritable.error_log.count(), unwritable.error_log.failed_saves()), std::tuple(1u, 1u));
}

}  // namespace
}  // namespace kestrel::bridge
