// Field tables: one row per DXF group of an entity kind, naming the memcad
// member it holds. The same table drives reading and writing, so the two
// cannot drift apart; docs/dxf-mapping.md lists them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "cad/dxf/group_reader.h"
#include "cad/dxf/group_writer.h"
#include "cad/dxf/number_text.h"
#include "cad/dxf/text_codec.h"
#include "cad/memcad/geometry.h"
#include "cad/memcad/short_text.h"

namespace kestrel::dxf {

// What rows need beyond the entity itself while reading.
class ReadContext {
 public:
  ReadContext(const GroupReader& reader, TextDecoder& decoder) noexcept : reader(reader), decoder(decoder) {}
  virtual ~ReadContext() = default;
  // The index of the text style a file names (raw bytes), created when missing.
  [[nodiscard]] virtual std::uint16_t text_style(std::string_view raw_name) = 0;

  const GroupReader& reader;
  TextDecoder& decoder;
};

// What rows need beyond the entity itself while writing.
class WriteContext {
 public:
  explicit WriteContext(const GroupWriter& writer) noexcept : writer(writer) {}
  virtual ~WriteContext() = default;
  [[nodiscard]] virtual const std::string& text_style_name(std::uint16_t index) const = 0;

  const GroupWriter& writer;
};

// One row: a subclass marker (code 100) or a member under a group code.
// Exactly one member pointer (or accessor pair) is set, except in marker rows.
template <class E>
struct Field {
  int code = 0;
  std::string_view marker{};                    // a marker row: writes "100 <marker>"
  memcad::Vec3 E::*point = nullptr;             // code, code + 10, code + 20
  int axis = -1;                                // 0..2: only that coordinate of `point`, under `code`
  std::array<memcad::Vec3, 4> E::*corners = nullptr;  // corner `axis` (0..3) as a point
  // A point kept behind accessors (code, code + 10, code + 20).
  memcad::Vec3 (*get_point)(const E&) = nullptr;
  void (*set_point)(E&, const memcad::Vec3&) = nullptr;
  double E::*real = nullptr;
  // A real kept behind accessors.
  double (*get_real)(const E&) = nullptr;
  void (*set_real)(E&, double) = nullptr;
  bool degrees = false;                         // `real` holds radians, the file degrees
  std::int16_t E::*int16 = nullptr;
  // An integer kept behind accessors.
  std::int16_t (*get_int16)(const E&) = nullptr;
  void (*set_int16)(E&, std::int16_t) = nullptr;
  std::int32_t E::*int32 = nullptr;
  std::uint8_t E::*bits = nullptr;
  bool E::*flag = nullptr;                      // bit 1 of an integer group
  std::string E::*text = nullptr;
  memcad::ShortText E::*short_text = nullptr;
  std::uint16_t E::*style = nullptr;            // a text style index, written as its name
  bool optional = false;                        // integers and reals: not written while `when_absent`
  double when_absent = 0;
  // When set, the row is written only if this says so (a point that only
  // some alignments use).
  bool (*written_if)(const E&) = nullptr;
};

// The whole point a point row or a corner row stands for. Only kinds with
// corners compile the corner access: GCC cannot see that other kinds never
// set `corners` and warns of an out-of-bounds read in theirs.
template <class E, class Target>
auto& point_of(Target& e, const Field<E>& f) {
  if constexpr (requires { e.corners; }) {
    if (f.corners) return (e.*f.corners)[static_cast<std::size_t>(f.axis)];
  }
  return e.*f.point;
}

// Reads `group` into `e` when a row of `fields` holds its code; false when none does.
template <class E>
bool read_field(E& e, std::span<const Field<E>> fields, const Group& group, ReadContext& cx) {
  for (const Field<E>& f : fields) {
    if (!f.marker.empty()) continue;
    if ((f.point && f.axis < 0) || f.corners || f.set_point) {
      const int offset = group.code - f.code;
      if (offset < 0 || offset > 20 || offset % 10 != 0) continue;
      const double v = cx.reader.real(group);
      if (f.set_point) {
        memcad::Vec3 p = f.get_point(e);
        (offset == 0 ? p.x : offset == 10 ? p.y : p.z) = v;
        f.set_point(e, p);
      } else {
        memcad::Vec3& p = point_of(e, f);
        (offset == 0 ? p.x : offset == 10 ? p.y : p.z) = v;
      }
      return true;
    }
    if (group.code != f.code) continue;
    if (f.point) {
      memcad::Vec3& p = e.*f.point;
      (f.axis == 0 ? p.x : f.axis == 1 ? p.y : p.z) = cx.reader.real(group);
    } else if (f.real || f.set_real) {
      double v = cx.reader.real(group);
      if (f.degrees) v = degrees_to_radians(v);
      if (f.real) {
        e.*f.real = v;
      } else {
        f.set_real(e, v);
      }
    } else if (f.int16 || f.set_int16) {
      const auto v = static_cast<std::int16_t>(cx.reader.integer(group));
      if (f.int16) {
        e.*f.int16 = v;
      } else {
        f.set_int16(e, v);
      }
    } else if (f.int32) {
      e.*f.int32 = static_cast<std::int32_t>(cx.reader.integer(group));
    } else if (f.bits) {
      e.*f.bits = static_cast<std::uint8_t>(cx.reader.integer(group));
    } else if (f.flag) {
      e.*f.flag = (cx.reader.integer(group) & 1) != 0;
    } else if (f.text) {
      e.*f.text = cx.decoder.decode(group.value);
    } else if (f.short_text) {
      e.*f.short_text = cx.decoder.decode(group.value);
    } else if (f.style) {
      e.*f.style = cx.text_style(group.value);
    }
    return true;
  }
  return false;
}

// Writes the rows of `fields` in order.
template <class E>
void write_fields(const E& e, std::span<const Field<E>> fields, const WriteContext& cx) {
  const GroupWriter& w = cx.writer;
  for (const Field<E>& f : fields) {
    if (f.written_if && !f.written_if(e)) continue;
    if (!f.marker.empty()) {
      w.raw(100, f.marker);
    } else if (f.point && f.axis >= 0) {
      const memcad::Vec3& p = e.*f.point;
      const double v = f.axis == 0 ? p.x : f.axis == 1 ? p.y : p.z;
      if (!(f.optional && v == f.when_absent)) w.real(f.code, v);
    } else if (f.get_point) {
      const memcad::Vec3 p = f.get_point(e);
      w.point(f.code, p.x, p.y, p.z);
    } else if (f.point || f.corners) {
      const memcad::Vec3& p = point_of(e, f);
      w.point(f.code, p.x, p.y, p.z);
    } else if (f.real || f.get_real) {
      const double v = f.real ? e.*f.real : f.get_real(e);
      if (f.optional && v == f.when_absent) continue;
      if (f.degrees) {
        w.degrees(f.code, v);
      } else {
        w.real(f.code, v);
      }
    } else if (f.int16 || f.get_int16) {
      const std::int16_t v = f.int16 ? e.*f.int16 : f.get_int16(e);
      if (f.optional && v == f.when_absent) continue;
      w.integer(f.code, v);
    } else if (f.int32) {
      w.integer(f.code, e.*f.int32);
    } else if (f.bits) {
      const std::uint8_t v = e.*f.bits;
      if (f.optional && v == f.when_absent) continue;
      w.integer(f.code, v);
    } else if (f.flag) {
      w.integer(f.code, e.*f.flag ? 1 : 0);
    } else if (f.text) {
      w.text(f.code, e.*f.text);
    } else if (f.short_text) {
      w.text(f.code, e.*f.short_text);
    } else if (f.style) {
      w.text(f.code, cx.text_style_name(e.*f.style));
    }
  }
}

}  // namespace kestrel::dxf
