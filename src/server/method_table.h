// One handler per method of the catalogue, in catalogue order: it reads the
// arguments the method declares, calls the typed c_Kestrel method, writes
// the by-reference arguments back and sets the result.
#pragma once

#include <oaidl.h>

#include <array>

#include "bridge/c_kestrel.h"
#include "model/records.h"
#include "server/arguments.h"

namespace kestrel::server {

// The result slot of a call; a caller that wants no result passes none.
class Result {
 public:
  // A record result goes into `record` when given, else into `out`.
  explicit Result(VARIANT* out, void* record = nullptr) : out_(out), record_(record) {}
  void set_boolean(bool value);
  // The record as a VT_RECORD of Mvx4_Var1 (or into the caller's record),
  // built field by field; the caller owns it.
  void set_record(const model::t_Datos& value);
  void set_record(const model::t_Dibujo& value);

 private:
  VARIANT* out_;
  void* record_;
};

struct MethodHandler {
  int required;  // leading parameters that are not optional
  void (*call)(bridge::c_Kestrel& object, const Arguments& args, Result& result);
};

[[nodiscard]] const std::array<MethodHandler, 47>& method_table();

}  // namespace kestrel::server
