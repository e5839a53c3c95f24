#include "tools/kestrel/quads_file.h"

#include <simdjson.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "tools/kestrel/cli_files.h"

namespace kestrel::cli {

namespace {

constexpr std::array<const char*, 12> kCorners = {"Vx0", "Vy0", "Vz0", "Vx1", "Vy1", "Vz1",
                                                  "Vx2", "Vy2", "Vz2", "Vx3", "Vy3", "Vz3"};

[[noreturn]] void refuse(const std::string& what) { throw std::runtime_error(what); }

simdjson::dom::array list(const simdjson::dom::object& doc, const char* name, std::int64_t count) {
  simdjson::dom::array items;
  if (doc[name].get_array().get(items)) refuse(std::string(name) + ": falta la lista o no es una lista");
  if (static_cast<std::int64_t>(items.size()) != count) {
    refuse(std::string(name) + ": tiene " + std::to_string(items.size()) + " elementos y Vn1 es " +
           std::to_string(count));
  }
  return items;
}

void check_fields(const simdjson::dom::object& doc) {
  for (const auto field : doc) {
    const std::string_view key = field.key;
    const bool known = key == "format" || key == "version" || key == "Vn1" || key == "Vc1" ||
                       std::find(kCorners.begin(), kCorners.end(), key) != kCorners.end();
    if (!known) refuse(std::string(key) + ": campo desconocido");
  }
  std::string_view format;
  std::int64_t version = 0;
  if (doc["format"].get_string().get(format) || format != "kestrel-quads") refuse("format: se esperaba \"kestrel-quads\"");
  if (doc["version"].get_int64().get(version) || version != 1) refuse("version: se esperaba 1");
}

exporting::ColouredQuads read(const simdjson::dom::object& doc) {
  check_fields(doc);
  std::int64_t n = 0;
  if (doc["Vn1"].get_int64().get(n) || n < 0 || n > INT32_MAX) refuse("Vn1: se esperaba un entero no negativo");
  exporting::ColouredQuads q;
  q.Vn1 = static_cast<std::int32_t>(n);
  q.Vc1.redim(1, q.Vn1);
  std::int32_t i = 1;
  for (const auto v : list(doc, "Vc1", n)) {
    std::int64_t colour = 0;
    if (v.get_int64().get(colour) || colour < INT32_MIN || colour > INT32_MAX) refuse("Vc1: se esperaba un color entero");
    q.Vc1[i++] = static_cast<std::int32_t>(colour);
  }
  for (std::size_t k = 0; k < kCorners.size(); ++k) {
    core::VbArray<double>& target = (k % 3 == 0 ? q.Vx : k % 3 == 1 ? q.Vy : q.Vz)[k / 3];
    target.redim(1, q.Vn1);
    i = 1;
    for (const auto v : list(doc, kCorners[k], n)) {
      double x = 0;
      if (v.get_double().get(x) || !std::isfinite(x)) refuse(std::string(kCorners[k]) + ": se esperaba un número finito");
      target[i++] = x;
    }
  }
  return q;
}

}  // namespace

exporting::ColouredQuads read_quads_file(const std::filesystem::path& file) {
  const std::string name = input_name(file);
  try {
    const simdjson::padded_string text(read_input(file));
    simdjson::dom::parser parser;
    simdjson::dom::object doc;
    if (const auto error = parser.parse(text).get_object().get(doc)) refuse(simdjson::error_message(error));
    return read(doc);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(name + ": " + e.what());
  }
}

}  // namespace kestrel::cli
