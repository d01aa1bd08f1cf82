#include "CliCommand.h"

#include <cstdio>
#include <iostream>

namespace t2::cli {

int Fail(const std::string& message, int code)
{
    std::cerr << "tamberline-cli: " << message << "\n";
    return code;
}

int Usage(const Command& command)
{
    std::cerr << "usage: tamberline-cli " << command.name << " " << command.usage << "\n";
    return ExitUsage;
}

namespace {

std::vector<Command> AllCommands()
{
    std::vector<Command> all;
    for (auto list : {ModelCommands, ReportCommands, ImageCommands, ProtocolCommands, SessionCommands}) {
        for (Command& c : list()) all.push_back(std::move(c));
    }
    return all;
}

void PrintHelp(const std::vector<Command>& commands)
{
    std::cout << "tamberline-cli: settings files, panel images, reports and panel transfers\n"
                 "for the Tamberline II lighting-control panel.\n\nCommands:\n";
    for (const Command& c : commands) {
        std::cout << "  " << c.name << " " << c.usage << "\n      " << c.summary << "\n";
    }
}

}  // namespace

}  // namespace t2::cli

int main(int argc, char** argv)
{
    using namespace t2::cli;
    const std::vector<Command> commands = AllCommands();
    if (argc < 2) {
        PrintHelp(commands);
        return ExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(commands);
        return ExitOk;
    }
    for (const Command& c : commands) {
        if (c.name != name) continue;
        std::vector<std::string> args(argv + 2, argv + argc);
        for (const std::string& a : args) {
            if (a == "--help" || a == "-h") {
                std::cout << "usage: tamberline-cli " << c.name << " " << c.usage << "\n" << c.summary << "\n";
                return ExitOk;
            }
        }
        return c.run(args);
    }
    std::cerr << "tamberline-cli: unknown command '" << name << "' (try --help)\n";
    return ExitUsage;
}
