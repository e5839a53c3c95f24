// The export dialog as a modal window on the user's screen: one Windows
// control per control of the dialog model, kept in step with it both ways.
// What the user does goes to the model (a tick runs its click handler, a
// typed text its change handler, "Generar" and "Cancelar" press the
// buttons); what the model changes (interlocks, captions, the progress bar
// while the drawing is generated) shows in the window.
#pragma once

#include "export/f_acad.h"

namespace kestrel::server {

// Shows `dialog` modally over the host's active window and returns when the
// dialog has closed (accepted, cancelled, or its window closed by the user,
// which counts as "Cancelar"). An error raised by the model while the
// window is up closes the window and is raised again here. Raises
// core::Error 5 naming the reason when no window can be made (no desktop).
void show_export_dialog_window(exporting::f_Acad& dialog);

}  // namespace kestrel::server
