// A text measure for scenario tests whose placements are checked by hand:
// every character is 0.5 × size wide, whatever the face.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/utf8.h"
#include "platform/text_measure.h"

namespace kestrel::test_support {

class FixedTextMeasure final : public platform::TextMeasure {
 public:
  [[nodiscard]] double width(std::string_view text, double size, std::string_view face) override {
    faces.emplace_back(face);
    return 0.5 * size * static_cast<double>(core::count_chars(text, 0, text.size()));
  }
  std::vector<std::string> faces;  // the faces asked for, in order
};

}  // namespace kestrel::test_support
