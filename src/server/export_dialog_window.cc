#include "server/export_dialog_window.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"
#include "platform/win32/modal_window.h"
#include "platform/win32/wide_text.h"

namespace kestrel::server {
namespace {

using exporting::Control;
using exporting::ControlKind;

// Where each control of the dialog sits, in pixels of the client area.
struct Placed {
  std::string_view name;
  int x, y, w, h;
};

constexpr auto kLayout = std::to_array<Placed>({
    {"Frame1", 8, 8, 300, 300},       {"chkPtos", 16, 28, 140, 20},       {"labPtos", 160, 30, 140, 18},
    {"chkPoli", 16, 50, 140, 20},     {"labPoli", 160, 52, 140, 18},      {"chkSombrea", 32, 72, 260, 20},
    {"chkTria", 16, 94, 140, 20},     {"labTria", 160, 96, 140, 18},      {"FraTri", 32, 114, 268, 104},
    {"Option1(0)", 40, 130, 255, 20}, {"Option1(1)", 40, 151, 255, 20},   {"Option1(2)", 40, 172, 255, 20},
    {"Option1(3)", 40, 193, 255, 20}, {"chkCurv", 16, 224, 140, 20},      {"labCurv", 160, 226, 140, 18},
    {"chkText", 16, 246, 140, 20},    {"labRotulos", 160, 248, 140, 18},  {"chkBlo", 16, 268, 140, 20},
    {"labBloques", 160, 270, 140, 18}, {"fraAtri", 316, 8, 300, 236},     {"ChkNu", 324, 24, 120, 20},
    {"chkNo", 324, 46, 120, 20},      {"chkCod", 324, 68, 120, 20},       {"ChkX", 324, 90, 60, 20},
    {"TextX", 390, 90, 40, 20},       {"Label2(0)", 436, 92, 80, 18},     {"ChkY", 324, 112, 60, 20},
    {"TextY", 390, 112, 40, 20},      {"Label2(1)", 436, 114, 80, 18},    {"ChkZ", 324, 134, 60, 20},
    {"TextZ", 390, 134, 40, 20},      {"Label2(2)", 436, 136, 80, 18},    {"labAtri", 324, 162, 120, 18},
    {"txtAltura", 450, 160, 60, 20},  {"Label3", 324, 188, 120, 18},      {"CmbOrient", 450, 186, 120, 120},
    {"ChkAtri", 324, 214, 285, 20},   {"FraOpcion", 316, 250, 300, 160},  {"chkCap", 324, 268, 285, 20},
    {"txtCap", 340, 290, 200, 20},    {"Chk_Capas", 324, 316, 285, 20},   {"Op3D(0)", 324, 340, 140, 20},
    {"Op3D(1)", 470, 340, 140, 20},   {"Label1", 324, 370, 120, 18},      {"Combo1", 450, 368, 120, 160},
    {"labMandando", 8, 420, 608, 18}, {"proBarra", 8, 442, 608, 18},      {"cmdDatosaceptar", 416, 470, 96, 28},
    {"bt_salir", 520, 470, 96, 28},
});
constexpr int kClientWidth = 624, kClientHeight = 506;
constexpr int kFirstId = 100;
constexpr UINT_PTR kSyncTimer = 1;
constexpr wchar_t kWindowClass[] = L"KestrelExportDialog";

// One window over one dialog model.
class DialogWindow {
 public:
  explicit DialogWindow(exporting::f_Acad& dialog) : dialog_(dialog) {}
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;
  ~DialogWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
  }

  void create(HWND owner);
  void run_modal(HWND owner);

  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  struct Shown {
    HWND hwnd = nullptr;
    std::string caption, text;
    std::vector<std::string> items;
  };

