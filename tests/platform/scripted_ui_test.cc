#include "support/scripted_ui.h"

#include <gtest/gtest.h>

namespace kestrel::test_support {
namespace {

// A form that closes itself when Escape reaches it, as the export dialog's
// abort key does; the pump then has no target.
class AbortingForm final : public platform::KeyTarget {
 public:
  explicit AbortingForm(ScriptedPump& pump) : pump_(pump) { pump_.set_key_target(this); }
  void key_press(int key_code) override {
    keys.push_back(key_code);
    if (key_code == platform::kKeyEscape) pump_.set_key_target(nullptr);
  }
  std::vector<int> keys;

 private:
  ScriptedPump& pump_;
};

TEST(ScriptedPump, DeliversEscapeOnTheScriptedCallToTheCurrentTarget) {
  ScriptedPump pump;
  pump.press_on_call(3);
  pump.press_on_call(3, 'A');  // the form is gone by then: lost
  pump.press_on_call(5);       // no target: lost
  AbortingForm form(pump);
  for (int i = 0; i < 6; ++i) pump.do_events();
  EXPECT_EQ(form.keys, (std::vector<int>{platform::kKeyEscape}));
  EXPECT_EQ(pump.calls(), 6u);
  EXPECT_EQ(pump.delivered(), 1u);
  EXPECT_EQ(pump.key_target(), nullptr);
}

TEST(ScriptedMessageBox, RecordsEveryBoxAndAnswersFromTheQueueThenOk) {
  ScriptedMessageBox box;
  box.answer({platform::kNo, platform::kCancel});
  EXPECT_EQ(box.show("¿Cancelar?", platform::kYesNo | platform::kQuestion, "Quentar"), platform::kNo);
  EXPECT_EQ(box.show("b", platform::kYesNoCancel, ""), platform::kCancel);
  EXPECT_EQ(box.show("c", platform::kOkOnly, "t"), platform::kOk);
  ASSERT_EQ(box.shown().size(), 3u);
  EXPECT_EQ(box.shown()[0].text, "¿Cancelar?");
  EXPECT_EQ(box.shown()[0].style, platform::kYesNo | platform::kQuestion);
  EXPECT_EQ(box.shown()[0].title, "Quentar");
  EXPECT_EQ(box.unanswered(), 0u);
}

class Named final : public platform::Form {
 public:
  explicit Named(std::string name) : name_(std::move(name)) {}
  std::string_view form_name() const override { return name_; }
  int acted = 0;

 private:
  std::string name_;
};

TEST(ScriptedDialogs, EachFormMeetsItsOwnUser) {
  ScriptedDialogs dialogs;
  dialogs.on_show("f_Acad", [](platform::Form& f) { ++static_cast<Named&>(f).acted; });
  Named acad("f_Acad");
  Named report("f_Informe");
  dialogs.show_modal(acad);
  dialogs.show_modal(report);
  dialogs.show_modal(acad);
  EXPECT_EQ(acad.acted, 2);
  EXPECT_EQ(report.acted, 0);
  EXPECT_EQ(dialogs.shown(), (std::vector<std::string>{"f_Acad", "f_Informe", "f_Acad"}));
}

}  // namespace
}  // namespace kestrel::test_support
