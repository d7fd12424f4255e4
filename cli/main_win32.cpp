#include <windows.h>

#include <iostream>

#include "cli/cli.h"
#include "platform/text.h"

int wmain(int argc, wchar_t** argv) {
    // Our output is UTF-8 throughout; tell the console so.
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(orvika2::NarrowUtf8(argv[i]));
    return orvika2::RunCli(args, {std::cin, std::cout, std::cerr});
}
