#include "cad/memcad/faces.h"

#include <algorithm>
#include <cmath>

#include "cad/memcad/arguments.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/hatch_patterns.h"
#include "cad/memcad/names.h"
#include "cad/memcad/polylines.h"

namespace kestrel::memcad {

namespace {

constexpr double kClosingTolerance = 1e-9;

bool same_plan_point(double x1, double y1, double x2, double y2) {
  return std::abs(x1 - x2) <= kClosingTolerance && std::abs(y1 - y2) <= kClosingTolerance;
}

// Builds one loop from the paths of its boundary objects.
class LoopBuilder {
 public:
  void add(const Entity& e) {
    switch (e.kind()) {
      case EntityKind::kLightweightPolyline: add_polyline(as_const<LightweightPolyline>(e), 2); break;
      case EntityKind::kPolyline2d: add_polyline(as_const<Polyline2d>(e), 3); break;
      case EntityKind::kPolyline3d: add_polyline(as_const<Polyline3d>(e), 3); break;
      case EntityKind::kCircle: add_circle(as_const<Circle>(e)); break;
      case EntityKind::kLine: add_line(as_const<Line>(e)); break;
      case EntityKind::kArc: add_arc(as_const<Arc>(e)); break;
      default: raise_refused("El objeto no puede ser contorno de un sombreado: " + std::string(e.entity_name()));
    }
  }
  HatchLoop finish(bool outer) {
    const std::size_t n = loop_.xy.size();
    if (!closed_) {
      if (n < 4 || !same_plan_point(loop_.xy[0], loop_.xy[1], loop_.xy[n - 2], loop_.xy[n - 1])) {
        raise_refused("El contorno del sombreado no está cerrado");
      }
      loop_.xy.resize(n - 2);  // the closing vertex repeats the first one
      loop_.bulges.pop_back();
    }
    const std::size_t vertices = loop_.xy.size() / 2;
    const bool curved = std::any_of(loop_.bulges.begin(), loop_.bulges.end(), [](double b) { return b != 0; });
    if (vertices < 3 && !(vertices == 2 && curved)) raise_refused("El contorno del sombreado no tiene área");
    loop_.outer = outer;
    return std::move(loop_);
  }

 private:
  template <class T>
  static const T& as_const(const Entity& e) {
    return static_cast<const T&>(e);
  }
  // Boundaries hand over their world plan points; a piece whose normal
  // points down turns clockwise in plan, so its bulges change sign.
  template <class P>
  void add_polyline(const P& p, std::size_t dimension) {
    const auto& values = [&]() -> const std::vector<double>& {
      if constexpr (requires { p.xy; }) return p.xy; else return p.xyz;
    }();
    double turn = 1;
    Ocs ocs;
    double elevation = 0;
    if constexpr (requires { p.normal; }) {
      ocs = p.ocs();
      turn = p.normal.z < 0 ? -1 : 1;
      elevation = p.elevation;
    }
    for (std::size_t v = 0; v * dimension < values.size(); ++v) {
      double bulge = 0;
      if constexpr (requires { p.bulge(v); }) bulge = p.bulge(v);
      const Vec3 at = ocs.to_wcs({values[v * dimension], values[v * dimension + 1], elevation});
      vertex(at.x, at.y, turn * bulge);
    }
    if (p.closed) closed_ = true;
  }
  void add_circle(const Circle& c) {
    const Vec3 center = c.ocs().to_wcs(c.center);
    vertex(center.x + c.radius, center.y, 1);
    vertex(center.x - c.radius, center.y, 1);
    closed_ = true;
  }
  void add_line(const Line& l) {
    continue_at(l.start.x, l.start.y, 0);
    vertex(l.end.x, l.end.y, 0);
  }
  void add_arc(const Arc& a) {
    const Vec3 s = a.start_point();
    const Vec3 e = a.end_point();
    const double turn = a.normal.z < 0 ? -1 : 1;
    continue_at(s.x, s.y, turn * std::tan(normalize_angle(a.end_angle - a.start_angle) / 4));
    vertex(e.x, e.y, 0);
  }
  // A chained piece starts where the previous one ended: its start vertex
  // is only added when it is a new point; it carries the piece's bulge.
  void continue_at(double x, double y, double bulge) {
    const std::size_t n = loop_.xy.size();
    if (n >= 2 && same_plan_point(loop_.xy[n - 2], loop_.xy[n - 1], x, y)) {
      loop_.bulges.back() = bulge;
      return;
    }
    vertex(x, y, bulge);
  }
  void vertex(double x, double y, double bulge) {
    loop_.xy.push_back(x);
    loop_.xy.push_back(y);
    loop_.bulges.push_back(bulge);
  }

