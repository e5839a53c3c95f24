#include "platform/automation_host.h"

#include <gtest/gtest.h>

#include "core/dispatch.h"
#include "core/error_number.h"

namespace kestrel::platform {
namespace {

using core::testing_support::error_number;

class Application final : public core::Object {
 public:
  std::string_view type_name() const override { return "Application"; }
  core::Variant get(std::string_view member) override { core::raise_unknown_member(type_name(), member); }
  void put(std::string_view member, const core::Variant&) override { core::raise_unknown_member(type_name(), member); }
  core::Variant call(std::string_view member, std::span<core::Variant>) override {
    core::raise_unknown_member(type_name(), member);
  }
};

InProcessAutomationHost::Factory make_application() {
  return [] { return std::make_shared<Application>(); };
}

constexpr std::int32_t k429 = core::kCannotCreateObject;

// Nothing installed or running raises 429 and every call is logged; a created
// instance becomes the running one, under any case.
TEST(AutomationHost, CreatedInstanceBecomesTheRunningOneUnderAnyCase) {
  InProcessAutomationHost host;
  EXPECT_EQ(error_number([&] { (void)host.get_object("ZWCAD.Application.2021"); }), k429);
  EXPECT_EQ(error_number([&] { (void)host.create_object("ZWCAD.Application.2021"); }), k429);
  EXPECT_EQ(host.calls(), (std::vector<std::string>{"get:ZWCAD.Application.2021", "create:ZWCAD.Application.2021"}));
  host.install("ZWCAD.Application.2021", make_application());
  EXPECT_EQ(error_number([&] { (void)host.get_object("zwcad.application.2021"); }), k429);
  const core::ObjectRef created = host.create_object("zwcad.APPLICATION.2021");
  EXPECT_EQ(host.get_object("ZWCAD.Application.2021"), created);
  EXPECT_NE(host.create_object("ZWCAD.Application.2021"), created);  // a second start is a new instance

  host.install("AutoCAD.Application.24", make_application(), /*register_running=*/false);
  EXPECT_NE(host.create_object("AutoCAD.Application.24"), nullptr);
  EXPECT_EQ(error_number([&] { (void)host.get_object("AutoCAD.Application.24"); }), k429);
}

TEST(AutomationHost, RunningInstanceOutlivesUninstallUntilItStopsAndFactoriesMayFailOrUninstall) {
  InProcessAutomationHost host;
  host.install("ZWCAD.Application", make_application());
  const core::ObjectRef running = host.create_object("ZWCAD.Application");
  host.uninstall("zwcad.application");
  EXPECT_EQ(error_number([&] { (void)host.create_object("ZWCAD.Application"); }), k429);
  EXPECT_EQ(host.get_object("ZWCAD.Application"), running);
  host.set_running("ZWCAD.APPLICATION", nullptr);
  EXPECT_EQ(error_number([&] { (void)host.get_object("ZWCAD.Application"); }), k429);
  // Factories that fail or uninstall themselves.
  host.install("Broken.Application", [] { return core::ObjectRef{}; });
  EXPECT_EQ(error_number([&] { (void)host.create_object("Broken.Application"); }), k429);
  EXPECT_EQ(error_number([&] { (void)host.get_object("Broken.Application"); }), k429);  // nothing registered
  host.install("Once.Application", [&host] {
    host.uninstall("Once.Application");
    return std::make_shared<Application>();
  });
  EXPECT_NE(host.create_object("Once.Application"), nullptr);
  EXPECT_EQ(error_number([&] { (void)host.create_object("Once.Application"); }), k429);
}

}  // namespace
}  // namespace kestrel::platform
