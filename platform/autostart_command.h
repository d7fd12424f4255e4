#pragma once
// The data of the autostart value. The system runs it as a command line, so
// the program's path is quoted: unquoted, "C:\Program Files\..." would start
// "C:\Program" if such a file existed. Values written unquoted by earlier
// versions are still understood.
#include <string>
#include <string_view>

namespace orvika2 {

// `programPath` in double quotes.
std::wstring AutostartCommand(std::wstring_view programPath);
// The program path the value names: the quoted part of a quoted value, the
// whole data of an unquoted one (spaces and all, as it was written).
std::wstring ProgramPathOfAutostartCommand(std::wstring_view command);

}  // namespace orvika2
