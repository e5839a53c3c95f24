#include "export/surface_colours.h"

#include <cmath>
#include <string>

#include "export/ordena.h"
#include "export/polyline_geometry.h"

namespace kestrel::exporting {

namespace {

constexpr std::int32_t kNotColouring = -200;  // shape code of a polyline that never colours triangles

void require_quad_list(std::string_view name, std::int32_t count, std::int32_t lbound, std::int32_t ubound,
                       bool allocated) {
  if (allocated && lbound <= 1 && ubound >= count) return;
  throw core::Error(core::kSubscriptOutOfRange, core::kRuntimeSource,
                    core::standard_description(core::kSubscriptOutOfRange) + ": la lista " + std::string(name) +
                        " no tiene los " + std::to_string(count) + " cuadriláteros");
}

template <class T>
void require_quad_list(std::string_view name, const core::VbArray<T>& list, std::int32_t count) {
  const bool allocated = list.allocated();
  require_quad_list(name, count, allocated ? list.lbound() : 0, allocated ? list.ubound() : 0, allocated);
}

// Where triangle t's test point is, when its vertices all name points.
bool test_point(const model::DrawingModel& m, std::int32_t t, GridPoint& out) {
  if (!m.TriV1.contains(t) || !m.TriV2.contains(t) || !m.TriV3.contains(t)) return false;
  const std::int32_t a = m.TriV1[t], b = m.TriV2[t], c = m.TriV3[t];
  for (std::int32_t p : {a, b, c}) {
    if (!m.PtoX.contains(p) || !m.PtoY.contains(p)) return false;
  }
  const double x = ((m.PtoX[a] + m.PtoX[b]) / 2 + m.PtoX[c]) / 2;
  const double y = ((m.PtoY[a] + m.PtoY[b]) / 2 + m.PtoY[c]) / 2;
  return to_hundredths_round(x, out.x) && to_hundredths_round(y, out.y);
}

void reset_layers(SurfaceColours& s, const model::DrawingModel& m) {
  s.CapaTri.redim(0, std::max(m.NumTriangulos, 0));
}

struct Candidate {
  std::int64_t key;    // area x 1000, truncated
  std::int32_t poli;   // polyline number: ties go to the one listed first
  friend auto operator<=>(const Candidate&, const Candidate&) = default;
};

std::vector<Candidate> candidates(const model::DrawingModel& m) {
  std::vector<Candidate> out;
  for (std::int32_t j = 1; j <= m.NumPolis; ++j) {
    if (!colours_triangles(m, j)) continue;
    const double key = std::trunc(Superficie_Perimetro(m, j).area * 1000);
    if (!(key < 9.0e18)) continue;  // an area that is not a number has no place in the order
    out.push_back({static_cast<std::int64_t>(key), j});
  }
  return out;
}

}  // namespace

void store_quads(SurfaceColours& s, const ColouredQuads& quads) {
  const std::int32_t n = quads.Vn1;
  if (n == 0) return;
  if (n < 0) core::raise(core::kSubscriptOutOfRange);
  require_quad_list("Vc1", quads.Vc1, n);
  static constexpr const char* kNames[3][4] = {
      {"Vx0", "Vx1", "Vx2", "Vx3"}, {"Vy0", "Vy1", "Vy2", "Vy3"}, {"Vz0", "Vz1", "Vz2", "Vz3"}};
  for (std::size_t k = 0; k < 4; ++k) {
    require_quad_list(kNames[0][k], quads.Vx[k], n);
    require_quad_list(kNames[1][k], quads.Vy[k], n);
    require_quad_list(kNames[2][k], quads.Vz[k], n);
  }
  s.quads = quads;
}

void A_Color_Tri(SurfaceColours& s, const model::DrawingModel& m, const core::VbArray<std::int32_t>& ColorTr) {
  reset_layers(s, m);
  for (std::int32_t i = 0; i <= m.NumTriangulos; ++i) {
    if (ColorTr.contains(i)) s.CapaTri[i] = ColorTr[i];
  }
  s.CapaTriOn = core::kTrue;
}

TestPoints triangle_test_points(const model::DrawingModel& m) {
  TestPoints tp;
  const auto count = static_cast<std::size_t>(std::max(m.NumTriangulos, -1) + 1);
  tp.at.resize(count);
  tp.valid.resize(count);
  for (std::int32_t t = 0; t <= m.NumTriangulos; ++t) {
    tp.valid[static_cast<std::size_t>(t)] = test_point(m, t, tp.at[static_cast<std::size_t>(t)]) ? 1 : 0;
  }
  return tp;
}

std::vector<GridPoint> polyline_ring(const model::DrawingModel& m, std::int32_t poli) {
  const model::t_Poli& p = m.Polis[poli];
  std::vector<GridPoint> ring(static_cast<std::size_t>(std::max(p.NuVert, 0)));
  for (std::int32_t k = 1; k <= p.NuVert; ++k) {
    const std::int32_t v = p.Vert[k];
    GridPoint& g = ring[static_cast<std::size_t>(k - 1)];
    if (!to_hundredths_floor(m.PtoX[v], g.x) || !to_hundredths_floor(m.PtoY[v], g.y)) return {};
  }
  return ring;
}

bool colours_triangles(const model::DrawingModel& m, std::int32_t j) {
  const model::t_Poli& p = m.Polis[j];
  return m.Capas[p.CapaP].Encendida != core::kFalse && p.NuVert > 2 && Poli_Cerrada(m, j) &&
         p.Vert[0] != kNotColouring;
}

void Triang_int_Pol(SurfaceColours& s, const model::DrawingModel& m, std::int32_t poli) {
  const std::vector<GridPoint> ring = polyline_ring(m, poli);
  if (ring.empty()) return;
  const std::int32_t layer = m.Polis[poli].CapaP;
  for (std::int32_t t = 0; t <= m.NumTriangulos; ++t) {
    GridPoint p;
    if (test_point(m, t, p) && inside_region(ring, p)) s.CapaTri[t] = layer;
  }
}

void Colores_TRI(SurfaceColours& s, const model::DrawingModel& m) {
  reset_layers(s, m);
  std::vector<Candidate> order = candidates(m);
  Ordena(std::span<Candidate>(order));
  const TestPoints tp = triangle_test_points(m);
  // Only the triangles that have a test point go into the index.
  std::vector<GridPoint> points;
  std::vector<std::int32_t> triangle;
  points.reserve(tp.at.size());
  triangle.reserve(tp.at.size());
  for (std::size_t t = 0; t < tp.at.size(); ++t) {
    if (!tp.valid[t]) continue;
    points.push_back(tp.at[t]);
    triangle.push_back(static_cast<std::int32_t>(t));
  }
  PointGrid grid(points);
  // Smallest first, and a triangle once coloured is retired: the same end as
  // colouring largest first and letting each smaller polyline overwrite.
  for (const Candidate& c : order) {
    const std::vector<GridPoint> ring = polyline_ring(m, c.poli);
    if (ring.empty()) continue;
    const std::int32_t layer = m.Polis[c.poli].CapaP;
    grid.visit_box(box_of(ring), [&](std::uint32_t k) {
      if (!inside_region(ring, points[k])) return false;
      s.CapaTri[triangle[k]] = layer;
      return true;
    });
  }
}

}  // namespace kestrel::exporting
