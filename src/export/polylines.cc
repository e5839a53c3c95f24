#include "export/polylines.h"

#include <array>
#include <cmath>
#include <span>
#include <string>

#include "core/trap.h"
#include "export/arc_three_points.h"
#include "export/color_true.h"
#include "export/hatch.h"
#include "export/layer_names.h"
#include "export/layers.h"
#include "export/point_arguments.h"
#include "export/polyline_geometry.h"
#include "export/progress.h"
#include "export/trapped.h"

namespace kestrel::exporting {

namespace {

using core::Obj;
using core::Variant;
using core::VbArray;

constexpr std::int32_t kByLayer = 256;
constexpr const char* kDefaultLayer = "Poli";

enum ShapeCode : std::int32_t { kCircle = 2, kArc = 3, kDiameterCircle = 4, kCircleThroughThree = 5 };

// What stays the same for every record of one run.
struct Run {
  ExportContext& ctx;
  core::VbBool& EnBloque;
  Obj space;        // model space or the block being defined
  bool flat;        // 2D mode
  bool hatch;       // closed polylines are hatched
  std::array<Variant, 1> vertices;  // the Add call's argument, refilled per record
  PointArguments<4> centre;         // centre, radius, start and end angle
};

// The record's vertices as the CAD gets them, into `run.vertices`; returns
// the elevation to remember: vertex 1's Z, or the marker when they differ.
double collect_vertices(Run& run, const model::t_Poli& p) {
  const model::DrawingModel& m = run.ctx.module.model;
  Variant& slot = run.vertices[0];
  if (slot.get_if<VbArray<double>>() == nullptr) slot = Variant(VbArray<double>());
  auto& xyz = slot.as<VbArray<double>>();
  xyz.redim(0, 3 * p.NuVert - 1);
  const double first_z = m.PtoZ[p.Vert[1]];
  double elevation = first_z;
  for (std::int32_t k = 1; k <= p.NuVert; ++k) {
    const std::int32_t v = p.Vert[k];
    const std::int32_t at = 3 * (k - 1);
    xyz[at] = m.PtoX[v];
    xyz[at + 1] = m.PtoY[v];
    xyz[at + 2] = run.flat ? 0.0 : m.PtoZ[v] * m.DeformaZ;
    if (m.PtoZ[v] != first_z) elevation = kMixedElevation;
  }
  return elevation;
}

void finish_entity(const Obj& entity, const model::t_Poli& p, const std::string& layer) {
  if (p.Color == 0) entity.put("Color", kByLayer);
  entity.put("Layer", layer);
}

void draw_polyline(Run& run, std::int32_t i, const model::t_Poli& p, const std::string& layer, double elevation) {
  if (p.NuVert < 2) return;
  const Obj polyline(run.space.call_with(run.flat ? "AddPolyline" : "Add3DPoly", run.vertices).to_object());
  finish_entity(polyline, p, layer);
  const bool in_block = run.EnBloque != core::kFalse;
  if (in_block && run.flat && elevation != kMixedElevation && elevation != 0) polyline.put("Elevation", elevation);
  if (!run.hatch || !Poli_Cerrada(run.ctx.module.model, i)) return;
  const std::int16_t code = core::cint(static_cast<double>(p.Vert[0]));
  Ch4_CreateHatch(run.ctx, polyline, code, layer, run.EnBloque, 0, core::kFalse);
}

std::int32_t vertices_needed(std::int32_t code) {
  return code == kCircle || code == kDiameterCircle ? 2 : 3;
}

// Circles and arcs from the record's vertices (already in run.vertices).
void draw_round(Run& run, const model::t_Poli& p, const std::string& layer) {
  const std::int32_t code = p.Vert[0];
  if (code > kCircleThroughThree || p.NuVert != vertices_needed(code)) return;
  auto& a = run.vertices[0].as<VbArray<double>>();
  double radius = 0;
  double start = 0;
  double end = 1 / kDegenerateRadius;  // a degenerate arc is one unit long
  std::span<Variant> args;
  if (code == kCircle) {
    radius = std::hypot(a[3] - a[0], a[4] - a[1]);
    args = run.centre.with_point(a[0], a[1], a[2]);
  } else if (code == kDiameterCircle) {
    const double cx = (a[0] + a[3]) / 2;
    const double cy = (a[1] + a[4]) / 2;
    radius = std::hypot(cx - a[0], cy - a[1]);
    args = run.centre.with_point(cx, cy, (a[2] + a[5]) / 2);
  } else {
    (void)Arco_Tres_Puntos(std::span<double, 9>(a.items().data(), 9), radius, start, end);
    args = run.centre.with_point(a[0], a[1], a[2]);
  }
  args[1] = radius;
  args[2] = start;
  args[3] = end;
  const bool arc = code == kArc;
  const Obj entity(run.space.call_with(arc ? "AddArc" : "AddCircle", arc ? args : args.first(2)).to_object());
  finish_entity(entity, p, layer);
}

void draw_record(Run& run, std::int32_t i) {
  const model::DrawingModel& m = run.ctx.module.model;
  const model::t_Poli& p = m.Polis[i];
  if (run.ctx.state.CapAc == 1 && m.Capas[p.CapaP].Encendida == core::kFalse) return;
  if (p.NuVert < 1) return;
  const double elevation = collect_vertices(run, p);
  const std::string& name = m.Capas[p.CapaP].Nombre;
  const std::string layer = name.empty() ? std::string(kDefaultLayer) : name;
  const std::int32_t code = p.Vert[0];
  if (code <= 0) {
    draw_polyline(run, i, p, layer, elevation);
  } else if (code >= kCircle) {
    draw_round(run, p, layer);
  }
}

void generate(ExportContext& ctx, core::VbBool& EnBloque, std::int32_t& i) {
  model::DrawingModel& m = ctx.module.model;
  ctx.module.services.pointer.set(platform::kPointerHourglass);
  const std::int32_t count = m.NumPolis;
  ItemProgress progress(ctx, count, "Generando " + std::to_string(count) + " polilineas:");
  ctx.dialog.proBarra.max = static_cast<float>(static_cast<double>(count) / progress.step() + 1);
  Color_True(ctx.module, ctx.state);
  Limpia_Capas(m);
  const bool in_block = EnBloque != core::kFalse;
  Run run{ctx, EnBloque, in_block ? ctx.state.BloqueActual : ctx.module.cad.Documento.object("ModelSpace"),
          ctx.state.Solo2D != core::kFalse, ctx.dialog.chkSombrea.value != 1, {}, PointArguments<4>()};
  for (i = 1; i <= count; ++i) {
    if (progress.due(i) && progress.update(i)) return;
    draw_record(run, i);
  }
  ctx.module.services.pointer.set(platform::kPointerDefault);
}

void report(ExportContext& ctx, std::int32_t i, const core::Error& e) {
  std::string message = "Polilineas: " + std::to_string(i) + "  Error nº " + core::number_text(e.number()) + ": ";
  if (wrong_bitness_error(e.number())) {
    message += kWrongBitnessAdvice;
    ctx.module.model.NumPolis = 0;
  } else {
    message += e.description();
  }
  log_error(ctx.module, message, e);
}

void paste(ExportContext& ctx, std::int32_t nPol) {
  Module& module = ctx.module;
  const model::DrawingModel& m = module.model;
  module.cad.Aplicacion.put("Visible", true);
  const model::t_Poli& p = m.Polis[nPol];
  VbArray<double> xyz(0, 3 * p.NuVert - 1);
  for (std::int32_t k = 1; k <= p.NuVert; ++k) {
    const std::int32_t v = p.Vert[k];
    xyz[3 * k - 3] = m.PtoX[v];
    xyz[3 * k - 2] = m.PtoY[v];
    xyz[3 * k - 1] = m.PtoZ[v];
  }
  const Obj polyline(module.cad.Documento.object("ModelSpace").call("Add3DPoly", std::move(xyz)).to_object());
  std::int32_t k = p.CapaP;
  Autocad_Crea_Capa(ctx, k);
  polyline.put("Layer", m.Capas[k].Nombre);
  module.services.message_box.show("Polilinea copiada", platform::kInformation, "Autocad:");
}

}  // namespace

void Autocad_Genera_Polilineas(ExportContext& ctx, core::VbBool& EnBloque) {
  std::int32_t i = 0;
  run_trapped([&] { generate(ctx, EnBloque, i); }, [&](const core::Error& e) { report(ctx, i, e); });
}

void Pega_Polilinea(ExportContext& ctx, std::int32_t& nPol) {
  static constexpr core::TrapMessage kMessage{"Autocad Pega_Polilinea - Error    nº ", ": "};
  core::trap(ctx.module.error_log, kMessage, [&] { paste(ctx, nPol); });
}

}  // namespace kestrel::exporting
