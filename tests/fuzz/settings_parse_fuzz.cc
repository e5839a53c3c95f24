// libFuzzer target for the settings file parser. For any bytes, parsing
// raises nothing but ini::FormatError; what parses writes text that parses to
// the same entries and writes back unchanged; entries appended as the store
// appends them (a value from the input, stray bytes and all) read back as the
// document holds them; compacting keeps the value of every section and key.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ini_file.h"

namespace {

namespace ini = kestrel::platform::ini;

void check(bool condition) {
  if (!condition) std::abort();
}

void check_round_trip(const ini::Document& doc) {
  const std::string text = doc.text();
  const ini::Document again = ini::Document::parse(text);
  check(again.entries() == doc.entries());
  check(again.text() == text);
}

void check_append(std::string_view bytes, ini::Document doc) {
  if (!doc.appendable()) return;
  const std::string value(bytes.substr(0, 40));
  const std::vector<std::pair<std::string, std::string>> entries = {{"Numero", "7"}, {"Lugar 7", value}};
  const std::string added = doc.append("Merivox Errores", entries);
  const ini::Document reread = ini::Document::parse(std::string(bytes) + added);
  check(reread.entries() == doc.entries());
  check(*reread.find("Merivox Errores", "Lugar 7") == value);
}

void check_compaction(ini::Document doc) {
  std::vector<std::pair<ini::Entry, std::string>> found;  // each entry and what find gave for it
  for (const ini::Entry& e : doc.entries()) found.emplace_back(e, *doc.find(e.section, e.key));
  doc.compact();
  for (const auto& [e, value] : found) {
    const std::string* now = doc.find(e.section, e.key);
    check(now != nullptr && *now == value);
  }
  for (const ini::Entry& e : doc.entries()) check(*doc.find(e.section, e.key) == e.value);  // none overridden left
  check_round_trip(doc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ini::Document doc;
  try {
    doc = ini::Document::parse(bytes);
  } catch (const ini::FormatError&) {
    return 0;
  }
  check_round_trip(doc);
  check_append(bytes, doc);
  check_compaction(doc);
  return 0;
}
