// A value that the portable store accepts, written into a file of any text,
// reads back exactly as written (within the 259-character read limit), and
// every value of every other entry reads as before; a value it refuses
// leaves the file's bytes alone.
//
// Input: three length bytes (section, key, value), then the section, key and
// value as 8-bit text, then the file's existing bytes.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "settings/profile_file_engine.h"
#include "settings/profile_file_text.h"
#include "settings/profile_store.h"
#include "settings/windows1252.h"

namespace {

using orvika2::DecodeProfileFile;
using orvika2::ReadProfileValue;

void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", property);
        std::abort();
    }
}

const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string name = (std::filesystem::temp_directory_path() / "orvika2_roundtrip_XXXXXX").string();
        Require(mkdtemp(name.data()) != nullptr, "a scratch folder can be made");
        return std::filesystem::path(name);
    }();
    return folder;
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\v' || c == L'\f' || c == 0x1A; }

std::wstring_view Trim(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    const auto fold = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

// Every name a line of the text could give a section or a key.
std::vector<std::wstring> NamesIn(std::wstring_view text) {
    std::vector<std::wstring> names{L""};
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of(L"\r\n"), text.size());
        const std::wstring_view line = Trim(text.substr(0, end));
        names.emplace_back(Trim(line.substr(0, line.find(L'='))));
        if (line.starts_with(L'[') && line.find(L']') != std::wstring_view::npos) {
            names.emplace_back(Trim(line.substr(1, line.rfind(L']') - 1)));
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::size_t sectionSize = data[0] % 32, keySize = data[1] % 32, valueSize = data[2];
    if (size < 3 + sectionSize + keySize + valueSize) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 3, size - 3);
    const std::wstring section = orvika2::DecodeWindows1252(input.substr(0, sectionSize));
    const std::wstring key = orvika2::DecodeWindows1252(input.substr(sectionSize, keySize));
    const std::wstring value = orvika2::DecodeWindows1252(input.substr(sectionSize + keySize, valueSize));
    const std::string before(input.substr(sectionSize + keySize + valueSize));

    const std::filesystem::path file = ScratchFolder() / "t.ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(before.data(), static_cast<std::streamsize>(before.size()));
    const auto store = orvika2::MakePortableProfileStore();
    if (!store->Put(orvika2::WideFromPath(file), section, key, value)) {
        Require(ReadBytes(file) == before, "a refused value leaves the file alone");
        return 0;
    }
    const std::wstring oldText = DecodeProfileFile(before).text;
    const std::wstring newText = DecodeProfileFile(ReadBytes(file)).text;
    Require(ReadProfileValue(newText, section, key) == value.substr(0, orvika2::kProfileValueMax),
            "the value reads back as written");

    const std::vector<std::wstring> names = NamesIn(oldText);
    for (const auto& otherSection : names) {
        for (const auto& otherKey : names) {
            if (SameName(otherSection, section) && SameName(otherKey, key)) continue;
            Require(ReadProfileValue(newText, otherSection, otherKey) == ReadProfileValue(oldText, otherSection, otherKey),
                    "every other entry reads as before");
        }
    }
    std::filesystem::remove(file);
    return 0;
}
