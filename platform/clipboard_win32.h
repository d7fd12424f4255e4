#pragma once
// Text on the clipboard for a while: put there, and taken off again only if
// nothing has replaced it since.
#include <windows.h>

#include <optional>
#include <string_view>

namespace orvika2 {

// Registered clipboard formats that keep content out of clipboard history,
// cloud clipboard and clipboard monitors.
inline constexpr wchar_t kClipboardExcludeFromMonitors[] = L"ExcludeClipboardContentFromMonitorProcessing";
inline constexpr wchar_t kClipboardHistoryAllowed[] = L"CanIncludeInClipboardHistory";
inline constexpr wchar_t kClipboardCloudAllowed[] = L"CanUploadToCloudClipboard";

// Makes `text` the clipboard's only content, owned by `owner`; the
// clipboard's sequence number afterwards, nullopt when it could not be done.
std::optional<DWORD> PutClipboardText(HWND owner, std::wstring_view text);

// Wipes and empties the clipboard when its sequence number is still
// `sequence` and `owner` still owns it; true when it did.
bool ClearClipboardIfUnchanged(HWND owner, DWORD sequence);

}  // namespace orvika2
