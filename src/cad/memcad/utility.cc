#include "cad/memcad/utility.h"

#include "cad/memcad/arguments.h"
#include "cad/memcad/document.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/picker.h"

namespace kestrel::memcad {

Session* Utility::call_session() const { return session_of(doc_); }

namespace {

struct Prompting {
  Document& doc;
  Picker& picker;
};

Prompting prompting(Utility& u) {
  Document* doc = u.document();
  if (!doc) raise_drawing_closed();
  Picker* picker = doc->session() ? doc->session()->picker() : nullptr;
  if (!picker) raise_cancelled();
  return {*doc, *picker};
}

std::string prompt_argument(Args args, std::size_t position) {
  const Variant* v = optional_argument(args, position);
  return v ? string_argument(args, position) : std::string();
}

// GetPoint([base point], [prompt]): the picked point.
Variant get_point(Utility& u, Args args) {
  std::optional<Vec3> base;
  if (optional_argument(args, 1)) base = point_argument(args, 1);
  const std::string prompt = prompt_argument(args, 2);
  Prompting p = prompting(u);
  const std::optional<Vec3> point = p.picker.get_point(p.doc, base, prompt);
  if (!point) raise_cancelled();
  return point_variant(*point);
}

// GetEntity(object out, picked point out, [prompt]).
Variant get_entity(Utility& u, Args args) {
  if (args.size() < 2) (void)core::argument(args, 2);  // raises "argument not optional"
  const std::string prompt = prompt_argument(args, 3);
  Prompting p = prompting(u);
  std::optional<EntityPick> pick = p.picker.get_entity(p.doc, prompt);
  if (!pick || !pick->entity) raise_cancelled();
  args[0] = Variant(hand_out(*pick->entity));
  args[1] = point_variant(pick->point);
  return {};
}

Variant prompt(Utility& u, Args args) {
  if (!u.document()) raise_drawing_closed();
  (void)string_argument(args, 1);
  return {};
}

// The coordinate systems TranslateCoordinates knows: the world (the user
// system is the world here) and an entity's own, given by its normal.
enum CoordinateSystem : std::int32_t { kWorld = 0, kUser = 1, kObject = 4 };

std::int32_t system_argument(Args args, std::size_t position) {
  const std::int32_t system = long_argument(args, position);
  if (system != kWorld && system != kUser && system != kObject) {
    raise_refused("Sistema de coordenadas no admitido (argumento " + std::to_string(position) + ")");
  }
  return system;
}

// TranslateCoordinates(point, from, to, displacement, [normal]). A point and
// a displacement turn alike: an OCS shares the world's origin.
Variant translate_coordinates(Utility&, Args args) {
  const Vec3 p = point_argument(args, 1);
  const std::int32_t from = system_argument(args, 2);
  const std::int32_t to = system_argument(args, 3);
  (void)bool_argument(args, 4);
  if ((from == kObject) == (to == kObject)) return point_variant(p);
  if (!optional_argument(args, 5)) raise_refused("Falta la normal del sistema de coordenadas del objeto");
  const Ocs ocs(normal_value(core::argument(args, 5)));
  return point_variant(from == kObject ? ocs.to_wcs(p) : ocs.to_ocs(p));
}

const core::Member<Utility> kMembers[] = {
    {"TranslateCoordinates", nullptr, nullptr, &translate_coordinates},
    {"GetPoint", nullptr, nullptr, &get_point},
    {"GetEntity", nullptr, nullptr, &get_entity},
    {"Prompt", nullptr, nullptr, &prompt},
};

}  // namespace

const core::MemberTable<Utility>& Utility::member_table() {
  static const core::MemberTable<Utility> table{std::span<const core::Member<Utility>>(kMembers)};
  return table;
}

}  // namespace kestrel::memcad
