// Entity: what every drawing entity holds (layer, colour, line type, true
// colour, handle) and how it answers late-bound calls. An entity is both the
// plain data the DXF layer reads and fills, and the automation object the
// engine drives: no wrapper is allocated per call.
//
// Ownership: a Block (model space, paper space or a block definition) holds
// its entities through EntityPtr, which counts references in the entity
// itself; an entity refers back to its block weakly, through a plain
// pointer that the block clears when the entity leaves it (Delete, explode)
// or when the block itself goes. A late-bound call on such a detached entity
// raises an automation error instead of touching freed memory.
//
// The header is 40 bytes on a 64-bit host (vtable, owner, handle, layer,
// reference count, true colour with kind and visibility, line type,
// colour): a point is 64 bytes and a plain text 104, each one allocator
// size class below what a wider header would cost.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cad/memcad/arguments.h"
#include "cad/memcad/automation.h"
#include "cad/memcad/entity_ptr.h"
#include "cad/memcad/geometry.h"
#include "cad/memcad/true_color.h"

namespace kestrel::memcad {

class Block;
class Document;

enum class EntityKind : std::uint8_t {
  kPoint,
  kLine,
  kLightweightPolyline,
  kPolyline2d,
  kPolyline3d,
  kPolyfaceMesh,
  kArc,
  kCircle,
  kText,
  kMText,
  kFace3d,
  kHatch,
  kBlockReference,
  kAttribute,
  kAttributeDefinition,
  kUnknown,
};

// The CAD class name an entity of `kind` reports as EntityName ("AcDbPoint" ...).
[[nodiscard]] std::string_view entity_name(EntityKind kind) noexcept;

// Colour numbers: 0 by block, 256 by layer, 1..255 a colour index.
inline constexpr std::int16_t kColorByBlock = 0;
inline constexpr std::int16_t kColorByLayer = 256;

class Entity : public core::Object {
 public:
  [[nodiscard]] EntityKind kind() const noexcept { return static_cast<EntityKind>(bits_ >> kKindShift); }
  [[nodiscard]] virtual std::string_view entity_name() const noexcept { return memcad::entity_name(kind()); }

  // The owning block, null once the entity has left it.
  [[nodiscard]] Block* owner() const noexcept { return owner_; }
  // The owning drawing, null when detached or when the drawing is gone.
  [[nodiscard]] Document* document() const noexcept;

  // Layer: an index into the drawing's layer table (0 is layer "0").
  [[nodiscard]] std::uint32_t layer_index() const noexcept { return layer_; }
  void set_layer_index(std::uint32_t index) noexcept { layer_ = index; }
  // The layer's name; requires an attached entity.
  [[nodiscard]] const std::string& layer() const;
  // Finds the layer by name (any case); an unknown name is created or
  // refused as the drawing's policy says. Requires an attached entity.
  void set_layer(std::string_view name);

  [[nodiscard]] std::int16_t color() const noexcept { return color_; }
  // Sets the colour number and drops a true colour.
  void set_color(std::int16_t color) noexcept {
    color_ = color;
    set_true_color(std::nullopt);
  }
  [[nodiscard]] std::optional<Rgb> true_color() const noexcept;
  void set_true_color(std::optional<Rgb> rgb) noexcept;

  // Line type: an index into the drawing's line type table (ByLayer by default).
  [[nodiscard]] std::uint16_t linetype_index() const noexcept { return linetype_; }
  void set_linetype_index(std::uint16_t index) noexcept { linetype_ = index; }
  [[nodiscard]] const std::string& linetype() const;
  void set_linetype(std::string_view name);

  [[nodiscard]] std::uint64_t handle() const noexcept { return handle_; }
  void set_handle(std::uint64_t handle) noexcept { handle_ = handle; }
  [[nodiscard]] bool visible() const noexcept { return (bits_ & kVisibleBit) != 0; }
  void set_visible(bool visible) noexcept { bits_ = visible ? bits_ | kVisibleBit : bits_ & ~kVisibleBit; }

  // Plan and height extents of the geometry (empty when it has none).
  [[nodiscard]] virtual Box extents() const = 0;
  // A detached copy with the same properties and no handle.
  [[nodiscard]] virtual EntityPtr<Entity> clone() const = 0;
  // Moves the geometry as a block reference places its block's content.
  virtual void transform(const Placement& placement) = 0;

