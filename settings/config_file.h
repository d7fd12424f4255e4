#pragma once
// The per-user configuration file: its place, first-run placement, and the
// typed reads and writes of its keys. Nothing is cached: every read goes to
// the file and every write goes straight to it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/key_sequence.h"
#include "settings/app_environment.h"
#include "settings/profile_store.h"
#include "token/verification_code.h"

namespace orvika2 {

struct ConfigLocation {
    std::wstring file;          // <app data>\Orvika2\Orvika2Config.ini
    std::wstring templateFile;  // <working directory>\Orvika2Config.ini
};

// Runs at every start before anything reads the file; returns the paths.
ConfigLocation PlaceConfigurationFile(AppEnvironment& environment, ProfileStore& store);
// The paths without touching anything.
ConfigLocation LocateConfigurationFile(AppEnvironment& environment);

// Decimal conversion as the C runtime's atoi: leading blanks, a sign, digits
// up to the first non-digit; no digits gives 0.
int ParseDecimal(std::wstring_view text);
// A digits or period value: one to three decimal digits and nothing else.
std::optional<int> ParseShapeNumber(std::wstring_view text);

enum class HotkeyRole { VerificationCode, SwitchProfile };

// RegisterHotKey's modifier flags, the form the file stores.
inline constexpr int kModAlt = 0x01;
inline constexpr int kModControl = 0x02;
inline constexpr int kModShift = 0x04;
inline constexpr int kModWin = 0x08;

struct Hotkey {
    int virtualKey = 0;
    int modifiers = 0;  // kMod* flags
    friend bool operator==(const Hotkey&, const Hotkey&) = default;
};

inline constexpr Hotkey kDefaultCodeHotkey{'Q', kModControl};
inline constexpr Hotkey kDefaultSwitchHotkey{'S', kModAlt};

std::wstring_view HotkeySection(HotkeyRole role);
Hotkey ReadHotkey(ProfileStore& store, const std::wstring& file, HotkeyRole role);
// Key first, then modifiers.
void WriteHotkey(ProfileStore& store, const std::wstring& file, HotkeyRole role, Hotkey hotkey);
// The four default values, in the order the file lists them.
void WriteHotkeyDefaults(ProfileStore& store, const std::wstring& file);

// "zh-tw", "en", or whatever the file holds (empty when absent).
std::wstring ReadLanguageChoice(ProfileStore& store, const std::wstring& file);
void WriteLanguageChoice(ProfileStore& store, const std::wstring& file, std::wstring_view choice);

// Section "Typing", key "Method": "keypad" (also when absent or not a
// known name), "toprow" or "unicode".
TypingMethod ReadTypingMethod(ProfileStore& store, const std::wstring& file);
bool WriteTypingMethod(ProfileStore& store, const std::wstring& file, TypingMethod method);

// The sections of the file that hold settings rather than a token's profiles.
bool IsSettingsSection(std::wstring_view name);

// "Config1" / "Config2".
std::wstring_view ProfileEntryKey(int profile);
std::wstring ReadProfileEntry(ProfileStore& store, const std::wstring& file, const std::wstring& section, int profile);
bool WriteProfileEntry(ProfileStore& store, const std::wstring& file, const std::wstring& section, int profile,
                       std::wstring_view entry);

// The shape of a profile's codes beside its entry: "Digits1"/"Period1",
// "Digits2"/"Period2". An absent key, or one that holds no value in range,
// reads as the default, so a file from before the keys means 6 and 30.
CodeShape ReadCodeShape(ProfileStore& store, const std::wstring& file, const std::wstring& section, int profile);
// The entry and its shape as one change of the file; the default shape
// leaves no keys behind.
bool WriteProfileEntryAndShape(ProfileStore& store, const std::wstring& file, const std::wstring& section,
                               int profile, std::wstring_view entry, CodeShape shape);

}  // namespace orvika2
