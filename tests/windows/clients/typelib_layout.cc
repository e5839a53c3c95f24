// Prints the records of a type library as the automation run time reads them,
// in declaration order: "t_Poli 16" per record, "t_Poli.NuVert 0" per field.
// A 64-bit process can so read the layout a 32-bit library declares.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

namespace {

std::string narrow(const wchar_t* text) {
  std::string out;
  for (; text && *text; ++text) out.push_back(static_cast<char>(*text));
  return out;
}

void print_record(ITypeInfo* info, const TYPEATTR* attr) {
  BSTR name = nullptr;
  info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  const std::string record = narrow(name);
  SysFreeString(name);
  std::printf("%s %lu\n", record.c_str(), static_cast<unsigned long>(attr->cbSizeInstance));
  for (UINT k = 0; k < attr->cVars; ++k) {
    VARDESC* var = nullptr;
    if (FAILED(info->GetVarDesc(k, &var))) continue;
    BSTR field = nullptr;
    UINT got = 0;
    info->GetNames(var->memid, &field, 1, &got);
    std::printf("%s.%s %lu\n", record.c_str(), narrow(field).c_str(), static_cast<unsigned long>(var->oInst));
    SysFreeString(field);
    info->ReleaseVarDesc(var);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: typelib_layout FILE.tlb|FILE.dll[\\N]\n");
    return 2;
  }
  ITypeLib* lib = nullptr;
  const HRESULT hr = LoadTypeLibEx(argv[1], REGKIND_NONE, &lib);
  if (FAILED(hr)) {
    std::fprintf(stderr, "cannot load the type library: 0x%08lx\n", static_cast<unsigned long>(hr));
    return 1;
  }
  for (UINT k = 0; k < lib->GetTypeInfoCount(); ++k) {
    ITypeInfo* info = nullptr;
    if (FAILED(lib->GetTypeInfo(k, &info))) continue;
    TYPEATTR* attr = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&attr))) {
      if (attr->typekind == TKIND_RECORD) print_record(info, attr);
      info->ReleaseTypeAttr(attr);
    }
    info->Release();
  }
  lib->Release();
  return 0;
}
