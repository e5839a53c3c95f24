// Record file speed: writing and reading a survey drawing of 10^4, 10^5 and
// 10^6 points (twice as many triangles, a polyline and a text per 100 points,
// a 50-vertex contour per 1000), and in the same run python3's json module
// loading and dumping the 10^6-point file as the anchor. MB are 10^6 bytes;
// each figure is the best of a few runs, by wall clock and by this process's
// CPU time (the machine may be shared). bench/records_vs_python.sh runs it
// as one command would and with freed memory kept for reuse.
//
//   kestrel_bench_records [points]   (default 1000000)
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/byte_sink.h"
#include "recordfile/record_file.h"

namespace {

using namespace kestrel::model;
using Clock = std::chrono::steady_clock;

t_Dibujo survey(std::int32_t points) {
  std::mt19937 random(points);
  std::uniform_int_distribution<int> mm(0, 999'999);
  t_Dibujo d;
  d.Texto2 = "bench";
  d.NuPun = points;
  d.Nmb = VbArray<std::string>(1, points);
  d.X = VbArray<double>(1, points);
  d.Y = VbArray<double>(1, points);
  d.Z = VbArray<double>(1, points);
  d.Cd = VbArray<std::string>(1, points);
  d.infor = VbArray<std::string>(1, points);
  d.Capa = VbArray<std::int16_t>(1, points);
  for (std::int32_t i = 1; i <= points; ++i) {
    d.Nmb[i] = std::to_string(i);
    d.X[i] = 438000 + mm(random) / 1000.0;  // survey coordinates to the millimetre
    d.Y[i] = 4472000 + mm(random) / 1000.0;
    d.Z[i] = 600 + mm(random) / 10000.0;
    d.Cd[i] = i % 50 == 0 ? "ARB" : "TN";
    d.Capa[i] = 1;
  }
  d.Nutria = 2 * points;
  for (auto* b : {&d.B1, &d.B2, &d.B3}) *b = VbArray<std::int32_t>(1, d.Nutria);
  for (std::int32_t t = 1; t <= d.Nutria; ++t) {
    d.B1[t] = 1 + (t / 2) % points;
    d.B2[t] = 1 + (t / 2 + 1) % points;
    d.B3[t] = 1 + (t / 2 + 1000) % points;
  }
  d.NuPolis = points / 100;
  d.poli = VbArray<t_Poli>(1, d.NuPolis);
  for (std::int32_t p = 1; p <= d.NuPolis; ++p) {
    t_Poli& poli = d.poli[p];
    poli.NuVert = 8;
    poli.Vert = VbArray<std::int32_t>(0, 8);
    for (std::int32_t v = 1; v <= 8; ++v) poli.Vert[v] = 1 + (p * 8 + v) % points;
    poli.CapaP = 1;
  }
  d.NuRotulos = points / 100;
  d.Rotulo = VbArray<t_Rotulo>(1, d.NuRotulos);
  for (std::int32_t r = 1; r <= d.NuRotulos; ++r) {
    t_Rotulo& text = d.Rotulo[r];
    text.Texto = "Arqueta " + std::to_string(r) + "#cota " + std::to_string(600 + r % 40);
    text.CapaR = 1;
    text.Xr = d.X[r];
    text.Yr = d.Y[r];
    text.Altura = 1.5;
    text.Estilo = "Arial";
  }
  d.Curvado.NuCurvas = points / 1000;
  d.Curvado.Curvas = VbArray<t_Curva>(1, d.Curvado.NuCurvas);
  for (std::int32_t c = 1; c <= d.Curvado.NuCurvas; ++c) {
    t_Curva& curve = d.Curvado.Curvas[c];
    curve.NuVertC = 49;
    curve.VertC = VbArray<Vertex3>(0, 49);
    for (std::int32_t v = 0; v <= 49; ++v) curve.VertC[v] = {d.X[c + v], d.Y[c + v], 600.0 + c % 20};
  }
  d.nuCapas = 1;
  d.Capas1 = VbArray<t_Capa>(1, std::vector<t_Capa>{{"PUNTOS", -1, 255, 0, {}}});
  return d;
}

t_Datos survey_set(std::int32_t points) {
  t_Datos set;
  set.NuDibujos = 1;
  set.DibujoAct = 1;
  set.Dibujos = VbArray<t_Dibujo>(1, std::vector<t_Dibujo>{survey(points)});
  return set;
}

// Counts the bytes and drops them: the writer's own speed.
class CountingSink final : public kestrel::core::ByteSink {
 public:
  void write(std::string_view bytes) override { count_ += bytes.size(); }
  std::size_t count_ = 0;
};

class FileSink final : public kestrel::core::ByteSink {
 public:
  explicit FileSink(const std::filesystem::path& path) : out_(path, std::ios::binary | std::ios::trunc) {}
  void write(std::string_view bytes) override { out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size())); }

