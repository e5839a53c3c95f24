// Reading records from JSON: the document is parsed by nlohmann-json, then
// each record is read field by field through the layout tables, every value
// checked for its type and every count against its array.
#include <algorithm>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/error.h"
#include "model/record_checks.h"
#include "model/record_fields.h"
#include "model/record_json.h"

namespace kestrel::model::json_detail {

namespace {

using fields::Record;
using nlohmann::json;

std::string type_name(const json& j) {
  switch (j.type()) {
    case json::value_t::null:
      return "null";
    case json::value_t::object:
      return "un objeto";
    case json::value_t::array:
      return "una lista";
    case json::value_t::string:
      return "un texto";
    case json::value_t::boolean:
      return "un valor lógico";
    case json::value_t::number_float:
      return "un número con decimales";
    default:
      return "un número";
  }
}

[[noreturn]] void wrong_type(const json& j, const PathNode& at, std::string_view expected) {
  fail(core::kTypeMismatch, at, "se esperaba " + std::string(expected) + " y hay " + type_name(j));
}

template <class I>
I read_integer(const json& j, const PathNode& at) {
  constexpr std::string_view kExpected = sizeof(I) == 2 ? "un entero de 16 bits" : "un entero de 32 bits";
  if (!j.is_number_integer()) wrong_type(j, at, kExpected);
  const bool fits = j.is_number_unsigned()
                        ? j.get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<I>::max())
                        : j.get<std::int64_t>() >= std::numeric_limits<I>::min() &&
                              j.get<std::int64_t>() <= std::numeric_limits<I>::max();
  if (!fits) fail(core::kTypeMismatch, at, std::string(kExpected) + ", no cabe " + j.dump());
  return static_cast<I>(j.get<std::int64_t>());
}

double read_double(const json& j, const PathNode& at) {
  if (j.is_number()) return j.get<double>();
  if (j.is_string()) {
    const auto& s = j.get_ref<const std::string&>();
    if (s == "NaN") return std::numeric_limits<double>::quiet_NaN();
    if (s == "Infinity") return std::numeric_limits<double>::infinity();
    if (s == "-Infinity") return -std::numeric_limits<double>::infinity();
  }
  wrong_type(j, at, "un número");
}

void read_element(const json& j, double& v, const PathNode& at) { v = read_double(j, at); }
void read_element(const json& j, std::int32_t& v, const PathNode& at) { v = read_integer<std::int32_t>(j, at); }
void read_element(const json& j, std::int16_t& v, const PathNode& at) { v = read_integer<std::int16_t>(j, at); }

void read_element(const json& j, std::string& v, const PathNode& at) {
  if (!j.is_string()) wrong_type(j, at, "un texto");
  v = j.get_ref<const std::string&>();
}

void read_element(const json& j, Vertex3& v, const PathNode& at) {
  if (!j.is_array() || j.size() != 3) wrong_type(j, at, "una lista de tres números [x, y, z]");
  v = {read_double(j[0], at.at(0)), read_double(j[1], at.at(1)), read_double(j[2], at.at(2))};
}

template <Record R>
void read_record(const json& j, R& record, const PathNode& at);

template <Record R>
void read_element(const json& j, R& record, const PathNode& at) {
  read_record(j, record, at);
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

template <std::size_t N>
void read_bytes(const json& j, Bytes<N>& bytes, const PathNode& at) {
  const std::string expected = std::to_string(N) + " bytes en hexadecimal (" + std::to_string(2 * N) + " cifras)";
  if (!j.is_string()) wrong_type(j, at, expected);
  const auto& s = j.get_ref<const std::string&>();
  if (s.size() != 2 * N)
    fail(core::kTypeMismatch, at, "se esperaban " + expected + " y hay " + std::to_string(s.size()) + " cifras");
  for (std::size_t i = 0; i < N; ++i) {
    const int high = hex_value(s[2 * i]);
    const int low = hex_value(s[2 * i + 1]);
    if (high < 0 || low < 0)
      fail(core::kTypeMismatch, at, "cifra hexadecimal no válida en la posición " + std::to_string(2 * i + 1));
    bytes[i] = static_cast<std::byte>(high * 16 + low);
  }
}

// null, a plain list (usual lower bound) or {"lbound": n, "items": [...]}.
template <class E>
void read_array(const json& j, VbArray<E>& array, std::int32_t usual_lbound, const PathNode& at) {
  if (j.is_null()) {
    array = VbArray<E>();
    return;
  }
  std::int32_t lbound = usual_lbound;
  const json* items = &j;
  if (j.is_object()) {
    for (const auto& [key, value] : j.items()) {
      if (key != "lbound" && key != "items") fail(core::kInvalidCall, at.child(key), "campo desconocido");
    }
    if (!j.contains("lbound") || !j.contains("items"))
      fail(core::kInvalidCall, at, "una lista con límites necesita \"lbound\" e \"items\"");
    lbound = read_integer<std::int32_t>(j["lbound"], at.child("lbound"));
    items = &j["items"];
  } else if (!j.is_array()) {
    wrong_type(j, at, "una lista, {\"lbound\", \"items\"} o null");
  }
  if (!items->is_array()) wrong_type(*items, at.child("items"), "una lista");
  const auto count = static_cast<std::int64_t>(items->size());
  if (lbound + count - 1 > std::numeric_limits<std::int32_t>::max())
    fail(core::kSubscriptOutOfRange, at, "demasiados elementos para el límite inferior " + std::to_string(lbound));
  std::vector<E> values(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) {
    read_element((*items)[static_cast<std::size_t>(i)], values[static_cast<std::size_t>(i)], at.at(lbound + i));
  }
  array = VbArray<E>(lbound, std::move(values));
}

template <class M, class F>
void read_member(const json& j, M& value, const F& field, const PathNode& at) {
  if constexpr (Record<M>) {
    read_record(j, value, at);
  } else if constexpr (fields::IsArray<M>::value) {
    read_array(j, value, field.lbound, at);
  } else if constexpr (fields::IsBytes<M>::value) {
    read_bytes(j, value, at);
  } else if constexpr (std::is_same_v<M, std::int16_t>) {
    if (field.boolean && j.is_boolean()) {
      value = j.get<bool>() ? core::kTrue : core::kFalse;
      return;
    }
    read_element(j, value, at);
  } else {
    read_element(j, value, at);
  }
}

// Reads every key of `j` into the field of that name. With `skip_header`
// the document header keys are left to the caller.
template <Record R>
void read_fields(const json& j, R& record, const PathNode& at, bool skip_header) {
  if (!j.is_object()) wrong_type(j, at, "un objeto " + std::string(fields::Layout<R>::kName));
  for (const auto& [key, value] : j.items()) {
    if (skip_header && (key == "format" || key == "version" || key == "kind")) continue;
    bool found = false;
    fields::for_each_field<R>([&](const auto& f) {
      if (found || f.name != key) return;
      found = true;
      read_member(value, record.*f.member, f, at.child(f.name));
    });
    if (!found)
      fail(core::kInvalidCall, at.child(key), "campo desconocido en " + std::string(fields::Layout<R>::kName));
  }
  check_record(record, at);
}

template <Record R>
void read_record(const json& j, R& record, const PathNode& at) {
  read_fields(j, record, at, false);
}

// Line and column (from 1) of byte `offset` of `text`.
std::string position_text(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  const std::string_view before = text.substr(0, offset);
  const auto line = std::count(before.begin(), before.end(), '\n') + 1;
  const auto last_break = before.rfind('\n');
  const std::string_view line_start = before.substr(last_break == std::string_view::npos ? 0 : last_break + 1);
  // Columns count characters: UTF-8 continuation bytes are not counted.
  const auto column = 1 + std::count_if(line_start.begin(), line_start.end(),
                                        [](char c) { return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u; });
  return "línea " + std::to_string(line) + ", columna " + std::to_string(column);
}

[[noreturn]] void syntax_error(std::string_view text, const json::parse_error& e) {
  const std::size_t offset = e.byte == 0 ? 0 : e.byte - 1;
  std::string what = offset >= text.size() ? "JSON incompleto: el texto se corta en la " : "JSON mal formado en la ";
  what += position_text(text, offset);
  if (std::string_view(e.what()).find("UTF-8") != std::string_view::npos) what += " (texto UTF-8 no válido)";
  throw core::Error(core::kInvalidCall, core::kRuntimeSource, std::move(what));
}

// Parses the text, refusing a key repeated inside one object (the tree would
// silently keep only the last value).
json parse(std::string_view text) {
  std::vector<std::vector<std::string>> open_objects;
  const json::parser_callback_t check_keys = [&](int, json::parse_event_t event, json& parsed) {
    if (event == json::parse_event_t::object_start) open_objects.emplace_back();
    if (event == json::parse_event_t::object_end) open_objects.pop_back();
    if (event == json::parse_event_t::key) {
      auto& seen = open_objects.back();
      const auto& key = parsed.get_ref<const std::string&>();
      if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
        throw core::Error(core::kInvalidCall, core::kRuntimeSource, "campo repetido \"" + key + "\"");
      }
      seen.push_back(key);
    }
    return true;
  };
  try {
    return json::parse(text.begin(), text.end(), check_keys, true, false);
  } catch (const json::parse_error& e) {
    syntax_error(text, e);
  } catch (const json::exception& e) {
    // A number too large for a double is the only other way the parser fails.
    const std::string_view what = e.what();
    const auto quote = what.find('\'');
    const std::string token(quote == std::string_view::npos ? std::string_view() : what.substr(quote));
    throw core::Error(core::kInvalidCall, core::kRuntimeSource, "JSON mal formado: número fuera de intervalo " + token);
  }
}

std::string header_text(const json& document, const char* key, const PathNode& root) {
  if (!document.contains(key)) fail(core::kInvalidCall, root.child(key), "falta en el documento");
  const json& value = document[key];
  if (!value.is_string()) wrong_type(value, root.child(key), "un texto");
  return value.get<std::string>();
}

void check_header(const json& document, const PathNode& root) {
  if (header_text(document, "format", root) != kFormatName) {
    fail(core::kInvalidCall, root.child("format"), "se esperaba \"" + std::string(kFormatName) + "\"");
  }
  if (!document.contains("version")) fail(core::kInvalidCall, root.child("version"), "falta en el documento");
  const std::int32_t version = read_integer<std::int32_t>(document["version"], root.child("version"));
  if (version != kFormatVersion) {
    fail(core::kInvalidCall, root.child("version"),
         "versión " + std::to_string(version) + " no admitida; se lee la versión " + std::to_string(kFormatVersion));
  }
}

}  // namespace

std::variant<t_Datos, t_Dibujo> read_document(std::string_view text) {
  const json document = parse(text);
  const PathNode root;
  if (!document.is_object()) wrong_type(document, root, "un objeto");
  check_header(document, root);
  const std::string kind = header_text(document, "kind", root);
  if (kind == fields::Layout<t_Datos>::kName) {
    t_Datos set;
    read_fields(document, set, root, true);
    return set;
  }
  if (kind == fields::Layout<t_Dibujo>::kName) {
    t_Dibujo drawing;
    read_fields(document, drawing, root, true);
    return drawing;
  }
  fail(core::kInvalidCall, root.child("kind"), "se esperaba \"t_Datos\" o \"t_Dibujo\" y hay \"" + kind + "\"");
}

}  // namespace kestrel::model::json_detail
