// Measuring single-line texts as the host's screen would draw them. The
// engine sees only this interface; the font machinery behind it stays in
// platform/ (font_text_measure.h).
#pragma once

#include <string_view>

namespace kestrel::platform {

class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // The width of `text` (UTF-8) drawn in the face called `face` at the
  // label size `size`, in drawing units. Raises core::Error when no face at
  // all can be had.
  [[nodiscard]] virtual double width(std::string_view text, double size, std::string_view face) = 0;
};

}  // namespace kestrel::platform
