#include "tools/kestrel/points_csv.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/options.h"
#include "tools/kestrel/csv_fields.h"

namespace kestrel::cli {

namespace {

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

// The separators a points file may use, in the order they are looked for.
constexpr std::string_view kSeparators = ";\t,";
constexpr const char* kAxes[] = {"x", "y", "z"};

}  // namespace

model::t_Dibujo parse_points_csv(std::string_view text, std::string_view name) {
  Points points;
  const std::size_t estimate = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  for (auto* v : {&points.x, &points.y, &points.z}) v->reserve(estimate);
  points.names.reserve(estimate);
  points.codes.reserve(estimate);

  for_each_record(text, name, kSeparators, [&](const CsvRecord& record) {
    const std::span<const std::string> fields = record.fields;
    if (fields.size() < 4) {
      fail_at(name, record.line,
              "expected name, x, y, z[, code]; found " + std::to_string(fields.size()) + " field(s)");
    }
    // A decimal comma only where "," does not separate fields.
    const bool decimal_comma = record.separator != ',';
    ParsedNumber xyz[3];
    for (std::size_t k = 0; k < 3; ++k) xyz[k] = parse_plain_number(fields[k + 1], decimal_comma);
    const bool header = points.x.empty() && std::all_of(std::begin(xyz), std::end(xyz), [](const ParsedNumber& n) {
                          return n.kind == NumberText::kNotANumber;
                        });  // "name, x, y, z" before the first point
    if (header) return;
    for (std::size_t k = 0; k < 3; ++k) {
      if (xyz[k].kind != NumberText::kNumber) fail_number(name, record.line, kAxes[k], xyz[k].kind, fields[k + 1]);
    }
    points.names.push_back(fields[0]);
    points.x.push_back(xyz[0].value);
    points.y.push_back(xyz[1].value);
    points.z.push_back(xyz[2].value);
    points.codes.push_back(fields.size() > 4 ? fields[4] : std::string());
  });
  if (points.x.empty()) throw std::runtime_error(std::string(name) + ": no points");
  return to_drawing(std::move(points), name);
}

model::t_Dibujo read_points_csv(const std::filesystem::path& file) {
  return parse_points_csv(read_text_file(file), file.string());
}

}  // namespace kestrel::cli
