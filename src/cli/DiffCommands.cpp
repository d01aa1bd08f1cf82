// diff: two configurations compared in the words of their documentation
// reports, or a settings file against what a panel holds now, that is what a
// download of the file would change.
#include "PanelOptions.h"

#include "ReportDiff.h"
#include "SettingsFile.h"

#include <algorithm>
#include <iostream>
#include <memory>

namespace t2::cli {

namespace {

constexpr int ExitDiffer = 1;
constexpr int ExitTrouble = 2;  // a settings file could not be read, as diff says it

int Print(const std::vector<ReportDifference>& differences, bool brief)
{
    if (brief) {
        for (const auto& [section, count] : CountBySection(differences))
            std::cout << section << '\t' << count << '\n';
    } else {
        for (const ReportDifference& d : differences) std::cout << ForTerminal(DifferenceLine(d)) << '\n';
    }
    std::cout.flush();
    return differences.empty() ? ExitOk : ExitDiffer;
}

std::unique_ptr<ProgramState> Read(const std::string& path)
{
    auto state = std::make_unique<ProgramState>();
    std::string error;
    if (!ReadSettingsFile(path, state->Config, state->Devices, &error)) {
        Fail(error);
        return nullptr;
    }
    return state;
}

// The settings file against the panel: the panel's configuration now (A) and
// what it holds after a download of the file (B), that is the file as the
// panel keeps it (the times it can carry). Names are compared as the panel
// holds them, as diff --as-panel does for two files: the file's names against
// the panel's, so that a name the panel keeps only cut shows, and the two
// comparisons of a site file and its upload agree.
int RunAgainstPanel(const std::string& path, const PanelOptions& o, bool brief)
{
    const std::unique_ptr<ProgramState> file = Read(path);
    if (!file) return ExitTrouble;
    auto panel = std::make_unique<PanelCopy>();
    if (int code = UploadIntoMemory(o, file->Config, file->Devices, *panel)) return code;
    return Print(DownloadChanges(file->Config, file->Devices, panel->image, o.Flag("--names"), HostNamesWhole),
                 brief);
}

int RunDiff(const Command& self, const std::vector<std::string>& args)
{
    const bool againstPanel = std::any_of(args.begin(), args.end(), [](const std::string& a) {
        return a == "--tcp" || a == "--serial" || a == "--modem";
    });
    std::string message;
    if (againstPanel) {
        PanelOptions o;
        // Against a panel names are always compared as the panel holds them.
        if (!ParseOptions(args, {}, {"--brief", "--names", "--as-panel"}, o, message)) return Usage(self, message);
        if (o.positional.size() != 1) return Usage(self);
        return RunAgainstPanel(o.positional[0], o, o.Flag("--brief"));
    }
    Arguments a;
    if (!ParseArguments(args, {}, {"--brief", "--names", "--as-panel"}, a, message)) return Usage(self, message);
    if (a.Flag("--names")) return Usage(self, "--names goes with a panel link");
    if (a.positional.size() != 2) return Usage(self);
    const std::unique_ptr<ProgramState> first = Read(a.positional[0]);
    if (!first) return ExitTrouble;
    const std::unique_ptr<ProgramState> second = Read(a.positional[1]);
    if (!second) return ExitTrouble;
    return Print(CompareConfigurations(first->Config, first->Devices, second->Config, second->Devices,
                                       {.namesAsPanel = a.Flag("--as-panel")}),
                 a.Flag("--brief"));
}

}  // namespace

std::vector<Command> DiffCommands()
{
    std::vector<Command> list;
    list.push_back({"diff",
                    "A.TMB B.TMB [--as-panel] [--brief] | SITE.TMB " + std::string(LinkUsage) +
                        " [--names] [--brief]",
                    "Every difference between two configurations, one line per item: the report's section, the "
                    "item, its value in A and in B, as the report writes them (quoted when they differ only in "
                    "spaces); --brief counts them per section. --as-panel compares names as the panel holds them: "
                    "the spaces it pads them with are no difference, a name it keeps only cut is (a site file "
                    "against its upload). Against a panel, A is what the panel holds (uploaded into memory, "
                    "nothing written) and B what a download of SITE.TMB would leave; names only with --names, "
                    "compared as --as-panel does. Exit 0: the same; 1: they differ; 2: a file could not be read.",
                    nullptr});
    list.back().run = [self = list.back()](const std::vector<std::string>& args) { return RunDiff(self, args); };
    return list;
}

}  // namespace t2::cli
