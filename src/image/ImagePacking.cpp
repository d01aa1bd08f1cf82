#include "ImagePacking.h"

#include "PanelMemory.h"

#include <cstdint>

namespace t2 {

namespace {

namespace M = PanelMemory;

static_assert(std::size_t{M::NameLength} == ItemNameBytes && std::size_t{M::PanelNameLength} == PanelNameBytes);

// Int(a / b) of the panel arithmetic: the floor of the exact quotient.
long long FloorDiv(long long a, long long b)
{
    long long q = a / b;
    if (a % b != 0 && ((a < 0) != (b < 0))) --q;
    return q;
}

// A cell keeps the byte the panel will receive: the low 8 bits of the value,
// so -1 lands as 255 and 300 as 44.
Integer Low8(long long v) { return static_cast<Integer>(v & 0xFF); }

// ---- packing ----

struct Packer {
    PanelImage& im;

    void Byte(int cell, long long v) { im[cell] = Low8(v); }

    // High byte first: Int(v / 256), then v Mod 256 (Mod keeping the sign of
    // v). Stored as low 8 bits, a negative value lands as its two's-complement
    // bytes and a value above 65535 as its low 16 bits.
    void Word(int cell, long long v)
    {
        im[cell] = Low8(FloorDiv(v, 256));
        im[cell + 1] = Low8(v % 256);
    }

    void Flag(int cell, Integer v) { im[cell] = v != 0 ? 1 : 0; }

    void Text(int cell, const Bytes& s, int length)
    {
        for (int j = 0; j < length; ++j) {
            im[cell + j] = j < static_cast<int>(s.size()) ? static_cast<unsigned char>(s[j]) : 32;
        }
    }

    void Bit(int base, int row, int column)
    {
        im[base + row * M::BitRowCells + column / 8] |= static_cast<Integer>(1 << (column % 8));
    }

    // Code bit k goes into plane k; bits beyond the planes given are dropped.
    template <std::size_t Planes>
    void Code(const int (&bases)[Planes], int offset, int row, int column, int code)
    {
        for (std::size_t k = 0; k < Planes; ++k) {
            if (code & (1 << k)) Bit(offset + bases[k], row, column);
        }
    }
};

// ---- reading back ----

struct Reader {
    const PanelImage& im;

    // A cell stands for one panel byte.
    int Byte(int cell) const { return im[cell] & 0xFF; }

    int Word16(int cell) const { return Byte(cell) * 256 + Byte(cell + 1); }

    // A word whose high cell is 128 or more does not fit 16 signed bits. The
    // 32-bit members (the timed-on times) take the full value 0..65535; the
    // 16-bit members (OverrideMinutes, DmxChannel) take the 16 bits as they
    // are, as a two's-complement value. Either way packing the member again
    // gives the panel back the same two bytes.
    Long WordLong(int cell) const { return Word16(cell); }
    Integer WordInteger(int cell) const
    {
        return static_cast<Integer>(static_cast<std::uint16_t>(Word16(cell)));
    }

    // Only a cell of exactly 1 is true; 255 or any other value is false.
    Integer Flag(int cell) const { return Byte(cell) == 1 ? True : False; }

    Bytes Text(int cell, int length) const
    {
        Bytes s;
        for (int j = 0; j < length; ++j) s.push_back(static_cast<char>(Byte(cell + j)));
        return s;
    }

    bool Bit(int base, int row, int column) const
    {
        return (Byte(base + row * M::BitRowCells + column / 8) >> (column % 8)) & 1;
    }

