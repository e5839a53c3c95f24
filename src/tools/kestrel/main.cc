// kestrel: the command-line face of the engine.
#include <CLI/CLI.hpp>

#include <iostream>

#include "core/error.h"
#include "tools/kestrel/cad_run.h"
#include "tools/kestrel/commands.h"
#include "tools/kestrel/export_cli.h"
#include "tools/kestrel/huge_pages.h"
#include "tools/kestrel/profile_cli.h"
#include "platform/posix/interrupts.h"

int main(int argc, char** argv) {
  kestrel::cli::restart_with_huge_pages(argv);
  CLI::App app{"kestrel — drawing exchange between Merivox survey drawings and CAD (DXF)"};
  app.require_subcommand(0, 1);
  // Global options may also follow the command: `kestrel export IN -o OUT --settings FILE`.
  app.fallthrough();
  app.set_version_flag("--version", std::string("kestrel ") + KESTREL_VERSION);
  kestrel::cli::CommonOptions common;
  app.add_option("--settings", common.settings_file,
                 "Settings file to use instead of $XDG_CONFIG_HOME/Merivox/settings.ini");

  kestrel::cli::SessionOptions session;
  CLI::App* session_cmd =
      app.add_subcommand("session", "Connect to the embedded CAD as the host would and report the session");
  session_cmd->add_option("--cad", session.cad_label, "CAD version label (e.g. \"ZWCAD 2021(x64)\")")
      ->default_val(session.cad_label);

  kestrel::cli::ExportOptions export_options;
  CLI::App* export_cmd = kestrel::cli::add_export_command(app, export_options);

  kestrel::cli::ImportOptions import_options;
  CLI::App* import_cmd = kestrel::cli::add_import_command(app, import_options);

  kestrel::cli::ReportOptions report_options;
  CLI::App* report_cmd = kestrel::cli::add_report_command(app, report_options);

  kestrel::cli::ProfileOptions profile_options;
  CLI::App* profile_cmd = kestrel::cli::add_profile_command(app, profile_options);

  CLI11_PARSE(app, argc, argv);
  // From here Ctrl-C and SIGTERM end the run cleanly: no temporary file left,
  // the old output kept, exit code 130 (the export dialog's abort key aside).
  const kestrel::platform::InterruptHandlers interrupts("\nkestrel: interrupted; no output was written\n");
  try {
    if (session_cmd->parsed()) return kestrel::cli::run_session(common, session);
    if (export_cmd->parsed()) return kestrel::cli::run_export(common, export_options);
    if (import_cmd->parsed()) return kestrel::cli::run_import(common, import_options);
    if (report_cmd->parsed()) return kestrel::cli::run_report(common, report_options);
    if (profile_cmd->parsed()) return kestrel::cli::run_profile(common, profile_options);
    std::cout << app.help();
    return 0;
  } catch (const kestrel::core::Error& e) {
    std::cerr << "kestrel: " << e.description() << "\n";
    return e.number() == kestrel::core::kPathFileAccess ? kestrel::cli::kExitNotWritable : 1;
  } catch (const std::exception& e) {
    std::cerr << "kestrel: " << e.what() << "\n";
    return 1;
  }
}
