#include "cad/memcad/session.h"

#include <algorithm>
#include <stdexcept>

#include "cad/memcad/errors.h"
#include "core/dispatch.h"

namespace kestrel::memcad {

void Session::quit() noexcept {
  closed_ = true;
  watching_ = true;
}

void Session::inject_failure(std::string member, int call_number, std::int32_t error_number) {
  if (call_number < 1) throw std::invalid_argument("inject_failure: call_number starts at 1");
  injections_.push_back({std::move(member), call_number, error_number});
  watching_ = true;
}

void Session::check_call(std::string_view member) {
  if (closed_) {
    throw core::Error(kServerUnavailable, error_source_, "El equipo servidor remoto no existe o no está disponible");
  }
  bool fired = false;
  std::int32_t number = 0;
  for (Injection& injection : injections_) {
    if (core::compare_member_names(injection.member, member) != 0) continue;
    if (--injection.remaining == 0 && !fired) {
      fired = true;
      number = injection.number;
    }
  }
  if (!fired) return;
  std::erase_if(injections_, [](const Injection& i) { return i.remaining <= 0; });
  watching_ = !injections_.empty();
  throw core::Error(number, error_source_, "Error inyectado");
}

}  // namespace kestrel::memcad
