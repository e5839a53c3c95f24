#include "export/points.h"

#include <string>

#include "export/layer_name_cache.h"
#include "export/point_arguments.h"
#include "export/progress.h"
#include "export/trapped.h"
#include "model/number_text.h"

namespace kestrel::exporting {

namespace {

using core::Obj;
using core::Variant;

constexpr std::int16_t kPointColour = 2;
constexpr std::int16_t kPointDisplayMode = 34;

bool drawn(const ExportContext& ctx, std::int32_t i) {
  const model::DrawingModel& m = ctx.module.model;
  if (ctx.state.CapAc == 1 && m.Capas[m.PtoCapa[i]].Encendida == core::kFalse) return false;
  return m.PtoCodigo[i] != "/";
}

void draw_points(ExportContext& ctx, std::string& tag) {
  const model::DrawingModel& m = ctx.module.model;
  if (m.NumPuntos == 0) return;
  ctx.module.services.pointer.set(platform::kPointerHourglass);
  tag = "2";
  ItemProgress progress(ctx, m.NumPuntos, "Generando " + std::to_string(m.NumPuntos) + " puntos:");
  tag = "3";
  const Obj& document = ctx.module.cad.Documento;
  const Obj space = document.object("ModelSpace");
  LayerNameCache layer_names(ctx.state.CapasCreadas);
  PointArguments<1> args;
  const bool flat = ctx.state.Solo2D == core::kTrue;
  for (std::int32_t i = 1; i <= m.NumPuntos; ++i) {
    if (progress.due(i)) {
      tag = "4";
      if (progress.update(i)) return;
      tag = "5";
    }
    if (!drawn(ctx, i)) continue;
    tag = "6";
    const double x = m.PtoX[i];
    const double y = m.PtoY[i];
    const double z = flat ? 0.0 : m.PtoZ[i];
    tag = "7";
    const Obj point(space.call_with("AddPoint", args.with_point(x, y, z)).to_object());
    tag = "8";  // the point exists; its properties follow
    tag = "9";
    point.put("Color", kPointColour);
    tag = "10";
    point.put("Layer", layer_names.name(m.PtoCapa[i]));
  }
  tag = "11";
  document.call("SetVariable", "PDMODE", kPointDisplayMode);
  tag = "12";
  document.call("SetVariable", "PDSIZE", model::Valor_Numero(ctx.dialog.txtAltura.text));
  tag = "13";
  finish_progress(ctx);
}

void report(ExportContext& ctx, const std::string& tag, const core::Error& e) {
  model::DrawingModel& m = ctx.module.model;
  std::string message = "Puntos - Error en " + tag;
  if (wrong_bitness_error(e.number())) {
    message.append(" - nº ").append(core::number_text(e.number())).append(": ").append(kWrongBitnessAdvice);
    log_error(ctx.module, message, e);
    m.NumRotulos = 0;
  } else {
    message.append(" - nº  ").append(core::number_text(e.number())).append(" ").append(e.description());
    message.append(m.MsgVersion);
    log_error(ctx.module, message, e);
  }
  finish_progress(ctx);
}

}  // namespace

void Autocad_Genera_Puntos(ExportContext& ctx) {
  std::string tag = "1";
  run_trapped([&] { draw_points(ctx, tag); }, [&](const core::Error& e) { report(ctx, tag, e); });
}

}  // namespace kestrel::exporting
