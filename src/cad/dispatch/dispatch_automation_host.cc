#include "cad/dispatch/dispatch_automation_host.h"

#include "cad/dispatch/com_ptr.h"
#include "cad/dispatch/com_variant.h"
#include "platform/win32/wide_text.h"

namespace kestrel::win32 {
namespace {

[[noreturn]] void raise_cannot_create(std::string_view class_name) {
  throw core::Error(core::kCannotCreateObject, core::kRuntimeSource,
                    core::standard_description(core::kCannotCreateObject) + " (" + std::string(class_name) + ")");
}

CLSID class_id(std::string_view class_name) {
  CLSID id{};
  if (FAILED(CLSIDFromProgID(platform::widen(class_name).c_str(), &id))) raise_cannot_create(class_name);
  return id;
}

}  // namespace

DispatchAutomationHost::DispatchAutomationHost() : cache_(std::make_shared<DispidCache>()) {}

core::ObjectRef DispatchAutomationHost::get_object(std::string_view class_name) {
  const CLSID id = class_id(class_name);
  ComPtr<IUnknown> running;
  if (FAILED(GetActiveObject(id, nullptr, running.put())) || !running) raise_cannot_create(class_name);
  ComPtr<IDispatch> dispatch;
  if (FAILED(running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put()))) || !dispatch) {
    raise_cannot_create(class_name);
  }
  return wrap_dispatch(dispatch.get(), cache_).ref();
}

core::ObjectRef DispatchAutomationHost::create_object(std::string_view class_name) {
  const CLSID id = class_id(class_name);
  ComPtr<IDispatch> dispatch;
  if (FAILED(CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(dispatch.put()))) ||
      !dispatch) {
    raise_cannot_create(class_name);
  }
  return wrap_dispatch(dispatch.get(), cache_).ref();
}

}  // namespace kestrel::win32
