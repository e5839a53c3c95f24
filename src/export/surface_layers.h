// What the surface generators (triangles, coloured quads) share: their
// layer, its colour, and the per-triangle layers recomputed before a run.
#pragma once

#include <cstdint>
#include <string>

#include "core/numeric.h"
#include "export/export_state.h"
#include "export/surface_colours.h"

namespace kestrel::exporting {

// The CAD colour index of the triangulation layer: Color_ACI of the
// drawing's triangulation colour (the option long at 484).
[[nodiscard]] std::int32_t surface_layer_colour(const model::DrawingModel& m);

// Layers.Add(name) on the document, then its Color = colour_index and
// LayerOn = true.
void add_surface_layer(ExportContext& ctx, const std::string& name, std::int32_t colour_index);

// Colores_TRI under its own trap ("Colores_TRIl - Error nº  " + number + ": "
// + description): a failure is reported and the run goes on.
void recolour_by_polylines(ExportContext& ctx, SurfaceColours& surface);

}  // namespace kestrel::exporting
