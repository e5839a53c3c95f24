#include "export/label_fonts.h"

#include <fstream>
#include <string_view>

#include "core/text.h"
#include "core/trap.h"
#include "core/utf8.h"
#include "module/settings_access.h"
#include "platform/fonts_folder.h"

namespace kestrel::exporting {

namespace {

// One field of a delimited record starting at `pos`: leading blanks
// skipped, a quoted field up to its closing quote, an unquoted one up to the
// next comma. `pos` ends past the comma that closes the field.
std::string next_field(std::string_view line, std::size_t& pos) {
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
  std::string field;
  if (pos < line.size() && line[pos] == '"') {
    const std::size_t close = line.find('"', pos + 1);
    const std::size_t end = close == std::string_view::npos ? line.size() : close;
    field.assign(line.substr(pos + 1, end - pos - 1));
    pos = line.find(',', end);
  } else {
    const std::size_t comma = line.find(',', pos);
    field.assign(line.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
    pos = comma;
  }
  pos = pos == std::string_view::npos ? line.size() : pos + 1;
  return field;
}

std::string_view without_line_end(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}

void read_records(std::ifstream& in, FontTable& table) {
  std::string line;
  while (std::getline(in, line)) {
    line = core::to_valid_utf8(line);  // an ANSI file: its bytes are Windows-1252
    const std::string_view record = without_line_end(line);
    if (record.find_first_not_of(" \t") == std::string_view::npos) continue;
    std::size_t pos = 0;
    std::string name = next_field(record, pos);
    std::string file = next_field(record, pos);
    const std::size_t chars = core::count_chars(name, 0, name.size());
    const std::int32_t k = table.count + 1;
    table.names[k] = core::trim(core::left(name, static_cast<std::int32_t>(chars) - 2));  // 5 when short, 9 past 500
    table.files[k] = std::move(file);
    table.count = k;
  }
}

}  // namespace

void Lee_Fuentes(Module& module, FontTable& table) {
  core::trap(module.error_log, {"Lee:  Error nº  ", ": "}, [&] {
    const std::string fallback = (platform::program_folder() / "fuentes_.txt").string();
    const std::string path = read_setting(module.services.settings, "Fuentes", "fichero", fallback);
    std::ifstream in(path, std::ios::binary);
    if (!in) core::raise(core::kFileNotFound);
    read_records(in, table);
  });
}

std::string Dir_Win(Module& module) {
  std::string folder;
  core::trap(module.error_log, {"Dir_Win - Error    nº ", ": "}, [&] {
    folder = read_setting(module.services.settings, "Fuentes", "carpeta", platform::system_fonts_folder());
    // A folder already ending in either separator (Windows writes '\\') gets no second one.
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder.push_back('/');
  });
  return folder;
}

std::string style_font_file(const FontTable& table, const std::string& folder, const std::string& style) {
  std::string file = style;
  for (std::int32_t k = 1; k <= table.count; ++k) {
    if (table.names[k] == style) {
      file = core::trim(table.files[k]);
      break;
    }
  }
  const auto found = platform::find_file_any_case(folder + file + ".TTF");
  return found ? found->string() : std::string();
}

}  // namespace kestrel::exporting
