// Every control of every dialog has the name Windows' accessibility layer
// would give it, and the keyboard reaches it, in both languages.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/text.h"
#include "tests/win/accessible_names.h"
#include "tests/win/every_dialog.h"
#include "tests/win/window_display.h"

namespace orvika2 {
namespace {

std::string Listed(const std::string& where, const std::vector<std::wstring>& lines) {
    std::ostringstream list;
    for (const std::wstring& line : lines) list << "\n  " << where << ": " << NarrowUtf8(line);
    return list.str();
}

TEST(AccessibleNames, EveryControlOfEveryDialogIsNamedAndHasItsKeyInBothLanguages) {
    const UniqueWindow probe = ProbeWindowForDialogs();
    ORVIKA2_REQUIRE_WINDOW(probe);
    std::string unnamed;
    std::string keyboard;
    VisitEveryDialog([&](HWND dialog, const std::string& where) {
        const NamingWalk walk = WalkNames(dialog);
        EXPECT_GT(walk.controls, 0) << where << ": no control walked";
        unnamed += Listed(where, walk.offenders);
        keyboard += Listed(where, MnemonicFaults(dialog));
    });
    EXPECT_TRUE(unnamed.empty()) << "controls without a name:" << unnamed;
    EXPECT_TRUE(keyboard.empty()) << "keyboard faults:" << keyboard;
}

TEST(AccessibleNames, MnemonicIsTheLetterAfterASingleAmpersand) {
    const std::pair<const wchar_t*, wchar_t> cases[] = {
        {L"&Apply", L'A'},         {L"A&pply", L'P'},   {L"\u8A2D\u5B9A(&s)", L'S'},
        {L"Save && &quit", L'Q'},  {L"Tom && Jerry", 0}, {L"Apply", 0},
        {L"trailing &", 0},
    };
    for (const auto& [text, mnemonic] : cases) EXPECT_EQ(MnemonicOf(text), mnemonic) << NarrowUtf8(text);
}

}  // namespace
}  // namespace orvika2
