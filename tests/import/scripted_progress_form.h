// A stand-in for the host's progress form: LabXYZ(0..3) labels with a
// Caption, ProgressBar1 with Max, Value and Visible, Show and SetFocus.
// Every write and call is recorded in order ("LabXYZ(1)=3 / 10",
// "Max=10", "Show" ...) so tests can check the protocol itself.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/dispatch.h"

namespace kestrel::import_test {

using core::Variant;

using FormLog = std::vector<std::string>;

class FormLabel final : public core::Dispatchable<FormLabel> {
 public:
  FormLabel(FormLog& log, int index) : log_(log), index_(index) {}
  std::string caption;

  [[nodiscard]] std::string_view type_name() const override { return "Label"; }
  static const core::MemberTable<FormLabel>& member_table() {
    static const core::MemberTable<FormLabel> table{
        {"Caption", [](FormLabel& l) { return Variant(l.caption); },
         [](FormLabel& l, const Variant& v) {
           l.caption = v.to_string();
           l.log_.push_back("LabXYZ(" + std::to_string(l.index_) + ")=" + l.caption);
         }},
    };
    return table;
  }

 private:
  FormLog& log_;
  int index_;
};

class FormBar final : public core::Dispatchable<FormBar> {
 public:
  explicit FormBar(FormLog& log) : log_(log) {}
  std::int32_t max = 100;
  std::int32_t value = 0;
  bool visible = false;

  [[nodiscard]] std::string_view type_name() const override { return "ProgressBar"; }
  static const core::MemberTable<FormBar>& member_table() {
    static const core::MemberTable<FormBar> table{
        {"Max", [](FormBar& b) { return Variant(b.max); }, [](FormBar& b, const Variant& v) { b.record("Max", b.max = v.to_int32()); }},
        {"Value", [](FormBar& b) { return Variant(b.value); },
         [](FormBar& b, const Variant& v) {
           b.value = v.to_int32();
           if (b.value > b.max) core::raise(380);  // a real bar refuses a value past Max
           b.record("Value", b.value);
         }},
        {"Visible", [](FormBar& b) { return Variant(b.visible); },
         [](FormBar& b, const Variant& v) {
           b.visible = v.to_bool();
           b.log_.push_back(std::string("Visible=") + (b.visible ? "True" : "False"));
         }},
    };
    return table;
  }

 private:
  void record(const char* name, std::int32_t v) { log_.push_back(std::string(name) + "=" + std::to_string(v)); }
  FormLog& log_;
};

class ScriptedProgressForm final : public core::Dispatchable<ScriptedProgressForm> {
 public:
  ScriptedProgressForm() {
    for (int i = 0; i < 4; ++i) labels[static_cast<std::size_t>(i)] = std::make_shared<FormLabel>(log, i);
  }
  FormLog log;
  std::array<std::shared_ptr<FormLabel>, 4> labels;
  std::shared_ptr<FormBar> bar = std::make_shared<FormBar>(log);

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
           return Variant(f.labels[static_cast<std::size_t>(i)]);
         }},
        {"ProgressBar1", [](ScriptedProgressForm& f) { return Variant(f.bar); }},
        {"Show", nullptr, nullptr, [](ScriptedProgressForm& f, std::span<Variant>) { return f.note("Show"); }},
        {"SetFocus", nullptr, nullptr, [](ScriptedProgressForm& f, std::span<Variant>) { return f.note("SetFocus"); }},
    };
    return table;
  }

 private:
  Variant note(const char* what) {
    log.emplace_back(what);
    return {};
  }
};

}  // namespace kestrel::import_test