  // Late binding.
  [[nodiscard]] std::string_view type_name() const override;
  Variant get(std::string_view member) override;
  void put(std::string_view member, const Variant& value) override;
  Variant call(std::string_view member, std::span<Variant> args) override;
  // The application session behind this entity; raises when it is detached.
  [[nodiscard]] Session* call_session() const;

  // Reference counting for EntityPtr and handed-out automation objects: the
  // entity is deleted when the last reference goes.
  void retain() const noexcept { references_.fetch_add(1, std::memory_order_relaxed); }
  void release() const noexcept {
    if (references_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

 protected:
  explicit Entity(EntityKind kind) noexcept : bits_(kVisibleBit | static_cast<std::uint32_t>(kind) << kKindShift) {}
  // Copies the properties, not the owner or the handle.
  Entity(const Entity& other) noexcept;
  Entity& operator=(const Entity&) = delete;

  // The kind's member table (common members included).
  [[nodiscard]] virtual const core::MemberTable<Entity>& members() const = 0;
  // The drawing, raising when the entity is detached.
  [[nodiscard]] Document& attached_document() const;
  // Sets (or, with null, clears) the owning block.
  virtual void attach_to(Block* owner) noexcept { owner_ = owner; }

 private:
  friend class Block;
  friend class BlockReference;

  // bits_: the true colour's red, green and blue in bits 0..23, whether it
  // is set in bit 24, visibility in bit 25, the kind from bit 26.
  static constexpr std::uint32_t kRgbMask = 0xFFFFFF;
  static constexpr std::uint32_t kTrueColorBit = 1u << 24;
  static constexpr std::uint32_t kVisibleBit = 1u << 25;
  static constexpr unsigned kKindShift = 26;

  Block* owner_ = nullptr;
  std::uint64_t handle_ = 0;
  std::uint32_t layer_ = 0;
  mutable std::atomic<std::uint32_t> references_{0};
  std::uint32_t bits_;
  std::uint16_t linetype_ = 1;  // "ByLayer" in every drawing's line type table
  std::int16_t color_ = kColorByLayer;
};

// Hands an entity out as an automation object; the object holds a reference.
[[nodiscard]] core::ObjectRef hand_out(Entity& entity);
// The entity behind an automation object, or null when it is not one.
[[nodiscard]] EntityPtr<Entity> entity_of(const core::ObjectRef& object) noexcept;

// The members every entity answers: EntityName, ObjectName, Handle, Layer,
// Color, Linetype, TrueColor, Visible, Update, Delete.
[[nodiscard]] std::span<const core::Member<Entity>> common_entity_members() noexcept;

// A kind's entity from the generic one inside member functions of that kind's table.
template <class T>
[[nodiscard]] T& as(Entity& e) noexcept {
  return static_cast<T&>(e);
}

// Builds a kind's member table from the common members and its own groups.
[[nodiscard]] inline core::MemberTable<Entity> entity_table(std::span<const core::Member<Entity>> own) {
  return core::MemberTable<Entity>{common_entity_members(), own};
}
[[nodiscard]] inline core::MemberTable<Entity> entity_table(std::span<const core::Member<Entity>> shared,
                                                            std::span<const core::Member<Entity>> own) {
  return core::MemberTable<Entity>{common_entity_members(), shared, own};
}

// Planar kinds keep a normal: most as a member, texts out of line behind
// accessors. These reach it either way.
template <class T>
concept Planar = requires(const T& e) { e.normal; } || requires(T& e) { e.set_normal(Vec3{}); };

template <Planar T>
[[nodiscard]] const Vec3& normal_of(const T& e) noexcept {
  if constexpr (requires { e.normal(); }) {
    return e.normal();
  } else {
    return e.normal;
  }
}

template <Planar T>
void set_normal_of(T& e, const Vec3& normal) {
  if constexpr (requires { e.set_normal(normal); }) {
    e.set_normal(normal);
  } else {
    e.normal = normal;
  }
}

// The "Normal" member of a planar kind T: a unit vector; a put keeps the
// unit vector of the value and refuses a zero one; the entity's own
// coordinates stay as they are.
template <Planar T>
[[nodiscard]] core::Member<Entity> normal_member() {
  return {"Normal", [](Entity& e) { return point_variant(as<T>(e).ocs().normal()); },
          [](Entity& e, const Variant& v) { set_normal_of(as<T>(e), normal_value(v)); }};
}

}  // namespace kestrel::memcad
