// Drawing model benchmarks: loading a large drawing through `Mete` (the set,
// the model groups and DibujoElegido are copies that share their items), the
// per-access cost of the arrays, and the record file writer and reader on
// the same drawing. Sizes: 10^6 points, 2·10^6 triangles.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "model/loading.h"
#include "recordfile/record_file.h"

namespace {

using namespace kestrel::model;

constexpr std::int32_t kPoints = 1'000'000;
constexpr std::int32_t kTriangles = 2'000'000;

t_Dibujo large_drawing() {
  t_Dibujo d;
  d.Texto2 = "grande";
  d.NuPun = kPoints;
  d.Nmb = VbArray<std::string>(1, kPoints);
  d.X = VbArray<double>(1, kPoints);
  d.Y = VbArray<double>(1, kPoints);
  d.Z = VbArray<double>(1, kPoints);
  d.Cd = VbArray<std::string>(1, kPoints);
  d.infor = VbArray<std::string>(1, kPoints);
  d.Capa = VbArray<std::int16_t>(1, kPoints);
  for (std::int32_t i = 1; i <= kPoints; ++i) {
    d.Nmb[i] = std::to_string(i);
    d.X[i] = 438000.0 + (i % 1000) * 1.234;
    d.Y[i] = 4472000.0 + (i / 1000) * 1.234;
    d.Z[i] = 600.0 + (i % 4001) * 0.01;
    d.Cd[i] = i % 50 == 0 ? "ARB" : "TN";
    d.Capa[i] = 1;
  }
  d.Nutria = kTriangles;
  d.B1 = VbArray<std::int32_t>(1, kTriangles);
  d.B2 = VbArray<std::int32_t>(1, kTriangles);
  d.B3 = VbArray<std::int32_t>(1, kTriangles);
  for (std::int32_t t = 1; t <= kTriangles; ++t) {
    d.B1[t] = 1 + (t / 2) % kPoints;
    d.B2[t] = 1 + (t / 2 + 1) % kPoints;
    d.B3[t] = 1 + (t / 2 + 1000) % kPoints;
  }
  d.nuCapas = 1;
  d.Capas1 = VbArray<t_Capa>(1, std::vector<t_Capa>{{"PUNTOS", -1, 255, 0, {}}});
  return d;
}

const t_Datos& large_set() {
  static const t_Datos set = [] {
    t_Datos s;
    s.NuDibujos = 1;
    s.DibujoAct = 1;
    s.Dibujos = VbArray<t_Dibujo>(1, std::vector<t_Dibujo>{large_drawing()});
    return s;
  }();
  return set;
}

const std::string& large_text() {
  static const std::string text = to_json(large_set());
  return text;
}

void BM_MeteLargeDrawing(benchmark::State& state) {
  const t_Datos& set = large_set();
  for (auto _ : state) {
    DrawingModel model;
    mete(model, set);
    benchmark::DoNotOptimize(std::as_const(model.PtoX)[kPoints]);
  }
  state.SetItemsProcessed(state.iterations() * (kPoints + kTriangles));
}
BENCHMARK(BM_MeteLargeDrawing)->Unit(benchmark::kMillisecond);

// Loading again into a model that already holds a drawing of the same size
// (the arrays' storage is reused).
void BM_MeteIntoLoadedModel(benchmark::State& state) {
  const t_Datos& set = large_set();
  DrawingModel model;
  mete(model, set);
  for (auto _ : state) {
    mete(model, set);
    benchmark::DoNotOptimize(std::as_const(model.PtoX)[kPoints]);
  }
  state.SetItemsProcessed(state.iterations() * (kPoints + kTriangles));
}
BENCHMARK(BM_MeteIntoLoadedModel)->Unit(benchmark::kMillisecond);

void BM_DeepCopyDrawing(benchmark::State& state) {
  const t_Dibujo& drawing = large_set().Dibujos[1];
  for (auto _ : state) {
    t_Dibujo copy = drawing;
    benchmark::DoNotOptimize(std::as_const(copy.X)[kPoints]);
  }
  state.SetItemsProcessed(state.iterations() * (kPoints + kTriangles));
}
BENCHMARK(BM_DeepCopyDrawing)->Unit(benchmark::kMillisecond);

// The cost of one checked access in a hot loop: reading through const
// access, and writing every item of an array of its own.
void BM_ArrayRead(benchmark::State& state) {
  const VbArray<double>& x = large_set().Dibujos[1].X;
  for (auto _ : state) {
    double sum = 0;
    for (std::int32_t i = 1; i <= kPoints; ++i) sum += x[i];
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_ArrayRead)->Unit(benchmark::kMicrosecond);

void BM_ArrayWrite(benchmark::State& state) {
  VbArray<double> x(1, kPoints);
  for (auto _ : state) {
    for (std::int32_t i = 1; i <= kPoints; ++i) x[i] = i;
    benchmark::DoNotOptimize(std::as_const(x)[kPoints]);
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_ArrayWrite)->Unit(benchmark::kMicrosecond);

// Growing a list one item at a time, as the import adds points.
void BM_ArrayGrow(benchmark::State& state) {
  for (auto _ : state) {
    VbArray<double> x;
    for (std::int32_t i = 1; i <= kPoints; ++i) {
      x.redim_preserve(i, 1);
      x[i] = i;
    }
    benchmark::DoNotOptimize(std::as_const(x)[kPoints]);
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_ArrayGrow)->Unit(benchmark::kMicrosecond);

void BM_JsonWrite(benchmark::State& state) {
  const t_Datos& set = large_set();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = to_json(set);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_JsonWrite)->Unit(benchmark::kMillisecond);

void BM_JsonRead(benchmark::State& state) {
  const std::string& text = large_text();
  for (auto _ : state) {
    RecordFile file = from_json(text);
    benchmark::DoNotOptimize(&file);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_JsonRead)->Unit(benchmark::kMillisecond);

// Linearity: the cost per item at 10^4, 10^5 and 10^6 points (twice as many
// triangles), loading into a model that already held the drawing once.
void BM_MeteScaling(benchmark::State& state) {
  const auto points = static_cast<std::int32_t>(state.range(0));
  t_Dibujo d = large_set().Dibujos[1];
  d.NuPun = points;
  d.Nutria = 2 * points;
  for (auto* a : {&d.X, &d.Y, &d.Z}) a->redim_preserve(points);
  for (auto* a : {&d.Nmb, &d.Cd, &d.infor}) a->redim_preserve(points);
  d.Capa.redim_preserve(points);
  for (auto* a : {&d.B1, &d.B2, &d.B3}) a->redim_preserve(2 * points);
  t_Datos set;
  set.NuDibujos = 1;
  set.DibujoAct = 1;
  set.Dibujos = VbArray<t_Dibujo>(1, std::vector<t_Dibujo>{d});
  DrawingModel model;
  mete(model, set);
  for (auto _ : state) {
    mete(model, set);
    benchmark::DoNotOptimize(std::as_const(model.PtoX)[points]);
  }
  state.SetItemsProcessed(state.iterations() * 3 * points);
}
BENCHMARK(BM_MeteScaling)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
