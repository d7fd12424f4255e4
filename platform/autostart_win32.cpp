#include "platform/autostart_win32.h"

#include "platform/autostart_command.h"
#include "platform/executable_path_win32.h"
#include "platform/registry_win32.h"

namespace orvika2 {
namespace {

RegistryKey OpenRunKey(REGSAM access) {
    return RegistryKey::Open(HKEY_CURRENT_USER, std::wstring(kRunKeyPath), access);
}

const std::wstring kValueName(kAutostartValueName);

bool Known(const std::optional<std::wstring>& programPath) { return programPath && !programPath->empty(); }

}  // namespace

bool QueryAutostart() { return OpenRunKey(KEY_QUERY_VALUE).HasValue(kValueName); }

bool SetAutostart(bool enabled) { return SetAutostart(enabled, ExecutablePath()); }

bool SetAutostart(bool enabled, const std::optional<std::wstring>& programPath) {
    if (enabled && !Known(programPath)) return false;
    RegistryKey run = OpenRunKey(KEY_WRITE);
    return enabled ? run.WriteString(kValueName, AutostartCommand(*programPath)) : run.DeleteValue(kValueName);
}

void RefreshAutostart(const std::optional<std::wstring>& programPath) {
    if (!Known(programPath)) return;
    RegistryKey run = OpenRunKey(KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (run.HasValue(kValueName)) run.WriteString(kValueName, AutostartCommand(*programPath));
}

}  // namespace orvika2
