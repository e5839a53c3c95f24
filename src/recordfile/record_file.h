// Record files: `t_Datos` and `t_Dibujo` records as JSON text (format
// "kestrel-records", version 1; described in docs/record-format.md).
//
// Writing is canonical and deterministic: fields in layout order, numbers
// as the shortest text that reads back to the same double, so writing a
// record that was read gives the same bytes again.
//
// Reading takes time linear in the text, checks everything and never keeps
// a partial record. Errors (core::Error, the description names the field and
// position, e.g. "Dibujos[2].X: 4 elementos (1..4), NuPun dice 5"):
//   5  malformed or truncated JSON (with line and column; reported as such
//      even when a record error comes earlier in the text), JSON nested deeper
//      than 32 levels or longer than 2 GiB, a repeated or unknown field, a
//      missing or unsupported header;
//   13 a value of the wrong type (also a number that does not fit its field,
//      a number beyond the double range, "NaN" or "Infinity" for a double,
//      opaque bytes of the wrong length);
//   9  a count that disagrees with its array, a negative count, a point whose
//      layer index is outside 1..nuCapas (see model/record_checks.h);
//   7  not enough memory for what the document holds;
//   53 (files) the file does not exist or cannot be read;
//   75 (files) the file cannot be written (see platform/safe_output.h).
// Writing raises error 5 naming the field for a text that is not UTF-8 and
// for a NaN or infinite double (a file never holds a number that is not
// one), and error 5 for a text beyond 2 GiB (which could not be read back).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "core/byte_sink.h"
#include "model/records.h"

namespace kestrel::model {

// What a record file holds.
using RecordFile = std::variant<t_Datos, t_Dibujo>;

[[nodiscard]] std::string to_json(const t_Datos& set);
[[nodiscard]] std::string to_json(const t_Dibujo& drawing);
[[nodiscard]] std::string to_json(const RecordFile& file);
// Streams the same text to `out` in chunks (for large drawings).
void write_json(core::ByteSink& out, const t_Datos& set);
void write_json(core::ByteSink& out, const t_Dibujo& drawing);
void write_json(core::ByteSink& out, const RecordFile& file);

[[nodiscard]] RecordFile from_json(std::string_view text);

// The drawing set a file stands for: a `t_Dibujo` becomes a set holding just
// that drawing (NuDibujos 1, DibujoAct 1, Dibujos 1..1).
[[nodiscard]] t_Datos as_drawing_set(RecordFile file);

[[nodiscard]] RecordFile read_record_file(const std::filesystem::path& path);
// Writes through platform::SafeFileOutput: a failed write (core::Error 75,
// or the writer's own errors) leaves an existing file as it was and no
// temporary file behind.
void write_record_file(const std::filesystem::path& path, const t_Datos& set);
void write_record_file(const std::filesystem::path& path, const t_Dibujo& drawing);
void write_record_file(const std::filesystem::path& path, const RecordFile& file);

}  // namespace kestrel::model
