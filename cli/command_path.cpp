#include "cli/command_path.h"

#include <cwctype>

namespace orvika2 {
namespace {

bool IsWindowsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool HasDrive(std::wstring_view path) {
    return path.size() >= 2 && path[1] == L':' && std::iswalpha(path[0]);
}

bool SameDrive(std::wstring_view a, std::wstring_view b) {
    return HasDrive(a) && HasDrive(b) && std::towupper(a[0]) == std::towupper(b[0]);
}

std::wstring Joined(std::wstring_view directory, std::wstring_view relative, wchar_t separator) {
    std::wstring joined(directory);
    const bool endsWithSeparator =
        !joined.empty() && (joined.back() == separator || (separator == L'\\' && joined.back() == L'/'));
    if (!joined.empty() && !endsWithSeparator) joined += separator;
    return joined.append(relative);
}

std::wstring ResolveWindowsPath(std::wstring_view path, std::wstring_view start) {
    if (path.size() >= 2 && IsWindowsSeparator(path[0]) && IsWindowsSeparator(path[1])) return std::wstring(path);
    if (HasDrive(path)) {
        if (path.size() > 2 && IsWindowsSeparator(path[2])) return std::wstring(path);
        return SameDrive(path, start) ? Joined(start, path.substr(2), L'\\') : std::wstring(path);
    }
    if (!path.empty() && IsWindowsSeparator(path[0])) {
        return HasDrive(start) ? std::wstring(start.substr(0, 2)).append(path) : std::wstring(path);
    }
    return Joined(start, path, L'\\');
}

}  // namespace

std::wstring ResolveCommandPath(std::wstring_view path, const StartDirectory& start) {
    if (path.empty() || start.path.empty()) return std::wstring(path);
    if (start.style == PathStyle::Windows) return ResolveWindowsPath(path, start.path);
    if (path.front() == L'/') return std::wstring(path);
    return Joined(start.path, path, L'/');
}

}  // namespace orvika2
