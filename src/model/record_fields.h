// The byte layout of the exchange records, declared once as one table per
// record: field name, byte offset and the member that holds it. The same
// tables drive the raw record images (model/layout.h) and the record files
// (model/record_file.h), and the checks below prove at compile time that each
// table follows the layout rules and gives the record its fixed size.
//
// Layout rules: fields follow each other in table order; 4-byte fields
// (long, string reference, array reference) and doubles start on 4-byte
// boundaries, 16-bit fields on 2-byte boundaries, plain byte blocks anywhere;
// nested records start on 4-byte boundaries; the gaps those rules leave are
// padding; a record's size is its end rounded up to 4.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "model/records.h"

namespace kestrel::model::fields {

// One field of record R held in a member of type M.
template <class R, class M>
struct Field {
  using record_type = R;
  using member_type = M;
  std::string_view name;
  std::int32_t offset;
  M R::*member;
  bool boolean = false;     // a 16-bit Boolean (0 / -1)
  std::int32_t lbound = 1;  // the usual lower bound of an array field
};

template <class R, class M>
constexpr Field<R, M> field(std::string_view name, std::int32_t offset, M R::*member) {
  return {name, offset, member};
}
template <class R>
constexpr Field<R, VbBool> boolean(std::string_view name, std::int32_t offset, VbBool R::*member) {
  return {name, offset, member, true};
}
template <class R, class M>
constexpr Field<R, M> array_from0(std::string_view name, std::int32_t offset, M R::*member) {
  return {name, offset, member, false, 0};
}

// Layout<R>: kName, kSize and kFields of each record.
template <class R>
struct Layout;

template <class M>
concept Record = requires {
  Layout<M>::kSize;
};

template <class M>
struct IsArray : std::false_type {};
template <class T>
struct IsArray<VbArray<T>> : std::true_type {};

template <class M>
struct IsBytes : std::false_type {};
template <std::size_t N>
struct IsBytes<Bytes<N>> : std::true_type {};

// Width of a field in the record; references (strings, arrays) are 4-byte slots.
template <class M>
constexpr std::int32_t slot_size() {
  if constexpr (Record<M>)
    return Layout<M>::kSize;
  else if constexpr (IsBytes<M>::value)
    return static_cast<std::int32_t>(std::tuple_size_v<M>);
  else if constexpr (std::is_same_v<M, std::string> || IsArray<M>::value)
    return 4;
  else
    return static_cast<std::int32_t>(sizeof(M));
}

template <class M>
constexpr std::int32_t slot_alignment() {
  if constexpr (Record<M>)
    return 4;
  else if constexpr (IsBytes<M>::value)
    return 1;
  else if constexpr (std::is_same_v<M, std::int16_t>)
    return 2;
  else
    return 4;
}

constexpr std::int32_t round_up(std::int32_t n, std::int32_t to) { return (n + to - 1) / to * to; }

// clang-format off
template <>
struct Layout<t_Poli> {
  static constexpr std::string_view kName = "t_Poli";
  static constexpr std::int32_t kSize = 16;
  static constexpr auto kFields = std::make_tuple(
      field("NuVert",        0, &t_Poli::NuVert),
      array_from0("Vert",    4, &t_Poli::Vert),
      field("Color",         8, &t_Poli::Color),
      field("CapaP",        12, &t_Poli::CapaP));
};

template <>
struct Layout<t_Capa> {
  static constexpr std::string_view kName = "t_Capa";
  static constexpr std::int32_t kSize = 20;
  static constexpr auto kFields = std::make_tuple(
      field("Nombre",         0, &t_Capa::Nombre),
      boolean("Encendida",    4, &t_Capa::Encendida),
      field("ColorCapa",      8, &t_Capa::ColorCapa),
      field("Estado",        12, &t_Capa::Estado),
      field("carried14",     14, &t_Capa::carried14));
};

template <>
struct Layout<t_Curva> {
  static constexpr std::string_view kName = "t_Curva";
  static constexpr std::int32_t kSize = 16;
  static constexpr auto kFields = std::make_tuple(
      field("NuVertC",        0, &t_Curva::NuVertC),
      array_from0("VertC",    4, &t_Curva::VertC),
      field("ColorC",         8, &t_Curva::ColorC),
      boolean("TipoC",       12, &t_Curva::TipoC));
};

template <>
struct Layout<t_Curvado> {
  static constexpr std::string_view kName = "t_Curvado";
  static constexpr std::int32_t kSize = 60;
  static constexpr auto kFields = std::make_tuple(
      field("NuCurvas",    0, &t_Curvado::NuCurvas),
      field("Param1",      4, &t_Curvado::Param1),
      field("Param2",     12, &t_Curvado::Param2),
      field("Param3",     20, &t_Curvado::Param3),
      field("Param4",     28, &t_Curvado::Param4),
      field("Param5",     30, &t_Curvado::Param5),
      field("Param6",     32, &t_Curvado::Param6),
      field("Param7",     36, &t_Curvado::Param7),
      field("Param8",     44, &t_Curvado::Param8),
      boolean("Param9",   52, &t_Curvado::Param9),
      field("Curvas",     56, &t_Curvado::Curvas));
};

template <>
struct Layout<t_Rotulo> {
  static constexpr std::string_view kName = "t_Rotulo";
  static constexpr std::int32_t kSize = 112;
  static constexpr auto kFields = std::make_tuple(
      field("Texto",        0, &t_Rotulo::Texto),
      field("CapaR",        4, &t_Rotulo::CapaR),
      field("Xr",           8, &t_Rotulo::Xr),
      field("Yr",          16, &t_Rotulo::Yr),
      field("Xr2",         24, &t_Rotulo::Xr2),
      field("Yr2",         32, &t_Rotulo::Yr2),
      field("Xr3",         40, &t_Rotulo::Xr3),
      field("Yr3",         48, &t_Rotulo::Yr3),
      field("Giro",        56, &t_Rotulo::Giro),
      field("Altura",      64, &t_Rotulo::Altura),
      field("carried72",   72, &t_Rotulo::carried72),
      field("Cuenta",      80, &t_Rotulo::Cuenta),
      field("Estilo",      84, &t_Rotulo::Estilo),
      field("Texto3",      88, &t_Rotulo::Texto3),
      field("carried92",   92, &t_Rotulo::carried92),
      field("DeCurva",     94, &t_Rotulo::DeCurva),
      field("Xc",          96, &t_Rotulo::Xc),
      field("Yc",         104, &t_Rotulo::Yc));
};

template <>
struct Layout<Cabecera> {
  static constexpr std::string_view kName = "Cabecera";
  static constexpr std::int32_t kSize = 100;
  static constexpr auto kFields = std::make_tuple(
      field("bytes0",     0, &Cabecera::bytes0),
      field("text4",      4, &Cabecera::text4),
      field("bytes8",     8, &Cabecera::bytes8),
      field("text48",    48, &Cabecera::text48),
      field("bytes52",   52, &Cabecera::bytes52));
};

// Offsets inside the block; the block sits at offset 248 of `t_Dibujo`.
template <>
struct Layout<Opciones> {
  static constexpr std::string_view kName = "Opciones";
  static constexpr std::int32_t kSize = Opciones::kSize;
  static constexpr auto kFields = std::make_tuple(
      field("piece248",    0, &Opciones::piece248),
      field("piece384",  136, &Opciones::piece384),
      field("piece456",  208, &Opciones::piece456),
      field("piece460",  212, &Opciones::piece460),
      field("piece520",  272, &Opciones::piece520),
      field("piece580",  332, &Opciones::piece580));
};

template <>
struct Layout<t_Dibujo> {
  static constexpr std::string_view kName = "t_Dibujo";
  static constexpr std::int32_t kSize = 640;
  static constexpr auto kFields = std::make_tuple(
      field("Texto1",        0, &t_Dibujo::Texto1),
      field("Texto2",        4, &t_Dibujo::Texto2),
      field("Cabecera",      8, &t_Dibujo::Cabecera),
      field("NuPun",       108, &t_Dibujo::NuPun),
      field("Nmb",         112, &t_Dibujo::Nmb),
      field("X",           116, &t_Dibujo::X),
      field("Y",           120, &t_Dibujo::Y),
      field("Z",           124, &t_Dibujo::Z),
      field("Cd",          128, &t_Dibujo::Cd),
      field("infor",       132, &t_Dibujo::infor),
      field("Capa",        136, &t_Dibujo::Capa),
      field("Nutria",      140, &t_Dibujo::Nutria),
      field("B1",          144, &t_Dibujo::B1),
      field("B2",          148, &t_Dibujo::B2),
      field("B3",          152, &t_Dibujo::B3),
      field("colTrilat",   156, &t_Dibujo::colTrilat),
      field("NuPolis",     160, &t_Dibujo::NuPolis),
      field("poli",        164, &t_Dibujo::poli),
      field("NuRotulos",   168, &t_Dibujo::NuRotulos),
      field("Rotulo",      172, &t_Dibujo::Rotulo),
      field("nuCapas",     176, &t_Dibujo::nuCapas),
      field("CapaActual",  180, &t_Dibujo::CapaActual),
      field("Capas1",      184, &t_Dibujo::Capas1),
      field("Curvado",     188, &t_Dibujo::Curvado),
      field("Opciones",    248, &t_Dibujo::Opciones),
      field("Extra",       636, &t_Dibujo::Extra));
};

template <>
struct Layout<t_Datos> {
  static constexpr std::string_view kName = "t_Datos";
  static constexpr std::int32_t kSize = 12;
  static constexpr auto kFields = std::make_tuple(
      field("NuDibujos",    0, &t_Datos::NuDibujos),
      field("DibujoAct",    4, &t_Datos::DibujoAct),
      field("Dibujos",      8, &t_Datos::Dibujos));
};

// clang-format on

// Calls f(field) for each field of R in layout order.
template <Record R, class F>
constexpr void for_each_field(F&& f) {
  std::apply([&](const auto&... each) { (f(each), ...); }, Layout<R>::kFields);
}

// True when the table of R follows the layout rules and ends at its size.
template <Record R>
consteval bool follows_layout_rules() {
  std::int32_t end = 0;
  bool ok = true;
  for_each_field<R>([&](const auto& f) {
    using M = typename std::remove_cvref_t<decltype(f)>::member_type;
    ok = ok && f.offset == round_up(end, slot_alignment<M>()) && (!f.boolean || slot_size<M>() == 2);
    end = f.offset + slot_size<M>();
  });
  return ok && round_up(end, 4) == Layout<R>::kSize;
}

// Offset of the field called `name` in R (a compile error when there is none).
template <Record R>
consteval std::int32_t offset_of(std::string_view name) {
  std::int32_t found = -1;
  for_each_field<R>([&](const auto& f) {
    if (f.name == name) found = f.offset;
  });
  if (found < 0) throw "no such field";
  return found;
}

static_assert(follows_layout_rules<t_Poli>());
static_assert(follows_layout_rules<t_Capa>());
static_assert(follows_layout_rules<t_Curva>());
static_assert(follows_layout_rules<t_Curvado>());
static_assert(follows_layout_rules<t_Rotulo>());
static_assert(follows_layout_rules<Cabecera>());
static_assert(follows_layout_rules<Opciones>());
static_assert(follows_layout_rules<t_Dibujo>());
static_assert(follows_layout_rules<t_Datos>());

// Padding the rules must leave: after a 16-bit field followed by a 4-byte one.
static_assert(offset_of<t_Capa>("ColorCapa") == offset_of<t_Capa>("Encendida") + 4);
static_assert(offset_of<t_Rotulo>("Xr") == offset_of<t_Rotulo>("CapaR") + 4);
static_assert(offset_of<t_Curvado>("Param7") == offset_of<t_Curvado>("Param6") + 4);
static_assert(offset_of<t_Curvado>("Curvas") == offset_of<t_Curvado>("Param9") + 4);
// The groups of `t_Dibujo`: points 108..139, triangles 140..159, polylines
// 160..167, texts 168..175, layers 176..187; options at 248; Extra last.
static_assert(offset_of<t_Dibujo>("NuPun") == 108 && offset_of<t_Dibujo>("Nutria") == 140);
static_assert(offset_of<t_Dibujo>("NuPolis") == 160 && offset_of<t_Dibujo>("NuRotulos") == 168);
static_assert(offset_of<t_Dibujo>("nuCapas") == 176 && offset_of<t_Dibujo>("Curvado") == 188);
static_assert(offset_of<t_Dibujo>("Opciones") == Opciones::kOffset && offset_of<t_Dibujo>("Extra") == 636);

}  // namespace kestrel::model::fields
