// Every window of the program, in the order CloseAllWindows walks them: one
// line each, with where it hangs in the menu tree (menu item names from the
// top) and, where it differs from the window's caption, the menu caption.
#include "WindowCatalog.h"

#include "WindowRegistry.h"

#include "frmT2About.h"
#include "frmT2CompareWithPanel.h"
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
        // Opened by the connection window's "Compare With Tamberline II".
        Built<frmT2CompareWithPanel>(""),
        Built<frmT2RelayStatus>(RELAYS "mnuRelayStatus"),
        Built<frmT2RelayGroupStatus>(RELAYS "mnuGroupStatus"),
        Built<frmT2RelayOutputOptions>(RELAYS "mnuRelayOutputOptions"),
        Built<frmT2RelayGrouping>(RELAYS "mnuRelayGrouping"),
        Built<frmT2InputStatus>(LOCAL "mnuInputStatus"),
        Built<frmT2InputOptions>(LOCAL "mnuInputOptions"),
        Built<frmT2InputToRelayControl>(LOCAL "mnuInputToRelayControl"),
        Built<frmT2InputToGroupControl>(LOCAL "mnuInputToGroupControl"),
        Built<frmT2VantelStatus>(VANTEL "mnuVantelStatus"),
        Built<frmT2ConfigureVantelDevices>(VANTEL "mnuConfigureVantelDevices"),
        Built<frmT2VantelInputToRelayControl>(VANTEL "mnuVantelInputToRelayControl"),
        Built<frmT2VantelInputToGroupControl>(VANTEL "mnuVantelInputToGroupControl"),
        Built<frmT2LocalInputPilots>(PILOTS "mnuLocalInputPilots"),
        Built<frmT2VantelPilots>(PILOTS "mnuVantelPilots"),
        Built<frmT2TimersConfigure>(TIMERS "mnuConfigureTimers"),
        Built<frmT2TimerToRelayControl>(TIMERS "mnuTimerToRelayControl"),
        Built<frmT2TimerToGroupControl>(TIMERS "mnuTimerToGroupControl"),
        Built<frmT2TimerToPresetControl>(TIMERS "mnuTimerToPresetControl"),
        Built<frmT2BlinkAlertAndAlarmSettings>(TIMERS "mnuBlinkAlertAndAlarmSettings"),
        Built<frmT2ConfigureTimedOn>(TIMERS "mnuConfigureTimedOn"),
        Built<frmT2ForceTimers>(TIMERS "mnuForceTimers"),
        Built<frmT2TimerSchedule>(TIMERS "mnuTimerSchedule"),
        Built<frmT2DaylightSavingTime>(TIMES "mnuDaylightSavingTime"),
        Built<frmT2AstroClockSettings>(TIMES "mnuAstroClockSettings"),
        Built<frmT2OpenAndCloseTimeNormalDays>(TIMES "mnuOpenAndCloseTimes/mnuOpenCloseTimeNormalDays", "Normal Days"),
        Built<frmT2OpenAndCloseTimeSingleDates>(TIMES "mnuOpenAndCloseTimes/mnuOpenCloseTimeSingleDates", "Single Dates"),
        Built<frmT2OffHoursSweepInterval>(TIMES "mnuOffHoursSweeps/mnuOffHoursSweepInterval", "Interval"),
        Built<frmT2OffHoursSweepRelays>(TIMES "mnuOffHoursSweeps/mnuOffHoursSweepRelays", "Relays"),
        Built<frmT2OffHoursSweepGroups>(TIMES "mnuOffHoursSweeps/mnuOffHoursSweepGroups", "Groups"),
        Built<frmT2InputActiveTimes>(TIMES "mnuInputActiveTimes"),
        Built<frmT2EditPresets>(PRESETS "mnuEditPresets"),
        Built<frmT2CapturePresets>(PRESETS "mnuCapturePresets"),
        // The Add-On Modules item opens the window of the AddOnModuleType, in this order.
        Built<frmT2AddOnModuleNone>(ADDON, "Add-On Modules"),
        Built<frmT2AddOnModuleDMX>(ADDON, "Add-On Modules"),
        Built<frmT2AddOnModuleModBus>(ADDON, "Add-On Modules"),
        Built<frmT2AddOnModuleN2>(ADDON, "Add-On Modules"),
        Built<frmT2AddOnModuleVoiceDTMF>(ADDON, "Add-On Modules"),
        Built<frmT2AddOnModuleBACnet>(ADDON, "Add-On Modules"),
        Built<frmT2EditPanelName>(NAMES "mnuEditPanelName"),
        Built<frmT2EditRelayNames>(NAMES "mnuEditRelayNames"),
        Built<frmT2EditGroupNames>(NAMES "mnuEditGroupNames"),
        Built<frmT2EditInputNames>(NAMES "mnuEditInputNames"),
        Built<frmT2EditTimerNames>(NAMES "mnuEditTimerNames"),
        Built<frmT2EditPresetNames>(NAMES "mnuEditPresetNames"),
        Built<frmT2EditVantelNames>(NAMES "mnuEditVantelNames"),
        Built<frmT2PhotocellFilter>(SPECIAL "mnuPhotocellFilter"),
        Built<frmT2RelayDrive>(SPECIAL "mnuRelayDrive"),
        Built<frmT2RTCSource>(SPECIAL "mnuRTCSource"),
        Built<frmT2Document>("mnuDocument", "&Document"),
        Built<frmT2About>("mnuAbout", "&About"),
        Built<frmT2VirtualKeypad>(""),
        Built<frmT2SystemDiagnostic>(""),
    };
    for (const WindowEntry& entry : catalog) RegisterWindow(entry);
}

}  // namespace t2
