#include "cad/memcad/names.h"

namespace kestrel::memcad {

std::string fold_name(std::string_view name) {
  std::string out(name);
  for (std::size_t i = 0; i < out.size(); ++i) {
    auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c + 32);
    } else if (c == 0xC3 && i + 1 < out.size()) {
      // U+00C0..U+00DE (except the multiplication sign) are the upper-case Latin-1 letters.
      auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return out;
}

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a == b || fold_name(a) == fold_name(b));
}

bool valid_record_name(std::string_view name) noexcept {
  if (name.empty() || name.size() > 255) return false;
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20) return false;
    if (std::string_view("<>/\\\":;?*|,=`").find(ch) != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace kestrel::memcad
