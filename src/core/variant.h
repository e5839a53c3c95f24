// Variant: the self-describing value that crosses every late-bound call.
// Conversions follow the automation run time: a value that cannot be
// converted raises error 13, a number that does not fit raises error 6,
// and conversions to whole numbers round half to even. Empty reads as 0,
// "" and False; True as -1 and "True"; a text as CDbl reads it ("." as
// decimal point, error 13 for "abc" and for "True" where a number is
// wanted). An object where a value is wanted raises 13, a null one 91.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "core/vb_array.h"

namespace kestrel::core {

class Object;
class Variant;
using ObjectRef = std::shared_ptr<Object>;

struct Empty {
  friend bool operator==(Empty, Empty) { return true; }
};

enum class VarType : std::uint8_t {
  kEmpty, kBoolean, kInteger, kLong, kDouble, kString, kObject,
  kDoubleArray, kIntegerArray, kLongArray, kStringArray, kVariantArray, kObjectArray,
};

class Variant {
 public:
  using Storage = std::variant<Empty, bool, std::int16_t, std::int32_t, double, std::string, ObjectRef,
                               VbArray<double>, VbArray<std::int16_t>, VbArray<std::int32_t>,
                               VbArray<std::string>, VbArray<Variant>, VbArray<ObjectRef>>;

  Variant() = default;
  Variant(bool v) : value_(v) {}
  Variant(std::int16_t v) : value_(v) {}
  Variant(std::int32_t v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(std::string v) : value_(std::move(v)) {}
  Variant(std::string_view v) : value_(std::string(v)) {}
  Variant(const char* v) : value_(std::string(v)) {}
  Variant(ObjectRef v) : value_(std::move(v)) {}
  template <class T>
    requires std::is_base_of_v<Object, T>
  Variant(std::shared_ptr<T> v) : value_(ObjectRef(std::move(v))) {}
  Variant(VbArray<double> v) : value_(std::move(v)) {}
  Variant(VbArray<std::int16_t> v) : value_(std::move(v)) {}
  Variant(VbArray<std::int32_t> v) : value_(std::move(v)) {}
  Variant(VbArray<std::string> v) : value_(std::move(v)) {}
  Variant(VbArray<Variant> v) : value_(std::move(v)) {}
  Variant(VbArray<ObjectRef> v) : value_(std::move(v)) {}

  [[nodiscard]] VarType type() const noexcept { return static_cast<VarType>(value_.index()); }
  [[nodiscard]] bool is_empty() const noexcept { return type() == VarType::kEmpty; }
  [[nodiscard]] bool is_numeric() const noexcept;
  [[nodiscard]] bool is_array() const noexcept { return type() >= VarType::kDoubleArray; }
  // True for an object reference, including a null one (Nothing).
  [[nodiscard]] bool is_object() const noexcept { return type() == VarType::kObject; }

  // CBool, CInt, CLng, CDbl, CStr.
  [[nodiscard]] bool to_bool() const;
  [[nodiscard]] std::int16_t to_int16() const;
  [[nodiscard]] std::int32_t to_int32() const;
  [[nodiscard]] double to_double() const;
  [[nodiscard]] std::string to_string() const;
  // The object reference (possibly null); error 13 for anything else.
  [[nodiscard]] ObjectRef to_object() const;
  // An array of doubles, with the same bounds, from an array of Double,
  // Integer or Long, or of Variants that each convert to Double; error 13
  // for anything else (String and Object arrays included).
  [[nodiscard]] VbArray<double> to_double_array() const;

  // The stored alternative itself; error 13 when the Variant holds another type.
  template <class T>
  [[nodiscard]] const T& as() const {
    if (const T* p = std::get_if<T>(&value_)) return *p;
    raise(kTypeMismatch);
  }
  template <class T>
  [[nodiscard]] T& as() {
    if (T* p = std::get_if<T>(&value_)) return *p;
    raise(kTypeMismatch);
  }
  template <class T>
  [[nodiscard]] const T* get_if() const noexcept { return std::get_if<T>(&value_); }

  [[nodiscard]] const Storage& storage() const noexcept { return value_; }

  friend bool operator==(const Variant& a, const Variant& b) { return a.value_ == b.value_; }

 private:
  Storage value_;
};

// The run time's name of a Variant type ("Double", "String", "Double()" ...).
[[nodiscard]] std::string_view type_name(VarType type) noexcept;

}  // namespace kestrel::core
