// Every window of the program, in the order CloseAllWindows walks them: one
// line each, with where it hangs in the menu tree (menu item names from the
// top) and, where it differs from the window's caption, the menu caption.
// A built window names its class; one not built yet names itself and opens as
// a placeholder.
#include "WindowCatalog.h"

#include "WindowRegistry.h"

#include "frmT2About.h"
#include "frmT2Connect.h"
#include "frmT2Setup.h"

#include "EditorWindows.h"
#include "StatusWindows.h"

namespace t2 {

namespace {

template <typename W>
WindowEntry Built(const char* menu, const char* menuCaption = "")
{
    return {.name = QString::fromLatin1(W::Info.name), .caption = QString::fromLatin1(W::Info.caption),
            .menu = QString::fromLatin1(menu), .menuCaption = QString::fromLatin1(menuCaption),
            .factory = [](ProgramState& s) -> QWidget* { return new W(s); }};
}

WindowEntry Planned(WindowInfo info, const char* menu, const char* menuCaption = "")
{
    return {.name = QString::fromLatin1(info.name), .caption = QString::fromLatin1(info.caption),
            .menu = QString::fromLatin1(menu), .menuCaption = QString::fromLatin1(menuCaption), .factory = {}};
}

// Menu paths used by several lines.
#define RELAYS "mnuEdit/mnuRelayOutputs/"
#define LOCAL "mnuEdit/mnuSwitchInputs/mnuLocalInputs/"
#define VANTEL "mnuEdit/mnuSwitchInputs/mnuVantelInputs/"
#define PILOTS "mnuEdit/mnuSwitchPilots/"
#define TIMERS "mnuEdit/mnuTimers/"
#define TIMES "mnuEdit/mnuSetTimes/"
#define PRESETS "mnuEdit/mnuPresets/"
#define ADDON "mnuEdit/mnuAddOnModules"
#define SPECIAL "mnuEdit/mnuSpecialFunctions/"
#define NAMES "mnuEdit/mnuSpecialFunctions/mnuEditNames/"

}  // namespace

void RegisterAllWindows()
{
    const WindowEntry catalog[] = {
        Built<frmT2Setup>("mnuSetup", "&Setup"),
        Built<frmT2Connect>("mnuConnect", "&Connect"),
        Built<frmT2RelayStatus>(RELAYS "mnuRelayStatus"),
        Built<frmT2RelayGroupStatus>(RELAYS "mnuGroupStatus"),
        Built<frmT2RelayOutputOptions>(RELAYS "mnuRelayOutputOptions"),
        Built<frmT2RelayGrouping>(RELAYS "mnuRelayGrouping"),
        Built<frmT2InputStatus>(LOCAL "mnuInputStatus"),
        Planned({"frmT2InputOptions", "Input Options"}, LOCAL "mnuInputOptions"),
        Planned({"frmT2InputToRelayControl", "Input To Relay Control"}, LOCAL "mnuInputToRelayControl"),
        Planned({"frmT2InputToGroupControl", "Input To Group Control"}, LOCAL "mnuInputToGroupControl"),
        Built<frmT2VantelStatus>(VANTEL "mnuVantelStatus"),
        Planned({"frmT2ConfigureVantelDevices", "Configure Vantel Devices"}, VANTEL "mnuConfigureVantelDevices"),
        Planned({"frmT2VantelInputToRelayControl", "Vantel Input To Relay Control"},
                VANTEL "mnuVantelInputToRelayControl"),
        Planned({"frmT2VantelInputToGroupControl", "Vantel Input To Group Control"},
                VANTEL "mnuVantelInputToGroupControl"),
        Planned({"frmT2LocalInputPilots", "Local Input Pilots"}, PILOTS "mnuLocalInputPilots"),
        Planned({"frmT2VantelPilots", "Vantel Pilots"}, PILOTS "mnuVantelPilots"),
        Built<frmT2TimersConfigure>(TIMERS "mnuConfigureTimers"),
        Built<frmT2TimerToRelayControl>(TIMERS "mnuTimerToRelayControl"),
        Built<frmT2TimerToGroupControl>(TIMERS "mnuTimerToGroupControl"),
        Built<frmT2TimerToPresetControl>(TIMERS "mnuTimerToPresetControl"),
        Planned({"frmT2BlinkAlertAndAlarmSettings", "Blink Alert And Alarm Settings"},
                TIMERS "mnuBlinkAlertAndAlarmSettings"),
        Planned({"frmT2ConfigureTimedOn", "Configure Timed-On"}, TIMERS "mnuConfigureTimedOn"),
        Built<frmT2ForceTimers>(TIMERS "mnuForceTimers"),
        Built<frmT2DaylightSavingTime>(TIMES "mnuDaylightSavingTime"),
        Built<frmT2AstroClockSettings>(TIMES "mnuAstroClockSettings"),
        Built<frmT2OpenAndCloseTimeNormalDays>(TIMES "mnuOpenAndCloseTimes/mnuOpenCloseTimeNormalDays", "Normal Days"),
        Built<frmT2OpenAndCloseTimeSingleDates>(TIMES "mnuOpenAndCloseTimes/mnuOpenCloseTimeSingleDates", "Single Dates"),
        Built<frmT2OffHoursSweepInterval>(TIMES "mnuOffHoursSweeps/mnuOffHoursSweepInterval", "Interval"),
        Built<frmT2OffHoursSweepRelays>(TIMES "mnuOffHoursSweeps/mnuOffHoursSweepRelays", "Relays"),
        Built<frmT2OffHoursSweepGroups>(TIMES "mnuOffHoursSweeps/mnuOffHoursSweepGroups", "Groups"),
        Planned({"frmT2InputActiveTimes", "Input Active Times"}, TIMES "mnuInputActiveTimes"),
        Planned({"frmT2EditPresets", "Edit Presets"}, PRESETS "mnuEditPresets"),
        Built<frmT2CapturePresets>(PRESETS "mnuCapturePresets"),
        // The Add-On Modules item opens the window of the AddOnModuleType, in this order.
        Planned({"frmT2AddOnModuleNone", "Add On Module"}, ADDON, "Add-On Modules"),
        Planned({"frmT2AddOnModuleDMX", "Add On Module DMX"}, ADDON, "Add-On Modules"),
        Planned({"frmT2AddOnModuleModBus", "Add On Module ModBus"}, ADDON, "Add-On Modules"),
        Planned({"frmT2AddOnModuleN2", "Add On Module N2"}, ADDON, "Add-On Modules"),
        Planned({"frmT2AddOnModuleVoiceDTMF", "Add On Module Voice DTMF"}, ADDON, "Add-On Modules"),
        Planned({"frmT2AddOnModuleBACnet", "Add On Module BACnet"}, ADDON, "Add-On Modules"),
        Built<frmT2EditPanelName>(NAMES "mnuEditPanelName"),
        Built<frmT2EditRelayNames>(NAMES "mnuEditRelayNames"),
        Built<frmT2EditGroupNames>(NAMES "mnuEditGroupNames"),
        Built<frmT2EditInputNames>(NAMES "mnuEditInputNames"),
        Built<frmT2EditTimerNames>(NAMES "mnuEditTimerNames"),
        Built<frmT2EditPresetNames>(NAMES "mnuEditPresetNames"),
        Built<frmT2EditVantelNames>(NAMES "mnuEditVantelNames"),
        Planned({"frmT2PhotocellFilter", "Photocell Filter"}, SPECIAL "mnuPhotocellFilter"),
        Planned({"frmT2RelayDrive", "Relay Drive"}, SPECIAL "mnuRelayDrive"),
        Planned({"frmT2RTCSource", "RTC Source"}, SPECIAL "mnuRTCSource"),
        Planned({"frmT2Document", "Document"}, "mnuDocument", "&Document"),
        Built<frmT2About>("mnuAbout", "&About"),
        Built<frmT2VirtualKeypad>(""),
        Built<frmT2SystemDiagnostic>(""),
    };
    for (const WindowEntry& entry : catalog) RegisterWindow(entry);
}

}  // namespace t2
