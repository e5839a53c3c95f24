#include "cad/memcad/commands.h"

#include <charconv>
#include <string>
#include <vector>

#include "cad/memcad/document.h"
#include "cad/memcad/explode.h"
#include "cad/memcad/names.h"
#include "cad/memcad/selection.h"

namespace kestrel::memcad {

namespace {

// The entries typed, each ended by an Enter; a trailing entry without its
// Enter is still being typed and is not answered.
class Entries {
 public:
  explicit Entries(std::string_view text) {
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // CR LF is one Enter
      if (c == '\r' || c == '\n' || c == ' ') {
        entries_.push_back(std::move(current));
        current.clear();
      } else {
        current.push_back(c);
      }
    }
  }
  [[nodiscard]] const std::string* next() { return at_ < entries_.size() ? &entries_[at_++] : nullptr; }

 private:
  std::vector<std::string> entries_;
  std::size_t at_ = 0;
};

std::string command_name(std::string_view entry) {
  while (!entry.empty() && (entry.front() == '_' || entry.front() == '.' || entry.front() == '-')) {
    entry.remove_prefix(1);
  }
  return fold_name(entry);
}

bool is_explode(std::string_view entry) {
  const std::string name = command_name(entry);
  return name == "explode" || name == "descomp";
}

// Reads the object selection; nullopt when the text ends before the closing Enter.
std::optional<std::vector<EntityPtr<Entity>>> read_selection(Document& doc, Entries& entries) {
  std::vector<EntityPtr<Entity>> chosen;
  while (const std::string* entry = entries.next()) {
    if (entry->empty()) return chosen;
    const std::string word = command_name(*entry);
    if (word == "all" || word == "todo") {
      const auto all = doc.model_space().entities();
      chosen.insert(chosen.end(), all.begin(), all.end());
      continue;
    }
    const std::optional<Vec3> first = parse_typed_point(*entry);
    if (!first) continue;  // not understood: the CAD would ask again
    const std::string* second_entry = entries.next();
    if (!second_entry) return std::nullopt;
    const std::optional<Vec3> second = parse_typed_point(*second_entry);
    if (!second) continue;
    Box box;
    box.add(*first);
    box.add(*second);
    const auto inside = select_in_box(doc.model_space(), box, second->x < first->x);
    chosen.insert(chosen.end(), inside.begin(), inside.end());
  }
  return std::nullopt;
}

std::optional<double> parse_number(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<Vec3> parse_typed_point(std::string_view text) {
  double values[3] = {0, 0, 0};
  std::size_t count = 0;
  while (count < 3) {
    const std::size_t comma = text.find(',');
    const std::optional<double> v = parse_number(text.substr(0, comma));
    if (!v) return std::nullopt;
    values[count++] = *v;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
    if (count == 3) return std::nullopt;
  }
  if (count < 2) return std::nullopt;
  return Vec3{values[0], values[1], values[2]};
}

void run_command_line(Document& doc, std::string_view text) {
  Entries entries(text);
  while (const std::string* entry = entries.next()) {
    if (!is_explode(*entry)) continue;
    const auto selection = read_selection(doc, entries);
    if (!selection) return;
    explode_entities(doc.model_space(), *selection);
  }
}

void Document::send_command(std::string_view text) {
  command_log_.emplace_back(text);
  run_command_line(*this, text);
}

}  // namespace kestrel::memcad
