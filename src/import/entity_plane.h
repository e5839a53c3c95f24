// The plane of a planar CAD entity. Lightweight and 2D polylines hand out
// their vertices in their own object coordinate system (OCS), and texts and
// block references measure their rotation in it, as a CAD does; a drawing
// seen from below (a mirrored arc, a text extruded along -Z) or on a tilted
// plane only reads right in world coordinates once they are turned there.
// The turning is the CAD's own: `Utility.TranslateCoordinates`.
#pragma once


#include "core/object.h"
#include "core/vb_array.h"
#include "module/module.h"

namespace kestrel::importing {

class EntityPlane {
 public:
  // Reads the entity's `Normal`. An entity without one, or whose normal is
  // +Z, lies in plan and needs no turning.
  EntityPlane(Module& module, const core::Obj& entity);

  [[nodiscard]] bool in_plan() const noexcept { return in_plan_; }
  // A point of the entity's OCS in world coordinates (x, y, z at 0..2).
  [[nodiscard]] core::VbArray<double> to_world(double x, double y, double z) const;
  // A rotation measured in the OCS (radians) as the angle of the same
  // direction in world plan, in [0, 2π); unchanged in plan.
  [[nodiscard]] double world_rotation(double rotation) const;

 private:
  [[nodiscard]] core::VbArray<double> translated(double x, double y, double z, bool displacement) const;

  core::Obj utility_;  // the bound document's, when the entity needs turning
  core::VbArray<double> normal_;
  bool in_plan_ = true;
};

}  // namespace kestrel::importing
