#include "CliCommand.h"

#include "DocumentReport.h"
#include "ReportPages.h"
#include "SettingsFile.h"

#include <QGuiApplication>

#include <algorithm>
#include <cctype>
#include <cstdio>
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

bool IsPdfName(const std::string& path)
{
    if (path.size() < 4) return false;
    std::string suffix = path.substr(path.size() - 4);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](unsigned char c) { return std::tolower(c); });
    return suffix == ".pdf";
}

// The PDF's pages are drawn with the program's graphics, on the offscreen
// platform: no display is needed or used. What the graphics say about the
// desktop they do not use (no runtime folder, no display) is no news to the
// user of the tool; a failure is reported as the result.
bool WritePdf(const std::string& path, const ProgramState& state, const ReportSettings& settings, std::string& error)
{
    static int argc = 3;
    static char name[] = "tamberline-cli", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "tamberline-cli: %s\n", qPrintable(text));
    });
    QGuiApplication graphics(argc, argv);
    const bool written = WriteReportPdf(path, state.Config, state.Devices, settings, &error);
    qInstallMessageHandler(previous);
    return written;
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
    if (IsPdfName(files[1])) {
        if (!WritePdf(files[1], *state, settings, error)) return Fail(error);
    } else if (!WriteOutput(files[1], BuildReport(state->Config, state->Devices, settings), error)) {
        return Fail(error);
    }
    return ExitOk;
}

}  // namespace

std::vector<Command> ReportCommands()
{
    std::vector<Command> list;
    list.push_back(Command{"report", "IN.TMB OUT.TXT|OUT.pdf [--omit 0,3,11]",
                           "Write the documentation report of a settings file (OUT.TXT - for standard output; "
                           "an output name ending in .pdf writes the report laid out on pages as PDF); "
                           "--omit leaves out the sections numbered 0 (Panel Settings) .. 11 (DMX Schedule).",
                           nullptr});
    list.back().run = [self = list.back()](const std::vector<std::string>& args) { return RunReport(self, args); };
    return list;
}

}  // namespace t2::cli
