// A stand-in for the host's progress form: LabXYZ(0..3) labels with a
// Caption, ProgressBar1 with Max, Value and Visible, Show and SetFocus.
// Every write and call is logged in order ("LabXYZ(1)=3 / 10", "Max=10",
// "Show" ...) so tests can check the protocol itself.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/dispatch.h"

namespace kestrel::import_test {

using core::Variant;
using FormLog = std::vector<std::string>;

// A label or the bar: its properties read back as written; a write is logged
// as "<member>=<value>", a label's as "LabXYZ(i)=<caption>".
class FormControl final : public core::Object {
 public:
  using Values = std::map<std::string, Variant, std::less<>>;
  FormControl(FormLog& log, std::string type, Values values, std::string label = "")
      : log_(log), type_(std::move(type)), values_(std::move(values)), label_(std::move(label)) {}

  [[nodiscard]] std::string_view type_name() const override { return type_; }
  Variant get(std::string_view member) override { return slot(member); }
  Variant call(std::string_view member, std::span<Variant>) override { return slot(member); }
  void put(std::string_view member, const Variant& v) override {
    Variant& value = slot(member);
    if (member == "Visible") {
      value = Variant(v.to_bool());
    } else {
      value = member == "Caption" ? Variant(v.to_string()) : Variant(v.to_int32());
      if (member == "Value" && value.to_int32() > values_.at("Max").to_int32()) core::raise(380);  // past Max
    }
    const std::string shown = member == "Visible" ? (v.to_bool() ? "True" : "False") : value.to_string();
    log_.push_back((label_.empty() ? std::string(member) : label_) + "=" + shown);
  }

 private:
  Variant& slot(std::string_view member) {
    const auto it = values_.find(member);
    if (it == values_.end()) core::raise_unknown_member(type_, member);
    return it->second;
  }
  FormLog& log_;
  std::string type_;
  Values values_;
  std::string label_;
};

class ScriptedProgressForm final : public core::Dispatchable<ScriptedProgressForm> {
 public:
  FormLog log;

  // The entries of `log` that begin with `prefix`.
  [[nodiscard]] std::vector<std::string> entries(std::string_view prefix) const {
    std::vector<std::string> out;
    for (const std::string& e : log) {
      if (e.starts_with(prefix)) out.push_back(e);
    }
    return out;
  }

  [[nodiscard]] std::string_view type_name() const override { return "frmProgreso"; }
  static const core::MemberTable<ScriptedProgressForm>& member_table() {
    static const core::MemberTable<ScriptedProgressForm> table{
        {"LabXYZ", nullptr, nullptr,
         [](ScriptedProgressForm& f, std::span<Variant> args) {
           const std::int32_t i = core::convert_argument(args, 1, [](const Variant& v) { return v.to_int32(); });
           if (i < 0 || i > 3) core::raise(core::kSubscriptOutOfRange);
           return Variant(f.labels_[static_cast<std::size_t>(i)]);
         }},
        {"ProgressBar1", [](ScriptedProgressForm& f) { return Variant(f.bar_); }},
        {"Show", nullptr, nullptr, [](ScriptedProgressForm& f, std::span<Variant>) { return f.note("Show"); }},
        {"SetFocus", nullptr, nullptr, [](ScriptedProgressForm& f, std::span<Variant>) { return f.note("SetFocus"); }},
    };
    return table;
  }

 private:
  static std::shared_ptr<FormControl> label(FormLog& log, int i) {
    return std::make_shared<FormControl>(log, "Label", FormControl::Values{{"Caption", Variant(std::string())}},
                                         "LabXYZ(" + std::to_string(i) + ")");
  }
  Variant note(const char* what) {
    log.emplace_back(what);
    return {};
  }
  std::array<std::shared_ptr<FormControl>, 4> labels_{label(log, 0), label(log, 1), label(log, 2), label(log, 3)};
  std::shared_ptr<FormControl> bar_ = std::make_shared<FormControl>(
      log, "ProgressBar",
      FormControl::Values{
          {"Max", Variant(std::int32_t{100})}, {"Value", Variant(std::int32_t{0})}, {"Visible", Variant(false)}});
};

}  // namespace kestrel::import_test
