// Export of 10^5 closed polylines of 50 vertices, each hatched, through the
// export dialog as `kestrel export` drives it, and the DXF save of the
// result. Counters: entities per second (a polyline and its hatch are two),
// heap allocations per polyline and per vertex made while generating (a
// per-vertex allocation would show as 50 or more per polyline), and the
// process's peak resident memory.
//
// The polylines share their points: 1000 rings of 49 points, each used by
// 100 polylines, so that the drawing model stays small next to the CAD
// drawing being measured.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <vector>

#include "allocation_counter.h"
#include "bridge/c_kestrel.h"
#include "embedded_session.h"
#include "cad/dxf/dxf.h"
#include "tools/kestrel/cad_run.h"
#include "tools/kestrel/export_options.h"
#include "tools/kestrel/terminal_services.h"

namespace {

namespace cli = kestrel::cli;
namespace core = kestrel::core;
namespace model = kestrel::model;

constexpr std::int32_t kPolylines = 100000;
constexpr std::int32_t kVertices = 50;  // the last repeats the first: closed
constexpr std::int32_t kRings = 1000;
constexpr std::int32_t kRingPoints = kVertices - 1;

model::t_Dibujo ring_drawing() {
  const std::int32_t points = kRings * kRingPoints;
  model::t_Dibujo d;
  d.Texto2 = "Anillos";
  d.NuPun = points;
  d.Nmb.redim(1, points);
  d.Cd.redim(1, points);
  d.infor.redim(1, points);
  d.X.redim(1, points);
  d.Y.redim(1, points);
  d.Z.redim(1, points);
  d.Capa = core::VbArray<std::int16_t>(1, std::vector<std::int16_t>(static_cast<std::size_t>(points), 1));
  for (std::int32_t r = 0; r < kRings; ++r) {
    for (std::int32_t k = 0; k < kRingPoints; ++k) {
      const std::int32_t i = r * kRingPoints + k + 1;
      const double a = 2 * std::numbers::pi * k / kRingPoints;
      d.X[i] = 438000 + 25.0 * (r % 40) + 10 * std::cos(a);
      d.Y[i] = 4472000 + 25.0 * (r / 40) + 10 * std::sin(a);
      d.Z[i] = 612 + 0.01 * k;
    }
  }
  d.NuPolis = kPolylines;
  d.poli.redim(1, kPolylines);
  for (std::int32_t p = 1; p <= kPolylines; ++p) {
    model::t_Poli& poli = d.poli[p];
    const std::int32_t first = ((p - 1) % kRings) * kRingPoints + 1;
    poli.NuVert = kVertices;
    poli.Vert.redim(0, kVertices);
    poli.Vert[0] = -50 - (p % 6);  // ANSI31 and ANSI37 at every angle
    for (std::int32_t k = 1; k < kVertices; ++k) poli.Vert[k] = first + k - 1;
    poli.Vert[kVertices] = first;
    poli.CapaP = 1;
  }
  d.nuCapas = 1;
  d.Capas1.redim(1, 1);
  d.Capas1[1].Nombre = "PARCELAS";
  d.Capas1[1].Encendida = core::kTrue;
  d.CapaActual = 1;
  return d;
}

model::t_Datos ring_set() {
  model::t_Datos set;
  set.NuDibujos = 1;
  set.DibujoAct = 1;
  set.Dibujos.redim(1, 1);
  set.Dibujos[1] = ring_drawing();
  return set;
}

double peak_resident_mb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;  // kB on Linux
}

void BM_ExportClosedPolylinesWithHatches(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "kestrel_polylines_bench";
  std::filesystem::create_directories(folder);
  const model::t_Datos set = ring_set();
  cli::ExportOptions options;
  options.polylines = true;
  options.hatches = true;
  options.points = false;
  options.contours = false;
  options.texts = false;
  options.labels = std::vector<std::string>{};
  options.three_d = true;
  std::size_t generated = 0, saved = 0;
  double generate_seconds = 0, save_seconds = 0;
  for (auto _ : state) {
    kestrel::bench::EmbeddedSession session(folder / "settings.ini", set);
    if (!session.cad) {
      state.SkipWithError("no CAD session");
      return;
    }
    session.accept_dialog_with(options);
    auto& kestrel = session.kestrel;
    const auto& cad = session.cad;
    const std::size_t before = kestrel::bench::allocation_count();
    const auto t0 = std::chrono::steady_clock::now();
    kestrel.A_Show_Seleccion_datos1();
    const auto t1 = std::chrono::steady_clock::now();
    generated = kestrel::bench::allocation_count() - before;
    kestrel::dxf::save_dxf(*cad->active_document(), folder / "rings.dxf");
    const auto t2 = std::chrono::steady_clock::now();
    saved = kestrel::bench::allocation_count() - before - generated;
    generate_seconds = std::chrono::duration<double>(t1 - t0).count();
    save_seconds = std::chrono::duration<double>(t2 - t1).count();
    if (session.module.error_log.count() > 0) state.SkipWithError("the export reported errors");
  }
  const double entities = 2.0 * kPolylines;
  const double vertices = 1.0 * kPolylines * kVertices;
  state.counters["entities_per_s"] = benchmark::Counter(entities * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["generate_s"] = generate_seconds;
  state.counters["save_s"] = save_seconds;
  state.counters["dxf_MB"] = static_cast<double>(std::filesystem::file_size(folder / "rings.dxf")) / 1e6;
  state.counters["alloc_per_polyline_generate"] = static_cast<double>(generated) / kPolylines;
  state.counters["alloc_per_vertex_generate"] = static_cast<double>(generated) / vertices;
  state.counters["alloc_per_vertex_save"] = static_cast<double>(saved) / vertices;
  state.counters["peak_MB"] = peak_resident_mb();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ExportClosedPolylinesWithHatches)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
