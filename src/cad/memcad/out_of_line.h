// A value that most objects leave as its default, kept on the heap only by
// those that change it: a drawing of millions of plain texts then pays one
// pointer a text for the fields few of them set.
#pragma once

#include <memory>

namespace kestrel::memcad {

template <class T>
class OutOfLine {
 public:
  OutOfLine() = default;
  OutOfLine(const OutOfLine& other) : value_(other.value_ ? std::make_unique<T>(*other.value_) : nullptr) {}
  OutOfLine& operator=(const OutOfLine& other) {
    if (this != &other) value_ = other.value_ ? std::make_unique<T>(*other.value_) : nullptr;
    return *this;
  }
  OutOfLine(OutOfLine&&) noexcept = default;
  OutOfLine& operator=(OutOfLine&&) noexcept = default;
  ~OutOfLine() = default;

  // The value; T{} while nothing was set.
  [[nodiscard]] const T& get() const noexcept { return value_ ? *value_ : plain(); }

  // Sets one field; setting a field to its default allocates nothing.
  template <class F, class V>
  void set(F T::*field, V&& value) {
    if (!value_) {
      if (plain().*field == value) return;
      value_ = std::make_unique<T>();
    }
    (*value_).*field = std::forward<V>(value);
  }

 private:
  static const T& plain() noexcept {
    static const T value{};
    return value;
  }

  std::unique_ptr<T> value_;
};

}  // namespace kestrel::memcad
