#include "tools/kestrel/profile_cli.h"

#include "core/numeric.h"

namespace kestrel::cli {

namespace {

// "X,Y" into a point; a message for anything else.
std::string parse_point(const std::string& text, std::array<double, 2>& point) {
  const auto comma = text.find(',');
  if (comma == std::string::npos) return "expected X,Y (for example 500,300)";
  const auto x = core::parse_number(text.substr(0, comma));
  const auto y = core::parse_number(text.substr(comma + 1));
  if (!x || !y) return "expected X,Y with two numbers and \".\" as decimal point, found \"" + text + "\"";
  point = {*x, *y};
  return {};
}

}  // namespace

CLI::App* add_profile_command(CLI::App& app, ProfileOptions& o) {
  CLI::App* cmd = app.add_subcommand(
      "profile",
      "Draw a longitudinal profile as one 3D polyline, as the host's Dibuja_perfil does, and save it as DXF.\n"
      "INPUT has one point a line: chainage, elevation (\",\" or \";\" between them, \".\" as decimal point,\n"
      "an optional header line, at least 2 points). One unit of chainage or elevation is one drawing unit;\n"
      "the first point lands on the insertion point.");
  cmd->add_option("INPUT", o.input, "Profile file (.csv, .txt): chainage, elevation; \"-\": standard input")
      ->required();
  cmd->add_option("-o,--output", o.output,
                  "DXF file to write (replaced only when the drawing succeeds); \"-\": standard output")
      ->required();
  cmd->add_option_function<std::string>(
         "--at",
         [&o](const std::string& text) {
           std::array<double, 2> point{};
           if (const std::string problem = parse_point(text, point); !problem.empty()) {
             throw CLI::ValidationError("--at", problem);
           }
           o.at = point;
         },
         "Insertion point X,Y answered to the CAD's point pick (default: the first point's chainage,elevation)")
      ->type_name("X,Y");
  cmd->add_option("--cad", o.cad_label, "CAD version label the embedded CAD presents itself as")
      ->default_val(o.cad_label);
  cmd->add_flag("-q,--quiet", o.quiet, "No closing message (warnings and errors still shown)");
  return cmd;
}

}  // namespace kestrel::cli