  void create_child(std::size_t index);
  void sync_from_model();
  void sync_child(Shown& shown, const Control& c);
  void on_command(std::size_t index, WORD code);
  void act(std::size_t index, WORD code);
  void close_as_cancelled();
  [[nodiscard]] Control& model_of(std::size_t index) const { return *dialog_.control(kLayout[index].name); }
  [[nodiscard]] bool open() const { return dialog_.loaded() && !error_; }

  exporting::f_Acad& dialog_;
  HWND hwnd_ = nullptr;
  std::array<Shown, kLayout.size()> shown_{};
  std::string title_;
  bool syncing_ = false;  // our own changes raise change notifications too
  bool acting_ = false;   // a handler runs (and may pump messages)
  std::exception_ptr error_;
};

void DialogWindow::create(HWND owner) {
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  const exporting::WindowPlacement& at = dialog_.placement();  // twips: 15 to a pixel
  hwnd_ = platform::create_modal_frame(kWindowClass, &DialogWindow::procedure, dialog_.Caption, at.left / 15,
                                       at.top / 15, kClientWidth, kClientHeight, owner, this);
  for (std::size_t i = 0; i < kLayout.size(); ++i) create_child(i);
  SetTimer(hwnd_, kSyncTimer, 100, nullptr);  // progress shows while a handler pumps messages
  sync_from_model();
}

void DialogWindow::create_child(std::size_t index) {
  const Placed& p = kLayout[index];
  const Control& c = model_of(index);
  const wchar_t* window_class = L"BUTTON";
  DWORD style = 0;
  switch (c.kind) {
    case ControlKind::kFrame: style |= BS_GROUPBOX; break;
    case ControlKind::kCheckBox: style |= BS_CHECKBOX | WS_TABSTOP; break;
    case ControlKind::kOptionButton: style |= BS_RADIOBUTTON | WS_TABSTOP; break;
    case ControlKind::kButton: style |= BS_PUSHBUTTON | WS_TABSTOP; break;
    case ControlKind::kTextBox: window_class = L"EDIT"; style |= ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP; break;
    case ControlKind::kComboBox: window_class = L"COMBOBOX"; style |= CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP; break;
    case ControlKind::kLabel: window_class = L"STATIC"; style |= SS_LEFT; break;
    case ControlKind::kProgressBar: window_class = PROGRESS_CLASSW; break;
  }
  HWND child = platform::add_child(hwnd_, window_class, style, p.x, p.y, p.w, p.h, kFirstId + static_cast<int>(index));
  shown_[index].hwnd = child;
  shown_[index].caption = "\x01";  // differs from any caption: the first sync sets it
}

void DialogWindow::sync_from_model() {
  syncing_ = true;
  if (title_ != dialog_.Caption) {
    title_ = dialog_.Caption;
    SetWindowTextW(hwnd_, platform::widen(title_).c_str());
  }
  for (std::size_t i = 0; i < kLayout.size(); ++i) {
    if (shown_[i].hwnd) sync_child(shown_[i], model_of(i));
  }
  syncing_ = false;
}

void DialogWindow::sync_child(Shown& shown, const Control& c) {
  HWND h = shown.hwnd;
  if ((IsWindowEnabled(h) != FALSE) != c.enabled) EnableWindow(h, c.enabled);
  const bool visible = (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visible != c.visible) ShowWindow(h, c.visible ? SW_SHOWNA : SW_HIDE);
  switch (c.kind) {
    case ControlKind::kCheckBox:
    case ControlKind::kOptionButton:
      SendMessageW(h, BM_SETCHECK, c.value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
      [[fallthrough]];
    case ControlKind::kFrame:
    case ControlKind::kButton:
    case ControlKind::kLabel:
      if (shown.caption != c.caption) SetWindowTextW(h, platform::widen(c.caption).c_str());
      shown.caption = c.caption;
      break;
    case ControlKind::kComboBox:
      if (shown.items != c.items) {
        SendMessageW(h, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : c.items) {
          SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::widen(item).c_str()));
        }
        shown.items = c.items;
        shown.text = "\x01";
      }
      [[fallthrough]];
    case ControlKind::kTextBox:
      // What the user is typing is not overwritten under the caret.
      if (shown.text != c.text && GetFocus() != h) SetWindowTextW(h, platform::widen(c.text).c_str());
      shown.text = c.text;
      break;
    case ControlKind::kProgressBar:
      SendMessageW(h, PBM_SETRANGE32, static_cast<WPARAM>(c.min), static_cast<LPARAM>(c.max));
      SendMessageW(h, PBM_SETPOS, static_cast<WPARAM>(c.value), 0);
      break;
  }
}

