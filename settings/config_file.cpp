#include "settings/config_file.h"

#include <climits>
#include <cwctype>

#include "platform/autostart_command.h"
#include "settings/clock_correction.h"

namespace orvika2 {
namespace {

constexpr std::wstring_view kExecutableName = L"Orvika2.exe";
constexpr std::wstring_view kFolderName = L"Orvika2";
constexpr std::wstring_view kFileName = L"Orvika2Config.ini";
constexpr std::size_t kMaxPath = 260;

std::wstring RemoveAll(std::wstring text, std::wstring_view what) {
    for (auto at = text.find(what); at != std::wstring::npos; at = text.find(what, at)) text.erase(at, what.size());
    return text;
}

std::wstring Truncated(std::wstring text) {
    if (text.size() > kMaxPath) text.resize(kMaxPath);
    return text;
}

std::wstring ToDecimal(int value) { return std::to_wstring(value); }

}  // namespace

ConfigLocation LocateConfigurationFile(AppEnvironment& environment) {
    const wchar_t sep = environment.PathSeparator();
    const std::wstring folder = environment.AppDataFolder() + sep + std::wstring(kFolderName) + sep;
    return {folder + std::wstring(kFileName), Truncated(environment.WorkingDirectory()) + sep + std::wstring(kFileName)};
}

ConfigLocation PlaceConfigurationFile(AppEnvironment& environment, ProfileStore& store) {
    // The autostart value names the installed executable: its folder is where
    // the template lives, whatever directory the process was started in.
    if (const auto autostart = environment.AutostartValue()) {
        environment.SetWorkingDirectory(RemoveAll(ProgramPathOfAutostartCommand(*autostart), kExecutableName));
    }
    const wchar_t sep = environment.PathSeparator();
    const std::wstring folder = environment.AppDataFolder() + sep + std::wstring(kFolderName) + sep;
    if (!environment.IsDirectory(folder)) environment.CreateFolder(folder);

    const ConfigLocation location = LocateConfigurationFile(environment);
    if (environment.FileExists(location.file)) return location;
    if (environment.FileExists(location.templateFile) &&
        environment.CopyFileOver(location.templateFile, location.file)) {
        return location;
    }
    WriteHotkeyDefaults(store, location.file);
    return location;
}

int ParseDecimal(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::wstring_view HotkeySection(HotkeyRole role) {
    return role == HotkeyRole::VerificationCode ? L"HotKey_OTP" : L"HotKey_Switch";
}

Hotkey ReadHotkey(ProfileStore& store, const std::wstring& file, HotkeyRole role) {
    const auto section = HotkeySection(role);
    return {ParseDecimal(store.Get(file, section, L"VirtualKeyCode")), ParseDecimal(store.Get(file, section, L"fsModifiers"))};
}

void WriteHotkey(ProfileStore& store, const std::wstring& file, HotkeyRole role, Hotkey hotkey) {
    const auto section = HotkeySection(role);
    store.Put(file, section, L"VirtualKeyCode", ToDecimal(hotkey.virtualKey));
    store.Put(file, section, L"fsModifiers", ToDecimal(hotkey.modifiers));
}

void WriteHotkeyDefaults(ProfileStore& store, const std::wstring& file) {
    WriteHotkey(store, file, HotkeyRole::VerificationCode, kDefaultCodeHotkey);
    WriteHotkey(store, file, HotkeyRole::SwitchProfile, kDefaultSwitchHotkey);
}

std::wstring ReadLanguageChoice(ProfileStore& store, const std::wstring& file) {
    return store.Get(file, L"Language", L"ID");
}

void WriteLanguageChoice(ProfileStore& store, const std::wstring& file, std::wstring_view choice) {
    store.Put(file, L"Language", L"ID", choice);
}

TypingMethod ReadTypingMethod(ProfileStore& store, const std::wstring& file) {
    const std::wstring name = store.Get(file, L"Typing", L"Method");
    return ParseTypingMethod(std::string(name.begin(), name.end())).value_or(TypingMethod::Keypad);
}

bool WriteTypingMethod(ProfileStore& store, const std::wstring& file, TypingMethod method) {
    const std::string_view name = TypingMethodName(method);
    return store.Put(file, L"Typing", L"Method", std::wstring(name.begin(), name.end()));
}

bool IsSettingsSection(std::wstring_view name) {
    constexpr std::wstring_view kKnown[] = {L"HotKey_OTP", L"HotKey_Switch", L"Language", L"Typing", kClockSection};
    for (const std::wstring_view known : kKnown) {
        if (name == known) return true;
    }
    return false;
}

std::wstring_view ProfileEntryKey(int profile) { return profile == 2 ? L"Config2" : L"Config1"; }

std::wstring ReadProfileEntry(ProfileStore& store, const std::wstring& file, const std::wstring& section, int profile) {
    return store.Get(file, section, ProfileEntryKey(profile));
}

bool WriteProfileEntry(ProfileStore& store, const std::wstring& file, const std::wstring& section, int profile,
                       std::wstring_view entry) {
    return store.Put(file, section, ProfileEntryKey(profile), entry);
}

namespace {

std::wstring DigitsKey(int profile) { return profile == 2 ? L"Digits2" : L"Digits1"; }
std::wstring PeriodKey(int profile) { return profile == 2 ? L"Period2" : L"Period1"; }

}  // namespace

CodeShape ReadCodeShape(ProfileStore& store, const std::wstring& file, const std::wstring& section, int profile) {
    CodeShape shape;
    if (const auto digits = ParseShapeNumber(store.Get(file, section, DigitsKey(profile))); digits && DigitsInRange(*digits)) {
        shape.digits = *digits;
    }
    if (const auto period = ParseShapeNumber(store.Get(file, section, PeriodKey(profile))); period && PeriodInRange(*period)) {
        shape.periodSeconds = *period;
    }
    return shape;
}

bool WriteProfileEntryAndShape(ProfileStore& store, const std::wstring& file, const std::wstring& section,
                               int profile, std::wstring_view entry, CodeShape shape) {
    const std::wstring digitsKey = DigitsKey(profile);
    const std::wstring periodKey = PeriodKey(profile);
    const std::wstring digits = std::to_wstring(shape.digits);
    const std::wstring period = std::to_wstring(shape.periodSeconds);
    const bool plain = shape.IsDefault();
    const ProfileStore::Entry entries[] = {
        {ProfileEntryKey(profile), entry},
        {digitsKey, plain ? std::nullopt : std::optional<std::wstring_view>(digits)},
        {periodKey, plain ? std::nullopt : std::optional<std::wstring_view>(period)},
    };
    return store.PutAll(file, section, entries);
}

std::optional<int> ParseShapeNumber(std::wstring_view text) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of(L"0123456789") != std::wstring_view::npos) {
        return std::nullopt;
    }
    return ParseDecimal(text);
}

}  // namespace orvika2
