#include "tools/kestrel/export_cli.h"

namespace kestrel::cli {

namespace {

// --NAME / --no-NAME into an optional Boolean.
void add_switch(CLI::App& cmd, const std::string& name, std::optional<bool>& target, const std::string& help) {
  cmd.add_flag_function("--" + name + ",!--no-" + name, [&target](std::int64_t n) { target = n > 0; }, help);
}

template <class T>
void add_value(CLI::App& cmd, const std::string& name, std::optional<T>& target, const std::string& help) {
  cmd.add_option_function<T>(name, [&target](const T& v) { target = v; }, help);
}

}  // namespace

CLI::App* add_export_command(CLI::App& app, ExportOptions& o) {
  CLI::App* cmd = app.add_subcommand(
      "export",
      "Generate a drawing in the embedded CAD through the export dialog and save it as DXF.\n"
      "INPUT is a record file (JSON t_Datos or t_Dibujo) or a points file (.csv/.txt: name, x, y, z[, code]).\n"
      "Choices not given keep what the dialog shows: the drawing's own flags and the saved options.");
  cmd->add_option("INPUT", o.input,
                  "Record file (.json) or points file (.csv, .txt); \"-\": standard input (JSON or points)")
      ->required();
  cmd->add_option("-o,--output", o.output,
                  "DXF file to write (replaced only when the export succeeds); \"-\": standard output")
      ->required();
  cmd->add_option("--cad", o.cad_label, "CAD version label the embedded CAD presents itself as")
      ->default_val(o.cad_label);
  cmd->add_flag("-q,--quiet", o.quiet, "No progress bar and no closing message (warnings and errors still shown)");

  add_switch(*cmd, "points", o.points, "Generate the points (chkPtos)");
  add_switch(*cmd, "polylines", o.polylines, "Generate polylines, arcs and circles (chkPoli)");
  add_switch(*cmd, "hatches", o.hatches, "Hatch closed polylines (--no-hatches ticks \"No hacer sombreados\")");
  add_switch(*cmd, "contours", o.contours, "Generate the contours (chkCurv)");
  add_switch(*cmd, "texts", o.texts, "Generate the drawing's texts (chkText)");
  add_switch(*cmd, "blocks", o.blocks, "Insert the blocks referenced by point codes (chkBlo)");
  add_value(*cmd, "--triangles", o.triangles, "Triangulation: none, 3d, 3d-rendered, 2d-solid, 2d-rendered");
  cmd->get_option("--triangles")->check(CLI::IsMember(kTriangleModes));
  cmd->add_flag_function("--3d,!--2d", [&o](std::int64_t n) { o.three_d = n > 0; }, "Entities in 3D or in 2D");
  add_value(*cmd, "--z-exaggeration", o.z_exaggeration, "Vertical exaggeration in 3D: 1 2 3 4 5 10 20 30");
  cmd->get_option("--z-exaggeration")->check(CLI::IsMember(kExaggerations));
  add_value(*cmd, "--layer-prefix", o.layer_prefix, "Put TEXT in front of every layer name (\"\" for none)");
  cmd->add_flag("--skip-off-layers", o.skip_off_layers, "Do not create switched-off layers nor their entities");
  cmd->add_option("--quads", o.quads,
                  "Coloured quads for --triangles 3d-rendered / 2d-rendered (a kestrel-quads JSON file)");
  cmd->add_flag("--colour-by-areas", o.colour_by_areas,
                "3D triangles take the layer of the smallest closed polyline around them (off layers and code -200 "
                "excepted)");

  cmd->add_option_function<std::vector<std::string>>(
         "--labels", [&o](const std::vector<std::string>& v) { o.labels = v; },
         "Point labels, comma-separated: name,number,code,x,y,z")
      ->delimiter(',')
      ->check(CLI::IsMember(kLabelKinds));
  cmd->add_flag_function("--no-labels", [&o](std::int64_t) { o.labels = std::vector<std::string>{}; },
                         "No point labels");
  add_value(*cmd, "--decimals-x", o.decimals_x, "Decimals of X labels");
  add_value(*cmd, "--decimals-y", o.decimals_y, "Decimals of Y labels");
  add_value(*cmd, "--decimals-z", o.decimals_z, "Decimals of elevation labels");
  add_value(*cmd, "--label-height", o.label_height, "Label text height in drawing units (also PDSIZE)");
  add_value(*cmd, "--orientation", o.orientation, "Label orientation: horizontal or vertical");
  cmd->get_option("--orientation")->check(CLI::IsMember({"horizontal", "vertical"}));
  add_switch(*cmd, "label-layers", o.label_layers, "Put each kind of label on a layer of its own (P_Nombre ...)");
  return cmd;
}

}  // namespace kestrel::cli
