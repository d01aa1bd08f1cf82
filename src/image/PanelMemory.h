// Where the panel keeps each part of its configuration. The panel's memory is
// addressed in bytes; the host mirrors it cell for cell in a PanelImage. These
// addresses are fixed by the panel firmware: every offset here is binding.
#pragma once

namespace t2::PanelMemory {

// Cells 0x0000..0x5FFF travel between host and panel, as 384 blocks of 64.
constexpr int TransferCells = 0x6000;
constexpr int BlockSize = 64;
constexpr int BlockCount = TransferCells / BlockSize;
// BuildPanelImage clears cells 0..ClearedCells-1; the last cell is never used.
constexpr int ClearedCells = 0x8000;

// A bit row set: 48 rows of 48 bits, 6 cells per row; (row, column) is bit
// column % 8 of cell base + row*6 + column/8.
constexpr int BitRowCells = 6;
constexpr int BitSetCells = 48 * BitRowCells;  // 288

// Local input to relay and group control codes: three planes each (code bits 0, 1, 2).
constexpr int InputRelayControlPlanes[3] = {0x000, 0x120, 0x240};
constexpr int InputGroupControlPlanes[3] = {0x360, 0x480, 0x5A0};

constexpr int InputPreset = 0x6C0;        // byte per input
constexpr int RelayTimerType = 0x6F0;     // byte per relay
constexpr int RelayPowerOnType = 0x720;   // byte per relay
constexpr int InputType = 0x750;          // byte per input
constexpr int InputTimedOnTime = 0x780;   // word per input, input i at +2i
constexpr int GroupRelays = 0x7E0;        // bit row set, row = group, column = relay
constexpr int InputPilot = 0x900;         // byte per input

constexpr int TimerRelayControlPlanes[2] = {0x930, 0xA50};   // turn on, turn off
constexpr int TimerGroupControlPlanes[2] = {0xB70, 0xC90};   // turn on, turn off
constexpr int TimerPresetControlPlanes[1] = {0xDB0};         // activate
constexpr int PresetRelayControlPlanes[2] = {0xED0, 0xFF0};  // on, off

constexpr int NormalDayOpenTime = 0x1110;     // byte per day 0..6 (Sunday..Saturday)
constexpr int NormalDayCloseTime = 0x1117;
constexpr int SingleDateOpenTime = 0x111E;    // byte at + month*31 + day
constexpr int SingleDateCloseTime = 0x1292;
constexpr int SingleDateMonths = 12;
constexpr int SingleDateDays = 31;

// Names: 10 characters each, padded with spaces, item n at + 10n.
constexpr int NameLength = 10;
constexpr int RelayNames = 0x1420;
constexpr int GroupNames = 0x1600;
constexpr int InputNames = 0x17E0;
constexpr int TimerNames = 0x19C0;
constexpr int PresetNames = 0x1BA0;

constexpr int TimerTimeCode = 0x1E00;     // byte per timer
constexpr int TimerMinute = 0x1E30;
constexpr int TimerDays = 0x1E60;
constexpr int TimerHolidayMonth = 0x1E90;
constexpr int TimerHolidayDate = 0x1EC0;
constexpr int InputEnableTime = 0x1EF0;   // byte per input
constexpr int InputDisableTime = 0x1F20;

constexpr int BlinkAlertMinutes = 0x1F50;     // byte
constexpr int OverrideMinutes = 0x1F51;       // word
constexpr int AlarmSeconds = 0x1F53;          // byte
constexpr int SweepIntervalCode = 0x1F54;     // byte
constexpr int SweepRelays = 0x1F55;           // one bit row
constexpr int SweepGroups = 0x1F5B;           // one bit row
constexpr int DstEnabled = 0x1F61;            // flag
constexpr int Latitude = 0x1F62;
constexpr int Longitude = 0x1F63;
constexpr int TimeZone = 0x1F64;
constexpr int PanelName = 0x1F65;             // 18 characters
constexpr int PanelNameLength = 18;
constexpr int RtcSource = 0x1F77;
constexpr int PhotocellFilterShort = 0x1F78;  // flag
constexpr int TimedOnStartsOnClose = 0x1F79;  // flag

// The panel's six-digit password, one digit value per cell.
constexpr int PasswordDigits = 0x1F7A;
constexpr int PasswordLength = 6;

constexpr int DmxChannel = 0x1F80;            // word per relay, relay r at + 2r
constexpr int DmxOffLevel = 0x1FE0;           // percent scaled to 0..255
constexpr int DmxOnLevel = 0x1FE1;
constexpr int DmxFilter = 0x1FE2;
constexpr int ModbusSettings = 0x1FE3;        // protocol bit 0, baud bits 1-2, parity bits 3-4

// Installed I/O of nodes 0..11 (0 = none, n = 4n points), one byte per node.
constexpr int NodeIOCount = 0x1FF0;
constexpr int NodeCount = 12;

constexpr int DstStartWeek = 0x1FFC;
constexpr int DstStartMonth = 0x1FFD;
constexpr int DstEndWeek = 0x1FFE;
constexpr int DstEndMonth = 0x1FFF;

// Network devices 1..32: a 64-cell parameter block and a 320-cell control
// block each. The blocks of device 0 exist but are never written.
constexpr int DeviceParameterBlocks = 0x2000;
constexpr int DeviceParameterBlockSize = 64;
constexpr int DeviceControlBlocks = 0x3000;
constexpr int DeviceControlBlockSize = 320;
constexpr int DeviceInputs = 8;

constexpr int DeviceParameterBase(int device) { return DeviceParameterBlocks + DeviceParameterBlockSize * device; }
constexpr int DeviceControlBase(int device) { return DeviceControlBlocks + DeviceControlBlockSize * device; }

// Offsets inside a device parameter block.
constexpr int DeviceTypeOffset = 0;
constexpr int DeviceNameOffset = 1;               // 10 characters
constexpr int DeviceInputTypeOffset = 11;         // byte per input
constexpr int DeviceInputTimedOnTimeOffset = 19;  // word per input, input i at + 2i
constexpr int DeviceInputPilotOffset = 35;
constexpr int DeviceInputOffLevelOffset = 43;
constexpr int DeviceInputOnLevelOffset = 51;

// Offsets inside a device control block: planes of 8 rows of 6 cells.
constexpr int DevicePlaneCells = DeviceInputs * BitRowCells;  // 48
constexpr int DeviceInputRelayControlOffsets[3] = {0, 48, 96};
constexpr int DeviceInputGroupControlOffsets[3] = {144, 192, 240};
constexpr int DeviceInputPresetOffset = 288;      // byte per input

static_assert(DeviceParameterBase(1) == 0x2040 && DeviceParameterBase(32) == 0x2800);
static_assert(DeviceControlBase(1) == 0x3140 && DeviceControlBase(32) == 0x5800);

}  // namespace t2::PanelMemory
