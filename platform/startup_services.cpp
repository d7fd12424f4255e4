#include "platform/startup_services.h"

namespace orvika2 {

std::wstring ShortcutFile(std::wstring_view folder) { return std::wstring(folder) + L"\\Orvika2.lnk"; }

}  // namespace orvika2
