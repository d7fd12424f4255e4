#pragma once
// Where orvika2ctl takes secrets from: a file, standard input ("-"), or the
// terminal without echo. A secret on the command line still works for old
// scripts, with a warning: other users of the machine can read it there.
#include <optional>
#include <string>

#include "cli/arguments.h"
#include "cli/cli.h"
#include "platform/secure_memory.h"

namespace orvika2 {

// What the command does when it cannot get a secret: the exit status and
// the message already printed.
struct SecretRefusal {
    int exitStatus;
};

// The secret of `--NAME VALUE|-` or `--NAME-file FILE`, or asked with
// `prompt` on the terminal when neither is given. Both given, or neither
// and no terminal: a usage error.
std::optional<SecretWString> ReadSecretOption(const Arguments& args, const std::string& name,
                                              const std::string& prompt, const StartDirectory& start, CliIo io,
                                              SecretRefusal& refusal);

// A passphrase for a new protected backup: the first line of
// --passphrase-file, or asked twice on the terminal. nullopt with status 0
// in `refusal`: no file and no terminal, so the backup is plain (said on
// standard error).
std::optional<SecretString> ReadNewBackupPassphrase(const Arguments& args, const StartDirectory& start, CliIo io,
                                                    SecretRefusal& refusal);

// The passphrase of a protected backup being imported: --passphrase-file,
// or the terminal; nullopt (with a message) when there is neither, or the
// file gave a wrong one already (`again`).
std::optional<SecretString> ReadBackupPassphrase(const Arguments& args, const StartDirectory& start, CliIo io,
                                                 bool again);

}  // namespace orvika2
