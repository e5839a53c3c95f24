// The `import` subcommand's command line.
#pragma once

#include <CLI/CLI.hpp>

#include <filesystem>
#include <string>

namespace kestrel::cli {

struct ImportOptions {
  std::filesystem::path input;
  std::filesystem::path output;
  std::string cad_label = "ZWCAD 2021(x64)";
  bool explode_points = false;
  bool skip_off_layers = false;
  bool quiet = false;
};

// Declares `kestrel import` and its options on `app`, filling `options`.
CLI::App* add_import_command(CLI::App& app, ImportOptions& options);

}  // namespace kestrel::cli
