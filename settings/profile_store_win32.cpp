#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/secure_memory.h"
#include "settings/profile_file_text.h"
#include "settings/profile_store.h"
#include "settings/profile_store_replacement.h"

namespace orvika2 {
namespace {

class Win32ProfileStore final : public ProfileStore {
public:
    std::wstring Get(const std::wstring& path, std::wstring_view section, std::wstring_view key,
                     std::size_t maxLength = kProfileValueMax) override {
        // A backup's value is a secret: the buffer is wiped, and sized so
        // that the value is its only copy.
        SecretWString buffer(std::wstring(maxLength + 1, L'\0'));
        const DWORD length = GetPrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(), L"",
                                                      buffer->data(), static_cast<DWORD>(buffer->size()), path.c_str());
        return std::wstring(buffer->data(), length);
    }

    bool Put(const std::wstring& path, std::wstring_view section, std::wstring_view key,
             std::wstring_view value) override {
        const Entry entry{key, value};
        return PutAll(path, section, {&entry, 1});
    }

    bool Remove(const std::wstring& path, std::wstring_view section, std::wstring_view key) override {
        const Entry entry{key, std::nullopt};
        return PutAll(path, section, {&entry, 1});
    }

    // The Win32 functions write a copy of the file, which then replaces it.
    bool PutAll(const std::wstring& path, std::wstring_view section, std::span<const Entry> entries) override {
        for (const Entry& entry : entries) {
            if (!IsStorableProfileEntry(section, entry.key, entry.value.value_or(L""))) return false;
        }
        auto replacement = FileReplacement::Begin(path);
        if (!replacement) return false;
        const std::wstring copy = replacement->temporary().wstring();
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
            !CopyFileW(path.c_str(), copy.c_str(), FALSE)) {
            return false;
        }
        const std::wstring sectionName(section);
        for (const Entry& entry : entries) {
            // A null value removes the key.
            const SecretWString stored(entry.value ? StoredProfileValue(*entry.value) : std::wstring());
            if (!WritePrivateProfileStringW(sectionName.c_str(), std::wstring(entry.key).c_str(),
                                            entry.value ? stored->c_str() : nullptr, copy.c_str())) {
                return false;
            }
        }
        return replacement->Commit();
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
