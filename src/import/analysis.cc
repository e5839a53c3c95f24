// `Analiza__Todo`: the census of the whole active drawing and its report.
#include <algorithm>
#include <string>

#include "import/copy_all.h"
#include "import/entities.h"
#include "import/progress_form.h"
#include "import/reports.h"
#include "import/trapped.h"

namespace kestrel::importing {

using core::Obj;

namespace {

void append_plan_drawing(ImportContext& ctx, const std::string& name) {
  model::t_Datos& set = ctx.state.Datos;
  set.NuDibujos = core::checked_add(set.NuDibujos, 1);
  set.Dibujos.redim_preserve(set.NuDibujos);
  set.Dibujos[set.NuDibujos].Texto1 = kDrawingKindPlan;
  set.Dibujos[set.NuDibujos].Texto2 = name;
}

// Counts every entity of the named blocks; answers how many blocks.
std::int32_t count_blocks(ImportContext& ctx, HostProgress& progress, const Obj& blocks, const Obj& form) {
  const std::int32_t count = blocks.get("Count").to_int32();
  const Obj bar = form.object("ProgressBar1");
  bar.put("Max", progress_max(count));
  std::int32_t named = 0;
  for (std::int32_t b = 0; b < count; ++b) {
    const Obj block = blocks.call("Item", b).to_object();
    if (!is_named_block(block.get("Name").to_string())) continue;
    ++named;
    bar.put("Value", std::min(b + 1, progress_max(count)));
    const std::int32_t entities = block.get("Count").to_int32();
    for (std::int32_t i = 0; i < entities; ++i) {
      Entidades_ver(ctx, block.call("Item", i));
      if ((i + 1) % 10 != 0) continue;
      progress.label(2, "Ent=" + std::to_string(i + 1) + " / " + std::to_string(entities));
      ctx.module.services.pump.do_events();
    }
  }
  return named;
}

void count_model_space(ImportContext& ctx, HostProgress& progress, const Obj& model_space, const std::string& name) {
  const std::int32_t count = model_space.get("Count").to_int32();
  progress.begin(count, "Analizando Entidades ", name);
  for (std::int32_t i = 0; i < count; ++i) {
    progress.advance();
    Entidades_ver(ctx, model_space.call("Item", i));
  }
  progress.hide();
  progress.show_and_focus();
}

}  // namespace

void Analiza__Todo(ImportContext& ctx, const Obj& Apli, core::VbBool& Salir) {
  run_trapped(ctx.module, "Analiza__Todo - Error    nº ", [&] {
    Module& module = ctx.module;
    const Obj document = module.cad.Aplicacion.object("ActiveDocument");
    const std::string name = document.get("Name").to_string();
    append_plan_drawing(ctx, name);
    module.cad.Aplicacion.put("Visible", true);
    // Each analysis counts afresh; the snapshot taken between the two walks
    // holds what lies inside blocks, so the report can split the drawing.
    ctx.state.census = {};
    HostProgress progress(module, Apli);
    progress.label(0, "Analizando Bloques ");
    progress.label(3, short_document_name(name));
    const Obj blocks = document.object("Blocks");
    const std::int32_t named = count_blocks(ctx, progress, blocks, Apli);
    ctx.state.snapshot = ctx.state.census;
    const Obj model_space = document.object("ModelSpace");
    count_model_space(ctx, progress, model_space, name);
    module.services.pointer.set(platform::kPointerDefault);
    if (Salir != core::kFalse) return;
    const std::int32_t entities = model_space.get("Count").to_int32();
    const std::int32_t layers = Obj(document.object("Layers")).get("Count").to_int32();
    if (Propiedades_Cad_Ver(ctx, entities, named, layers) || entities == 0) Salir = core::kTrue;
  });
}

}  // namespace kestrel::importing
