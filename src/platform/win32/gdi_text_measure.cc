#include "platform/win32/gdi_text_measure.h"

#include <algorithm>

#include "core/cp1252.h"
#include "core/error.h"
#include "core/numeric.h"
#include "platform/win32/wide_text.h"

namespace kestrel::platform {

GdiTextMeasure::GdiTextMeasure(HDC device)
    : device_(device ? device : CreateCompatibleDC(nullptr)), own_device_(device == nullptr) {
  if (!device_) core::raise(core::kOutOfMemory);
}

GdiTextMeasure::~GdiTextMeasure() {
  if (original_font_) SelectObject(device_, original_font_);
  if (font_) DeleteObject(font_);
  if (own_device_) DeleteDC(device_);
}

void GdiTextMeasure::select_font(std::string_view face, LONG height) {
  if (font_ && height == font_height_ && face == font_face_) return;
  // A positive height asks for the cell height, as the label sizes mean.
  HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, widen(face).c_str());
  if (!font) core::raise(core::kOutOfMemory);
  HGDIOBJ previous = SelectObject(device_, font);
  if (!original_font_) original_font_ = previous;
  if (font_) DeleteObject(font_);
  font_ = font;
  font_face_.assign(face);
  font_height_ = height;
}

double GdiTextMeasure::width(std::string_view text, double size, std::string_view face) {
  const LONG height = core::clng(size * 1.6 / 0.01);
  if (height == 0 || text.empty()) return 0;
  select_font(face, height);
  // Through the code page: what it lacks is "?" on the screen too.
  const std::wstring wide = widen(core::from_cp1252(core::to_cp1252(text)));
  SIZE extent{};
  if (!GetTextExtentPoint32W(device_, wide.c_str(), static_cast<int>(wide.size()), &extent)) {
    core::raise(core::kInternalError);
  }
  return extent.cx * 0.01;
}

}  // namespace kestrel::platform
