#pragma once
// The interface language of this process and the string lookup in it.
#include <windows.h>

#include <string>

#include "ui/ui_strings.h"

namespace orvika2 {

// The configuration's language choice, read once at start-up. Process-wide:
// every window, message box and worker thread asks UiLanguageId().
void SetLanguageChoice(std::wstring choice);

// Computed on every call from the choice and the user's default language.
LanguageId UiLanguageId();

// String `id` of the module's string table in the table that serves
// `language`, looked up explicitly rather than through the thread's
// language; empty when the id is missing.
std::wstring ResourceString(HMODULE module, int id, LanguageId language);

// String `id` of the executable in the interface language.
std::wstring LoadUiString(int id);

}  // namespace orvika2
