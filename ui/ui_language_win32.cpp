#include "ui/ui_language_win32.h"

#include <mutex>

#include "ui/ui_language.h"
#include "ui/ui_strings.h"

namespace orvika2 {
namespace {

struct LanguageChoice {
    std::mutex lock;
    std::wstring text;
};

LanguageChoice& Choice() {
    static LanguageChoice choice;
    return choice;
}

}  // namespace

void SetLanguageChoice(std::wstring choice) {
    std::lock_guard guard(Choice().lock);
    Choice().text = std::move(choice);
}

LanguageId UiLanguageId() {
    std::lock_guard guard(Choice().lock);
    return LanguageIdForChoice(Choice().text, GetUserDefaultLangID());
}

std::wstring ResourceString(HMODULE module, int id, LanguageId language) {
    if (id < 0 || id > 0xFFFF) return {};
    // A string table resource holds 16 strings, each preceded by its length.
    HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), StringTableLanguage(language));
    if (!block) return {};
    HGLOBAL loaded = LoadResource(module, block);
    const auto* data = static_cast<const wchar_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!data) return {};
    const DWORD size = SizeofResource(module, block) / sizeof(wchar_t);
    DWORD at = 0;
    for (int index = 0; index < id % 16; ++index) {
        if (at >= size) return {};
        at += 1 + data[at];
    }
    if (at >= size || at + 1 + data[at] > size) return {};
    return std::wstring(data + at + 1, data[at]);
}

std::wstring LoadUiString(int id) { return ShownText(ResourceString(GetModuleHandleW(nullptr), id, UiLanguageId())); }

}  // namespace orvika2
