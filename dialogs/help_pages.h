#pragma once
// The services' help pages on 2-step verification, offered when an account
// entry of the profile page is selected.
#include <string_view>

#include "ui/ui_strings.h"

namespace orvika2 {

// Entries 0 to 3 of the account list (Google, Dropbox, Facebook,
// WindowsLive); empty for any other entry. Dropbox and Microsoft have an
// English page for English and a Traditional Chinese one otherwise.
std::wstring_view HelpPageUrl(int accountIndex, LanguageId language);

}  // namespace orvika2
