#include "platform/automation_host.h"

#include <gtest/gtest.h>

#include "core/dispatch.h"
#include "support/automation.h"

namespace kestrel::platform {
namespace {

class Application final : public core::Object {
 public:
  std::string_view type_name() const override { return "Application"; }
  core::Variant get(std::string_view member) override { core::raise_unknown_member(type_name(), member); }
  void put(std::string_view member, const core::Variant&) override { core::raise_unknown_member(type_name(), member); }
  core::Variant call(std::string_view member, std::span<core::Variant>) override {
    core::raise_unknown_member(type_name(), member);
  }
};

InProcessAutomationHost::Factory counting_factory(int& made) {
  return [&made] {
    ++made;
    return std::make_shared<Application>();
  };
}

void expect_429(const std::function<void()>& action) {
  try {
    action();
    ADD_FAILURE() << "no error";
  } catch (const core::Error& e) {
    EXPECT_EQ(e.number(), core::kCannotCreateObject);
  }
}

TEST(AutomationHost, NothingInstalledOrRunningRaises429) {
  InProcessAutomationHost host;
  expect_429([&] { (void)host.get_object("ZWCAD.Application.2021"); });
  expect_429([&] { (void)host.create_object("ZWCAD.Application.2021"); });
  EXPECT_EQ(host.calls(), (std::vector<std::string>{"get:ZWCAD.Application.2021", "create:ZWCAD.Application.2021"}));
}

TEST(AutomationHost, CreatedInstanceBecomesTheRunningOneUnderAnyCase) {
  int made = 0;
  InProcessAutomationHost host;
  host.install("ZWCAD.Application.2021", counting_factory(made));
  expect_429([&] { (void)host.get_object("zwcad.application.2021"); });
  const core::ObjectRef created = host.create_object("zwcad.APPLICATION.2021");
  EXPECT_EQ(host.get_object("ZWCAD.Application.2021"), created);
  EXPECT_NE(host.create_object("ZWCAD.Application.2021"), created);  // a second start is a new instance
  EXPECT_EQ(made, 2);
  EXPECT_EQ(host.calls().back(), "create:ZWCAD.Application.2021");
}

TEST(AutomationHost, ClassWithoutRunningRegistrationCannotBeAttached) {
  int made = 0;
  InProcessAutomationHost host;
  host.install("AutoCAD.Application.24", counting_factory(made), /*register_running=*/false);
  EXPECT_NE(host.create_object("AutoCAD.Application.24"), nullptr);
  expect_429([&] { (void)host.get_object("AutoCAD.Application.24"); });
}

TEST(AutomationHost, RunningInstanceOutlivesUninstallUntilItStops) {
  int made = 0;
  InProcessAutomationHost host;
  host.install("ZWCAD.Application", counting_factory(made));
  const core::ObjectRef running = host.create_object("ZWCAD.Application");
  host.uninstall("zwcad.application");
  expect_429([&] { (void)host.create_object("ZWCAD.Application"); });
  EXPECT_EQ(host.get_object("ZWCAD.Application"), running);
  host.set_running("ZWCAD.APPLICATION", nullptr);
  expect_429([&] { (void)host.get_object("ZWCAD.Application"); });
}

TEST(AutomationHost, FactoryWithoutObjectRaises429AndRegistersNothing) {
  InProcessAutomationHost host;
  host.install("Broken.Application", [] { return core::ObjectRef{}; });
  expect_429([&] { (void)host.create_object("Broken.Application"); });
  expect_429([&] { (void)host.get_object("Broken.Application"); });
}

TEST(AutomationHost, FactoryMayUninstallItsOwnClass) {
  InProcessAutomationHost host;
  host.install("Once.Application", [&host] {
    host.uninstall("Once.Application");
    return std::make_shared<Application>();
  });
  EXPECT_NE(host.create_object("Once.Application"), nullptr);
  expect_429([&] { (void)host.create_object("Once.Application"); });
}

TEST(AutomationHostHelper, RunningClassesStartBeforeTheTestWithoutLoggedCalls) {
  int made = 0;
  InProcessAutomationHost host = test_support::make_automation_host({
      {.name = "ZWCAD.Application.2021", .factory = counting_factory(made), .running = true},
      {.name = "AutoCAD.Application.24", .factory = counting_factory(made)},
  });
  EXPECT_EQ(made, 1);
  EXPECT_TRUE(host.calls().empty());
  EXPECT_NE(host.get_object("ZWCAD.Application.2021"), nullptr);
  expect_429([&] { (void)host.get_object("AutoCAD.Application.24"); });
}

}  // namespace
}  // namespace kestrel::platform
