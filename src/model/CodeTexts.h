// The texts of the codes kept in the configuration records: input types, relay
// options, control options, time codes, device types, pilot sources, calendar
// names and the panel-wide options. The editor windows and Setup fill their
// lists from these tables (the stored value is the index of its text) and the
// documentation report prints them, so each text is typed once, here.
//
// Where the report words a code differently from an editor's list (the report
// says "PhotoCell" and "Maint. On/Off" where the device editor says "Photocell"
// and "Maintained On/Off") both tables are here, named after their user.
#pragma once

#include <array>
#include <span>
#include <string>

namespace t2 {

using TextTable = std::span<const char* const>;

// The text of a code, or nullptr when the code lies outside the table.
const char* TableText(TextTable table, int code);

// What the program writes for a stored code that has no text: "?" followed by
// the stored number ("?7", "?-1"). Stable, visible, never empty.
std::string OutOfTableText(int code);

// The text of a code, or OutOfTableText(code) when there is none.
std::string CodeText(TextTable table, int code);

// ---- Relays (relay output options) ----
inline constexpr std::array<const char*, 7> RelayTimerTypeTexts{
    "No Blink", "Blink", "HID Delay", "Alarm Off", "Alarm On", "Pulsed Off", "Pulsed On"};
inline constexpr std::array<const char*, 4> RelayPowerOnTypeTexts{"Off", "On", "On/In:1", "Last State"};

// ---- Local inputs (input options) ----
enum LocalInputType : int {
    InputMomentaryOnOff = 0, InputMomentaryPB = 1, InputMaintOnOff = 2, InputMaintMultiWay = 3,
    InputSetPreset = 4, InputTimedOn = 5, InputHidBiLevel = 6, InputTwoStep = 7, InputFourStep = 8,
    InputInputDisable = 9, InputTimerDisable = 10, InputOutputOverride = 11, InputForceTimer = 12,
};
inline constexpr std::array<const char*, 13> InputTypeTexts{
    "Momentary On/Off", "Momentary PB", "Maint. On/Off", "Maint. Multi-Way", "Set Preset",
    "Timed On", "HID Bi-Level", "2 Step", "4 Step", "Input Disable", "Timer Disable",
    "Output Override", "Force Timer"};

// ---- Control options (what an input does to a relay, input, timer or group) ----
inline constexpr std::array<const char*, 5> ActionsOnOffBlink{"No Action", "On Only", "Off Only", "On And Off",
                                                               "Blink Alert"};
inline constexpr std::array<const char*, 4> ActionsOnOff{"No Action", "On Only", "Off Only", "On And Off"};
inline constexpr std::array<const char*, 1> ActionsNone{"."};
inline constexpr std::array<const char*, 2> ActionsTimedOn{"No Action", "Timed On"};
inline constexpr std::array<const char*, 4> ActionsHidBiLevel{"No Action", "On-Off", "Hi-Lo(NO)", "Hi-Lo(NC)"};
inline constexpr std::array<const char*, 3> ActionsStep{"No Action", "Step A", "Step B"};
inline constexpr std::array<const char*, 2> ActionsDisable{"No Action", "Disable"};
inline constexpr std::array<const char*, 4> ActionsOverride{"No Action", "Hold On", "Hold Off", "Hold Status"};
inline constexpr std::array<const char*, 2> ActionsForce{"No Action", "Force"};

// The action list a local input of this type offers for its rows in the
// input-to-relay window (rows are relays, inputs or timers by type); an empty
// list for a type outside 0..12. The highest code is the list's size - 1.
TextTable InputRelayActions(int inputType);
// The same for the input-to-group window (types 4, 9, 10 and 12 get ".").
TextTable InputGroupActions(int inputType);

// ---- Vantel devices ----
enum VantelDeviceType : int { DeviceNone = 0, DeviceKim4 = 7, DeviceR6 = 8, DevicePhotocell = 9 };
inline constexpr std::array<const char*, 10> DeviceTypeTexts{
    "None", "1 Button", "2 Button", "3 Button", "4 Button", "5 Button", "6 Button", "KIM-4", "R6", "Photocell"};
// Inputs of each device type (a photocell has 8 channels).
inline constexpr std::array<int, 10> DeviceTypeInputCounts{0, 1, 2, 3, 4, 5, 6, 4, 6, 8};
// Number of inputs of a device type; 0 for no device and for a type outside the table.
int DeviceInputCount(int deviceType);

// Input type lists of the device editor, by device kind.
inline constexpr std::array<const char*, 5> ButtonInputTypeTexts{"Momentary PB", "Set Preset", "Timed On", "2 Step",
                                                                  "4 Step"};
inline constexpr std::array<const char*, 10> Kim4InputTypeTexts{
    "Momentary On/Off", "Momentary PB", "Maintained On/Off", "Set Preset", "Timed On",
    "HID Bi-Level", "2 Step", "4 Step", "Timer Disable", "Output Override"};
inline constexpr std::array<const char*, 5> R6InputTypeTexts{"Maintained On/Off", "Set Preset", "Timed On",
                                                              "2 Step", "4 Step"};
// The report's names of the device types 0..9 and of KIM-4 and R6 input types
// (push-button input types read the same in the report as in the editor).
inline constexpr std::array<const char*, 10> ReportDeviceTypeTexts{
    "None", "1 Button", "2 Button", "3 Button", "4 Button", "5 Button", "6 Button", "KIM-4", "R6", "PhotoCell"};
inline constexpr std::array<const char*, 10> ReportKim4InputTypeTexts{
    "Momentary On/Off", "Momentary PB", "Maint. On/Off", "Set Preset", "Timed On",
    "HID Bi-Level", "2 Step", "4 Step", "Timer Disable", "Output Override"};
inline constexpr std::array<const char*, 5> ReportR6InputTypeTexts{"Maint. On/Off", "Set Preset", "Timed On",
                                                                    "2 Step", "4 Step"};
// The "Timed On" code: 2 on push buttons and R6, 4 on a KIM-4.
inline constexpr int ButtonTimedOnType = 2;
inline constexpr int Kim4TimedOnType = 4;
// The "Set Preset" code: 1 on push buttons and R6, 3 on a KIM-4; "Timer Disable" only on a KIM-4.
inline constexpr int ButtonSetPresetType = 1;
inline constexpr int Kim4SetPresetType = 3;
inline constexpr int Kim4TimerDisableType = 8;

// ---- Pilot lamps: value = source x 64 + number - 1 ----
inline constexpr std::array<const char*, 3> LocalPilotSourceTexts{"On If Relay", "On If Group", "On If Preset"};
inline constexpr std::array<const char*, 4> VantelPilotSourceTexts{"Static", "On If Relay", "On If Group",
                                                                   "On If Preset"};

// ---- Timers: time codes ----
// TimerTimeCode 0..23 is a clock hour; 24 and above is an offset time whose
// low byte carries bit 7 (open/close), bits 5-6 (type), bits 3-4 (set) and
// bits 0-1 (offset bits 8-9).
inline constexpr std::array<const char*, 4> AstroOffsetTexts{"Before Sunrise", "After Sunrise", "Before Sunset",
                                                             "After Sunset"};
inline constexpr std::array<const char*, 4> OpenCloseOffsetTexts{"Before Open", "After Open", "Before Close",
                                                                 "After Close"};
inline constexpr std::array<const char*, 3> TimerTimeTypeTexts{"Normal Time", "Astro Time", "Open/Close Time"};
inline constexpr std::array<const char*, 2> TimerDaysTypeTexts{"Normal Days", "Holiday"};
// Check boxes of the timer days mask, bit 0..7 (a bit is 0 when its box is checked).
inline constexpr std::array<const char*, 8> TimerDayBoxTexts{"Sunday", "Monday", "Tuesday", "Wednesday",
                                                             "Thursday", "Friday", "Saturday", "Ignore Holidays"};
// Clock times of the timer window: the hour of the half day 0..11 and AM/PM.
inline constexpr std::array<const char*, 12> ClockHourTexts{"12:", "1:", "2:", "3:", "4:",  "5:",
                                                            "6:",  "7:", "8:", "9:", "10:", "11:"};
inline constexpr std::array<const char*, 2> AmPmTexts{"AM", "PM"};
// What a timer does to a relay or group (TimerRelayControl, TimerGroupControl)
// and to a preset (TimerPresetControl).
inline constexpr std::array<const char*, 3> TimerSwitchActionTexts{"None", "Turn On", "Turn Off"};
inline constexpr std::array<const char*, 2> TimerPresetActionTexts{"None", "Activate"};

// ---- Calendar ----
inline constexpr std::array<const char*, 7> DayNames{"Sunday", "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};
inline constexpr std::array<const char*, 12> MonthNames{"January", "February", "March", "April",
                                                        "May", "June", "July", "August",
                                                        "September", "October", "November", "December"};
inline constexpr std::array<const char*, 12> MonthAbbreviations{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// Days shown for each month of the single-date times (February always 29).
inline constexpr std::array<int, 12> SingleDateDaysInMonth{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Daylight saving time: week code 1..5 and month code 1..12 (list index = code - 1).
inline constexpr std::array<const char*, 5> DstWeekTexts{"1st Sunday", "2nd Sunday", "3rd Sunday", "4th Sunday",
                                                         "Last Sunday"};
inline constexpr std::array<const char*, 5> DstWeekShortTexts{"1st", "2nd", "3rd", "4th", "Last"};

// ---- Astronomical clock ----
inline constexpr std::array<const char*, 5> TimeZoneTexts{"Eastern", "Central", "Mountain", "Pacific", "Alaska"};

// ---- Special functions ----
inline constexpr std::array<const char*, 2> PhotocellFilterTexts{"30 Second Average", "2 Second Average"};
inline constexpr std::array<const char*, 2> RtcSourceTexts{"60 Hz AC Line", "Internal Crystal"};
inline constexpr std::array<const char*, 2> TimedOnOperationTexts{"Timed-On Timers Begin When Input Opens",
                                                                  "Timed-On Timers Begin When Input Closes"};
inline constexpr std::array<const char*, 4> RelayDriveTexts{"17 mS Sweep", "50 mS Sweep", "17 mS Instant",
                                                            "50 mS Instant"};
inline constexpr std::array<const char*, 3> SweepIntervalTexts{"1 Hour Interval", "2 Hour Interval",
                                                               "3 Hour Interval"};

// ---- Add-on modules ----
// The report's names for AddOnModuleType 0..5.
inline constexpr std::array<const char*, 6> AddOnModuleTexts{"None", "DMX", "MODBus", "N2", "Voice DTMF", "BACnet"};
// The setup window's option buttons, index = AddOnModuleType 0..6.
inline constexpr std::array<const char*, 7> AddOnModuleOptionTexts{
    "None", "DMX Interface Module", "MODBUS Interface Module", "N2 Interface Module",
    "Voice / DTMF Module", "BACnet Interface Module", "Modem / Tamberline"};
enum AddOnModule : int { AddOnNone = 0, AddOnDmx = 1, AddOnModbus = 2, AddOnN2 = 3, AddOnVoiceDtmf = 4,
                         AddOnBacnet = 5, AddOnModem = 6, AddOnEthernet = 7 };
// The cards without settings, AddOnModuleType 6 and 7 (7 only taken over from
// a panel that reports an Ethernet card).
inline constexpr std::array<const char*, 2> AddOnCardWithoutSettingsTexts{"Modem", "Ethernet"};
inline constexpr std::array<const char*, 2> ModbusProtocolTexts{"ASCII", "RTU"};
inline constexpr std::array<const char*, 4> ModbusBaudTexts{"38400", "19200", "9600", "4800"};
inline constexpr std::array<const char*, 3> ModbusParityTexts{"None", "Odd", "Even"};

// ---- Lists of numbers: blink alert, override and alarm times, DMX ----
// Entries first..last, each prefix + the number + suffix; the entry of number
// n stands for the stored value n - first + firstValue.
struct NumberList {
    int first;
    int last;
    const char* prefix;
    const char* suffix;
    int firstValue;
};
// The unit stays plural, so the first alarm entry reads "1 Seconds".
inline constexpr NumberList BlinkAlertMinutesList{2, 99, "", " Minutes", 2};
inline constexpr NumberList OverrideMinutesList{5, 999, "", " Minutes", 5};
inline constexpr NumberList AlarmSecondsList{1, 99, "", " Seconds", 1};
// DMX channel 1..512; channel 0 is no channel.
inline constexpr NumberList DmxChannelList{1, 512, "DMX ", "", 1};
inline constexpr const char* DmxNoChannelText = "None";
inline constexpr NumberList DmxLevelList{1, 99, "", "%", 1};
// The filter "1" .. "16" is stored as its list index 0..15.
inline constexpr NumberList DmxFilterList{1, 16, "", "", 0};

// ---- Formats ----
// Decimal with at least width digits and leading zeros (Digits(5, 2) is "05");
// a negative number keeps its sign in front of the zeros (-05).
std::string Digits(long long n, int width);
// A time of day in minutes after midnight (0..1439) in the form "h:nnA/P":
// 0 is 12:00A, 390 is 6:30A, 1110 is 6:30P. Outside 0..1439: OutOfTableText.
std::string ClockText(int minutesOfDay);
// A time in minutes after midnight read as a fraction of a day and shown
// "h:nnA/P": whole days drop away (1440 is 12:00A again, 1455 is 12:15A) and a
// negative time shows the time of day of its size (-15 is 12:15A), as the
// day-fraction time format does.
std::string DayClockText(long long minutes);
// A quarter-hour time code as the fraction code / 96 of a day (0 is 12:00A,
// 95 is 11:45P, 96 is 12:00A again, 100 is 1:00A); see DayClockText.
std::string QuarterHourText(int quarterHours);
// Caption of I/O node 0..11: "Node 1" .. "Node 9", "Node A", "Node B", "Node C".
std::string NodeCaption(int node);

}  // namespace t2
