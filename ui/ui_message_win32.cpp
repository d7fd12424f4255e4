#include "ui/ui_message_win32.h"

#include <cstdio>
#include <memory>
#include <string>

#include "platform/test_hooks.h"
#include "platform/text.h"
#include "ui/ui_language_win32.h"
#include "ui/window_messages.h"

namespace orvika2 {
namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

void LogMessage(int stringId, const std::wstring& text) {
    if constexpr (!kTestHooks) return;
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"ORVIKA2_MESSAGE_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::unique_ptr<FILE, FileCloser> file(_wfopen(path, L"ab"));
    if (!file) return;
    // One line a message: a line break of the text is logged as backslash-n.
    std::string line = std::to_string(stringId) + '\t';
    for (const char c : NarrowUtf8(text)) {
        if (c == '\n') line += "\\n";
        else if (c != '\r') line += c;
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), file.get());
}

}  // namespace

int ShowUiMessage(int stringId, UINT style, std::wstring_view suffix) {
    return ShowUiText(stringId, LoadUiString(stringId) + std::wstring(suffix), style);
}

int ShowUiText(int stringId, std::wstring_view text, UINT style) {
    const std::wstring shown(text);
    LogMessage(stringId, shown);
    return MessageBoxExW(nullptr, shown.c_str(), L"", style, UiLanguageId());
}

void SendRefresh(std::wstring_view windowTitle, WPARAM wParam) {
    const std::wstring title(windowTitle);
    if (HWND window = FindWindowW(nullptr, title.c_str())) SendMessageW(window, WM_SETTINGS_REFRESH, wParam, 0);
}

void RefreshMainWindow() { SendRefresh(kMainWindowTitle, 0); }

void RefreshSettingsWindow(WPARAM wParam) { SendRefresh(LoadUiString(IDS_SETTINGS_CAPTION), wParam); }

}  // namespace orvika2
