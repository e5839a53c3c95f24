#include "library_calls.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "cad/dispatch/com_variant.h"

namespace kestrel::wintest {
namespace {

std::string hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

}  // namespace

IDispatch* create_library_object() {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(L"Mvx4_Kestrel.c_Kestrel", &clsid);
  if (FAILED(hr)) throw std::runtime_error("Mvx4_Kestrel.c_Kestrel is not registered: " + hex(hr));
  IDispatch* object = nullptr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object));
  if (FAILED(hr)) throw std::runtime_error("Mvx4_Kestrel.c_Kestrel cannot be created: " + hex(hr));
  return object;
}

VARIANT call_method(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const std::string method = win32::from_utf16(name);
  if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
    throw std::runtime_error(method + ": unknown member");
  }
  std::reverse(args.begin(), args.end());  // automation passes the last argument first
  DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO error{};
  UINT bad_argument = 0;
  const HRESULT hr =
      object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, &error, &bad_argument);
  if (FAILED(hr)) {
    std::string what = method + " failed: " + hex(hr);
    if (hr == DISP_E_EXCEPTION) what += " error " + std::to_string(error.wCode ? error.wCode : error.scode) + " " +
                                        win32::from_bstr(error.bstrDescription);
    throw std::runtime_error(what);
  }
  return result;
}

}  // namespace kestrel::wintest
