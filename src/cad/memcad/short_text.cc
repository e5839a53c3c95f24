#include "cad/memcad/short_text.h"

#include <limits>
#include <stdexcept>

namespace kestrel::memcad {

void ShortText::assign(std::string_view s) {
  if (s.size() <= kInline) {
    if (!s.empty()) std::memcpy(bytes_.chars, s.data(), s.size());
    set_inline_size(s.size());
    return;
  }
  if (s.size() > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("a text of over 4 GB");
  char* heap = new char[s.size()];
  std::memcpy(heap, s.data(), s.size());
  const auto size = static_cast<std::uint32_t>(s.size());
  std::memcpy(bytes_.chars, &heap, sizeof heap);
  std::memcpy(bytes_.chars + 8, &size, sizeof size);
  bytes_.chars[kTag] = static_cast<char>(kOnHeap);
}

}  // namespace kestrel::memcad
