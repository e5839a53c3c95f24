#include "server/invoke.h"

#include <new>

#include "bridge/catalogue.h"
#include "cad/dispatch/com_variant.h"
#include "server/arguments.h"
#include "server/method_table.h"

namespace kestrel::server {
namespace {

// The automation run time's form of an error number: 0x800A0000 + n for
// the run time's own numbers, any other (an HRESULT already) as it is.
SCODE error_scode(std::int32_t number) {
  if (number > 0 && number < 0x10000) return MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, number);
  return static_cast<SCODE>(number);
}

HRESULT report(const core::Error& e, EXCEPINFO* error) {
  if (error) {
    *error = EXCEPINFO{};
    error->bstrSource = win32::to_bstr(e.source());
    error->bstrDescription = win32::to_bstr(e.description());
    error->scode = error_scode(e.number());
  }
  return DISP_E_EXCEPTION;
}

}  // namespace

HRESULT invoke_method(bridge::c_Kestrel& object, DISPID number, const DISPPARAMS& params, VARIANT* result,
                      EXCEPINFO* error, UINT* arg_error, void* record_result) {
  if (number < 1 || number > static_cast<DISPID>(bridge::kCatalogue.size())) return DISP_E_MEMBERNOTFOUND;
  const bridge::MethodEntry& entry = bridge::kCatalogue[static_cast<std::size_t>(number - 1)];
  const MethodHandler& handler = method_table()[static_cast<std::size_t>(number - 1)];
  if (result) VariantInit(result);
  try {
    const Arguments arguments(params, entry.parameters, handler.required);
    Result out(result, record_result);
    handler.call(object, arguments, out);
    return S_OK;
  } catch (const ArgumentError& e) {
    if (arg_error && (e.code == DISP_E_TYPEMISMATCH || e.code == DISP_E_PARAMNOTFOUND)) *arg_error = e.position;
    return e.code;
  } catch (const core::Error& e) {
    return report(e, error);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace kestrel::server
