#pragma once
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "platform/hid.h"
#include "settings/app_services.h"
#include "token/token_result.h"

namespace orvika2 {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

std::string Utf8(const std::wstring& text);

// Prints the English text of a string-table id and gives the failure exit status.
int ReportMessage(CliIo io, int stringId);
// The same, except that the bus's own account of a token failure (a device
// the user may not open, a token pulled out) replaces the generic text.
int ReportBusFailure(CliIo io, const HidBus& bus, int stringId);
int ReportUsage(CliIo io);

int RunTokenCommand(const std::string& command, const std::vector<std::string>& args, CliIo io,
                    AppServices& services);
int RunProfileCommand(const std::string& command, const std::vector<std::string>& args, CliIo io,
                      const StartDirectory& start, AppServices& services);
int RunConfigCommand(const std::vector<std::string>& args, CliIo io, AppServices& services);
int RunClockCommand(const std::vector<std::string>& args, CliIo io, AppServices& services);
int RunSimCommand(const std::vector<std::string>& args, CliIo io, const StartDirectory& start);

}  // namespace orvika2
