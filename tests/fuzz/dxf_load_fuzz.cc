// libFuzzer target for the DXF loader. For any bytes, loading raises nothing
// but core::Error; loading from a stream a small window at a time gives the
// same drawing (saved text) or error; saving what loads, loading and saving
// again gives the same bytes, unless the saved Windows-1252 text is
// well-formed UTF-8 throughout (then read as UTF-8 on purpose).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

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
  const auto read_as_utf8 = [](const std::string& note) { return note.find("UTF-8 válido") != std::string::npos; };
  return std::ranges::any_of(report.notes, read_as_utf8) || dxf::save_dxf_text(*again) == saved;
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
