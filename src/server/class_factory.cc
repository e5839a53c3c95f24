#include "server/class_factory.h"

#include <new>

#include "server/kestrel_object.h"
#include "server/lifetime.h"

namespace kestrel::server {
namespace {

struct KestrelObjects {
  static KestrelObject* create() { return new (std::nothrow) KestrelObject(); }
  static void lock(bool lock) { lock_server(lock); }
};

}  // namespace

IClassFactory& class_factory() noexcept {
  static StaticClassFactory<KestrelObjects> factory;
  return factory;
}

}  // namespace kestrel::server
