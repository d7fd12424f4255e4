#pragma once
// The titles by which windows find the main window and the settings window,
// and the private messages they receive.
#include <cstdint>

namespace orvika2 {

inline constexpr wchar_t kMainWindowTitle[] = L"Orvika2";
inline constexpr std::uint32_t WM_TRAY_NOTIFY = 0x0400 + 1;          // WM_USER + 1
inline constexpr std::uint32_t WM_SETTINGS_REFRESH = 0x0400 + 1000;  // WM_USER + 1000, sent with lParam 0
// The settings window is found by its caption, this string.
inline constexpr int kSettingsCaptionString = 100;

}  // namespace orvika2
