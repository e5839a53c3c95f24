// The host's records (record_layout.h) to and from the engine's records
// (model/records.h). Strings and arrays are copied deeply both ways and
// arrays keep their bounds; the bytes the engine only carries (Cabecera,
// the option block, reserved fields, Extra) travel unchanged.
//
// The server never lets the automation run time copy or clear a record
// that holds arrays: it reads the host's memory field by field, and builds
// results field by field with arrays it creates itself.
#pragma once

#include <oaidl.h>

#include "core/vb_array.h"
#include "model/records.h"
#include "server/record_layout.h"

namespace kestrel::server {

// The type information of record `id` of Mvx4_Var1, read from this
// library's own resources once. Error 13 for an unknown record, 7 when the
// type library cannot be read. Borrowed: do not release.
[[nodiscard]] IRecordInfo& record_info(const GUID& id);

// Host -> engine. A record array of the wrong record type raises error 13.
[[nodiscard]] model::t_Datos from_host(const layout::t_Datos& record);
[[nodiscard]] model::t_Dibujo from_host(const layout::t_Dibujo& record);
[[nodiscard]] model::t_Curvado from_host(const layout::t_Curvado& record);
[[nodiscard]] core::VbArray<model::t_Poli> polylines_from_host(SAFEARRAY* array);
[[nodiscard]] core::VbArray<model::t_Capa> layers_from_host(SAFEARRAY* array);

// Engine -> host, into a zeroed record; the strings and arrays written are
// new and belong to whoever receives the record.
void to_host(const model::t_Datos& record, layout::t_Datos& out);
void to_host(const model::t_Dibujo& record, layout::t_Dibujo& out);

}  // namespace kestrel::server
