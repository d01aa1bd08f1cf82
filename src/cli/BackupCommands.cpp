// backup: the settings of many panels, each reached through its own site
// file's link, saved side by side in one folder. The sites are taken one at
// a time, in the order given, and every one is tried.
#include "Json.h"
#include "PanelOptions.h"

#include "PanelCopy.h"
#include "SettingsFile.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <iostream>
#include <memory>

namespace t2::cli {

namespace {

// Uploads the site's panel onto its file and saves the result in folder as
// "<file base name> YYYY-MM-DD HHMMSS.TMB"; 0 with the path, or the exit code
// after saying why.
int BackUpSite(const std::string& site, bool names, const std::string& folder, std::string& saved)
{
    PanelOptions o;
    o.site = site;
    auto state = std::make_unique<ProgramState>();
    if (int code = TakeSiteLink(o, ExitFailure, state.get())) return code;
    if (int code = UploadOnto(o, names, *state, false)) return code;
    std::string error;
    const QString stem = QFileInfo(QFile::decodeName(QByteArray::fromStdString(site))).completeBaseName();
    const QString name =
        stem + QDateTime::currentDateTime().toString(QStringLiteral(" yyyy-MM-dd HHmmss")) + QStringLiteral(".TMB");
    saved = SaveSettingsInFolder(state->Config, state->Devices, folder, QFile::encodeName(name).toStdString(), &error);
    if (saved.empty()) return Fail(error);
    return ExitOk;
}

int RunBackup(const Command& self, const std::vector<std::string>& args)
{
    Arguments a;
    std::string message;
    if (!ParseArguments(args, {"--into"}, {"--names", "--json"}, a, message)) return Usage(self, message);
    if (a.positional.empty()) return Usage(self, "name at least one settings file");
    const std::string folder = a.Value("--into").value_or(".");
    if (folder.empty()) return Usage(self, "--into takes a folder");
    const bool json = a.Flag("--json");
    int worst = ExitOk;
    for (const std::string& site : a.positional) {
        std::string saved;
        const int code = BackUpSite(site, a.Flag("--names"), folder, saved);
        worst = std::max(worst, code);
        if (json) {
            const QJsonValue none;
            PrintJson({{"site", QString::fromStdString(site)},
                       {"exitCode", code},
                       {"file", code == ExitOk ? QJsonValue(QString::fromStdString(saved)) : none},
                       {"error", code == ExitOk ? none : QJsonValue(QString::fromStdString(LastFailure()))}});
        } else {
            std::cout << code << '\t' << site << '\t' << (code == ExitOk ? saved : LastFailure()) << std::endl;
        }
    }
    return worst;
}

}  // namespace

std::vector<Command> FleetCommands()
{
    std::vector<Command> list;
    list.push_back({"backup", "SITE.TMB... [--into DIR] [--names] [--json]",
                    "For each settings file in turn, upload its panel through the file's own link onto the file "
                    "(as upload --base does; names only with --names) and save the result as \"DIR/<file base "
                    "name> YYYY-MM-DD HHMMSS.TMB\" (DIR: the current folder unless given). One line per site: "
                    "the exit code, the site and the file saved or what went wrong, TAB-separated (--json: one "
                    "JSON object per site). Every site is tried; exit 0 when all were saved, else the highest "
                    "exit code.",
                    nullptr});
    list[0].run = [c = list[0]](const std::vector<std::string>& a) { return RunBackup(c, a); };
    return list;
}

}  // namespace t2::cli
