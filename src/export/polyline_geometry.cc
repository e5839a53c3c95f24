#include "export/polyline_geometry.h"

#include <cmath>

namespace kestrel::exporting {

bool Poli_Cerrada(const model::DrawingModel& m, std::int32_t poli) {
  const model::t_Poli& p = m.Polis[poli];
  const std::int32_t first = p.Vert[1];
  const std::int32_t last = p.Vert[p.NuVert];
  return m.PtoX[first] == m.PtoX[last] && m.PtoY[first] == m.PtoY[last] && m.PtoZ[first] == m.PtoZ[last];
}

AreaPerimeter Superficie_Perimetro(const model::DrawingModel& m, std::int32_t poli) {
  const model::t_Poli& p = m.Polis[poli];
  AreaPerimeter out;
  if (p.NuVert < 1) return out;
  double signed_area = 0;
  for (std::int32_t k = 1; k < p.NuVert; ++k) {
    const std::int32_t a = p.Vert[k];
    const std::int32_t b = p.Vert[k + 1];
    signed_area += (m.PtoX[a] - m.PtoX[b]) * 0.5 * (m.PtoY[a] + m.PtoY[b]);
    out.perimeter += std::hypot(m.PtoX[b] - m.PtoX[a], m.PtoY[b] - m.PtoY[a]);
  }
  const std::int32_t first = p.Vert[1];
  const std::int32_t last = p.Vert[p.NuVert];
  out.perimeter += std::hypot(m.PtoX[first] - m.PtoX[last], m.PtoY[first] - m.PtoY[last]);
  out.area = std::abs(signed_area);
  return out;
}

}  // namespace kestrel::exporting
