#include "platform/posix/terminal_ui.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <iostream>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/posix/interrupts.h"
#include "platform/name_fold.h"

namespace kestrel::platform {
namespace {

constexpr int kOkButtons[] = {kOk};
constexpr int kOkCancelButtons[] = {kOk, kCancel};
constexpr int kYesNoCancelButtons[] = {kYes, kNo, kCancel};
constexpr int kYesNoButtons[] = {kYes, kNo};

struct ButtonWords {
  int answer;
  std::string_view prompt;                    // as offered: "[s]í"
  std::string_view plain;                     // as echoed: "sí"
  std::array<std::string_view, 5> accepted;   // folded words that choose it
};

constexpr ButtonWords kButtonWords[] = {
    {kYes, "[s]í", "sí", {"s", "sí", "si", "y", "yes"}},
    {kNo, "[n]o", "no", {"n", "no"}},
    {kCancel, "[c]ancelar", "cancelar", {"c", "cancelar", "cancel"}},
    {kOk, "[a]ceptar", "aceptar", {"a", "aceptar", "ok"}},
};

const ButtonWords& words_for(int answer) {
  return *std::find_if(std::begin(kButtonWords), std::end(kButtonWords),
                       [&](const ButtonWords& w) { return w.answer == answer; });
}

std::string prompt_for(std::span<const int> buttons) {
  std::string prompt;
  for (const int button : buttons) {
    if (!prompt.empty()) prompt += '/';
    prompt += words_for(button).prompt;
  }
  return prompt + ": ";
}

// The message text for a terminal: CR LF and lone CR become LF.
std::string terminal_text(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
    } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
      out += '\n';
    }
  }
  return out;
}

}  // namespace

std::span<const int> message_box_buttons(int style) noexcept {
  switch (style & 7) {
    case kOkCancel: return kOkCancelButtons;
    case kYesNoCancel: return kYesNoCancelButtons;
    case kYesNo: return kYesNoButtons;
    default: return kOkButtons;
  }
}

std::optional<int> parse_message_box_answer(std::string_view line, std::span<const int> buttons) {
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return buttons.front();
  const std::string word = fold_name(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
  for (const int button : buttons) {
    const auto& accepted = words_for(button).accepted;
    if (std::find(accepted.begin(), accepted.end(), word) != accepted.end()) return button;
  }
  return std::nullopt;
}

TerminalMessageBox::TerminalMessageBox()
    : TerminalMessageBox(std::cerr, std::cin, ::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO)) {}

TerminalMessageBox::TerminalMessageBox(std::ostream& out, std::istream& in, bool interactive)
    : out_(out), in_(in), interactive_(interactive) {}

int TerminalMessageBox::show(std::string_view text, int style, std::string_view title) {
  if (!title.empty()) out_ << title << ": ";
  out_ << terminal_text(text) << '\n';
  const std::span<const int> buttons = message_box_buttons(style);
  if (buttons.size() == 1) {
    out_.flush();
    return buttons.front();
  }
  if (interactive_) return ask(buttons);
  const int answer = unattended_answer(buttons);
  out_ << prompt_for(buttons) << words_for(answer).plain << std::endl;
  return answer;
}

int TerminalMessageBox::unattended_answer(std::span<const int> buttons) const noexcept {
  const bool offered = std::find(buttons.begin(), buttons.end(), unattended_) != buttons.end();
  return offered ? unattended_ : buttons.front();
}

int TerminalMessageBox::ask(std::span<const int> buttons) {
  const std::string prompt = prompt_for(buttons);
  std::string line;
  for (;;) {
    out_ << prompt << std::flush;
    if (!std::getline(in_, line)) break;
    if (const auto answer = parse_message_box_answer(line, buttons)) return *answer;
  }
  const int answer = unattended_answer(buttons);
  out_ << words_for(answer).plain << std::endl;
  return answer;
}

TerminalPump::~TerminalPump() { set_key_target(nullptr); }

void TerminalPump::set_key_target(KeyTarget* target) {
  if (target == target_) return;
  if (target != nullptr) {
    arm_abort_key(&pressed_);
  } else {
    disarm_abort_key();
    // A press the dialog never saw still asks to stop: it now ends the run.
    if (pressed_.exchange(false)) ::raise(SIGINT);
  }
  target_ = target;
}

void TerminalPump::do_events() {
  if (target_ && pressed_.exchange(false)) target_->key_press(kKeyEscape);
}

}  // namespace kestrel::platform
