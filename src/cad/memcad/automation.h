// Late binding for memcad objects: each class declares a static member
// table (core::MemberTable) and answers get/put/call through it, after the
// application's call guard (closed application, injected failures). Errors
// raised inside without a source get the application's source here, at the
// dispatch boundary.
#pragma once

#include <span>
#include <string_view>

#include "cad/memcad/session.h"
#include "core/dispatch.h"

namespace kestrel::memcad {

using core::Variant;

// Rethrows `error` with the source of `session` (or the standalone source).
[[noreturn]] void rethrow_with_source(const core::Error& error, const Session* session);

template <class Self, class F>
decltype(auto) run_member(const Session* session, F&& body) {
  try {
    return body();
  } catch (const core::Error& e) {
    if (e.source().empty()) rethrow_with_source(e, session);
    throw;
  }
}

template <class Self>
const core::Member<Self>& find_member(Self& self, const core::MemberTable<Self>& table, Session* session,
                                      std::string_view name) {
  if (session) session->on_call(name);
  const core::Member<Self>* m = table.find(name);
  if (!m) core::raise_unknown_member(self.type_name(), name);
  return *m;
}

template <class Self>
Variant dispatch_get(Self& self, const core::MemberTable<Self>& table, Session* session, std::string_view name) {
  const core::Member<Self>& m = find_member(self, table, session, name);
  if (m.get) return run_member<Self>(session, [&] { return m.get(self); });
  if (m.call) return run_member<Self>(session, [&] { return m.call(self, {}); });
  core::raise_unknown_member(self.type_name(), name);
}

template <class Self>
void dispatch_put(Self& self, const core::MemberTable<Self>& table, Session* session, std::string_view name,
                  const Variant& value) {
  const core::Member<Self>& m = find_member(self, table, session, name);
  if (!m.put) core::raise_unknown_member(self.type_name(), name);
  run_member<Self>(session, [&] { m.put(self, value); });
}

template <class Self>
Variant dispatch_call(Self& self, const core::MemberTable<Self>& table, Session* session, std::string_view name,
                      std::span<Variant> args) {
  const core::Member<Self>& m = find_member(self, table, session, name);
  if (m.call) return run_member<Self>(session, [&] { return m.call(self, args); });
  if (m.get && args.empty()) return run_member<Self>(session, [&] { return m.get(self); });
  core::raise_unknown_member(self.type_name(), name);
}

// Base of the non-entity memcad objects. Self provides
//   static const core::MemberTable<Self>& member_table();
//   Session* call_session();  // the owning application's session (or null);
//                             // raises when the object's drawing is gone
//   std::string_view type_name() const;
template <class Self>
class Automated : public core::SharedObject {
 public:
  Variant get(std::string_view name) override {
    Self& s = self();
    return dispatch_get(s, Self::member_table(), s.call_session(), name);
  }
  void put(std::string_view name, const Variant& value) override {
    Self& s = self();
    dispatch_put(s, Self::member_table(), s.call_session(), name, value);
  }
  Variant call(std::string_view name, std::span<Variant> args) override {
    Self& s = self();
    return dispatch_call(s, Self::member_table(), s.call_session(), name, args);
  }

 private:
  Self& self() { return static_cast<Self&>(*this); }
};

}  // namespace kestrel::memcad
