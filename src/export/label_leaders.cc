#include "export/hatch.h"
#include "export/labels.h"
#include "export/trapped.h"

namespace kestrel::exporting {

namespace {

constexpr std::int16_t kColourByLayer = 256;
constexpr std::int16_t kSolidPattern = -60;

// Draws the polyline of `vertices` (x, y, 0 each) on the layer `layer`.
core::Obj draw_polyline(ExportContext& ctx, core::VbBool Bloq, core::VbArray<double>& vertices,
                        const std::string& layer, std::string& step) {
  const bool in_block = Bloq != core::kFalse;
  step = in_block ? "3" : "2";
  const core::Obj space = in_block ? ctx.state.BloqueActual : ctx.module.cad.Documento.object("ModelSpace");
  const core::Obj polyline(space.call("AddPolyline", core::Variant(vertices)).to_object());
  if (!in_block) polyline.put("Color", kColourByLayer);
  if (!layer.empty()) polyline.put("Layer", layer);
  return polyline;
}

void draw_registers(ExportContext& ctx, core::VbBool Bloq, std::string& step) {
  const model::DrawingModel& m = ctx.module.model;
  const model::LabelRegisters& r = m.Registros;
  core::VbArray<double> segment(0, 5);
  for (std::int32_t i = 1; i <= r.NumLineasR; ++i) {
    segment[0] = r.LinX1[i], segment[1] = r.LinY1[i], segment[3] = r.LinX2[i], segment[4] = r.LinY2[i];
    draw_polyline(ctx, Bloq, segment, m.Capas[r.LinCapa[i]].Nombre, step);
  }
  core::VbArray<double> outline(0, 11);
  for (std::int32_t i = 1; i <= r.NumFlechasR; ++i) {
    const double corners[] = {r.FleX1[i], r.FleY1[i], r.FleX2[i], r.FleY2[i], r.FleX3[i], r.FleY3[i]};
    for (int k = 0; k < 4; ++k) {
      outline[3 * k] = corners[(2 * k) % 6];
      outline[3 * k + 1] = corners[(2 * k + 1) % 6];
    }
    std::string layer = m.Capas[r.FleCapa[i]].Nombre;
    const core::Obj polyline = draw_polyline(ctx, Bloq, outline, layer, step);
    step = "1";
    Ch4_CreateHatch(ctx, polyline, kSolidPattern, layer, Bloq, 0, core::kFalse);
  }
  ctx.module.services.pointer.set(platform::kPointerDefault);
}

}  // namespace

void LeeFlechas(ExportContext& ctx, core::VbBool Bloq) {
  std::string step;
  run_trapped([&] { draw_registers(ctx, Bloq, step); },
              [&](const core::Error& e) {
                log_error(ctx.module,
                          "LeeFlechas en " + step + "- Error   nº " + core::number_text(e.number()) + ": " +
                              e.description(),
                          e);
              });
}

}  // namespace kestrel::exporting
