#include "platform/autostart_win32.h"

#include "platform/executable_path_win32.h"
#include "platform/registry_win32.h"

namespace orvika2 {
namespace {

RegistryKey OpenRunKey(REGSAM access) {
    return RegistryKey::Open(HKEY_CURRENT_USER, std::wstring(kRunKeyPath), access);
}

const std::wstring kValueName(kAutostartValueName);

}  // namespace

bool QueryAutostart() { return OpenRunKey(KEY_QUERY_VALUE).HasValue(kValueName); }

bool SetAutostart(bool enabled) {
    RegistryKey run = OpenRunKey(KEY_WRITE);
    return enabled ? run.WriteString(kValueName, ExecutablePath()) : run.DeleteValue(kValueName);
}

void RefreshAutostart(const std::wstring& programPath) {
    RegistryKey run = OpenRunKey(KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (run.HasValue(kValueName)) run.WriteString(kValueName, programPath);
}

}  // namespace orvika2
