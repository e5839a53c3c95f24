// AutomationHost over COM: a class name is a programmatic identifier; the
// running instance comes from the running object table (GetActiveObject),
// a new one from CoCreateInstance (in-process or local server). Objects
// reached from here share one cache of member identifiers per type.
// The calling thread must have joined an apartment (the host's has).
#pragma once

#include <memory>

#include "cad/dispatch/dispatch_object.h"
#include "platform/automation_host.h"

namespace kestrel::win32 {

class DispatchAutomationHost final : public platform::AutomationHost {
 public:
  DispatchAutomationHost();

  // Error 429 when the class is not registered, none runs, or it has no IDispatch.
  core::ObjectRef get_object(std::string_view class_name) override;
  // Error 429 when the class is not registered or cannot be created.
  core::ObjectRef create_object(std::string_view class_name) override;

 private:
  std::shared_ptr<DispidCache> cache_;
};

}  // namespace kestrel::win32
