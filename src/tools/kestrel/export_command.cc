#include <iostream>
#include <memory>

#include "bridge/c_kestrel.h"
#include "model/record_file.h"
#include "tools/kestrel/cad_run.h"
#include "tools/kestrel/commands.h"
#include "tools/kestrel/export_options.h"
#include "tools/kestrel/points_csv.h"
#include "tools/kestrel/terminal_services.h"

#include <unistd.h>

namespace kestrel::cli {

namespace {

bool is_csv(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".csv" || ext == ".txt";
}

// The drawing set INPUT stands for: a record file, or a points file.
model::t_Datos read_input(const std::filesystem::path& input) {
  if (!std::filesystem::exists(input)) throw std::runtime_error(input.string() + ": no such file");
  if (is_csv(input)) return model::as_drawing_set(read_points_csv(input));
  try {
    return model::as_drawing_set(model::read_record_file(input));
  } catch (const core::Error& e) {
    throw std::runtime_error(input.string() + ": " + e.description());
  }
}

}  // namespace

int run_export(const CommonOptions& common, const ExportOptions& options) {
  model::t_Datos drawings = read_input(options.input);
  const bool show_progress = !options.quiet && ::isatty(STDERR_FILENO);
  TerminalServices terminal(common.settings_file, show_progress);
  // Without a terminal nobody can answer the abort question: Ctrl-C aborts.
  terminal.message_box().set_unattended_answer(platform::kYes);

  Module module(terminal.services());
  bridge::c_Kestrel kestrel(module);
  const std::shared_ptr<memcad::Application> cad =
      connect_embedded_cad(terminal.automation(), kestrel, options.cad_label);
  if (!cad) return kExitNoSession;
  kestrel.Mete(drawings, {});
  drawings = {};  // the model holds its own copies now

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

  if (module.model.Cancelar != core::kFalse) {
    std::cerr << "kestrel: export aborted; " << options.output.string() << " was not written\n";
    return 130;
  }
  if (!generated) {
    std::cerr << "kestrel: nothing was exported; " << options.output.string() << " was not written\n";
    return 4;
  }
  return save_drawing(module, *cad, options.output, "export", options.quiet);
}

}  // namespace kestrel::cli
