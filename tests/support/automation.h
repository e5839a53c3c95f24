// Building an automation host for a test: which classes are installed and
// which of them already run.
#pragma once

#include <initializer_list>
#include <string>

#include "platform/automation_host.h"

namespace kestrel::test_support {

struct InstalledClass {
  std::string name;
  platform::InProcessAutomationHost::Factory factory;
  // An instance is created now and runs before the test starts.
  bool running = false;
  // Created instances become the running instance.
  bool register_running = true;
};

// A host with `classes` installed. The running instances made here are not
// in the host's calls() log.
[[nodiscard]] platform::InProcessAutomationHost make_automation_host(std::initializer_list<InstalledClass> classes);

}  // namespace kestrel::test_support
