// The subcommands of the kestrel tool. Each returns the process exit code.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tools/kestrel/export_options.h"
#include "tools/kestrel/import_cli.h"

namespace kestrel::cli {

struct CommonOptions {
  std::optional<std::filesystem::path> settings_file;
};

struct SessionOptions {
  std::string cad_label = "ZWCAD 2021(x64)";
};

// Installs the embedded CAD under the label's class, connects with
// IniciaAutocad and prints what the session answered.
int run_session(const CommonOptions& common, const SessionOptions& options);

// Exports a record file or points file to a DXF file through the export
// dialog, as the host would. Exit codes: 0 written; 3 no CAD session;
// 4 nothing exported (empty drawing, CAD not compatible); 5 errors during
// the export; 6 the DXF file could not be written; 130 aborted. OUTPUT is
// written only on success and then replaced whole.
int run_export(const CommonOptions& common, const ExportOptions& options);

// Reads a DXF file into the embedded CAD and copies its model space into a
// record file, as the host's whole-drawing copy does. Exit codes: 0 written
// (entities that could not be read are left out and reported); 1 INPUT
// missing or not a readable DXF file; 3 no CAD session; 4 empty model
// space; 5 the copy failed; 6 OUTPUT could not be written. OUTPUT is
// written only on success and then replaced whole.
int run_import(const CommonOptions& common, const ImportOptions& options);

// Reads a DXF file into the embedded CAD, runs the drawing analysis and
// prints its report (text, or JSON with --json) on standard output. Exit
// codes: 0 printed; 1 INPUT missing or unreadable; 3 no CAD session; 5 the
// analysis failed.
int run_report(const CommonOptions& common, const ReportOptions& options);

}  // namespace kestrel::cli
