// The members of both records in declaration order, which is also the order of
// the settings file. One list serves the file reader, the writer and any code
// that needs to walk every member by name.
#pragma once

#include "PanelConfig.h"

namespace t2 {

template <typename Config, typename Visitor>
void VisitPanelConfig(Config& c, Visitor&& v)
{
    v("PanelName", c.PanelName);
    v("InputRelayControl", c.InputRelayControl);
    v("InputGroupControl", c.InputGroupControl);
    v("InputPreset", c.InputPreset);
    v("RelayTimerType", c.RelayTimerType);
    v("RelayPowerOnType", c.RelayPowerOnType);
    v("InputType", c.InputType);
    v("InputEnableTime", c.InputEnableTime);
    v("InputDisableTime", c.InputDisableTime);
    v("InputTimedOnTime", c.InputTimedOnTime);
    v("GroupRelays", c.GroupRelays);
    v("InputPilot", c.InputPilot);
    v("TimerRelayControl", c.TimerRelayControl);
    v("TimerGroupControl", c.TimerGroupControl);
    v("TimerPresetControl", c.TimerPresetControl);
    v("PresetRelayControl", c.PresetRelayControl);
    v("NormalDayOpenTime", c.NormalDayOpenTime);
    v("NormalDayCloseTime", c.NormalDayCloseTime);
    v("SingleDateOpenTime", c.SingleDateOpenTime);
    v("SingleDateCloseTime", c.SingleDateCloseTime);
    v("RelayNames", c.RelayNames);
    v("GroupNames", c.GroupNames);
    v("InputNames", c.InputNames);
    v("TimerNames", c.TimerNames);
    v("PresetNames", c.PresetNames);
    v("TimerTimeCode", c.TimerTimeCode);
    v("TimerMinute", c.TimerMinute);
    v("TimerDays", c.TimerDays);
    v("TimerHolidayMonth", c.TimerHolidayMonth);
    v("TimerHolidayDate", c.TimerHolidayDate);
    v("BlinkAlertMinutes", c.BlinkAlertMinutes);
    v("OverrideMinutes", c.OverrideMinutes);
    v("AlarmSeconds", c.AlarmSeconds);
    v("TimedOnStartsOnClose", c.TimedOnStartsOnClose);
    v("SweepIntervalCode", c.SweepIntervalCode);
    v("SweepRelays", c.SweepRelays);
    v("SweepGroups", c.SweepGroups);
    v("DstEnabled", c.DstEnabled);
    v("DstStartWeek", c.DstStartWeek);
    v("DstStartMonth", c.DstStartMonth);
    v("DstEndWeek", c.DstEndWeek);
    v("DstEndMonth", c.DstEndMonth);
    v("Latitude", c.Latitude);
    v("Longitude", c.Longitude);
    v("TimeZone", c.TimeZone);
    v("RtcSource", c.RtcSource);
    v("PhotocellFilterShort", c.PhotocellFilterShort);
    v("AddOnModuleType", c.AddOnModuleType);
    v("NodeIOCount", c.NodeIOCount);
    v("CommPort", c.CommPort);
    v("DmxChannel", c.DmxChannel);
    v("DmxOnLevel", c.DmxOnLevel);
    v("DmxOffLevel", c.DmxOffLevel);
    v("DmxFilter", c.DmxFilter);
    v("ModbusProtocol", c.ModbusProtocol);
    v("ModbusBaud", c.ModbusBaud);
    v("ModbusParity", c.ModbusParity);
}

template <typename Device, typename Visitor>
void VisitVantelDevice(Device& d, Visitor&& v)
{
    v("DeviceType", d.DeviceType);
    v("DeviceName", d.DeviceName);
    v("DeviceInputType", d.DeviceInputType);
    v("DeviceInputTimedOnTime", d.DeviceInputTimedOnTime);
    v("DeviceInputPilot", d.DeviceInputPilot);
    v("DeviceInputOffLevel", d.DeviceInputOffLevel);
    v("DeviceInputOnLevel", d.DeviceInputOnLevel);
    v("DeviceReserved", d.DeviceReserved);
    v("DeviceInputRelayControl", d.DeviceInputRelayControl);
    v("DeviceInputGroupControl", d.DeviceInputGroupControl);
    v("DeviceInputPreset", d.DeviceInputPreset);
}

}  // namespace t2
