#pragma once
// Asking the person at the terminal for a secret without showing it as it
// is typed. The prompt and the answer use the terminal itself, not standard
// input and output, so that a pipe on either still works.
#include <memory>
#include <optional>
#include <string_view>

#include "platform/secure_memory.h"

namespace orvika2 {

class HiddenPrompt {
public:
    virtual ~HiddenPrompt() = default;
    // One line in UTF-8, without its line break; nullopt at end of input.
    virtual std::optional<SecretString> Ask(std::string_view prompt) = 0;
};

// The process's terminal, or null when it has none (a service, a pipe from
// another program, CI).
std::unique_ptr<HiddenPrompt> OpenTerminalPrompt();

}  // namespace orvika2
