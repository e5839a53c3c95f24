#include "export/triangulation.h"

#include <array>
#include <string>

#include "core/numeric.h"
#include "core/trap.h"
#include "export/progress.h"
#include "export/surface_layers.h"
#include "export/trapped.h"
#include "model/colours.h"

namespace kestrel::exporting {

namespace {

using core::Obj;
using core::Variant;
using core::VbArray;

constexpr std::int32_t kByLayer = 256;

[[noreturn]] void missing(std::int32_t t, const std::string& what) {
  throw core::Error(core::kSubscriptOutOfRange, core::kRuntimeSource,
                    core::standard_description(core::kSubscriptOutOfRange) + ": el triángulo " +
                        std::to_string(t) + " " + what);
}

// Everything one run needs per triangle.
struct Run {
  ExportContext& ctx;
  SurfaceColours& surface;
  const VbArray<std::int32_t>& colours;
  bool flat_polyline;   // Solido: a closed 2D polyline per triangle
  bool zero_z;          // Solo2D
  std::string layer;    // PrefCap + "TRI"
  Obj model_space;
  std::array<Variant, 4> corners;  // Add3DFace's arguments
  std::array<Variant, 1> outline;  // AddPolyline's argument
  std::int32_t colour_in_force = 0;
};

std::array<double, 3> vertex(const Run& run, std::int32_t t, const VbArray<std::int32_t>& list) {
  const model::DrawingModel& m = run.ctx.module.model;
  if (!list.contains(t)) missing(t, "no está en la lista de vértices");
  const std::int32_t p = list[t];
  if (!m.PtoX.contains(p) || !m.PtoY.contains(p) || !m.PtoZ.contains(p)) {
    missing(t, "nombra el punto " + std::to_string(p) + ", que no existe");
  }
  return {m.PtoX[p], m.PtoY[p], run.zero_z ? 0.0 : m.PtoZ[p] * m.DeformaZ};
}

std::int32_t own_colour(const Run& run, std::int32_t t) {
  if (!run.colours.contains(t)) missing(t, "no tiene color en la lista de colores por triángulo");
  return run.colours[t];
}

void draw_polyline(Run& run, std::int32_t t, const std::array<std::array<double, 3>, 3>& v) {
  auto& xyz = run.outline[0].as<VbArray<double>>();
  for (std::int32_t k = 0; k < 4; ++k) {
    const auto& from = v[static_cast<std::size_t>(k % 3)];
    xyz[3 * k] = from[0];
    xyz[3 * k + 1] = from[1];
    xyz[3 * k + 2] = 0;
  }
  const Obj polyline(run.model_space.call_with("AddPolyline", run.outline).to_object());
  const std::int32_t colour = own_colour(run, t);
  polyline.put("Color", colour == 0 ? kByLayer : model::Color_ACI(colour));
  polyline.put("Layer", run.layer);
}

void draw_face(Run& run, std::int32_t t, const std::array<std::array<double, 3>, 3>& v) {
  if (const std::int32_t own = own_colour(run, t); own != 0) run.colour_in_force = own;
  for (std::size_t k = 0; k < 4; ++k) {
    auto& point = run.corners[k].as<VbArray<double>>();
    const auto& from = v[k % 3];
    for (std::int32_t c = 0; c < 3; ++c) point[c] = from[static_cast<std::size_t>(c)];
  }
  const Obj face(run.model_space.call_with("Add3DFace", run.corners).to_object());
  face.put("Color", kByLayer);
  const SurfaceColours& s = run.surface;
  const std::int32_t index = s.CapaTri.contains(t) ? s.CapaTri[t] : 0;
  if (s.CapaTriOn == core::kFalse || index < 1) {
    face.put("Layer", run.layer);
    if (run.colour_in_force != 0) face.put("Color", model::Color_ACI(run.colour_in_force));
    return;
  }
  face.put("Color", kByLayer);
  face.put("Layer", run.ctx.state.CapasCreadas[index].Nombre);
}

void draw_triangle(Run& run, std::int32_t t) {
  const model::DrawingModel& m = run.ctx.module.model;
  const std::array<std::array<double, 3>, 3> v{vertex(run, t, m.TriV1), vertex(run, t, m.TriV2),
                                               vertex(run, t, m.TriV3)};
  if (run.flat_polyline) {
    draw_polyline(run, t, v);
  } else {
    draw_face(run, t, v);
  }
}

void generate(ExportContext& ctx, SurfaceColours& surface, const VbArray<std::int32_t>& colours, bool solido) {
  recolour_by_polylines(ctx, surface);
  const model::DrawingModel& m = ctx.module.model;
  Run run{ctx, surface, colours, solido, ctx.state.Solo2D != core::kFalse, ctx.state.PrefCap + "TRI",
          ctx.module.cad.EspacioModelo, {}, {}, 0};
  add_surface_layer(ctx, run.layer, surface_layer_colour(m));
  const std::int32_t count = m.NumTriangulos;
  if (count < 1) return;
  for (Variant& c : run.corners) c = Variant(VbArray<double>(0, 2));
  run.outline[0] = Variant(VbArray<double>(0, 11));
  ctx.module.services.pointer.set(platform::kPointerHourglass);
  ItemProgress progress(ctx, count, "Generando " + core::vb_str(count) + " triángulos:");
  ctx.dialog.proBarra.max = static_cast<float>(static_cast<double>(count) / progress.step() + 1);
  for (std::int32_t t = first_triangle(m); t <= count; ++t) {
    if (t % progress.step() == 0 && progress.update(t)) return;
    draw_triangle(run, t);
  }
  finish_progress(ctx);
}

}  // namespace

std::int32_t first_triangle(const model::DrawingModel& m) noexcept {
  return m.TriV1.contains(0) || m.TriV2.contains(0) || m.TriV3.contains(0) ? 0 : 1;
}

void Triangulation(ExportContext& ctx, SurfaceColours& surface, const core::VbArray<std::int32_t>& colours,
                   core::VbBool& Solido) {
  static constexpr core::TrapMessage kMessage{"Triangulacion - Error    nº ", ": "};
  core::trap(ctx.module.error_log, kMessage, [&] { generate(ctx, surface, colours, Solido != core::kFalse); });
}

}  // namespace kestrel::exporting
