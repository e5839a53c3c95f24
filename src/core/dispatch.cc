#include "core/dispatch.h"

namespace kestrel::core {

int compare_member_names(std::string_view a, std::string_view b) noexcept {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char ca = static_cast<unsigned char>(a[i]);
    const unsigned char cb = static_cast<unsigned char>(b[i]);
    const int la = (ca >= 'A' && ca <= 'Z') ? ca + 32 : ca;
    const int lb = (cb >= 'A' && cb <= 'Z') ? cb + 32 : cb;
    if (la != lb) return la < lb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void raise_unknown_member(std::string_view type, std::string_view member) {
  throw Error(kMemberNotSupported, std::string(type),
              standard_description(kMemberNotSupported) + " (" + std::string(member) + ")");
}

}  // namespace kestrel::core
