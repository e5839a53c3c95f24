// Text in DXF files. Drawings hold UTF-8; a file holds bytes of its code
// page ($DWGCODEPAGE) before R2007 (AC1021) and UTF-8 from R2007 on. In
// both, a character may be written as \U+XXXX, and a control character as
// a caret pair (^J for a line feed, "^ " for the caret itself).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kestrel::dxf {

enum class FileEncoding {
  kWindows1252,
  kUtf8,
};

// The encoding of a file with the given $ACADVER and $DWGCODEPAGE values
// (either may be empty when the header lacks it). `known` is set false for a
// code page that is read as Windows-1252 for want of its table.
[[nodiscard]] FileEncoding file_encoding(std::string_view acad_version, std::string_view code_page, bool& known);

// Writing: UTF-8 text as Windows-1252 bytes; characters outside that code
// page as \U+XXXX (two escapes, a surrogate pair, above U+FFFF); control
// characters and '^' as caret pairs. A stray byte of the text (see
// core/utf8.h) is written as itself.
void encode_text(std::string_view utf8, std::string& out);

class TextDecoder {
 public:
  explicit TextDecoder(FileEncoding encoding) noexcept : encoding_(encoding) {}
  // A Windows-1252 decoder for a file whose text may in fact be UTF-8: at
  // the first value that is not ASCII it asks `file_is_utf8`, and when the
  // whole file is well-formed UTF-8 it decodes as UTF-8 from then on (see
  // switched_to_utf8). Files that are all ASCII are never scanned.
  TextDecoder(FileEncoding encoding, std::function<bool()> file_is_utf8)
      : encoding_(encoding),
        file_is_utf8_(encoding == FileEncoding::kWindows1252 ? std::move(file_is_utf8) : nullptr) {}

  // The UTF-8 text of a file value. In a UTF-8 file, a value that is not
  // well-formed UTF-8 is read as Windows-1252 and counted in fallbacks().
  // `mtext` keeps MTEXT's escaped backslash ("\\") from starting an escape.
  [[nodiscard]] std::string decode(std::string_view bytes, bool mtext = false);

  [[nodiscard]] std::size_t fallbacks() const noexcept { return fallbacks_; }
  [[nodiscard]] FileEncoding encoding() const noexcept { return encoding_; }
  [[nodiscard]] bool switched_to_utf8() const noexcept { return switched_; }

 private:
  void settle();

  FileEncoding encoding_;
  std::function<bool()> file_is_utf8_;  // still to be asked; empty once settled
  std::size_t fallbacks_ = 0;
  bool switched_ = false;
};

}  // namespace kestrel::dxf
