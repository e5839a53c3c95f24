// The run-time state that every object of one application shares: whether
// the application has been closed, the failures injected for tests, the
// picker that answers on-screen input, and the source named in errors.
// Documents keep it alive; it refers back to its application weakly.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::memcad {

class Application;
class Picker;

class Session {
 public:
  explicit Session(std::string error_source) : error_source_(std::move(error_source)) {}

  // Runs before every late-bound member call of an object of this
  // application: fails with 462 once the application is closed, and fails
  // the armed n-th call of a member with its injected error.
  void on_call(std::string_view member) {
    if (watching_) check_call(member);
  }

  // Closes the application: every later member call fails.
  void quit() noexcept;
  [[nodiscard]] bool closed() const noexcept { return closed_; }

  // Arms a one-shot failure: counting from now, the `call_number`-th call
  // (1-based) of `member` (any case, on any object) fails with
  // `error_number` and the description "Error inyectado", before it has any effect.
  void inject_failure(std::string member, int call_number, std::int32_t error_number);

  [[nodiscard]] const std::string& error_source() const noexcept { return error_source_; }

  [[nodiscard]] Picker* picker() const noexcept { return picker_.get(); }
  void set_picker(std::shared_ptr<Picker> picker) noexcept { picker_ = std::move(picker); }

  [[nodiscard]] Application* application() const noexcept { return application_; }
  void set_application(Application* application) noexcept { application_ = application; }

 private:
  struct Injection {
    std::string member;
    int remaining;
    std::int32_t number;
  };
  void check_call(std::string_view member);

  std::string error_source_;
  std::vector<Injection> injections_;
  std::shared_ptr<Picker> picker_;
  Application* application_ = nullptr;
  bool watching_ = false;
  bool closed_ = false;
};

}  // namespace kestrel::memcad