    template <std::size_t Planes>
    Integer Code(const int (&bases)[Planes], int offset, int row, int column) const
    {
        int code = 0;
        for (std::size_t k = 0; k < Planes; ++k) {
            if (Bit(offset + bases[k], row, column)) code |= 1 << k;
        }
        return static_cast<Integer>(code);
    }
};

}  // namespace

int DmxLevelToByte(int percent)
{
    // Int((v*255 + 128) / 100) maps 1..99 percent to 3..253; 100 percent would
    // give 256, which the panel would take as 0 (off), so the top is 255.
    const long long v = FloorDiv(static_cast<long long>(percent) * 255 + 128, 100);
    if (v > 255) return 255;
    if (v < 0) return 0;
    return static_cast<int>(v);
}

int DmxByteToLevel(int byte)
{
    return static_cast<int>(FloorDiv(static_cast<long long>(byte & 0xFF) * 100 + 50, 255));
}

void BuildPanelImage(const PanelConfig& c, const VantelDevices& devices,
                     const std::array<int, 6>& passwordDigits, PanelImage& image)
{
    for (int i = 0; i < M::ClearedCells; ++i) image[i] = 0;
    Packer p{image};

    p.Text(M::PanelName, PanelNameAsPanelHolds(c.PanelName), M::PanelNameLength);
    for (int node = 0; node < M::NodeCount; ++node) p.Byte(M::NodeIOCount + node, c.NodeIOCount[node]);
    for (int k = 0; k < M::PasswordLength; ++k) p.Byte(M::PasswordDigits + k, passwordDigits[k]);

    for (int i = 0; i < ItemCount; ++i) {
        for (int n = 0; n < ItemCount; ++n) {
            p.Code(M::InputRelayControlPlanes, 0, i, n, c.InputRelayControl(i, n));
            p.Code(M::InputGroupControlPlanes, 0, i, n, c.InputGroupControl(i, n));
        }
    }
    for (int n = 0; n < ItemCount; ++n) {
        p.Byte(M::InputPreset + n, c.InputPreset[n]);
        p.Byte(M::RelayTimerType + n, c.RelayTimerType[n]);
        p.Byte(M::RelayPowerOnType + n, c.RelayPowerOnType[n]);
        p.Byte(M::InputType + n, c.InputType[n]);
        p.Byte(M::InputEnableTime + n, c.InputEnableTime[n]);
        p.Byte(M::InputDisableTime + n, c.InputDisableTime[n]);
        p.Word(M::InputTimedOnTime + 2 * n, c.InputTimedOnTime[n]);
        p.Byte(M::InputPilot + n, c.InputPilot[n]);
    }
    for (int row = 0; row < ItemCount; ++row) {
        for (int col = 0; col < ItemCount; ++col) {
            if (c.GroupRelays(row, col) != 0) p.Bit(M::GroupRelays, row, col);
            p.Code(M::TimerRelayControlPlanes, 0, row, col, c.TimerRelayControl(row, col));
            p.Code(M::TimerGroupControlPlanes, 0, row, col, c.TimerGroupControl(row, col));
            p.Code(M::TimerPresetControlPlanes, 0, row, col, c.TimerPresetControl(row, col));
            p.Code(M::PresetRelayControlPlanes, 0, row, col, c.PresetRelayControl(row, col));
        }
    }
    for (int day = 0; day < 7; ++day) {
        p.Byte(M::NormalDayOpenTime + day, c.NormalDayOpenTime[day]);
        p.Byte(M::NormalDayCloseTime + day, c.NormalDayCloseTime[day]);
    }
    for (int month = 0; month < M::SingleDateMonths; ++month) {
        for (int day = 0; day < M::SingleDateDays; ++day) {
            const int at = month * M::SingleDateDays + day;
            p.Byte(M::SingleDateOpenTime + at, c.SingleDateOpenTime(month, day));
            p.Byte(M::SingleDateCloseTime + at, c.SingleDateCloseTime(month, day));
        }
    }
    for (int t = 0; t < ItemCount; ++t) {
        p.Byte(M::TimerTimeCode + t, c.TimerTimeCode[t]);
        p.Byte(M::TimerMinute + t, c.TimerMinute[t]);
        p.Byte(M::TimerDays + t, c.TimerDays[t]);
        p.Byte(M::TimerHolidayMonth + t, c.TimerHolidayMonth[t]);
        p.Byte(M::TimerHolidayDate + t, c.TimerHolidayDate[t]);
    }

    p.Byte(M::BlinkAlertMinutes, c.BlinkAlertMinutes);
    p.Word(M::OverrideMinutes, c.OverrideMinutes);
    p.Byte(M::AlarmSeconds, c.AlarmSeconds);
    p.Flag(M::TimedOnStartsOnClose, c.TimedOnStartsOnClose);
    p.Byte(M::SweepIntervalCode, c.SweepIntervalCode);
    for (int n = 0; n < ItemCount; ++n) {
        if (c.SweepRelays[n] != 0) p.Bit(M::SweepRelays, 0, n);
        if (c.SweepGroups[n] != 0) p.Bit(M::SweepGroups, 0, n);
    }

    p.Flag(M::DstEnabled, c.DstEnabled);
    p.Byte(M::DstStartWeek, c.DstStartWeek);
    p.Byte(M::DstStartMonth, c.DstStartMonth);
    p.Byte(M::DstEndWeek, c.DstEndWeek);
    p.Byte(M::DstEndMonth, c.DstEndMonth);
    p.Byte(M::Latitude, c.Latitude);
    p.Byte(M::Longitude, c.Longitude);
    p.Byte(M::TimeZone, c.TimeZone);
    p.Byte(M::RtcSource, c.RtcSource);
    p.Flag(M::PhotocellFilterShort, c.PhotocellFilterShort);

    for (int r = 0; r < ItemCount; ++r) p.Word(M::DmxChannel + 2 * r, c.DmxChannel[r]);
    p.Byte(M::DmxOnLevel, DmxLevelToByte(c.DmxOnLevel));
    p.Byte(M::DmxOffLevel, DmxLevelToByte(c.DmxOffLevel));
    p.Byte(M::DmxFilter, c.DmxFilter);
    p.Byte(M::ModbusSettings, c.ModbusProtocol + c.ModbusBaud * 2 + c.ModbusParity * 8);

    for (int n = 0; n < ItemCount; ++n) {
        p.Text(M::RelayNames + M::NameLength * n, c.RelayNames[n], M::NameLength);
        p.Text(M::GroupNames + M::NameLength * n, c.GroupNames[n], M::NameLength);
        p.Text(M::InputNames + M::NameLength * n, c.InputNames[n], M::NameLength);
        p.Text(M::TimerNames + M::NameLength * n, c.TimerNames[n], M::NameLength);
        p.Text(M::PresetNames + M::NameLength * n, c.PresetNames[n], M::NameLength);
    }

    for (int d = 1; d < DeviceSlots; ++d) {
        const VantelDevice& v = devices[d];
        const int P = M::DeviceParameterBase(d);
        const int C = M::DeviceControlBase(d);
        p.Byte(P + M::DeviceTypeOffset, v.DeviceType);
        p.Text(P + M::DeviceNameOffset, v.DeviceName, M::NameLength);
        for (int i = 0; i < M::DeviceInputs; ++i) {
            p.Byte(P + M::DeviceInputTypeOffset + i, v.DeviceInputType[i]);
            p.Word(P + M::DeviceInputTimedOnTimeOffset + 2 * i, v.DeviceInputTimedOnTime[i]);
            p.Byte(P + M::DeviceInputPilotOffset + i, v.DeviceInputPilot[i]);
            p.Byte(P + M::DeviceInputOffLevelOffset + i, v.DeviceInputOffLevel[i]);
            p.Byte(P + M::DeviceInputOnLevelOffset + i, v.DeviceInputOnLevel[i]);
            for (int n = 0; n < ItemCount; ++n) {
                p.Code(M::DeviceInputRelayControlOffsets, C, i, n, v.DeviceInputRelayControl(i, n));
                p.Code(M::DeviceInputGroupControlOffsets, C, i, n, v.DeviceInputGroupControl(i, n));
            }
            p.Byte(C + M::DeviceInputPresetOffset + i, v.DeviceInputPreset[i]);
        }
    }
}

void ApplyPanelImage(const PanelImage& image, PanelConfig& c, VantelDevices& devices, bool uploadNames)
{
    const Reader r{image};
    auto byte = [&r](int cell) { return static_cast<Integer>(r.Byte(cell)); };

    c.PanelName = r.Text(M::PanelName, M::PanelNameLength);
    for (int node = 0; node < M::NodeCount; ++node) c.NodeIOCount[node] = byte(M::NodeIOCount + node);

    for (int i = 0; i < ItemCount; ++i) {
        for (int n = 0; n < ItemCount; ++n) {
            c.InputRelayControl(i, n) = r.Code(M::InputRelayControlPlanes, 0, i, n);
            c.InputGroupControl(i, n) = r.Code(M::InputGroupControlPlanes, 0, i, n);
        }
    }
    for (int n = 0; n < ItemCount; ++n) {
        c.InputPreset[n] = byte(M::InputPreset + n);
        c.RelayTimerType[n] = byte(M::RelayTimerType + n);
        c.RelayPowerOnType[n] = byte(M::RelayPowerOnType + n);
        c.InputType[n] = byte(M::InputType + n);
        c.InputEnableTime[n] = byte(M::InputEnableTime + n);
        c.InputDisableTime[n] = byte(M::InputDisableTime + n);
        c.InputTimedOnTime[n] = r.WordLong(M::InputTimedOnTime + 2 * n);
        c.InputPilot[n] = byte(M::InputPilot + n);
    }
    for (int row = 0; row < ItemCount; ++row) {
        for (int col = 0; col < ItemCount; ++col) {
            c.GroupRelays(row, col) = r.Bit(M::GroupRelays, row, col) ? True : False;
            c.TimerRelayControl(row, col) = r.Code(M::TimerRelayControlPlanes, 0, row, col);
            c.TimerGroupControl(row, col) = r.Code(M::TimerGroupControlPlanes, 0, row, col);
            c.TimerPresetControl(row, col) = r.Code(M::TimerPresetControlPlanes, 0, row, col);
            c.PresetRelayControl(row, col) = r.Code(M::PresetRelayControlPlanes, 0, row, col);
        }
    }
    for (int day = 0; day < 7; ++day) {
        c.NormalDayOpenTime[day] = byte(M::NormalDayOpenTime + day);
        c.NormalDayCloseTime[day] = byte(M::NormalDayCloseTime + day);
    }
    for (int month = 0; month < M::SingleDateMonths; ++month) {
        for (int day = 0; day < M::SingleDateDays; ++day) {
            const int at = month * M::SingleDateDays + day;
            c.SingleDateOpenTime(month, day) = byte(M::SingleDateOpenTime + at);
            c.SingleDateCloseTime(month, day) = byte(M::SingleDateCloseTime + at);
        }
    }
    for (int t = 0; t < ItemCount; ++t) {
        c.TimerTimeCode[t] = byte(M::TimerTimeCode + t);
        c.TimerMinute[t] = byte(M::TimerMinute + t);
        c.TimerDays[t] = byte(M::TimerDays + t);
        c.TimerHolidayMonth[t] = byte(M::TimerHolidayMonth + t);
        c.TimerHolidayDate[t] = byte(M::TimerHolidayDate + t);
    }

    c.BlinkAlertMinutes = byte(M::BlinkAlertMinutes);
    c.OverrideMinutes = r.WordInteger(M::OverrideMinutes);
    c.AlarmSeconds = byte(M::AlarmSeconds);
    c.TimedOnStartsOnClose = r.Flag(M::TimedOnStartsOnClose);
    c.SweepIntervalCode = byte(M::SweepIntervalCode);
    for (int n = 0; n < ItemCount; ++n) {
        c.SweepRelays[n] = r.Bit(M::SweepRelays, 0, n) ? True : False;
        c.SweepGroups[n] = r.Bit(M::SweepGroups, 0, n) ? True : False;
    }

    c.DstEnabled = r.Flag(M::DstEnabled);
    c.DstStartWeek = byte(M::DstStartWeek);
    c.DstStartMonth = byte(M::DstStartMonth);
    c.DstEndWeek = byte(M::DstEndWeek);
    c.DstEndMonth = byte(M::DstEndMonth);
    c.Latitude = byte(M::Latitude);
    c.Longitude = byte(M::Longitude);
    c.TimeZone = byte(M::TimeZone);
    c.RtcSource = byte(M::RtcSource);
    c.PhotocellFilterShort = r.Flag(M::PhotocellFilterShort);

    for (int n = 0; n < ItemCount; ++n) c.DmxChannel[n] = r.WordInteger(M::DmxChannel + 2 * n);
    c.DmxOnLevel = static_cast<Integer>(DmxByteToLevel(r.Byte(M::DmxOnLevel)));
    c.DmxOffLevel = static_cast<Integer>(DmxByteToLevel(r.Byte(M::DmxOffLevel)));
    c.DmxFilter = byte(M::DmxFilter);
    const int m = r.Byte(M::ModbusSettings);
    c.ModbusProtocol = static_cast<Integer>(m % 2);
    c.ModbusBaud = static_cast<Integer>(m / 2 % 4);
    c.ModbusParity = static_cast<Integer>(m / 8 % 4);

    if (uploadNames) {
        for (int n = 0; n < ItemCount; ++n) {
            c.RelayNames[n] = r.Text(M::RelayNames + M::NameLength * n, M::NameLength);
            c.GroupNames[n] = r.Text(M::GroupNames + M::NameLength * n, M::NameLength);
            c.InputNames[n] = r.Text(M::InputNames + M::NameLength * n, M::NameLength);
            c.TimerNames[n] = r.Text(M::TimerNames + M::NameLength * n, M::NameLength);
            c.PresetNames[n] = r.Text(M::PresetNames + M::NameLength * n, M::NameLength);
        }
    }

    for (int d = 1; d < DeviceSlots; ++d) {
        VantelDevice& v = devices[d];
        const int P = M::DeviceParameterBase(d);
        const int C = M::DeviceControlBase(d);
        v.DeviceType = byte(P + M::DeviceTypeOffset);
        if (uploadNames) v.DeviceName = r.Text(P + M::DeviceNameOffset, M::NameLength);
        for (int i = 0; i < M::DeviceInputs; ++i) {
            v.DeviceInputType[i] = byte(P + M::DeviceInputTypeOffset + i);
            v.DeviceInputTimedOnTime[i] = r.WordLong(P + M::DeviceInputTimedOnTimeOffset + 2 * i);
            v.DeviceInputPilot[i] = byte(P + M::DeviceInputPilotOffset + i);
            v.DeviceInputOffLevel[i] = byte(P + M::DeviceInputOffLevelOffset + i);
            v.DeviceInputOnLevel[i] = byte(P + M::DeviceInputOnLevelOffset + i);
            for (int n = 0; n < ItemCount; ++n) {
                v.DeviceInputRelayControl(i, n) = r.Code(M::DeviceInputRelayControlOffsets, C, i, n);
                v.DeviceInputGroupControl(i, n) = r.Code(M::DeviceInputGroupControlOffsets, C, i, n);
            }
            v.DeviceInputPreset[i] = byte(C + M::DeviceInputPresetOffset + i);
        }
    }
}

std::string PanelImageBytes(const PanelImage& image)
{
    std::string bytes(M::TransferCells, '\0');
    for (int i = 0; i < M::TransferCells; ++i) bytes[i] = static_cast<char>(image[i] & 0xFF);
    return bytes;
}

bool PanelImageFromBytes(const std::string& bytes, PanelImage& image, std::string* error)
{
    if (bytes.size() != static_cast<std::size_t>(M::TransferCells)) {
        if (error) {
            *error = "a panel image has " + std::to_string(M::TransferCells) + " bytes, this one has " +
                     std::to_string(bytes.size());
        }
        return false;
    }
    image.fill(0);
    for (int i = 0; i < M::TransferCells; ++i) image[i] = static_cast<unsigned char>(bytes[i]);
    return true;
}

}  // namespace t2
