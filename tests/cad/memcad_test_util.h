// Helpers for driving memcad late-bound, as the engine does.
#pragma once

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
  Obj add(const char* member, auto&&... args) const {
    return object(model.call(member, std::forward<decltype(args)>(args)...));
  }
};

}  // namespace kestrel::memcad::testing
