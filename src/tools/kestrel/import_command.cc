#include <unistd.h>

#include <iostream>
#include <memory>
#include <thread>

#include "cad/memcad/pick_box.h"
#include "cad/memcad/picker.h"
#include "import/reports.h"
#include "recordfile/record_file.h"
#include "platform/posix/interrupts.h"
#include "platform/report_window.h"
#include "tools/kestrel/cad_documents.h"
#include "tools/kestrel/cad_run.h"
#include "tools/kestrel/cli_files.h"
#include "tools/kestrel/commands.h"

namespace kestrel::cli {

namespace {

constexpr int kExitEmptyDrawing = 4;

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

// Who answers the copy confirmation: the person at the terminal with
// --confirm, else the flags.
void answer_reports(CadDocuments& run, const ImportOptions& options) {
  const bool interactive = options.confirm && ::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO);
  run.terminal().dialogs().set_user([&options, interactive](platform::Form& form) {
    auto* report = dynamic_cast<platform::ReportWindow*>(&form);
    if (!report) return;
    if (options.skip_off_layers) report->set_checked(importing::kOptionCopyOffLayers, false);
    if (options.copy_off_layers) report->set_checked(importing::kOptionCopyOffLayers, true);
    if (options.no_blocks) report->set_checked(importing::kOptionCopyBlocks, false);
    if (interactive) return platform::answer_report(*report, std::cin, std::cerr);
    if (options.confirm && !options.quiet) platform::write_report(std::cerr, *report);
  });
}

// The whole model space, after the copy confirmation when asked.
model::t_Datos copy_whole(CadDocuments& run, const ImportOptions& options, bool& empty) {
  bridge::c_Kestrel& kestrel = run.kestrel();
  if (options.confirm) {
    memcad::Document& doc = *run.application()->active_document();
    std::int32_t entities = static_cast<std::int32_t>(doc.model_space().size());
    std::int32_t blocks = 0;
    std::int32_t in_blocks = 0;
    for (const auto& block : doc.blocks().items()) {
      if (!importing::is_named_block(block->name())) continue;
      ++blocks;
      in_blocks += static_cast<std::int32_t>(block->size());
    }
    std::int32_t layers = static_cast<std::int32_t>(doc.layers().size());
    core::VbBool no_blocks = core::kFalse;
    if (kestrel.Propiedades_Cad(run.form(), entities, blocks, layers, no_blocks, &in_blocks)) return {};
  }
  return copy_drawing(kestrel, run.form(), options.explode_points, empty);
}

model::t_Datos copy_window(CadDocuments& run, const ImportOptions& options) {
  const auto& w = *options.window;
  auto picker = std::make_shared<memcad::ScriptedPicker>();
  picker->push_selection([w](memcad::Document& doc) {
    return memcad::entities_in_window(doc.model_space(), {w[0], w[1], 0}, {w[2], w[3], 0});
  });
  run.application()->set_picker(picker);
  std::string keyword = "Seleccion";
  core::VbBool salir = core::kFalse;
  return run.kestrel().Copia_Todo3(run.form(), keyword, salir);
}

model::t_Datos copy_picked(CadDocuments& run, const ImportOptions& options) {
  const auto& p = *options.pick;
  auto picker = std::make_shared<memcad::ScriptedPicker>();
  memcad::Document& doc = *run.application()->active_document();
  const memcad::Vec3 at{p[0], p[1], 0};
  if (auto entity = memcad::entity_at(doc.model_space(), at, options.pick_box)) {
    picker->push_entity(std::move(entity), at);
  } else {
    std::cerr << "kestrel: nothing within the pick box at " << p[0] << "," << p[1] << "\n";
    return {};
  }
  run.application()->set_picker(picker);
  const std::size_t errors_before = run.module().error_log.count();
  model::t_Dibujo drawing = run.kestrel().Copia_Pol(run.form());
  if (run.module().error_log.count() != errors_before || drawing.NuPolis + drawing.NuPun == 0) return {};
  model::t_Datos set;
  set.NuDibujos = 1;
  set.Dibujos.redim(0, 1);
  set.Dibujos[1] = std::move(drawing);
  set.Dibujos[1].Texto1 = "PLANTA";
  set.Dibujos[1].Texto2 = doc.name();
  return set;
}

model::t_Datos copy_documents(CadDocuments& run, const ImportOptions& options) {
  core::VbBool salir = core::kFalse;
  if (options.inputs.size() == 1) return run.kestrel().Lee_Document(run.form(), salir);
  return run.kestrel().Lee_Documents(run.form(), salir);
}

void print_summary(const std::filesystem::path& output, const model::t_Datos& set) {
  for (std::int32_t i = 1; i <= set.NuDibujos; ++i) {
    const model::t_Dibujo& d = set.Dibujos[i];
    std::cerr << "kestrel: wrote " << output.string();
    if (set.NuDibujos > 1) std::cerr << " [" << i << "] " << d.Texto1 << " " << d.Texto2;
    std::cerr << ": " << d.NuPun << " points, " << d.NuPolis << " polylines, " << d.Nutria << " triangles, "
              << d.NuRotulos << " texts, " << d.nuCapas << " layers\n";
  }
}

// The plan comes last; exported again, the file draws it.
std::int32_t chosen_drawing(const model::t_Datos& set) {
  for (std::int32_t i = set.NuDibujos; i >= 1; --i) {
    if (set.Dibujos[i].Texto1 == "PLANTA") return i;
  }
  return set.NuDibujos;
}

// Freeing a drawing of millions of entities takes about half as long as
// writing its records: another thread frees it meanwhile. That thread starts
// with interrupts blocked, so they all reach this one, whose rename of the
// output defers them.
std::jthread release_beside(std::unique_ptr<CadDocuments> run) {
  const platform::InterruptsDeferred deferred;
  return std::jthread([doomed = std::move(run)]() mutable { doomed.reset(); });
}

}  // namespace

