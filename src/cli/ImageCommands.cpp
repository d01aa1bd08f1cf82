#include "CliCommand.h"

#include "ImagePacking.h"
#include "PanelMemory.h"
#include "SettingsFile.h"

#include <memory>

namespace t2::cli {

namespace {

int RunImage(const Command& self, const std::vector<std::string>& args)
{
    Arguments a;
    std::string message;
    if (!ParseArguments(args, {"--password"}, {}, a, message) || a.positional.size() != 2) return Usage(self, message);
    const std::vector<std::string>& files = a.positional;
    std::array<int, 6> password{};
    if (auto p = a.Value("--password"); p && !ParseSixDigits(*p, password))
        return Usage(self, "--password takes six digits");

    auto state = std::make_unique<ProgramState>();
    std::string error;
    if (!ReadSettingsFile(files[0], state->Config, state->Devices, &error)) return Fail(error);
    BuildPanelImage(state->Config, state->Devices, password, state->Image);
    if (!WriteOutput(files[1], PanelImageBytes(state->Image), error)) return Fail(error);
    return ExitOk;
}

int RunApplyImage(const Command& self, const std::vector<std::string>& args)
{
    Arguments a;
    std::string message;
    if (!ParseArguments(args, {}, {"--names"}, a, message) || a.positional.size() != 3) return Usage(self, message);
    const std::vector<std::string>& files = a.positional;
    const bool names = a.Flag("--names");

    auto state = std::make_unique<ProgramState>();
    std::string error;
    std::string bytes;
    if (!ReadWholeFile(files[0], PanelMemory::TransferCells, bytes, &error)) return Fail(error);
    if (!PanelImageFromBytes(bytes, state->Image, &error)) return Fail(files[0] + ": " + error);
    if (!ReadSettingsFile(files[1], state->Config, state->Devices, &error)) return Fail(error);
    ApplyPanelImage(state->Image, state->Config, state->Devices, names);
    if (!WriteOutput(files[2], SerializeSettings(state->Config, state->Devices), error)) return Fail(error);
    return ExitOk;
}

}  // namespace

std::vector<Command> ImageCommands()
{
    std::vector<Command> list;
    list.push_back({"image", "IN.TMB OUT.BIN [--password DDDDDD]",
                    "Write the panel memory image of a settings file (the 24576 bytes a download sends; "
                    "OUT.BIN - for standard output).",
                    nullptr});
    list.push_back({"apply-image", "IN.BIN BASE.TMB OUT.TMB [--names]",
                    "Read a 24576-byte panel image into a settings file, as an upload does (OUT.TMB - for "
                    "standard output).",
                    nullptr});
    list[0].run = [c = list[0]](const std::vector<std::string>& a) { return RunImage(c, a); };
    list[1].run = [c = list[1]](const std::vector<std::string>& a) { return RunApplyImage(c, a); };
    return list;
}

}  // namespace t2::cli