 private:
  std::ofstream out_;
};

struct Seconds {
  double wall = 1e300;
  double cpu = 1e300;  // this process's, user and system (page faults included)
};

double cpu_now() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Best times of `runs` calls.
Seconds best_of(int runs, const std::function<void()>& task) {
  Seconds best;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    const double cpu_start = cpu_now();
    task();
    best.cpu = std::min(best.cpu, cpu_now() - cpu_start);
    best.wall = std::min(best.wall, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

void row(const char* what, std::size_t bytes, Seconds s) {
  const double mb = static_cast<double>(bytes) / 1e6;
  std::printf("  %-36s %8.1f MB/s %8.1f MB/s %8.3f s\n", what, mb / s.wall, mb / s.cpu, s.wall);
}

// How fast this machine hands out memory never touched before (every large
// buffer a run allocates pays this once per page).
void fresh_memory_rate() {
  constexpr std::size_t kBytes = std::size_t{256} << 20;
  const Seconds s = best_of(1, [] {
    std::vector<char> block(kBytes);
    if (block[kBytes / 2] != 0) std::abort();
  });
  row("first touch of fresh memory", kBytes, s);
}

// python3's json module on the same file, in this run.
void python_anchor(const std::filesystem::path& file, std::size_t bytes) {
  const std::string command =
      "/usr/bin/python3 -c '"
      "import json, sys, time\n"
      "def best(f):\n"
      "    wall, cpu = [], []\n"
      "    for _ in range(3):\n"
      "        t, c = time.perf_counter(), time.process_time(); r = f()\n"
      "        wall.append(time.perf_counter() - t); cpu.append(time.process_time() - c)\n"
      "    return min(wall), min(cpu), r\n"
      "lw, lc, doc = best(lambda: json.load(open(sys.argv[1], \"rb\")))\n"
      "dw, dc, _ = best(lambda: json.dumps(doc))\n"
      "print(lw, lc, dw, dc)' " +
      file.string();
  FILE* pipe = popen(command.c_str(), "r");
  Seconds load;
  Seconds dump;
  const bool ok =
      pipe != nullptr && std::fscanf(pipe, "%lf %lf %lf %lf", &load.wall, &load.cpu, &dump.wall, &dump.cpu) == 4;
  if (pipe != nullptr) pclose(pipe);
  if (!ok) {
    std::printf("  python3 json: could not run /usr/bin/python3\n");
    return;
  }
  row("python3 json.load (anchor)", bytes, load);
  row("python3 json.dumps (anchor)", bytes, dump);
}

void measure(std::int32_t points, bool with_anchor) {
  const t_Datos set = survey_set(points);
  const int runs = points >= 1'000'000 ? 3 : 5;
  std::string text;
  std::printf("%d points, %d triangles:%28s %13s\n", points, 2 * points, "wall", "CPU");
  const Seconds to_string = best_of(runs, [&] { text = to_json(set); });
  std::printf("  document: %.1f MB\n", static_cast<double>(text.size()) / 1e6);
  const Seconds to_sink = best_of(runs, [&] {
    CountingSink sink;
    write_json(sink, set);
  });
  const auto file = std::filesystem::temp_directory_path() / ("kestrel-bench-" + std::to_string(getpid()) + ".json");
  const Seconds to_file = best_of(runs, [&] {
    FileSink sink(file);
    write_json(sink, set);
  });
  const Seconds from_text = best_of(runs, [&] { (void)from_json(text); });
  const Seconds from_file = best_of(runs, [&] { (void)read_record_file(file); });
  row("write_json (bytes counted, dropped)", text.size(), to_sink);
  row("to_json (into a string)", text.size(), to_string);
  row("write_json (into a file)", text.size(), to_file);
  row("from_json (from a string)", text.size(), from_text);
  row("read_record_file", text.size(), from_file);
  if (with_anchor) {
    python_anchor(file, text.size());
    fresh_memory_rate();
  }
  std::filesystem::remove(file);
}

}  // namespace

int main(int argc, char** argv) {
  const std::int32_t points = argc > 1 ? std::stoi(argv[1]) : 1'000'000;
  for (std::int32_t n = 10'000; n < points; n *= 10) measure(n, false);
  measure(points, true);
}
