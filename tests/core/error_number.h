// What a call raises: the error, or its number; number 0 when it returns normally.
#pragma once

#include <cstdint>

#include "core/error.h"

namespace kestrel::core::testing_support {

template <class F>
Error caught(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e;
  }
  return Error(0, "", "");
}

template <class F>
std::int32_t error_number(F&& f) {
  return caught(f).number();
}

}  // namespace kestrel::core::testing_support
