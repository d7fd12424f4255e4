#include "platform/shortcuts_win32.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/com_win32.h"
#include "platform/executable_path_win32.h"

namespace orvika2 {
namespace {

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) ? std::wstring(path) : std::wstring();
}

// The desktop's list view reloads on F5; without a shell desktop there is
// nothing to tell.
void ReloadDesktopView() {
    const HWND progman = FindWindowW(L"Progman", nullptr);
    const HWND defView = progman ? FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
    const HWND listView = defView ? FindWindowExW(defView, nullptr, L"SysListView32", nullptr) : nullptr;
    if (!listView) return;
    PostMessageW(listView, WM_KEYDOWN, VK_F5, 0);
    PostMessageW(listView, WM_KEYUP, VK_F5, 0);
}

}  // namespace

std::wstring DesktopFolder() { return SpecialFolder(CSIDL_DESKTOPDIRECTORY); }

std::wstring StartMenuProgramsFolder() { return SpecialFolder(CSIDL_PROGRAMS); }

bool ShortcutExists(const std::wstring& linkPath) {
    return GetFileAttributesW(linkPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CreateShortcut(const std::wstring& linkPath) { return CreateShortcut(linkPath, ExecutablePath()); }

bool CreateShortcut(const std::wstring& linkPath, const std::optional<std::wstring>& programPath) {
    // A link without a target would only open an error box.
    if (!programPath || programPath->empty()) return false;
    const ComInitialization com;
    const auto link = CreateComObject<IShellLinkW>(CLSID_ShellLink, IID_IShellLinkW);
    if (!link || FAILED(link->SetPath(programPath->c_str())) ||
        FAILED(link->SetIconLocation(programPath->c_str(), 0))) {
        return false;
    }
    const auto file = QueryComInterface<IPersistFile>(*link, IID_IPersistFile);
    // A link that could not be saved is no shortcut: report it.
    return file && SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

bool RemoveShortcut(const std::wstring& linkPath) {
    if (!DeleteFileW(linkPath.c_str())) return false;
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
    ReloadDesktopView();
    return true;
}

}  // namespace orvika2
