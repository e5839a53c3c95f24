// The record file's document: writing and reading the records of
// model/records.h as JSON, driven by the layout tables of
// model/record_fields.h. Used by model/record_file.h.
#pragma once

#include <string_view>
#include <variant>

#include "model/json_out.h"
#include "model/records.h"

namespace kestrel::model::json_detail {

inline constexpr std::string_view kFormatName = "kestrel-records";
inline constexpr int kFormatVersion = 1;

// The whole document: header ("format", "version", "kind") and the record's
// fields, in layout order, ending with a line break.
void write_document(JsonOut& out, const t_Datos& set);
void write_document(JsonOut& out, const t_Dibujo& drawing);

// Parses and checks a document (errors: see model/record_file.h).
[[nodiscard]] std::variant<t_Datos, t_Dibujo> read_document(std::string_view text);

}  // namespace kestrel::model::json_detail
