// libFuzzer target for the record file reader. For any bytes, reading raises
// nothing but core::Error; what reads is well-formed JSON by an independent
// parser (nlohmann-json), writes, reads back equal and writes the same text;
// what that parser finds malformed is refused as malformed JSON (error 5,
// "JSON ..."), and what the reader calls malformed that parser refuses too.
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "core/error.h"
#include "recordfile/record_file.h"

namespace {

using kestrel::core::Error;
namespace model = kestrel::model;

enum class Verdict { kWellFormed, kSyntax, kOther };

// nlohmann's verdict: a syntax error, or another refusal (a number beyond
// the double range). nlohmann takes a NUL byte for the end of the text; JSON
// allows none anywhere (not as blank, not raw in a string).
Verdict independent_verdict(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return Verdict::kSyntax;
  try {
    (void)nlohmann::json::parse(text);
    return Verdict::kWellFormed;
  } catch (const nlohmann::json::parse_error&) {
    return Verdict::kSyntax;
  } catch (const nlohmann::json::exception&) {
    return Verdict::kOther;
  }
}

void check_round_trip(const model::RecordFile& file) {
  try {
    const std::string text = model::to_json(file);
    const model::RecordFile again = model::from_json(text);
    if (!(again == file) || model::to_json(again) != text) std::abort();
  } catch (const Error&) {
    std::abort();  // what was read must write and read back
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Verdict verdict = independent_verdict(text);
  try {
    const model::RecordFile file = model::from_json(text);
    if (verdict != Verdict::kWellFormed) std::abort();
    check_round_trip(file);
  } catch (const Error& e) {
    if (verdict == Verdict::kSyntax && !(e.number() == 5 && e.description().starts_with("JSON "))) std::abort();
    const std::string& said = e.description();
    const bool says_not_json =
        e.number() == 5 && (said.starts_with("JSON mal formado") || said.starts_with("JSON incompleto"));
    if (says_not_json && verdict == Verdict::kWellFormed) std::abort();
  }
  return 0;
}
