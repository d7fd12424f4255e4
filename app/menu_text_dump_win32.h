#pragma once
// A diagnostic for the desktop tests: with ORVIKA2_MENU_DUMP set to a file
// path, the popup menu's items are written there, as the menu shows them,
// each time it opens. The texts live in this process's menu, which no other
// process can read.
#include <windows.h>

#include <optional>
#include <string>

namespace orvika2 {

std::optional<std::wstring> MenuDumpPath();

// One UTF-8 line per item: command id, GetMenuState value, text; the items
// of a submenu follow their parent, indented by a tab.
void DumpMenuTexts(HMENU menu, const std::wstring& path);

}  // namespace orvika2
