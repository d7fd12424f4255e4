#include <windows.h>

#include <algorithm>
#include <array>
#include <vector>

#include "settings/profile_store.h"

namespace orvika2 {
namespace {

class Win32ProfileStore final : public ProfileStore {
public:
    std::wstring Get(const std::wstring& path, std::wstring_view section, std::wstring_view key) override {
        std::array<wchar_t, kProfileValueMax + 1> buffer{};
        const DWORD length = GetPrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(), L"",
                                                      buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
        return std::wstring(buffer.data(), length);
    }

    bool Put(const std::wstring& path, std::wstring_view section, std::wstring_view key,
             std::wstring_view value) override {
        return WritePrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(),
                                          std::wstring(value).c_str(), path.c_str()) != FALSE;
    }

    std::vector<std::wstring> SectionNames(const std::wstring& path) override {
        // A list cut short by the buffer comes back with the length size - 2.
        std::vector<wchar_t> buffer(4096);
        DWORD length = 0;
        for (;;) {
            length = GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
            if (length + 2 < buffer.size()) break;
            buffer.resize(buffer.size() * 2);
        }
        std::vector<std::wstring> names;
        for (std::wstring_view rest(buffer.data(), length); !rest.empty();) {
            const auto end = std::min(rest.find(L'\0'), rest.size());
            names.emplace_back(rest.substr(0, end));
            rest.remove_prefix(std::min(end + 1, rest.size()));
        }
        return names;
    }
};

}  // namespace

std::unique_ptr<ProfileStore> MakePlatformProfileStore() { return std::make_unique<Win32ProfileStore>(); }

}  // namespace orvika2
