// The colour information of the triangulated surface: the coloured quads
// the host hands over (`A_Colores`), and the per-triangle layer list, either
// handed over (`A_Color_Tri`) or recomputed from the drawing's closed
// polylines (`Colores_TRI`): a triangle inside such a polyline takes its
// layer, the smallest polyline around it winning.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/numeric.h"
#include "core/object.h"
#include "core/vb_array.h"
#include "export/region_test.h"
#include "model/drawing_model.h"
#include "module/module.h"

namespace kestrel::exporting {

// The coloured surface model: quad i (1..Vn1) has corners k = 0..3 at
// (Vx[k](i), Vy[k](i), Vz[k](i)) and the packed colour Vc1(i).
struct ColouredQuads {
  std::int32_t Vn1 = 0;
  core::VbArray<std::int32_t> Vc1;
  std::array<core::VbArray<double>, 4> Vx, Vy, Vz;
};

struct SurfaceColours {
  ColouredQuads quads;
  // Per-triangle layer index (0..NumTriangulos; 0: none, else an index of
  // CapasCreadas) and whether the triangulation honours it.
  core::VbArray<std::int32_t> CapaTri;
  core::VbBool CapaTriOn = core::kFalse;
  core::Obj Draw;  // the host's drawing object, kept for text measurement
};

// `A_Colores` without its dialog part: with Vn1 = 0 nothing changes;
// otherwise every list must hold indices 1..Vn1 (error 9 naming the list
// otherwise, and the previous quads stay).
void store_quads(SurfaceColours& s, const ColouredQuads& quads);

// `A_Color_Tri`: CapaTri sized 0..NumTriangulos, zeroed, then ColorTr(i)
// copied for every i in that range that ColorTr has; the switch goes on.
void A_Color_Tri(SurfaceColours& s, const model::DrawingModel& m, const core::VbArray<std::int32_t>& ColorTr);

// The test point of every triangle 0..NumTriangulos, in hundredths: the
// point halfway between vertex 3 and the midpoint of vertices 1 and 2,
// rounded. A triangle the lists do not hold, or whose point is not a
// number, gets none (`valid` false).
struct TestPoints {
  std::vector<GridPoint> at;
  std::vector<std::uint8_t> valid;
};
[[nodiscard]] TestPoints triangle_test_points(const model::DrawingModel& m);

// The outline of polyline `poli` in hundredths (each vertex floored); empty
// when a vertex has no grid point. Error 9 for a vertex naming no point.
[[nodiscard]] std::vector<GridPoint> polyline_ring(const model::DrawingModel& m, std::int32_t poli);

// Whether polyline j can colour triangles: its layer is on, it has more
// than two vertices, it is closed and its shape code is not -200.
[[nodiscard]] bool colours_triangles(const model::DrawingModel& m, std::int32_t j);

// `Triang_int_Pol`: every triangle whose test point lies in polyline `poli`
// (region_test.h rule) gets the polyline's layer in CapaTri, which must
// already span the triangles. Looks at every triangle.
void Triang_int_Pol(SurfaceColours& s, const model::DrawingModel& m, std::int32_t poli);

// `Colores_TRI`: CapaTri rebuilt (0..NumTriangulos, zeroed), then each
// triangle takes the layer of the smallest candidate polyline (by area x
// 1000, truncated) around its test point; among equal keys the one listed
// first. Each test point is computed once and indexed, so a polyline looks
// only at the points in its box.
void Colores_TRI(SurfaceColours& s, const model::DrawingModel& m);

}  // namespace kestrel::exporting
