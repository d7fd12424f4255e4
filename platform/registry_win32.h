#pragma once
// An open registry key, closed with its owner, and the value operations the
// application needs.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32_handles_win32.h"

namespace orvika2 {

class RegistryKey {
public:
    RegistryKey() = default;
    // An existing key; empty when it cannot be opened with `access`.
    static RegistryKey Open(HKEY root, const std::wstring& subkey, REGSAM access);
    // Opens the key, creating it first when missing.
    static RegistryKey Create(HKEY root, const std::wstring& subkey, REGSAM access);

    explicit operator bool() const { return static_cast<bool>(key_); }
    HKEY get() const { return key_.get(); }

    // The value exists; its data is not read.
    bool HasValue(const std::wstring& name) const;
    // REG_SZ or REG_EXPAND_SZ data up to its first NUL, which it need not have.
    std::optional<std::wstring> ReadString(const std::wstring& name) const;
    // REG_DWORD data.
    std::optional<DWORD> ReadDword(const std::wstring& name) const;
    // REG_SZ with the terminating NUL.
    bool WriteString(const std::wstring& name, std::wstring_view value);
    bool DeleteValue(const std::wstring& name);

private:
    explicit RegistryKey(HKEY key) : key_(key) {}
    UniqueRegistryKey key_;
};

}  // namespace orvika2
