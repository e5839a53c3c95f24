#include "model/layout.h"

#include <algorithm>
#include <string>

#include "core/error.h"
#include "model/little_endian.h"

namespace kestrel::model {

namespace {

using fields::IsArray;
using fields::IsBytes;
using fields::Record;

static_assert(fields::Layout<Opciones>::kSize == Opciones::kSize);

template <Record R>
void write_fields(const R& record, std::span<std::byte> image);
template <Record R>
void read_fields(std::span<const std::byte> image, R& record);

template <class M>
void write_slot(const M& value, std::span<std::byte> at) {
  if constexpr (Record<M>) {
    write_fields(value, at);
  } else if constexpr (IsBytes<M>::value) {
    std::copy(value.begin(), value.end(), at.begin());
  } else if constexpr (std::is_same_v<M, std::string> || IsArray<M>::value) {
    std::fill_n(at.begin(), 4, std::byte{0});  // reference slot, filled by the server
  } else {
    store_le(at, value);
  }
}

template <class M>
void read_slot(std::span<const std::byte> at, M& value) {
  if constexpr (Record<M>) {
    read_fields(at, value);
  } else if constexpr (IsBytes<M>::value) {
    std::copy_n(at.begin(), value.size(), value.begin());
  } else if constexpr (std::is_same_v<M, std::string> || IsArray<M>::value) {
    value = M{};
  } else {
    value = load_le<M>(at);
  }
}

template <Record R>
void write_fields(const R& record, std::span<std::byte> image) {
  fields::for_each_field<R>([&](const auto& f) {
    using M = typename std::remove_cvref_t<decltype(f)>::member_type;
    write_slot(record.*f.member, image.subspan(static_cast<std::size_t>(f.offset), fields::slot_size<M>()));
  });
}

template <Record R>
void read_fields(std::span<const std::byte> image, R& record) {
  fields::for_each_field<R>([&](const auto& f) {
    using M = typename std::remove_cvref_t<decltype(f)>::member_type;
    read_slot(image.subspan(static_cast<std::size_t>(f.offset), fields::slot_size<M>()), record.*f.member);
  });
}

}  // namespace

template <Record R>
Image<R> to_image(const R& record) {
  Image<R> image{};
  write_fields(record, std::span<std::byte>(image));
  return image;
}

template <Record R>
R from_image(std::span<const std::byte> image) {
  if (image.size() != static_cast<std::size_t>(fields::Layout<R>::kSize)) core::raise(core::kInvalidCall);
  R record;
  read_fields(image, record);
  return record;
}

#define KESTREL_RECORD_IMAGE(R)                   \
  template Image<R> to_image<R>(const R& record); \
  template R from_image<R>(std::span<const std::byte> image);
KESTREL_RECORD_IMAGE(t_Poli)
KESTREL_RECORD_IMAGE(t_Capa)
KESTREL_RECORD_IMAGE(t_Curva)
KESTREL_RECORD_IMAGE(t_Curvado)
KESTREL_RECORD_IMAGE(t_Rotulo)
KESTREL_RECORD_IMAGE(Cabecera)
KESTREL_RECORD_IMAGE(Opciones)
KESTREL_RECORD_IMAGE(t_Dibujo)
KESTREL_RECORD_IMAGE(t_Datos)
#undef KESTREL_RECORD_IMAGE

}  // namespace kestrel::model
