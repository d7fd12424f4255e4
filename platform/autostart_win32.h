#pragma once
// The per-user autostart entry: value "Orvika2" of the Run key, holding the
// running program file's full path.
#include <string>
#include <string_view>

namespace orvika2 {

inline constexpr std::wstring_view kRunKeyPath = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::wstring_view kAutostartValueName = L"Orvika2";

// The value exists.
bool QueryAutostart();
// Sets the value to the program file's path, or deletes it; false when the
// key cannot be opened or the change is refused (deleting an absent value
// included).
bool SetAutostart(bool enabled);
// An existing value is set again to the program file's path, so it follows
// the program when it moves; without a value nothing is written. Silent.
void RefreshAutostart();
// The same with the program's path given.
void RefreshAutostart(const std::wstring& programPath);

}  // namespace orvika2
