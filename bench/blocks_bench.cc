// The block generator: n insertions of d block definitions (each a stored
// drawing of one closed 4-vertex polyline), run on the in-memory CAD through
// c_Kestrel as the export dialog's event runs it. Each definition is made
// once, so the time should grow with n + d, not with n x (size of a drawing).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bridge/c_kestrel.h"
#include "embedded_session.h"
#include "tools/kestrel/cad_run.h"
#include "tools/kestrel/terminal_services.h"

namespace {

namespace cli = kestrel::cli;
namespace core = kestrel::core;
namespace model = kestrel::model;

model::t_Capa layer(const std::string& name) {
  model::t_Capa c;
  c.Nombre = name;
  c.Encendida = core::kTrue;
  return c;
}

model::t_Dibujo block_drawing(std::int32_t k) {
  model::t_Dibujo d;
  d.Texto2 = "Detalle " + std::to_string(k);
  d.NuPun = 4;
  d.X = core::VbArray<double>(0, {0.0, -0.5, 0.5, 0.5, -0.5});
  d.Y = core::VbArray<double>(0, {0.0, -0.5, -0.5, 0.5, 0.5});
  d.Z = core::VbArray<double>(0, {0.0, 0.0, 0.0, 0.0, 0.0});
  d.Capa = core::VbArray<std::int16_t>(0, {1, 1, 1, 1, 1});
  d.NuPolis = 1;
  d.poli.redim(1, 1);
  d.poli[1].NuVert = 4;
  d.poli[1].Vert = core::VbArray<std::int32_t>(0, {0, 1, 2, 3, 4});
  d.poli[1].CapaP = 1;
  d.nuCapas = 1;
  d.Capas1 = core::VbArray<model::t_Capa>(1, {layer("DETALLES")});
  return d;
}

model::t_Dibujo plan(std::int32_t insertions, std::int32_t definitions) {
  model::t_Dibujo d;
  d.Texto2 = "Plano";
  d.NuPun = insertions;
  for (auto* a : {&d.X, &d.Y, &d.Z}) a->redim(1, insertions);
  d.Cd.redim(1, insertions);
  d.Capa = core::VbArray<std::int16_t>(1, std::vector<std::int16_t>(static_cast<std::size_t>(insertions), 1));
  for (std::int32_t i = 1; i <= insertions; ++i) {
    d.X[i] = 438000 + (i % 100);
    d.Y[i] = 4472000 + i / 100;
    d.Cd[i] = "**Detalle " + std::to_string(i % definitions + 1) + "/" + std::to_string(1 + i % 3) + "/" +
              std::to_string(i % 400);
  }
  d.nuCapas = 1;
  d.Capas1 = core::VbArray<model::t_Capa>(1, {layer("PUNTOS")});
  return d;
}

void BM_InsertBlocks(benchmark::State& state) {
  const auto insertions = static_cast<std::int32_t>(state.range(0));
  const auto definitions = static_cast<std::int32_t>(state.range(1));
  model::t_Datos set;
  set.NuDibujos = definitions + 1;
  set.DibujoAct = 1;
  set.Dibujos.redim(1, definitions + 1);
  set.Dibujos[1] = plan(insertions, definitions);
  for (std::int32_t k = 1; k <= definitions; ++k) set.Dibujos[k + 1] = block_drawing(k);
  const auto folder = std::filesystem::temp_directory_path() / "kestrel_blocks_bench";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "settings.ini") << "[Merivox Fuentes]\nfichero=/dev/null\n";  // an empty font table
  std::size_t inserted = 0;
  for (auto _ : state) {
    state.PauseTiming();
    kestrel::bench::EmbeddedSession session(folder / "settings.ini", set);
    if (!session.cad) {
      state.SkipWithError("no CAD session");
      return;
    }
    session.module.model.NumBloques = insertions;
    auto& kestrel = session.kestrel;
    const auto& cad = session.cad;
    state.ResumeTiming();
    kestrel.Autocad_crea_Bloques();
    state.PauseTiming();
    inserted = cad->active_document()->model_space().size();
    state.ResumeTiming();
  }
  state.counters["insertions"] = static_cast<double>(inserted);
  state.counters["time_per_insertion"] =
      benchmark::Counter(static_cast<double>(insertions) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::OneK::kIs1000);
}
BENCHMARK(BM_InsertBlocks)
    ->Args({10000, 100})
    ->Args({100000, 100})
    ->Args({10000, 1000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
