// memcad late-bound call costs: a property put and get on an entity, and the
// export's inner loop for points (AddPoint, then Color and Layer puts). The
// per-call figure is the iteration time divided by the calls it makes
// (items_per_second counts calls). Memory: bytes per point and per label of
// a drawing of 10^6 of them, measured from the allocator.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <vector>

#include "cad/memcad/memcad.h"

namespace {

using kestrel::core::Obj;
using kestrel::core::Variant;
using kestrel::core::VbArray;
namespace memcad = kestrel::memcad;

struct Session {
  std::shared_ptr<memcad::Application> application = memcad::Application::create();
  Obj model = Obj(application).object("ActiveDocument").object("ModelSpace");
};

Variant point(double x, double y, double z) { return VbArray<double>(0, std::vector<double>{x, y, z}); }

void BM_PutGetColor(benchmark::State& state) {
  Session s;
  Obj entity(s.model.call("AddPoint", point(1, 2, 3)).to_object());
  const Variant color(std::int16_t{2});
  for (auto _ : state) {
    entity.put("Color", color);
    benchmark::DoNotOptimize(entity.get("Color"));
  }
  state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_PutGetColor);

void BM_PutGetLayer(benchmark::State& state) {
  Session s;
  Obj entity(s.model.call("AddPoint", point(1, 2, 3)).to_object());
  const Variant layer("PUNTOS_TOPOGRAFICOS");
  for (auto _ : state) {
    entity.put("Layer", layer);
    benchmark::DoNotOptimize(entity.get("Layer"));
  }
  state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_PutGetLayer);

void BM_AddPointColorLayer(benchmark::State& state) {
  Session s;
  const Variant color(std::int16_t{2});
  const Variant layer("PUNTOS");
  const Variant at = point(100.5, 200.25, 12.0);
  for (auto _ : state) {
    Obj p(s.model.call("AddPoint", at).to_object());
    p.put("Color", color);
    p.put("Layer", layer);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AddPointColorLayer);

// Bytes the allocator holds per entity once `add` has run for 10^6 indices
// on a fresh drawing's model space, reported under `counter`.
template <class Add>
void bytes_per_entity(benchmark::State& state, const char* counter, Add add) {
  constexpr int kEntities = 1'000'000;
  for (auto _ : state) {
    const auto before = mallinfo2().uordblks;
    Session s;
    for (int i = 0; i < kEntities; ++i) add(s.model, i);
    const auto after = mallinfo2().uordblks;
    state.counters[counter] = static_cast<double>(after - before) / kEntities;
  }
}

void BM_BytesPerPoint(benchmark::State& state) {
  const Variant color(std::int16_t{2});
  const Variant layer("PUNTOS");
  bytes_per_entity(state, "bytes_per_point", [&](const Obj& model, int i) {
    Obj p(model.call("AddPoint", point(i, i, i)).to_object());
    p.put("Color", color);
    p.put("Layer", layer);
  });
}
BENCHMARK(BM_BytesPerPoint)->Iterations(1)->Unit(benchmark::kMillisecond);

// A point label as the export writes it: a short text with a layer and a colour.
void BM_BytesPerLabel(benchmark::State& state) {
  const Variant color(std::int16_t{2});
  const Variant layer("NUMERO");
  const Variant text(" 123456");
  const Variant height(0.5);
  bytes_per_entity(state, "bytes_per_label", [&](const Obj& model, int i) {
    Obj t(model.call("AddText", text, point(i, i, i), height).to_object());
    t.put("Color", color);
    t.put("Layer", layer);
  });
}
BENCHMARK(BM_BytesPerLabel)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
