#include "server/kestrel_object.h"

#include <oleauto.h>

#include <algorithm>
#include <cwctype>
#include <string_view>
#include <vector>

#include "bridge/catalogue.h"
#include "server/ids.h"
#include "server/invoke.h"
#include "server/lifetime.h"
#include "server/server_module.h"

namespace kestrel::server {
namespace {

// Catalogue names are ASCII; the comparison folds case as the run time does.
bool same_name(std::string_view catalogue_name, const wchar_t* name) {
  std::size_t k = 0;
  for (; k < catalogue_name.size(); ++k) {
    if (name[k] == L'\0') return false;
    if (std::towlower(static_cast<wint_t>(catalogue_name[k])) != std::towlower(static_cast<wint_t>(name[k])))
      return false;
  }
  return name[k] == L'\0';
}

DISPID method_number(const wchar_t* name) {
  for (const bridge::MethodEntry& entry : bridge::kCatalogue) {
    if (same_name(entry.name, name)) return entry.number;
  }
  return DISPID_UNKNOWN;
}

}  // namespace

KestrelObject::KestrelObject() : kestrel_(server_module()) { object_created(); }

KestrelObject::~KestrelObject() {
  if (type_info_) type_info_->Release();
  object_destroyed();
}

HRESULT KestrelObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kIid)) {
    *out = static_cast<_c_Kestrel*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG KestrelObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG KestrelObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

ITypeInfo* KestrelObject::type_info() {
  if (type_info_) return type_info_;
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(library_path().c_str(), REGKIND_NONE, &library))) return nullptr;
  library->GetTypeInfoOfGuid(kIid, &type_info_);
  library->Release();
  return type_info_;
}

HRESULT KestrelObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT KestrelObject::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ITypeInfo* info = type_info();
  if (!info) return TYPE_E_CANTLOADLIBRARY;
  info->AddRef();
  *out = info;
  return S_OK;
}

HRESULT KestrelObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  ids[0] = method_number(names[0]);
  for (UINT k = 1; k < count; ++k) ids[k] = DISPID_UNKNOWN;
  if (ids[0] == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
  if (count == 1) return S_OK;
  // Parameter names: their positions, as the type library declares them.
  ITypeInfo* info = type_info();
  return info ? info->GetIDsOfNames(names, count, ids) : DISP_E_UNKNOWNNAME;
}

HRESULT KestrelObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* error, UINT* arg_error) {
  if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  return invoke_method(kestrel_, id, params ? *params : none, result, error, arg_error);
}

HRESULT KestrelObject::forward(DISPID id, std::initializer_list<VARIANT> args, VARIANT_BOOL* bool_result,
                               void* record_result) {
  std::vector<VARIANT> reversed(args.begin(), args.end());
  std::reverse(reversed.begin(), reversed.end());
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO error{};
  UINT arg_error = 0;
  const HRESULT hr = invoke_method(kestrel_, id, params, &result, &error, &arg_error, record_result);
  if (bool_result && V_VT(&result) == VT_BOOL) *bool_result = V_BOOL(&result);
  VariantClear(&result);
  if (hr != DISP_E_EXCEPTION) return hr;
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    create->SetGUID(kIid);
    create->SetSource(error.bstrSource);
    create->SetDescription(error.bstrDescription);
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  SysFreeString(error.bstrSource);
  SysFreeString(error.bstrDescription);
  return error.scode;
}

}  // namespace kestrel::server
