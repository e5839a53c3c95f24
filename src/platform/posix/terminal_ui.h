// The user-interface services of the command-line tool. Message boxes go to
// standard error; questions are asked on the terminal when there is one and
// answered with a fixed answer when there is not; Ctrl-C is the abort key.
#pragma once

#include <atomic>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "platform/ui.h"

namespace kestrel::platform {

// The buttons a message box style offers, first (default) button first.
// Styles without a known button set offer OK only.
[[nodiscard]] std::span<const int> message_box_buttons(int style) noexcept;

// The answer a typed line gives among `buttons` ("s"/"sí"/"y" Yes, "n" No,
// "a"/"ok" OK, "c" Cancel, case-insensitive, blanks around ignored; an empty
// line is the first button); nullopt for anything else.
[[nodiscard]] std::optional<int> parse_message_box_answer(std::string_view line, std::span<const int> buttons);

class TerminalMessageBox final : public MessageBoxService {
 public:
  // Standard error and standard input; interactive when both are terminals.
  TerminalMessageBox();
  TerminalMessageBox(std::ostream& out, std::istream& in, bool interactive);

  // The answer given without a terminal (and at end of input): `answer` when
  // the box offers it, else the box's first button. Initially the first button.
  void set_unattended_answer(int answer) noexcept { unattended_ = answer; }

  // Writes "title: text" (CR LF in the text written as line breaks). A box
  // with one button answers OK; otherwise the user is asked, or the
  // unattended answer is taken and written after the question.
  int show(std::string_view text, int style, std::string_view title) override;

 private:
  [[nodiscard]] int unattended_answer(std::span<const int> buttons) const noexcept;
  int ask(std::span<const int> buttons);

  std::ostream& out_;
  std::istream& in_;
  bool interactive_;
  int unattended_ = 0;
};

// Keeps the shape; a terminal shows no pointer.
class TerminalPointer final : public MousePointer {
 public:
  void set(int shape) override { shape_ = shape; }
  [[nodiscard]] int shape() const override { return shape_; }

 private:
  int shape_ = kPointerDefault;
};

// Ctrl-C (SIGINT) is the abort key while a key target is set (a dialog is
// shown): the first press is marked and do_events delivers it as kKeyEscape
// to the target; a second press before delivery ends the run (see
// interrupts.h, whose handlers must be installed for Ctrl-C to reach the
// pump). A press still waiting when the target goes ends the run then.
// Without a target Ctrl-C ends the run at once. One pump may hold the key at
// a time (std::logic_error otherwise).
class TerminalPump final : public MessagePump {
 public:
  TerminalPump() = default;
  ~TerminalPump() override;
  TerminalPump(const TerminalPump&) = delete;
  TerminalPump& operator=(const TerminalPump&) = delete;

  void do_events() override;
  void set_key_target(KeyTarget* target) override;
  // A Ctrl-C is waiting for do_events.
  [[nodiscard]] bool abort_pending() const noexcept { return pressed_.load(); }

 private:
  std::atomic<bool> pressed_{false};
  KeyTarget* target_ = nullptr;
};

// Modal forms are acted on by a callback: the tool's non-interactive user.
// Without one, a form closes as it was shown.
class TerminalDialogs final : public DialogService {
 public:
  using User = std::function<void(Form&)>;
  explicit TerminalDialogs(User user = {}) : user_(std::move(user)) {}
  void set_user(User user) { user_ = std::move(user); }
  void show_modal(Form& form) override {
    if (user_) user_(form);
  }

 private:
  User user_;
};

}  // namespace kestrel::platform
