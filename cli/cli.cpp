#include "cli/cli.h"

#include <ostream>

namespace orvika2 {

int RunCli(const std::vector<std::string>& args, CliIo io) {
    (void)args;
    io.err << "usage: orvika2ctl COMMAND\n";
    return 2;
}

}  // namespace orvika2
