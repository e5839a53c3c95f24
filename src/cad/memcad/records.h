// The records of a drawing's layer, line type and text style tables. Their
// fields are plain data for the DXF layer; renaming goes through the table
// so that lookups by name stay right.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cad/memcad/table.h"
#include "cad/memcad/true_color.h"

namespace kestrel::memcad {

class Layer final : public Record<Layer> {
 public:
  static constexpr std::string_view kCollectionType = "IAcadLayers";
  Layer(Document* doc, std::string name) : Record(doc, std::move(name)) {}

  std::int16_t color = 7;  // 1..255
  std::string linetype = "Continuous";
  bool on = true;
  bool frozen = false;
  bool locked = false;
  std::optional<Rgb> true_color;

  [[nodiscard]] std::string_view type_name() const override { return "IAcadLayer"; }
  static const core::MemberTable<Layer>& member_table();
  // Layers.Add(name): the existing layer of that name (any case) or a new one.
  static Variant add_member(Table<Layer>& table, Args args);
};

class Linetype final : public Record<Linetype> {
 public:
  static constexpr std::string_view kCollectionType = "IAcadLineTypes";
  Linetype(Document* doc, std::string name) : Record(doc, std::move(name)) {}

  std::string description;
  // Dash lengths: positive draws, negative skips, 0 is a dot. Empty: continuous.
  std::vector<double> pattern;

  [[nodiscard]] std::string_view type_name() const override { return "IAcadLineType"; }
  static const core::MemberTable<Linetype>& member_table();
  static Variant add_member(Table<Linetype>& table, Args args);
};

class TextStyle final : public Record<TextStyle> {
 public:
  static constexpr std::string_view kCollectionType = "IAcadTextStyles";
  TextStyle(Document* doc, std::string name) : Record(doc, std::move(name)) {}

  std::string font_file = "txt.shx";
  std::string big_font_file;
  double height = 0;  // 0: the height is asked for each text
  double width_factor = 1;
  double oblique_angle = 0;  // radians

  [[nodiscard]] std::string_view type_name() const override { return "IAcadTextStyle"; }
  static const core::MemberTable<TextStyle>& member_table();
  static Variant add_member(Table<TextStyle>& table, Args args);
};

using Layers = Table<Layer>;
using Linetypes = Table<Linetype>;
using TextStyles = Table<TextStyle>;

}  // namespace kestrel::memcad
