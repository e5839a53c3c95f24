#include "platform/ini_file.h"

#include <algorithm>
#include <optional>

#include "core/cp1252.h"
#include "core/utf8.h"
#include "platform/name_fold.h"

namespace kestrel::platform::ini {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool is_control(unsigned char c) noexcept { return c < 0x20 || c == 0x7F; }

std::string_view trim_blanks(std::string_view s) noexcept {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

void append_hex(std::string& out, unsigned char c) {
  out += "\\x";
  out += kHexDigits[c >> 4];
  out += kHexDigits[c & 0xF];
}

int hex_value(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The escaped form of one ASCII byte, appended to `out`.
void escape_ascii(std::string& out, char c, bool is_name) {
  switch (c) {
    case '\\': out += "\\\\"; return;
    case '\r': out += "\\r"; return;
    case '\n': out += "\\n"; return;
    case '\t': out += "\\t"; return;
    default: break;
  }
  const bool special_in_name = c == '=' || c == ';' || c == '#' || c == '[';
  if (is_control(static_cast<unsigned char>(c)) || (is_name && special_in_name)) {
    append_hex(out, static_cast<unsigned char>(c));
  } else {
    out += c;
  }
}

// Bytes that are not well-formed UTF-8 are written as "\xHH", so that the
// file stays UTF-8 whatever a value holds.
std::string escape(std::string_view text, bool is_name) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      escape_ascii(out, text[i++], is_name);
      continue;
    }
    const core::Utf8Char c = core::decode_char(text, i);
    if (c.well_formed) {
      out.append(text.substr(i, c.size));
    } else {
      append_hex(out, static_cast<unsigned char>(text[i]));
    }
    i += c.size;
  }
  return out;
}

// The byte an escape at `text[i]` ('\\') stands for, and how many characters it spans.
std::optional<std::pair<char, std::size_t>> decode_escape(std::string_view text, std::size_t i) noexcept {
  if (i + 1 >= text.size()) return std::nullopt;
  switch (text[i + 1]) {
    case '\\': return std::pair{'\\', std::size_t{2}};
    case 'r': return std::pair{'\r', std::size_t{2}};
    case 'n': return std::pair{'\n', std::size_t{2}};
    case 't': return std::pair{'\t', std::size_t{2}};
    case 'x': break;
    default: return std::nullopt;
  }
  if (i + 3 >= text.size()) return std::nullopt;
  const int high = hex_value(text[i + 2]);
  const int low = hex_value(text[i + 3]);
  if (high < 0 || low < 0) return std::nullopt;
  return std::pair{static_cast<char>(high * 16 + low), std::size_t{4}};
}

}  // namespace

FormatError::FormatError(std::size_t line, const std::string& reason)
    : std::runtime_error("línea " + std::to_string(line) + ": " + reason), line_(line) {}

std::string escape_value(std::string_view value) { return escape(value, false); }
std::string escape_name(std::string_view name) { return escape(name, true); }

std::string unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto decoded = text[i] == '\\' ? decode_escape(text, i) : std::nullopt;
    if (decoded) {
      out += decoded->first;
      i += decoded->second;
    } else {
      out += text[i++];
    }
  }
  return out;
}


namespace {

bool has_high_byte(std::string_view text) noexcept {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The text's encoding as the host would read it: UTF-8 when it is valid
// UTF-8, else Windows-1252. Judged on the complete lines when they hold any
// byte above 0x7F, so that an append cut short inside a character does not
// turn a whole UTF-8 file into Windows-1252.
bool reads_as_utf8(std::string_view complete_lines, std::string_view whole) noexcept {
  return has_high_byte(complete_lines) ? core::is_valid_utf8(complete_lines) : core::is_valid_utf8(whole);
}

// Section and key folded into one map key; the length prefix keeps
// ("ab", "c") apart from ("a", "bc").
std::string composite_key(std::string_view section, std::string_view key) {
  std::string out = std::to_string(section.size());
  out += ':';
  out += fold_name(section);
  out += fold_name(key);
  return out;
}

}  // namespace

Document::Line Document::classify(std::string_view raw, std::size_t number) {
  if (raw.ends_with('\r')) raw.remove_suffix(1);
  const auto forbidden = [](char c) { return c != '\t' && is_control(static_cast<unsigned char>(c)); };
  if (std::any_of(raw.begin(), raw.end(), forbidden)) {
    throw FormatError(number, "carácter de control");
  }
  const std::string_view trimmed = trim_blanks(raw);
  if (trimmed.empty()) return {Kind::kBlank, std::string(raw), {}, {}};
  if (trimmed.front() == ';' || trimmed.front() == '#') return {Kind::kComment, std::string(raw), {}, {}};
  if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
    return {Kind::kSection, std::string(raw), unescape(trimmed.substr(1, trimmed.size() - 2)), {}};
  }
  const auto equals = raw.find('=');
  if (equals == std::string_view::npos) throw FormatError(number, "no es [sección] ni clave=valor");
  return {Kind::kEntry, std::string(raw), unescape(raw.substr(0, equals)), unescape(raw.substr(equals + 1))};
}

