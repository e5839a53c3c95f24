#include "platform/ini_file.h"

#include <algorithm>
#include <optional>

#include "platform/name_fold.h"

namespace kestrel::platform::ini {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kHexDigits[] = "0123456789ABCDEF";

// Length of the well-formed UTF-8 sequence at the start of `s`, 0 if none.
std::size_t utf8_sequence_length(std::string_view s) noexcept {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  else return 0;
  if (lead == 0xE0) low = 0xA0;        // overlong
  if (lead == 0xED) high = 0x9F;       // surrogates
  if (lead == 0xF0) low = 0x90;        // overlong
  if (lead == 0xF4) high = 0x8F;       // beyond U+10FFFF
  if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// Offset of the first byte that does not start well-formed UTF-8.
std::optional<std::size_t> first_invalid_utf8(std::string_view text) noexcept {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = utf8_sequence_length(text.substr(i));
    if (n == 0) return i;
    i += n;
  }
  return std::nullopt;
}

std::size_t line_of(std::string_view text, std::size_t offset) noexcept {
  return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

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

std::string escape(std::string_view text, bool is_name) {
  std::string out;
  out.reserve(text.size() + 8);
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; continue;
      case '\r': out += "\\r"; continue;
      case '\n': out += "\\n"; continue;
      case '\t': out += "\\t"; continue;
      default: break;
    }
    const auto byte = static_cast<unsigned char>(c);
    const bool special_in_name = c == '=' || c == ';' || c == '#' || c == '[';
    if (is_control(byte) || (is_name && special_in_name)) {
      append_hex(out, byte);
    } else {
      out += c;
    }
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

Document::Line Document::classify(std::string_view raw, std::size_t number) {
  if (std::any_of(raw.begin(), raw.end(), [](char c) { return c != '\t' && is_control(static_cast<unsigned char>(c)); })) {
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

Document Document::parse(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  if (const auto bad = first_invalid_utf8(text)) throw FormatError(line_of(text, *bad), "texto que no es UTF-8");
  Document doc;
  doc.lines_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  bool seen_section = false;
  for (std::size_t number = 1; !text.empty(); ++number) {
    const auto end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (raw.ends_with('\r')) raw.remove_suffix(1);
    Line line = classify(raw, number);
    if (line.kind == Kind::kEntry && !seen_section) throw FormatError(number, "clave=valor antes de la primera [sección]");
    seen_section = seen_section || line.kind == Kind::kSection;
    doc.lines_.push_back(std::move(line));
  }
  return doc;
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

std::ptrdiff_t Document::find_entry(std::string_view section, std::string_view key) const {
  bool inside = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::kSection) inside = same_name(line.name, section);
    if (line.kind == Kind::kEntry && inside && same_name(line.name, key)) return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
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
  const auto i = find_entry(section, key);
  return i < 0 ? nullptr : &lines_[static_cast<std::size_t>(i)].value;
}

void Document::set(std::string_view section, std::string_view key, std::string_view value) {
  if (const auto i = find_entry(section, key); i >= 0) {
    Line& line = lines_[static_cast<std::size_t>(i)];
    // The key keeps its spelling as written; only the value is rewritten.
    line.raw = line.raw.substr(0, line.raw.find('=') + 1) + escape_value(value);
    line.value = value;
    return;
  }
  Line entry{Kind::kEntry, escape_name(key) + '=' + escape_value(value), std::string(key), std::string(value)};
  if (const auto point = insertion_point(section); point >= 0) {
    lines_.insert(lines_.begin() + point, std::move(entry));
    return;
  }
  if (!lines_.empty() && lines_.back().kind != Kind::kBlank) lines_.push_back({Kind::kBlank, {}, {}, {}});
  lines_.push_back({Kind::kSection, '[' + escape_name(section) + ']', std::string(section), {}});
  lines_.push_back(std::move(entry));
}

std::size_t Document::entry_count() const noexcept {
  return static_cast<std::size_t>(
      std::count_if(lines_.begin(), lines_.end(), [](const Line& line) { return line.kind == Kind::kEntry; }));
}

}  // namespace kestrel::platform::ini
