// Single-line texts, attributes and multi-line texts. A text's style is an
// index into the drawing's text style table (0 is "Standard"). A text lies
// in the plane of its normal; its rotation is measured in that plane's OCS.
#pragma once

#include <cstdint>
#include <string>

#include "cad/memcad/entity.h"
#include "cad/memcad/out_of_line.h"
#include "cad/memcad/short_text.h"

namespace kestrel::memcad {

// What few texts change from the default: kept out of line (see OutOfLine).
struct TextLayout {
  // The second alignment point (OCS), used when the alignment is not left/baseline.
  Vec3 alignment_point{};
  double width_factor = 1;
  double oblique_angle = 0;  // radians
  Vec3 normal{0, 0, 1};
  // Horizontal (0 left, 1 center, 2 right, 3 aligned, 4 middle, 5 fit) and
  // vertical (0 baseline, 1 bottom, 2 middle, 3 top) justification.
  std::int16_t horizontal_alignment = 0;
  std::int16_t vertical_alignment = 0;
};

// What a single-line text, an attribute and an attribute definition share.
// A plain text is 104 bytes on a 64-bit host: the style index follows the
// 14-byte text, so the two fill one 16-byte slot.
class TextBase : public Entity {
 public:
  ShortText text;
  std::uint16_t style = 0;
  Vec3 insertion;  // OCS
  double height = 2.5;
  double rotation = 0;  // radians

  [[nodiscard]] const Vec3& alignment_point() const noexcept { return layout_.get().alignment_point; }
  void set_alignment_point(const Vec3& p) { layout_.set(&TextLayout::alignment_point, p); }
  [[nodiscard]] double width_factor() const noexcept { return layout_.get().width_factor; }
  void set_width_factor(double f) { layout_.set(&TextLayout::width_factor, f); }
  [[nodiscard]] double oblique_angle() const noexcept { return layout_.get().oblique_angle; }
  void set_oblique_angle(double a) { layout_.set(&TextLayout::oblique_angle, a); }
  [[nodiscard]] std::int16_t horizontal_alignment() const noexcept { return layout_.get().horizontal_alignment; }
  void set_horizontal_alignment(std::int16_t a) { layout_.set(&TextLayout::horizontal_alignment, a); }
  [[nodiscard]] std::int16_t vertical_alignment() const noexcept { return layout_.get().vertical_alignment; }
  void set_vertical_alignment(std::int16_t a) { layout_.set(&TextLayout::vertical_alignment, a); }
  [[nodiscard]] const Vec3& normal() const noexcept { return layout_.get().normal; }
  void set_normal(const Vec3& n) { layout_.set(&TextLayout::normal, n); }

  [[nodiscard]] Ocs ocs() const noexcept { return Ocs(normal()); }
  // The insertion point in world coordinates, as a CAD hands it out and takes it.
  [[nodiscard]] Vec3 world_insertion() const noexcept { return ocs().to_wcs(insertion); }
  void set_world_insertion(const Vec3& p) noexcept { insertion = ocs().to_ocs(p); }

  // The style's name; requires an attached entity.
  [[nodiscard]] const std::string& style_name() const;
  void set_style_name(std::string_view name);

  [[nodiscard]] Box extents() const override;
  void transform(const Placement& p) override;

 protected:
  using Entity::Entity;
  TextBase(EntityKind kind, ShortText text, Vec3 insertion, double height) noexcept
      : Entity(kind), text(std::move(text)), insertion(insertion), height(height) {}

 private:
  friend void copy_text_fields(const TextBase& from, TextBase& to);

  OutOfLine<TextLayout> layout_;
};

// Copies text, placement, size and style from one text to another.
void copy_text_fields(const TextBase& from, TextBase& to);

class Text final : public TextBase {
 public:
  explicit Text(ShortText text = {}, Vec3 insertion = {}, double height = 2.5) noexcept
      : TextBase(EntityKind::kText, std::move(text), insertion, height) {}

  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<Text>(*this); }

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

// An attribute of a block reference ("AcDbAttribute").
class AttributeReference final : public TextBase {
 public:
  AttributeReference(std::string tag = {}, ShortText text = {}, Vec3 insertion = {}, double height = 2.5) noexcept
      : TextBase(EntityKind::kAttribute, std::move(text), insertion, height), tag(std::move(tag)) {}
  std::string tag;
  bool invisible = false;

  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<AttributeReference>(*this); }

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

// An attribute definition inside a block: each reference inserted later
// gets an attribute with its tag, its default text and its placement.
class AttributeDefinition final : public TextBase {
 public:
  AttributeDefinition(std::string tag = {}, ShortText default_text = {}, Vec3 insertion = {},
                      double height = 2.5) noexcept
      : TextBase(EntityKind::kAttributeDefinition, std::move(default_text), insertion, height), tag(std::move(tag)) {}
  std::string tag;
  std::string prompt;
  // The CAD's attribute mode bits: 1 invisible, 2 constant, 4 verify, 8 preset.
  std::int32_t mode = 0;

  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<AttributeDefinition>(*this); }

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

class MText final : public Entity {
 public:
  MText(Vec3 insertion = {}, double width = 0, std::string text = {}) noexcept
      : Entity(EntityKind::kMText), text(std::move(text)), insertion(insertion), width(width) {}
  // The text with its formatting codes ("\P" paragraph breaks, "{\fArial;...}" ...).
  std::string text;
  Vec3 insertion;  // world coordinates, as MTEXT files keep it
  double width;  // of the reference rectangle; 0: no wrapping
  double height = 2.5;
  double rotation = 0;
  std::uint16_t style = 0;
  // 1 top left, 2 top center ... 9 bottom right.
  std::int16_t attachment = 1;
  Vec3 normal{0, 0, 1};

  [[nodiscard]] Ocs ocs() const noexcept { return Ocs(normal); }
  [[nodiscard]] Vec3 world_insertion() const noexcept { return insertion; }
  void set_world_insertion(const Vec3& p) noexcept { insertion = p; }

  [[nodiscard]] const std::string& style_name() const;
  void set_style_name(std::string_view name);

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<MText>(*this); }
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

}  // namespace kestrel::memcad