std::string Document::index_key(std::size_t entry_line) const {
  const Line& entry = lines_[entry_line];
  return composite_key(lines_[entry.section].name, entry.name);
}

void Document::add_line(Line line) {
  const std::size_t at = lines_.size();
  if (line.kind == Kind::kEntry) line.section = last_section_;
  lines_.push_back(std::move(line));
  if (lines_.back().kind == Kind::kSection) last_section_ = at;
  if (lines_.back().kind == Kind::kEntry) last_entry_.insert_or_assign(index_key(at), at);
}

void Document::rebuild_index() {
  last_entry_.clear();
  last_section_ = kNoSection;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    Line& line = lines_[i];
    if (line.kind == Kind::kSection) last_section_ = i;
    if (line.kind != Kind::kEntry) continue;
    line.section = last_section_;
    last_entry_.insert_or_assign(index_key(i), i);
  }
}

Document Document::parse(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  const std::size_t last_break = text.rfind('\n');
  const std::size_t body_size = last_break == std::string_view::npos ? 0 : last_break + 1;
  const std::string_view body = text.substr(0, body_size);
  const std::string_view tail = text.substr(body_size);
  Document doc;
  doc.utf8_ = reads_as_utf8(body, text);
  const std::string decoded = doc.utf8_ ? std::string(body) : core::from_cp1252(body);
  std::string_view rest = decoded;
  const std::size_t line_count = static_cast<std::size_t>(std::count(rest.begin(), rest.end(), '\n'));
  doc.lines_.reserve(line_count + 1);
  for (std::size_t number = 1; number <= line_count; ++number) {
    const auto end = rest.find('\n');
    Line line = classify(rest.substr(0, end), number);
    if (line.kind == Kind::kEntry && doc.last_section_ == kNoSection) {
      throw FormatError(number, "clave=valor antes de la primera [sección]");
    }
    doc.add_line(std::move(line));
    rest.remove_prefix(end + 1);
  }
  if (!tail.empty()) doc.parse_last_line(tail, line_count + 1);
  return doc;
}

// A last line without a line end: kept when well-formed; dropped when the
// lines before it are a settings file, as an append that was cut short.
void Document::parse_last_line(std::string_view tail, std::size_t number) {
  ends_with_line_end_ = false;
  try {
    if (utf8_ && !core::is_valid_utf8(tail)) throw FormatError(number, "texto cortado");
    Line line = classify(utf8_ ? std::string(tail) : core::from_cp1252(tail), number);
    if (line.kind == Kind::kEntry && last_section_ == kNoSection) {
      throw FormatError(number, "clave=valor antes de la primera [sección]");
    }
    add_line(std::move(line));
  } catch (const FormatError&) {
    if (last_section_ == kNoSection) throw;
    dropped_tail_ = true;
  }
}

std::string Document::text() const {
  std::size_t size = 0;
  for (const Line& line : lines_) size += line.raw.size() + 1;
  std::string out;
  out.reserve(size);
  for (const Line& line : lines_) {
    out += line.raw;
    out += '\n';
  }
  return out;
}

