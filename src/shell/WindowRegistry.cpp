#include "WindowRegistry.h"

#include <map>

namespace t2 {

namespace {

struct Registry {
    std::map<QString, WindowFactory> factories;
    QStringList order;  // registration order
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

AppShell* currentShell = nullptr;

}  // namespace

void RegisterWindow(const QString& name, WindowFactory factory)
{
    Registry& r = TheRegistry();
    if (!r.factories.count(name)) r.order << name;
    r.factories[name] = std::move(factory);
}

const WindowFactory* FindWindowFactory(const QString& name)
{
    const Registry& r = TheRegistry();
    auto it = r.factories.find(name);
    return it == r.factories.end() || !it->second ? nullptr : &it->second;
}

bool IsWindowBuilt(const QString& name) { return FindWindowFactory(name) != nullptr; }

QStringList RegisteredWindowNames()
{
    QStringList names;
    for (const QString& n : WindowList())
        if (IsWindowBuilt(n)) names << n;
    for (const QString& n : TheRegistry().order)
        if (!names.contains(n) && IsWindowBuilt(n)) names << n;
    return names;
}

const QStringList& WindowList()
{
    static const QStringList list = {
        "frmT2Setup",
        "frmT2Connect",
        "frmT2RelayStatus",
        "frmT2RelayGroupStatus",
        "frmT2RelayOutputOptions",
        "frmT2RelayGrouping",
        "frmT2InputStatus",
        "frmT2InputOptions",
        "frmT2InputToRelayControl",
        "frmT2InputToGroupControl",
        "frmT2VantelStatus",
        "frmT2ConfigureVantelDevices",
        "frmT2VantelInputToRelayControl",
        "frmT2VantelInputToGroupControl",
        "frmT2LocalInputPilots",
        "frmT2VantelPilots",
        "frmT2TimersConfigure",
        "frmT2TimerToRelayControl",
        "frmT2TimerToGroupControl",
        "frmT2TimerToPresetControl",
        "frmT2BlinkAlertAndAlarmSettings",
        "frmT2ConfigureTimedOn",
        "frmT2ForceTimers",
        "frmT2DaylightSavingTime",
        "frmT2AstroClockSettings",
        "frmT2OpenAndCloseTimeNormalDays",
        "frmT2OpenAndCloseTimeSingleDates",
        "frmT2OffHoursSweepInterval",
        "frmT2OffHoursSweepRelays",
        "frmT2OffHoursSweepGroups",
        "frmT2InputActiveTimes",
        "frmT2EditPresets",
        "frmT2CapturePresets",
        "frmT2AddOnModuleNone",
        "frmT2AddOnModuleDMX",
        "frmT2AddOnModuleModBus",
        "frmT2AddOnModuleN2",
        "frmT2AddOnModuleVoiceDTMF",
        "frmT2AddOnModuleBACnet",
        "frmT2EditPanelName",
        "frmT2EditRelayNames",
        "frmT2EditGroupNames",
        "frmT2EditInputNames",
        "frmT2EditTimerNames",
        "frmT2EditPresetNames",
        "frmT2EditVantelNames",
        "frmT2PhotocellFilter",
        "frmT2RelayDrive",
        "frmT2RTCSource",
        "frmT2Document",
        "frmT2About",
        "frmT2VirtualKeypad",
        "frmT2SystemDiagnostic",
    };
    return list;
}

QString AddOnModuleWindowName(int type)
{
    static const char* const names[] = {"frmT2AddOnModuleNone", "frmT2AddOnModuleDMX",
                                        "frmT2AddOnModuleModBus", "frmT2AddOnModuleN2",
                                        "frmT2AddOnModuleVoiceDTMF", "frmT2AddOnModuleBACnet"};
    if (type < 0 || type > 5) return {};
    return names[type];
}

AppShell* Shell() { return currentShell; }

void SetShell(AppShell* shell) { currentShell = shell; }

}  // namespace t2
