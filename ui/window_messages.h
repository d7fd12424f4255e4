#pragma once
// The main window's title, by which the other windows find it (the settings
// window goes by its caption, IDS_SETTINGS_CAPTION), and the private
// messages they receive.
#include <cstdint>

namespace orvika2 {

inline constexpr wchar_t kMainWindowTitle[] = L"Orvika2";
inline constexpr std::uint32_t WM_TRAY_NOTIFY = 0x0400 + 1;          // WM_USER + 1
inline constexpr std::uint32_t WM_SETTINGS_REFRESH = 0x0400 + 1000;  // WM_USER + 1000, sent with lParam 0

}  // namespace orvika2