int run_import(const CommonOptions& common, const ImportOptions& options) {
  if (options.inputs.size() > 1 && !options.blocks) {
    std::cerr << "kestrel: several INPUT files are read only with --blocks\n";
    return kExitBadInput;
  }
  for (const auto& input : options.inputs) check_input(input);
  platform::SafeFileOutput output = open_output(options.output, options.inputs.front());
  std::vector<std::shared_ptr<memcad::Document>> drawings;
  for (const auto& input : options.inputs) drawings.push_back(read_drawing(input));
  const bool show_progress = !options.quiet && ::isatty(STDERR_FILENO);
  auto run = std::make_unique<CadDocuments>(common, show_progress, std::move(drawings));
  if (!run->connect(options.cad_label)) return kExitNoSession;
  if (options.skip_off_layers) run->kestrel().import_state().CopiarDesactivadas = "0";
  answer_reports(*run, options);

  run->watch_progress();
  bool empty = false;
  const std::size_t errors_before = run->module().error_log.count();
  model::t_Datos set = options.blocks   ? copy_documents(*run, options)
                       : options.window ? copy_window(*run, options)
                       : options.pick   ? copy_picked(*run, options)
                                        : copy_whole(*run, options, empty);
  run->finish_progress();

  if (empty) {
    std::cerr << "kestrel: " << input_name(options.inputs.front()) << ": the model space is empty; "
              << output.target().string() << " was not written\n";
    return kExitEmptyDrawing;
  }
  if (set.NuDibujos < 1) {
    std::cerr << "kestrel: nothing was copied; " << output.target().string() << " was not written\n";
    return options.blocks || options.window || options.pick || options.confirm ? kExitEmptyDrawing
                                                                             : kExitEngineErrors;
  }
  // The copies leave the set's current drawing unset, as the host sets it;
  // the file names the plan, so that it exports as it is.
  set.DibujoAct = chosen_drawing(set);
  const std::size_t errors = run->module().error_log.count() - errors_before;
  const std::jthread release = release_beside(std::move(run));
  try {
    model::write_json(output, set);
    output.commit();
  } catch (const core::Error& e) {
    std::cerr << "kestrel: " << e.description() << "\n";
    return kExitNotWritable;
  }
  if (errors > 0) {
    std::cerr << "kestrel: " << errors << " error" << (errors == 1 ? "" : "s")
              << " while reading entities (listed above); what could not be read was left out\n";
  }
  if (!options.quiet) print_summary(output.target(), set);
  return kExitWritten;
}

}  // namespace kestrel::cli
