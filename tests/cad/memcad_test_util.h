// Helpers for driving memcad late-bound, as the engine does.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "cad/memcad/memcad.h"
#include "core/object.h"

namespace kestrel::memcad::testing {

using core::Obj;
using core::Variant;

inline Variant doubles(std::initializer_list<double> values) {
  return core::VbArray<double>(0, std::vector<double>(values));
}

inline Variant pt(double x, double y, double z = 0) { return doubles({x, y, z}); }

inline std::vector<double> numbers(const Variant& v) {
  const auto& a = v.as<core::VbArray<double>>();
  EXPECT_EQ(a.lbound(), 0);
  return {a.items().begin(), a.items().end()};
}

inline Obj object(const Variant& v) { return Obj(v.to_object()); }

// Matches a list of numbers, each within `tolerance` of its counterpart in `want`.
inline auto near(std::vector<double> want, double tolerance = 1e-9) {
  return ::testing::Pointwise(::testing::DoubleNear(tolerance), std::move(want));
}

inline void expect_near(const Vec3& got, const Vec3& want, const char* what = "") {
  EXPECT_NEAR(got.x, want.x, 1e-9) << what;
  EXPECT_NEAR(got.y, want.y, 1e-9) << what;
  EXPECT_NEAR(got.z, want.z, 1e-9) << what;
}

// The error a call raises; fails the test when it raises none.
template <class F>
core::Error error_of(F&& call) {
  try {
    call();
  } catch (const core::Error& e) {
    return e;
  }
  ADD_FAILURE() << "no error raised";
  return core::Error(0, "", "");
}

// An application with one empty drawing, and its model space, reached late-bound.
struct Cad {
  std::shared_ptr<Application> application = Application::create();
  Obj app{application};
  Obj doc = app.object("ActiveDocument");
  Obj model = doc.object("ModelSpace");

  Document& document() const { return *application->active_document(); }
  template <class T>
  const T& at(std::size_t i) const {
    return static_cast<const T&>(document().model_space().at(i));
  }
  std::vector<std::string> names() const {
    std::vector<std::string> names;
    for (const auto& e : document().model_space().entities()) names.emplace_back(e->entity_name());
    return names;
  }
  Obj add(const char* member, auto&&... args) const {
    return object(model.call(member, std::forward<decltype(args)>(args)...));
  }
};

}  // namespace kestrel::memcad::testing
