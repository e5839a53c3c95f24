// DXF save and load of a large survey drawing: 10^6 points, 2·10^6 3D faces
// (a terrain surface) and 10^5 texts, next to writing the same bytes with a
// plain buffered write. bench/dxf_vs_ezdxf.sh runs this and python3-ezdxf
// on the same content and prints the comparison.
//
// The drawing size can be divided for a quick run: KESTREL_DXF_BENCH_DIVISOR=10.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "cad/dxf/dxf.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/faces.h"
#include "cad/memcad/texts.h"

namespace {

using namespace kestrel;

std::size_t divisor() {
  const char* d = std::getenv("KESTREL_DXF_BENCH_DIVISOR");
  const long v = d ? std::strtol(d, nullptr, 10) : 1;
  return v > 0 ? static_cast<std::size_t>(v) : 1;
}

const std::size_t kPoints = 1'000'000 / divisor();
const std::size_t kFaces = 2'000'000 / divisor();
const std::size_t kTexts = 100'000 / divisor();
const std::size_t kEntities = kPoints + kFaces + kTexts;

// Coordinates as a survey holds them: UTM metres with millimetres,
// elevations with centimetres. Must match bench/dxf_vs_ezdxf.py.
double easting(std::size_t i) { return 432000.0 + static_cast<double>(i % 1000) * 1.25 + 0.001 * (i % 7); }
double northing(std::size_t i) { return 4512000.0 + static_cast<double>(i / 1000) * 1.25 + 0.002 * (i % 5); }
double elevation(std::size_t i) { return 600.0 + static_cast<double>(i % 997) * 0.01; }

std::shared_ptr<memcad::Document> survey_drawing() {
  auto doc = memcad::Document::create("bench.dxf");
  memcad::Block& ms = doc->model_space();
  ms.reserve(kEntities);
  const std::uint32_t points = doc->layer_index("Puntos");
  const std::uint32_t terrain = doc->layer_index("Terreno");
  const std::uint32_t labels = doc->layer_index("Rotulos");
  for (std::size_t i = 0; i < kPoints; ++i) {
    ms.add<memcad::Point>(memcad::Vec3{easting(i), northing(i), elevation(i)}).set_layer_index(points);
  }
  for (std::size_t i = 0; i < kFaces; ++i) {
    const std::size_t v = i / 2;
    const memcad::Vec3 a{easting(v), northing(v), elevation(v)};
    const memcad::Vec3 b{easting(v + 1), northing(v + 1), elevation(v + 1)};
    const memcad::Vec3 c{easting(v + 1000), northing(v + 1000), elevation(v + 1000)};
    auto& face = ms.add<memcad::Face3d>(std::array<memcad::Vec3, 4>{a, b, c, c});
    face.set_layer_index(terrain);
  }
  for (std::size_t i = 0; i < kTexts; ++i) {
    std::string label(1, 'P');
    label += std::to_string(i + 1);
    auto& t = ms.add<memcad::Text>(std::move(label), memcad::Vec3{easting(i), northing(i), 0}, 0.5);
    t.set_layer_index(labels);
  }
  return doc;
}

// Built once for all benchmarks.
struct Fixture {
  std::shared_ptr<memcad::Document> doc = survey_drawing();
  std::string text = dxf::save_dxf_text(*doc);
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "kestrel-dxf-bench";
  Fixture() { std::filesystem::create_directories(folder); }
  ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void report(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture().text.size()));
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kEntities));
  state.counters["entities"] = static_cast<double>(kEntities);
  state.counters["MB"] = static_cast<double>(fixture().text.size()) / 1e6;
}

void BM_SaveDxfFile(benchmark::State& state) {
  const auto file = fixture().folder / "save.dxf";
  for (auto _ : state) dxf::save_dxf(*fixture().doc, file);
  report(state);
}

// The same bytes through a plain buffered write (1 MiB buffer), as the floor.
void BM_PlainWriteSameBytes(benchmark::State& state) {
  const auto file = fixture().folder / "plain.dxf";
  const std::string& text = fixture().text;
  for (auto _ : state) {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::setvbuf(f, nullptr, _IOFBF, 1 << 20);
    for (std::size_t at = 0; at < text.size(); at += 1 << 16) {
      std::fwrite(text.data() + at, 1, std::min<std::size_t>(1 << 16, text.size() - at), f);
    }
    std::fclose(f);
  }
  report(state);
}

void BM_LoadDxfFile(benchmark::State& state) {
  const auto file = fixture().folder / "load.dxf";
  dxf::save_dxf(*fixture().doc, file);
  for (auto _ : state) {
    auto doc = dxf::load_dxf(file);
    benchmark::DoNotOptimize(doc);
  }
  report(state);
}

BENCHMARK(BM_SaveDxfFile)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_PlainWriteSameBytes)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_LoadDxfFile)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
