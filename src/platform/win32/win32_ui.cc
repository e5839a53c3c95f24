#include "platform/win32/win32_ui.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <span>

#include "platform/win32/unattended.h"
#include "platform/win32/wide_text.h"

namespace kestrel::platform {

bool unattended() {
  std::array<wchar_t, 8> value{};
  const DWORD length = GetEnvironmentVariableW(L"KESTREL_UNATTENDED", value.data(), static_cast<DWORD>(value.size()));
  if (length == 0) return false;
  return !(length == 1 && value[0] == L'0');
}

namespace {

// The buttons of each MB_ button set, in the order shown.
std::span<const int> buttons_of(int style) noexcept {
  static constexpr int kOk[] = {IDOK};
  static constexpr int kOkCancel[] = {IDOK, IDCANCEL};
  static constexpr int kAbortRetryIgnore[] = {IDABORT, IDRETRY, IDIGNORE};
  static constexpr int kYesNoCancel[] = {IDYES, IDNO, IDCANCEL};
  static constexpr int kYesNo[] = {IDYES, IDNO};
  static constexpr int kRetryCancel[] = {IDRETRY, IDCANCEL};
  switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: return kOkCancel;
    case MB_ABORTRETRYIGNORE: return kAbortRetryIgnore;
    case MB_YESNOCANCEL: return kYesNoCancel;
    case MB_YESNO: return kYesNo;
    case MB_RETRYCANCEL: return kRetryCancel;
    default: return kOk;
  }
}

}  // namespace

int default_answer(int style) noexcept {
  const std::span<const int> buttons = buttons_of(style);
  const auto chosen = static_cast<std::size_t>((style & MB_DEFMASK) >> 8);
  return buttons[chosen < buttons.size() ? chosen : 0];
}

int Win32MessageBox::show(std::string_view text, int style, std::string_view title) {
  if (unattended()) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(), static_cast<int>(text.size()),
                 text.data());
    return default_answer(style);
  }
  const int answer = MessageBoxW(GetActiveWindow(), widen(text).c_str(), widen(title).c_str(),
                                 static_cast<UINT>(style) | MB_TASKMODAL);
  // No box could be shown (no desktop): the default button, as unattended.
  return answer == 0 ? default_answer(style) : answer;
}

void Win32Pointer::set(int shape) {
  shape_ = shape;
  // IDC_ARROW, IDC_WAIT and IDC_APPSTARTING, in their wide-character form.
  WORD cursor = 32512;
  if (shape == kPointerHourglass) cursor = 32514;
  if (shape == kPointerArrowHourglass) cursor = 32650;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(cursor)));
}

void Win32MessagePump::do_events() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (target_ && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
      target_->key_press(kKeyEscape);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace kestrel::platform
