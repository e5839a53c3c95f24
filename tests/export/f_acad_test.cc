#include "export/f_acad.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/error_number.h"
#include "module/settings_access.h"
#include "platform/automation_host.h"
#include "support/scripted_module.h"

namespace kestrel::exporting {
namespace {

using core::testing_support::error_number;

// Records the events in the order the dialog raises them.
class RecordingListener final : public FAcadEvents {
 public:
  std::vector<std::string> events;
  void aCapasPrefijo(const std::string& p) override { events.push_back("aCapasPrefijo(" + p + ")"); }
  void aCadCapas(std::int32_t c) override { events.push_back("aCadCapas(" + std::to_string(c) + ")"); }
  void aCad2D() override { events.push_back("aCad2D"); }
  void aCadPtos() override { events.push_back("aCadPtos"); }
  void acadRotu1(double h) override { events.push_back("acadRotu1(" + core::format_general(h) + ")"); }
  void aCadTria(bool s) override { events.push_back("aCadTria(" + flag(s) + ")"); }
  void aCadTriaCurv(bool s) override { events.push_back("aCadTriaCurv(" + flag(s) + ")"); }
  void aCadCurv() override { events.push_back("aCadCurv"); }
  void aCadPoli() override { events.push_back("aCadPoli"); }
  void acadText() override { events.push_back("acadText"); }
  void acadBloq() override { events.push_back("acadBloq"); }

 private:
  static std::string flag(bool s) { return s ? "true" : "false"; }
};

class FAcadTest : public ::testing::Test, protected test_support::ScriptedModule {
 protected:
  std::string cad(const char* key) { return read_setting(settings, "Cad", key, "<missing>"); }
  std::string placement(const char* key) {
    return settings.get(kSettingsApp, "Quentar Posicion Autoca VB", key, "<missing>");
  }
  [[nodiscard]] std::tuple<int, int, int> placed() const {
    return {dialog.placement().state, dialog.placement().top, dialog.placement().left};
  }
  // Loads the dialog and puts it on the screen, where its buttons can be pressed.
  void show() {
    dialog.load();
    dialog.set_visible(true);
  }

