#include "support/scripted_ui.h"

namespace kestrel::test_support {

int ScriptedMessageBox::show(std::string_view text, int style, std::string_view title) {
  shown_.push_back({std::string(text), style, std::string(title)});
  if (answers_.empty()) return platform::kOk;
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void ScriptedPump::do_events() {
  ++calls_;
  const auto [first, last] = presses_.equal_range(calls_);
  // The target may change itself while handling the key; read it again each time.
  for (auto it = first; it != last; ++it) {
    if (target_ != nullptr) target_->key_press(it->second);
  }
}

void ScriptedDialogs::show_modal(platform::Form& form) {
  shown_.emplace_back(form.form_name());
  const auto user = users_.find(form.form_name());
  if (user != users_.end()) {
    // A copy: the user may script the next showing of this same form.
    const User act = user->second;
    act(form);
  }
}

}  // namespace kestrel::test_support
