#include "tools/kestrel/points_csv.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/numeric.h"
#include "model/options.h"
#include "tools/kestrel/csv_fields.h"

namespace kestrel::cli {

namespace {

std::optional<double> coordinate(std::string text, char separator) {
  if (separator != ',') {
    if (const auto comma = text.find(','); comma != std::string::npos) text[comma] = '.';
  }
  return core::parse_number(text);
}

struct Points {
  std::vector<std::string> names, codes;
  std::vector<double> x, y, z;
};

model::t_Dibujo to_drawing(Points&& p, std::string_view name) {
  const auto n = static_cast<std::int32_t>(p.x.size());
  model::t_Dibujo d;
  d.Texto2 = std::filesystem::path(name).stem().string();
  d.NuPun = n;
  d.Nmb = core::VbArray<std::string>(1, std::move(p.names));
  d.X = core::VbArray<double>(1, std::move(p.x));
  d.Y = core::VbArray<double>(1, std::move(p.y));
  d.Z = core::VbArray<double>(1, std::move(p.z));
  d.Cd = core::VbArray<std::string>(1, std::move(p.codes));
  d.infor.redim(1, n);
  d.Capa = core::VbArray<std::int16_t>(1, std::vector<std::int16_t>(static_cast<std::size_t>(n), 1));
  d.nuCapas = 1;
  d.Capas1.redim(1, 1);
  d.Capas1[1].Nombre = "PUNTOS";
  d.Capas1[1].Encendida = core::kTrue;
  d.Capas1[1].ColorCapa = 0xFFFFFF;
  d.CapaActual = 1;
  // Points with their names, codes and elevations, as a surveyor plots them.
  for (const model::LongOption flag : {model::kChkPtos, model::kChkNo, model::kChkCod, model::kChkZ}) {
    d.Opciones.set(flag, 1);
  }
  return d;
}

[[noreturn]] void fail(std::string_view name, std::size_t line, const std::string& what) {
  throw std::runtime_error(std::string(name) + ":" + std::to_string(line) + ": " + what);
}

}  // namespace

model::t_Dibujo parse_points_csv(std::string_view text, std::string_view name) {
  Points points;
  const std::size_t estimate = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  for (auto* v : {&points.x, &points.y, &points.z}) v->reserve(estimate);
  points.names.reserve(estimate);
  points.codes.reserve(estimate);

  std::optional<char> separator;
  for_each_line(text, [&](std::size_t line_number, std::string_view line) {
    if (!separator) separator = detect_separator(line);
    const std::vector<std::string> fields = split_fields(line, *separator);
    if (fields.size() < 4) fail(name, line_number, "expected name, x, y, z[, code]; found " +
                                                       std::to_string(fields.size()) + " field(s)");
    const auto x = coordinate(fields[1], *separator);
    const auto y = coordinate(fields[2], *separator);
    const auto z = coordinate(fields[3], *separator);
    const bool header = points.x.empty() && !x && !y && !z;  // "name, x, y, z" before the first point
    if (header) return;
    if (!x) fail(name, line_number, "x is not a number: \"" + fields[1] + "\"");
    if (!y) fail(name, line_number, "y is not a number: \"" + fields[2] + "\"");
    if (!z) fail(name, line_number, "z is not a number: \"" + fields[3] + "\"");
    points.names.push_back(fields[0]);
    points.x.push_back(*x);
    points.y.push_back(*y);
    points.z.push_back(*z);
    points.codes.push_back(fields.size() > 4 ? fields[4] : std::string());
  });
  if (points.x.empty()) throw std::runtime_error(std::string(name) + ": no points");
  return to_drawing(std::move(points), name);
}

model::t_Dibujo read_points_csv(const std::filesystem::path& file) {
  return parse_points_csv(read_text_file(file), file.string());
}

}  // namespace kestrel::cli
