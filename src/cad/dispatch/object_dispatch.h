// ObjectDispatch: an IDispatch over any core::Object, so that an object of
// ours can be handed to an automation client (a script, the host, or the
// engine in another module). Names get identifiers on first request, per
// object; whether a member exists is only known when it is used (438 then).
// Errors reach the client as DISP_E_EXCEPTION with the error's number (as a
// FACILITY_CONTROL code), source and description.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "core/object.h"

namespace kestrel::win32 {

class ObjectDispatch final : public IDispatch {
 public:
  // Starts with one reference, owned by the caller.
  explicit ObjectDispatch(core::ObjectRef object);
  ObjectDispatch(const ObjectDispatch&) = delete;
  ObjectDispatch& operator=(const ObjectDispatch&) = delete;

  // The object behind `dispatch` when it is an ObjectDispatch made in this
  // module; null otherwise.
  [[nodiscard]] static core::ObjectRef object_of(IDispatch* dispatch);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* bad_argument) override;

 private:
  ~ObjectDispatch() = default;
  core::Variant dispatch_call(const std::string& member, WORD flags, DISPPARAMS& params, UINT* bad_argument);

  std::atomic<ULONG> references_{1};
  core::ObjectRef object_;
  std::map<std::string, DISPID, std::less<>> ids_;  // by case-folded name
  std::vector<std::string> names_;                  // DISPID k is names_[k - 1]
};

// Fills `exception` (when not null) for `error` and returns DISP_E_EXCEPTION.
HRESULT report_exception(const core::Error& error, EXCEPINFO* exception);

}  // namespace kestrel::win32
