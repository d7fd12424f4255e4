#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/cli.h"
#include "platform/text.h"

int main(int argc, char** argv) {
    // A secret read from standard input goes straight to our own wiped
    // buffer: no stdio buffer keeps a copy.
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::error_code ec;
    const orvika2::StartDirectory start{orvika2::WideFromPath(std::filesystem::current_path(ec)),
                                        orvika2::PathStyle::Posix};
    const auto terminal = orvika2::OpenTerminalPrompt();
    const orvika2::CliIo io{std::cin, std::cout, std::cerr, terminal.get()};
    const auto services = orvika2::MakeCliServices();
    if (!services) return orvika2::ReportInvalidTokenSetting(io);
    return orvika2::RunCli(args, io, start, services->services());
}
