#include "app/menu_text_dump_win32.h"

#include <string>

#include "platform/test_hooks.h"
#include "platform/win32_handles_win32.h"
#include "platform/text.h"

namespace orvika2 {
namespace {

void AppendItems(HMENU menu, const std::string& indent, std::string& out) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        wchar_t text[256] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = text;
        item.cch = static_cast<UINT>(std::size(text));
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item)) continue;
        if (item.fType & MFT_SEPARATOR) {
            out += indent + "-\n";
            continue;
        }
        const UINT state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & 0xFF;
        out += indent + std::to_string(item.hSubMenu ? 0 : item.wID) + '\t' + std::to_string(state) + '\t' +
               NarrowUtf8(text) + '\n';
        if (item.hSubMenu) AppendItems(item.hSubMenu, indent + '\t', out);
    }
}

}  // namespace

std::optional<std::wstring> MenuDumpPath() {
    if constexpr (!kTestHooks) return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"ORVIKA2_MENU_DUMP", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    return std::wstring(path, length);
}

void DumpMenuTexts(HMENU menu, const std::wstring& path) {
    std::string out;
    AppendItems(menu, "", out);
    HANDLE opened = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return;
    UniqueKernelHandle file(opened);
    DWORD written = 0;
    WriteFile(file.get(), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

}  // namespace orvika2
