// A minimal harness for the small Windows test programs the runner starts
// under Wine: CHECK records a failure with its line and goes on; the
// program's exit code is the number of failures.
#pragma once

#include <cstdio>
#include <functional>

#include "core/error.h"

namespace kestrel::wintest {

inline int& failures() {
  static int count = 0;
  return count;
}

inline void fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: FAILED %s\n", file, line, what);
  ++failures();
}

// The number of the core::Error that `action` raises; 0 when it raises none.
inline int error_of(const std::function<void()>& action) {
  try {
    action();
  } catch (const core::Error& e) {
    return e.number();
  }
  return 0;
}

}  // namespace kestrel::wintest

#define CHECK(condition) \
  ((condition) ? (void)0 : ::kestrel::wintest::fail(__FILE__, __LINE__, #condition))
