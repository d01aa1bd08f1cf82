// The command-line tool's commands. Each area of the program contributes its
// commands in a file of its own; main() joins the lists.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace t2::cli {

// Exit codes shared by the commands.
enum ExitCode : int {
    ExitOk = 0,
    ExitFailure = 1,   // a file could not be read or written, or similar
    ExitUsage = 64,
};

struct Command {
    std::string name;
    std::string usage;    // the arguments, as shown by --help
    std::string summary;  // one line
    std::function<int(const std::vector<std::string>& args)> run;
};

// Prints "tamberline-cli: message" on stderr and returns ExitFailure.
int Fail(const std::string& message, int code = ExitFailure);
// Prints the usage of one command on stderr and returns ExitUsage.
int Usage(const Command& command);

std::vector<Command> ModelCommands();
std::vector<Command> ReportCommands();
std::vector<Command> ImageCommands();
std::vector<Command> ProtocolCommands();
std::vector<Command> SessionCommands();

}  // namespace t2::cli
