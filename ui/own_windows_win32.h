#pragma once
// Our own top-level windows, found by title among this process's windows
// only: another program's window may carry the same title (an Explorer
// window on a folder named "Orvika2").
#include <windows.h>

#include <string_view>

namespace orvika2 {

// The dialog box class of every window of ours that is looked up.
inline constexpr wchar_t kDialogClass[] = L"#32770";

// This process's top-level window of that title, and of `className` unless
// it is null; nullptr when there is none.
HWND FindOwnWindow(std::wstring_view title, const wchar_t* className = kDialogClass);

}  // namespace orvika2
