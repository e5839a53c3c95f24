#include "export/blocks.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/text.h"
#include "core/trap.h"
#include "export/block_reference.h"
#include "export/labels.h"
#include "export/layer_names.h"
#include "export/point_arguments.h"
#include "export/polylines.h"
#include "export/trapped.h"
#include "model/loading.h"

namespace kestrel::exporting {

namespace {

// A point of the current drawing as it was before any referenced drawing
// was brought into the model.
struct ReferencePoint {
  double x = 0;
  double y = 0;
  std::string code;
  bool on = false;
  std::string layer;
};

std::vector<ReferencePoint> copy_points(const model::DrawingModel& m) {
  std::vector<ReferencePoint> points;
  points.reserve(static_cast<std::size_t>(std::max(m.NumPuntos, 0)));
  for (std::int32_t i = 1; i <= m.NumPuntos; ++i) {
    const model::t_Capa& layer = m.Capas[m.PtoCapa[i]];
    points.push_back({m.PtoX[i], m.PtoY[i], m.PtoCodigo[i], layer.Encendida != core::kFalse, layer.Nombre});
  }
  return points;
}

// What one run shares between its steps.
struct BlockRun {
  BlockRun(ExportContext& ctx, std::string& step) : ctx(ctx), step(step) {}
  ExportContext& ctx;
  std::string& step;                        // tag of the step under way, for the error message
  std::int32_t current = 0;                 // DibujoActual
  std::unordered_set<std::string> defined;  // block names defined in this run
  PointArguments<2> origin{0};              // Blocks.Add(origin, name)
  PointArguments<6> insertion{0};           // InsertBlock(point, name, sx, sy, sz, rotation)
};

// Steps d to f: drawing k brought into the model and drawn into the block
// `name`, whose base point is the drawing's point 0.
void define_block(BlockRun& run, std::int32_t k, const std::string& name) {
  ExportContext& ctx = run.ctx;
  model::DrawingModel& m = ctx.module.model;
  run.step = "Saca";
  model::saca(m, m.Dibujos[k], true);
  Limpia_Capas(m);
  run.step = "Blocks.Add";
  run.origin[1] = core::Variant(name);
  const core::Obj blocks = ctx.module.cad.Documento.object("Blocks");
  ctx.state.BloqueActual = core::Obj(blocks.call_with("Add", run.origin.with_point(m.PtoX[0], m.PtoY[0], 0)).to_object());
  run.step = "Polilineas";
  core::VbBool in_block = core::kTrue;
  Autocad_Genera_Polilineas(ctx, in_block);
  run.step = "Rotulos";
  Autocad_Genera_Rotulos_Bloques(ctx);
}

void insert_block(BlockRun& run, const ReferencePoint& p, const std::string& name, double scale, double grads) {
  run.step = "InsertBlock";
  run.insertion[1] = core::Variant(name);
  for (std::size_t a = 2; a <= 4; ++a) run.insertion[a] = core::Variant(scale);
  run.insertion[5] = core::Variant(block_insertion_rotation(grads));
  const core::Obj space = run.ctx.module.cad.Documento.object("ModelSpace");
  const core::Obj reference(space.call_with("InsertBlock", run.insertion.with_point(p.x, p.y, 0)).to_object());
  run.step = "Layer";
  reference.put("Layer", p.layer);
}

void place_reference(BlockRun& run, const ReferencePoint& p, std::int32_t i) {
  model::DrawingModel& m = run.ctx.module.model;
  run.ctx.dialog.Chk_Capas.caption = "Insertando Bloque " + core::mid(p.code, 3) + " en pto nº " + std::to_string(i);
  run.step = "Referencia";
  std::string code = p.code;
  std::string name;
  double grads = 0;
  double scale = 1;
  Lee_Referencia_Bloque(code, name, grads, scale);
  std::int32_t k = Busca_Dibujo(m, name).to_int32();
  if (k == 0 || k > m.NumDibujos || k == run.current) return;
  Limpia_Nombre_Bloque(name, k);
  // Blocks.Add of a name the drawing has returns that block: defining it
  // again would append the drawing's entities a second time.
  if (run.defined.insert(name).second) define_block(run, k, name);
  insert_block(run, p, name, scale, grads);
}

void create_blocks(BlockRun& run, bool& stored) {
  model::DrawingModel& m = run.ctx.module.model;
  if (m.NumBloques == 0 || m.NumDibujos <= 1) return;
  run.step = "Haz";
  model::haz(m);
  stored = true;
  run.current = m.DibujoActual;
  run.step = "Puntos";
  const std::vector<ReferencePoint> points = copy_points(m);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const ReferencePoint& p = points[i];
    if (p.on && is_block_reference(p.code)) place_reference(run, p, static_cast<std::int32_t>(i + 1));
  }
}

void report(ExportContext& ctx, const std::string& step, const core::Error& e) {
  const std::string message = "Autocad_crea_Bloques en " + step + " - Error nº  " + std::to_string(e.number()) + " " +
                              e.description() + " " + ctx.module.model.MsgVersion;
  log_error(ctx.module, message, e);
}

}  // namespace

void Autocad_crea_Bloques(ExportContext& ctx) {
  std::string step;
  BlockRun run(ctx, step);
  bool stored = false;
  run_trapped([&] { create_blocks(run, stored); }, [&](const core::Error& e) { report(ctx, step, e); });
  // The current drawing comes back whatever happened, with the options it
  // was stored with.
  model::DrawingModel& m = ctx.module.model;
  if (stored) model::saca(m, m.Dibujos[run.current], false);
  ctx.state.BloqueActual = core::Obj();
}

void Autocad_genera_Bloques(ExportContext& ctx) { Autocad_crea_Bloques(ctx); }

void Autocad_Genera_Rotulos_Bloques(ExportContext& ctx) { Autocad_Genera_Rotulos(ctx, core::kTrue); }

}  // namespace kestrel::exporting
