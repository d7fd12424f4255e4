// Walks the controls of top-level windows of another process, found by
// title, with the naming rule of the in-process dialog walk, for the
// end-to-end scripts: prints each window's count of controls and every
// control a screen reader could not name; exits 1 when there is one, or
// when a window is missing or has no controls.
//   accessible_walk TITLE...
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/text.h"
#include "tests/win/accessible_names.h"

using orvika2::NarrowUtf8;

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    bool named = true;
    for (int i = 1; i < argc; ++i) {
        HWND window = FindWindowW(nullptr, argv[i]);
        if (!window) {
            std::printf("%s: no such window\n", NarrowUtf8(argv[i]).c_str());
            named = false;
            continue;
        }
        const orvika2::NamingWalk walk = orvika2::WalkNames(window);
        std::printf("%s: %d controls\n", NarrowUtf8(argv[i]).c_str(), walk.controls);
        for (const std::wstring& offender : walk.offenders) std::printf("  unnamed: %s\n", NarrowUtf8(offender).c_str());
        named = named && walk.controls > 0 && walk.offenders.empty();
    }
    return named ? 0 : 1;
}
