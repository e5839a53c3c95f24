#include "support/automation.h"

namespace kestrel::test_support {

platform::InProcessAutomationHost make_automation_host(std::initializer_list<InstalledClass> classes) {
  platform::InProcessAutomationHost host;
  for (const InstalledClass& installed : classes) {
    host.install(installed.name, installed.factory, installed.register_running);
    if (installed.running) host.set_running(installed.name, installed.factory());
  }
  return host;
}

}  // namespace kestrel::test_support
