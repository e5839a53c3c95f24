#include "cad/dxf/handle_plan.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "cad/memcad/block_reference.h"
#include "cad/memcad/polylines.h"

namespace kestrel::dxf {

namespace {

using memcad::Block;
using memcad::EntityKind;

// Handles a file needs beyond the entity's own: vertices and sequence ends.
std::uint64_t extra_handles(const memcad::Entity& e) {
  switch (e.kind()) {
    case EntityKind::kPolyline2d: return static_cast<const memcad::Polyline2d&>(e).vertex_count() + 1;
    case EntityKind::kPolyline3d: return static_cast<const memcad::Polyline3d&>(e).vertex_count() + 1;
    case EntityKind::kPolyfaceMesh: {
      const auto& mesh = static_cast<const memcad::PolyfaceMesh&>(e);
      return mesh.vertex_count() + mesh.faces.size() + 1;
    }
    case EntityKind::kBlockReference:
      return static_cast<const memcad::BlockReference&>(e).attributes.empty() ? 0 : 1;
    default: return 0;
  }
}

// Blocks in writing order: user blocks first (the BLOCKS section), then the layouts.
std::vector<const Block*> writing_order(const memcad::Document& doc) {
  std::vector<const Block*> blocks = user_blocks(doc);
  blocks.push_back(&doc.model_space());
  blocks.push_back(&doc.paper_space());
  return blocks;
}

}  // namespace

std::vector<const Block*> user_blocks(const memcad::Document& doc) {
  std::vector<const Block*> blocks;
  for (const auto& b : doc.blocks().items()) {
    if (!b->is_layout()) blocks.push_back(b.get());
  }
  return blocks;
}

namespace {

// Calls `visit` for every entity and attribute written, in writing order.
template <class Visit>
void for_each_written(const memcad::Document& doc, Visit&& visit) {
  for (const Block* block : writing_order(doc)) {
    for (const auto& e : block->entities()) {
      if (e->kind() == EntityKind::kUnknown) continue;
      visit(*e);
      if (e->kind() == EntityKind::kBlockReference) {
        for (const auto& a : static_cast<const memcad::BlockReference&>(*e).attributes) visit(*a);
      }
    }
  }
}

// Whether any two written entities share a handle. Only drawings whose
// handles do not rise in writing order get here, so the common case keeps
// no copy of a million handles.
bool shared_handles(const memcad::Document& doc, std::size_t count) {
  std::vector<std::uint64_t> own;
  own.reserve(count);
  for_each_written(doc, [&own](const memcad::Entity& e) { own.push_back(e.handle()); });
  std::sort(own.begin(), own.end());
  return std::adjacent_find(own.begin(), own.end()) != own.end();
}

}  // namespace

HandlePlan::HandlePlan(const memcad::Document& doc) {
  // Tables' records, and each user block's record, BLOCK and ENDBLK.
  std::uint64_t extras = doc.layers().size() + doc.linetypes().size() + doc.text_styles().size() +
                         3 * user_blocks(doc).size();
  std::size_t count = 0;
  bool rising = true;
  std::uint64_t lowest = UINT64_MAX;
  std::uint64_t highest = 0;
  std::uint64_t last = 0;
  for_each_written(doc, [&](const memcad::Entity& e) {
    extras += extra_handles(e);  // none for attributes
    if (count > 0 && e.handle() <= last) rising = false;
    last = e.handle();
    lowest = std::min(lowest, last);
    highest = std::max(highest, last);
    ++count;
  });
  keep_own_ = count == 0 || lowest >= handle::kFirstFree;
  if (keep_own_ && !rising) keep_own_ = !shared_handles(doc, count);
  next_extra_ = keep_own_ ? std::max(highest + 1, handle::kFirstFree) : handle::kFirstFree + count;
  seed_ = next_extra_ + extras;
}

}  // namespace kestrel::dxf
