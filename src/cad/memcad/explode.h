// Explode: what a block reference or a polyline breaks into. A block
// reference gives its block's entities placed by the reference (insertion
// point, scales, rotation; one level only) and its visible attributes as
// texts; a polyline gives lines and, for bulged segments, arcs; a polyface
// mesh gives 3D faces. The pieces keep the layer, colour and line type of
// what they came from.
#pragma once

#include <memory>
#include <vector>

#include "cad/memcad/arguments.h"
#include "cad/memcad/entity.h"

namespace kestrel::memcad {

class Block;

// True for the kinds that explode.
[[nodiscard]] bool explodable(const Entity& entity) noexcept;
// The detached pieces of `entity` (empty when it does not explode).
[[nodiscard]] std::vector<EntityPtr<Entity>> explode(const Entity& entity);
// Explodes those of `entities` that belong to `block` and explode: their
// pieces go to the end of the block and they leave it. Returns how many exploded.
std::size_t explode_entities(Block& block, const std::vector<EntityPtr<Entity>>& entities);

// The late-bound Explode: the pieces join the entity's block and the
// entity stays, as a CAD's Explode method does; returns the pieces as a
// Variant array of objects from 0.
Variant explode_member(Entity& entity, Args args);

}  // namespace kestrel::memcad
