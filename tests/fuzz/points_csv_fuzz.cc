// libFuzzer target for the points-file reader: any bytes give a drawing of
// NuPun points with finite coordinates, or a short, printable error.

#include "text_reader_fuzz.h"
#include "tools/kestrel/points_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrel;
  return fuzz::read_or_explain(
      data, size, [](std::string_view text) { return cli::parse_points_csv(text, "fuzz.csv"); },
      [](const model::t_Dibujo& d) {
        if (d.NuPun < 1 || d.Nmb.ubound() != d.NuPun || d.Cd.ubound() != d.NuPun) std::abort();
        for (const auto* list : {&d.X, &d.Y, &d.Z}) fuzz::check_finite(*list, d.NuPun);
      });
}
