#include <unistd.h>

#include <iostream>
#include <memory>

#include "bridge/c_kestrel.h"
#include "cad/dxf/dxf.h"
#include "model/record_file.h"
#include "tools/kestrel/cad_install.h"
#include "tools/kestrel/cad_run.h"
#include "tools/kestrel/cli_files.h"
#include "tools/kestrel/commands.h"
#include "tools/kestrel/host_progress_form.h"
#include "tools/kestrel/terminal_services.h"

namespace kestrel::cli {

namespace {

constexpr int kExitEmptyDrawing = 4;

std::shared_ptr<memcad::Document> read_drawing(const std::filesystem::path& input) {
  dxf::LoadReport report;
  std::shared_ptr<memcad::Document> drawing;
  try {
    drawing = is_standard_stream(input) ? dxf::load_dxf_text(read_input(input), input_name(input), &report)
                                        : dxf::load_dxf(input, &report);
  } catch (const core::Error& e) {
    throw std::runtime_error(e.description());
  }
  if (!report.unknown_entities.empty()) {
    std::string kinds;
    for (const auto& [kind, count] : report.unknown_entities) {
      kinds += (kinds.empty() ? "" : ", ") + kind + " " + std::to_string(count);
    }
    std::cerr << "kestrel: " << input_name(input) << ": entities of kinds that are not read, left out (blocks included): "
              << kinds << "\n";
  }
  return drawing;
}

// The copy, as the host runs it. With `explode`, the explode pass runs
// first (blocks opened in the CAD) and again over the copied drawing, whose
// points then take their elevations from nearby texts.
model::t_Datos copy_drawing(bridge::c_Kestrel& kestrel, const core::Obj& form, bool explode, bool& empty) {
  std::string ff;
  core::VbBool no = core::kFalse;
  core::VbBool salir = core::kFalse;
  if (explode) (void)kestrel.Dexompon_Zombie(form, ff);
  model::t_Datos set = kestrel.Copia__Todo(form, ff, no, salir, no);
  empty = salir != core::kFalse;
  if (explode && !empty && set.NuDibujos == 1) {
    model::t_Dibujo& drawing = set.Dibujos[1];
    const std::size_t errors_before = kestrel.module().error_log.count();
    model::t_Dibujo with_elevations = kestrel.Dexompon_Zombie(form, ff);
    // A failed pass answers an empty drawing: that is no import.
    if (kestrel.module().error_log.count() != errors_before) return {};
    with_elevations.Texto1 = drawing.Texto1;
    with_elevations.Texto2 = drawing.Texto2;
    drawing = std::move(with_elevations);
  }
  return set;
}

void print_summary(const std::filesystem::path& output, const model::t_Dibujo& d) {
  std::cerr << "kestrel: wrote " << output.string() << ": " << d.NuPun << " points, " << d.NuPolis
            << " polylines, " << d.Nutria << " triangles, " << d.NuRotulos << " texts, " << d.nuCapas
            << " layers\n";
}

}  // namespace

int run_import(const CommonOptions& common, const ImportOptions& options) {
  check_input(options.input);
  platform::SafeFileOutput output = open_output(options.output, options.input);
  std::shared_ptr<memcad::Document> drawing = read_drawing(options.input);
  const bool show_progress = !options.quiet && ::isatty(STDERR_FILENO);
  TerminalServices terminal(common.settings_file, show_progress);
  terminal.message_box().set_unattended_answer(platform::kYes);

  // The application the session creates opens the drawing read from INPUT.
  bool opened = false;
  install_memcad(terminal.automation(), options.cad_label,
                 [&drawing, &opened](const std::shared_ptr<memcad::Application>& app) {
                   app->open_document(drawing);
                   opened = true;
                 });
  Module module(terminal.services());
  bridge::c_Kestrel kestrel(module);
  core::VbBool sigue = core::kFalse;
  kestrel.IniciaAutocad(sigue, options.cad_label);
  if (sigue == core::kFalse || !opened) {
    std::cerr << "kestrel: no CAD session could be opened for \"" << options.cad_label << "\"\n";
    return kExitNoSession;
  }
  if (options.skip_off_layers) kestrel.import_state().CopiarDesactivadas = "0";

  const std::shared_ptr<HostProgressForm> form = HostProgressForm::create();
  terminal.pump().watch(&form->bar(), &form->status());
  bool empty = false;
  const std::size_t errors_before = module.error_log.count();
  model::t_Datos set = copy_drawing(kestrel, core::Obj(form), options.explode_points, empty);
  terminal.pump().finish();

  if (empty) {
    std::cerr << "kestrel: " << input_name(options.input) << ": the model space is empty; "
              << output.target().string() << " was not written\n";
    return kExitEmptyDrawing;
  }
  if (set.NuDibujos != 1) {
    std::cerr << "kestrel: the copy failed; " << output.target().string() << " was not written\n";
    return kExitEngineErrors;
  }
  // The copy leaves the set's current drawing unset, as the host sets it;
  // the file names its one drawing, so that it exports as it is.
  set.DibujoAct = 1;
  try {
    model::write_json(output, set);
    output.commit();
  } catch (const core::Error& e) {
    std::cerr << "kestrel: " << e.description() << "\n";
    return kExitNotWritable;
  }
  if (const std::size_t errors = module.error_log.count() - errors_before; errors > 0) {
    std::cerr << "kestrel: " << errors << " error" << (errors == 1 ? "" : "s")
              << " while reading entities (listed above); what could not be read was left out\n";
  }
  if (!options.quiet) print_summary(output.target(), set.Dibujos[1]);
  return kExitWritten;
}

}  // namespace kestrel::cli