  HatchLoop loop_;
  bool closed_ = false;
};

std::vector<EntityPtr<Entity>> boundary_argument(Args args, std::size_t position) {
  const Variant& v = core::argument(args, position);
  std::vector<EntityPtr<Entity>> out;
  auto take = [&](const core::ObjectRef& ref) {
    auto entity = entity_of(ref);
    if (!entity) core::raise_argument_error(core::kTypeMismatch, position);
    out.push_back(std::move(entity));
  };
  if (const auto* objects = v.get_if<core::VbArray<core::ObjectRef>>()) {
    for (const auto& ref : objects->items()) take(ref);
  } else if (const auto* variants = v.get_if<core::VbArray<Variant>>()) {
    for (const auto& item : variants->items()) {
      if (!item.is_object()) core::raise_argument_error(core::kTypeMismatch, position);
      take(item.as<core::ObjectRef>());
    }
  } else {
    core::raise_argument_error(core::kTypeMismatch, position);
  }
  if (out.empty()) raise_refused("El contorno del sombreado está vacío");
  return out;
}

Variant append_loop(Entity& e, Args args, bool outer) {
  as<Hatch>(e).append_loop(boundary_argument(args, 1), outer);
  return {};
}

void put_scale(Entity& e, const Variant& v) {
  const double s = v.to_double();
  if (!(s > 0)) raise_refused("La escala del patrón debe ser mayor que cero");
  as<Hatch>(e).pattern_scale = s;
}

Variant set_pattern(Entity& e, Args args) {
  const std::int32_t type = long_argument(args, 1);
  std::string name = string_argument(args, 2);
  check_hatch_pattern(type, name);
  as<Hatch>(e).pattern_type = static_cast<std::int16_t>(type);
  as<Hatch>(e).pattern_name = std::move(name);
  return {};
}

const core::Member<Entity> kHatchMembers[] = {
    {"PatternName", [](Entity& e) { return Variant(as<Hatch>(e).pattern_name); }},
    {"PatternType", [](Entity& e) { return Variant(std::int32_t{as<Hatch>(e).pattern_type}); }},
    {"PatternAngle", [](Entity& e) { return Variant(as<Hatch>(e).pattern_angle); },
     [](Entity& e, const Variant& v) { as<Hatch>(e).pattern_angle = v.to_double(); }},
    {"PatternScale", [](Entity& e) { return Variant(as<Hatch>(e).pattern_scale); }, &put_scale},
    {"AssociativeHatch", [](Entity& e) { return Variant(as<Hatch>(e).associative); },
     [](Entity& e, const Variant& v) { as<Hatch>(e).associative = v.to_bool(); }},
    {"Elevation", [](Entity& e) { return Variant(as<Hatch>(e).elevation); },
     [](Entity& e, const Variant& v) { as<Hatch>(e).elevation = v.to_double(); }},
    {"HatchStyle", [](Entity& e) { return Variant(std::int32_t{as<Hatch>(e).hatch_style}); },
     [](Entity& e, const Variant& v) {
       const std::int16_t s = v.to_int16();
       check_range(s, 0, 2, "estilo de sombreado");
       as<Hatch>(e).hatch_style = s;
     }},
    {"NumberOfLoops", [](Entity& e) { return Variant(static_cast<std::int32_t>(as<Hatch>(e).loops.size())); }},
    {"AppendOuterLoop", nullptr, nullptr, [](Entity& e, Args a) { return append_loop(e, a, true); }},
    {"AppendInnerLoop", nullptr, nullptr, [](Entity& e, Args a) { return append_loop(e, a, false); }},
    {"SetPattern", nullptr, nullptr, &set_pattern},
    {"Evaluate", nullptr, nullptr, [](Entity&, Args) { return Variant(); }},
};

void put_face_coordinates(Entity& e, const Variant& v) {
  const std::vector<double> n = numbers_value(v);
  if (n.size() != 12 && n.size() != 9) raise_refused("Una cara 3D tiene tres o cuatro vértices");
  auto& corners = as<Face3d>(e).corners;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t k = std::min(i, n.size() / 3 - 1) * 3;
    corners[i] = {n[k], n[k + 1], n[k + 2]};
  }
}

const core::Member<Entity> kFaceMembers[] = {
    {"Coordinates",
     [](Entity& e) {
       std::vector<double> out;
       out.reserve(12);
       for (const Vec3& c : as<Face3d>(e).corners) out.insert(out.end(), {c.x, c.y, c.z});
       return numbers_variant(out);
     },
     &put_face_coordinates},
};

}  // namespace

Box Face3d::extents() const {
  Box b;
  for (const Vec3& c : corners) b.add(c);
  return b;
}

void Face3d::transform(const Placement& p) {
  for (Vec3& c : corners) c = p.apply(c);
}

const core::MemberTable<Entity>& Face3d::members() const {
  static const core::MemberTable<Entity> table = entity_table(kFaceMembers);
  return table;
}

bool Hatch::solid() const noexcept { return same_name(pattern_name, "SOLID"); }

void Hatch::append_loop(std::span<const EntityPtr<Entity>> boundary, bool outer) {
  LoopBuilder builder;
  for (const auto& e : boundary) builder.add(*e);
  loops.push_back(builder.finish(outer));
}

Box Hatch::extents() const {
  Box b;
  for (const HatchLoop& loop : loops) {
    for (std::size_t i = 0; i + 1 < loop.xy.size(); i += 2) b.add({loop.xy[i], loop.xy[i + 1], elevation});
  }
  return b;
}

void Hatch::transform(const Placement& p) {
  for (HatchLoop& loop : loops) {
    for (std::size_t i = 0; i + 1 < loop.xy.size(); i += 2) {
      const Vec3 v = p.apply({loop.xy[i], loop.xy[i + 1], elevation});
      loop.xy[i] = v.x;
      loop.xy[i + 1] = v.y;
    }
    if (p.mirrored()) {
      for (double& b : loop.bulges) b = -b;
    }
  }
  elevation = p.apply({0, 0, elevation}).z;
  pattern_angle = p.angle(pattern_angle);
  pattern_scale = p.length(pattern_scale);
}

const core::MemberTable<Entity>& Hatch::members() const {
  static const core::MemberTable<Entity> table = entity_table(kHatchMembers);
  return table;
}

}  // namespace kestrel::memcad
