#include "tools/kestrel/csv_fields.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/text.h"

namespace kestrel::cli {

namespace {

std::string unquote(std::string_view text) {
  std::string field = core::trim(text);
  if (field.size() >= 2 && field.front() == '"' && field.back() == '"') field = field.substr(1, field.size() - 2);
  return field;
}

bool blank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

std::string read_text_file(const std::filesystem::path& file) {
  if (!std::filesystem::exists(file)) throw std::runtime_error(file.string() + ": no such file");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + ": cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

void for_each_line(std::string_view text, const std::function<void(std::size_t, std::string_view)>& on_line) {
  std::size_t number = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!blank(line)) on_line(number, line);
  }
}

char detect_separator(std::string_view line) {
  if (line.find(';') != std::string_view::npos) return ';';
  if (line.find('\t') != std::string_view::npos) return '\t';
  return ',';
}

std::vector<std::string> split_fields(std::string_view line, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(separator, start);
    fields.push_back(unquote(line.substr(start, end - start)));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

}  // namespace kestrel::cli
