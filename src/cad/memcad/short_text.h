// ShortText: the characters of a drawing text in 14 bytes, aligned to a
// byte so that a 16-bit field can follow it in one 16-byte slot. A
// std::string takes 32, and a drawing's texts are mostly a few characters
// (point names, numbers, elevations): with millions of labels those bytes
// are the difference between allocator size classes. Up to 13 bytes are
// kept inline; longer texts go to the heap (pointer and 32-bit length).
#pragma once

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

namespace kestrel::memcad {

class ShortText {
 public:
  static constexpr std::size_t kInline = 13;

  ShortText() noexcept { set_inline_size(0); }
  ShortText(std::string_view s) { assign(s); }  // NOLINT: a text is set from any string
  ShortText(const std::string& s) : ShortText(std::string_view(s)) {}  // NOLINT
  ShortText(const char* s) : ShortText(std::string_view(s)) {}         // NOLINT
  ShortText(const ShortText& other) { assign(other.view()); }
  ShortText(ShortText&& other) noexcept : bytes_(other.bytes_) { other.set_inline_size(0); }
  ShortText& operator=(const ShortText& other) {
    if (this != &other) replace(other.view());
    return *this;
  }
  ShortText& operator=(ShortText&& other) noexcept {
    if (this != &other) {
      release();
      bytes_ = other.bytes_;
      other.set_inline_size(0);
    }
    return *this;
  }
  ShortText& operator=(std::string_view s) { return replace(s), *this; }
  ShortText& operator=(const std::string& s) { return replace(s), *this; }
  ShortText& operator=(const char* s) { return replace(s), *this; }
  ~ShortText() { release(); }

  [[nodiscard]] std::string_view view() const noexcept {
    if (!on_heap()) return {bytes_.chars, inline_size()};
    return {heap_data(), heap_size()};
  }
  operator std::string_view() const noexcept { return view(); }  // NOLINT: reads as a string
  [[nodiscard]] std::string str() const { return std::string(view()); }
  [[nodiscard]] std::size_t size() const noexcept { return view().size(); }
  [[nodiscard]] bool empty() const noexcept { return size() == 0; }

  friend bool operator==(const ShortText& a, const ShortText& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const ShortText& a, std::string_view b) noexcept { return a.view() == b; }
  friend bool operator==(const ShortText& a, const std::string& b) noexcept { return a.view() == b; }
  friend bool operator==(const ShortText& a, const char* b) noexcept { return a.view() == b; }
  friend std::ostream& operator<<(std::ostream& out, const ShortText& t) { return out << t.view(); }

 private:
  // Byte 13 holds the inline size (0..13), or kOnHeap; on the heap, bytes
  // 0..7 hold the pointer and 8..11 the size.
  static constexpr unsigned char kOnHeap = 0xFF;
  static constexpr std::size_t kTag = kInline;
  struct Bytes {
    char chars[kInline + 1];
  };

  [[nodiscard]] unsigned char tag() const noexcept { return static_cast<unsigned char>(bytes_.chars[kTag]); }
  [[nodiscard]] bool on_heap() const noexcept { return tag() == kOnHeap; }
  [[nodiscard]] std::size_t inline_size() const noexcept { return tag(); }
  void set_inline_size(std::size_t n) noexcept { bytes_.chars[kTag] = static_cast<char>(n); }
  [[nodiscard]] const char* heap_data() const noexcept {
    const char* p = nullptr;
    std::memcpy(&p, bytes_.chars, sizeof p);
    return p;
  }
  [[nodiscard]] std::uint32_t heap_size() const noexcept {
    std::uint32_t n = 0;
    std::memcpy(&n, bytes_.chars + 8, sizeof n);
    return n;
  }

  // Sets the characters of an empty (just built or released) text.
  void assign(std::string_view s);
  void replace(std::string_view s) {
    ShortText copy(s);  // s may point into this text
    *this = std::move(copy);
  }
  void release() noexcept {
    if (on_heap()) delete[] heap_data();
  }

  Bytes bytes_{};
};

}  // namespace kestrel::memcad
