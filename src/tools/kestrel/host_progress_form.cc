#include "tools/kestrel/host_progress_form.h"

#include "core/error.h"
#include "core/object.h"

namespace kestrel::cli {

using core::Variant;

constexpr std::int32_t kInvalidPropertyValue = 380;

class HostProgressForm::Label final : public core::Dispatchable<Label> {
 public:
  explicit Label(HostProgressForm& form) : form_(form) {}
  std::string caption;

  [[nodiscard]] std::string_view type_name() const override { return "Label"; }
  static const core::MemberTable<Label>& member_table() {
    static const core::MemberTable<Label> table{
        {"Caption", [](Label& l) { return Variant(l.caption); },
         [](Label& l, const Variant& v) {
           l.caption = v.to_string();
           l.form_.compose_status();
         }},
    };
    return table;
  }

 private:
  HostProgressForm& form_;
};

class HostProgressForm::Bar final : public core::Dispatchable<Bar> {
 public:
  explicit Bar(exporting::Control& control) : control_(control) {}

  [[nodiscard]] std::string_view type_name() const override { return "ProgressBar"; }
  static const core::MemberTable<Bar>& member_table() {
    static const core::MemberTable<Bar> table{
        {"Max", [](Bar& b) { return Variant(static_cast<double>(b.control_.max)); },
         [](Bar& b, const Variant& v) { b.control_.max = static_cast<float>(v.to_double()); }},
        {"Value", [](Bar& b) { return Variant(b.control_.value); },
         [](Bar& b, const Variant& v) {
           const std::int32_t value = v.to_int32();
           // A bar refuses a value outside its range, as the host's does.
           if (value < b.control_.min || value > b.control_.max) core::raise(kInvalidPropertyValue);
           b.control_.value = value;
         }},
        {"Visible", [](Bar& b) { return Variant(b.control_.visible); },
         [](Bar& b, const Variant& v) { b.control_.visible = v.to_bool(); }},
    };
    return table;
  }

 private:
  exporting::Control& control_;
};

std::shared_ptr<HostProgressForm> HostProgressForm::create() { return std::make_shared<HostProgressForm>(); }

HostProgressForm::HostProgressForm() {
  bar_.kind = exporting::ControlKind::kProgressBar;
  bar_.visible = false;
  status_.kind = exporting::ControlKind::kLabel;
  for (auto& label : labels_) label = std::make_shared<Label>(*this);
  bar_object_ = std::make_shared<Bar>(bar_);
}

const std::string& HostProgressForm::caption(int label) const {
  return labels_.at(static_cast<std::size_t>(label))->caption;
}

void HostProgressForm::compose_status() {
  std::string line = caption(0);
  if (!caption(3).empty()) line += (line.empty() ? "" : " ") + caption(3);
  if (!caption(1).empty()) line += (line.empty() ? "" : ": ") + caption(1);
  if (!caption(2).empty()) line += (line.empty() ? "" : " ") + caption(2);
  status_.caption = std::move(line);
}

const core::MemberTable<HostProgressForm>& HostProgressForm::member_table() {
  static const core::MemberTable<HostProgressForm> table{
      {"LabXYZ", nullptr, nullptr,
       [](HostProgressForm& f, std::span<Variant> args) {
         const std::int32_t i = core::convert_argument(args, 1, [](const Variant& v) { return v.to_int32(); });
         if (i < 0 || i > 3) core::raise(core::kSubscriptOutOfRange);
         return Variant(f.labels_[static_cast<std::size_t>(i)]);
       }},
      {"ProgressBar1", [](HostProgressForm& f) { return Variant(f.bar_object_); }},
      {"SetFocus", nullptr, nullptr,
       [](HostProgressForm& f, std::span<Variant>) {
         f.shown_ = true;
         return Variant();
       }},
      {"Show", nullptr, nullptr,
       [](HostProgressForm& f, std::span<Variant>) {
         f.shown_ = true;
         return Variant();
       }},
  };
  return table;
}

}  // namespace kestrel::cli
