#include "platform/autostart_command.h"

namespace orvika2 {

std::wstring AutostartCommand(std::wstring_view programPath) {
    return L'"' + std::wstring(programPath) + L'"';
}

std::wstring ProgramPathOfAutostartCommand(std::wstring_view command) {
    if (!command.starts_with(L'"')) return std::wstring(command);
    command.remove_prefix(1);
    return std::wstring(command.substr(0, command.find(L'"')));
}

}  // namespace orvika2
