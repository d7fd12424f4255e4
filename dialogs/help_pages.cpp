#include "dialogs/help_pages.h"

namespace orvika2 {
namespace {

struct HelpPage {
    std::wstring_view chinese;
    std::wstring_view english;
};

constexpr HelpPage kHelpPages[] = {
    {L"https://support.google.com/accounts/answer/185839", L"https://support.google.com/accounts/answer/185839"},
    {L"https://help.dropbox.com/zh-tw/account-access/enable-two-step-verification",
     L"https://help.dropbox.com/account-access/enable-two-step-verification"},
    {L"https://www.facebook.com/help/148233965247823", L"https://www.facebook.com/help/148233965247823"},
    {L"https://support.microsoft.com/zh-tw/account-billing/"
     L"how-to-use-two-step-verification-with-your-microsoft-account-c7910146-672f-01e9-50a0-93b4585e7eb4",
     L"https://support.microsoft.com/en-us/account-billing/"
     L"how-to-use-two-step-verification-with-your-microsoft-account-c7910146-672f-01e9-50a0-93b4585e7eb4"},
};

}  // namespace

std::wstring_view HelpPageUrl(int accountIndex, LanguageId language) {
    if (accountIndex < 0 || accountIndex >= static_cast<int>(std::size(kHelpPages))) return {};
    const HelpPage& page = kHelpPages[accountIndex];
    return language == kLangEnglish ? page.english : page.chinese;
}

}  // namespace orvika2
