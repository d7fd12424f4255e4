#pragma once
#include <iosfwd>
#include <string>
#include <vector>

namespace orvika2 {

struct CliIo {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Runs one orvika2ctl command; args exclude the program name and are UTF-8.
// Returns the exit status: 0 success, 1 token or file failure, 2 usage.
int RunCli(const std::vector<std::string>& args, CliIo io);

}  // namespace orvika2
