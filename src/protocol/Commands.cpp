#include "Commands.h"

#include "Hex.h"

#include <algorithm>

namespace t2 {

namespace {

PanelCommand Make(std::string text, int replyLength, int timeoutSeconds)
{
    return PanelCommand{std::move(text), replyLength, timeoutSeconds};
}

std::string OnOff(bool on) { return on ? "1" : "0"; }

std::string Data(std::span<const std::uint8_t> bytes)
{
    std::string s;
    s.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) s += Hex2(b);
    return s;
}

}  // namespace

PanelCommand SetClockCommand(int hour, int minute, int month, int day, int year, int dayOfWeek)
{
    const int dow = std::clamp(dayOfWeek, 0, 6);
    return Make("00" + Hex2(hour) + Hex2(minute) + Hex2(month) + Hex2(day) + Hex2(((year % 100) + 100) % 100) +
                    std::string(1, static_cast<char>('0' + dow)),
                AckReplyLength, 4);
}

PanelCommand ReadStatusCommand() { return Make("01", StatusReplyLength, 5); }
PanelCommand ForceTimerWaitCommand() { return Make("02", WaitReplyLength, 80); }
PanelCommand RevisionCommand() { return Make("05", RevisionReplyLength, 3); }
PanelCommand KeypadCommand(int keys) { return Make("07" + Hex2(keys), KeypadReplyLength, 3); }
PanelCommand RelaySwitchCommand(int relay, bool on) { return Make("10" + Hex2(relay) + OnOff(on), AckReplyLength, 4); }
PanelCommand AllRelaysCommand(bool on) { return Make("10FF" + OnOff(on), AckReplyLength, 4); }
PanelCommand GroupSwitchCommand(int group, bool on) { return Make("11" + Hex2(group) + OnOff(on), AckReplyLength, 4); }
PanelCommand ForceTimerCommand(int timer) { return Make("13" + Hex2(timer) + "0", AckReplyLength, 4); }
PanelCommand InputStatusCommand() { return Make("20FF", ItemStatusReplyLength, 4); }
PanelCommand RelayStatusCommand() { return Make("23FF", ItemStatusReplyLength, 5); }
PanelCommand GroupStatusCommand() { return Make("24FF", ItemStatusReplyLength, 5); }
PanelCommand PresetStatusCommand() { return Make("25FF", ItemStatusReplyLength, 5); }

PanelCommand WriteMemoryCommand(int address, std::span<const std::uint8_t> bytes)
{
    const std::size_t count = std::clamp<std::size_t>(bytes.size(), 1, MaxMemoryTransfer);
    std::string text = "30" + Hex4(address) + Hex2(static_cast<int>(count) - 1);
    if (bytes.empty()) {
        text += "00";  // a write carries at least one byte
    } else {
        text += Data(bytes.first(count));
    }
    return Make(std::move(text), AckReplyLength, 4);
}

PanelCommand ReadMemoryCommand(int address, int count, int timeoutSeconds)
{
    count = std::clamp(count, 1, MaxMemoryTransfer);
    return Make("31" + Hex4(address) + Hex2(count - 1), 4 + 2 * count, timeoutSeconds);
}

PanelCommand MemoryChecksumCommand(int first, int last)
{
    return Make("34" + Hex4(first) + Hex4(last), ChecksumReplyLength, 4);
}

PanelCommand ImageChecksumCommand() { return MemoryChecksumCommand(0, PanelLastAddress); }

PanelCommand ClearMemoryCommand(int first, int last)
{
    return Make("36" + Hex4(first) + Hex4(last), AckReplyLength, 4);
}

PanelCommand PresetSetCommand(int preset) { return Make("40" + Hex2(preset) + "0", AckReplyLength, 4); }
PanelCommand PresetCaptureCommand(int preset) { return Make("41" + Hex2(preset) + "0", AckReplyLength, 4); }
PanelCommand NetworkStatusCommand() { return Make("49", NetworkStatusReplyLength, 4); }

PanelCommand PasswordReadCommand() { return ReadMemoryCommand(PasswordAddress, PasswordDigits, 4); }

PanelCommand PasswordWriteCommand(const std::array<int, PasswordDigits>& digits)
{
    std::array<std::uint8_t, PasswordDigits> bytes{};
    for (int i = 0; i < PasswordDigits; ++i) bytes[i] = static_cast<std::uint8_t>(digits[i]);
    return WriteMemoryCommand(PasswordAddress, bytes);
}

PanelCommand NodeCodesReadCommand() { return ReadMemoryCommand(NodeCodesAddress, NodeCodeCount, 2); }
PanelCommand BlockReadCommand(int block) { return ReadMemoryCommand(block * PanelBlockSize, PanelBlockSize, 10); }

PanelCommand BlockWriteCommand(int block, std::span<const std::uint8_t, PanelBlockSize> bytes)
{
    return WriteMemoryCommand(block * PanelBlockSize, bytes);
}

PanelCommand BlockClearCommand(int block)
{
    return ClearMemoryCommand(block * PanelBlockSize, block * PanelBlockSize + PanelBlockSize - 1);
}

PanelCommand BlockDownloadCommand(int block, std::span<const std::uint8_t, PanelBlockSize> bytes)
{
    const bool allZero = std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
    return allZero ? BlockClearCommand(block) : BlockWriteCommand(block, bytes);
}

}  // namespace t2
