// The platform's automation layer: attach to the running instance of a class
// name, or create a new instance. Which class names are installed (and what
// object a creation yields) is registered by the composition root, so any
// CAD implementation plugs in under any class name.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/object.h"

namespace kestrel::platform {

class AutomationHost {
 public:
  virtual ~AutomationHost() = default;
  // The running instance of `class_name`; error 429 when there is none.
  [[nodiscard]] virtual core::ObjectRef get_object(std::string_view class_name) = 0;
  // A new instance of `class_name`; error 429 when the class is not installed
  // (or its factory yields no object).
  [[nodiscard]] virtual core::ObjectRef create_object(std::string_view class_name) = 0;
};

// Automation inside this process: a table of installed classes and of running
// instances. Class names are compared case-insensitively.
class InProcessAutomationHost final : public AutomationHost {
 public:
  using Factory = std::function<core::ObjectRef()>;

  // Installs a creatable class. With `register_running`, a created instance
  // also becomes the class's running instance (as applications do).
  void install(std::string class_name, Factory factory, bool register_running = true);
  void uninstall(std::string_view class_name);
  // Makes `instance` the running instance of `class_name` (nullptr: none runs).
  void set_running(std::string class_name, core::ObjectRef instance);

  core::ObjectRef get_object(std::string_view class_name) override;
  core::ObjectRef create_object(std::string_view class_name) override;

  // Calls made so far, for tests: "get:NAME" / "create:NAME".
  [[nodiscard]] const std::vector<std::string>& calls() const noexcept { return calls_; }

 private:
  struct Installed {
    Factory factory;
    bool register_running;
  };
  // Both keyed by the folded class name.
  std::map<std::string, Installed, std::less<>> installed_;
  std::map<std::string, core::ObjectRef, std::less<>> running_;
  std::vector<std::string> calls_;
};

}  // namespace kestrel::platform
