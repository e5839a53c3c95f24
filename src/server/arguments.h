// The arguments of one late-bound call, in the method's declaration order,
// whatever shape the caller gave them: by value or by reference, typed or
// inside a VARIANT (scripts pass every variable as VT_VARIANT|VT_BYREF),
// positional or named. Readers coerce as the automation run time does;
// writers store a by-reference argument's new value back into the caller's
// variable and ignore a by-value one.
//
// A wrong argument throws ArgumentError with its position in rgvarg, which
// Invoke answers through puArgErr.
#pragma once

#include <oaidl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/numeric.h"
#include "core/object.h"
#include "core/variant.h"
#include "core/vb_array.h"

namespace kestrel::server {

struct ArgumentError {
  HRESULT code;   // DISP_E_TYPEMISMATCH, DISP_E_PARAMNOTOPTIONAL, ...
  UINT position;  // index in rgvarg
};

class Arguments {
 public:
  // The call's arguments for a method that declares `declared` parameters,
  // the first `required` of them not optional. Throws ArgumentError with
  // DISP_E_BADPARAMCOUNT when there are more than declared or fewer than
  // required, DISP_E_PARAMNOTFOUND for a named argument that names no
  // parameter.
  Arguments(const DISPPARAMS& params, int declared, int required);

  // Argument k (0-based, declaration order); nullptr when not passed (an
  // omitted optional, or VT_ERROR with DISP_E_PARAMNOTFOUND).
  [[nodiscard]] VARIANT* find(int k) const;
  // The same for a required argument.
  [[nodiscard]] VARIANT& at(int k) const;
  // Throws DISP_E_TYPEMISMATCH for argument k.
  [[noreturn]] void mismatch(int k) const;

  // Scalars, coerced as the run time does (a string "12" reads as 12; "abc"
  // where a number is wanted is a type mismatch).
  [[nodiscard]] std::int32_t long_at(int k) const;
  [[nodiscard]] std::int16_t integer_at(int k) const;
  [[nodiscard]] double double_at(int k) const;
  [[nodiscard]] core::VbBool boolean_at(int k) const;
  [[nodiscard]] std::string string_at(int k) const;
  // An object: IDispatch, Nothing or Empty (no object).
  [[nodiscard]] core::Obj object_at(int k) const;
  // Any value.
  [[nodiscard]] core::Variant variant_at(int k) const;
  // Optional ones: nullopt when not passed.
  [[nodiscard]] std::optional<std::int32_t> optional_long(int k) const;
  [[nodiscard]] std::optional<core::VbBool> optional_boolean(int k) const;
  [[nodiscard]] std::optional<std::string> optional_string(int k) const;

  // One-dimensional arrays with their bounds, typed (SAFEARRAY(double)) or
  // of VARIANTs that each convert; Empty or a null array is unallocated.
  [[nodiscard]] core::VbArray<double> doubles_at(int k) const;
  [[nodiscard]] core::VbArray<std::int32_t> longs_at(int k) const;
  [[nodiscard]] core::VbArray<std::int16_t> integers_at(int k) const;
  [[nodiscard]] core::VbArray<std::string> strings_at(int k) const;

  // Write-back into by-reference arguments (nothing when passed by value or
  // not passed).
  void set_long(int k, std::int32_t value) const;
  void set_integer(int k, std::int16_t value) const;
  void set_double(int k, double value) const;
  void set_boolean(int k, core::VbBool value) const;
  void set_string(int k, const std::string& value) const;
  void set_object(int k, const core::Obj& value) const;
  void set_variant(int k, const core::Variant& value) const;

  // The SAFEARRAY behind argument k (typed or by reference), nullptr for
  // Empty; a type mismatch for anything that is not an array.
  [[nodiscard]] SAFEARRAY* array_at(int k) const;
  // The record behind argument k, checked against the record type `id`.
  [[nodiscard]] void* record_at(int k, const GUID& id) const;

 private:
  // Coerces argument k to `vt` into `out` (VariantClear-able).
  void coerce(int k, VARTYPE vt, VARIANT& out) const;
  // The caller's variable behind a by-reference argument k, or nullptr.
  [[nodiscard]] VARIANT* target(int k) const;
  template <class T>
  core::VbArray<T> array_of(int k, VARTYPE vt) const;

  const DISPPARAMS& params_;
  std::vector<int> slots_;  // declaration index -> rgvarg index, -1 when not passed
};

}  // namespace kestrel::server
