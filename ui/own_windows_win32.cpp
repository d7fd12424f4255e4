#include "ui/own_windows_win32.h"

#include <string>

namespace orvika2 {
namespace {

struct Search {
    std::wstring_view title;
    const wchar_t* className;
    HWND found = nullptr;
};

bool HasText(HWND window, std::wstring_view wanted, int (*read)(HWND, LPWSTR, int)) {
    std::wstring text(wanted.size() + 2, L'\0');
    const int length = read(window, text.data(), static_cast<int>(text.size()));
    return length >= 0 && std::wstring_view(text.data(), static_cast<std::size_t>(length)) == wanted;
}

int ReadClassName(HWND window, LPWSTR buffer, int size) { return GetClassNameW(window, buffer, size); }

BOOL CALLBACK Visit(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    if (search.className && !HasText(window, search.className, &ReadClassName)) return TRUE;
    if (!HasText(window, search.title, &GetWindowTextW)) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

HWND FindOwnWindow(std::wstring_view title, const wchar_t* className) {
    Search search{title, className};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace orvika2
