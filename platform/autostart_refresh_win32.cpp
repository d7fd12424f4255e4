#include "platform/autostart_win32.h"
#include "platform/executable_path_win32.h"

namespace orvika2 {

void RefreshAutostart() { RefreshAutostart(ExecutablePath()); }

}  // namespace orvika2
