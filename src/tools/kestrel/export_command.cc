#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <memory>

#include "bridge/c_kestrel.h"
#include "core/error.h"
#include "recordfile/record_file.h"
#include "tools/kestrel/cad_run.h"
#include "tools/kestrel/cli_files.h"
#include "tools/kestrel/commands.h"
#include "tools/kestrel/export_options.h"
#include "tools/kestrel/points_csv.h"
#include "tools/kestrel/quads_file.h"
#include "tools/kestrel/terminal_services.h"

namespace kestrel::cli {

namespace {

constexpr int kExitNothingExported = 4;

bool has_extension(const std::filesystem::path& file, std::initializer_list<std::string_view> extensions) {
  std::string ext = file.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return std::find(extensions.begin(), extensions.end(), ext) != extensions.end();
}

// A record file is JSON: its first non-blank character opens an object.
bool looks_like_json(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const auto first = text.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && text[first] == '{';
}

// The drawing set INPUT stands for: a record file, or a points file
// (".csv"/".txt", or standard input that is not JSON).
model::t_Datos read_drawings(const std::filesystem::path& input) {
  const std::string name = input_name(input);
  try {
    // A record file is read straight into the parser's buffer.
    if (!is_standard_stream(input) && !has_extension(input, {".csv", ".txt"})) {
      return model::as_drawing_set(model::read_record_file(input));
    }
    const std::string text = read_input(input);
    if (!is_standard_stream(input) || !looks_like_json(text)) {
      return model::as_drawing_set(parse_points_csv(text, name));
    }
    return model::as_drawing_set(model::from_json(text));
  } catch (const core::Error& e) {
    throw std::runtime_error(name + ": " + e.description());
  }
}

// The triangle count of the drawing `Mete` selects (the current one, or the
// last when the current is beyond the set); 0 when there is none.
std::int32_t selected_triangles(const model::t_Datos& set) {
  const std::int32_t current = std::min(set.DibujoAct, set.NuDibujos);
  return set.Dibujos.contains(current) ? set.Dibujos[current].Nutria : 0;
}

void hand_over(bridge::c_Kestrel& kestrel, exporting::ColouredQuads& q) {
  kestrel.A_Colores(q.Vn1, q.Vc1, q.Vx[0], q.Vy[0], q.Vz[0], q.Vx[1], q.Vy[1], q.Vz[1], q.Vx[2], q.Vy[2], q.Vz[2],
                    q.Vx[3], q.Vy[3], q.Vz[3]);
}

}  // namespace

int run_export(const CommonOptions& common, const ExportOptions& options) {
  check_input(options.input);
  platform::SafeFileOutput output = open_output(options.output, options.input);
  model::t_Datos drawings = read_drawings(options.input);
  exporting::ColouredQuads quads;
  if (!options.quads.empty()) quads = read_quads_file(options.quads);
  const bool show_progress = !options.quiet && ::isatty(STDERR_FILENO);
  TerminalServices terminal(common.settings_file, show_progress);
  // Without a terminal nobody can answer the abort question: Ctrl-C aborts.
  terminal.message_box().set_unattended_answer(platform::kYes);

  Module module(terminal.services());
  bridge::c_Kestrel kestrel(module);
  const std::shared_ptr<memcad::Application> cad =
      connect_embedded_cad(terminal.automation(), kestrel, options.cad_label);
  if (!cad) return kExitNoSession;
  // As the host does, a per-triangle colour for every triangle: none of its own.
  kestrel.Mete(drawings, core::VbArray<std::int32_t>(0, std::max(selected_triangles(drawings), 0)));
  drawings = {};  // the model holds its own copies now
  if (options.colour_by_areas) kestrel.A_Color_Tri({});
  if (quads.Vn1 > 0) hand_over(kestrel, quads);

  bool generated = false;
  exporting::f_Acad& dialog = kestrel.aCad();
  terminal.pump().watch(&dialog.proBarra, &dialog.labMandando);
  terminal.dialogs().set_user([&](platform::Form&) {
    apply_to_dialog(options, dialog);
    dialog.click("cmdDatosaceptar");
    generated = true;
  });
  kestrel.A_Show_Seleccion_datos1();
  terminal.pump().finish();

  if (module.error_log.ran_out_of_memory()) {
    std::cerr << "kestrel: out of memory; " << output.target().string() << " was not written\n";
    return kExitEngineErrors;
  }
  if (module.model.Cancelar != core::kFalse) {
    std::cerr << "kestrel: export aborted; " << output.target().string() << " was not written\n";
    return platform::kInterruptedExitCode;
  }
  if (!generated) {
    std::cerr << "kestrel: nothing was exported; " << output.target().string() << " was not written\n";
    return kExitNothingExported;
  }
  return save_drawing(module, *cad, output, "export", options.quiet);
}

}  // namespace kestrel::cli
