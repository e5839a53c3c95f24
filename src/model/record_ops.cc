#include "model/record_ops.h"

#include <algorithm>

#include "core/error.h"

namespace kestrel::model {

void copy_bytes(std::span<const std::byte> from, std::span<std::byte> to) {
  if (from.size() != to.size()) core::raise(core::kInvalidCall);
  std::copy(from.begin(), from.end(), to.begin());
}

}  // namespace kestrel::model
