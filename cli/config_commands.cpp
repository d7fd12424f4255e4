#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_context.h"
#include "platform/text.h"
#include "settings/clock_correction.h"
#include "settings/hotkey_name.h"

namespace orvika2 {
namespace {

// "Ctrl+Shift+Q (81, 6)": the name and the stored numbers.
std::string HotkeyText(const Hotkey& hotkey) {
    const std::string name = Utf8(HotkeyName(hotkey));
    if (hotkey.virtualKey == 0 && hotkey.modifiers == 0) return name;
    return name + " (" + std::to_string(hotkey.virtualKey) + ", " + std::to_string(hotkey.modifiers) + ")";
}

}  // namespace

int RunConfigCommand(const std::vector<std::string>& args, CliIo io, AppServices& services) {
    if (!args.empty()) return ReportUsage(io);
    // The application places the file at every start; so does the tool.
    PlaceConfiguration(services);
    ProfileStore& store = services.store;
    const ConfigLocation& config = services.config;
    io.out << "File: " << Utf8(config.file) << "\n";
    io.out << "Template: " << Utf8(config.templateFile) << "\n";
    io.out << "Verification code hotkey: " << HotkeyText(ReadHotkey(store, config.file, HotkeyRole::VerificationCode))
           << "\n";
    io.out << "Switch profile hotkey: " << HotkeyText(ReadHotkey(store, config.file, HotkeyRole::SwitchProfile))
           << "\n";
    const std::wstring language = ReadLanguageChoice(store, config.file);
    io.out << "Language: " << (language.empty() ? std::string("(system default)") : Utf8(language)) << "\n";
    io.out << "Clock correction: " << ClockCorrectionText(ReadClockCorrection(store, config.file)) << "\n";
    for (const std::wstring& section : store.SectionNames(config.file)) {
        if (IsSettingsSection(section)) continue;
        io.out << "Token " << Utf8(section) << ":\n";
        for (int profile = 1; profile <= 2; ++profile) {
            io.out << "  " << Utf8(std::wstring(ProfileEntryKey(profile))) << " = "
                   << Utf8(ReadProfileEntry(store, config.file, section, profile)) << "\n";
        }
    }
    return kExitOk;
}

int RunClockCommand(const std::vector<std::string>& args, CliIo io, AppServices& services) {
    const auto parsed = Arguments::Parse(args, {"set"}, {"clear"});
    if (!parsed || !parsed->Positional().empty() || (parsed->Has("set") && parsed->Has("clear"))) {
        return ReportUsage(io);
    }
    std::optional<std::int64_t> seconds;
    if (const auto text = parsed->Value("set")) {
        seconds = ParseClockCorrection(WidenUtf8(*text));
        if (!seconds) return ReportUsage(io);
    }
    if (parsed->Has("clear")) seconds = 0;
    if (seconds) {
        PlaceConfiguration(services);
        if (!WriteClockCorrection(services.store, services.config.file, *seconds)) {
            io.err << "The clock correction could not be saved in " << Utf8(services.config.file) << "\n";
            return kExitFailure;
        }
    }
    io.out << "Clock correction: " << ClockCorrectionText(ReadClockCorrection(services.store, services.config.file))
           << "\n";
    return kExitOk;
}

}  // namespace orvika2
