// libFuzzer target for the DXF loader: any bytes either load or raise
// core::Error; what loads saves, and saving, loading and saving again
// gives the same bytes — except when the saved Windows-1252 text happens to
// be well-formed UTF-8 throughout, which the loader reads as UTF-8 on purpose.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cad/dxf/dxf.h"
#include "core/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::shared_ptr<kestrel::memcad::Document> doc;
  try {
    doc = kestrel::dxf::load_dxf_text(text, "fuzz.dxf");
  } catch (const kestrel::core::Error&) {
    return 0;  // a clear refusal is the right answer to bad bytes
  }
  const std::string first = kestrel::dxf::save_dxf_text(*doc);
  kestrel::dxf::LoadReport report;
  const auto again = kestrel::dxf::load_dxf_text(first, "first.dxf", &report);
  for (const std::string& note : report.notes) {
    if (note.find("UTF-8 válido") != std::string::npos) return 0;
  }
  if (kestrel::dxf::save_dxf_text(*again) != first) std::abort();  // a save that does not read back as itself
  return 0;
}
