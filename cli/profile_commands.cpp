#include <istream>
#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_context.h"
#include "platform/secure_memory.h"
#include "platform/text.h"
#include "profiles/account_name.h"
#include "profiles/profile_operations.h"
#include "settings/app_services.h"
#include "token/password_generator.h"
#include "ui/ui_strings.h"

namespace orvika2 {
namespace {

std::string English(int id) { return Utf8(EnglishString(id)); }

// A secret given as "-" comes from standard input, so it stays out of shell
// history; one line, without its line break.
std::optional<SecretWString> SecretArgument(const std::string& value, CliIo io) {
    SecretString text;
    if (value == "-") {
        if (!std::getline(io.in, text.get())) return std::nullopt;
        if (!text->empty() && text->back() == '\r') text->pop_back();
    } else {
        text.get() = value;
    }
    return SecretWString(WidenUtf8(text.get()));
}

unsigned PasswordClasses(const Arguments& args) {
    unsigned classes = 0;
    if (args.Has("letters")) classes |= kPasswordLetters;
    if (args.Has("digits")) classes |= kPasswordDigits;
    if (args.Has("special")) classes |= kPasswordSpecial;
    // The page starts with letters and digits checked.
    return classes ? classes : kPasswordLetters | kPasswordDigits;
}

std::optional<int> ProfileArgument(const Arguments& args) {
    const auto text = args.Value("profile");
    if (!text) return std::nullopt;
    const auto profile = ParseInteger(*text, 1, 2);
    if (!profile) return std::nullopt;
    return static_cast<int>(*profile);
}

// The --backup file, against the start directory.
std::optional<std::wstring> BackupPath(const Arguments& args, const StartDirectory& start) {
    const auto value = args.Value("backup");
    if (!value) return std::nullopt;
    return ResolveCommandPath(WidenUtf8(*value), start);
}

// What the page would show, as text on the terminal; the exit status follows.
int Show(const PageOutcome& outcome, const std::optional<std::wstring>& backupPath, ProfileStore& store, CliIo io) {
    if (outcome.balloonId) {
        io.err << English(outcome.balloonId) << "\n";
        return kExitFailure;
    }
    if (!outcome.applied || outcome.messageId == IDS_ENTRY_NOT_SAVED) {
        if (outcome.messageId) io.err << Utf8(outcome.MessageText(EnglishString)) << "\n";
        return kExitFailure;
    }
    if (!outcome.backup || !backupPath) {
        io.out << Utf8(outcome.MessageText(EnglishString)) << "\n";
        return kExitOk;
    }
    if (WriteProfileBackup(store, *backupPath, *outcome.backup) == BackupSaveOutcome::Saved) {
        io.out << English(IDS_BACKUP_SAVED) << "\n";
        return kExitOk;
    }
    io.err << English(IDS_BACKUP_NOT_SAVED) << "\n";
    return kExitFailure;
}

// The token, the configuration file and the token's section, as a profile
// page has them when it opens.
std::optional<ProfilePageContext> OpenPage(AppServices& services, int profile, CliIo io, int& exitStatus) {
    PlaceConfiguration(services);
    const std::wstring section = ReadSerialString(services.Token());
    if (section.empty()) {
        // Without the serial there is no section to record the profile in.
        exitStatus = ReportBusFailure(io, services.tokenBus, IDS_DEVICE_READ_ERROR);
        return std::nullopt;
    }
    return ProfilePageContext{services, section, profile};
}

int SetTotp(const Arguments& args, CliIo io, const StartDirectory& start, AppServices& services) {
    const auto profile = ProfileArgument(args);
    const auto secretValue = args.Value("secret");
    if (!profile || !secretValue) return ReportUsage(io);
    // Named as in the account-name dialog; without a name the entry stays
    // empty, as after importing a backup that has none.
    const std::wstring account = WidenUtf8(args.Value("account").value_or(""));
    if (args.Has("account")) {
        if (const int refusal = CheckAccountName(account)) return ReportMessage(io, refusal);
    }
    const auto backupPath = BackupPath(args, start);
    const auto secret = SecretArgument(*secretValue, io);
    if (!secret) return ReportUsage(io);
    int status = kExitOk;
    auto page = OpenPage(services, *profile, io, status);
    if (!page) return status;
    const auto outcome = WriteTwoStepProfile(*page, secret->get(), account, args.Has("touch"), backupPath.has_value());
    return Show(outcome, backupPath, services.store, io);
}

int SetStatic(const Arguments& args, CliIo io, const StartDirectory& start, AppServices& services) {
    const auto profile = ProfileArgument(args);
    const auto passwordValue = args.Value("password");
    const auto generateValue = args.Value("generate");
    if (!profile || passwordValue.has_value() == generateValue.has_value()) return ReportUsage(io);
    const auto backupPath = BackupPath(args, start);

    SecretWString password;
    if (passwordValue) {
        auto given = SecretArgument(*passwordValue, io);
        if (!given) return ReportUsage(io);
        password.get().swap(given->get());
    } else {
        auto generated = GeneratePagePassword(WidenUtf8(*generateValue), PasswordClasses(args));
        if (generated.messageId) return ReportMessage(io, generated.messageId);
        password.get().swap(generated.password.get());
    }
    int status = kExitOk;
    auto page = OpenPage(services, *profile, io, status);
    if (!page) return status;
    const auto outcome = WriteStaticProfile(*page, password.get(), backupPath.has_value());
    return Show(outcome, backupPath, services.store, io);
}

int Delete(const Arguments& args, CliIo io, AppServices& services) {
    const auto profile = ProfileArgument(args);
    if (!profile) return ReportUsage(io);
    if (!args.Has("yes")) {
        io.out << English(IDS_DELETE_PROFILE_QUESTION) << " [y/N] " << std::flush;
        std::string answer;
        if (!std::getline(io.in, answer) || (answer != "y" && answer != "Y" && answer != "yes")) {
            io.err << "Not deleted.\n";
            return kExitFailure;
        }
    }
    int status = kExitOk;
    auto page = OpenPage(services, *profile, io, status);
    if (!page) return status;
    const auto outcome = DeleteProfile(*page);
    return Show(outcome, std::nullopt, services.store, io);
}

int Import(const Arguments& args, CliIo io, const StartDirectory& start, AppServices& services) {
    const auto profile = ProfileArgument(args);
    if (!profile || args.Positional().size() != 1) return ReportUsage(io);
    const std::wstring backupPath = ResolveCommandPath(WidenUtf8(args.Positional()[0]), start);
    int status = kExitOk;
    auto page = OpenPage(services, *profile, io, status);
    if (!page) return status;
    ImportProfileBackup(
        *page, backupPath, [&] { return args.Has("touch"); },
        [&](const PageOutcome& outcome) {
            if (Show(outcome, std::nullopt, services.store, io) != kExitOk) status = kExitFailure;
        });
    return status;
}

int GeneratePassword(const Arguments& args, CliIo io) {
    if (args.Positional().size() != 1) return ReportUsage(io);
    const auto generated = GeneratePagePassword(WidenUtf8(args.Positional()[0]), PasswordClasses(args));
    if (generated.messageId) return ReportMessage(io, generated.messageId);
    SecretString text(Utf8(generated.password.get()));
    io.out << text.get() << "\n";
    return kExitOk;
}

}  // namespace

int RunProfileCommand(const std::string& command, const std::vector<std::string>& args, CliIo io,
                      const StartDirectory& start, AppServices& services) {
    std::optional<Arguments> parsed;
    if (command == "set-totp") {
        parsed = Arguments::Parse(args, {"profile", "secret", "account", "backup"}, {"touch"});
        if (!parsed || !parsed->Positional().empty()) return ReportUsage(io);
        return SetTotp(*parsed, io, start, services);
    }
    if (command == "set-static") {
        parsed = Arguments::Parse(args, {"profile", "password", "generate", "backup"}, {"letters", "digits", "special"});
        if (!parsed || !parsed->Positional().empty()) return ReportUsage(io);
        return SetStatic(*parsed, io, start, services);
    }
    if (command == "delete") {
        parsed = Arguments::Parse(args, {"profile"}, {"yes"});
        if (!parsed || !parsed->Positional().empty()) return ReportUsage(io);
        return Delete(*parsed, io, services);
    }
    if (command == "import") {
        parsed = Arguments::Parse(args, {"profile"}, {"touch"});
        if (!parsed) return ReportUsage(io);
        return Import(*parsed, io, start, services);
    }
    parsed = Arguments::Parse(args, {}, {"letters", "digits", "special"});
    if (!parsed) return ReportUsage(io);
    return GeneratePassword(*parsed, io);
}

}  // namespace orvika2
