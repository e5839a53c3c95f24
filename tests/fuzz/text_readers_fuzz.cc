// libFuzzer target for the command-line tool's text-file readers: the same
// bytes as a points file and as a profile file. Each gives its result (a
// drawing of NuPun points; a profile of at least two points; all numbers
// finite) or a std::runtime_error with a short message a terminal shows as it
// is (valid UTF-8 without control characters); nothing else.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "core/utf8.h"
#include "tools/kestrel/points_csv.h"
#include "tools/kestrel/profile_csv.h"

namespace {

using namespace kestrel;

// Aborts (a finding) unless `message` is short and safe to print.
void check_message(std::string_view message) {
  if (message.empty() || message.size() > 300 || !core::is_valid_utf8(message)) std::abort();
  for (std::size_t i = 0; i < message.size(); ++i) {
    const auto u = static_cast<unsigned char>(message[i]);
    if (u < 0x20 || u == 0x7F) std::abort();
    // C1 controls (U+0080 to U+009F) are 0xC2 followed by 0x80..0x9F.
    const auto next = i + 1 < message.size() ? static_cast<unsigned char>(message[i + 1]) : 0;
    if (u == 0xC2 && next >= 0x80 && next < 0xA0) std::abort();
  }
}

// Aborts unless `list` holds items 1..count, all finite.
template <class List>
void check_finite(const List& list, std::int32_t count) {
  if (list.lbound() != 1 || list.ubound() != count) std::abort();
  for (const double v : list.items()) {
    if (!std::isfinite(v)) std::abort();
  }
}

void read_points(std::string_view text) {
  const model::t_Dibujo d = cli::parse_points_csv(text, "fuzz.csv");
  if (d.NuPun < 1 || d.Nmb.ubound() != d.NuPun || d.Cd.ubound() != d.NuPun) std::abort();
  for (const auto* list : {&d.X, &d.Y, &d.Z}) check_finite(*list, d.NuPun);
}

void read_profile(std::string_view text) {
  const cli::Profile p = cli::parse_profile_csv(text, "fuzz.csv");
  if (p.Ptos < 2) std::abort();
  check_finite(p.Pk, p.Ptos);
  check_finite(p.Ct, p.Ptos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (void (*read)(std::string_view) : {read_points, read_profile}) {
    try {
      read(text);
    } catch (const std::runtime_error& e) {
      check_message(e.what());
    }
  }
  return 0;
}
