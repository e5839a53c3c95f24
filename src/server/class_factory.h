// The class factory of c_Kestrel. There is one, living as long as the
// library; its reference count does not keep the library loaded, its
// LockServer does.
#pragma once

#include <unknwn.h>

namespace kestrel::server {

[[nodiscard]] IClassFactory& class_factory() noexcept;

// A class factory living as long as its module (a static object: its
// reference count keeps nothing alive). `Maker::create()` returns a new
// object holding one reference, or null when memory runs out;
// `Maker::lock(bool)` answers LockServer. Aggregation is refused.
template <class Maker>
class StaticClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    const bool known = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory);
    *out = known ? static_cast<IClassFactory*>(this) : nullptr;
    return known ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      auto* object = Maker::create();
      if (!object) return E_OUTOFMEMORY;
      const HRESULT hr = object->QueryInterface(iid, out);
      object->Release();  // the creation's own reference
      return hr;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    Maker::lock(lock != FALSE);
    return S_OK;
  }
};

}  // namespace kestrel::server
