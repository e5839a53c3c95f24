// The record file's document: writing and reading the records of
// model/records.h as JSON, driven by the layout tables of
// model/record_fields.h. Used by model/record_file.h.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <variant>

#include "recordfile/json_limits.h"
#include "recordfile/json_out.h"
#include "model/records.h"

namespace kestrel::model::json_detail {

inline constexpr std::string_view kFormatName = "kestrel-records";
inline constexpr int kFormatVersion = 1;

// The whole document: header ("format", "version", "kind") and the record's
// fields, in layout order, ending with a line break.
void write_document(JsonOut& out, const t_Datos& set);
void write_document(JsonOut& out, const t_Dibujo& drawing);

// A document's text followed by zero bytes that the parser may read past its
// end (it reads in blocks). Files are read straight into one.
class PaddedText {
 public:
  static constexpr std::size_t kPadding = 64;

  // `size` bytes to be filled through data().
  explicit PaddedText(std::size_t size);
  // A copy of `text`.
  explicit PaddedText(std::string_view text);

  [[nodiscard]] char* data() noexcept { return bytes_.get(); }
  [[nodiscard]] std::string_view view() const noexcept { return {bytes_.get(), size_}; }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_;
};

// Error 5 for a document of `size` bytes when it is beyond kMaxDocumentBytes.
void check_document_size(std::size_t size);

// Parses and checks a document (errors: see model/record_file.h).
[[nodiscard]] std::variant<t_Datos, t_Dibujo> read_document(const PaddedText& text);

}  // namespace kestrel::model::json_detail
