#include "platform/registry_win32.h"

#include <vector>

#include "platform/registry_data.h"

namespace orvika2 {

RegistryKey RegistryKey::Open(HKEY root, const std::wstring& subkey, REGSAM access) {
    HKEY key = nullptr;
    return RegistryKey(RegOpenKeyExW(root, subkey.c_str(), 0, access, &key) == ERROR_SUCCESS ? key : nullptr);
}

RegistryKey RegistryKey::Create(HKEY root, const std::wstring& subkey, REGSAM access) {
    HKEY key = nullptr;
    const LSTATUS status =
        RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    return RegistryKey(status == ERROR_SUCCESS ? key : nullptr);
}

bool RegistryKey::HasValue(const std::wstring& name) const {
    return key_ && RegQueryValueExW(key_.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<std::wstring> RegistryKey::ReadString(const std::wstring& name) const {
    if (!key_) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::size_t units = size / sizeof(wchar_t);
    return std::wstring(data.data(), wcsnlen(data.data(), units));
}

std::optional<DWORD> RegistryKey::ReadDword(const std::wstring& name) const {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (!key_ || RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                     ERROR_SUCCESS ||
        type != REG_DWORD) {
        return std::nullopt;
    }
    return value;
}

bool RegistryKey::WriteString(const std::wstring& name, std::wstring_view value) {
    const std::wstring data(value);
    return key_ && RegSetValueExW(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                  RegSzDataBytes(data.size())) == ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const std::wstring& name) {
    return key_ && RegDeleteValueW(key_.get(), name.c_str()) == ERROR_SUCCESS;
}

}  // namespace orvika2
