#include "ui/ui_strings.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace orvika2 {
namespace {

struct RawEntry {
    int id;
    std::string_view english;
    std::string_view chinese;
};

constexpr RawEntry kRawEntries[] = {
#define ORVIKA2_STRING(id, symbol, en, zh) {id, en, zh},
#include "resources/strings.inc"
#undef ORVIKA2_STRING
};
// UiString searches by bisection.
static_assert(std::ranges::is_sorted(kRawEntries, {}, &RawEntry::id));

struct Entry {
    int id;
    std::wstring english;
    std::wstring chinese;
};

const std::vector<Entry>& Table() {
    static const std::vector<Entry> table = [] {
        std::vector<Entry> entries;
        entries.reserve(std::size(kRawEntries));
        for (const auto& raw : kRawEntries) {
            entries.push_back({raw.id, WidenUtf8(raw.english), WidenUtf8(raw.chinese)});
        }
        return entries;
    }();
    return table;
}

}  // namespace

const std::wstring& UiString(int id, LanguageId language) {
    static const std::wstring empty;
    const auto& table = Table();
    const auto it = std::lower_bound(table.begin(), table.end(), id,
                                     [](const Entry& e, int wanted) { return e.id < wanted; });
    if (it == table.end() || it->id != id) return empty;
    return language == kLangTraditionalChinese ? it->chinese : it->english;
}

std::wstring ShownText(std::wstring_view stored) {
    std::wstring shown;
    shown.reserve(stored.size());
    for (std::size_t at = 0; at < stored.size();) {
        if (stored.substr(at, 4) == L"\\r\\n") {
            shown += L"\r\n";
            at += 4;
        } else if (stored.substr(at, 2) == L"\\n") {
            shown += L"\r\n";
            at += 2;
        } else {
            shown += stored[at++];
        }
    }
    return shown;
}

const std::wstring& EnglishString(int id) { return UiString(id, kLangEnglish); }

std::wstring FillPlaceholder(std::wstring text, std::wstring_view marker, std::wstring_view value) {
    for (auto at = text.find(marker); at != std::wstring::npos; at = text.find(marker, at + value.size())) {
        text.replace(at, marker.size(), value);
    }
    return text;
}

}  // namespace orvika2
