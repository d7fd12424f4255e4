#pragma once
// The per-user autostart entry: value "Orvika2" of the Run key, holding the
// running program file's full path in quotes.
#include <optional>
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
// The same with the program's path given; enabling without a path fails.
bool SetAutostart(bool enabled, const std::optional<std::wstring>& programPath);
// An existing value is set again to the program file's path, so it follows
// the program when it moves; without a value nothing is written. Silent.
void RefreshAutostart();
// The same with the program's path given; without a path nothing changes.
void RefreshAutostart(const std::optional<std::wstring>& programPath);

}  // namespace orvika2
