#pragma once
// The program's shell links on the desktop and in the Start menu.
#include <string>

namespace orvika2 {

// The user's folders, not created when missing; empty when unknown.
std::wstring DesktopFolder();            // CSIDL_DESKTOPDIRECTORY
std::wstring StartMenuProgramsFolder();  // CSIDL_PROGRAMS

bool ShortcutExists(const std::wstring& linkPath);
// Creates or overwrites a link to the running program file, with its first
// icon; false when the link object cannot be had or saved.
bool CreateShortcut(const std::wstring& linkPath);
// Deletes the link and has the desktop reload; false, with nothing sent to
// the shell, when the file cannot be deleted.
bool RemoveShortcut(const std::wstring& linkPath);

}  // namespace orvika2
