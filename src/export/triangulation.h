// The triangulated surface as CAD entities, one per triangle: a 3D face
// through the three vertices, or in the flat variant a closed 2D polyline.
#pragma once

#include <cstdint>

#include "core/numeric.h"
#include "core/vb_array.h"
#include "export/export_state.h"
#include "export/surface_colours.h"

namespace kestrel::exporting {

// The triangle list a run walks: 0..NumTriangulos, starting at 1 when the
// vertex lists hold no triangle 0 (a list the host numbered from 1).
[[nodiscard]] std::int32_t first_triangle(const model::DrawingModel& m) noexcept;

// `Triangulation`: recomputes the per-triangle layers (Colores_TRI), creates
// layer PrefCap + "TRI" coloured Color_ACI(triangulation colour) and on, even
// without triangles. Then, for NumTriangulos >= 1, hourglass pointer,
// progress every s = NumTriangulos / 500 (at least 1) triangles, bar maximum
// NumTriangulos / s + 1, caption "Generando " + Str(NumTriangulos) +
// " triángulos:"; each triangle (Z x DeformaZ, 0 with Solo2D):
// - `Solido` false: Add3DFace(v1, v2, v3, v1), colour 256; without the
//   layer switch or with a layer index below 1 it goes on "TRI" and takes
//   Color_ACI of the colour in force (the last non-zero entry of `colours`
//   met so far, none while 0); otherwise it goes, by layer, on
//   CapasCreadas(index).Nombre.
// - `Solido` true: a closed flat polyline v1 v2 v3 v1 on "TRI", coloured
//   Color_ACI of its own entry of `colours`, by layer when that is 0.
// A confirmed abort stops at a progress step, leaving pointer and bar.
// Errors are trapped: "Triangulacion - Error    nº " + number + ": " +
// description; a triangle naming a point that does not exist, or without an
// entry in `colours`, is named in the description.
void Triangulation(ExportContext& ctx, SurfaceColours& surface, const core::VbArray<std::int32_t>& colours,
                   core::VbBool& Solido);

}  // namespace kestrel::exporting
