#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/cli.h"
#include "platform/text.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::error_code ec;
    const orvika2::StartDirectory start{orvika2::WideFromPath(std::filesystem::current_path(ec)),
                                        orvika2::PathStyle::Posix};
    const orvika2::CliIo io{std::cin, std::cout, std::cerr};
    const auto services = orvika2::MakeCliServices();
    if (!services) return orvika2::ReportInvalidTokenSetting(io);
    return orvika2::RunCli(args, io, start, services->services());
}
