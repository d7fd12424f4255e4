// Arbitrary bytes read as a profile (INI) file, 8-bit or UTF-16LE: listing
// the sections and reading keys never fails, values fit the 260-unit buffer,
// and the decoded text survives being written back in its own encoding.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/profile_file_engine.h"
#include "settings/profile_file_text.h"
#include "settings/profile_store.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/utf16_units.h"

using orvika2::fuzzing::Require;
using orvika2::fuzzing::Utf16Units;

namespace {

// Every read parses the whole text again: a few names keep runs fast.
constexpr std::size_t kMaxNamesTried = 4;

bool IsLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f' || c == 0x1A; }

// Text before '=' on the first lines: names the file may well hold.
std::vector<std::wstring> KeyCandidates(std::wstring_view text) {
    std::vector<std::wstring> keys;
    while (!text.empty() && keys.size() < kMaxNamesTried) {
        const std::size_t end = std::min(text.find_first_of(L"\r\n"), text.size());
        const std::wstring_view line = text.substr(0, end);
        keys.emplace_back(line.substr(0, line.find(L'=')));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    keys.emplace_back(L"Version");
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the encoding, so both are fuzzed from any seed.
    std::string bytes = (data[0] & 1) ? "\xFF\xFE" : "";
    bytes.append(reinterpret_cast<const char*>(data + 1), size - 1);

    const orvika2::ProfileFileText file = orvika2::DecodeProfileFile(bytes);
    const orvika2::ProfileFileText again = orvika2::DecodeProfileFile(orvika2::EncodeProfileFile(file));
    Require(again.encoding == file.encoding && again.text == file.text, "decoded text re-encodes to itself");

    std::vector<std::wstring> sections = orvika2::ReadProfileSectionNames(file.text);
    for (const std::wstring& name : sections) {
        Require(!name.empty() && !IsBlank(name.front()) && !IsBlank(name.back()), "section names trimmed, not empty");
        Require(std::ranges::none_of(name, IsLineBreak), "a section name stays on its line");
    }
    if (sections.size() > kMaxNamesTried) sections.resize(kMaxNamesTried);
    sections.emplace_back();  // the part before the first section line
    for (const std::wstring& section : sections) {
        for (const std::wstring& key : KeyCandidates(file.text)) {
            const std::wstring value = orvika2::ReadProfileValue(file.text, section, key);
            Require(Utf16Units(value) <= orvika2::kProfileValueMax, "a value fits 259 units");
            Require(std::ranges::none_of(value, IsLineBreak), "a value stays on its line");
        }
    }
    return 0;
}
