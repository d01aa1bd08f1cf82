// The panel's command set. Every command the host sends is built here, with the
// total reply length and the time-out (seconds) the exchange waits for it, so
// that no caller writes a command string by hand:
//
//     PanelCommand c = RelayStatusCommand();
//     exchange.Send(c);                       // or SendPanelCommand(c.text, c.replyLength, c.timeoutSeconds)
//
// Numbers are taken modulo 256 (Hex2) or 65536 (Hex4) as the panel reads them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace t2 {

struct PanelCommand {
    std::string text;        // the command text, without the frame
    int replyLength = 4;     // the whole reply, "[" to "]"
    int timeoutSeconds = 4;  // per attempt (tripled on a modem link by the exchange)
};

// Panel memory as the host moves it: 384 blocks of 64 bytes, 0x0000..0x5FFF.
constexpr int PanelTransferBytes = 0x6000;
constexpr int PanelLastAddress = PanelTransferBytes - 1;
constexpr int PanelBlockSize = 64;
constexpr int PanelBlockCount = PanelTransferBytes / PanelBlockSize;  // 384
constexpr int PasswordAddress = 0x1F7A;  // six digits 0..9
constexpr int PasswordDigits = 6;
constexpr int NodeCodesAddress = 0x1FF0;  // twelve I/O node codes
constexpr int NodeCodeCount = 12;
constexpr int MaxMemoryTransfer = 256;    // count of one "30" / "31" command, 1..256

// Reply lengths of the fixed-size replies.
constexpr int AckReplyLength = 4;
constexpr int StatusReplyLength = 34;
constexpr int WaitReplyLength = 6;
constexpr int RevisionReplyLength = 44;
constexpr int KeypadReplyLength = 86;
constexpr int ItemStatusReplyLength = 52;
constexpr int ChecksumReplyLength = 8;
constexpr int NetworkStatusReplyLength = 202;
constexpr int RevisionTextLength = 40;
constexpr int DisplayCharacters = 80;
constexpr int NetworkDeviceSlots = 33;

// "00": set the panel clock (no seconds). year is taken modulo 100; dayOfWeek
// 0 = Sunday .. 6 = Saturday. Reply 4, 4 s.
PanelCommand SetClockCommand(int hour, int minute, int month, int day, int year, int dayOfWeek);
// "01": read the panel status (clock, installed I/O, add-on card). Reply 34, 5 s.
PanelCommand ReadStatusCommand();
// "02": sent right after a forced timer; the panel answers when done. Reply 6, 80 s.
PanelCommand ForceTimerWaitCommand();
// "05": the firmware revision, 40 characters. Reply 44, 3 s.
PanelCommand RevisionCommand();
// "07" + keys: press virtual keys (0 = none) and read the display. Reply 86, 3 s.
PanelCommand KeypadCommand(int keys);
// "10" relay "0"/"1": switch one relay 0..47. Reply 4, 4 s.
PanelCommand RelaySwitchCommand(int relay, bool on);
// "10FF0" / "10FF1": all relays off / on. Reply 4, 4 s.
PanelCommand AllRelaysCommand(bool on);
// "11" group "0"/"1": switch one group 0..47. Reply 4, 4 s.
PanelCommand GroupSwitchCommand(int group, bool on);
// "13" timer "0": force a timer 0..47. Reply 4, 4 s; follow with ForceTimerWaitCommand.
PanelCommand ForceTimerCommand(int timer);
// "20FF": 48 input states "0".."3". Reply 52, 4 s.
PanelCommand InputStatusCommand();
// "23FF": 48 relay states. Reply 52, 5 s.
PanelCommand RelayStatusCommand();
// "24FF": 48 group states ("2" = unused). Reply 52, 5 s.
PanelCommand GroupStatusCommand();
// "25FF": 48 preset states ("2" = unused). Reply 52, 5 s.
PanelCommand PresetStatusCommand();
// "30" address count-1 data: write 1..256 bytes. Reply 4, 4 s.
PanelCommand WriteMemoryCommand(int address, std::span<const std::uint8_t> bytes);
// "31" address count-1: read count (1..256) bytes. Reply 4 + 2 * count.
PanelCommand ReadMemoryCommand(int address, int count, int timeoutSeconds);
// "34" first last: ImageChecksum of cells first..last. Reply 8, 4 s.
PanelCommand MemoryChecksumCommand(int first, int last);
// "3400005FFF": the checksum of the whole transferred area. Reply 8, 4 s.
PanelCommand ImageChecksumCommand();
// "36" first last: clear cells first..last. Reply 4, 4 s.
PanelCommand ClearMemoryCommand(int first, int last);
// "40" preset "0": set a preset. Reply 4, 4 s.
PanelCommand PresetSetCommand(int preset);
// "41" preset "0": capture the present relay states into a preset. Reply 4, 4 s.
PanelCommand PresetCaptureCommand(int preset);
// "49": network status, three tables of 33 bytes. Reply 202, 4 s.
PanelCommand NetworkStatusCommand();

// The fixed memory reads and writes.
// "311F7A05": the six password digits. Reply 16, 4 s.
PanelCommand PasswordReadCommand();
// "301F7A05" + six digits: a new password. Reply 4, 4 s.
PanelCommand PasswordWriteCommand(const std::array<int, PasswordDigits>& digits);
// "311FF00B": the twelve I/O node codes. Reply 28, 2 s.
PanelCommand NodeCodesReadCommand();
// "31" block "3F": read block k (0..383). Reply 132, 10 s.
PanelCommand BlockReadCommand(int block);
// "30" block "3F" + 128 digits: write block k. Reply 4, 4 s.
PanelCommand BlockWriteCommand(int block, std::span<const std::uint8_t, PanelBlockSize> bytes);
// "36" first last: clear block k. Reply 4, 4 s.
PanelCommand BlockClearCommand(int block);
// How a download sends block k: the clear command when all 64 bytes are zero,
// the write command otherwise.
PanelCommand BlockDownloadCommand(int block, std::span<const std::uint8_t, PanelBlockSize> bytes);

}  // namespace t2
