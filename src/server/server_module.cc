#include "server/server_module.h"

#include "cad/dispatch/dispatch_automation_host.h"
#include "export/f_acad.h"
#include "platform/report_window.h"
#include "platform/win32/gdi_text_measure.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/report_dialog.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_ui.h"
#include "server/export_dialog_window.h"

namespace kestrel::server {
namespace {

// The Windows services: settings in the per-user registry, message boxes,
// the pointer, the host thread's messages, CAD classes through COM, GDI
// text widths, and the library's own windows for the export dialog and the
// report. In unattended runs (platform/win32/unattended.h) no window shows:
// the export dialog is accepted as its saved options leave it, and a report
// is taken as shown.
struct ServerServices {
  platform::RegistrySettingsStore settings;
  platform::Win32MessageBox message_box;
  platform::Win32Pointer pointer;
  platform::Win32MessagePump pump;
  platform::Win32DialogService dialogs;
  win32::DispatchAutomationHost automation;
  platform::GdiTextMeasure text_measure;

  ServerServices() {
    dialogs.set_presenter("f_Acad", [](platform::Form& form) {
      show_export_dialog_window(static_cast<exporting::f_Acad&>(form));
    });
    dialogs.set_unattended_action("f_Acad", [](platform::Form& form) {
      static_cast<exporting::f_Acad&>(form).click("cmdDatosaceptar");
    });
    dialogs.set_presenter(std::string(platform::ReportWindow::kFormName), [](platform::Form& form) {
      platform::show_report_window(static_cast<platform::ReportWindow&>(form));
    });
  }
};

}  // namespace

Module& server_module() {
  // Lives until the library unloads: the drawing model and the CAD session
  // outlast every object, as hosts expect.
  static ServerServices services;
  static Module module(Services{services.settings, services.message_box, services.pointer, services.pump,
                                services.dialogs, services.automation, services.text_measure});
  return module;
}

}  // namespace kestrel::server
