// TextMeasure through GDI, on a device context compatible with the screen
// (the drawing object's device context when the host gives one): a label of
// size s is measured in the face `face` at a cell height of CInt(s × 160)
// logical units, the text taken through Windows-1252 (a character the code
// page lacks measures as "?"), and the extent GetTextExtentPoint32W gives
// (no kerning) times 0.01 is the width.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/text_measure.h"

namespace kestrel::platform {

class GdiTextMeasure final : public TextMeasure {
 public:
  // Measures on `device` (not owned) or, when it is null, on a memory
  // context compatible with the screen. Error 7 when no context can be had.
  explicit GdiTextMeasure(HDC device = nullptr);
  ~GdiTextMeasure() override;
  GdiTextMeasure(const GdiTextMeasure&) = delete;
  GdiTextMeasure& operator=(const GdiTextMeasure&) = delete;

  [[nodiscard]] double width(std::string_view text, double size, std::string_view face) override;

 private:
  void select_font(std::string_view face, LONG height);

  HDC device_;
  bool own_device_;
  HGDIOBJ original_font_ = nullptr;
  // The font selected last: labels come in runs of one style.
  HFONT font_ = nullptr;
  std::string font_face_;
  LONG font_height_ = 0;
};

}  // namespace kestrel::platform
