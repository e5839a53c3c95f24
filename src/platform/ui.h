// User-interface services the library drives: message boxes, the mouse
// pointer, the message pump (where the abort key arrives) and modal forms.
// Each has a terminal implementation (tools/) and a scripted one (tests/).
#pragma once

#include <string>
#include <string_view>

namespace kestrel::platform {

// Message box styles and answers, with the run time's values.
enum MsgBoxStyle : int {
  kOkOnly = 0,
  kOkCancel = 1,
  kYesNoCancel = 3,
  kYesNo = 4,
  kCritical = 16,
  kQuestion = 32,
  kExclamation = 48,
  kInformation = 64,
};
enum MsgBoxAnswer : int { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // Shows `text` with buttons and icon from `style` and returns the answer.
  virtual int show(std::string_view text, int style, std::string_view title) = 0;
};

// Mouse pointer shapes: 0 default, 11 hourglass, 13 arrow and hourglass.
enum MousePointerShape : int { kPointerDefault = 0, kPointerHourglass = 11, kPointerArrowHourglass = 13 };

class MousePointer {
 public:
  virtual ~MousePointer() = default;
  virtual void set(int shape) = 0;
  [[nodiscard]] virtual int shape() const = 0;
};

// A window that receives key presses while it is active.
class KeyTarget {
 public:
  virtual ~KeyTarget() = default;
  virtual void key_press(int key_code) = 0;
};

inline constexpr int kKeyEscape = 27;

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Processes pending window messages; key presses go to the active target.
  virtual void do_events() = 0;
  // The window that receives key presses (nullptr: none).
  virtual void set_key_target(KeyTarget* target) = 0;
};

// A form the library shows modally; the user acts on it until it closes.
class Form {
 public:
  virtual ~Form() = default;
  [[nodiscard]] virtual std::string_view form_name() const = 0;
};

class DialogService {
 public:
  virtual ~DialogService() = default;
  // Shows `form` modally and returns when it has closed.
  virtual void show_modal(Form& form) = 0;
};

}  // namespace kestrel::platform
