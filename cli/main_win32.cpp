#include <windows.h>

#include <cstdio>
#include <iostream>

#include "cli/cli.h"
#include "platform/dll_search_win32.h"
#include "platform/text.h"

namespace {

std::wstring CurrentDirectory() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(size, L'\0');
    const DWORD length = size ? GetCurrentDirectoryW(size, directory.data()) : 0;
    directory.resize(length < size ? length : 0);
    return directory;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    orvika2::LoadDllsFromSystem32Only();
    // Taken before anything runs: the configuration file's placement may
    // change the working directory.
    const orvika2::StartDirectory start{CurrentDirectory(), orvika2::PathStyle::Windows};
    // Our output is UTF-8 throughout; tell the console so.
    SetConsoleOutputCP(CP_UTF8);
    // A secret read from standard input goes straight to our own wiped
    // buffer: no stdio buffer keeps a copy.
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(orvika2::NarrowUtf8(argv[i]));
    const auto terminal = orvika2::OpenTerminalPrompt();
    const orvika2::CliIo io{std::cin, std::cout, std::cerr, terminal.get()};
    const auto services = orvika2::MakeCliServices();
    if (!services) return orvika2::ReportInvalidTokenSetting(io);
    return orvika2::RunCli(args, io, start, services->services());
}
