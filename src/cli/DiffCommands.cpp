// diff: two configurations compared in the words of their documentation
// reports, or a settings file against what a panel holds now, that is what a
// download of the file would change.
#include "Json.h"
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

// --json: JSON lines, one object per difference (unless brief) and then the
// summary: {"section", "item", "a", "b"} ... {"summary": {"differences": n,
// "sections": [{"section", "count"}]}, "site": ...}.
int PrintJsonLines(const std::vector<ReportDifference>& differences, bool brief, const std::string& site)
{
    if (!brief) {
        for (const ReportDifference& d : differences) {
            if (int code = PrintJson({{"section", QString::fromStdString(d.section)},
                                      {"item", QString::fromStdString(d.item)},
                                      {"a", JsonText(d.a)},
                                      {"b", JsonText(d.b)}}))
                return code;
        }
    }
    QJsonArray sections;
    for (const auto& [section, count] : CountBySection(differences))
        sections.append(QJsonObject{{"section", QString::fromStdString(section)}, {"count", count}});
    QJsonObject summary{{"differences", static_cast<qint64>(differences.size())}, {"sections", sections}};
    if (int code = PrintJson({{"summary", summary},
                              {"site", site.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(site))}}))
        return code;
    return differences.empty() ? ExitOk : ExitDiffer;
}

int Print(const std::vector<ReportDifference>& differences, bool brief, bool json = false,
          const std::string& site = {})
{
    if (json) return PrintJsonLines(differences, brief, site);
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
                 brief, o.Flag("--json"), path);
}

int RunDiff(const Command& self, const std::vector<std::string>& args)
{
    const bool againstPanel = std::any_of(args.begin(), args.end(), [](const std::string& a) {
        return a == "--site" || a == "--tcp" || a == "--serial" || a == "--modem";
    });
    std::string message;
    if (againstPanel) {
        PanelOptions o;
        // Against a panel names are always compared as the panel holds them.
        if (!ParseOptions(args, {}, {"--brief", "--names", "--as-panel", "--json"}, o, message))
            return Usage(self, message);
        // diff --site SITE.TMB: the site's file against its own panel.
        if (o.positional.empty() && !o.site.empty()) o.positional.push_back(o.site);
        if (o.positional.size() != 1) return Usage(self);
        if (int code = TakeSiteLink(o, ExitTrouble)) return code;
        return RunAgainstPanel(o.positional[0], o, o.Flag("--brief"));
    }
    Arguments a;
    if (!ParseArguments(args, {}, {"--brief", "--names", "--as-panel", "--json"}, a, message))
        return Usage(self, message);
    if (a.Flag("--names")) return Usage(self, "--names goes with a panel link");
    if (a.positional.size() != 2) return Usage(self);
    const std::unique_ptr<ProgramState> first = Read(a.positional[0]);
    if (!first) return ExitTrouble;
    const std::unique_ptr<ProgramState> second = Read(a.positional[1]);
    if (!second) return ExitTrouble;
    return Print(CompareConfigurations(first->Config, first->Devices, second->Config, second->Devices,
                                       {.namesAsPanel = a.Flag("--as-panel")}),
                 a.Flag("--brief"), a.Flag("--json"));
}

}  // namespace

std::vector<Command> DiffCommands()
{
    std::vector<Command> list;
    list.push_back({"diff",
                    "A.TMB B.TMB [--as-panel] [--brief] [--json] | [SITE.TMB] " + std::string(LinkUsage) +
                        " [--names] [--brief] [--json]",
                    "Every difference between two configurations, one line per item: the report's section, the "
                    "item, its value in A and in B, as the report writes them (quoted when they differ only in "
                    "spaces); --brief counts them per section. --as-panel compares names as the panel holds them: "
                    "the spaces it pads them with are no difference, a name it keeps only cut is (a site file "
                    "against its upload). Against a panel, A is what the panel holds (uploaded into memory, "
                    "nothing written) and B what a download of SITE.TMB would leave; names only with --names, "
                    "compared as --as-panel does; --site SITE.TMB alone compares the site's file with its own panel. "
                    "--json: JSON lines, one object per difference and a summary last. Exit 0: the same; 1: they "
                    "differ; 2: a file could not be read; 10 and up: as the panel commands.",
                    nullptr});
    list.back().run = [self = list.back()](const std::vector<std::string>& args) { return RunDiff(self, args); };
    return list;
}

}  // namespace t2::cli
