// DispatchObject: a core::Object over an automation object's IDispatch, so
// that the engine drives any automation server as it drives memcad. Member
// names are resolved once per type (the type's identifier from its type
// information) and cached case-insensitively; objects without type
// information cache their own names. Arguments go by reference, so what
// the server writes back reaches the caller's span. Automation failures
// become core::Error: unknown members 438, type mismatches 13 (with the
// argument's position), a server's exception its own number, source and
// description.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cad/dispatch/com_ptr.h"
#include "core/object.h"

namespace kestrel::win32 {

// Member identifiers by case-folded name, per type.
class DispidCache {
 public:
  using Members = std::map<std::string, DISPID, std::less<>>;
  // The table of the type `type` (created empty on first use).
  [[nodiscard]] Members& members_of(const GUID& type);

 private:
  std::vector<std::pair<GUID, std::unique_ptr<Members>>> types_;
};

class DispatchObject final : public core::Object {
 public:
  // Holds a reference to `dispatch` (not null) and resolves names through `cache`.
  DispatchObject(IDispatch* dispatch, std::shared_ptr<DispidCache> cache);

  // The type's name from its type information, or "Object".
  [[nodiscard]] std::string_view type_name() const override;
  core::Variant get(std::string_view member) override;
  void put(std::string_view member, const core::Variant& value) override;
  core::Variant call(std::string_view member, std::span<core::Variant> args) override;

  [[nodiscard]] IDispatch* dispatch() const noexcept { return dispatch_.get(); }

 private:
  [[nodiscard]] DISPID dispid(std::string_view member);
  [[nodiscard]] DispidCache::Members& members();
  core::Variant invoke(std::string_view member, WORD flags, DISPPARAMS& params);
  [[noreturn]] void raise_failure(HRESULT hr, EXCEPINFO& info, UINT bad_argument, std::size_t argument_count,
                                  std::string_view member) const;

  ComPtr<IDispatch> dispatch_;
  std::shared_ptr<DispidCache> cache_;
  DispidCache::Members* members_ = nullptr;  // in cache_, or own_members_
  DispidCache::Members own_members_;
  mutable std::string type_name_;
};

// The core::Error for a failed automation call: hr, or the EXCEPINFO of a
// DISP_E_EXCEPTION (whose strings are freed).
[[nodiscard]] core::Error automation_error(HRESULT hr, EXCEPINFO* info);
// The run-time error number of an automation status code: the number
// itself for errors raised as FACILITY_CONTROL codes, the standard
// number for the common DISP_E_ codes, otherwise the code itself.
[[nodiscard]] std::int32_t error_number(HRESULT hr) noexcept;

}  // namespace kestrel::win32
