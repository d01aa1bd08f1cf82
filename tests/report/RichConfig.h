// A configuration with something in most members and many corner cases: the
// report of it is checked in (data/rich_report.txt), and its PDF is read back.
#pragma once

#include "../common/TestRecords.h"

#include <memory>

namespace t2::fixtures {

inline std::unique_ptr<Records> RichRecords()
{
    auto r = FreshRecords();
    PanelConfig& c = r->config;
    c.PanelName = "SAINT JOHN'S \xC9GLISE";  // an 8-bit name byte goes out as it is
    c.NodeIOCount[0] = 2;                     // 8 points on node 1, none on node 2,
    c.NodeIOCount[2] = 1;                     // then 4 on node 3 and 4 on node A
    c.NodeIOCount[9] = 1;                     // -> 16 relays and inputs
    c.AddOnModuleType = 1;
    c.Latitude = 33;
    c.Longitude = 87;
    c.TimeZone = 0;
    c.DstStartWeek = 5;
    c.DstStartMonth = 3;
    c.DstEndWeek = 4;
    c.DstEndMonth = 10;
    c.BlinkAlertMinutes = 5;
    c.OverrideMinutes = 999;
    c.AlarmSeconds = 30;
    c.TimedOnStartsOnClose = True;
    c.SweepIntervalCode = 1;
    c.PhotocellFilterShort = True;
    c.CommPort = 3;
    c.DmxOffLevel = 5;
    c.DmxOnLevel = 95;
    c.DmxFilter = 15;
    for (int i = 0; i < 16; ++i) c.DmxChannel[static_cast<std::size_t>(i)] = static_cast<Integer>(i == 5 ? 0 : 100 + i);
    c.DmxChannel[15] = 512;

    c.RelayNames[0] = "LOBBY";
    c.RelayNames[1] = "HALL EAST LIGHTS";  // longer than the panel shows: the report keeps it whole
    c.RelayNames[2] = "";
    for (int r6 = 0; r6 < 16; ++r6) {
        c.RelayTimerType[static_cast<std::size_t>(r6)] = static_cast<Integer>(r6 % 7);
        c.RelayPowerOnType[static_cast<std::size_t>(r6)] = static_cast<Integer>(r6 % 4);
    }
    c.RelayPowerOnType[15] = 7;  // no text: placeholder
    c.GroupNames[0] = "ALL ON";
    c.GroupNames[47] = "NIGHT";
    for (int rl : {0, 1, 2, 3}) c.GroupRelays(0, rl) = True;
    c.GroupRelays(47, 15) = True;
    c.GroupRelays(5, 9) = True;
    c.GroupRelays(5, 30) = True;  // a relay beyond the I/O count is not listed

    // Local inputs 0..12 of every type, input 13 of a type without text.
    for (int i = 0; i < 13; ++i) c.InputType[static_cast<std::size_t>(i)] = static_cast<Integer>(i);
    c.InputType[13] = 13;
    c.InputNames[0] = "DOOR SW";
    c.InputRelayControl(0, 0) = 1;
    c.InputRelayControl(0, 4) = 3;
    c.InputGroupControl(0, 0) = 2;
    c.InputGroupControl(0, 47) = 4;
    c.InputRelayControl(1, 1) = 3;
    c.InputRelayControl(2, 15) = 4;
    c.InputGroupControl(3, 5) = 1;
    c.InputPreset[4] = 11;
    c.InputRelayControl(4, 7) = 1;  // stale code of a Set Preset input: not listed by the input
    c.InputTimedOnTime[5] = 45;
    c.InputRelayControl(5, 2) = 1;
    c.InputRelayControl(6, 3) = 2;
    c.InputRelayControl(7, 5) = 1;
    c.InputRelayControl(8, 5) = 2;
    c.InputRelayControl(9, 0) = 1;  // Input Disable: rows are inputs
    c.InputRelayControl(9, 13) = 1;
    c.InputRelayControl(10, 2) = 1;  // Timer Disable: rows are timers 0..47
    c.InputRelayControl(10, 40) = 1;
    c.InputRelayControl(11, 6) = 3;
    c.InputRelayControl(12, 47) = 1;  // Force Timer
    c.InputRelayControl(13, 8) = 1;
    c.InputEnableTime[0] = 28;
    c.InputDisableTime[0] = 72;
    c.InputEnableTime[1] = 95;
    c.InputDisableTime[1] = 48;
    c.InputEnableTime[2] = 100;  // past the end of a day: 1:00A
    c.InputPilot[0] = 66;        // group 3
    c.InputPilot[1] = 175;       // preset 48
    c.InputPilot[2] = 200;       // source without text: no line
    c.InputPilot[3] = 63;        // relay number 64 as the bits give it

    // Timers.
    c.TimerNames[0] = "DUSK";
    c.TimerTimeCode[0] = 120;
    c.TimerMinute[0] = 30;
    c.TimerDays[0] = 0;
    c.TimerRelayControl(0, 0) = 1;
    c.TimerRelayControl(0, 1) = 1;
    c.TimerRelayControl(0, 15) = 2;
    c.TimerRelayControl(0, 20) = 2;  // beyond the I/O count
    c.TimerGroupControl(0, 0) = 1;
    c.TimerGroupControl(0, 47) = 2;
    c.TimerPresetControl(0, 2) = 1;
    c.TimerNames[1] = "CLOSE";
    c.TimerTimeCode[1] = 18;
    c.TimerMinute[1] = 30;
    c.TimerDays[1] = 1 | 64;
    c.TimerTimeCode[2] = 24 + 128 + 96 + 3;  // 999 After Close
    c.TimerMinute[2] = 231;
    c.TimerDays[2] = 255;
    c.TimerTimeCode[3] = 0;
    c.TimerMinute[3] = 5;
    c.TimerHolidayMonth[3] = 12;
    c.TimerHolidayDate[3] = 25;
    c.TimerTimeCode[4] = 24 + 32 + 1;  // After Sunrise, offset 256 + 4
    c.TimerMinute[4] = 4;
    c.TimerTimeCode[5] = 152;  // Before Open 0
    c.TimerTimeCode[6] = 184 + 2;
    c.TimerMinute[6] = 0;
    c.TimerTimeCode[7] = 24 + 64;
    c.TimerMinute[7] = 15;
    c.TimerTimeCode[8] = 216;
    c.TimerMinute[8] = 1;
    c.TimerTimeCode[9] = 40;  // not a time code: empty field
    c.TimerTimeCode[10] = 23;
    c.TimerMinute[10] = 59;
    c.TimerTimeCode[11] = 9;
    c.TimerMinute[11] = 75;  // past the hour: 10:15A
    c.TimerDays[11] = 128;
    c.TimerRelayControl(11, 3) = 3;  // a code that is neither on nor off is in neither list

    // Presets.
    c.PresetNames[0] = "SCENE A";
    c.PresetRelayControl(0, 0) = 1;
    c.PresetRelayControl(0, 1) = 2;
    c.PresetRelayControl(0, 2) = 1;
    c.PresetRelayControl(0, 15) = 2;
    c.PresetRelayControl(11, 7) = 1;

    // Sweeps.
    c.SweepRelays[0] = True;
    c.SweepRelays[15] = True;
    c.SweepGroups[47] = True;

    // Open and close times.
    c.NormalDayOpenTime[0] = 0;
    c.NormalDayCloseTime[0] = 95;
    c.NormalDayOpenTime[6] = 38;
    c.NormalDayCloseTime[6] = 70;
    c.SingleDateOpenTime(0, 0) = 40;
    c.SingleDateCloseTime(0, 0) = 60;
    c.SingleDateOpenTime(1, 28) = 36;
    c.SingleDateCloseTime(1, 28) = 100;  // close unset with open set: 1:00A
    c.SingleDateOpenTime(6, 3) = 96;     // not above 96: midnight, 12:00A
    c.SingleDateOpenTime(11, 24) = 101;  // above 96: both fields unset
    c.SingleDateCloseTime(11, 24) = 10;

    // Vantel devices.
    VantelDevices& d = r->devices;
    d[0].DeviceType = 3;  // record 0 is reported like any other record with a type
    d[1].DeviceType = 3;
    d[1].DeviceName = "FOYER";
    d[1].DeviceInputType[0] = 0;
    d[1].DeviceInputType[1] = 1;
    d[1].DeviceInputPreset[1] = 4;
    d[1].DeviceInputType[2] = 2;
    d[1].DeviceInputTimedOnTime[2] = 120;
    d[1].DeviceInputRelayControl(0, 0) = 1;
    d[1].DeviceInputRelayControl(0, 9) = 3;
    d[1].DeviceInputGroupControl(0, 1) = 1;
    d[1].DeviceInputRelayControl(2, 3) = 1;
    d[1].DeviceInputRelayControl(5, 3) = 1;  // input 6 of a 3-button device: still counted by the relay
    d[1].DeviceInputPilot[0] = 64 + 0;       // relay 1
    d[1].DeviceInputPilot[1] = 192 + 4;      // preset 5
    d[1].DeviceInputPilot[2] = 1;            // static on
    d[10].DeviceType = 7;  // KIM-4, device 0A
    d[10].DeviceInputType[0] = 8;  // Timer Disable
    d[10].DeviceInputRelayControl(0, 0) = 1;
    d[10].DeviceInputRelayControl(0, 47) = 1;
    d[10].DeviceInputType[1] = 4;  // Timed On
    d[10].DeviceInputTimedOnTime[1] = 5;
    d[10].DeviceInputGroupControl(1, 2) = 1;
    d[10].DeviceInputType[2] = 3;  // Set Preset
    d[10].DeviceInputPreset[2] = 47;
    d[10].DeviceInputType[3] = 11;  // no text
    d[10].DeviceInputPilot[0] = 128 + 2;
    d[10].DeviceInputPilot[1] = 0;
    d[10].DeviceInputPilot[2] = 300;  // beyond a byte: no line
    d[10].DeviceInputPilot[3] = 255;  // preset 64 as the bits give it
    d[16].DeviceType = 8;  // R6, device 10
    d[16].DeviceName = "STAGE R6";
    for (int k = 0; k < 6; ++k) d[16].DeviceInputType[static_cast<std::size_t>(k)] = static_cast<Integer>(k);
    d[16].DeviceInputRelayControl(0, 10) = 1;
    d[16].DeviceInputRelayControl(3, 11) = 2;
    d[16].DeviceInputGroupControl(4, 46) = 1;
    d[31].DeviceType = 9;  // photocell, device 1F
    for (int k = 0; k < 8; ++k) {
        d[31].DeviceInputOffLevel[static_cast<std::size_t>(k)] = static_cast<Integer>(k * 36);
        d[31].DeviceInputOnLevel[static_cast<std::size_t>(k)] = static_cast<Integer>(255 - k * 20);
    }
    d[31].DeviceInputRelayControl(7, 12) = 1;
    d[31].DeviceInputPilot[0] = 64;  // photocells have no pilot lines
    d[32].DeviceType = 12;           // a type the panel does not know: no lines
    return r;
}

}  // namespace t2::fixtures
