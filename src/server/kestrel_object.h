// The COM object behind c_Kestrel: reference counting, IDispatch over the
// method catalogue (names resolved case-insensitively to their catalogue
// numbers, calls unpacked by hand so that records pass), and the engine's
// c_Kestrel on the process-wide module.
#pragma once

#include <oaidl.h>

#include "bridge/c_kestrel.h"

namespace kestrel::server {

class KestrelObject final : public IDispatch {
 public:
  KestrelObject();
  ~KestrelObject();
  KestrelObject(const KestrelObject&) = delete;
  KestrelObject& operator=(const KestrelObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* error, UINT* arg_error) override;

 private:
  // The interface's type information from the library's own type library.
  ITypeInfo* type_info();

  LONG references_ = 1;
  ITypeInfo* type_info_ = nullptr;
  bridge::c_Kestrel kestrel_;
};

}  // namespace kestrel::server
