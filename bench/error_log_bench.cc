// Logging errors into a settings file. The error log must cost the same per
// error however long the log already is. Anchor, in the same run: the former
// way of logging, which read the counter and then saved "Numero", "Lugar n"
// and "Error n" one by one, each save rewriting the whole file (temporary
// file, fsync, rename). Counters: errors per second, the file's size and the
// process's peak resident memory (the store keeps the parsed file).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/numeric.h"
#include "module/error_log.h"
#include "module/settings_access.h"
#include "platform/posix/ini_settings_store.h"
#include "platform/settings.h"

namespace {

namespace fs = std::filesystem;
using kestrel::ErrorLog;
using kestrel::platform::IniSettingsStore;

class SilentMessageBox final : public kestrel::platform::MessageBoxService {
 public:
  int show(std::string_view, int, std::string_view) override { return kestrel::platform::kOk; }
};

// A fresh folder for one settings file, removed afterwards.
class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "kestrel-bench-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    path_ = ::mkdtemp(name.data());
  }
  ~Folder() { fs::remove_all(path_); }
  [[nodiscard]] fs::path file() const { return path_ / "settings.ini"; }

 private:
  fs::path path_;
};

std::string message(std::int64_t i) {
  return " Autocad Genera Capas en 3 - Error    nº  5: Argumento o llamada a procedimiento no válida (capa " +
         std::to_string(i) + ")";
}

constexpr std::string_view kTitle = "ZWCAD.Application";

void report(benchmark::State& state, const fs::path& file) {
  state.counters["errors/s"] = benchmark::Counter(static_cast<double>(state.range(0)), benchmark::Counter::kIsRate);
  state.counters["file MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  state.counters["peak RSS MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

void BM_ErrorLog(benchmark::State& state) {
  for (auto _ : state) {
    const Folder folder;
    IniSettingsStore store = IniSettingsStore::single_file(folder.file());
    SilentMessageBox box;
    kestrel::core::VbBool stop = kestrel::core::kFalse;
    ErrorLog log(box, store, stop);
    for (std::int64_t i = 1; i <= state.range(0); ++i) log.log(message(i), std::string(kTitle));
    state.PauseTiming();
    report(state, folder.file());
    state.ResumeTiming();
  }
}

// The anchor: the counter read and three whole-file saves per error.
void BM_ThreeSavesPerError(benchmark::State& state) {
  for (auto _ : state) {
    const Folder folder;
    IniSettingsStore store = IniSettingsStore::single_file(folder.file());
    for (std::int64_t i = 1; i <= state.range(0); ++i) {
      const std::int32_t counter =
          kestrel::core::clng(kestrel::core::val(kestrel::read_setting(store, "Errores", "Numero", "0"))) + 1;
      const std::string n = std::to_string(counter);
      kestrel::save_setting(store, "Errores", "Numero", n);
      kestrel::save_setting(store, "Errores", "Lugar " + n, message(i));
      kestrel::save_setting(store, "Errores", "Error " + n, kTitle);
    }
    state.PauseTiming();
    report(state, folder.file());
    state.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(BM_ThreeSavesPerError)->Arg(1000)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ErrorLog)->Arg(2000)->Arg(40000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
