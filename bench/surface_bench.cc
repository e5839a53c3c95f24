// Colouring a triangulated surface by the closed polylines around its
// triangles (Colores_TRI): 10^5 and 10^6 triangles against 10^4 closed
// polylines, 5000 disjoint squares each holding a nested one, so that
// every triangle has zero, one or two candidates around it. A cost of
// polylines x triangles would show as 10^10 region tests; the index keeps
// it near one test per triangle and polyline around it.
#include <benchmark/benchmark.h>

#include <cmath>

#include "export/surface_colours.h"

namespace {

namespace core = kestrel::core;
namespace model = kestrel::model;
namespace exporting = kestrel::exporting;

constexpr std::int32_t kAreas = 5000;  // outer squares; each holds an inner one
constexpr double kSide = 1000.0;       // the surface is kSide x kSide

std::int32_t add_point(model::DrawingModel& m, double x, double y) {
  const std::int32_t i = ++m.NumPuntos;
  m.PtoX.append(x, 1);
  m.PtoY.append(y, 1);
  m.PtoZ.append(600 + 0.01 * x, 1);
  return i;
}

void add_square(model::DrawingModel& m, double x0, double y0, double side, std::int32_t layer) {
  model::t_Poli p;
  p.NuVert = 5;
  p.Vert.redim(0, 5);
  const double xs[] = {x0, x0 + side, x0 + side, x0};
  const double ys[] = {y0, y0, y0 + side, y0 + side};
  for (std::int32_t k = 0; k < 4; ++k) p.Vert[k + 1] = add_point(m, xs[k], ys[k]);
  p.Vert[5] = p.Vert[1];
  p.CapaP = layer;
  m.Polis.append(std::move(p), 1);
  ++m.NumPolis;
}

// A grid surface of about `triangles` triangles (two per cell) and the squares.
model::DrawingModel surface(std::int32_t triangles) {
  model::DrawingModel m;
  const auto cells = static_cast<std::int32_t>(std::sqrt(triangles / 2.0));
  const double step = kSide / cells;
  for (std::int32_t r = 0; r <= cells; ++r) {
    for (std::int32_t c = 0; c <= cells; ++c) (void)add_point(m, c * step, r * step);
  }
  m.NumTriangulos = 2 * cells * cells - 1;
  for (auto* list : {&m.TriV1, &m.TriV2, &m.TriV3}) list->redim(0, m.NumTriangulos);
  for (std::int32_t r = 0, t = 0; r < cells; ++r) {
    for (std::int32_t c = 0; c < cells; ++c, t += 2) {
      const std::int32_t a = r * (cells + 1) + c + 1, b = a + 1, d = a + cells + 1, e = d + 1;
      m.TriV1[t] = a, m.TriV2[t] = b, m.TriV3[t] = e;
      m.TriV1[t + 1] = a, m.TriV2[t + 1] = e, m.TriV3[t + 1] = d;
    }
  }
  m.NumCapas = 3;
  m.Capas.redim(1, 3);
  for (std::int32_t k = 1; k <= 3; ++k) m.Capas[k].Encendida = core::kTrue;
  const double pitch = kSide / 100;  // 100 x 50 areas, a bare row between two rows of areas
  for (std::int32_t k = 0; k < kAreas; ++k) {
    const double x0 = (k % 100) * pitch, y0 = (k / 100) * pitch * 2;
    add_square(m, x0 + 1, y0 + 1, pitch - 2, 2);
    add_square(m, x0 + 3, y0 + 3, pitch / 2, 3);
  }
  return m;
}

void BM_Colores_TRI(benchmark::State& state) {
  const model::DrawingModel m = surface(static_cast<std::int32_t>(state.range(0)));
  exporting::SurfaceColours s;
  for (auto _ : state) {
    exporting::Colores_TRI(s, m);
    benchmark::DoNotOptimize(s.CapaTri[0]);
  }
  std::int64_t coloured = 0;
  for (std::int32_t v : s.CapaTri.items()) coloured += v != 0;
  state.counters["triangles"] = static_cast<double>(m.NumTriangulos + 1);
  state.counters["polylines"] = m.NumPolis;
  state.counters["coloured"] = static_cast<double>(coloured);
  state.counters["triangles/s"] =
      benchmark::Counter(static_cast<double>(m.NumTriangulos + 1), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Colores_TRI)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
