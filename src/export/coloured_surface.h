// The coloured surface model the host hands over with A_Colores, drawn as
// one entity per quad in the quad's own colour.
#pragma once

#include "core/numeric.h"
#include "export/export_state.h"
#include "export/surface_colours.h"

namespace kestrel::exporting {

// `Triangulacion curvado`: recomputes the per-triangle layers
// (Colores_TRI), asks for the true-colour object (Color_True), creates layer
// PrefCap + "TRI" (Color_ACI of the triangulation colour, on) and, with
// `Solido`, PrefCap + "Sombreado" (on). Nothing more when NumTriangulos < 1.
// Then, with the hourglass pointer and progress every s = Vn1 / 100 (at
// least 1) quads (bar maximum Vn1 / s, captions "Generando " + Vn1 +
// " Triangulos en colores:" and, at each step, "Generando " + Str(i) +
// " de" + Str(Vn1) + " triángulos en color:"), each quad i = 1..Vn1 becomes:
// - `Solido` false: Add3DFace(corner 0..3) (Z x DeformaZ, 0 with Solo2D) on
//   "TRI", in the quad's colour Vc1(i) as a true colour;
// - `Solido` true: a solid fill of the quad's outline (a flat hatch
//   "SOLID" at elevation 0) on "Sombreado", in the quad's true colour.
// A confirmed abort stops at a progress step. Errors are trapped:
// "Triangulacion curvado - Error    nº " + number + ": " + description.
void Triangulacion_curvado(ExportContext& ctx, SurfaceColours& surface, core::VbBool& Solido);

}  // namespace kestrel::exporting
