#include "tools/kestrel/profile_csv.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/numeric.h"
#include "tools/kestrel/csv_fields.h"

namespace kestrel::cli {

namespace {

// A profile needs a segment to be drawn at all.
constexpr std::size_t kFewestPoints = 2;

[[noreturn]] void fail(std::string_view name, std::size_t line, const std::string& what) {
  throw std::runtime_error(std::string(name) + ":" + std::to_string(line) + ": " + what);
}

// The first line decides: ";" when it has one, else ",".
char separator_of(std::string_view line) { return line.find(';') != std::string_view::npos ? ';' : ','; }

}  // namespace

Profile parse_profile_csv(std::string_view text, std::string_view name) {
  std::vector<double> chainages, elevations;
  const auto estimate = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  chainages.reserve(estimate);
  elevations.reserve(estimate);
  std::optional<char> separator;
  for_each_line(text, [&](std::size_t line, std::string_view content) {
    if (!separator) separator = separator_of(content);
    std::vector<std::string> fields = split_fields(content, *separator);
    while (fields.size() > 2 && fields.back().empty()) fields.pop_back();  // spreadsheets' trailing separators
    if (fields.size() != 2) {
      fail(name, line, "expected chainage, elevation; found " + std::to_string(fields.size()) + " field(s)");
    }
    const std::optional<double> chainage = core::parse_number(fields[0]);
    const std::optional<double> elevation = core::parse_number(fields[1]);
    if (chainages.empty() && !chainage && !elevation) return;  // a header before the first point
    if (!chainage) fail(name, line, "chainage is not a number: \"" + fields[0] + "\"");
    if (!elevation) fail(name, line, "elevation is not a number: \"" + fields[1] + "\"");
    chainages.push_back(*chainage);
    elevations.push_back(*elevation);
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