  RecordingListener listener;
  f_Acad dialog{module, &listener};
};

TEST_F(FAcadTest, WindowPositionIsSavedAndRestoredWithinLimits) {
  dialog.load();
  dialog.set_placement({0, 321, 654});
  dialog.txtAltura.text = "0.75";
  dialog.unload();
  EXPECT_EQ(read_setting(settings, "Quentar", "Altura Texto", ""), "0.75");
  dialog.load();
  EXPECT_EQ(placed(), std::tuple(0, 321, 654));
  dialog.set_placement({2, 1, 1});
  dialog.unload();
  EXPECT_EQ(std::tuple(placement("Estado"), placement("Top")), std::tuple("2", "321"))
      << "only the state is saved when maximised";

  const struct {
    const char *state, *top, *left;
    std::tuple<int, int, int> expected;
  } cases[] = {
      {"0", "30000", "200", {0, 100, 200}},  {"0", "-25001", "25000", {0, 100, 25000}},
      {"1", "500", "500", {0, 100, 100}},  {"0", "70000", "500", {0, 100, 100}},  // not a 16-bit number: gives up
  };
  for (const auto& c : cases) {
    for (const auto& [key, value] : {std::pair{"Estado", c.state}, {"Top", c.top}, {"Left", c.left}}) {
      settings.save(kSettingsApp, "Quentar Posicion Autoca VB", key, value);
    }
    dialog.load();
    EXPECT_EQ(placed(), c.expected) << c.state << "/" << c.top << "/" << c.left;
    dialog.unload();
  }
}

TEST_F(FAcadTest, AcceptRaisesEveryEventInItsFixedOrderAndSavesTheOptionsUnderCad) {
  save_setting(settings, "Datos", "Decimales X", "2");
  module.model.NumPuntos = 1;
  show();
  dialog.set_value("chkCap", 1);
  dialog.set_text("txtCap", "  PRE ");
  dialog.set_value("Op3D(0)", 1);
  dialog.set_text("txtCap", "  PRE ");  // choosing 2D rewrote it
  for (const char* box : {"chkPtos", "ChkNu", "ChkZ", "chkTria", "Option1(3)", "chkCurv", "chkPoli", "chkText",
                          "chkBlo", "Chk_Capas"}) {
    dialog.set_value(box, 1);
  }
  dialog.set_value("ChkAtri", 0);
  dialog.set_text("TextX", "5");
  dialog.set_text("CmbOrient", "Vertical");
  dialog.set_text("txtAltura", "2,5");
  dialog.click("cmdDatosaceptar");

  const std::vector<std::string> expected = {"aCapasPrefijo(PRE)", "aCadCapas(1)", "aCad2D", "aCadPtos",
                                             "acadRotu1(2.5)", "aCadTriaCurv(true)", "aCadCurv", "aCadPoli",
                                             "acadText", "acadBloq"};
  EXPECT_EQ(listener.events, expected);
  EXPECT_FALSE(dialog.loaded());
  EXPECT_DOUBLE_EQ(module.model.DeformaZ, 1.0);
  EXPECT_EQ((std::vector{cad("Decimales X"), cad("3D"), cad("2D")}), (std::vector<std::string>{"5", "False", "True"}));

  dialog.load();  // the decimals are the host's again
  EXPECT_EQ(std::tuple(dialog.TextX.text, dialog.ChkZ.value, dialog.ChkAtri.value, dialog.CmbOrient.text),
            std::tuple("2", 1, 0, "Vertical"));
}

// Buttons out of reach do not respond; the close button unloads without
// events and the next load starts afresh.
TEST_F(FAcadTest, ButtonsOutOfReachDoNotRespondAndCloseUnloadsWithoutEvents) {
  const std::pair<const char*, std::function<void(f_Acad&)>> cases[] = {
      {"accept disabled", [](f_Acad& d) { d.cmdDatosaceptar.enabled = false; }},
      {"accept hidden", [](f_Acad& d) { d.cmdDatosaceptar.visible = false; }},
      {"dialog hidden", [](f_Acad& d) { d.set_visible(false); }},
      {"dialog unloaded", [](f_Acad& d) { d.unload(); }},
  };
  for (const auto& [what, setup] : cases) {
    SCOPED_TRACE(what);
    show();
    setup(dialog);
    EXPECT_EQ(error_number([&] { dialog.click("cmdDatosaceptar"); }), core::kInvalidCall);
    EXPECT_TRUE(listener.events.empty());
    EXPECT_EQ(cad("3D"), "<missing>");  // nothing saved
    dialog.unload();
  }
  show();
  dialog.Caption = "Generar en ZWCAD";
  dialog.set_value("Chk_Capas", 1);
  dialog.set_value("chkPtos", 0);
  dialog.set_text("Combo1", " x 10");
  dialog.proBarra.value = 40;
  dialog.click("bt_salir");
  EXPECT_TRUE(listener.events.empty());
  EXPECT_FALSE(dialog.loaded());
  EXPECT_EQ(cad("Rotula X"), "<missing>");

  dialog.load();  // nothing saved but the text height: the rest as designed or by default
  EXPECT_EQ(std::tuple(dialog.Caption, dialog.Chk_Capas.value, dialog.ChkNu.enabled, dialog.Combo1.text,
                       dialog.proBarra.value),
            std::tuple("Pegar en Autocad", 0, true, " x 1", 0));
}

TEST_F(FAcadTest, ControlsFollowEachOther) {
  dialog.load();
  for (const auto& [text, deformation] : {std::pair{" x 10", 10.0}, {"", 0.0}, {" x-5", 1.0}}) {
    dialog.set_text("Combo1", text);
    EXPECT_DOUBLE_EQ(module.model.DeformaZ, deformation) << text;
  }
  dialog.set_text("Combo1", " x 30");
  dialog.set_value("Op3D(0)", 1);
  EXPECT_EQ(std::tuple(module.model.DeformaZ, dialog.Combo1.enabled, dialog.txtCap.text, dialog.Op3D[1].value),
            std::tuple(1.0, false, "2D_", 0));
  dialog.set_value("Op3D(1)", 1);
  EXPECT_EQ(std::pair(module.model.DeformaZ, dialog.txtCap.text), std::pair(30.0, std::string("3D_")));

  dialog.set_value("chkPtos", 0);
  for (const char* name : {"ChkNu", "chkNo", "chkCod", "ChkX", "TextZ", "Label2(1)", "CmbOrient", "txtAltura",
                           "ChkAtri"}) {
    EXPECT_FALSE(dialog.control(name)->enabled) << name;
  }
  dialog.set_value("chkPtos", 1);
  dialog.set_value("ChkY", 0);
  dialog.set_value("chkTria", 0);
  dialog.set_value("chkPoli", 0);
  EXPECT_EQ((std::vector{dialog.ChkAtri.enabled, dialog.TextY.enabled, dialog.TextX.enabled,
                         dialog.Option1[2].enabled, dialog.chkSombrea.enabled}),
            (std::vector{true, false, true, false, false}));
  for (const auto& [typed, kept] : {std::pair{"-0,5", "1"}, {"0,5", "0,5"}}) {
    dialog.set_text("txtAltura", typed);
    EXPECT_EQ(dialog.txtAltura.text, kept);
  }
  for (const char* missing : {"Option1(4)", "Option1", "chkPtos(0)", "chkptos" /* names are exact */}) {
    EXPECT_EQ(dialog.control(missing), nullptr) << missing;
  }
}

TEST_F(FAcadTest, EscapeAsksAndOnlyYesCancels) {
  message_box.answer({platform::kYes, platform::kNo, platform::kCancel});
  std::vector<core::VbBool> cancelled;
  for (int k = 0; k < 3; ++k) {
    dialog.key_press(platform::kKeyEscape);
    cancelled.push_back(module.model.Cancelar);
  }
  dialog.key_press('a');
  EXPECT_EQ(cancelled, (std::vector{core::kTrue, core::kFalse, core::kFalse}));
  ASSERT_EQ(message_box.shown().size(), 3u);
  const auto& asked = message_box.shown()[0];
  EXPECT_EQ(std::tuple(asked.text, asked.title, asked.style),
            std::tuple("¿Quieres abortar el proceso en curso?", "AutoCad:", platform::kYesNoCancel | platform::kCritical));
}

}  // namespace
}  // namespace kestrel::exporting