// Just after the last entry of the first section named `section` (after its
// header when it has none); -1 when there is no such section.
std::ptrdiff_t Document::insertion_point(std::string_view section) const {
  const auto header = std::find_if(lines_.begin(), lines_.end(), [&](const Line& line) {
    return line.kind == Kind::kSection && same_name(line.name, section);
  });
  if (header == lines_.end()) return -1;
  auto point = header + 1;
  for (auto it = header + 1; it != lines_.end() && it->kind != Kind::kSection; ++it) {
    if (it->kind == Kind::kEntry) point = it + 1;
  }
  return point - lines_.begin();
}

const std::string* Document::find(std::string_view section, std::string_view key) const {
  const auto found = last_entry_.find(composite_key(section, key));
  return found == last_entry_.end() ? nullptr : &lines_[found->second].value;
}

void Document::set(std::string_view section, std::string_view key, std::string_view value) {
  if (const auto found = last_entry_.find(composite_key(section, key)); found != last_entry_.end()) {
    Line& line = lines_[found->second];
    // The key keeps its spelling as written; only the value is rewritten.
    line.raw = line.raw.substr(0, line.raw.find('=') + 1) + escape_value(value);
    line.value = value;
    return;
  }
  Line entry{Kind::kEntry, escape_name(key) + '=' + escape_value(value), std::string(key), std::string(value)};
  if (const auto point = insertion_point(section); point >= 0) {
    lines_.insert(lines_.begin() + point, std::move(entry));
    rebuild_index();
    return;
  }
  if (!lines_.empty() && lines_.back().kind != Kind::kBlank) add_line({Kind::kBlank, {}, {}, {}});
  add_line({Kind::kSection, '[' + escape_name(section) + ']', std::string(section), {}});
  add_line(std::move(entry));
}

std::string Document::append(std::string_view section,
                             std::span<const std::pair<std::string, std::string>> entries) {
  std::string out;
  if (!ends_with_line_end_) out += '\n';
  ends_with_line_end_ = true;
  auto add = [&](Line line) {
    out += line.raw;
    out += '\n';
    add_line(std::move(line));
  };
  if (last_section_ == kNoSection || !same_name(lines_[last_section_].name, section)) {
    if (!lines_.empty() && lines_.back().kind != Kind::kBlank) add({Kind::kBlank, {}, {}, {}});
    add({Kind::kSection, '[' + escape_name(section) + ']', std::string(section), {}});
  }
  for (const auto& [key, value] : entries) {
    add({Kind::kEntry, escape_name(key) + '=' + escape_value(value), key, value});
  }
  return out;
}

void Document::drop_overridden_entries() {
  std::vector<bool> overridden(lines_.size(), false);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    overridden[i] = lines_[i].kind == Kind::kEntry && last_entry_.at(index_key(i)) != i;
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (overridden[i]) continue;
    if (kept != i) lines_[kept] = std::move(lines_[i]);
    ++kept;
  }
  lines_.resize(kept);
}

// A header with only blank lines under it goes, with those lines, when
// another header of its name remains (the last of several empty ones stays).
void Document::drop_empty_repeated_headers() {
  std::unordered_map<std::string, std::size_t> headers;
  for (const Line& line : lines_) {
    if (line.kind == Kind::kSection) ++headers[fold_name(line.name)];
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::kSection) {
      std::size_t next = i + 1;
      while (next < lines_.size() && lines_[next].kind == Kind::kBlank) ++next;
      const bool empty = next == lines_.size() || lines_[next].kind == Kind::kSection;
      std::size_t& named = headers[fold_name(lines_[i].name)];
      if (empty && named > 1) {
        --named;
        i = next - 1;
        continue;
      }
    }
    if (kept != i) lines_[kept] = std::move(lines_[i]);
    ++kept;
  }
  lines_.resize(kept);
}

void Document::compact() {
  drop_overridden_entries();
  drop_empty_repeated_headers();
  rebuild_index();
}

std::vector<Entry> Document::entries() const {
  std::vector<Entry> out;
  out.reserve(last_entry_.size());
  for (const Line& line : lines_) {
    if (line.kind == Kind::kEntry) out.push_back({lines_[line.section].name, line.name, line.value});
  }
  return out;
}

std::size_t Document::entry_count() const noexcept {
  return static_cast<std::size_t>(
      std::count_if(lines_.begin(), lines_.end(), [](const Line& line) { return line.kind == Kind::kEntry; }));
}

}  // namespace kestrel::platform::ini
