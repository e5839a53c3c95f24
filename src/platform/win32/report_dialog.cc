#include "platform/win32/report_dialog.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/modal_window.h"
#include "platform/win32/wide_text.h"

namespace kestrel::platform {
namespace {

constexpr wchar_t kWindowClass[] = L"KestrelReportWindow";
constexpr int kWidth = 460, kMargin = 8, kRowHeight = 16, kMostRowsShown = 24;
constexpr int kListId = 100, kFirstOptionId = 200;

class ReportDialog {
 public:
  explicit ReportDialog(ReportWindow& report) : report_(report) {}
  ReportDialog(const ReportDialog&) = delete;
  ReportDialog& operator=(const ReportDialog&) = delete;
  ~ReportDialog() {
    if (hwnd_) DestroyWindow(hwnd_);
  }

  void show() {
    HWND owner = modal_owner();
    create(owner);
    run_modal(hwnd_, owner, [this] { return !done_; });
  }

  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void create(HWND owner);
  void fill_list(HWND list);
  void close(bool accepted);

  ReportWindow& report_;
  HWND hwnd_ = nullptr;
  std::vector<std::pair<std::string, HWND>> options_;
  bool done_ = false;
};

void ReportDialog::create(HWND owner) {
  const auto& rows = report_.rows();
  const int listed = static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const ReportRow& r) {
    return r.style != ReportRowStyle::kOption;
  }));
  const int option_count = static_cast<int>(rows.size()) - listed;
  const int list_height = std::clamp(listed, 1, kMostRowsShown) * kRowHeight + 4;
  const int options_top = kMargin + list_height + kMargin;
  const int buttons_top = options_top + option_count * 22 + kMargin;
  const int height = buttons_top + 28 + kMargin;
  hwnd_ = create_modal_frame(kWindowClass, &ReportDialog::procedure, report_.caption(), CW_USEDEFAULT, CW_USEDEFAULT,
                             kWidth, height, owner, this);
  HWND list = add_child(hwnd_, L"LISTBOX", WS_BORDER | WS_VSCROLL | LBS_NOSEL | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT,
                        kMargin, kMargin, kWidth - 2 * kMargin, list_height, kListId);
  fill_list(list);
  int top = options_top;
  int id = kFirstOptionId;
  for (const ReportRow& row : rows) {
    if (row.style != ReportRowStyle::kOption) continue;
    HWND box = add_child(hwnd_, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, kMargin, top, kWidth - 2 * kMargin, 20, id++,
                         row.label);
    SendMessageW(box, BM_SETCHECK, row.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    options_.emplace_back(row.label, box);
    top += 22;
  }
  add_child(hwnd_, L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, kWidth - 2 * 96 - 2 * kMargin, buttons_top, 96, 28, IDOK,
            "Aceptar");
  add_child(hwnd_, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, kWidth - 96 - kMargin, buttons_top, 96, 28, IDCANCEL,
            "Cancelar");
}

void ReportDialog::fill_list(HWND list) {
  const int value_column = 150;  // in dialog template units, a quarter of a character each
  SendMessageW(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&value_column));
  for (const ReportRow& row : report_.rows()) {
    if (row.style == ReportRowStyle::kOption) continue;
    // A section heads its rows; a row is its label and, at the tab, its value.
    const std::string line = row.style == ReportRowStyle::kSection ? row.label : "    " + row.label + "\t" + row.value;
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(line).c_str()));
  }
}

void ReportDialog::close(bool accepted) {
  if (accepted) {
    for (const auto& [label, box] : options_) {
      report_.set_checked(label, SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED);
    }
  } else {
    report_.cancel();
  }
  done_ = true;
  wake_modal(hwnd_);
}

LRESULT CALLBACK ReportDialog::procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ReportDialog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && !self->done_) {
    if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
      self->close(LOWORD(wparam) == IDOK);
      return 0;
    }
    if (message == WM_CLOSE) {
      self->close(false);
      return 0;
    }
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

void show_report_window(ReportWindow& report) { ReportDialog(report).show(); }

}  // namespace kestrel::platform
