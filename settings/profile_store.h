#pragma once
// Values in INI files with the Windows profile-file semantics. Two
// implementations: the Win32 functions themselves, and a portable engine.
#include <memory>
#include <string>
#include <string_view>

namespace orvika2 {

inline constexpr std::size_t kProfileValueMax = 259;

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // At most 259 characters; empty when the file, section or key is missing.
    virtual std::wstring Get(const std::wstring& path, std::wstring_view section, std::wstring_view key) = 0;
    // Replaces the value, creating key, section and file as needed; false when
    // the file could not be written.
    virtual bool Put(const std::wstring& path, std::wstring_view section, std::wstring_view key,
                     std::wstring_view value) = 0;
};

// The portable engine.
std::unique_ptr<ProfileStore> MakePortableProfileStore();
// GetPrivateProfileStringW / WritePrivateProfileStringW on Windows, the
// portable engine elsewhere.
std::unique_ptr<ProfileStore> MakePlatformProfileStore();

}  // namespace orvika2
