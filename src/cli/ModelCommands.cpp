#include "CliCommand.h"
#include "Json.h"

#include "Defaults.h"
#include "SettingsFile.h"

#include <iostream>
#include <memory>
#include <sstream>

namespace t2::cli {

namespace {

const char* AddOnModuleName(int type)
{
    switch (type) {
    case 0: return "None";
    case 1: return "DMX";
    case 2: return "MODBus";
    case 3: return "N2";
    case 4: return "Voice DTMF";
    case 5: return "BACnet";
    case 6: return "Modem";
    default: return "unknown";
    }
}

std::string ConnectionText(const PanelConfig& c)
{
    std::ostringstream s;
    switch (c.ConnectionType()) {
    case ConnectDirectSerial: s << "direct serial on COM" << c.CommPort; break;
    case ConnectModem:
        s << "modem on COM" << c.CommPort << ", phone \"" << ForTerminal(c.ModemPhoneNumber()) << "\"";
        break;
    case ConnectTcpIp: s << "TCP/IP to \"" << ForTerminal(c.PanelAddress()) << "\""; break;
    default: s << "unknown type " << c.ConnectionType(); break;
    }
    return s.str();
}

// The command's files, with no options: false (after the usage message) for
// an option or a wrong number of files.
bool Files(const Command& self, const std::vector<std::string>& args, std::size_t count,
           std::vector<std::string>& files, int& code)
{
    Arguments a;
    std::string message;
    if (!ParseArguments(args, {}, {}, a, message) || a.positional.size() != count) {
        code = Usage(self, message);
        return false;
    }
    files = a.positional;
    return true;
}

int RunNew(const Command& self, const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    if (int code = 0; !Files(self, args, 1, files, code)) return code;
    auto state = std::make_unique<ProgramState>();
    ResetConfiguration(*state);
    std::string error;
    if (!WriteOutput(files[0], SerializeSettings(state->Config, state->Devices), error)) return Fail(error);
    return ExitOk;
}

int RunResave(const Command& self, const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    if (int code = 0; !Files(self, args, 2, files, code)) return code;
    auto state = std::make_unique<ProgramState>();
    std::string error;
    if (!ReadSettingsFile(files[0], state->Config, state->Devices, &error)) return Fail(error);
    if (!WriteOutput(files[1], SerializeSettings(state->Config, state->Devices), error)) return Fail(error);
    return ExitOk;
}

// info --json: the same, one document.
int PrintInfoJson(const std::string& file, const ProgramState& s)
{
    const PanelConfig& c = s.Config;
    QJsonArray nodes;
    for (int node = 0; node < NodeCount; ++node) nodes.append(c.NodeIOCount[node] * 4);
    QJsonArray devices;
    for (int d = 1; d < DeviceSlots; ++d) {
        if (s.Devices[d].DeviceType == 0) continue;
        devices.append(QJsonObject{
            {"address", d}, {"type", s.Devices[d].DeviceType}, {"name", JsonText(s.Devices[d].DeviceName)}});
    }
    QJsonObject link{{"typeCode", c.ConnectionType()}, {"type", LinkTypeJson(c.ConnectionType())}};
    link["comPort"] = c.CommPort;
    link["phone"] = JsonText(c.ModemPhoneNumber());
    link["address"] = JsonText(c.PanelAddress());
    return PrintJson({{"file", QString::fromStdString(file)},
                      {"panelName", JsonText(c.PanelName)},
                      {"defaultPanelName", c.PanelName.empty()},
                      {"ioPoints", TotalIOCount(c)},
                      {"ioNodes", nodes},
                      {"addOnModule", QJsonObject{{"type", c.AddOnModuleType},
                                                  {"name", AddOnModuleName(c.AddOnModuleType)}}},
                      {"vantelDevices", devices},
                      {"connection", link}});
}

int RunInfo(const Command& self, const std::vector<std::string>& args)
{
    Arguments a;
    std::string message;
    if (!ParseArguments(args, {}, {"--json"}, a, message) || a.positional.size() != 1) return Usage(self, message);
    const std::vector<std::string>& files = a.positional;
    auto state = std::make_unique<ProgramState>();
    std::string error;
    if (!ReadSettingsFile(files[0], state->Config, state->Devices, &error)) return Fail(error);
    if (a.Flag("--json")) return PrintInfoJson(files[0], *state);
    const PanelConfig& c = state->Config;

    std::cout << "Panel name:    "
              << (c.PanelName.empty() ? std::string("(default) VEL TAMBERLINE II") : ForTerminal(c.PanelName)) << "\n";
    std::cout << "I/O points:    " << TotalIOCount(c) << "\n";
    std::cout << "I/O nodes:    ";
    for (int node = 0; node < NodeCount; ++node) std::cout << " " << node + 1 << ":" << c.NodeIOCount[node] * 4;
    std::cout << "\n";
    std::cout << "Add-on module: " << AddOnModuleName(c.AddOnModuleType) << "\n";
    int inUse = 0;
    std::ostringstream list;
    for (int d = 1; d < DeviceSlots; ++d) {
        if (state->Devices[d].DeviceType == 0) continue;
        list << (inUse ? ", " : "") << d << " " << ForTerminal(state->Devices[d].DeviceName);
        ++inUse;
    }
    std::cout << "Vantel devices: " << inUse << (inUse ? " (" + list.str() + ")" : std::string()) << "\n";
    std::cout << "Connection:    " << ConnectionText(c) << "\n";
    return ExitOk;
}

}  // namespace

std::vector<Command> ModelCommands()
{
    std::vector<Command> list;
    list.push_back({"new", "OUT.TMB", "Write a fresh configuration, as after start-up (OUT.TMB - for standard output).",
                    nullptr});
    list.push_back({"resave", "IN.TMB OUT.TMB",
                    "Read a settings file and write it back (OUT.TMB - for standard output).", nullptr});
    list.push_back({"info", "IN.TMB [--json]", "Summarise a settings file (--json: as one JSON document).", nullptr});
    list[0].run = [c = list[0]](const std::vector<std::string>& a) { return RunNew(c, a); };
    list[1].run = [c = list[1]](const std::vector<std::string>& a) { return RunResave(c, a); };
    list[2].run = [c = list[2]](const std::vector<std::string>& a) { return RunInfo(c, a); };
    return list;
}

}  // namespace t2::cli
