#include "platform/terminal_ui.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <iostream>
#include <stdexcept>
#include <string>
#include <system_error>

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

// The pressed flag of the one live TerminalPump. A signal handler can reach
// nothing but static data, so this pointer is the terminal UI's only
// process-wide state; only the pump's constructor and destructor change it.
std::atomic<std::atomic<bool>*> live_pump_flag{nullptr};
static_assert(std::atomic<std::atomic<bool>*>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

void on_interrupt(int) {
  std::atomic<bool>* pressed = live_pump_flag.load();
  if (pressed && !pressed->exchange(true)) return;
  // A second Ctrl-C before the first was seen: Ctrl-C's usual effect.
  ::signal(SIGINT, SIG_DFL);
  ::raise(SIGINT);
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

struct TerminalPump::SavedHandler {
  struct sigaction action {};
};

TerminalPump::TerminalPump() : saved_(std::make_unique<SavedHandler>()) {
  std::atomic<bool>* none = nullptr;
  if (!live_pump_flag.compare_exchange_strong(none, &pressed_)) {
    throw std::logic_error("only one TerminalPump may exist at a time");
  }
  struct sigaction action {};
  action.sa_handler = on_interrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  if (::sigaction(SIGINT, &action, &saved_->action) != 0) {
    live_pump_flag.store(nullptr);
    throw std::system_error(errno, std::generic_category(), "sigaction(SIGINT)");
  }
}

TerminalPump::~TerminalPump() {
  // Restore first, so no handler can run against a pump that is going away.
  ::sigaction(SIGINT, &saved_->action, nullptr);
  live_pump_flag.store(nullptr);
}

void TerminalPump::do_events() {
  if (target_ && pressed_.exchange(false)) target_->key_press(kKeyEscape);
}

}  // namespace kestrel::platform
