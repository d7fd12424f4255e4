// Sends the window titled "Orvika2", from another process, what Windows and
// the shell send it, for the end-to-end scripts:
//   arrival KIND | removal KIND   WM_DEVICECHANGE with a device-interface
//                                 broadcast of the HID class; KIND is token (a
//                                 keyboard interface of vendor 0x1050), other
//                                 (another vendor's keyboard) or short (a
//                                 broadcast too short to hold a class)
//   taskbar-created               the registered "TaskbarCreated", to every
//                                 top-level window, as a restarted taskbar does
//   drop-tray-icon                removes the window's tray icon, as a taskbar
//                                 that ended takes its icons with it
//   tray-key select|menu          the tray icon's keyboard notifications:
//                                 Enter (NIN_KEYSELECT) or the context-menu
//                                 key (WM_CONTEXTMENU), as the shell posts
//                                 them; Wine's tray has no keyboard
//   focus                         prints the control id and text of the
//                                 focus in the window's thread
//   setting-change                WM_SETTINGCHANGE for high contrast, as the
//                                 system sends when the theme is switched
// The broadcast crosses the process boundary the way the system's does:
// Wine copies the structure into the receiver, as far as its size says.
#include <windows.h>
#include <dbt.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/text.h"

namespace {

constexpr GUID kHidInterfaceClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr wchar_t kTokenKeyboard[] =
    L"\\\\?\\HID#VID_1050&PID_0010#7&2a6b1c1b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}\\KBD";
constexpr wchar_t kOtherKeyboard[] =
    L"\\\\?\\HID#VID_045E&PID_00DB&MI_00#8&16f3a0e1&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}\\KBD";

// The bytes of a device-interface broadcast naming `path`, or of a bare
// header that claims the interface type.
std::vector<unsigned char> Broadcast(const std::wstring& kind) {
    if (kind == L"short") {
        DEV_BROADCAST_HDR header{};
        header.dbch_size = sizeof(header);
        header.dbch_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        std::vector<unsigned char> bytes(sizeof(header));
        std::memcpy(bytes.data(), &header, sizeof(header));
        return bytes;
    }
    const std::wstring path = kind == L"token" ? kTokenKeyboard : kOtherKeyboard;
    const std::size_t size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (path.size() + 1) * sizeof(wchar_t);
    std::vector<unsigned char> bytes(size);
    DEV_BROADCAST_DEVICEINTERFACE_W head{};
    head.dbcc_size = static_cast<DWORD>(size);
    head.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    head.dbcc_classguid = kHidInterfaceClass;
    std::memcpy(bytes.data(), &head, offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name));
    std::memcpy(bytes.data() + offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name), path.c_str(),
                (path.size() + 1) * sizeof(wchar_t));
    return bytes;
}

int SendDeviceChange(HWND main, WPARAM event, const std::wstring& kind) {
    if (kind != L"token" && kind != L"other" && kind != L"short") return 2;
    std::vector<unsigned char> broadcast = Broadcast(kind);
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(main, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(broadcast.data()),
                             SMTO_ABORTIFHUNG, 10000, &answer)) {
        std::fprintf(stderr, "WM_DEVICECHANGE not delivered: error %lu\n", GetLastError());
        return 1;
    }
    return 0;
}

int DropTrayIcon(HWND main) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = main;
    icon.uID = 128;
    return Shell_NotifyIconW(NIM_DELETE, &icon) ? 0 : 1;
}

int TaskbarCreated() {
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    DWORD_PTR answer = 0;
    return message && SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) ? 0 : 1;
}

// The shell lets the icon's owner take the foreground for its answer.
int PostTrayKey(HWND main, const std::wstring& key) {
    LPARAM notification = 0;
    if (key == L"select") notification = NIN_KEYSELECT;
    else if (key == L"menu") notification = WM_CONTEXTMENU;
    else return 2;
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    AllowSetForegroundWindow(process);
    // The icon's callback message (WM_USER + 1) and identifier.
    return PostMessageW(main, WM_USER + 1, 128, notification) ? 0 : 1;
}

int PrintFocus(HWND main) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info)) return 1;
    if (!info.hwndFocus) {
        std::printf("0\n");
        return 0;
    }
    wchar_t text[256] = {};
    GetWindowTextW(info.hwndFocus, text, 256);
    std::printf("%d\t%s\n", GetDlgCtrlID(info.hwndFocus), orvika2::NarrowUtf8(text).c_str());
    return 0;
}

int SettingChange(HWND main) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(main, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_ABORTIFHUNG, 10000, &answer) ? 0
                                                                                                              : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring command = argv[1];
    if (command == L"taskbar-created") return TaskbarCreated();
    HWND main = FindWindowW(nullptr, L"Orvika2");
    if (!main) {
        std::fprintf(stderr, "no window titled Orvika2\n");
        return 1;
    }
    if (command == L"drop-tray-icon") return DropTrayIcon(main);
    if (command == L"focus") return PrintFocus(main);
    if (command == L"setting-change") return SettingChange(main);
    if (argc < 3) return 2;
    if (command == L"tray-key") return PostTrayKey(main, argv[2]);
    if (command == L"arrival") return SendDeviceChange(main, DBT_DEVICEARRIVAL, argv[2]);
    if (command == L"removal") return SendDeviceChange(main, DBT_DEVICEREMOVECOMPLETE, argv[2]);
    return 2;
}
