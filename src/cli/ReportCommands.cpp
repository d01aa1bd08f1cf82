#include "CliCommand.h"

#include "DocumentReport.h"
#include "SettingsFile.h"

#include <memory>
#include <sstream>

namespace t2::cli {

namespace {

// "0,3,11" -> the sections to leave out; false when the list is not a list of
// section numbers 0..11.
bool ParseOmitList(const std::string& text, std::array<bool, ReportSectionCount>& leaveOut)
{
    if (text.empty()) return false;
    std::stringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item.empty() || item.size() > 2) return false;
        int n = 0;
        for (char ch : item) {
            if (ch < '0' || ch > '9') return false;
            n = n * 10 + (ch - '0');
        }
        if (n >= ReportSectionCount) return false;
        leaveOut[static_cast<std::size_t>(n)] = true;
    }
    return text.back() != ',';
}

int RunReport(const Command& self, const std::vector<std::string>& args)
{
    Arguments a;
    std::string message;
    if (!ParseArguments(args, {"--omit"}, {}, a, message) || a.positional.size() != 2) return Usage(self, message);
    const std::vector<std::string>& files = a.positional;
    ReportSettings settings;
    for (const auto& [name, list] : a.valued) {
        if (!ParseOmitList(list, settings.DocumentPrintOptions))
            return Usage(self, "--omit takes section numbers 0..11, such as 0,3,11");
    }

    auto state = std::make_unique<ProgramState>();
    std::string error;
    if (!ReadSettingsFile(files[0], state->Config, state->Devices, &error)) return Fail(error);
    settings.SettingsFileName = files[0];
    settings.VersionText = "Version 8.09";
    settings.Created = ReportTimeNow();
    if (!WriteOutput(files[1], BuildReport(state->Config, state->Devices, settings), error)) return Fail(error);
    return ExitOk;
}

}  // namespace

std::vector<Command> ReportCommands()
{
    std::vector<Command> list;
    list.push_back(Command{"report", "IN.TMB OUT.TXT [--omit 0,3,11]",
                           "Write the documentation report of a settings file (OUT.TXT - for standard output); "
                           "--omit leaves out the sections numbered 0 (Panel Settings) .. 11 (DMX Schedule).",
                           nullptr});
    list.back().run = [self = list.back()](const std::vector<std::string>& args) { return RunReport(self, args); };
    return list;
}

}  // namespace t2::cli
