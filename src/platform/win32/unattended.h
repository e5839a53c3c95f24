// The unattended mode of the Windows user interface, for tests and batch
// runs: when the environment variable KESTREL_UNATTENDED is set to anything
// but "" or "0", message boxes answer their default button without showing
// and modal forms take their unattended action (win32_dialogs.h).
#pragma once

namespace kestrel::platform {

[[nodiscard]] bool unattended();

}  // namespace kestrel::platform
