// A late-bound call into the CAD, and 10^5 points added through it, per
// call: on Windows through IDispatch into the fake CAD's module (run under
// Wine by windows_dispatch.sh), on Linux into memcad in the same process.
// The engine side is the same core::Obj code in both.
#include <chrono>
#include <cstdio>

#include "core/object.h"

#ifdef _WIN32
#include "cad/dispatch/dispatch_automation_host.h"
#else
#include "cad/memcad/application.h"
#endif

namespace {

using namespace kestrel;
using Clock = std::chrono::steady_clock;

template <class F>
double nanoseconds_per_call(int calls, F&& call) {
  const auto start = Clock::now();
  for (int i = 0; i < calls; ++i) call(i);
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / calls;
}

core::Obj start_cad() {
#ifdef _WIN32
  static win32::DispatchAutomationHost host;
  return core::Obj(host.create_object("ZWCAD.Application.2021"));
#else
  return core::Obj(memcad::Application::create());
#endif
}

}  // namespace

int main() {
#ifdef _WIN32
  CoInitialize(nullptr);
  const char* where = "IDispatch into the fake CAD";
#else
  const char* where = "memcad in process";
#endif
  constexpr int kCalls = 100000;
  {
    const core::Obj cad = start_cad();
    const core::Obj space = cad.object("ActiveDocument").object("ModelSpace");
    const double get = nanoseconds_per_call(kCalls, [&](int) { (void)cad.get("Version"); });
    const double add = nanoseconds_per_call(kCalls, [&](int i) {
      (void)space.call("AddPoint", core::VbArray<double>(0, {i * 0.5, i * 0.25, 1.0}));
    });
    std::printf("%s: property get %.0f ns/call; AddPoint %.0f ns/point (%d points)\n", where, get, add, kCalls);
  }
#ifdef _WIN32
  CoUninitialize();
#endif
  return 0;
}
