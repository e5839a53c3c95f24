#include "import/blocks.h"

#include <string>
#include <vector>

#include "core/text.h"

#include "import/builders.h"
#include "import/entities.h"
#include "import/progress_form.h"
#include "import/reports.h"
#include "import/trapped.h"
#include "model/options.h"

namespace kestrel::importing {

using core::Obj;

namespace {

struct BlockTotals {
  std::int32_t named = 0;
  std::int32_t entities = 0;
};

BlockTotals count_named_blocks(const Obj& blocks) {
  BlockTotals totals;
  const std::int32_t count = blocks.get("Count").to_int32();
  for (std::int32_t b = 0; b < count; ++b) {
    const Obj block = blocks.call("Item", b).to_object();
    if (!is_named_block(block.get("Name").to_string())) continue;
    ++totals.named;
    totals.entities = core::checked_add(totals.entities, block.get("Count").to_int32());
  }
  return totals;
}

void capture_layers(ImportContext& ctx, HostProgress& progress, const Obj& document, const std::string& name) {
  model::DrawingModel& model = ctx.module.model;
  const Obj layers = document.object("Layers");
  const std::int32_t count = layers.get("Count").to_int32();
  progress.begin(count, "Analizando Capas " + ctx.state.NombreCad, name);
  model.CapasCadNombre.redim(0, count);
  model.CapasCadColor.redim(0, count);
  model.NumCapasCad = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    progress.advance();
    const Obj layer = layers.call("Item", i).to_object();
    ++model.NumCapasCad;
    model.CapasCadNombre[model.NumCapasCad] = layer.get("Name").to_string();
    model.CapasCadColor[model.NumCapasCad] = layer.get("Color").to_int32();
  }
}

std::string block_caption(const std::string& name) {
  return core::len(name) > 9 ? core::left(name, 9) + "..." : name + "...";
}

// The block's base point at index 0, where ordinary points never go.
void store_base_point(Module& module, const Obj& block) {
  model::DrawingModel& model = module.model;
  const core::VbArray<double> origin = block.get("Origin").to_double_array();
  const std::int32_t lb = origin.lbound();
  std::int16_t layer = 1;
  (void)Anade_Punto(model, origin[lb], origin[lb + 1], origin[lb + 2], layer, "Bloque");
  model.NumPuntos = 0;
  // The lists hold the base point alone until an entity adds points.
  model.PtoX.redim_preserve(0);
  model.PtoY.redim_preserve(0);
  model.PtoZ.redim_preserve(0);
  model.PtoNombre.redim_preserve(0);
  model.PtoCodigo.redim_preserve(0);
  model.PtoInfo.redim_preserve(0);
  model.PtoCapa.redim_preserve(0);
  model.PtoX[0] = origin[lb];
  model.PtoY[0] = origin[lb + 1];
  model.PtoZ[0] = origin[lb + 2];
  model.PtoNombre[0] = "Bloque";
}

void set_block_flags(model::DrawingModel& model) {
  model::Opciones& options = model.Opciones;
  options.set(model::kChkPtos, 0);
  if (model.NumPolis > 0) options.set(model::kChkPoli, 1);
  if (model.NumRotulos > 0) options.set(model::kChkText, 1);
  if (model.NumTriangulos > 0) {
    options.set(model::kTrianglesPresent, 1);
    options.set(model::kTrianglesPresent2, 1);
  }
}

void read_block(ImportContext& ctx, HostProgress& progress, const Obj& block, model::t_Dibujo& drawing) {
  Module& module = ctx.module;
  const std::string name = block.get("Name").to_string();
  progress.label(3, block_caption(name));
  Borra_Modelo(module.model);
  store_base_point(module, block);
  const std::int32_t count = block.get("Count").to_int32();
  for (std::int32_t i = 0; i < count; ++i) {
    ENTIDADES(ctx, block.call("Item", i), true);
    if ((i + 1) % 10 != 0) continue;
    progress.label(2, "Ent=" + std::to_string(i + 1) + " / " + std::to_string(count));
    module.services.pump.do_events();
  }
  set_block_flags(module.model);
  drawing = Sacar(module);
  drawing.Texto1 = kDrawingKindBlock;
  drawing.Texto2 = name;
}

model::t_Datos read_blocks(ImportContext& ctx, HostProgress& progress, const Obj& blocks, const Obj& Apli,
                           std::int32_t total) {
  model::t_Datos result;
  const std::int32_t count = blocks.get("Count").to_int32();
  const Obj bar = Apli.object("ProgressBar1");
  bar.put("Value", 0);
  bar.put("Max", progress_max(count));
  bar.put("Visible", true);
  progress.label(0, "Entidades en Bloques " + ctx.state.NombreCad);
  std::int32_t counter = 0;
  std::int32_t entities = 0;
  for (std::int32_t b = 0; b < count; ++b) {
    const Obj block = blocks.call("Item", b).to_object();
    if (!is_named_block(block.get("Name").to_string())) continue;
    entities = core::checked_add(entities, block.get("Count").to_int32());
    if (++counter > progress_max(count)) counter = 1;
    progress.label(2, "");
    progress.label(1, std::to_string(entities) + " / " + std::to_string(total));
    bar.put("Value", counter);
    ctx.module.services.pump.do_events();
    result.NuDibujos = core::checked_add(result.NuDibujos, 1);
    result.Dibujos.redim_preserve(result.NuDibujos);
    read_block(ctx, progress, block, result.Dibujos[result.NuDibujos]);
  }
  return result;
}

model::t_Datos extract_blocks(ImportContext& ctx, const Obj& Apli, core::VbBool& Sal, bool Prop) {
  Module& module = ctx.module;
  const Obj document = module.cad.Aplicacion.object("ActiveDocument");
  const Obj model_space = document.object("ModelSpace");
  (void)document.object("PaperSpace");
  module.cad.Aplicacion.put("Visible", true);
  const Obj blocks = document.object("Blocks");
  const std::int32_t entities = model_space.get("Count").to_int32();
  if (entities == 0 || blocks.get("Count").to_int32() == 0) {
    Sal = core::kTrue;
    return {};
  }
  module.services.pointer.set(platform::kPointerDefault);
  BlockTotals totals;
  if (Prop) {
    totals = count_named_blocks(blocks);
    const std::int32_t layers = Obj(document.object("Layers")).get("Count").to_int32();
    core::VbBool no_blocks = core::kFalse;
    if (Propiedades_Cad(ctx, Apli, entities, totals.named, layers, no_blocks, totals.entities)) {
      Sal = core::kTrue;
      return {};
    }
    if (no_blocks != core::kFalse) return {};
  }
  HostProgress progress(module, Apli);
  const std::string name = document.get("Name").to_string();
  capture_layers(ctx, progress, document, name);
  return read_blocks(ctx, progress, blocks, Apli, totals.entities);
}

}  // namespace

model::t_Datos Bloques_Saca(ImportContext& ctx, const Obj& Apli, core::VbBool& Sal, bool Prop) {
  model::t_Datos result;
  run_trapped(ctx.module, "Bloques_Saca - Error nº ", [&] { result = extract_blocks(ctx, Apli, Sal, Prop); });
  return result;
}

void Atributos(ImportContext& ctx) {
  run_trapped(ctx.module, "Atributos  - Error   nº ", [&] {
    const Obj document = ctx.module.cad.Aplicacion.object("ActiveDocument");
    const Obj model_space = document.object("ModelSpace");
    const std::int32_t count = model_space.get("Count").to_int32();
    // Every reference is walked; only the first with attributes is read.
    bool read = false;
    for (std::int32_t i = 0; i < count; ++i) {
      const Obj entity = model_space.call("Item", i).to_object();
      if (core::lcase(entity.get("EntityName").to_string()) != "acdbblockreference") continue;
      if (!entity.get("HasAttributes").to_bool()) continue;
      const std::vector<Obj> attributes = object_list(entity.call("GetAttributes"));
      if (read) continue;
      for (const Obj& attribute : attributes) (void)attribute.get("InsertionPoint");
      read = true;
    }
  });
}

}  // namespace kestrel::importing
