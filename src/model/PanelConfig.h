// The configuration records the host keeps for one panel, and the program-wide
// state that goes with them. Strings are kept as the 8-bit bytes the settings
// file and the panel carry, so that a file read and written again is identical.
#pragma once

#include "EditHistory.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace t2 {

using Integer = std::int16_t;  // 16-bit signed; flags hold 0 or -1
using Long = std::int32_t;     // 32-bit signed
using Bytes = std::string;     // 8-bit characters, no terminator

constexpr Integer True = -1;
constexpr Integer False = 0;

// A two-dimensional array Name[first][second] whose first index varies fastest,
// both in memory and in the settings file: element (a, b) is element b*A + a.
template <typename T, std::size_t A, std::size_t B>
struct Array2 {
    std::array<T, A * B> data{};

    static constexpr std::size_t First = A;
    static constexpr std::size_t Second = B;

    T& operator()(std::size_t a, std::size_t b) { return data[b * A + a]; }
    const T& operator()(std::size_t a, std::size_t b) const { return data[b * A + a]; }
    bool operator==(const Array2&) const = default;
};

constexpr int ItemCount = 48;     // relays, groups, inputs, timers, presets 0..47
constexpr int ItemSlots = 49;     // arrays of those have a spare element 48
constexpr int NodeCount = 12;     // I/O nodes 0..11 in an array of 13
constexpr int DeviceSlots = 33;   // network device records 0..32; 1..32 are devices
constexpr int DeviceInputSlots = 9;  // device inputs 0..7 in arrays of 9

using ItemArray = std::array<Integer, ItemSlots>;
using ItemMatrix = Array2<Integer, ItemSlots, ItemSlots>;
using NameArray = std::array<Bytes, ItemSlots>;

struct PanelConfig {
    Bytes PanelName;
    ItemMatrix InputRelayControl;
    ItemMatrix InputGroupControl;
    ItemArray InputPreset{};
    ItemArray RelayTimerType{};
    ItemArray RelayPowerOnType{};
    ItemArray InputType{};
    ItemArray InputEnableTime{};
    ItemArray InputDisableTime{};
    std::array<Long, ItemSlots> InputTimedOnTime{};
    ItemMatrix GroupRelays;
    ItemArray InputPilot{};
    ItemMatrix TimerRelayControl;
    ItemMatrix TimerGroupControl;
    ItemMatrix TimerPresetControl;
    ItemMatrix PresetRelayControl;
    std::array<Integer, 8> NormalDayOpenTime{};
    std::array<Integer, 8> NormalDayCloseTime{};
    Array2<Integer, 13, 32> SingleDateOpenTime;   // [month 0..11][day 0..30]
    Array2<Integer, 13, 32> SingleDateCloseTime;
    NameArray RelayNames;
    NameArray GroupNames;
    NameArray InputNames;
    NameArray TimerNames;
    NameArray PresetNames;
    ItemArray TimerTimeCode{};
    ItemArray TimerMinute{};
    ItemArray TimerDays{};
    ItemArray TimerHolidayMonth{};
    ItemArray TimerHolidayDate{};
    Integer BlinkAlertMinutes = 0;
    Integer OverrideMinutes = 0;
    Integer AlarmSeconds = 0;
    Integer TimedOnStartsOnClose = 0;
    Integer SweepIntervalCode = 0;
    ItemArray SweepRelays{};
    ItemArray SweepGroups{};
    Integer DstEnabled = 0;
    Integer DstStartWeek = 0;
    Integer DstStartMonth = 0;
    Integer DstEndWeek = 0;
    Integer DstEndMonth = 0;
    Integer Latitude = 0;
    Integer Longitude = 0;
    Integer TimeZone = 0;
    Integer RtcSource = 0;
    Integer PhotocellFilterShort = 0;
    Integer AddOnModuleType = 0;
    std::array<Integer, 13> NodeIOCount{};
    Integer CommPort = 0;
    ItemArray DmxChannel{};
    Integer DmxOnLevel = 0;
    Integer DmxOffLevel = 0;
    Integer DmxFilter = 0;
    Integer ModbusProtocol = 0;
    Integer ModbusBaud = 0;
    Integer ModbusParity = 0;

    // Connection settings ride in three spare elements 48, so that they travel
    // with the settings file but never reach the panel.
    Bytes& ModemPhoneNumber() { return TimerNames[48]; }
    const Bytes& ModemPhoneNumber() const { return TimerNames[48]; }
    Bytes& PanelAddress() { return PresetNames[48]; }
    const Bytes& PanelAddress() const { return PresetNames[48]; }
    Integer& ConnectionType() { return TimerTimeCode[48]; }
    Integer ConnectionType() const { return TimerTimeCode[48]; }

    bool operator==(const PanelConfig&) const = default;
};

// ConnectionType values
enum : Integer { ConnectDirectSerial = 0, ConnectModem = 1, ConnectTcpIp = 2 };

struct VantelDevice {
    Integer DeviceType = 0;
    Bytes DeviceName;
    std::array<Integer, DeviceInputSlots> DeviceInputType{};
    std::array<Long, DeviceInputSlots> DeviceInputTimedOnTime{};
    std::array<Integer, DeviceInputSlots> DeviceInputPilot{};
    std::array<Integer, DeviceInputSlots> DeviceInputOffLevel{};
    std::array<Integer, DeviceInputSlots> DeviceInputOnLevel{};
    std::array<Long, 6> DeviceReserved{};
    Array2<Integer, DeviceInputSlots, ItemSlots> DeviceInputRelayControl;
    Array2<Integer, DeviceInputSlots, ItemSlots> DeviceInputGroupControl;
    std::array<Integer, DeviceInputSlots> DeviceInputPreset{};

    bool operator==(const VantelDevice&) const = default;
};

using VantelDevices = std::array<VantelDevice, DeviceSlots>;

// The host's copy of the panel memory: one byte value per 16-bit cell, cell i
// is panel address i; cells 0x0000..0x5FFF are transferred.
constexpr int PanelImageCells = 32769;        // 0..32768
constexpr int PanelMemorySize = 0x6000;       // 24576 transferred cells
using PanelImage = std::array<Integer, PanelImageCells>;

// Everything the program keeps for the whole run.
struct ProgramState {
    PanelConfig Config;
    VantelDevices Devices;
    PanelImage Image{};
    bool DataChanged = false;
    std::string SettingsFileName = "None";  // a path on this machine, or "None"
    bool PanelConnected = false;
    bool UploadNames = false;
    std::string VersionText;
    std::array<bool, 12> DocumentPrintOptions{};  // true leaves the section out
    std::string DocumentFileName;
    // DocumentFileName was chosen with Browse: it stays, whatever settings
    // file is saved; otherwise the report follows the settings file's name.
    bool DocumentFileChosen = false;

    // Called after every change of DataChanged made through SetDataChanged, so
    // that the main window can show the unsaved-changes mark at once.
    std::function<void()> DataChangedHook;

    // The undo history of the configuration (EditHistory.h).
    EditHistory History;
};

// Sets DataChanged and tells whoever listens (the main window's caption).
// Every editor and every File command changes the flag through this.
inline void SetDataChanged(ProgramState& state, bool changed)
{
    state.DataChanged = changed;
    if (state.DataChangedHook) state.DataChangedHook();
}

// The one instance the program's windows share.
ProgramState& Program();

}  // namespace t2
