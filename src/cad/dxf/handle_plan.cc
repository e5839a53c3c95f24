#include "cad/dxf/handle_plan.h"

#include <algorithm>
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

HandlePlan::HandlePlan(const memcad::Document& doc) {
  std::vector<std::uint64_t> own;
  std::size_t entities = 0;
  for (const auto& b : doc.blocks().items()) entities += b->size();
  own.reserve(entities);
  std::uint64_t extras = doc.layers().size() + doc.linetypes().size() + doc.text_styles().size();
  bool increasing = true;
  const auto note = [&](const memcad::Entity& e) {
    if (!own.empty() && e.handle() <= own.back()) increasing = false;
    own.push_back(e.handle());
  };
  for (const Block* block : writing_order(doc)) {
    if (!block->is_layout()) extras += 3;  // its record, BLOCK and ENDBLK
    for (const auto& e : block->entities()) {
      if (e->kind() == EntityKind::kUnknown) continue;
      note(*e);
      extras += extra_handles(*e);
      if (e->kind() == EntityKind::kBlockReference) {
        for (const auto& a : static_cast<const memcad::BlockReference&>(*e).attributes) note(*a);
      }
    }
  }
  const auto lowest = std::min_element(own.begin(), own.end());
  keep_own_ = lowest == own.end() || *lowest >= handle::kFirstFree;
  if (keep_own_ && !increasing) {
    std::sort(own.begin(), own.end());
    keep_own_ = std::adjacent_find(own.begin(), own.end()) == own.end();
  }
  const std::uint64_t highest = own.empty() ? 0 : *std::max_element(own.begin(), own.end());
  next_extra_ = keep_own_ ? std::max(highest + 1, handle::kFirstFree) : handle::kFirstFree + own.size();
  seed_ = next_extra_ + extras;
}

}  // namespace kestrel::dxf
