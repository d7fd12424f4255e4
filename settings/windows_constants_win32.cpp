// The Windows values that the portable files of settings/ restate, held to
// <windows.h> here so that a wrong copy cannot build.
#include <windows.h>

#include "settings/config_file.h"

namespace orvika2 {

static_assert(kModAlt == MOD_ALT);
static_assert(kModControl == MOD_CONTROL);
static_assert(kModShift == MOD_SHIFT);
static_assert(kModWin == MOD_WIN);

}  // namespace orvika2
