#include "platform/win32/modal_window.h"

#include <string>

#include "core/error.h"
#include "platform/win32/wide_text.h"

namespace kestrel::platform {
namespace {

[[noreturn]] void raise_no_window(std::string_view step) {
  const DWORD code = GetLastError();
  throw core::Error(core::kInvalidCall, "Kestrel",
                    "No se puede mostrar la ventana (" + std::string(step) + ", error " + std::to_string(code) + ")");
}

}  // namespace

HINSTANCE library_instance() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&library_instance), &module);
  return module;
}

HWND create_modal_frame(const wchar_t* class_name, WNDPROC procedure, std::string_view title, int left, int top,
                        int width, int height, HWND owner, void* self) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = library_instance();
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = class_name;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) raise_no_window("RegisterClassEx");
  // No WS_CLIPCHILDREN: a group box paints only its frame, the window paints inside it.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, class_name, widen(title).c_str(), style,
                                left, top, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                wc.hInstance, self);
  if (!window) raise_no_window("CreateWindowEx");
  return window;
}

HWND add_child(HWND parent, const wchar_t* class_name, DWORD style, int x, int y, int w, int h, int id,
               std::string_view text) {
  HWND child = CreateWindowExW(0, class_name, widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), library_instance(), nullptr);
  if (!child) raise_no_window("CreateWindowEx");
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return child;
}

std::string text_of(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return narrow(text);
}

void run_modal(HWND window, HWND owner, const std::function<bool()>& open, const std::function<bool(const MSG&)>& key) {
  const bool owner_was_enabled = owner && IsWindowEnabled(owner);
  if (owner_was_enabled) EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  MSG message{};
  while (open()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));  // the host's loop ends too
      break;
    }
    if (message.message == WM_KEYDOWN && key && key(message)) continue;
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  // The owner takes input again before this window goes, so it gets the focus back.
  if (owner_was_enabled) EnableWindow(owner, TRUE);
  ShowWindow(window, SW_HIDE);
}

}  // namespace kestrel::platform
