#pragma once
// The program's shell links on the desktop and in the Start menu.
#include <optional>
#include <string>

namespace orvika2 {

// The user's folders, not created when missing; empty when unknown.
std::wstring DesktopFolder();            // CSIDL_DESKTOPDIRECTORY
std::wstring StartMenuProgramsFolder();  // CSIDL_PROGRAMS

bool ShortcutExists(const std::wstring& linkPath);
// Creates or overwrites a link to the running program file, with its first
// icon; false when the program's path, the link object or its saving
// fails.
bool CreateShortcut(const std::wstring& linkPath);
// The same with the target given; without a target no link is made.
bool CreateShortcut(const std::wstring& linkPath, const std::optional<std::wstring>& programPath);
// Deletes the link and has the desktop reload; false, with nothing sent to
// the shell, when the file cannot be deleted.
bool RemoveShortcut(const std::wstring& linkPath);

}  // namespace orvika2
