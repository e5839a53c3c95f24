// memcad's Application as the CAD a client reaches by class name, with two
// members a test moves drawings with, as a user would with Save As and Open:
// TestSaveDxf(path) writes the active drawing, TestOpenDxf(path) opens one.
#pragma once

#include <memory>

#include "cad/memcad/application.h"
#include "core/object.h"

namespace kestrel::fake_cad {

class FakeApplication final : public core::Object {
 public:
  explicit FakeApplication(std::shared_ptr<memcad::Application> application)
      : application_(std::move(application)) {}

  [[nodiscard]] std::string_view type_name() const override { return application_->type_name(); }
  core::Variant get(std::string_view member) override { return application_->get(member); }
  void put(std::string_view member, const core::Variant& value) override { application_->put(member, value); }
  core::Variant call(std::string_view member, std::span<core::Variant> args) override;

 private:
  std::shared_ptr<memcad::Application> application_;
};

}  // namespace kestrel::fake_cad
