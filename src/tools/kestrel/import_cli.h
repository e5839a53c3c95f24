// The `import` and `report` subcommands' command lines.
#pragma once

#include <CLI/CLI.hpp>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::cli {

struct ImportOptions {
  std::vector<std::filesystem::path> inputs;  // several only with --blocks
  std::filesystem::path output;
  std::string cad_label = "ZWCAD 2021(x64)";
  bool explode_points = false;
  bool skip_off_layers = false;
  bool copy_off_layers = false;
  bool blocks = false;
  bool no_blocks = false;
  bool confirm = false;
  std::optional<std::array<double, 4>> window;  // x1, y1, x2, y2
  std::optional<std::array<double, 2>> pick;    // x, y
  double pick_box = 1.0;                        // half side, drawing units
  bool quiet = false;
};

struct ReportOptions {
  std::filesystem::path input;
  std::string cad_label = "ZWCAD 2021(x64)";
  bool json = false;
};

// Declares `kestrel import` and its options on `app`, filling `options`.
CLI::App* add_import_command(CLI::App& app, ImportOptions& options);
// Declares `kestrel report`.
CLI::App* add_report_command(CLI::App& app, ReportOptions& options);

}  // namespace kestrel::cli
