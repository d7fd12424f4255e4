#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/command_path.h"
#include "platform/terminal_prompt.h"
#include "settings/app_services.h"

namespace orvika2 {

struct CliIo {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // Where secrets are asked without echo; null without a terminal.
    HiddenPrompt* terminal = nullptr;
};

// Runs one orvika2ctl command; args exclude the program name and are UTF-8,
// relative file arguments are taken against `start`. Returns the exit
// status: 0 success, 1 token or file failure, 2 usage.
int RunCli(const std::vector<std::string>& args, CliIo io, const StartDirectory& start, AppServices& services);

// The services of the tool's process, its texts in English; null when
// ORVIKA2_TOKEN names no token.
std::unique_ptr<PlatformServices> MakeCliServices();
// What the tool says and gives when MakeCliServices refused.
int ReportInvalidTokenSetting(CliIo io);

}  // namespace orvika2
