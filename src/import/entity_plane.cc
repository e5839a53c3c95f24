#include "import/entity_plane.h"

#include <cmath>
#include <numbers>

#include "core/error.h"

namespace kestrel::importing {

namespace {

// The coordinate systems of TranslateCoordinates.
constexpr std::int32_t kWorld = 0;
constexpr std::int32_t kObject = 4;

}  // namespace

EntityPlane::EntityPlane(Module& module, const core::Obj& entity) {
  try {
    normal_ = entity.get("Normal").to_double_array();
  } catch (const core::Error& e) {
    if (e.number() != core::kMemberNotSupported) throw;
    return;  // a CAD object without a normal lies in plan
  }
  const auto n = normal_.items();
  in_plan_ = n.size() == 3 && n[0] == 0 && n[1] == 0 && n[2] == 1;
  if (!in_plan_) utility_ = module.cad.Documento.object("Utility");
}

core::VbArray<double> EntityPlane::translated(double x, double y, double z, bool displacement) const {
  const core::VbArray<double> point(0, {x, y, z});
  return utility_.call("TranslateCoordinates", point, kObject, kWorld, displacement, normal_).to_double_array();
}

core::VbArray<double> EntityPlane::to_world(double x, double y, double z) const {
  if (in_plan_) return core::VbArray<double>(0, {x, y, z});
  return translated(x, y, z, false);
}

double EntityPlane::world_rotation(double rotation) const {
  if (in_plan_) return rotation;
  const core::VbArray<double> d = translated(std::cos(rotation), std::sin(rotation), 0, true);
  const double a = std::atan2(d[d.lbound() + 1], d[d.lbound()]);
  return a < 0 ? a + 2 * std::numbers::pi : a;
}

}  // namespace kestrel::importing
