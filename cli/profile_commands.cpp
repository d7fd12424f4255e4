#include <istream>
#include <utility>
#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_context.h"
#include "cli/secret_input.h"
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

// Where --backup writes, and the passphrase that protects it (none: plain).
struct BackupTarget {
    std::wstring path;
    std::optional<SecretString> passphrase;
};

// The --backup file against the start directory, with its passphrase. Asked
// before the token is touched, so that a refusal changes nothing.
std::optional<BackupTarget> BackupTargetOf(const Arguments& args, const StartDirectory& start, CliIo io,
                                           SecretRefusal& refusal) {
    refusal = {kExitOk};
    const auto value = args.Value("backup");
    if (!value) {
        if (args.Has("passphrase-file")) refusal = {ReportUsage(io)};
        return std::nullopt;
    }
    BackupTarget target{ResolveCommandPath(WidenUtf8(*value), start), std::nullopt};
    target.passphrase = ReadNewBackupPassphrase(args, start, io, refusal);
    if (refusal.exitStatus != kExitOk) return std::nullopt;
    return target;
}

// What the page would show, as text on the terminal; the exit status follows.
int Show(const PageOutcome& outcome, const std::optional<BackupTarget>& backup, ProfileStore& store, CliIo io) {
    if (outcome.balloonId) {
        io.err << English(outcome.balloonId) << "\n";
        return kExitFailure;
    }
    if (!outcome.applied || !outcome.entrySaved) {
        if (outcome.messageId && (!outcome.backup || !backup)) {
            io.err << Utf8(outcome.MessageText(EnglishString)) << "\n";
        }
        if (!outcome.applied) return kExitFailure;
    }
    if (!outcome.backup || !backup) {
        if (outcome.entrySaved) io.out << Utf8(outcome.MessageText(EnglishString)) << "\n";
        return outcome.entrySaved ? kExitOk : kExitFailure;
    }
    // Written even when the entry failed: it may be the only copy of the secret.
    const bool saved =
        WriteProfileBackup(store, backup->path, *outcome.backup, backup->passphrase) == BackupSaveOutcome::Saved;
    const bool fine = saved && outcome.entrySaved;
    for (const int message : BackupOfferMessages(saved ? BackupOfferResult::Saved : BackupOfferResult::WriteFailed,
                                                 outcome.entrySaved)) {
        (fine ? io.out : io.err) << English(message) << "\n";
    }
    return fine ? kExitOk : kExitFailure;
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

// --digits and --period of a plain key; the write refuses values out of range.
std::optional<CodeShape> ShapeArguments(const Arguments& args) {
    CodeShape shape;
    for (auto [name, value] : {std::pair{"digits", &shape.digits}, std::pair{"period", &shape.periodSeconds}}) {
        if (const auto text = args.Value(name)) {
            const auto number = ParseInteger(*text, 0, 999);
            if (!number) return std::nullopt;
            *value = static_cast<int>(*number);
        }
    }
    return shape;
}

int SetTotp(const Arguments& args, CliIo io, const StartDirectory& start, AppServices& services) {
    const auto profile = ProfileArgument(args);
    if (!profile) return ReportUsage(io);
    // A link states its own key and shape.
    const bool byLink = args.Has("uri") || args.Has("uri-file");
    const bool byKey = args.Has("secret") || args.Has("secret-file");
    if (byLink && (byKey || args.Has("digits") || args.Has("period"))) return ReportUsage(io);
    const auto shape = ShapeArguments(args);
    if (!shape) return ReportUsage(io);
    // Named as in the account-name dialog; without a name the entry stays
    // empty, as after importing a backup that has none.
    const std::wstring account = WidenUtf8(args.Value("account").value_or(""));
    if (args.Has("account")) {
        if (const int refusal = CheckAccountName(account)) return ReportMessage(io, refusal);
    }
    SecretRefusal refusal{kExitOk};
    const auto secret = byLink ? ReadSecretOption(args, "uri", "otpauth link: ", start, io, refusal)
                               : ReadSecretOption(args, "secret", "Secret key (Base32): ", start, io, refusal);
    if (!secret) return refusal.exitStatus;
    const auto backup = BackupTargetOf(args, start, io, refusal);
    if (refusal.exitStatus != kExitOk) return refusal.exitStatus;
    int status = kExitOk;
    auto page = OpenPage(services, *profile, io, status);
    if (!page) return status;
    const auto outcome =
        WriteTwoStepProfile(*page, secret->get(), account, args.Has("touch"), backup.has_value(), *shape);
    return Show(outcome, backup, services.store, io);
}

int SetStatic(const Arguments& args, CliIo io, const StartDirectory& start, AppServices& services) {
    const auto profile = ProfileArgument(args);
    const auto generateValue = args.Value("generate");
    const bool given = args.Has("password") || args.Has("password-file");
    if (!profile || (given && generateValue)) return ReportUsage(io);

    SecretWString password;
    SecretRefusal refusal{kExitOk};
    if (generateValue) {
        auto generated = GeneratePagePassword(WidenUtf8(*generateValue), PasswordClasses(args));
        if (generated.messageId) return ReportMessage(io, generated.messageId);
        password = std::move(generated.password);
    } else {
        auto typed = ReadSecretOption(args, "password", "Static password: ", start, io, refusal);
        if (!typed) return refusal.exitStatus;
        password = std::move(*typed);
    }
    const auto backup = BackupTargetOf(args, start, io, refusal);
    if (refusal.exitStatus != kExitOk) return refusal.exitStatus;
    int status = kExitOk;
    auto page = OpenPage(services, *profile, io, status);
    if (!page) return status;
    const auto outcome = WriteStaticProfile(*page, password.get(), backup.has_value());
    return Show(outcome, backup, services.store, io);
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
    const ImportPrompts prompts{
        [&] { return args.Has("touch"); },
        [&](bool again) {
            auto passphrase = ReadBackupPassphrase(args, start, io, again);
            if (!passphrase) status = kExitFailure;
            return passphrase;
        },
        [&](const PageOutcome& outcome) {
            if (Show(outcome, std::nullopt, services.store, io) != kExitOk) status = kExitFailure;
        }};
    ImportProfileBackup(*page, backupPath, prompts);
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
        parsed = Arguments::Parse(args,
                                  {"profile", "secret", "secret-file", "uri", "uri-file", "digits", "period", "account",
                                   "backup", "passphrase-file"},
                                  {"touch"});
        if (!parsed || !parsed->Positional().empty()) return ReportUsage(io);
        return SetTotp(*parsed, io, start, services);
    }
    if (command == "set-static") {
        parsed = Arguments::Parse(args, {"profile", "password", "password-file", "generate", "backup", "passphrase-file"},
                                  {"letters", "digits", "special"});
        if (!parsed || !parsed->Positional().empty()) return ReportUsage(io);
        return SetStatic(*parsed, io, start, services);
    }
    if (command == "delete") {
        parsed = Arguments::Parse(args, {"profile"}, {"yes"});
        if (!parsed || !parsed->Positional().empty()) return ReportUsage(io);
        return Delete(*parsed, io, services);
    }
    if (command == "import") {
        parsed = Arguments::Parse(args, {"profile", "passphrase-file"}, {"touch"});
        if (!parsed) return ReportUsage(io);
        return Import(*parsed, io, start, services);
    }
    parsed = Arguments::Parse(args, {}, {"letters", "digits", "special"});
    if (!parsed) return ReportUsage(io);
    return GeneratePassword(*parsed, io);
}

}  // namespace orvika2
