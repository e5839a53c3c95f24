// libFuzzer target for the DXF loader. For any bytes:
// - loading raises nothing but core::Error;
// - loading them from a stream a small window at a time gives the same
//   drawing (the same saved text) or the same error;
// - what loads saves, and saving, loading and saving again gives the same
//   bytes — except when the saved Windows-1252 text happens to be
//   well-formed UTF-8 throughout, which the loader reads as UTF-8 on purpose.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "cad/dxf/dxf.h"
#include "core/error.h"

namespace {

using kestrel::core::Error;
namespace dxf = kestrel::dxf;

// The saved text of what loads, or the error's description.
struct Outcome {
  std::optional<std::string> saved;
  std::string error;
};

template <class Load>
Outcome outcome(Load&& load) {
  try {
    return Outcome{dxf::save_dxf_text(*load()), {}};
  } catch (const Error& e) {
    return Outcome{std::nullopt, e.description()};
  }
}

bool reads_back_as_itself(const std::string& saved) {
  dxf::LoadReport report;
  const auto again = dxf::load_dxf_text(saved, "saved.dxf", &report);
  for (const std::string& note : report.notes) {
    if (note.find("UTF-8 válido") != std::string::npos) return true;
  }
  return dxf::save_dxf_text(*again) == saved;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Outcome whole = outcome([&] { return dxf::load_dxf_text(text, "fuzz.dxf"); });
  const Outcome streamed = outcome([&] {
    std::istringstream in{std::string(text)};
    return dxf::load_dxf_stream(in, "fuzz.dxf", nullptr, 1 + size % 61);
  });
  if (whole.saved != streamed.saved || whole.error != streamed.error) std::abort();
  if (whole.saved && !reads_back_as_itself(*whole.saved)) std::abort();
  return 0;
}
