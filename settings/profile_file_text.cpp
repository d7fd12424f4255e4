#include "settings/profile_file_text.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "settings/profile_store.h"

namespace orvika2 {
namespace {

constexpr std::wstring_view kLineEnd = L"\r\n";

// The blanks the profile functions strip: Ctrl-Z counts, a no-break space
// does not.
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f' || c == 0x1A; }

std::wstring_view TrimLeading(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::wstring_view Trim(std::wstring_view s) {
    s = TrimLeading(s);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Only ASCII letters fold, as in the Win32 functions that Wine provides.
wchar_t FoldCase(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c; }

bool SameName(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) { return FoldCase(x) == FoldCase(y); });
}

enum class LineKind { Blank, Section, Entry };

struct Line {
    LineKind kind = LineKind::Blank;
    std::wstring_view name;                  // section or key name, trimmed
    std::optional<std::wstring_view> value;  // trimmed; none on a line without '='
    std::size_t begin = 0;
    std::size_t contentEnd = 0;  // where the line end starts
    std::size_t next = 0;        // where the following line starts
};

Line ParseLine(std::wstring_view text, std::size_t begin) {
    Line line;
    line.begin = begin;
    line.contentEnd = std::min(text.find_first_of(L"\r\n", begin), text.size());
    line.next = line.contentEnd;
    if (line.next < text.size()) line.next += text.substr(line.next, 2) == kLineEnd ? 2 : 1;

    const auto content = Trim(text.substr(begin, line.contentEnd - begin));
    if (content.empty()) return line;
    if (content.front() == L'[') {
        if (const auto close = content.rfind(L']'); close != std::wstring_view::npos) {
            line.kind = LineKind::Section;
            line.name = Trim(content.substr(1, close - 1));
            return line;
        }
    }
    line.kind = LineKind::Entry;
    const auto equals = content.find(L'=');
    if (equals == std::wstring_view::npos) {
        line.name = content;
    } else {
        line.name = Trim(content.substr(0, equals));
        line.value = Trim(content.substr(equals + 1));
    }
    return line;
}

std::vector<Line> SplitLines(std::wstring_view text) {
    std::vector<Line> lines;
    for (std::size_t at = 0; at < text.size(); at = lines.back().next) lines.push_back(ParseLine(text, at));
    return lines;
}

// The lines [begin, end) after the section line; the part before the first
// section line has no header.
struct SectionBody {
    std::optional<std::size_t> header;
    std::size_t begin = 0;
    std::size_t end = 0;
};

std::optional<SectionBody> FindSection(const std::vector<Line>& lines, std::wstring_view name) {
    SectionBody body;
    if (!name.empty()) {
        const auto header = std::ranges::find_if(
            lines, [&](const Line& line) { return line.kind == LineKind::Section && SameName(line.name, name); });
        if (header == lines.end()) return std::nullopt;
        body.header = static_cast<std::size_t>(header - lines.begin());
        body.begin = *body.header + 1;
    }
    body.end = body.begin;
    while (body.end < lines.size() && lines[body.end].kind != LineKind::Section) ++body.end;
    return body;
}

const Line* FindKey(const std::vector<Line>& lines, const SectionBody& body, std::wstring_view key) {
    for (std::size_t i = body.begin; i < body.end; ++i) {
        if (lines[i].kind == LineKind::Entry && SameName(lines[i].name, key)) return &lines[i];
    }
    return nullptr;
}

bool IsEnclosedInQuotes(std::wstring_view value) {
    return value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front();
}

std::wstring_view WithoutEnclosingQuotes(std::wstring_view value) {
    return IsEnclosedInQuotes(value) ? value.substr(1, value.size() - 2) : value;
}

// A NUL ends the text where the Win32 functions take it.
bool BreaksLines(std::wstring_view text) {
    return text.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring_view::npos;
}

// What fits a buffer of `maxUnits` units and a terminator. Where wchar_t is
// UTF-32, a character beyond the Basic Multilingual Plane takes two units.
std::wstring ClipToBuffer(std::wstring_view value, std::size_t maxUnits) {
    std::size_t units = 0;
    std::size_t kept = 0;
    for (; kept < value.size(); ++kept) {
        units += (static_cast<std::uint32_t>(value[kept]) >> 16) != 0 ? 2 : 1;
        if (units > maxUnits) break;
    }
    return std::wstring(value.substr(0, kept));
}

std::wstring EntryLine(std::wstring_view key, std::wstring_view value) {
    std::wstring line(key);
    line += L'=';
    line += value;
    return line;
}

}  // namespace

std::wstring ReadProfileValue(std::wstring_view text, std::wstring_view section, std::wstring_view key,
                              std::size_t maxUnits) {
    const auto lines = SplitLines(text);
    const auto body = FindSection(lines, Trim(section));
    if (!body) return {};
    const Line* entry = FindKey(lines, *body, Trim(key));
    if (!entry || !entry->value) return {};
    return ClipToBuffer(WithoutEnclosingQuotes(*entry->value), maxUnits);
}

bool IsStorableProfileEntry(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    if (BreaksLines(section) || BreaksLines(key) || BreaksLines(value)) return false;
    key = TrimLeading(key);
    if (key.find(L'=') != std::wstring_view::npos || key.starts_with(L'[')) return false;
    // As the first line of an 8-bit file, "ÿþ" would be read as the
    // UTF-16LE byte-order mark.
    return !(Trim(section).empty() && key.starts_with(L"\u00ff\u00fe"));
}

std::wstring StoredProfileValue(std::wstring_view value) {
    const bool altered = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsEnclosedInQuotes(value));
    if (!altered) return std::wstring(value);
    std::wstring quoted;
    quoted.reserve(value.size() + 2);
    quoted += L'"';
    quoted += value;
    quoted += L'"';
    return quoted;
}

