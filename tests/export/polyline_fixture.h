// Polyline records for the export tests: a drawing's points are loaded with
// ExportTest::load, then records naming them by index are put in the model.
#pragma once

#include <vector>

#include "cad/memcad/memcad.h"
#include "export_fixture.h"

namespace kestrel::exporting::testing {

struct PolySpec {
  std::int32_t code;                   // shape code, Vert(0)
  std::vector<std::int32_t> vertices;  // point indices
  std::int32_t colour = 0;
  std::int32_t layer = 1;
};

inline void set_polylines(model::DrawingModel& m, const std::vector<PolySpec>& specs) {
  m.NumPolis = static_cast<std::int32_t>(specs.size());
  m.Polis.redim(1, m.NumPolis);
  for (std::int32_t i = 1; i <= m.NumPolis; ++i) {
    const PolySpec& s = specs[static_cast<std::size_t>(i - 1)];
    model::t_Poli& p = m.Polis[i];
    p.NuVert = static_cast<std::int32_t>(s.vertices.size());
    p.Vert.redim(0, p.NuVert);
    p.Vert[0] = s.code;
    for (std::int32_t k = 1; k <= p.NuVert; ++k) p.Vert[k] = s.vertices[static_cast<std::size_t>(k - 1)];
    p.Color = s.colour;
    p.CapaP = s.layer;
  }
}

}  // namespace kestrel::exporting::testing
