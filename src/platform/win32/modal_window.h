// What the library's own modal windows share: a top-level window over the
// host's active window, its child controls in the dialog font, and the
// modal loop that keeps the host's window from input until it closes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace kestrel::platform {

// This library's module (the DLL, or the program it is linked into).
[[nodiscard]] HINSTANCE library_instance();

// A hidden top-level window of class `class_name` (registered on first use
// with `procedure`) with a client area of `width` × `height` pixels at
// (`left`, `top`), owned by `owner`; `self` arrives as the creation
// parameter of WM_NCCREATE. Raises core::Error 5 naming the reason when no
// window can be made (no desktop, as in a service or a headless run).
[[nodiscard]] HWND create_modal_frame(const wchar_t* class_name, WNDPROC procedure, std::string_view title,
                                      int left, int top, int width, int height, HWND owner, void* self);

// A child control of `parent` with the identifier `id`, in the dialog
// font. Raises core::Error 5 when it cannot be made.
HWND add_child(HWND parent, const wchar_t* class_name, DWORD style, int x, int y, int w, int h, int id,
               std::string_view text = {});

// The text of a window, in UTF-8.
[[nodiscard]] std::string text_of(HWND window);

// Shows `window` and runs its messages until `open()` turns false or the
// thread's loop is told to quit (the quit is put back for the host). The
// owner, when enabled, takes no input meanwhile. `key` sees each key press
// first and answers whether it took it.
void run_modal(HWND window, HWND owner, const std::function<bool()>& open,
               const std::function<bool(const MSG&)>& key = {});

// Makes run_modal look at `open()` again: a window closed by a message sent
// from another thread (not posted) would otherwise wait for the next input.
inline void wake_modal(HWND window) { PostMessageW(window, WM_NULL, 0, 0); }

// The window that owns a new modal window: the calling thread's active one.
[[nodiscard]] inline HWND modal_owner() { return GetActiveWindow(); }

}  // namespace kestrel::platform
