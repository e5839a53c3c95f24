// Scripted user-interface services: a test says beforehand how the user answers,
// which key they press and when, and what they do on each form, then reads what was shown.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"

namespace kestrel::test_support {

class ScriptedMessageBox final : public platform::MessageBoxService {
 public:
  struct Shown {
    std::string text;
    int style;
    std::string title;
  };

  // Answers the next boxes in this order; once the queue is empty every box answers OK.
  void answer(std::initializer_list<int> answers) { answers_.insert(answers_.end(), answers); }

  int show(std::string_view text, int style, std::string_view title) override;

  [[nodiscard]] const std::vector<Shown>& shown() const noexcept { return shown_; }

 private:
  std::deque<int> answers_;
  std::vector<Shown> shown_;
};

class ScriptedPointer final : public platform::MousePointer {
 public:
  void set(int shape) override { shapes_.push_back(shape); }
  [[nodiscard]] int shape() const override { return shapes_.empty() ? platform::kPointerDefault : shapes_.back(); }
  [[nodiscard]] const std::vector<int>& history() const noexcept { return shapes_; }

 private:
  std::vector<int> shapes_;
};

class ScriptedPump final : public platform::MessagePump {
 public:
  // On the `call`-th do_events (1-based), `key` goes to the key target of
  // that moment; with no target the press is lost, as with no active window.
  void press_on_call(std::size_t call, int key = platform::kKeyEscape) { presses_.emplace(call, key); }

  void do_events() override;
  void set_key_target(platform::KeyTarget* target) override { target_ = target; }

  [[nodiscard]] std::size_t calls() const noexcept { return calls_; }

 private:
  std::multimap<std::size_t, int> presses_;
  platform::KeyTarget* target_ = nullptr;
  std::size_t calls_ = 0;
};

class ScriptedDialogs final : public platform::DialogService {
 public:
  using User = std::function<void(platform::Form&)>;

  // What the user does each time the form `form_name` is shown; a form with no user closes as shown.
  void on_show(std::string form_name, User user) { users_.insert_or_assign(std::move(form_name), std::move(user)); }

  void show_modal(platform::Form& form) override;

  [[nodiscard]] const std::vector<std::string>& shown() const noexcept { return shown_; }

 private:
  std::map<std::string, User, std::less<>> users_;
  std::vector<std::string> shown_;
};

// A person working a dialog model (f_Acad): they act only on a control within
// reach (dialog shown, control enabled and visible); reaching for any other fails the test.
template <class Dialog>
class ScriptedUser {
 public:
  explicit ScriptedUser(Dialog& dialog) : dialog_(dialog) {}

  void click(std::string_view name) {
    if (reach(name)) dialog_.click(name);
  }
  // Ticks or clears a check box, or chooses an option button.
  void tick(std::string_view name, int value = 1) {
    if (reach(name)) dialog_.set_value(name, value);
  }
  void type(std::string_view name, std::string text) {
    if (reach(name)) dialog_.set_text(name, std::move(text));
  }

 private:
  bool reach(std::string_view name) {
    if (dialog_.within_reach(name)) return true;
    ADD_FAILURE() << "the user cannot reach " << name << " (disabled, hidden, or the dialog is not shown)";
    return false;
  }

  Dialog& dialog_;
};

}  // namespace kestrel::test_support
