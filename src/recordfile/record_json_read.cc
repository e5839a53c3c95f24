// Reading records from JSON with simdjson's On-Demand parser: one pass over
// the text, each value read straight into its field through the layout
// tables and checked for its type, each record's counts checked once its
// object ends. No document tree is built.
//
// simdjson checks the syntax as far as the reader goes, and the reader goes
// through every value. When anything fails, the text is first checked by
// model/json_syntax.h: a text that is not well-formed JSON is reported as
// such (with line and column) even when an earlier record error was met.
#include <simdjson.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "recordfile/json_syntax.h"
#include "recordfile/record_checks.h"
#include "model/record_fields.h"
#include "recordfile/record_json.h"

namespace kestrel::model::json_detail {

static_assert(PaddedText::kPadding >= simdjson::SIMDJSON_PADDING);

namespace {

namespace od = simdjson::ondemand;
using fields::Record;

// simdjson stopped reading; read_document finds out where and why.
struct Unreadable {
  simdjson::error_code code;
};

template <class T, class Result>
T must(Result&& result) {
  T value{};
  if (const auto error = std::forward<Result>(result).get(value)) throw Unreadable{error};
  return value;
}

// A value's text for a message, cut short when long.
std::string token_text(od::value& v) {
  std::string_view raw = v.raw_json_token();
  while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t' || raw.back() == '\n' || raw.back() == '\r'))
    raw.remove_suffix(1);
  constexpr std::size_t kShown = 40;
  return raw.size() <= kShown ? std::string(raw) : std::string(raw.substr(0, kShown)) + "…";
}

// A value or the document (both answer type()).
template <class V>
std::string_view type_name(V& v) {
  switch (must<od::json_type>(v.type())) {
    case od::json_type::null: return "null";
    case od::json_type::object: return "un objeto";
    case od::json_type::array: return "una lista";
    case od::json_type::string: return "un texto";
    case od::json_type::boolean: return "un valor lógico";
    case od::json_type::number: break;
  }
  const auto number = must<od::number_type>(v.get_number_type());
  return number == od::number_type::floating_point_number ? "un número con decimales" : "un número";
}

template <class V>
[[noreturn]] void wrong_type(V& v, const PathNode& at, std::string_view expected) {
  std::string what = "se esperaba ";
  what += expected;
  what += " y hay ";
  what += type_name(v);
  fail(core::kTypeMismatch, at, what);
}

// The getters are tried first and the type asked only on failure: reading a
// good file costs one call per value.
template <class I>
I read_integer(od::value& v, const PathNode& at) {
  constexpr std::string_view kExpected = sizeof(I) == 2 ? "un entero de 16 bits" : "un entero de 32 bits";
  std::int64_t n = 0;
  if (const auto error = v.get_int64().get(n)) {
    if (error != simdjson::INCORRECT_TYPE) throw Unreadable{error};
    if (must<od::json_type>(v.type()) != od::json_type::number ||
        must<od::number_type>(v.get_number_type()) == od::number_type::floating_point_number)
      wrong_type(v, at, kExpected);
    fail(core::kTypeMismatch, at, std::string(kExpected) + ", no cabe " + token_text(v));  // beyond 64 bits
  }
  if (n < std::numeric_limits<I>::min() || n > std::numeric_limits<I>::max())
    fail(core::kTypeMismatch, at, std::string(kExpected) + ", no cabe " + std::to_string(n));
  return static_cast<I>(n);
}

[[noreturn]] void not_finite(const PathNode& at, std::string_view shown) {
  fail(core::kTypeMismatch, at, "se esperaba un número finito y hay " + std::string(shown));
}

// NaN and the infinities have no place in a record file: not as numbers
// (1e999 is beyond the double range), not as the strings "NaN", "Infinity".
double read_double(od::value& v, const PathNode& at) {
  double d = 0;
  const auto error = v.get_double().get(d);
  if (!error) {
    if (!std::isfinite(d)) not_finite(at, token_text(v));
    return d;
  }
  if (error == simdjson::NUMBER_ERROR) not_finite(at, token_text(v));  // malformed numbers are caught after
  if (error != simdjson::INCORRECT_TYPE) throw Unreadable{error};
  if (must<od::json_type>(v.type()) == od::json_type::string) {
    const auto text = must<std::string_view>(v.get_string());
    if (text == "NaN" || text == "Infinity" || text == "-Infinity") not_finite(at, "\"" + std::string(text) + "\"");
    fail(core::kTypeMismatch, at, "se esperaba un número y hay un texto");
  }
  wrong_type(v, at, "un número");
}

void read_element(od::value& v, double& out, const PathNode& at) { out = read_double(v, at); }
void read_element(od::value& v, std::int32_t& out, const PathNode& at) { out = read_integer<std::int32_t>(v, at); }
void read_element(od::value& v, std::int16_t& out, const PathNode& at) { out = read_integer<std::int16_t>(v, at); }

std::string_view read_text(od::value& v, const PathNode& at, std::string_view expected) {
  std::string_view text;
  const auto error = v.get_string().get(text);
  if (error == simdjson::INCORRECT_TYPE) wrong_type(v, at, expected);
  if (error) throw Unreadable{error};
  return text;
}

void read_element(od::value& v, std::string& out, const PathNode& at) { out.assign(read_text(v, at, "un texto")); }

void read_element(od::value& v, Vertex3& out, const PathNode& at) {
  constexpr std::string_view kExpected = "una lista de tres números [x, y, z]";
  if (must<od::json_type>(v.type()) != od::json_type::array) wrong_type(v, at, kExpected);
  auto list = must<od::array>(v.get_array());
  const auto count = must<std::size_t>(list.count_elements());
  if (count != 3)
    fail(core::kTypeMismatch, at, "se esperaba " + std::string(kExpected) + " y hay " + std::to_string(count));
  double* const coordinates[] = {&out.x, &out.y, &out.z};
  std::int64_t i = 0;
  for (auto item : list) {
    auto coordinate = must<od::value>(std::move(item));
    *coordinates[i] = read_double(coordinate, at.at(i));
    ++i;
  }
}

template <Record R>
void read_record(od::value& v, R& record, const PathNode& at);

template <Record R>
void read_element(od::value& v, R& record, const PathNode& at) {
  read_record(v, record, at);
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

template <std::size_t N>
void read_bytes(od::value& v, Bytes<N>& bytes, const PathNode& at) {
  const std::string expected = std::to_string(N) + " bytes en hexadecimal (" + std::to_string(2 * N) + " cifras)";
  const std::string_view s = read_text(v, at, expected);
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

// The items of a list, the first at index `lbound`. Counting first costs a
// walk over the list's commas and spares the copies (and fresh memory) of a
// growing vector.
template <class E>
std::vector<E> read_items(od::array list, std::int32_t lbound, const PathNode& at) {
  std::vector<E> values;
  values.reserve(must<std::size_t>(list.count_elements()));
  std::int64_t index = lbound;
  for (auto item : list) {
    if (index > std::numeric_limits<std::int32_t>::max())
      fail(core::kSubscriptOutOfRange, at, "demasiados elementos para el límite inferior " + std::to_string(lbound));
    auto value = must<od::value>(std::move(item));
    read_element(value, values.emplace_back(), at.at(index));
    ++index;
  }
  return values;
}

// {"lbound": n, "items": [...]}, the two keys in any order: a first pass
// reads the bound, a second the items knowing their indices.
template <class E>
void read_bounded(od::object object, VbArray<E>& array, const PathNode& at) {
  std::optional<std::int32_t> lbound;
  bool has_items = false;
  for (auto member : object) {
    auto field = must<od::field>(std::move(member));
    const auto key = must<std::string_view>(field.unescaped_key());
    if (key != "lbound" && key != "items") fail(core::kInvalidCall, at.child(key), "campo desconocido");
    if (key == "lbound" ? lbound.has_value() : has_items) fail(core::kInvalidCall, at.child(key), "campo repetido");
    if (key == "items") {
      has_items = true;
    } else {
      lbound = read_integer<std::int32_t>(field.value(), at.child("lbound"));
    }
  }
  if (!lbound || !has_items) fail(core::kInvalidCall, at, "una lista con límites necesita \"lbound\" e \"items\"");
  must<bool>(object.reset());
  for (auto member : object) {
    auto field = must<od::field>(std::move(member));
    if (must<std::string_view>(field.unescaped_key()) != "items") continue;
    od::value& items = field.value();
    if (must<od::json_type>(items.type()) != od::json_type::array) wrong_type(items, at.child("items"), "una lista");
    array = VbArray<E>(*lbound, read_items<E>(must<od::array>(items.get_array()), *lbound, at));
  }
}

// null, a plain list (usual lower bound) or {"lbound": n, "items": [...]}.
template <class E>
void read_array(od::value& v, VbArray<E>& array, std::int32_t usual_lbound, const PathNode& at) {
  switch (must<od::json_type>(v.type())) {
    case od::json_type::null:
      if (!must<bool>(v.is_null())) throw Unreadable{simdjson::N_ATOM_ERROR};
      array = VbArray<E>();
      return;
    case od::json_type::array:
      array = VbArray<E>(usual_lbound, read_items<E>(must<od::array>(v.get_array()), usual_lbound, at));
      return;
    case od::json_type::object: return read_bounded(must<od::object>(v.get_object()), array, at);
    default: wrong_type(v, at, "una lista, {\"lbound\", \"items\"} o null");
  }
}

template <class M, class F>
void read_member(od::value& v, M& value, const F& field, const PathNode& at) {
  if constexpr (Record<M>) {
    read_record(v, value, at);
  } else if constexpr (fields::IsArray<M>::value) {
    read_array(v, value, field.lbound, at);
  } else if constexpr (fields::IsBytes<M>::value) {
    read_bytes(v, value, at);
  } else if constexpr (std::is_same_v<M, std::int16_t>) {
    if (field.boolean && must<od::json_type>(v.type()) == od::json_type::boolean) {
      value = must<bool>(v.get_bool()) ? core::kTrue : core::kFalse;
      return;
    }
    read_element(v, value, at);
  } else {
    read_element(v, value, at);
  }
}

template <Record R>
constexpr auto kFieldNames = std::apply(
    [](const auto&... f) { return std::array<std::string_view, sizeof...(f)>{f.name...}; }, fields::Layout<R>::kFields);

inline constexpr std::array<std::string_view, 3> kHeaderKeys = {"format", "version", "kind"};

// Position of `key` in R's table (`hint` is tried first: files list the
// fields in table order), or the table's size when R has no such field.
template <Record R>
std::size_t field_index(std::string_view key, std::size_t hint) {
  constexpr auto& names = kFieldNames<R>;
  if (hint < names.size() && names[hint] == key) return hint;
  return static_cast<std::size_t>(std::find(names.begin(), names.end(), key) - names.begin());
}

template <Record R>
void read_field(od::value& v, std::size_t index, R& record, const PathNode& at) {
  std::size_t i = 0;
  fields::for_each_field<R>([&](const auto& f) {
    if (i++ == index) read_member(v, record.*f.member, f, at.child(f.name));
  });
}

// A header value met again in the main pass, read for the syntax check that
// reading gives (find_header took its value): a value left unread is skipped
// without one.
void consume_header_value(od::value& v, std::string_view key, const PathNode& at) {
  if (key == "version") {
    (void)read_integer<std::int32_t>(v, at.child(key));
  } else {
    (void)read_text(v, at.child(key), "un texto");
  }
}

// Reads every member of `object` into the field of that name; at the top,
// the header keys are left to read_header (but still may not repeat).
template <Record R>
void read_fields(od::object object, R& record, const PathNode& at, bool top) {
  // Bits of `seen`: the fields in table order, then the header keys.
  constexpr std::size_t kCount = kFieldNames<R>.size();
  static_assert(kCount + kHeaderKeys.size() <= 64);
  std::uint64_t seen = 0;
  std::size_t next = 0;
  for (auto member : object) {
    auto field = must<od::field>(std::move(member));
    const auto key = must<std::string_view>(field.unescaped_key());
    std::size_t index = field_index<R>(key, next);
    if (index == kCount) {
      const auto header = top ? std::find(kHeaderKeys.begin(), kHeaderKeys.end(), key) : kHeaderKeys.end();
      if (header == kHeaderKeys.end())
        fail(core::kInvalidCall, at.child(key), "campo desconocido en " + std::string(fields::Layout<R>::kName));
      index += static_cast<std::size_t>(header - kHeaderKeys.begin());
    }
    if (seen & (std::uint64_t{1} << index)) fail(core::kInvalidCall, at.child(key), "campo repetido");
    seen |= std::uint64_t{1} << index;
    if (index < kCount) {
      read_field(field.value(), index, record, at);
    } else {
      consume_header_value(field.value(), key, at);
    }
    next = index + 1;
  }
  check_record(record, at);
}

template <Record R>
void read_record(od::value& v, R& record, const PathNode& at) {
  if (must<od::json_type>(v.type()) != od::json_type::object)
    wrong_type(v, at, "un objeto " + std::string(fields::Layout<R>::kName));
  read_fields(must<od::object>(v.get_object()), record, at, false);
}

struct Header {
  std::optional<std::string> format;
  std::optional<std::int32_t> version;
  std::optional<std::string> kind;
};

// The header keys, wherever they are among the top object's members (files
// written here start with them, so this usually stops after three).
Header find_header(od::object top, const PathNode& root) {
  Header header;
  for (auto member : top) {
    auto field = must<od::field>(std::move(member));
    const auto key = must<std::string_view>(field.unescaped_key());
    const PathNode at = root.child(key);
    if (key == "format" && !header.format) header.format = read_text(field.value(), at, "un texto");
    if (key == "version" && !header.version) header.version = read_integer<std::int32_t>(field.value(), at);
    if (key == "kind" && !header.kind) header.kind = read_text(field.value(), at, "un texto");
    if (header.format && header.version && header.kind) break;
  }
  return header;
}

// The kind the header announces, after checking format and version.
std::string check_header(const Header& header, const PathNode& root) {
  if (!header.format) fail(core::kInvalidCall, root.child("format"), "falta en el documento");
  if (*header.format != kFormatName)
    fail(core::kInvalidCall, root.child("format"), "se esperaba \"" + std::string(kFormatName) + "\"");
  if (!header.version) fail(core::kInvalidCall, root.child("version"), "falta en el documento");
  if (*header.version != kFormatVersion) {
    fail(core::kInvalidCall, root.child("version"),
         "versión " + std::to_string(*header.version) + " no admitida; se lee la versión " +
             std::to_string(kFormatVersion));
  }
  if (!header.kind) fail(core::kInvalidCall, root.child("kind"), "falta en el documento");
  return *header.kind;
}

template <Record R>
R read_top(od::document& document, const PathNode& root) {
  R record;
  read_fields(must<od::object>(document.get_object()), record, root, true);
  // Anything after the top object is not JSON.
  if (!document.current_location().error()) throw Unreadable{simdjson::TRAILING_CONTENT};
  return record;
}

std::variant<t_Datos, t_Dibujo> read_parsed(od::document& document) {
  const PathNode root;
  if (must<od::json_type>(document.type()) != od::json_type::object) wrong_type(document, root, "un objeto");
  const std::string kind = check_header(find_header(must<od::object>(document.get_object()), root), root);
  document.rewind();
  if (kind == fields::Layout<t_Datos>::kName) return read_top<t_Datos>(document, root);
  if (kind == fields::Layout<t_Dibujo>::kName) return read_top<t_Dibujo>(document, root);
  fail(core::kInvalidCall, root.child("kind"), "se esperaba \"t_Datos\" o \"t_Dibujo\" y hay \"" + kind + "\"");
}

// The error for a text simdjson refused: the syntax checker's, which knows
// where; else (it found the text well-formed) a malformed text at the place
// simdjson stopped, or simdjson's own reason when it could not start.
core::Error refused(std::string_view text, std::size_t start, const Unreadable& why, od::document* document) {
  if (const auto problem = find_syntax_problem(text.substr(start), kMaxDepth)) {
    return syntax_error(text, {problem->kind, start + problem->offset}, kMaxDepth);
  }
  if (document == nullptr) {
    return core::Error(why.code == simdjson::MEMALLOC ? core::kOutOfMemory : core::kInvalidCall, core::kRuntimeSource,
                       std::string("JSON no legible: ") + simdjson::error_message(why.code));
  }
  const char* where = nullptr;
  const std::size_t offset =
      document->current_location().get(where) ? text.size() : static_cast<std::size_t>(where - text.data());
  return syntax_error(text, {SyntaxProblem::Kind::kMalformed, offset}, kMaxDepth);
}

}  // namespace

PaddedText::PaddedText(std::size_t size)
    : bytes_(std::make_unique_for_overwrite<char[]>(size + kPadding)), size_(size) {
  std::memset(bytes_.get() + size, 0, kPadding);
}

PaddedText::PaddedText(std::string_view text) : PaddedText(text.size()) {
  std::memcpy(bytes_.get(), text.data(), text.size());
}

void check_document_size(std::size_t size) {
  if (size <= kMaxDocumentBytes) return;
  throw core::Error(
      core::kInvalidCall, core::kRuntimeSource,
      "JSON demasiado grande: " + std::to_string(size) + " bytes, más de " + std::to_string(kMaxDocumentBytes));
}

std::variant<t_Datos, t_Dibujo> read_document(const PaddedText& padded) {
  const std::string_view text = padded.view();
  check_document_size(text.size());
  // A byte order mark is allowed and skipped; lines and columns stay the file's.
  const std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  const std::string_view body = text.substr(start);
  od::parser parser(kMaxDocumentBytes);
  od::document document;
  bool started = false;
  try {
    if (const auto error = parser.iterate(body.data(), body.size(), body.size() + PaddedText::kPadding).get(document))
      throw Unreadable{error};
    started = true;
    return read_parsed(document);
  } catch (const Unreadable& why) {
    throw refused(text, start, why, started ? &document : nullptr);
  } catch (const core::Error&) {
    if (const auto problem = find_syntax_problem(body, kMaxDepth))
      throw syntax_error(text, {problem->kind, start + problem->offset}, kMaxDepth);
    throw;
  } catch (const std::bad_alloc&) {
    // A few bytes of text may ask for much memory ("{}" for a whole drawing).
    throw core::Error(core::kOutOfMemory, core::kRuntimeSource, "Memoria insuficiente para leer el documento");
  }
}

}  // namespace kestrel::model::json_detail