std::vector<std::wstring> ReadProfileSectionNames(std::wstring_view text) {
    std::vector<std::wstring> names;
    for (const Line& line : SplitLines(text)) {
        if (line.kind == LineKind::Section && !line.name.empty()) names.emplace_back(line.name);
    }
    return names;
}

std::wstring WriteProfileValue(std::wstring_view text, std::wstring_view section, std::wstring_view key,
                               std::wstring_view value) {
    // Names and value lose their leading blanks, as the Win32 functions do it.
    section = TrimLeading(section);
    key = TrimLeading(key);
    value = TrimLeading(value);
    std::wstring result(text);
    const auto lines = SplitLines(text);
    const auto body = FindSection(lines, Trim(section));
    if (!body) {
        if (!result.empty() && result.back() != L'\n' && result.back() != L'\r') result += kLineEnd;
        result += L'[';
        result += section;
        result += L']';
        result += kLineEnd;
        result += EntryLine(key, value);
        result += kLineEnd;
        return result;
    }
    if (const Line* entry = FindKey(lines, *body, Trim(key))) {
        if (entry->value != value) {
            result.replace(entry->begin, entry->contentEnd - entry->begin, EntryLine(entry->name, value));
        }
        return result;
    }
    std::optional<std::size_t> anchor = body->header;
    for (std::size_t i = body->begin; i < body->end; ++i) {
        if (lines[i].kind != LineKind::Blank) anchor = i;
    }
    std::wstring added = EntryLine(key, value) + std::wstring(kLineEnd);
    if (!anchor) {
        result.insert(0, added);
        return result;
    }
    const Line& previous = lines[*anchor];
    if (previous.next == previous.contentEnd) added.insert(0, kLineEnd);  // the text ended without a line end
    result.insert(previous.next, added);
    return result;
}

std::wstring RemoveProfileValue(std::wstring_view text, std::wstring_view section, std::wstring_view key) {
    std::wstring result(text);
    const auto lines = SplitLines(text);
    const auto body = FindSection(lines, Trim(section));
    if (!body) return result;
    if (const Line* entry = FindKey(lines, *body, Trim(key))) result.erase(entry->begin, entry->next - entry->begin);
    return result;
}

}  // namespace orvika2
