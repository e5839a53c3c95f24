#include "export/f_acad.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "module/settings_access.h"
#include "platform/automation_host.h"
#include "support/scripted_module.h"

namespace kestrel::exporting {
namespace {

// Records the events in the order the dialog raises them.
class RecordingListener final : public FAcadEvents {
 public:
  std::vector<std::string> events;
  void aCapasPrefijo(const std::string& p) override { events.push_back("aCapasPrefijo(" + p + ")"); }
  void aCadCapas(std::int32_t c) override { events.push_back("aCadCapas(" + std::to_string(c) + ")"); }
  void aCad2D() override { events.push_back("aCad2D"); }
  void aCadPtos() override { events.push_back("aCadPtos"); }
  void acadRotu1(double h) override { events.push_back("acadRotu1(" + core::format_general(h) + ")"); }
  void aCadTria(bool s) override { events.push_back(std::string("aCadTria(") + (s ? "true" : "false") + ")"); }
  void aCadTriaCurv(bool s) override {
    events.push_back(std::string("aCadTriaCurv(") + (s ? "true" : "false") + ")");
  }
  void aCadCurv() override { events.push_back("aCadCurv"); }
  void aCadPoli() override { events.push_back("aCadPoli"); }
  void acadText() override { events.push_back("acadText"); }
  void acadBloq() override { events.push_back("acadBloq"); }
};

class FAcadTest : public ::testing::Test, protected test_support::ScriptedModule {
 protected:
  std::string cad(const char* key) { return read_setting(settings, "Cad", key, "<missing>"); }
  std::string placement(const char* key) {
    return settings.get(kSettingsApp, "Quentar Posicion Autoca VB", key, "<missing>");
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
  EXPECT_EQ(dialog.placement().top, 321);
  EXPECT_EQ(dialog.placement().left, 654);
  dialog.set_placement({2, 1, 1});
  dialog.unload();
  EXPECT_EQ(placement("Estado"), "2");
  EXPECT_EQ(placement("Top"), "321");  // only the state is saved when maximised

  const struct {
    const char *state, *top, *left;
    WindowPlacement expected;
  } cases[] = {
      {"0", "30000", "200", {0, 100, 200}},  {"0", "-25001", "25000", {0, 100, 25000}},
      {"1", "500", "500", {0, 100, 100}},  {"0", "70000", "500", {0, 100, 100}},  // not a 16-bit number: gives up
  };
  for (const auto& c : cases) {
    for (const auto& [key, value] : {std::pair{"Estado", c.state}, {"Top", c.top}, {"Left", c.left}}) {
      settings.save(kSettingsApp, "Quentar Posicion Autoca VB", key, value);
    }
    dialog.load();
    SCOPED_TRACE(std::string(c.state) + "/" + c.top + "/" + c.left);
    EXPECT_EQ(dialog.placement().state, c.expected.state);
    EXPECT_EQ(dialog.placement().top, c.expected.top);
    EXPECT_EQ(dialog.placement().left, c.expected.left);
    dialog.unload();
  }
}

TEST_F(FAcadTest, AcceptRaisesEveryEventInItsFixedOrder) {
  module.model.NumPuntos = 1;
  show();
  dialog.set_value("chkCap", 1);
  dialog.set_text("txtCap", "  PRE ");
  dialog.set_value("Op3D(0)", 1);
  dialog.set_text("txtCap", "  PRE ");  // choosing 2D rewrote it
  for (const char* box : {"chkPtos", "ChkNu", "chkTria", "Option1(3)", "chkCurv", "chkPoli", "chkText", "chkBlo",
                          "Chk_Capas"}) {
    dialog.set_value(box, 1);
  }
  dialog.set_text("txtAltura", "2,5");
  dialog.click("cmdDatosaceptar");

  const std::vector<std::string> expected = {"aCapasPrefijo(PRE)", "aCadCapas(1)", "aCad2D", "aCadPtos",
                                             "acadRotu1(2.5)", "aCadTriaCurv(true)", "aCadCurv", "aCadPoli",
                                             "acadText", "acadBloq"};
  EXPECT_EQ(listener.events, expected);
  EXPECT_FALSE(dialog.loaded());
  EXPECT_DOUBLE_EQ(module.model.DeformaZ, 1.0);
}

TEST_F(FAcadTest, AcceptSavesOptionsUnderCadAndDecimalsAreReadFromDatos) {
  save_setting(settings, "Datos", "Decimales X", "2");
  show();
  dialog.set_text("TextX", "5");
  dialog.set_value("ChkZ", 1);
  dialog.set_text("CmbOrient", "Vertical");
  dialog.set_value("ChkAtri", 0);
  dialog.click("cmdDatosaceptar");

  EXPECT_EQ(cad("Decimales X"), "5");
  EXPECT_EQ(cad("3D"), "True");
  EXPECT_EQ(cad("2D"), "False");

  dialog.load();
  EXPECT_EQ(dialog.TextX.text, "2");  // the host's decimals again
  EXPECT_EQ(dialog.ChkZ.value, 1);
  EXPECT_EQ(dialog.ChkAtri.value, 0);
  EXPECT_EQ(dialog.CmbOrient.text, "Vertical");
}

TEST_F(FAcadTest, CloseButtonUnloadsWithoutEventsAndTheNextLoadStartsAfresh) {
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
  EXPECT_EQ(dialog.Caption, "Pegar en Autocad");
  EXPECT_EQ(dialog.Chk_Capas.value, 0);
  EXPECT_TRUE(dialog.ChkNu.enabled);
  EXPECT_EQ(dialog.Combo1.text, " x 1");
  EXPECT_EQ(dialog.proBarra.value, 0);
}

TEST_F(FAcadTest, ButtonsOutOfReachDoNotRespond) {
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
    try {
      dialog.click("cmdDatosaceptar");
      ADD_FAILURE() << "the press was taken";
    } catch (const core::Error& e) {
      EXPECT_EQ(e.number(), core::kInvalidCall);
    }
    EXPECT_TRUE(listener.events.empty());
    EXPECT_EQ(cad("3D"), "<missing>");  // nothing saved
    dialog.unload();
  }
}

TEST_F(FAcadTest, ControlsFollowEachOther) {
  dialog.load();
  for (const auto& [text, deformation] : {std::pair{" x 10", 10.0}, {"", 0.0}, {" x-5", 1.0}}) {
    dialog.set_text("Combo1", text);
    EXPECT_DOUBLE_EQ(module.model.DeformaZ, deformation) << text;
  }
  dialog.set_text("Combo1", " x 30");
  dialog.set_value("Op3D(0)", 1);
  EXPECT_DOUBLE_EQ(module.model.DeformaZ, 1.0);
  EXPECT_FALSE(dialog.Combo1.enabled);
  EXPECT_EQ(dialog.txtCap.text, "2D_");
  EXPECT_EQ(dialog.Op3D[1].value, 0);
  dialog.set_value("Op3D(1)", 1);
  EXPECT_DOUBLE_EQ(module.model.DeformaZ, 30.0);
  EXPECT_EQ(dialog.txtCap.text, "3D_");

  dialog.set_value("chkPtos", 0);
  for (const char* name : {"ChkNu", "chkNo", "chkCod", "ChkX", "TextZ", "Label2(1)", "CmbOrient", "txtAltura",
                           "ChkAtri"}) {
    EXPECT_FALSE(dialog.control(name)->enabled) << name;
  }
  dialog.set_value("chkPtos", 1);
  EXPECT_TRUE(dialog.ChkAtri.enabled);
  dialog.set_value("ChkY", 0);
  EXPECT_FALSE(dialog.TextY.enabled);
  EXPECT_TRUE(dialog.TextX.enabled);
  dialog.set_value("chkTria", 0);
  EXPECT_FALSE(dialog.Option1[2].enabled);
  dialog.set_value("chkPoli", 0);
  EXPECT_FALSE(dialog.chkSombrea.enabled);
  dialog.set_text("txtAltura", "-0,5");
  EXPECT_EQ(dialog.txtAltura.text, "1");
  dialog.set_text("txtAltura", "0,5");
  EXPECT_EQ(dialog.txtAltura.text, "0,5");
  for (const char* missing : {"Option1(4)", "Option1", "chkPtos(0)", "chkptos" /* names are exact */}) {
    EXPECT_EQ(dialog.control(missing), nullptr) << missing;
  }
}

TEST_F(FAcadTest, EscapeAsksAndOnlyYesCancels) {
  message_box.answer({platform::kYes, platform::kNo, platform::kCancel});
  dialog.key_press(platform::kKeyEscape);
  EXPECT_EQ(module.model.Cancelar, core::kTrue);
  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_EQ(message_box.shown()[0].text, "¿Quieres abortar el proceso en curso?");
  EXPECT_EQ(message_box.shown()[0].title, "AutoCad:");
  EXPECT_EQ(message_box.shown()[0].style, platform::kYesNoCancel | platform::kCritical);
  dialog.key_press(platform::kKeyEscape);
  EXPECT_EQ(module.model.Cancelar, core::kFalse);
  dialog.key_press(platform::kKeyEscape);
  EXPECT_EQ(module.model.Cancelar, core::kFalse);
  dialog.key_press('a');
  EXPECT_EQ(message_box.shown().size(), 3u);
}

}  // namespace
}  // namespace kestrel::exporting
