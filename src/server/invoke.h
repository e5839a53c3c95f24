// Late-bound calls of `_c_Kestrel`: method `number` of the catalogue, its
// arguments unpacked from the call, the typed c_Kestrel method called,
// by-reference arguments written back and the result set.
//
// Answers: S_OK; DISP_E_MEMBERNOTFOUND for a number outside the catalogue;
// DISP_E_BADPARAMCOUNT, DISP_E_PARAMNOTOPTIONAL, DISP_E_TYPEMISMATCH (with
// `arg_error` naming the argument) for wrong arguments; DISP_E_EXCEPTION
// with `error` filled (number, source, description) for an error the method
// lets through (only Mete_Pun and Mete_Entidades trap nothing).
// A record result goes to `record_result` when given (the caller's record,
// overwritten whole), else into `result` as a VT_RECORD.
#pragma once

#include <oaidl.h>

#include "bridge/c_kestrel.h"

namespace kestrel::server {

HRESULT invoke_method(bridge::c_Kestrel& object, DISPID number, const DISPPARAMS& params, VARIANT* result,
                      EXCEPINFO* error, UINT* arg_error, void* record_result = nullptr);

}  // namespace kestrel::server
