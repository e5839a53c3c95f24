// DllCanUnloadNow with and without live objects and server locks, called as
// the run time calls it: through LoadLibrary and GetProcAddress.
#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include "server/ids.h"

namespace {

int failures = 0;

void expect(HRESULT got, HRESULT wanted, const char* what) {
  if (got == wanted) return;
  std::printf("FAIL: %s: 0x%08lx, expected 0x%08lx\n", what, static_cast<unsigned long>(got),
              static_cast<unsigned long>(wanted));
  ++failures;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: unload_check LIBRARY.dll\n");
    return 2;
  }
  CoInitialize(nullptr);
  HMODULE library = LoadLibraryW(argv[1]);
  if (!library) {
    std::printf("FAIL: cannot load the library (%lu)\n", GetLastError());
    return 1;
  }
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
  // Through void*: the exports' real types are not FARPROC's.
  auto get_class_object =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
  auto can_unload_now =
      reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
  if (!get_class_object || !can_unload_now) {
    std::printf("FAIL: the library does not export DllGetClassObject and DllCanUnloadNow\n");
    return 1;
  }
  expect(can_unload_now(), S_OK, "nothing alive");

  IClassFactory* factory = nullptr;
  expect(get_class_object(IID_IDispatch, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
         CLASS_E_CLASSNOTAVAILABLE, "another class");
  expect(get_class_object(kestrel::server::kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK,
         "the class factory");
  if (!factory) return 1;

  IDispatch* first = nullptr;
  IDispatch* second = nullptr;
  expect(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&first)), S_OK, "first object");
  expect(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&second)), S_OK, "second object");
  expect(can_unload_now(), S_FALSE, "two objects alive");
  first->Release();
  expect(can_unload_now(), S_FALSE, "one object alive");
  second->Release();
  expect(can_unload_now(), S_OK, "both objects released");

  expect(factory->LockServer(TRUE), S_OK, "LockServer(TRUE)");
  expect(can_unload_now(), S_FALSE, "a lock held");
  expect(factory->LockServer(FALSE), S_OK, "LockServer(FALSE)");
  expect(can_unload_now(), S_OK, "the lock released");

  IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
  IUnknown* aggregated = nullptr;
  expect(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&aggregated)), CLASS_E_NOAGGREGATION,
         "aggregation");
  factory->Release();
  expect(can_unload_now(), S_OK, "the factory released");

  if (failures) return 1;
  std::printf("UNLOAD CHECK OK\n");
  return 0;
}
