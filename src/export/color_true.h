// Color_True: the CAD's true-colour object for the chosen version, which
// hatches of colour -1 take (state.ColorObject). The polyline generator asks
// for it before drawing, as the export dialog does before it opens.
#pragma once

#include "export/export_state.h"

namespace kestrel::exporting {

// Sets state.Busy to true, asks the application for the interface object of
// the colour class the catalogue gives for the session's version label
// ("GetInterfaceObject"), keeps it in state.ColorObject and sets state.Busy
// back to false. An error is logged as "Color_True en 1 - " + version label
// + " - Error    nº " + number + description + " " + MsgVersion, and leaves
// state.Busy true: the sign that the CAD version is not one we can drive.
void Color_True(Module& module, ExportState& state);

}  // namespace kestrel::exporting
