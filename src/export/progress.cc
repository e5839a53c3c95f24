#include "export/progress.h"

#include <string>

namespace kestrel::exporting {

namespace {

constexpr std::int32_t kUpdatesPerRun = 500;

}  // namespace

ItemProgress::ItemProgress(ExportContext& ctx, std::int32_t count, std::string_view caption)
    : ctx_(ctx), step_(count / kUpdatesPerRun) {
  if (step_ == 0) step_ = 1;
  Control& bar = ctx_.dialog.proBarra;
  bar.visible = true;
  bar.min = 0;
  bar.max = static_cast<float>(static_cast<double>(count) / step_);
  ctx_.dialog.labMandando.caption = std::string(caption);
  ctx_.dialog.refresh();
}

bool ItemProgress::due(std::int32_t i) const noexcept {
  return i % step_ == 0 && ctx_.dialog.proBarra.max >= static_cast<float>(i / step_);
}

bool ItemProgress::update(std::int32_t i) {
  ctx_.dialog.proBarra.value = i / step_;
  ctx_.module.services.pump.do_events();
  return ctx_.module.model.Cancelar == core::kTrue;
}

void finish_progress(ExportContext& ctx) {
  ctx.module.services.pointer.set(platform::kPointerDefault);
  ctx.dialog.proBarra.visible = false;
}

}  // namespace kestrel::exporting
