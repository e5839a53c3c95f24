// On-screen picking as a CAD answers it, for pickers that stand in for a
// user: a window selection takes what lies wholly inside the window; a pick
// takes the entity whose geometry passes nearest the picked point, among
// those that cross the pick box around it.
#pragma once

#include <memory>
#include <vector>

#include "cad/memcad/entity.h"
#include "cad/memcad/geometry.h"

namespace kestrel::memcad {

class Block;

// The entities of `block` lying wholly inside the plan window spanned by
// the two corners (given in any order), in drawing order.
[[nodiscard]] std::vector<EntityPtr<Entity>> entities_in_window(const Block& block, Vec3 corner1, Vec3 corner2);

// The plan distance from `at` to the entity's geometry: exact for points,
// lines, polylines (straight segments between vertices; bulges are taken as
// chords), circles and arcs (taken as their whole circle), 3D faces (their
// edges); the distance to the plan extents for other kinds.
[[nodiscard]] double plan_distance(const Entity& entity, Vec3 at);

// The entity of `block` nearest `at` whose geometry comes within the square
// pick box of half side `half_box`; the first in drawing order wins a tie;
// null when none does.
[[nodiscard]] EntityPtr<Entity> entity_at(const Block& block, Vec3 at, double half_box);

}  // namespace kestrel::memcad
