// One change in each section of the documentation report, on a small base
// configuration, with the lines `tamberline-cli diff BASE CHANGED` prints for
// it (8-bit texts as UTF-8): the table the comparison tests of the command
// line and of the Compare window share.
#pragma once

#include "CodeTexts.h"
#include "Defaults.h"
#include "PanelConfig.h"

#include <functional>
#include <string>
#include <vector>

namespace t2::fixtures {

// The base: eight relays and inputs, a DMX module, a one-button station as device 1.
inline void ChangesBase(ProgramState& s)
{
    ResetConfiguration(s);
    s.Config.NodeIOCount[0] = 2;
    s.Config.AddOnModuleType = AddOnDmx;
    s.Devices[1].DeviceType = 1;
}

// One change to a configuration and the lines diff prints for it.
struct Change {
    const char* label;
    std::function<void(ProgramState&)> apply;
    std::vector<std::string> lines;
};

// One change in each section of the report (names changed in one of them).
inline const std::vector<Change>& Changes()
{
    static const std::vector<Change> changes = {
        {"time zone", [](ProgramState& s) { s.Config.TimeZone = 3; },
         {"[Panel Settings]\tTime Zone\tCentral\tPacific"}},
        {"relay timer type", [](ProgramState& s) { s.Config.RelayTimerType[4] = 4; },
         {"[Relay Schedule]\tR05 Timer Type\tNo Blink\tAlarm On"}},
        {"group name", [](ProgramState& s) { s.Config.GroupNames[2] = "LOBBY \xC9"; },
         {"[Group Schedule]\tG03 Group Name\tGROUP 03\tLOBBY \xC3\x89",
          "[Off Hours Sweeps Group Schedule]\tG03 Group Name\tGROUP 03\tLOBBY \xC3\x89"}},
        {"input type",
         [](ProgramState& s) {
             s.Config.InputType[2] = 5;
             s.Config.InputTimedOnTime[2] = 15;
         },
         {"[Local Input Schedule]\tI03 Input Type\tMomentary On/Off\tTimed On 015 Min"}},
        {"device input type", [](ProgramState& s) { s.Devices[1].DeviceInputType[0] = 3; },
         {"[Vantel Input Schedule]\tVT-01.1 Input Type\tMomentary PB\t2 Step"}},
        {"input pilot", [](ProgramState& s) { s.Config.InputPilot[0] = 66; },
         {"[Local Input Pilot Schedule]\tI01 Pilot\tRelay  01\tGroup  03"}},
        {"device pilot", [](ProgramState& s) { s.Devices[1].DeviceInputPilot[0] = 1; },
         {"[Vantel Pilot Schedule]\tVT-01.1 Pilot\tStatic  Off\tStatic  On"}},
        {"timer time",
         [](ProgramState& s) {
             s.Config.TimerTimeCode[6] = 120;
             s.Config.TimerMinute[6] = 30;
         },
         {"[Timer Relay/Group/Preset Schedule]\tT07 Time\t12:00A\t030 After Sunset"}},
        {"preset relay", [](ProgramState& s) { s.Config.PresetRelayControl(1, 3) = 1; },
         {"[Relay Schedule]\tR04 Presets\t\tP02", "[Preset Schedule]\tP02 On Relays\t\t4"}},
        {"sweep relay", [](ProgramState& s) { s.Config.SweepRelays[5] = True; },
         {"[Off Hours Sweeps Relay Schedule]\tR06 Include In Off Hours Sweeps\tNo\tYes"}},
        {"open time", [](ProgramState& s) { s.Config.NormalDayOpenTime[0] = 24; },
         {"[Open Close Times Schedule]\tSunday Open Time\t8:00A\t6:00A"}},
        {"single date",
         [](ProgramState& s) {
             s.Config.SingleDateOpenTime(1, 28) = 24;
             s.Config.SingleDateCloseTime(1, 28) = 72;
         },
         {"[Open Close Times Schedule]\tFeb 29 Open Time\t--:--\t6:00A",
          "[Open Close Times Schedule]\tFeb 29 Close Time\t--:--\t6:00P"}},
        {"dmx channel", [](ProgramState& s) { s.Config.DmxChannel[0] = 5; },
         {"[DMX Schedule]\tR01 DMX Channel\tNone\t005"}},
    };
    return changes;
}

}  // namespace t2::fixtures
