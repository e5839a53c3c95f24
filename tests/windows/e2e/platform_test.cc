// The Windows platform services: the registry settings store, message box
// default answers, the message pump's Escape key, the dialog service and GDI
// text widths. "platform_test increment APP N" is one of two processes
// updating one counter.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "check.h"
#include "platform/win32/gdi_text_measure.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_ui.h"

namespace {

using namespace kestrel;
using wintest::error_of;

constexpr const char* kApp = "KestrelTest";
constexpr int kIncrements = 150;

void increment(const std::string& app, int times) {
  platform::RegistrySettingsStore store;
  for (int k = 0; k < times; ++k) {
    store.update(app, "Errores", [](platform::SectionEdit& edit) {
      const int count = std::atoi(edit.read("Numero").value_or("0").c_str());
      edit.set("Numero", std::to_string(count + 1));
    });
  }
}

void settings_round_trip() {
  platform::RegistrySettingsStore store;
  store.save(kApp, "Opciones", "Capa", "Puntos \xC3\xB1");
  CHECK(store.read(kApp, "opciones", "CAPA") == "Puntos \xC3\xB1");  // the registry ignores case
  CHECK(store.read("KestrelNoApp", "Opciones", "Capa") == std::nullopt);

  // A value that is not text reads as missing and is not touched.
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\KestrelTest\\Opciones", 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
  const DWORD number = 7;
  RegSetValueExW(key, L"Altura", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  CHECK(store.read(kApp, "Opciones", "Altura") == std::nullopt);
  store.save(kApp, "Opciones", "Otra", "1");
  DWORD type = 0;
  CHECK(RegQueryValueExW(key, L"Altura", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS && type == REG_DWORD);
  CHECK(store.read(kApp, "Opciones", "Capa") == "Puntos \xC3\xB1");
  RegCloseKey(key);

  // A failing change stores nothing.
  CHECK(error_of([&] {
          store.update(kApp, "Opciones", [](platform::SectionEdit& edit) {
            edit.set("Capa", "cambiada");
            throw core::Error::standard(core::kInvalidCall);
          });
        }) == core::kInvalidCall);
  CHECK(store.read(kApp, "Opciones", "Capa") == "Puntos \xC3\xB1");
}

// Two processes each add kIncrements to one counter: none is lost.
void settings_two_processes(const wchar_t* self) {
  platform::RegistrySettingsStore store;
  store.save(kApp, "Errores", "Numero", "0");
  PROCESS_INFORMATION children[2] = {};
  for (PROCESS_INFORMATION& child : children) {
    std::wstring command = L"\"" + std::wstring(self) + L"\" increment " + L"KestrelTest " + std::to_wstring(kIncrements);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    CHECK(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
  }
  for (PROCESS_INFORMATION& child : children) {
    WaitForSingleObject(child.hProcess, INFINITE);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
  }
  CHECK(store.read(kApp, "Errores", "Numero") == std::to_string(2 * kIncrements));
}

void message_boxes() {
  // Buttons and MB_DEFBUTTONn as Windows documents them.
  const std::pair<int, int> cases[] = {{MB_OK | MB_ICONSTOP, IDOK},          {MB_YESNO | MB_ICONQUESTION, IDYES},
                                        {MB_YESNO | MB_DEFBUTTON2, IDNO},     {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                                        {MB_OKCANCEL | MB_DEFBUTTON4, IDOK}};
  for (const auto& [style, answer] : cases) CHECK(platform::default_answer(style) == answer);
  SetEnvironmentVariableW(L"KESTREL_UNATTENDED", L"1");
  platform::Win32MessageBox box;
  CHECK(box.show("¿Seguro?", MB_YESNO | MB_DEFBUTTON2, "Prueba") == IDNO);
}

struct Keys final : platform::KeyTarget {
  int last = 0;
  void key_press(int code) override { last = code; }
};

void pump() {
  Keys keys;
  platform::Win32MessagePump pump;
  pump.set_key_target(&keys);
  PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
  PostQuitMessage(3);
  pump.do_events();
  CHECK(keys.last == platform::kKeyEscape);
  MSG left{};
  CHECK(PeekMessageW(&left, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && left.wParam == 3);  // put back for the host
}

struct NamedForm final : platform::Form {
  [[nodiscard]] std::string_view form_name() const override { return "f_Acad"; }
};

void dialogs() {
  platform::Win32DialogService dialogs;
  NamedForm form;
  int presented = 0, accepted = 0;
  dialogs.set_presenter("f_Acad", [&](platform::Form&) { ++presented; });
  dialogs.set_unattended_action("f_Acad", [&](platform::Form&) { ++accepted; });
  dialogs.show_modal(form);  // unattended: set by message_boxes()
  CHECK(presented == 0 && accepted == 1);
  SetEnvironmentVariableW(L"KESTREL_UNATTENDED", L"0");
  dialogs.show_modal(form);
  CHECK(presented == 1 && accepted == 1);
}

void text_widths() {
  platform::GdiTextMeasure measure;
  // Real labels are measured by the end-to-end run against the Linux tool's widths.
  CHECK(measure.width("", 2.5, "Arial") == 0);
  // U+1F600 is not in Windows-1252: it measures as "?".
  CHECK(measure.width("\xF0\x9F\x98\x80", 2.5, "Arial") == measure.width("?", 2.5, "Arial"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "increment") {
    increment(argv[2], std::atoi(argv[3]));
    return 0;
  }
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  settings_round_trip();
  settings_two_processes(self);
  message_boxes();
  pump();
  dialogs();
  text_widths();
  std::printf("platform_test: %d failure(s)\n", wintest::failures());
  return wintest::failures();
}
