#pragma once
// Values in INI files with the Windows profile-file semantics. Two
// implementations: the Win32 functions themselves, and a portable engine.
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvika2 {

inline constexpr std::size_t kProfileValueMax = 259;

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // At most `maxLength` characters (259 unless a reader needs more); empty
    // when the file, section or key is missing.
    virtual std::wstring Get(const std::wstring& path, std::wstring_view section, std::wstring_view key,
                             std::size_t maxLength = kProfileValueMax) = 0;
    // Replaces the value, creating key, section and file as needed. False,
    // with the file as it was, when the file could not be written or the
    // entry cannot be stored as given (see IsStorableProfileEntry: a line
    // break or NUL anywhere, an '=' in the key, a key that would read as a
    // section line). A value reads back exactly as written, blanks and
    // quotes included.
    virtual bool Put(const std::wstring& path, std::wstring_view section, std::wstring_view key,
                     std::wstring_view value) = 0;

    // A value to write, or none to remove the key.
    struct Entry {
        std::wstring_view key;
        std::optional<std::wstring_view> value;
    };
    // Removes the key; true when it is gone (or was never there).
    virtual bool Remove(const std::wstring& path, std::wstring_view section, std::wstring_view key) = 0;
    // Several changes of one section as one change of the file: all of them
    // are made, or none is. This default suits stores that cannot fail
    // part-way, as one in memory; the file stores replace the file once.
    virtual bool PutAll(const std::wstring& path, std::wstring_view section, std::span<const Entry> entries) {
        for (const Entry& entry : entries) {
            const bool done = entry.value ? Put(path, section, entry.key, *entry.value) : Remove(path, section, entry.key);
            if (!done) return false;
        }
        return true;
    }
    // The file's section names in file order, as GetPrivateProfileSectionNamesW
    // lists them: trimmed, repeated names repeated, nameless sections left out;
    // none when the file is missing.
    virtual std::vector<std::wstring> SectionNames(const std::wstring& path) = 0;
};

// The portable engine.
std::unique_ptr<ProfileStore> MakePortableProfileStore();
// GetPrivateProfileStringW / WritePrivateProfileStringW on Windows, the
// portable engine elsewhere.
std::unique_ptr<ProfileStore> MakePlatformProfileStore();

}  // namespace orvika2
