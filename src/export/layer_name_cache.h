// The name of a point's layer in CapasCreadas as a ready Variant, looked up
// again only when the layer index changes (points come in runs per layer).
#pragma once

#include <cstdint>
#include <limits>

#include "core/variant.h"
#include "export/export_state.h"

namespace kestrel::exporting {

class LayerNameCache {
 public:
  explicit LayerNameCache(const core::VbArray<CreatedLayer>& created) : created_(created) {}

  // CapasCreadas.Nombre(k); error 9 when there is no entry k.
  [[nodiscard]] const core::Variant& name(std::int32_t k) {
    if (k != index_) {
      name_ = core::Variant(created_[k].Nombre);
      index_ = k;
    }
    return name_;
  }

 private:
  const core::VbArray<CreatedLayer>& created_;
  std::int32_t index_ = std::numeric_limits<std::int32_t>::min();
  core::Variant name_;
};

}  // namespace kestrel::exporting
