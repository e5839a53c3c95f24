// Export of 10^5 labels of mixed kinds (a tenth of them on two lines, one in
// a thousand a grid frame or a scale bar) through the export dialog as
// `kestrel export` drives it, and the DXF save of the result. Counters: time
// per label for the whole generation, and the time per label that measuring
// alone takes, measured in the same run over the same texts with the same
// font service (FreeType, Liberation Sans for Arial). Wall and CPU times.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "bridge/c_kestrel.h"
#include "embedded_session.h"
#include "cad/dxf/dxf.h"
#include "platform/posix/font_text_measure.h"
#include "tools/kestrel/cad_run.h"
#include "tools/kestrel/export_options.h"
#include "tools/kestrel/terminal_services.h"

namespace {

namespace cli = kestrel::cli;
namespace core = kestrel::core;
namespace model = kestrel::model;

constexpr std::int32_t kLabels = 100000;
constexpr std::array<const char*, 8> kKinds{"", "1", "5", "6", "7", "8", "9", "21"};

model::t_Rotulo label_number(std::int32_t i) {
  model::t_Rotulo r;
  const double x = 438000 + 30.0 * (i % 300), y = 4472000 + 30.0 * (i / 300);
  r.Texto = i % 10 == 0 ? "Linea " + std::to_string(i) + "#segunda" : "Rotulo " + std::to_string(i);
  r.Texto3 = kKinds[static_cast<std::size_t>(i) % kKinds.size()];
  if (i % 1000 == 1) r.Texto3 = i % 2000 == 1 ? "11" : "12";
  r.CapaR = 1;
  r.Xr = x, r.Yr = y;
  r.Xr2 = x + 12, r.Yr2 = y + 5;
  r.Xr3 = x + 18, r.Yr3 = y + 5;
  r.Altura = 1;
  r.Cuenta = 2;
  r.Estilo = i % 3 == 0 ? "Arial" : "Times New Roman";
  return r;
}

model::t_Datos label_set() {
  model::t_Dibujo d;
  d.Texto2 = "Rotulos";
  d.NuRotulos = kLabels;
  d.Rotulo.redim(1, kLabels);
  for (std::int32_t i = 1; i <= kLabels; ++i) d.Rotulo[i] = label_number(i);
  d.nuCapas = 1;
  d.Capas1.redim(1, 1);
  d.Capas1[1].Nombre = "ROTULOS";
  d.Capas1[1].Encendida = core::kTrue;
  d.CapaActual = 1;
  model::t_Datos set;
  set.NuDibujos = 1;
  set.DibujoAct = 1;
  set.Dibujos.redim(1, 1);
  set.Dibujos[1] = d;
  return set;
}

// CPU seconds of this process: on a shared machine wall time says more
// about the neighbours than about the export.
double cpu_seconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Measures every label's text (each line of the multi-line ones) once.
double measuring_seconds(const model::t_Datos& set) {
  kestrel::platform::FontTextMeasure measure;
  (void)measure.width("warm", 1, "Arial");
  (void)measure.width("warm", 1, "Times New Roman");
  double sum = 0;
  const double t0 = cpu_seconds();
  for (std::int32_t i = 1; i <= kLabels; ++i) {
    const model::t_Rotulo& r = set.Dibujos[1].Rotulo[i];
    sum += measure.width(r.Texto, r.Altura, r.Estilo);
  }
  const double t1 = cpu_seconds();
  benchmark::DoNotOptimize(sum);
  return t1 - t0;
}

void BM_ExportLabels(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "kestrel_labels_bench";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "settings.ini") << "[Merivox Fuentes]\nfichero=/dev/null\n";  // an empty font table
  const model::t_Datos set = label_set();
  cli::ExportOptions options;
  options.texts = true;
  options.points = false;
  options.polylines = false;
  options.contours = false;
  options.labels = std::vector<std::string>{};
  double generate_seconds = 0, save_seconds = 0, generate_cpu = 0, save_cpu = 0;
  for (auto _ : state) {
    kestrel::bench::EmbeddedSession session(folder / "settings.ini", set);
    if (!session.cad) {
      state.SkipWithError("no CAD session");
      return;
    }
    session.accept_dialog_with(options);
    auto& kestrel = session.kestrel;
    const auto& cad = session.cad;
    const double c0 = cpu_seconds();
    const auto t0 = std::chrono::steady_clock::now();
    kestrel.A_Show_Seleccion_datos1();
    const auto t1 = std::chrono::steady_clock::now();
    const double c1 = cpu_seconds();
    kestrel::dxf::save_dxf(*cad->active_document(), folder / "labels.dxf");
    const auto t2 = std::chrono::steady_clock::now();
    generate_cpu = c1 - c0;
    save_cpu = cpu_seconds() - c1;
    generate_seconds = std::chrono::duration<double>(t1 - t0).count();
    save_seconds = std::chrono::duration<double>(t2 - t1).count();
    state.counters["texts"] = static_cast<double>(session.module.model.NumRotulos);
    if (session.module.error_log.count() > 0) state.SkipWithError("the export reported errors");
  }
  state.counters["generate_s"] = generate_seconds;
  state.counters["save_s"] = save_seconds;
  state.counters["generate_cpu_s"] = generate_cpu;
  state.counters["save_cpu_s"] = save_cpu;
  state.counters["us_per_label"] = 1e6 * generate_seconds / kLabels;
  state.counters["cpu_us_per_label"] = 1e6 * generate_cpu / kLabels;
  state.counters["measure_us_per_label"] = 1e6 * measuring_seconds(set) / kLabels;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ExportLabels)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
