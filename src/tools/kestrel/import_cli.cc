#include "tools/kestrel/import_cli.h"

#include <cmath>

namespace kestrel::cli {

namespace {

// "X1,Y1,X2,Y2" or "X,Y": numbers separated by commas.
template <std::size_t N>
std::string parse_numbers(const std::string& text, std::optional<std::array<double, N>>& out) {
  std::array<double, N> values{};
  std::size_t at = 0;
  for (std::size_t i = 0; i < N; ++i) {
    const std::size_t comma = text.find(',', at);
    if ((comma == std::string::npos) != (i + 1 == N)) return "expected " + std::to_string(N) + " numbers";
    try {
      std::size_t used = 0;
      const std::string piece = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
      values[i] = std::stod(piece, &used);
      if (used != piece.size() || !std::isfinite(values[i])) return "not a number: " + piece;
    } catch (const std::exception&) {
      return "not a number in " + text;
    }
    at = comma + 1;
  }
  out = values;
  return {};
}

}  // namespace

CLI::App* add_import_command(CLI::App& app, ImportOptions& o) {
  CLI::App* cmd = app.add_subcommand(
      "import",
      "Read DXF drawings into the embedded CAD and copy them into a record file, as the host's copies do:\n"
      "points, polylines (arcs and circles as tagged polylines), 3D faces as triangles, texts, and every\n"
      "layer with its colour and on/off state. By default the whole model space becomes one drawing;\n"
      "--blocks, --window and --pick choose the other copies.");
  cmd->add_option("INPUT", o.inputs,
                  "DXF files to read (ASCII, R12 to R2018); \"-\": standard input. Several only with --blocks")
      ->required();
  cmd->add_option("-o,--output", o.output,
                  "Record file (.json) to write (replaced only when the import succeeds); \"-\": standard output")
      ->required();
  cmd->add_option("--cad", o.cad_label, "CAD version label the embedded CAD presents itself as")
      ->default_val(o.cad_label);
  auto* skip = cmd->add_flag("--skip-off-layers", o.skip_off_layers,
                             "Leave out the entities of switched-off layers (the layers themselves are kept); "
                             "clears \"Copiar Entidades desact\" in the copy confirmation");
  auto* copy = cmd->add_flag("--copy-off-layers", o.copy_off_layers,
                             "Copy the entities of switched-off layers too (the default); ticks "
                             "\"Copiar Entidades desact\" in the copy confirmation");
  skip->excludes(copy);
  auto* blocks = cmd->add_flag("--blocks", o.blocks,
                               "One drawing per named block (base point first), then the plan, for each INPUT "
                               "in turn; the copy confirmation is shown first");
  cmd->add_flag("--no-blocks", o.no_blocks,
                "Clear \"Copiar Bloques\" in the copy confirmation: with --blocks only the plans come back");
  cmd->add_flag("--confirm", o.confirm,
                "Show the copy confirmation (counts and options) before copying; on a terminal you answer its "
                "options, otherwise --copy-off-layers / --skip-off-layers / --no-blocks answer them");
  auto* window = cmd->add_option_function<std::string>(
      "--window", [&o](const std::string& t) { if (auto e = parse_numbers<4>(t, o.window); !e.empty()) throw CLI::ValidationError("--window", e); },
      "Copy a selection: the model-space entities lying wholly inside the window X1,Y1,X2,Y2, as a CAD's "
      "window selection takes them");
  auto* pick = cmd->add_option_function<std::string>(
      "--pick", [&o](const std::string& t) { if (auto e = parse_numbers<2>(t, o.pick); !e.empty()) throw CLI::ValidationError("--pick", e); },
      "Copy one picked line, point or polyline: the entity passing nearest X,Y within the pick box; any other "
      "kind is refused");
  cmd->add_option("--pick-box", o.pick_box, "Half side of the pick box, in drawing units")->default_val(o.pick_box)
      ->check(CLI::PositiveNumber);
  auto* explode = cmd->add_flag("--explode-points", o.explode_points,
                                "Explode the drawing's blocks in the CAD first, copy the result, and give each point "
                                "the elevation of a numeric text next to it; only layer \"PUNTOS\" stays switched on");
  blocks->excludes(window)->excludes(pick)->excludes(explode);
  window->excludes(pick)->excludes(explode);
  pick->excludes(explode);
  cmd->add_flag("-q,--quiet", o.quiet, "No progress bar and no closing summary (warnings and errors still shown)");
  return cmd;
}

CLI::App* add_report_command(CLI::App& app, ReportOptions& o) {
  CLI::App* cmd = app.add_subcommand(
      "report",
      "Read a DXF drawing into the embedded CAD and print what it holds, as the host's drawing analysis shows\n"
      "it: document, object, block and layer counts, then each kind of entity (outside blocks, and inside\n"
      "blocks after \"en Bloques =\"), then what a copy would make of them.");
  cmd->add_option("INPUT", o.input, "DXF file to read; \"-\": standard input")->required();
  cmd->add_option("--cad", o.cad_label, "CAD version label the embedded CAD presents itself as")
      ->default_val(o.cad_label);
  cmd->add_flag("--json", o.json,
                "Print the report as JSON: {\"caption\": ..., \"rows\": [{\"style\": \"section\"|\"row\"|\"option\", "
                "\"label\": ..., \"value\": ...}]}");
  return cmd;
}

}  // namespace kestrel::cli
