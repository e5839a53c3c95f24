// Names of table records (layers, blocks, styles ...) compare without regard
// to case, as in a CAD: ASCII letters and the accented Latin letters of
// UTF-8 text fold to lower case.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::memcad {

[[nodiscard]] std::string fold_name(std::string_view name);
[[nodiscard]] bool same_name(std::string_view a, std::string_view b);
// A name a CAD accepts for a new record: not empty, at most 255 bytes, no
// character of <>/\":;?*|,=` and no control character.
[[nodiscard]] bool valid_record_name(std::string_view name) noexcept;

}  // namespace kestrel::memcad
