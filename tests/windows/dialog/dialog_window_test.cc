// The library's windows as a user drives them: the export dialog (ticks,
// interlocks, "Generar", closing, Escape) and the report window (rows,
// options, "Aceptar", closing); without a screen either is an error.
//   dialog_window_test [headless|show]   ("show" leaves the window up for a picture)
// Exit code: the number of failures.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "check.h"
#include "export/f_acad.h"
#include "module/module.h"
#include "platform/automation_host.h"
#include "platform/settings.h"
#include "platform/win32/report_dialog.h"
#include "platform/win32/win32_ui.h"
#include "server/export_dialog_window.h"

namespace {

using namespace kestrel;

// Records the events a test looks for.
class Recorder final : public exporting::FAcadEvents {
 public:
  std::vector<std::string> events;
  void aCapasPrefijo(const std::string&) override { events.emplace_back("aCapasPrefijo"); }
  void aCadCapas(std::int32_t) override {}
  void aCad2D() override {}
  void aCadPtos() override { events.emplace_back("aCadPtos"); }
  void acadRotu1(double) override {}
  void aCadTria(bool) override { events.emplace_back("aCadTria"); }
  void aCadTriaCurv(bool) override {}
  void aCadCurv() override {}
  void aCadPoli() override {}
  void acadText() override {}
  void acadBloq() override {}
};

// The services the dialog does not use, and a message box that answers No.
struct Stubs final : platform::MessageBoxService, platform::MousePointer, platform::DialogService,
                        platform::TextMeasure {
  std::vector<std::string> asked;
  int show(std::string_view text, int, std::string_view) override {
    asked.emplace_back(text);
    return platform::kNo;
  }
  void set(int) override {}
  [[nodiscard]] int shape() const override { return 0; }
  void show_modal(platform::Form&) override {}
  double width(std::string_view, double, std::string_view) override { return 0; }
};

struct Fixture {
  platform::MemorySettingsStore settings;
  Stubs box;
  platform::Win32MessagePump pump;
  platform::InProcessAutomationHost automation;
  Module module{Services{settings, box, box, pump, box, automation, box}};
  Recorder recorder;
  exporting::f_Acad dialog{module, &recorder};

  Fixture() {
    dialog.load();
    dialog.set_visible(true);
  }
};

// The window of `window_class` once shown (every control made and filled).
HWND wait_for(const wchar_t* window_class) {
  for (int i = 0; i < 200; ++i) {
    HWND h = FindWindowW(window_class, nullptr);
    if (h && IsWindowVisible(h)) return h;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return nullptr;
}

HWND child(HWND dialog, const wchar_t* caption) { return FindWindowExW(dialog, nullptr, nullptr, caption); }

// What a click on a control tells its window.
void click(HWND dialog, const wchar_t* caption) {
  HWND c = child(dialog, caption);
  if (!c) std::fprintf(stderr, "no control captioned %ls\n", caption);
  CHECK(c != nullptr);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), BN_CLICKED), reinterpret_cast<LPARAM>(c));
}

// Shows a window with `show` while `user` acts on it from another thread.
template <class User>
void run(const wchar_t* window_class, const std::function<void()>& show, User user) {
  std::thread person([&] {
    HWND window = wait_for(window_class);
    CHECK(window != nullptr);
    if (window) user(window);
  });
  const core::Error error = wintest::raised(show);
  if (error.number() != 0) std::fprintf(stderr, "error %d: %s\n", error.number(), error.description().c_str());
  CHECK(error.number() == 0);
  person.join();
}

template <class User>
void run(Fixture& f, User user) {
  run(L"KestrelExportDialog", [&] { server::show_export_dialog_window(f.dialog); }, user);
}

template <class User>
void run_report(platform::ReportWindow& report, User user) {
  run(L"KestrelReportWindow", [&] { platform::show_report_window(report); }, user);
}

void ticks_escape_and_generate() {
  Fixture f;
  run(f, [](HWND dialog) {
    click(dialog, L"MDT -");
    CHECK(IsWindowEnabled(child(dialog, L"3D")));  // the surface's options follow its tick
    click(dialog, L"Puntos -");
    CHECK(SendMessageW(child(dialog, L"Puntos -"), BM_GETCHECK, 0, 0) == BST_CHECKED);
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageW(dialog, WM_NULL, 0, 0);  // the key is handled before this returns
    click(dialog, L"MDT -");
    click(dialog, L"Generar");
  });
  // The prefix box holds its default "3D_": its event comes whatever the tick.
  CHECK((f.recorder.events == std::vector<std::string>{"aCapasPrefijo", "aCadPtos"}));
  CHECK(f.box.asked == std::vector<std::string>{"¿Quieres abortar el proceso en curso?"});
  CHECK(!f.dialog.loaded());
  CHECK(FindWindowW(L"KestrelExportDialog", nullptr) == nullptr);
}

void closing_cancels() {
  Fixture f;
  run(f, [](HWND dialog) {
    click(dialog, L"Puntos -");
    SendMessageW(dialog, WM_CLOSE, 0, 0);
  });
  CHECK(f.recorder.events.empty());
  CHECK(!f.dialog.loaded());
}

void no_screen_is_an_error() {
  Fixture f;
  CHECK(wintest::error_of([&] { server::show_export_dialog_window(f.dialog); }) == 5);
  platform::ReportWindow report("Informe");
  CHECK(wintest::error_of([&] { platform::show_report_window(report); }) == 5);
}

platform::ReportWindow sample_report() {
  platform::ReportWindow report("Información del DWG de memcad:");
  report.section("Entidades en AutoCad");
  report.row("Textos ", "        7");
  report.option("Copiar Bloques", true);
  report.option("Copiar capas desactivadas", false);
  return report;
}

void report_rows_options_and_answers() {
  platform::ReportWindow accepted = sample_report();
  run_report(accepted, [](HWND window) {
    HWND list = FindWindowExW(window, nullptr, L"ListBox", nullptr);
    CHECK(SendMessageW(list, LB_GETCOUNT, 0, 0) == 2);  // the section and the row; options are boxes
    wchar_t line[64] = {};
    SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(line));
    CHECK(std::wstring(line) == L"    Textos \t        7");
    SendMessageW(child(window, L"Copiar Bloques"), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(child(window, L"Copiar capas desactivadas"), BM_SETCHECK, BST_CHECKED, 0);
    click(window, L"Aceptar");
  });
  CHECK(!accepted.cancelled());
  CHECK(!accepted.checked("Copiar Bloques"));
  CHECK(accepted.checked("Copiar capas desactivadas"));

  platform::ReportWindow closed = sample_report();
  run_report(closed, [](HWND window) {
    SendMessageW(child(window, L"Copiar Bloques"), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(window, WM_CLOSE, 0, 0);
  });
  CHECK(closed.cancelled());
  CHECK(closed.checked("Copiar Bloques"));  // a cancelled report keeps its options as they were
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "headless") == 0) {
    no_screen_is_an_error();
  } else if (argc > 1 && std::strcmp(argv[1], "show") == 0) {
    // For a picture of the window (scripts/dialog-picture.sh): up for 8 seconds.
    Fixture f;
    run(f, [](HWND dialog) {
      click(dialog, L"MDT -");
      std::this_thread::sleep_for(std::chrono::seconds(8));
      SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
  } else {
    ticks_escape_and_generate();
    closing_cancels();
    report_rows_options_and_answers();
  }
  std::printf("dialog_window_test: %d failure(s)\n", wintest::failures());
  return wintest::failures();
}
