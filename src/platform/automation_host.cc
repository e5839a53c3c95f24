#include "platform/automation_host.h"

#include "core/error.h"
#include "platform/name_fold.h"

namespace kestrel::platform {
namespace {

[[noreturn]] void raise_cannot_create(std::string_view class_name) {
  throw core::Error(core::kCannotCreateObject, core::kRuntimeSource,
                    core::standard_description(core::kCannotCreateObject) + " (" + std::string(class_name) + ")");
}

}  // namespace

void InProcessAutomationHost::install(std::string class_name, Factory factory, bool register_running) {
  installed_.insert_or_assign(fold_name(class_name), Installed{std::move(factory), register_running});
}

void InProcessAutomationHost::uninstall(std::string_view class_name) {
  const auto found = installed_.find(fold_name(class_name));
  if (found != installed_.end()) installed_.erase(found);
}

void InProcessAutomationHost::set_running(std::string class_name, core::ObjectRef instance) {
  if (instance) {
    running_.insert_or_assign(fold_name(class_name), std::move(instance));
  } else if (const auto found = running_.find(fold_name(class_name)); found != running_.end()) {
    running_.erase(found);
  }
}

core::ObjectRef InProcessAutomationHost::get_object(std::string_view class_name) {
  calls_.push_back("get:" + std::string(class_name));
  const auto found = running_.find(fold_name(class_name));
  if (found == running_.end()) raise_cannot_create(class_name);
  return found->second;
}

core::ObjectRef InProcessAutomationHost::create_object(std::string_view class_name) {
  calls_.push_back("create:" + std::string(class_name));
  std::string folded = fold_name(class_name);
  const auto found = installed_.find(folded);
  if (found == installed_.end() || !found->second.factory) raise_cannot_create(class_name);
  const bool register_running = found->second.register_running;
  // A copy: the factory may install or uninstall classes, its own included.
  const Factory factory = found->second.factory;
  core::ObjectRef instance = factory();
  if (!instance) raise_cannot_create(class_name);
  if (register_running) running_.insert_or_assign(std::move(folded), instance);
  return instance;
}

}  // namespace kestrel::platform
