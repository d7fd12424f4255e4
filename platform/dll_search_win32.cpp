#include "platform/dll_search_win32.h"

#include <windows.h>

#include <cstddef>

// The load configuration's DependentLoadFlags make Windows (10 1607 and
// later) resolve the static imports from System32 too. MinGW's winnt.h still
// calls that field Reserved1, and its ld does not point the image's
// load-configuration directory at this structure: the build does that after
// linking (scripts/set_load_config.py).
static_assert(offsetof(IMAGE_LOAD_CONFIG_DIRECTORY64, Reserved1) == 0x4E, "DependentLoadFlags");
extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = {
    .Size = sizeof(IMAGE_LOAD_CONFIG_DIRECTORY64),
    .Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32,
};

namespace orvika2 {

void LoadDllsFromSystem32Only() {
    // Present since Windows 8; with a valid flag it has nothing to fail on.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace orvika2
