// Plan measures of the drawing model's polylines, shared by the polyline
// generator (which hatches closed ones) and the coloured triangulation.
#pragma once

#include <cstdint>

#include "model/drawing_model.h"

namespace kestrel::exporting {

// `Poli_Cerrada`: true when the first and the last vertex of polyline
// `poli` have exactly the same X, Y and Z. Error 9 when the polyline has
// a vertex naming a point that does not exist; meant for polylines of at
// least one vertex.
[[nodiscard]] bool Poli_Cerrada(const model::DrawingModel& m, std::int32_t poli);

struct AreaPerimeter {
  double area = 0;       // plane area, never negative
  double perimeter = 0;  // plan length, the closing segment included
};

// `Superficie_Perimetro`: the area enclosed by the vertices as they run
// (shoelace over consecutive pairs, so an open polyline counts as closed by
// its first vertex only when it ends there) and the perimeter including the
// segment from the last vertex back to the first.
[[nodiscard]] AreaPerimeter Superficie_Perimetro(const model::DrawingModel& m, std::int32_t poli);

}  // namespace kestrel::exporting
