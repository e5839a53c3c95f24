// Writing records as JSON. The text is canonical: fields in layout order,
// fixed indentation, arrays of numbers and small records on one line, so
// that writing what was read gives the same bytes.
#include <type_traits>

#include "model/record_fields.h"
#include "recordfile/record_json.h"

namespace kestrel::model::json_detail {

namespace {

using fields::Record;

// Small records are written on one line each.
template <class R>
constexpr bool kOneLine =
    std::is_same_v<R, t_Poli> || std::is_same_v<R, t_Capa> || std::is_same_v<R, t_Curva> || std::is_same_v<R, t_Rotulo>;

template <Record R>
void write_record(JsonOut& out, const R& record, int depth, const PathNode& at);

template <Record R>
void write_fields(JsonOut& out, const R& record, int depth, const PathNode& at, bool first);

void write_element(JsonOut& out, double v, int, const PathNode& at) { out.number(v, at); }
void write_element(JsonOut& out, std::int32_t v, int, const PathNode&) { out.integer(v); }
void write_element(JsonOut& out, std::int16_t v, int, const PathNode&) { out.integer(v); }
void write_element(JsonOut& out, const std::string& v, int, const PathNode& at) { out.string(v, at); }

void write_element(JsonOut& out, const Vertex3& v, int, const PathNode& at) {
  out.put('[');
  out.number(v.x, at.at(0));
  out.put(", ");
  out.number(v.y, at.at(1));
  out.put(", ");
  out.number(v.z, at.at(2));
  out.put(']');
}

template <Record R>
void write_element(JsonOut& out, const R& record, int depth, const PathNode& at) {
  write_record(out, record, depth, at);
}

// "[a, b, c]" for values; one record per line for records.
template <class E>
void write_items(JsonOut& out, const VbArray<E>& array, int depth, const PathNode& at) {
  constexpr bool kRecordItems = Record<E>;
  const auto items = array.items();
  out.put('[');
  std::int64_t index = items.empty() ? 0 : array.lbound();
  for (std::size_t i = 0; i < items.size(); ++i, ++index) {
    if (kRecordItems) {
      if (i > 0) out.put(',');
      out.newline(depth + 1);
    } else if (i > 0) {
      out.put(", ");
    }
    write_element(out, items[i], depth + 1, at.at(index));
  }
  if (kRecordItems && !items.empty()) out.newline(depth);
  out.put(']');
}

// null when unallocated; the items alone when the lower bound is the usual
// one for the field; {"lbound": n, "items": [...]} otherwise.
template <class E>
void write_array(JsonOut& out, const VbArray<E>& array, std::int32_t usual_lbound, int depth, const PathNode& at) {
  if (!array.allocated()) return out.put("null");
  if (array.lbound() == usual_lbound) return write_items(out, array, depth, at);
  out.put("{\"lbound\": ");
  out.integer(array.lbound());
  out.put(", \"items\": ");
  write_items(out, array, depth, at);
  out.put('}');
}

template <class M, class F>
void write_member(JsonOut& out, const M& value, const F& field, int depth, const PathNode& at) {
  if constexpr (Record<M>) {
    write_record(out, value, depth, at);
  } else if constexpr (fields::IsArray<M>::value) {
    write_array(out, value, field.lbound, depth, at);
  } else if constexpr (fields::IsBytes<M>::value) {
    out.hex(value);
  } else if constexpr (std::is_same_v<M, std::int16_t>) {
    // A Boolean holding -1 or 0 reads better as true / false.
    if (field.boolean && (value == -1 || value == 0)) return out.put(value == -1 ? "true" : "false");
    out.integer(value);
  } else {
    write_element(out, value, depth, at);
  }
}

template <Record R>
void write_fields(JsonOut& out, const R& record, int depth, const PathNode& at, bool first) {
  fields::for_each_field<R>([&](const auto& f) {
    if (!first) out.put(',');
    if (kOneLine<R>) {
      if (!first) out.put(' ');
    } else {
      out.newline(depth + 1);
    }
    first = false;
    out.put('"');
    out.put(f.name);
    out.put("\": ");
    write_member(out, record.*f.member, f, depth + 1, at.child(f.name));
  });
}

template <Record R>
void write_record(JsonOut& out, const R& record, int depth, const PathNode& at) {
  out.put('{');
  write_fields(out, record, depth, at, true);
  if (!kOneLine<R>) out.newline(depth);
  out.put('}');
}

template <Record R>
void write_top(JsonOut& out, const R& record) {
  const PathNode root;
  out.put("{\n  \"format\": \"");
  out.put(kFormatName);
  out.put("\",\n  \"version\": ");
  out.integer(kFormatVersion);
  out.put(",\n  \"kind\": \"");
  out.put(fields::Layout<R>::kName);
  out.put("\"");
  write_fields(out, record, 0, root, false);
  out.put("\n}\n");
  out.flush();
}

}  // namespace

void write_document(JsonOut& out, const t_Datos& set) { write_top(out, set); }
void write_document(JsonOut& out, const t_Dibujo& drawing) { write_top(out, drawing); }

}  // namespace kestrel::model::json_detail
