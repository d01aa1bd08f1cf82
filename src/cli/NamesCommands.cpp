#include "CliCommand.h"

#include "NamesCsv.h"
#include "SettingsFile.h"

#include <cctype>
#include <iostream>
#include <memory>

namespace t2::cli {

namespace {

int Export(const std::string& settings, const std::string& out)
{
    auto state = std::make_unique<ProgramState>();
    std::string error;
    if (!ReadSettingsFile(settings, state->Config, state->Devices, &error)) return Fail(error);
    if (!WriteOutput(out, WriteNamesCsv(state->Config, state->Devices), error)) return Fail(error);
    return ExitOk;
}

// Prints what the file would change; a file with rows that cannot be read is
// listed row by row and nothing is written.
int Import(const std::string& settings, const std::string& csv, const std::string& out)
{
    auto state = std::make_unique<ProgramState>();
    std::string error;
    if (!ReadSettingsFile(settings, state->Config, state->Devices, &error)) return Fail(error);
    std::string bytes;
    bool tooLong = false;
    if (!ReadWholeFile(csv, MaxNamesFileBytes, bytes, &error, &tooLong))
        return Fail(tooLong ? csv + " is not a names file: it is too long" : error);
    const NamesImport import = ReadNamesCsv(bytes, state->Config, state->Devices);
    if (!import.Ok()) {
        for (const BadNameRow& row : import.badRows) Fail(csv + ": " + BadRowText(row));
        return Fail(csv + ": nothing imported: " + std::to_string(import.badRows.size()) +
                    (import.badRows.size() == 1 ? " row cannot" : " rows cannot") + " be read");
    }
    for (const NameChange& change : import.changes) std::cout << ChangeLine(change) << "\n";
    std::cout.flush();
    ApplyNames(import, state->Config, state->Devices);
    if (!WriteSettingsFile(out, state->Config, state->Devices, &error)) return Fail(error);
    return ExitOk;
}

int RunNames(const Command& self, const std::vector<std::string>& args)
{
    Arguments a;
    std::string message;
    if (!ParseArguments(args, {"--import"}, {}, a, message)) return Usage(self, message);
    const std::vector<std::string>& files = a.positional;
    if (const auto csv = a.Value("--import")) {
        if (files.size() != 2) return Usage(self, "--import takes the settings file and the file to write");
        return Import(files[0], *csv, files[1]);
    }
    if (files.empty() || files.size() > 2) return Usage(self);
    // A settings file given as the output by mistake is not written over with CSV.
    if (files.size() == 2 && files[1].size() >= 4) {
        std::string suffix = files[1].substr(files[1].size() - 4);
        for (char& c : suffix) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (suffix == ".TMB") return Usage(self, files[1] + " is a settings file's name: the names are written as CSV");
    }
    return Export(files[0], files.size() == 2 ? files[1] : "-");
}

}  // namespace

std::vector<Command> NamesCommands()
{
    std::vector<Command> list;
    list.push_back(Command{"names", "SITE.TMB [OUT.csv|-]  |  names SITE.TMB --import IN.csv OUT.TMB",
                           "Write every name of a settings file as CSV (Kind,Number,Name; standard output without "
                           "OUT.csv), or read such a file into a copy of the settings: each name that changes is "
                           "printed as KIND NUMBER \"OLD\" -> \"NEW\"; a file with rows that cannot be read is "
                           "listed and nothing is written.",
                           nullptr});
    list.back().run = [self = list.back()](const std::vector<std::string>& args) { return RunNames(self, args); };
    return list;
}

}  // namespace t2::cli
