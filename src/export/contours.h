// The contour set as CAD polylines, one per contour line, on two layers by
// the contour's kind: PrefCap + "Cv" (kind flag true) and PrefCap + "Cvd".
#pragma once

#include "export/export_state.h"

namespace kestrel::exporting {

// `Curvado`: with no contours nothing happens (no layer either). Otherwise
// the contours are first flattened into one vertex list (Z x DeformaZ); the
// layer "Cv" takes Color_ACI of the colour of the first contour of its kind,
// likewise "Cvd" (each keeps taking the latest contour's colour only while
// the other is still unknown); both are created and on. Then, with the
// hourglass pointer and progress every s = N / 500 (at least 1) vertices
// (bar maximum N / s, caption "Generando " + Str(N) + " curvas:", N + 1
// vertices in all), each contour of two or more vertices becomes one
// Add3DPoly, or in 2D mode (Solo2D) one flat AddPolyline at z = 0 whose
// Elevation is its last vertex's scaled Z; colour 256, layer by its kind.
// A one-vertex contour is not drawn. A confirmed abort stops at a progress
// step. The bar stays visible at the end.
// Errors are trapped: "Curvado - Error   nº " + number + ": " + description;
// a contour whose vertex list is shorter than its count is named.
void Curvado(ExportContext& ctx);

}  // namespace kestrel::exporting
