// The command-line tool's commands. Each area of the program contributes its
// commands in a file of its own; main() joins the lists.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <utility>
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

// A command's arguments: the files, the options with a value and the flags.
struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> valued;  // in the order given
    std::vector<std::string> flags;

    std::optional<std::string> Value(const std::string& name) const;  // the last one given
    bool Flag(const std::string& name) const;
};

// Splits args by the command's own options; false with a message for an
// unknown option or an option without its value.
bool ParseArguments(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                    const std::vector<std::string>& flagOptions, Arguments& out, std::string& message);

// "DDDDDD": exactly six decimal digits, as the panel password.
bool ParseSixDigits(const std::string& text, std::array<int, 6>& digits);

// Writes a command's output file: "-" is standard output, any other name a
// file saved atomically (a folder, device, pipe or socket there is refused).
// False with a message naming the file as given. A reader of standard output
// that goes away (report X - | head) ends the output quietly: that is no error.
bool WriteOutput(const std::string& path, const std::string& bytes, std::string& error);

// The configuration's 8-bit (Windows-1252) texts, names and the like, as this
// terminal shows them.
std::string ForTerminal(const std::string& bytes);

// Prints "tamberline-cli: message" on stderr and returns ExitFailure.
int Fail(const std::string& message, int code = ExitFailure);
// The message of the last Fail, for a command that reports the result of
// each of many runs (backup).
const std::string& LastFailure();
// Prints the message (when there is one) and the usage of one command on
// stderr, and returns ExitUsage.
int Usage(const Command& command, const std::string& message = {});

std::vector<Command> ModelCommands();
std::vector<Command> ReportCommands();
std::vector<Command> ImageCommands();
std::vector<Command> ProtocolCommands();
std::vector<Command> SessionCommands();
std::vector<Command> SunCommands();
std::vector<Command> DiffCommands();
std::vector<Command> ScheduleCommands();
std::vector<Command> NamesCommands();
std::vector<Command> FleetCommands();

}  // namespace t2::cli
