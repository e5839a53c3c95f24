#include "export/coloured_surface.h"

#include <array>
#include <string>

#include "core/trap.h"
#include "export/color_true.h"
#include "export/progress.h"
#include "export/surface_layers.h"

namespace kestrel::exporting {

namespace {

using core::Obj;
using core::Variant;
using core::VbArray;

constexpr std::int32_t kQuadUpdatesPerRun = 100;
constexpr std::int16_t kPredefinedPattern = 0;  // the pattern type the hatch generator uses too

struct Run {
  ExportContext& ctx;
  const ColouredQuads& quads;
  bool zero_z;
  std::string layer;  // "TRI" or "Sombreado"
  Obj model_space;
  std::array<Variant, 4> corners;  // Add3DFace's arguments
  std::array<Variant, 1> outline;  // AddPolyline's argument
};

// The quad's colour, packed red + 256 green + 65536 blue, as the CAD's
// true-colour object, which the entity then takes.
void paint(const Run& run, const Obj& entity, std::int32_t packed) {
  const Obj& colour = run.ctx.state.ColorObject;
  colour.call("SetRGB", packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
  entity.put("TrueColor", Variant(colour.ref()));
}

void draw_face(Run& run, std::int32_t i) {
  const ColouredQuads& q = run.quads;
  const double deform = run.ctx.module.model.DeformaZ;
  for (std::size_t k = 0; k < 4; ++k) {
    auto& point = run.corners[k].as<VbArray<double>>();
    point[0] = q.Vx[k][i];
    point[1] = q.Vy[k][i];
    point[2] = run.zero_z ? 0.0 : q.Vz[k][i] * deform;
  }
  const Obj face(run.model_space.call_with("Add3DFace", run.corners).to_object());
  face.put("Layer", run.layer);
  paint(run, face, q.Vc1[i]);
}

void draw_fill(Run& run, std::int32_t i) {
  const ColouredQuads& q = run.quads;
  auto& xyz = run.outline[0].as<VbArray<double>>();
  for (std::int32_t k = 0; k < 5; ++k) {
    const auto corner = static_cast<std::size_t>(k % 4);
    xyz[3 * k] = q.Vx[corner][i];
    xyz[3 * k + 1] = q.Vy[corner][i];
    xyz[3 * k + 2] = 0;
  }
  // The fill keeps the outline's geometry; the outline itself is not wanted.
  const Obj outline(run.model_space.call_with("AddPolyline", run.outline).to_object());
  const Obj fill(run.model_space.call("AddHatch", kPredefinedPattern, std::string("SOLID"), false).to_object());
  fill.call("AppendOuterLoop", VbArray<core::ObjectRef>(0, {outline.ref()}));
  outline.call("Delete");
  fill.put("Layer", run.layer);
  paint(run, fill, q.Vc1[i]);
}

void generate(ExportContext& ctx, SurfaceColours& surface, bool solido) {
  recolour_by_polylines(ctx, surface);
  Color_True(ctx.module, ctx.state);
  const model::DrawingModel& m = ctx.module.model;
  const std::string tri = ctx.state.PrefCap + "TRI";
  const std::string shade = ctx.state.PrefCap + "Sombreado";
  add_surface_layer(ctx, tri, surface_layer_colour(m));
  if (solido) Obj(ctx.module.cad.Documento.object("Layers").call("Add", shade).to_object()).put("LayerOn", true);
  if (m.NumTriangulos < 1) return;
  const ColouredQuads& q = surface.quads;
  Run run{ctx, q, ctx.state.Solo2D != core::kFalse, solido ? shade : tri, ctx.module.cad.EspacioModelo, {}, {}};
  for (Variant& c : run.corners) c = Variant(VbArray<double>(0, 2));
  run.outline[0] = Variant(VbArray<double>(0, 14));
  ctx.module.services.pointer.set(platform::kPointerHourglass);
  const std::int32_t step = std::max(q.Vn1 / kQuadUpdatesPerRun, 1);
  Control& bar = ctx.dialog.proBarra;
  bar.visible = true;
  bar.min = 0;
  bar.max = static_cast<float>(static_cast<double>(q.Vn1) / step);
  ctx.dialog.labMandando.caption = "Generando " + std::to_string(q.Vn1) + " Triangulos en colores:";
  ctx.dialog.refresh();
  for (std::int32_t i = 1; i <= q.Vn1; ++i) {
    if (i % step == 0) {
      bar.value = i / step;
      ctx.dialog.labMandando.caption =
          "Generando " + core::vb_str(i) + " de" + core::vb_str(q.Vn1) + " triángulos en color:";
      ctx.module.services.pump.do_events();
      if (m.Cancelar != core::kFalse) return;
    }
    if (solido) {
      draw_fill(run, i);
    } else {
      draw_face(run, i);
    }
  }
  finish_progress(ctx);
}

}  // namespace

void Triangulacion_curvado(ExportContext& ctx, SurfaceColours& surface, core::VbBool& Solido) {
  static constexpr core::TrapMessage kMessage{"Triangulacion curvado - Error    nº ", ": "};
  core::trap(ctx.module.error_log, kMessage, [&] { generate(ctx, surface, Solido != core::kFalse); });
}

}  // namespace kestrel::exporting
