#include "cli/cli.h"

#include <cstdlib>
#include <ostream>

#include "cli/cli_context.h"
#include "platform/text.h"
#include "platform/token_bus_select.h"
#include "resources/string_ids.h"
#include "ui/ui_strings.h"

namespace orvika2 {
namespace {

constexpr const char* kUsage =
    "usage: orvika2ctl COMMAND [OPTIONS]\n"
    "\n"
    "Token (ORVIKA2_TOKEN unset: the USB token; sim:PATH: the simulated token in PATH):\n"
    "  status                                  presence, firmware, serial and both profiles\n"
    "  code [--profile 1|2] [--at UNIX_SECONDS] [--type [--method keypad|toprow|unicode]]\n"
    "                                          the current verification code\n"
    "\n"
    "Profiles (a secret is read from standard input with -, from the first line of a file with\n"
    "--secret-file or --password-file, or asked without echo on a terminal when none is given;\n"
    "on the command line itself other users can read it):\n"
    "  set-totp --profile N [--secret -|--secret-file FILE] [--digits 6|7|8] [--period 10..120]\n"
    "           [--touch] [--account NAME] [--backup FILE [--passphrase-file FILE]]\n"
    "  set-totp --profile N --uri LINK|-|--uri-file FILE [--touch] [--account NAME] [--backup ...]\n"
    "                                          an otpauth://totp/ link: its key, digits and period,\n"
    "                                          and its issuer or label as the account name\n"
    "  set-static --profile N [--password -|--password-file FILE | --generate LEN [--letters] [--digits]\n"
    "             [--special]] [--backup FILE [--passphrase-file FILE]]\n"
    "  delete --profile N [--yes]\n"
    "  import --profile N FILE [--touch] [--passphrase-file FILE]\n"
    "                                          apply a profile backup file\n"
    "  A backup is protected by a passphrase (asked twice on a terminal, or the first line of\n"
    "  --passphrase-file); without either it is written in plain text, and said so.\n"
    "  generate-password LEN [--letters] [--digits] [--special]\n"
    "  config                                  the configuration file and what it holds\n"
    "  clock [--set SECONDS | --clear]         the correction added to this computer's clock for\n"
    "                                          codes (code --at ignores it)\n"
    "\n"
    "Simulated token:\n"
    "  sim create PATH [--serial HEX8] [--firmware X.Y.Z] [--touch1] [--touch2]\n"
    "                  [--totpN B32|-|--totpN-file FILE] [--staticN TEXT|-|--staticN-file FILE] (N: 1, 2)\n"
    "  sim touch PATH                          touch the token's button\n"
    "  sim press PATH --profile N              what the token would type\n"
    "  sim show PATH                           what the token holds\n"
    "  sim set PATH [--auto-touch MS|off] [--busy-gets N] [--fail-send N] [--fail-get N]\n"
    "               [--vanish-after N] [--stuck-busy] [--bad-checksum] [--clear-faults]\n";

}  // namespace

std::string Utf8(const std::wstring& text) { return NarrowUtf8(text); }

int ReportMessage(CliIo io, int stringId) {
    io.err << Utf8(EnglishString(stringId)) << "\n";
    return kExitFailure;
}

int ReportBusFailure(CliIo io, const HidBus& bus, int stringId) {
    const std::string advice = bus.FailureAdvice();
    if (advice.empty()) return ReportMessage(io, stringId);
    io.err << advice << "\n";
    return kExitFailure;
}

int ReportUsage(CliIo io) {
    io.err << kUsage;
    return kExitUsage;
}

std::unique_ptr<PlatformServices> MakeCliServices() {
    auto platform = std::make_unique<PlatformServices>(std::getenv(kTokenSelectionVariable),
                                                       [](int id) { return EnglishString(id); });
    if (!platform->TokenSettingValid()) return nullptr;
    return platform;
}

int ReportInvalidTokenSetting(CliIo io) {
    ReportMessage(io, IDS_BAD_TOKEN_SETTING);
    return kExitUsage;
}

int RunCli(const std::vector<std::string>& args, CliIo io, const StartDirectory& start, AppServices& services) {
    if (args.empty()) return ReportUsage(io);
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "status" || command == "code") return RunTokenCommand(command, rest, io, services);
    if (command == "sim") return RunSimCommand(rest, io, start);
    if (command == "set-totp" || command == "set-static" || command == "delete" || command == "import" ||
        command == "generate-password") {
        return RunProfileCommand(command, rest, io, start, services);
    }
    if (command == "config") return RunConfigCommand(rest, io, services);
    if (command == "clock") return RunClockCommand(rest, io, services);
    if (command == "help" || command == "--help") {
        io.out << kUsage;
        return kExitOk;
    }
    return ReportUsage(io);
}

}  // namespace orvika2
