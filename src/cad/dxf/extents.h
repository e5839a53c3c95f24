// The model space extents a saved file declares ($EXTMIN, $EXTMAX).
#pragma once

#include "cad/memcad/document.h"

namespace kestrel::dxf {

// The box of the model space entities the writer writes (unknown entities
// are not written, so they do not count). Angles are taken as the file keeps
// them (12 digits of degrees), so that a drawing read back from the file has
// the same extents. Each block's box is found once and placed for every
// reference to it: deep or cyclic nesting (a broken file) stays cheap.
[[nodiscard]] memcad::Box model_extents(const memcad::Document& doc);

}  // namespace kestrel::dxf
