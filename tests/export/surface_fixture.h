// A triangulated surface for the surface tests: points on a unit grid and
// triangles numbered from 0, as the host numbers them.
#pragma once

#include <array>
#include <vector>

#include "export/surface_colours.h"
#include "polyline_fixture.h"

namespace kestrel::exporting::testing {

class SurfaceTest : public ExportTest {
 protected:
  // Triangles t = 0..count-1 (NumTriangulos = count - 1), each naming the
  // point indices given; the lists start at 0.
  void set_triangles(const std::vector<std::array<std::int32_t, 3>>& triangles) {
    model::DrawingModel& m = module.model;
    const auto n = static_cast<std::int32_t>(triangles.size());
    m.NumTriangulos = n - 1;
    for (auto* list : {&m.TriV1, &m.TriV2, &m.TriV3}) list->redim(0, n - 1);
    for (std::int32_t t = 0; t < n; ++t) {
      const auto& v = triangles[static_cast<std::size_t>(t)];
      m.TriV1[t] = v[0];
      m.TriV2[t] = v[1];
      m.TriV3[t] = v[2];
    }
  }
  // `count` copies of the triangle on points 1, 2, 3.
  void same_triangles(std::int32_t count) {
    set_triangles(std::vector<std::array<std::int32_t, 3>>(static_cast<std::size_t>(count), {1, 2, 3}));
  }
  [[nodiscard]] std::vector<const memcad::Face3d*> faces() const {
    return entities<memcad::Face3d>(memcad::EntityKind::kFace3d);
  }
  [[nodiscard]] std::size_t drawn() const { return document().model_space().entities().size(); }

  SurfaceColours surface;
};

}  // namespace kestrel::exporting::testing
