#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/typing.h"
#include "platform/clipboard_win32.h"
#include "platform/process_integrity_win32.h"
#include "platform/text.h"
#include "platform/win32_handles_win32.h"
#include "tests/win/window_display.h"

namespace orvika2 {
namespace {

std::wstring ClipboardText() {
    if (!OpenClipboard(nullptr)) return L"<not opened>";
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

TEST(Clipboard, ACopiedCodeIsTakenOffOnlyWhileNothingHasReplacedIt) {
    const UniqueWindow owner(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr));
    ORVIKA2_REQUIRE_WINDOW(owner);

    const auto copied = PutClipboardText(owner.get(), L"123456");
    ASSERT_TRUE(copied);
    EXPECT_EQ(ClipboardText(), L"123456");
    // Kept out of clipboard history and cloud clipboard, and the sequence
    // is the one of the whole content.
    EXPECT_EQ(GetClipboardSequenceNumber(), *copied);
    ASSERT_TRUE(OpenClipboard(nullptr));
    for (const wchar_t* name : {kClipboardExcludeFromMonitors, kClipboardHistoryAllowed, kClipboardCloudAllowed}) {
        const HANDLE data = GetClipboardData(RegisterClipboardFormatW(name));
        ASSERT_TRUE(data) << "no clipboard format " << NarrowUtf8(name);
        const auto* value = static_cast<const DWORD*>(GlobalLock(data));
        EXPECT_TRUE(value && *value == 0) << NarrowUtf8(name);
        GlobalUnlock(data);
    }
    CloseClipboard();
    EXPECT_TRUE(ClearClipboardIfUnchanged(owner.get(), *copied));
    EXPECT_EQ(ClipboardText(), L"");

    // The user copies something else before the time is up: it stays.
    const auto again = PutClipboardText(owner.get(), L"654321");
    ASSERT_TRUE(again);
    ASSERT_TRUE(PutClipboardText(owner.get(), L"the user's own text"));
    EXPECT_FALSE(ClearClipboardIfUnchanged(owner.get(), *again));
    EXPECT_EQ(ClipboardText(), L"the user's own text");
}

TEST(ProcessIntegrity, OurOwnLevelIsReadAndDoesNotBlockUs) {
    const auto own = ProcessIntegrityLevel(GetCurrentProcessId());
    ASSERT_TRUE(own);
    EXPECT_GE(*own, 0x1000u);  // at least low: a real label, not a zero read
    EXPECT_FALSE(IntegrityBlocksTyping(ProcessIntegrityLevel(GetCurrentProcessId()), own));
    // The idle process cannot be opened: it counts as out of reach.
    EXPECT_FALSE(ProcessIntegrityLevel(0));
    EXPECT_TRUE(IntegrityBlocksTyping(ProcessIntegrityLevel(0), own));
}

}  // namespace
}  // namespace orvika2
