// libFuzzer target for the profile-file reader: any bytes give a profile of at
// least two points with finite chainages and elevations, or a short, printable error.

#include "text_reader_fuzz.h"
#include "tools/kestrel/profile_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrel;
  return fuzz::read_or_explain(
      data, size, [](std::string_view text) { return cli::parse_profile_csv(text, "fuzz.csv"); },
      [](const cli::Profile& p) {
        if (p.Ptos < 2) std::abort();
        fuzz::check_finite(p.Pk, p.Ptos);
        fuzz::check_finite(p.Ct, p.Ptos);
      });
}
