#include "tools/kestrel/progress_pump.h"

#include <algorithm>

namespace kestrel::cli {

void ProgressPump::do_events() {
  if (draw_) draw();
  terminal_.do_events();
}

void ProgressPump::draw() {
  if (!bar_ || !bar_->visible || bar_->max <= bar_->min) return;
  constexpr int kWidth = 30;
  const double fraction =
      std::clamp(static_cast<double>(bar_->value - bar_->min) / (bar_->max - bar_->min), 0.0, 1.0);
  const int filled = static_cast<int>(fraction * kWidth);
  std::string line = "\r[" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(kWidth - filled), ' ') + "] ";
  line += std::to_string(static_cast<int>(fraction * 100)) + "% ";
  if (status_) line += status_->caption;
  line += "\x1b[K";  // clear the rest of a longer previous line
  std::fputs(line.c_str(), stderr);
  drawn_ = true;
}

void ProgressPump::finish() {
  if (!drawn_) return;
  std::fputs("\r\x1b[K", stderr);
  drawn_ = false;
}

}  // namespace kestrel::cli
