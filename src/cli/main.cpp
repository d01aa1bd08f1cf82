#include "CliCommand.h"
#include "Json.h"

#include "SettingsFile.h"
#include "Windows1252.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <new>

#include <QJsonDocument>

namespace t2::cli {

namespace {
std::string lastFailure;
}  // namespace

const std::string& LastFailure() { return lastFailure; }

int Fail(const std::string& message, int code)
{
    lastFailure = message;
    std::cerr << "tamberline-cli: " << message << "\n";
    return code;
}

bool WriteOutput(const std::string& path, const std::string& bytes, std::string& error)
{
    if (path != "-") return WriteFileAtomically(path, bytes, &error);
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
        if (errno == EPIPE) return true;   // the reader has all it wanted
        error = std::string("cannot write to standard output: ") + std::strerror(errno);
        return false;
    }
    return true;
}

int PrintJson(const QJsonObject& object)
{
    std::string error;
    if (!WriteOutput("-", QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() + "\n", error))
        return Fail(error);
    return ExitOk;
}

QJsonValue JsonText(const Bytes& bytes) { return BytesToText(bytes); }

QString LinkTypeJson(int connectionType)
{
    switch (connectionType) {
    case ConnectDirectSerial: return QStringLiteral("serial");
    case ConnectModem: return QStringLiteral("modem");
    case ConnectTcpIp: return QStringLiteral("tcp");
    default: return QStringLiteral("unknown");
    }
}

std::string ForTerminal(const std::string& bytes) { return BytesToText(bytes).toLocal8Bit().toStdString(); }

int Usage(const Command& command, const std::string& message)
{
    if (!message.empty()) std::cerr << "tamberline-cli: " << message << "\n";
    std::cerr << "usage: tamberline-cli " << command.name << " " << command.usage << "\n";
    return ExitUsage;
}

std::optional<std::string> Arguments::Value(const std::string& name) const
{
    std::optional<std::string> v;
    for (const auto& [n, value] : valued)
        if (n == name) v = value;
    return v;
}

bool Arguments::Flag(const std::string& name) const
{
    return std::find(flags.begin(), flags.end(), name) != flags.end();
}

bool ParseArguments(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                    const std::vector<std::string>& flagOptions, Arguments& out, std::string& message)
{
    auto among = [](const std::vector<std::string>& names, const std::string& a) {
        return std::find(names.begin(), names.end(), a) != names.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (among(valueOptions, a)) {
            if (i + 1 >= args.size()) {
                message = a + " needs a value";
                return false;
            }
            out.valued.emplace_back(a, args[++i]);
        } else if (among(flagOptions, a)) {
            out.flags.push_back(a);
        } else if (a.size() > 1 && a[0] == '-') {
            message = "unknown option " + a;
            return false;
        } else {
            out.positional.push_back(a);
        }
    }
    return true;
}

bool ParseSixDigits(const std::string& text, std::array<int, 6>& digits)
{
    if (text.size() != digits.size()) return false;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return false;
        digits[k] = text[k] - '0';
    }
    return true;
}

namespace {

std::vector<Command> AllCommands()
{
    std::vector<Command> all;
    for (auto list : {ModelCommands, ReportCommands, ImageCommands, ProtocolCommands, SessionCommands, SunCommands,
                      DiffCommands, ScheduleCommands, NamesCommands, FleetCommands}) {
        for (Command& c : list()) all.push_back(std::move(c));
    }
    return all;
}

void PrintHelp(const std::vector<Command>& commands)
{
    std::cout << "tamberline-cli: settings files, panel images, reports and panel transfers\n"
                 "for the Tamberline II lighting-control panel.\n\nCommands:\n";
    for (const Command& c : commands) {
        std::cout << "  " << c.name << " " << c.usage << "\n      " << c.summary << "\n";
    }
}

}  // namespace

}  // namespace t2::cli

int main(int argc, char** argv)
{
    using namespace t2::cli;
#ifdef SIGPIPE
    // A reader that goes away (report X - | head) is no reason to die: the
    // write fails with EPIPE and the command ends quietly.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    const std::vector<Command> commands = AllCommands();
    if (argc < 2) {
        PrintHelp(commands);
        return ExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(commands);
        return ExitOk;
    }
    for (const Command& c : commands) {
        if (c.name != name) continue;
        std::vector<std::string> args(argv + 2, argv + argc);
        for (const std::string& a : args) {
            if (a == "--help" || a == "-h") {
                std::cout << "usage: tamberline-cli " << c.name << " " << c.usage << "\n" << c.summary << "\n";
                return ExitOk;
            }
        }
        try {
            return c.run(args);
        } catch (const std::bad_alloc&) {
            return Fail("not enough memory");
        } catch (const std::exception& e) {
            return Fail(e.what());
        }
    }
    std::cerr << "tamberline-cli: unknown command '" << name << "' (try --help)\n";
    return ExitUsage;
}
