#include "cli/secret_input.h"

#include <istream>
#include <ostream>

#include "cli/cli_context.h"
#include "platform/secret_file.h"
#include "platform/text.h"
#include "settings/backup_file.h"
#include "ui/ui_strings.h"

namespace orvika2 {
namespace {

constexpr std::size_t kSecretFileMaxBytes = 64 * 1024;
constexpr int kNewPassphraseAttempts = 3;

std::string English(int id) { return Utf8(EnglishString(id)); }

// One line without its line break; the buffer holds it from the start, so
// the line is never copied as it grows.
std::optional<SecretString> LineFromStandardInput(std::istream& in) {
    SecretString line;
    line->reserve(4096);
    for (int c = in.get(); c != std::char_traits<char>::eof() && c != '\n'; c = in.get()) {
        const char character = static_cast<char>(c);
        AppendWiping(line.get(), std::string_view(&character, 1));
    }
    if (line->empty() && in.eof()) return std::nullopt;
    if (!line->empty() && line->back() == '\r') line->pop_back();
    return line;
}

// The first line of a file, without its line break; nullopt with the
// reason printed when the file cannot be read.
std::optional<SecretString> FirstLineOfFile(const std::string& option, const std::string& value,
                                            const StartDirectory& start, CliIo io) {
    const std::wstring path = ResolveCommandPath(WidenUtf8(value), start);
    SecretString content;
    switch (ReadSecretFile(PathFromWide(path), content.get(), kSecretFileMaxBytes)) {
        case SecretFileRead::Read: break;
        case SecretFileRead::Missing: io.err << "--" << option << ": no file " << value << "\n"; return std::nullopt;
        case SecretFileRead::TooLarge: io.err << "--" << option << ": " << value << " is larger than 64 KiB\n"; return std::nullopt;
        case SecretFileRead::Failed: io.err << "--" << option << ": " << value << " cannot be read\n"; return std::nullopt;
    }
    const std::string_view text = content.get();
    std::string_view line = text.substr(0, std::min(text.find('\n'), text.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return SecretString(std::string(line));
}

std::optional<SecretString> Ask(CliIo io, const std::string& prompt) {
    if (!io.terminal) return std::nullopt;
    return io.terminal->Ask(prompt);
}

}  // namespace

std::optional<SecretWString> ReadSecretOption(const Arguments& args, const std::string& name,
                                              const std::string& prompt, const StartDirectory& start, CliIo io,
                                              SecretRefusal& refusal) {
    const auto value = args.Value(name);
    const auto file = args.Value(name + "-file");
    refusal = {kExitUsage};
    if (value && file) {
        ReportUsage(io);
        return std::nullopt;
    }
    std::optional<SecretString> text;
    if (file) {
        text = FirstLineOfFile(name + "-file", *file, start, io);
        if (!text) refusal = {kExitFailure};
    } else if (value && *value == "-") {
        text = LineFromStandardInput(io.in);
        if (!text) ReportUsage(io);
    } else if (value) {
        io.err << "warning: --" << name << " on the command line can be read by other users of this computer; use --"
               << name << "-file FILE or --" << name << " -\n";
        text = SecretString(*value);
    } else {
        text = Ask(io, prompt);
        if (!text) ReportUsage(io);
    }
    if (!text) return std::nullopt;
    return SecretWString(WidenUtf8(text->get()));
}

std::optional<SecretString> ReadNewBackupPassphrase(const Arguments& args, const StartDirectory& start, CliIo io,
                                                    SecretRefusal& refusal) {
    refusal = {kExitOk};
    if (const auto file = args.Value("passphrase-file")) {
        auto passphrase = FirstLineOfFile("passphrase-file", *file, start, io);
        if (!passphrase) {
            refusal = {kExitFailure};
            return std::nullopt;
        }
        const SecretWString wide(WidenUtf8(passphrase->get()));
        if (const int message = BackupPassphraseRefusal(wide.get(), wide.get())) {
            io.err << English(message) << "\n";
            refusal = {kExitFailure};
            return std::nullopt;
        }
        return passphrase;
    }
    if (!io.terminal) {
        io.err << "warning: no terminal to ask for a passphrase, so the backup holds the secret in plain text; use "
                  "--passphrase-file FILE to protect it\n";
        return std::nullopt;
    }
    for (int attempt = 0; attempt < kNewPassphraseAttempts; ++attempt) {
        auto first = Ask(io, "Passphrase for the backup: ");
        auto second = first ? Ask(io, "The passphrase again: ") : std::nullopt;
        if (!second) break;
        const SecretWString a(WidenUtf8(first->get()));
        const SecretWString b(WidenUtf8(second->get()));
        const int message = BackupPassphraseRefusal(a.get(), b.get());
        if (message == 0) return first;
        io.err << English(message) << "\n";
    }
    io.err << "No passphrase: nothing was written.\n";
    refusal = {kExitFailure};
    return std::nullopt;
}

std::optional<SecretString> ReadBackupPassphrase(const Arguments& args, const StartDirectory& start, CliIo io,
                                                 bool again) {
    if (const auto file = args.Value("passphrase-file")) {
        // The file's passphrase does not change when it is asked again.
        if (again) return std::nullopt;
        return FirstLineOfFile("passphrase-file", *file, start, io);
    }
    if (!io.terminal) {
        io.err << "This profile backup is protected by a passphrase: give --passphrase-file FILE, or run on a "
                  "terminal\n";
        return std::nullopt;
    }
    return Ask(io, "Passphrase of the backup: ");
}

}  // namespace orvika2
