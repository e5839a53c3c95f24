// A minimal harness for the small Windows test programs the runners start
// under Wine: CHECK records a failure with its line and goes on; a program
// exits with the number of failures.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <source_location>
#include <string>

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

inline void check_hr(HRESULT got, HRESULT wanted, const char* file, int line, const char* what) {
  if (got == wanted) return;
  std::fprintf(stderr, "%s:%d: FAILED %s: 0x%08lx, expected 0x%08lx\n", file, line, what,
               static_cast<unsigned long>(got), static_cast<unsigned long>(wanted));
  ++failures();
}

// The core::Error that `action` raises; one numbered 0 when it raises none.
inline core::Error raised(const std::function<void()>& action) {
  try {
    action();
  } catch (const core::Error& e) {
    return e;
  }
  return core::Error(0, "", "nothing raised");
}

inline int error_of(const std::function<void()>& action) { return raised(action).number(); }

// A VARIANT of type `vt` whose value (or reference) is `value`, built by hand as a client builds it.
template <class T>
VARIANT variant(VARTYPE vt, T value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = vt;
  std::memcpy(&V_BYREF(&v), &value, sizeof value);
  return v;
}

// The number `object` gives the member `name`; the lookup must return `wanted`
// (a failure names the caller's line).
inline DISPID id_of(IDispatch* object, std::wstring name, HRESULT wanted = S_OK,
                    std::source_location at = std::source_location::current()) {
  LPOLESTR names[] = {name.data()};
  DISPID id = 0;
  check_hr(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), wanted, at.file_name(), static_cast<int>(at.line()),
           "GetIDsOfNames");
  return id;
}

}  // namespace kestrel::wintest

#define CHECK(condition) ((condition) ? (void)0 : ::kestrel::wintest::fail(__FILE__, __LINE__, #condition))
#define CHECK_HR(got, wanted) ::kestrel::wintest::check_hr((got), (wanted), __FILE__, __LINE__, #got)
