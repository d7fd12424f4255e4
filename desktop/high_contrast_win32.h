#pragma once
// Whether the user chose a high-contrast theme, read afresh on every call
// (the main window asks again on WM_SETTINGCHANGE).
namespace orvika2 {

bool HighContrastOn();

}  // namespace orvika2
