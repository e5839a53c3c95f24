#include "export/surface_layers.h"

#include "core/trap.h"
#include "model/colours.h"
#include "model/options.h"

namespace kestrel::exporting {

std::int32_t surface_layer_colour(const model::DrawingModel& m) {
  return model::Color_ACI(m.Opciones.get(model::kTriangulationColour));
}

void add_surface_layer(ExportContext& ctx, const std::string& name, std::int32_t colour_index) {
  const core::Obj layer(ctx.module.cad.Documento.object("Layers").call("Add", name).to_object());
  layer.put("Color", colour_index);
  layer.put("LayerOn", true);
}

void recolour_by_polylines(ExportContext& ctx, SurfaceColours& surface) {
  static constexpr core::TrapMessage kMessage{"Colores_TRIl - Error nº  ", ": "};
  core::trap(ctx.module.error_log, kMessage, [&] { Colores_TRI(surface, ctx.module.model); });
}

}  // namespace kestrel::exporting
