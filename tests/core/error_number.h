// The error number a call raises, 0 when it returns normally.
#pragma once

#include <cstdint>

#include "core/error.h"

namespace kestrel::core::testing_support {

template <class F>
std::int32_t error_number(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

}  // namespace kestrel::core::testing_support
