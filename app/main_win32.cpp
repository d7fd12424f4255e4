#include <windows.h>

#include "app/orvika2_app_win32.h"
#include "platform/dll_search_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    orvika2::LoadDllsFromSystem32Only();
    orvika2::COrvika2App app;
    return app.Run();
}
