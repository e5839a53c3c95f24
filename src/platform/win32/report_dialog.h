// The report window on Windows: its rows in a list, its options as check
// boxes under the list, "Aceptar" and "Cancelar".
#pragma once

#include "platform/report_window.h"

namespace kestrel::platform {

// Shows `report` modally over the host's active window. "Aceptar" (or
// Enter) keeps the options as ticked; "Cancelar", Escape or closing the
// window cancels the report. Raises core::Error 5 naming the reason when no
// window can be made (no desktop).
void show_report_window(ReportWindow& report);

}  // namespace kestrel::platform
