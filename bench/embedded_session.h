// What the end-to-end benchmarks set up for each run: the command-line
// program's services, a module, a c_Kestrel connected to the embedded CAD
// and loaded with a drawing set, and a scripted user who accepts the export
// dialog with given options.
#pragma once

#include <filesystem>
#include <memory>

#include "bridge/c_kestrel.h"
#include "tools/kestrel/cad_run.h"
#include "tools/kestrel/export_options.h"
#include "tools/kestrel/terminal_services.h"

namespace kestrel::bench {

struct EmbeddedSession {
  // `cad` is null when no session came; the benchmark then skips.
  EmbeddedSession(const std::filesystem::path& settings, const model::t_Datos& set)
      : terminal(settings, false),
        module(terminal.services()),
        kestrel(module),
        cad(cli::connect_embedded_cad(terminal.automation(), kestrel, "ZWCAD 2021(x64)")) {
    if (cad) kestrel.Mete(set, {});
  }

  // The export dialog, when shown, takes `options` and is accepted.
  void accept_dialog_with(const cli::ExportOptions& options) {
    terminal.dialogs().set_user([this, options](platform::Form&) {
      cli::apply_to_dialog(options, kestrel.aCad());
      kestrel.aCad().click("cmdDatosaceptar");
    });
  }

  cli::TerminalServices terminal;
  Module module;
  bridge::c_Kestrel kestrel;
  std::shared_ptr<memcad::Application> cad;
};

}  // namespace kestrel::bench