void DialogWindow::on_command(std::size_t index, WORD code) {
  if (syncing_ || acting_ || !open()) return;
  acting_ = true;
  try {
    act(index, code);
  } catch (...) {
    error_ = std::current_exception();
  }
  acting_ = false;
  if (open()) {
    sync_from_model();
  } else {
    platform::wake_modal(hwnd_);
  }
}

void DialogWindow::act(std::size_t index, WORD code) {
  const std::string_view name = kLayout[index].name;
  Control& c = model_of(index);
  HWND h = shown_[index].hwnd;
  switch (c.kind) {
    case ControlKind::kCheckBox:
      if (code == BN_CLICKED) dialog_.set_value(name, c.value == 1 ? 0 : 1);
      break;
    case ControlKind::kOptionButton:
      if (code == BN_CLICKED && c.value != 1) dialog_.set_value(name, 1);
      break;
    case ControlKind::kButton:
      if (code == BN_CLICKED && dialog_.within_reach(name)) dialog_.click(name);
      break;
    case ControlKind::kTextBox:
      if (code == EN_CHANGE) dialog_.set_text(name, shown_[index].text = platform::text_of(h));
      break;
    case ControlKind::kComboBox:
      if (code == CBN_SELCHANGE) {
        const LRESULT at = SendMessageW(h, CB_GETCURSEL, 0, 0);
        if (at >= 0 && static_cast<std::size_t>(at) < c.items.size()) {
          dialog_.set_text(name, shown_[index].text = c.items[static_cast<std::size_t>(at)]);
        }
      } else if (code == CBN_EDITCHANGE) {
        dialog_.set_text(name, shown_[index].text = platform::text_of(h));
      }
      break;
    default:
      break;
  }
}

void DialogWindow::close_as_cancelled() {
  const auto cancel = std::find_if(kLayout.begin(), kLayout.end(), [](const Placed& p) { return p.name == "bt_salir"; });
  // While the drawing is generated "Cancelar" is disabled: the window stays.
  if (dialog_.within_reach("bt_salir")) on_command(static_cast<std::size_t>(cancel - kLayout.begin()), BN_CLICKED);
}

LRESULT CALLBACK DialogWindow::procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_COMMAND: {
      const WORD id = LOWORD(wparam);
      if (id >= kFirstId && id < kFirstId + kLayout.size()) self->on_command(id - kFirstId, HIWORD(wparam));
      return 0;
    }
    case WM_TIMER:
      if (wparam == kSyncTimer && self->open()) self->sync_from_model();
      return 0;
    case WM_CLOSE:
      self->close_as_cancelled();
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

void DialogWindow::run_modal(HWND owner) {
  platform::run_modal(hwnd_, owner, [this] { return open(); }, [this](const MSG& key) {
    if (key.wParam != VK_ESCAPE) return false;
    dialog_.key_press(platform::kKeyEscape);  // asks whether to abort, as during the drawing
    return true;
  });
  KillTimer(hwnd_, kSyncTimer);
  if (error_) std::rethrow_exception(error_);
}

}  // namespace

void show_export_dialog_window(exporting::f_Acad& dialog) {
  HWND owner = platform::modal_owner();
  DialogWindow window(dialog);
  window.create(owner);
  window.run_modal(owner);
}

}  // namespace kestrel::server
