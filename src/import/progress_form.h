// The host's progress form, reached late-bound: the labels LabXYZ(0..3)
// (their Caption), the bar ProgressBar1 (Max, Value, Visible), Show and
// SetFocus. A walk refreshes it only every step-th item, so that one phase
// costs about a hundred late-bound calls into the host whatever its size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/object.h"
#include "module/module.h"

namespace kestrel::importing {

// The bar's Max for `count` items: clamped to 10..32000.
[[nodiscard]] constexpr std::int32_t progress_max(std::int32_t count) noexcept {
  return count < 10 ? 10 : (count > 32000 ? 32000 : count);
}
// The refresh step for a bar of `max`: max / 100 (integer part) + 1.
[[nodiscard]] constexpr std::int32_t progress_step(std::int32_t max) noexcept { return max / 100 + 1; }

// The document name as the form shows it: longer than 8 characters, its
// first 5 followed by "...Dwg".
[[nodiscard]] std::string short_document_name(std::string_view name);

class HostProgress {
 public:
  HostProgress(Module& module, core::Obj form) : module_(module), form_(std::move(form)) {}

  void label(std::int32_t index, std::string_view text) const;
  // Starts a phase over `count` items: the title in LabXYZ(0), the
  // document in LabXYZ(3), then the bar's Max and Visible.
  void begin(std::int32_t count, std::string_view title, std::string_view document);
  // Item i of the phase: the cyclic counter moves on (back to 1 past Max);
  // at every step-th value the labels and the bar are refreshed and pending
  // window messages run.
  void advance();
  void hide() const;
  // Show, SetFocus, then pending window messages.
  void show_and_focus() const;

  [[nodiscard]] std::int32_t max() const noexcept { return max_; }
  [[nodiscard]] std::int32_t step() const noexcept { return step_; }
  [[nodiscard]] std::int32_t counter() const noexcept { return j_; }

 private:
  Module& module_;
  core::Obj form_;
  std::int32_t max_ = 10;
  std::int32_t step_ = 1;
  std::int32_t i_ = 0;
  std::int32_t j_ = 0;
};

}  // namespace kestrel::importing
