// The export dialog's progress bar as the generators drive it over a list
// of n items: the bar moves every s-th item (s = n / 500, at least 1), so it
// is updated about 500 times whatever n is, and each update lets pending
// window messages run — which is how the abort key reaches a running loop.
#pragma once

#include <cstdint>
#include <string_view>

#include "export/export_state.h"

namespace kestrel::exporting {

class ItemProgress {
 public:
  // Shows the bar (minimum 0, Max = count / s in single precision), puts
  // `caption` in the status line and repaints the dialog.
  ItemProgress(ExportContext& ctx, std::int32_t count, std::string_view caption);

  [[nodiscard]] std::int32_t step() const noexcept { return step_; }

  // True when item i is a progress point: i is a multiple of s and i / s,
  // in single precision, is within the bar's Max.
  [[nodiscard]] bool due(std::int32_t i) const noexcept;
  // Moves the bar to i / s and lets pending window messages run. True when
  // the user has asked to abort (the model's Cancelar).
  [[nodiscard]] bool update(std::int32_t i);

 private:
  ExportContext& ctx_;
  std::int32_t step_;
};

// The end of a generator's run, also after an error: the mouse pointer back
// to default and the progress bar hidden.
void finish_progress(ExportContext& ctx);

}  // namespace kestrel::exporting
