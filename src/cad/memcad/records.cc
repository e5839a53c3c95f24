#include "cad/memcad/records.h"

#include "cad/memcad/document.h"
#include "cad/memcad/table_impl.h"

namespace kestrel::memcad {

template class Table<Layer>;
template class Table<Linetype>;
template class Table<TextStyle>;

namespace {

Document& document_of(const Layer& layer) {
  Document* doc = layer.document();
  if (!doc) raise_drawing_closed();
  return *doc;
}

void put_layer_color(Layer& layer, const Variant& v) {
  const std::int16_t color = v.to_int16();
  check_range(color, 1, 255, "color de capa");
  layer.color = color;
  layer.true_color.reset();
}

void put_layer_true_color(Layer& layer, const Variant& v) {
  const ColorValue& c = true_color_value(v).value();
  if (c.method == kMethodByRgb) {
    layer.true_color = c.rgb;
  } else if (c.method == kMethodByAci && c.index >= 1 && c.index <= 255) {
    layer.color = c.index;
    layer.true_color.reset();
  } else {
    raise_refused("Color no válido para una capa");
  }
}

Variant layer_true_color(Layer& layer) {
  return Variant(std::make_shared<TrueColor>(document_of(layer).shared_session(),
                                             color_value(layer.color, layer.true_color)));
}

const core::Member<Layer> kLayerMembers[] = {
    {"Name", [](Layer& l) { return Variant(l.name()); },
     [](Layer& l, const Variant& v) { document_of(l).rename_layer(l, v.to_string()); }},
    {"Color", [](Layer& l) { return Variant(std::int32_t{l.color}); }, &put_layer_color},
    {"Linetype", [](Layer& l) { return Variant(l.linetype); },
     [](Layer& l, const Variant& v) { l.linetype = v.to_string(); }},
    {"LayerOn", [](Layer& l) { return Variant(l.on); }, [](Layer& l, const Variant& v) { l.on = v.to_bool(); }},
    {"Freeze", [](Layer& l) { return Variant(l.frozen); },
     [](Layer& l, const Variant& v) { l.frozen = v.to_bool(); }},
    {"Lock", [](Layer& l) { return Variant(l.locked); }, [](Layer& l, const Variant& v) { l.locked = v.to_bool(); }},
    {"TrueColor", &layer_true_color, &put_layer_true_color},
};

const core::Member<Linetype> kLinetypeMembers[] = {
    {"Name", [](Linetype& l) { return Variant(l.name()); }},
    {"Description", [](Linetype& l) { return Variant(l.description); },
     [](Linetype& l, const Variant& v) { l.description = v.to_string(); }},
};

void put_style_height(TextStyle& s, const Variant& v) {
  const double h = v.to_double();
  check_range(h, 0, 1e100, "altura de estilo");
  s.height = h;
}

void put_style_width(TextStyle& s, const Variant& v) {
  const double w = v.to_double();
  check_range(w, 0.01, 100, "factor de anchura");
  s.width_factor = w;
}

const core::Member<TextStyle> kTextStyleMembers[] = {
    {"Name", [](TextStyle& s) { return Variant(s.name()); }},
    {"fontFile", [](TextStyle& s) { return Variant(s.font_file); },
     [](TextStyle& s, const Variant& v) { s.font_file = v.to_string(); }},
    {"BigFontFile", [](TextStyle& s) { return Variant(s.big_font_file); },
     [](TextStyle& s, const Variant& v) { s.big_font_file = v.to_string(); }},
    {"Height", [](TextStyle& s) { return Variant(s.height); }, &put_style_height},
    {"Width", [](TextStyle& s) { return Variant(s.width_factor); }, &put_style_width},
    {"ObliqueAngle", [](TextStyle& s) { return Variant(s.oblique_angle); },
     [](TextStyle& s, const Variant& v) { s.oblique_angle = v.to_double(); }},
};

}  // namespace

const core::MemberTable<Layer>& Layer::member_table() {
  static const core::MemberTable<Layer> table{std::span<const core::Member<Layer>>(kLayerMembers)};
  return table;
}

Variant Layer::add_member(Table<Layer>& table, Args args) {
  return Variant(table.add(string_argument(args, 1)).shared_from_this());
}

const core::MemberTable<Linetype>& Linetype::member_table() {
  static const core::MemberTable<Linetype> table{std::span<const core::Member<Linetype>>(kLinetypeMembers)};
  return table;
}

Variant Linetype::add_member(Table<Linetype>& table, Args args) {
  return Variant(table.add(string_argument(args, 1)).shared_from_this());
}

const core::MemberTable<TextStyle>& TextStyle::member_table() {
  static const core::MemberTable<TextStyle> table{std::span<const core::Member<TextStyle>>(kTextStyleMembers)};
  return table;
}

Variant TextStyle::add_member(Table<TextStyle>& table, Args args) {
  return Variant(table.add(string_argument(args, 1)).shared_from_this());
}

}  // namespace kestrel::memcad
