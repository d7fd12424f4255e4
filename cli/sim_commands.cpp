#include "cli/cli_context.h"

namespace orvika2 {

int RunSimCommand(const std::vector<std::string>&, CliIo io) { return ReportUsage(io); }

}  // namespace orvika2
