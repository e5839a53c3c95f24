// ComPtr<T>: one owned reference to a COM interface, released on
// destruction. Copying adds a reference; attach() adopts one already owned.
#pragma once

#include <utility>

namespace kestrel::win32 {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Shares `p`: adds a reference.
  explicit ComPtr(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  // Takes over a reference the caller owns (no AddRef).
  [[nodiscard]] static ComPtr attach(T* p) noexcept {
    ComPtr r;
    r.p_ = p;
    return r;
  }
  // Gives the reference to the caller (who must Release it).
  [[nodiscard]] T* detach() noexcept { return std::exchange(p_, nullptr); }
  void reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // For out-parameters of COM calls: releases the current reference first.
  [[nodiscard]] T** put() noexcept {
    reset();
    return &p_;
  }

  [[nodiscard]] T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace kestrel::win32
