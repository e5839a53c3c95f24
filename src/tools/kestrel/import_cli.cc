#include "tools/kestrel/import_cli.h"

namespace kestrel::cli {

CLI::App* add_import_command(CLI::App& app, ImportOptions& o) {
  CLI::App* cmd = app.add_subcommand(
      "import",
      "Read a DXF drawing into the embedded CAD and copy its model space into a record file, as the host's\n"
      "whole-drawing copy does: points, polylines (arcs and circles as tagged polylines), 3D faces as\n"
      "triangles, texts, and every layer with its colour and on/off state.");
  cmd->add_option("INPUT", o.input, "DXF file to read (ASCII, R12 to R2018); \"-\": standard input")->required();
  cmd->add_option("-o,--output", o.output,
                  "Record file (.json) to write (replaced only when the import succeeds); \"-\": standard output")
      ->required();
  cmd->add_option("--cad", o.cad_label, "CAD version label the embedded CAD presents itself as")
      ->default_val(o.cad_label);
  cmd->add_flag("--skip-off-layers", o.skip_off_layers,
                "Leave out the entities of switched-off layers (the layers themselves are kept)");
  cmd->add_flag("--explode-points", o.explode_points,
                "Explode the drawing's blocks in the CAD first, copy the result, and give each point the "
                "elevation of a numeric text next to it; only layer \"PUNTOS\" stays switched on");
  cmd->add_flag("-q,--quiet", o.quiet, "No progress bar and no closing summary (warnings and errors still shown)");
  return cmd;
}

}  // namespace kestrel::cli
