// TextMeasure through FreeType, the face found by name with fontconfig (a
// metric-compatible face stands in for a missing one: Liberation Sans for
// Arial). A label of size s is measured in a font of cell height
// CInt(s × 160) logical units (the face's Windows ascent plus descent),
// each character's advance rounded to whole units as a screen device
// context does, no kerning, the text taken through Windows-1252 first (a
// character the code page lacks measures as "?"); the width is the sum × 0.01.
// Faces are opened once per name and their 256 advances kept: measuring
// opens no font and allocates nothing.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/text_measure.h"

namespace kestrel::platform {

// What measuring needs of one face, in the face's font units.
struct FaceMetrics {
  std::string file;                 // the font file fontconfig chose
  double units_per_em = 0;
  double cell_height = 0;           // Windows ascent + descent (hhea when OS/2 lacks them)
  std::array<double, 256> advance{};  // by Windows-1252 byte
};

class FontTextMeasure final : public TextMeasure {
 public:
  FontTextMeasure();
  ~FontTextMeasure() override;
  FontTextMeasure(const FontTextMeasure&) = delete;
  FontTextMeasure& operator=(const FontTextMeasure&) = delete;

  [[nodiscard]] double width(std::string_view text, double size, std::string_view face) override;
  // The metrics of the face fontconfig gives for `name`, read once.
  [[nodiscard]] const FaceMetrics& face(std::string_view name);

 private:
  struct Library;
  std::unique_ptr<Library> library_;
  std::unordered_map<std::string, FaceMetrics> faces_;
  // The last face asked for: labels come in runs of one style.
  std::string last_name_;
  const FaceMetrics* last_face_ = nullptr;
};

}  // namespace kestrel::platform
