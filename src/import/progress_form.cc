#include "import/progress_form.h"

namespace kestrel::importing {

std::string short_document_name(std::string_view name) {
  // Counted in characters, not bytes: names may carry accents.
  std::size_t chars = 0;
  std::size_t cut = name.size();
  for (std::size_t b = 0; b < name.size(); ++b) {
    if ((static_cast<unsigned char>(name[b]) & 0xC0) == 0x80) continue;
    if (chars == 5) cut = b;
    ++chars;
  }
  if (chars <= 8) return std::string(name);
  return std::string(name.substr(0, cut)) + "...Dwg";
}

void HostProgress::label(std::int32_t index, std::string_view text) const {
  core::Obj(form_.call("LabXYZ", index).to_object()).put("Caption", core::Variant(text));
}

void HostProgress::begin(std::int32_t count, std::string_view title, std::string_view document) {
  max_ = progress_max(count);
  step_ = progress_step(max_);
  i_ = 0;
  j_ = 0;
  label(0, title);
  label(3, short_document_name(document));
  const core::Obj bar = form_.object("ProgressBar1");
  bar.put("Max", max_);
  bar.put("Visible", true);
}

void HostProgress::advance() {
  ++i_;
  if (++j_ > max_) j_ = 1;
  if (j_ % step_ != 0) return;
  label(2, "");
  label(1, std::to_string(i_) + " / " + std::to_string(max_));
  form_.object("ProgressBar1").put("Value", j_);
  module_.services.pump.do_events();
}

void HostProgress::hide() const { form_.object("ProgressBar1").put("Visible", false); }

void HostProgress::show_and_focus() const {
  form_.call("Show");
  form_.call("SetFocus");
  module_.services.pump.do_events();
}

}  // namespace kestrel::importing
