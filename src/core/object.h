// Object: the late-bound dispatch interface. Members are reached by name,
// case-insensitively, with Variant arguments. An unknown member raises 438;
// a wrong argument raises 13 (or 5 / 449) naming the argument's position.
// Obj is the thin typed wrapper callers use; using a null Obj raises 91.
#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/variant.h"

namespace kestrel::core {

class Object {
 public:
  virtual ~Object() = default;
  // The automation type name ("IAcadLine", "ProgressForm" ...).
  [[nodiscard]] virtual std::string_view type_name() const = 0;
  // Property get.
  virtual Variant get(std::string_view member) = 0;
  // Property put (or Set for object values).
  virtual void put(std::string_view member, const Variant& value) = 0;
  // Method call; arguments are passed by reference so a method may write back.
  virtual Variant call(std::string_view member, std::span<Variant> args) = 0;
};

// An object that hands itself out (a collection returning its owner, Add
// returning the item): it keeps a weak reference to itself. Objects made in
// the millions (drawing entities) derive from Object directly and count
// their own references, saving that one.
class SharedObject : public Object, public std::enable_shared_from_this<SharedObject> {};

class Obj;

// obj["Name"] = value; and Variant v = obj["Name"];
class PropertyRef {
 public:
  PropertyRef(Object& object, std::string_view member) : object_(object), member_(member) {}
  PropertyRef& operator=(const Variant& value) {
    object_.put(member_, value);
    return *this;
  }
  operator Variant() const { return object_.get(member_); }
  [[nodiscard]] Variant value() const { return object_.get(member_); }
  [[nodiscard]] Obj object() const;

 private:
  Object& object_;
  std::string_view member_;
};

class Obj {
 public:
  Obj() = default;
  Obj(ObjectRef ref) : ref_(std::move(ref)) {}
  template <class T>
    requires std::is_base_of_v<Object, T>
  Obj(std::shared_ptr<T> ref) : ref_(std::move(ref)) {}

  [[nodiscard]] explicit operator bool() const noexcept { return ref_ != nullptr; }
  [[nodiscard]] const ObjectRef& ref() const noexcept { return ref_; }
  [[nodiscard]] Object& target() const {
    if (!ref_) raise(kObjectNotSet);
    return *ref_;
  }

  [[nodiscard]] Variant get(std::string_view member) const { return target().get(member); }
  void put(std::string_view member, const Variant& value) const { target().put(member, value); }
  [[nodiscard]] PropertyRef operator[](std::string_view member) const { return PropertyRef(target(), member); }
  // A property that holds an object.
  [[nodiscard]] Obj object(std::string_view member) const { return Obj(get(member).to_object()); }

  template <class... A>
  Variant call(std::string_view member, A&&... args) const {
    std::array<Variant, sizeof...(A)> list{Variant(std::forward<A>(args))...};
    return target().call(member, list);
  }
  Variant call_with(std::string_view member, std::span<Variant> args) const { return target().call(member, args); }

  friend bool operator==(const Obj& a, const Obj& b) noexcept { return a.ref_ == b.ref_; }

 private:
  ObjectRef ref_;
};

inline Obj PropertyRef::object() const { return Obj(value().to_object()); }

// Argument helpers for member implementations: `position` is 1-based.
[[nodiscard]] const Variant& argument(std::span<Variant> args, std::size_t position);
// Error 13 (or the conversion's own number) with the argument's position in the description.
[[noreturn]] void raise_argument_error(std::int32_t number, std::size_t position);
template <class F>
decltype(auto) convert_argument(std::span<Variant> args, std::size_t position, F&& convert) {
  const Variant& v = argument(args, position);
  try {
    return convert(v);
  } catch (const Error& e) {
    raise_argument_error(e.number(), position);
  }
}

}  // namespace kestrel::core
