// Limits of the record files, against hostile files and for files that the
// reader can always read back. A record file nests at most 10 containers; an
// import of 10^6 points with 2·10^6 faces writes about 500 MB.
#pragma once

#include <cstddef>

namespace kestrel::model::json_detail {

inline constexpr std::size_t kMaxDepth = 32;
inline constexpr std::size_t kMaxDocumentBytes = std::size_t{1} << 31;  // 2 GiB

}  // namespace kestrel::model::json_detail
