// Entity classification: every import path hands each CAD entity to
// `ENTIDADES`, which reads it late-bound by its type name ("EntityName")
// and calls the matching builder, or to `Entidades_ver`, which only counts
// it in the census. Type names are compared exactly; the first match in the
// order of kEntityNames wins.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/object.h"

#include "core/variant.h"
#include "import/import_state.h"

namespace kestrel::importing {

enum class EntityKind : std::uint8_t {
  kBlockReference,
  kArc,
  kCircle,
  kPoint,
  kLightweightPolyline,
  kLine,
  kPolyline2d,
  kPolyline3d,
  kText,
  kFace,
  kZombie,
  kPolyfaceMesh,
};

struct EntityName {
  std::string_view name;
  EntityKind kind;
  bool counted;  // also recognised by Entidades_ver
};

// Every accepted type name, in the order they are tested.
inline constexpr std::array<EntityName, 29> kEntityNames{{
    {"AcDbBlockReference", EntityKind::kBlockReference, true},
    {"BlockReference", EntityKind::kBlockReference, true},
    {"AcDbArc", EntityKind::kArc, true},
    {"Arc", EntityKind::kArc, true},
    {"Circle", EntityKind::kCircle, true},
    {"AcDbCircle", EntityKind::kCircle, true},
    {"AcDbPoint", EntityKind::kPoint, true},
    {"Point", EntityKind::kPoint, true},
    {"AcDbPolyline", EntityKind::kLightweightPolyline, true},
    {"AcDbLWPOLYLINE", EntityKind::kLightweightPolyline, true},
    {"WPOLYLINE", EntityKind::kLightweightPolyline, true},
    {"LightWeightPolyline", EntityKind::kLightweightPolyline, false},
    {"AcDbLine", EntityKind::kLine, true},
    {"Line", EntityKind::kLine, true},
    {"AcDb2dPolyline", EntityKind::kPolyline2d, true},
    {"2dPolyline", EntityKind::kPolyline2d, true},
    {"Polyline", EntityKind::kPolyline2d, true},
    {"AcDb3dPolyline", EntityKind::kPolyline3d, true},
    {"3dPolyline", EntityKind::kPolyline3d, true},
    {"AcDbText", EntityKind::kText, true},
    {"AcDbMText", EntityKind::kText, true},
    {"Text", EntityKind::kText, true},
    {"AcDb3DFace", EntityKind::kFace, true},
    {"AcDbFace", EntityKind::kFace, true},
    {"3DFace", EntityKind::kFace, true},
    {"Face", EntityKind::kFace, true},
    {"3dFace", EntityKind::kFace, true},
    {"AcDbZombieEntity", EntityKind::kZombie, true},
    {"AcDbPolyFaceMesh", EntityKind::kPolyfaceMesh, true},
}};

// The kind `ENTIDADES` (census = false) or `Entidades_ver` (census = true)
// gives a type name; nullopt for a name it does not accept.
[[nodiscard]] std::optional<EntityKind> classify(std::string_view type_name, bool census) noexcept;

// The objects in an array of objects, however the CAD typed it (of object
// references or of variants); empty for an empty value, error 13 otherwise.
[[nodiscard]] std::vector<core::Obj> object_list(const core::Variant& value);

// `ENTIDADES`: reads the entity held in `Poly` and appends what it stands
// for to the drawing model. With `Blq` the entity's colour and inserted
// block names are recorded and new layers are coloured from the captured
// CAD layers. Errors are trapped ("Entidades en ..."); what was appended
// before the error stays.
void ENTIDADES(ImportContext& ctx, const core::Variant& Poly, bool Blq = false);

// `Entidades_ver`: counts the entity held in `Poly` in the census. An
// entity that cannot be read is not counted; nothing is reported.
void Entidades_ver(ImportContext& ctx, const core::Variant& Poly);

}  // namespace kestrel::importing
