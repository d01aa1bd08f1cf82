#include "CliCommand.h"

#include "Commands.h"
#include "Frame.h"
#include "Hex.h"
#include "SettingsFile.h"

#include <cstdint>
#include <iostream>
#include <span>

namespace t2::cli {

namespace {

int RunFrame(const Command& self, const std::vector<std::string>& args)
{
    if (args.size() != 1 || args[0].empty()) return Usage(self);
    for (char c : args[0]) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) {
            return Fail("a command is upper-case hexadecimal digits: '" + args[0] + "'", ExitUsage);
        }
    }
    std::cout << FrameCommand(args[0]) << "\n";
    return ExitOk;
}

int RunImageSum(const Command& self, const std::vector<std::string>& args)
{
    Arguments a;
    std::string message;
    if (!ParseArguments(args, {}, {}, a, message) || a.positional.size() != 1) return Usage(self, message);
    const std::string& file = a.positional[0];
    std::string bytes;
    std::string error;
    if (!ReadWholeFile(file, PanelTransferBytes, bytes, &error)) return Fail(error);
    if (bytes.size() != static_cast<std::size_t>(PanelTransferBytes)) {
        return Fail(file + ": a panel memory file holds " + std::to_string(PanelTransferBytes) + " bytes, this one " +
                    std::to_string(bytes.size()));
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::cout << Hex4(ImageChecksum(std::span<const std::uint8_t>(data, bytes.size()))) << "\n";
    return ExitOk;
}

}  // namespace

std::vector<Command> ProtocolCommands()
{
    std::vector<Command> list;
    list.push_back({"frame", "COMMAND", "Print a command framed as it goes to the panel ([0001D3] for 01).", nullptr});
    list.push_back({"imgsum", "IN.BIN",
                    "Print the image checksum of a 24576-byte panel memory file as four hex digits.", nullptr});
    list[0].run = [c = list[0]](const std::vector<std::string>& a) { return RunFrame(c, a); };
    list[1].run = [c = list[1]](const std::vector<std::string>& a) { return RunImageSum(c, a); };
    return list;
}

}  // namespace t2::cli
