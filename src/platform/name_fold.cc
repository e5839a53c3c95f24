#include "platform/name_fold.h"

namespace kestrel::platform {
namespace {

// UTF-8 Latin-1 capitals are C3 80..C3 9E except C3 97 ("×"); their small
// forms are the same second byte plus 0x20.
bool is_latin1_capital_tail(unsigned char lead, unsigned char tail) noexcept {
  return lead == 0xC3 && tail >= 0x80 && tail <= 0x9E && tail != 0x97;
}

unsigned char fold_ascii(unsigned char c) noexcept { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// Folds the byte at `i` of `s` given the byte before it.
unsigned char folded_at(std::string_view s, std::size_t i) noexcept {
  const auto c = static_cast<unsigned char>(s[i]);
  if (i > 0 && is_latin1_capital_tail(static_cast<unsigned char>(s[i - 1]), c)) return c + 0x20;
  return fold_ascii(c);
}

}  // namespace

std::string fold_name(std::string_view name) {
  std::string out(name);
  for (std::size_t i = 0; i < name.size(); ++i) out[i] = static_cast<char>(folded_at(name, i));
  return out;
}

bool same_name(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (folded_at(a, i) != folded_at(b, i)) return false;
  }
  return true;
}

}  // namespace kestrel::platform
