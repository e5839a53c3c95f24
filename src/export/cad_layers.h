// Layer operations on the CAD document shared by the export generators.
#pragma once

#include <cstdint>
#include <string>

#include "core/numeric.h"
#include "core/object.h"

namespace kestrel::exporting {

// The layer of the `layers` collection named exactly `name` (case
// included), walking the collection in order; a null Obj when there is none.
[[nodiscard]] core::Obj find_layer(const core::Obj& layers, const std::string& name);

// Layers.Add(name) (a CAD returns an existing layer of that name, in any
// case), then on that layer Color = colour_index, Linetype = "BYLAYER" and
// LayerOn = on.
void add_layer(const core::Obj& layers, const std::string& name, std::int32_t colour_index, core::VbBool on);

}  // namespace kestrel::exporting
