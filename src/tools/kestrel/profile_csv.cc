#include "tools/kestrel/profile_csv.h"

#include <algorithm>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/kestrel/csv_fields.h"

namespace kestrel::cli {

namespace {

// A profile needs a segment to be drawn at all.
constexpr std::size_t kFewestPoints = 2;

// "," or ";": the first record line decides.
constexpr std::string_view kSeparators = ";,";

}  // namespace

Profile parse_profile_csv(std::string_view text, std::string_view name) {
  std::vector<double> chainages, elevations;
  const auto estimate = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  chainages.reserve(estimate);
  elevations.reserve(estimate);
  for_each_record(text, name, kSeparators, [&](const CsvRecord& record) {
    std::span<const std::string> fields = record.fields;
    while (fields.size() > 2 && fields.back().empty()) fields = fields.first(fields.size() - 1);  // spreadsheets' trailing separators
    if (fields.size() != 2) {
      fail_at(name, record.line, "expected chainage, elevation; found " + std::to_string(fields.size()) + " field(s)");
    }
    const ParsedNumber chainage = parse_plain_number(fields[0], false);
    const ParsedNumber elevation = parse_plain_number(fields[1], false);
    const bool header = chainages.empty() && chainage.kind == NumberText::kNotANumber &&
                        elevation.kind == NumberText::kNotANumber;  // a header before the first point
    if (header) return;
    if (chainage.kind != NumberText::kNumber) fail_number(name, record.line, "chainage", chainage.kind, fields[0]);
    if (elevation.kind != NumberText::kNumber) fail_number(name, record.line, "elevation", elevation.kind, fields[1]);
    chainages.push_back(chainage.value);
    elevations.push_back(elevation.value);
  });
  if (chainages.size() < kFewestPoints) {
    throw std::runtime_error(std::string(name) + ": a profile needs at least 2 points; found " +
                             std::to_string(chainages.size()));
  }
  Profile profile;
  profile.Ptos = static_cast<std::int32_t>(chainages.size());
  profile.Pk = core::VbArray<double>(1, std::move(chainages));
  profile.Ct = core::VbArray<double>(1, std::move(elevations));
  return profile;
}

Profile read_profile_csv(const std::filesystem::path& file) {
  return parse_profile_csv(read_text_file(file), file.string());
}

}  // namespace kestrel::cli
