// A simulated Tamberline II panel: its memory, clock, relays, groups, presets,
// inputs, network devices and display, and the command set it answers. It is
// strict: a frame with a wrong checksum, a bad shape, an unknown command, a
// wrong length for its command or an address outside 0x0000..0x5FFF gets no
// reply and is logged as a violation.
//
// The panel itself knows nothing of lines and sockets; PanelSimSession feeds it
// the frames it receives, and PanelSimulator serves it over TCP/IP and a
// pseudo-terminal. Every method is safe to call from any thread (a test that
// runs the simulator on a thread of its own sets states from the test thread).
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace t2::sim {

constexpr int MemoryBytes = 0x6000;   // 0x0000..0x5FFF
constexpr int Items = 48;             // relays, groups, presets, inputs, timers
constexpr int DeviceSlots = 33;       // network devices 0..32
constexpr int DisplayChars = 80;      // 4 x 20

struct FaultOptions {
    int dropEvery = 0;       // every Nth command is lost: no reply, not applied (0 = never)
    int corruptEvery = 0;    // every Nth reply goes out with a wrong checksum (0 = never)
    int replyDelayMs = 0;    // every reply waits this long
    int stopAfter = 0;       // after N commands the panel answers nothing more (0 = never)
    bool wrongChecksum = false;  // the checksum command answers a wrong value
    int lateMs = 0;          // replies come this much later still (a panel slower than the time-outs) ...
    int lateCount = 0;       // ... only those to commands 1..N of the count (0 = every one)
    int closeAfter = 0;      // after N commands the panel drops the connection (TCP/IP; 0 = never)
};

struct LineOptions {
    int baud = 0;            // 0: no emulation; otherwise replies leave when the line could deliver them
    int bitsPerChar = 10;    // start, 8 data, stop
};

struct PanelClock {
    int hour = 0, minute = 0, second = 0;
    int month = 1, day = 1, year = 0;  // year: two digits
    int dayOfWeek = 0;                 // 0 = Sunday
};

struct NetworkDevice {
    int inputs = 0;       // bit i = input i
    int responding = 0;   // non-zero when it answers
    int level = 0;        // light level 0..255
};

// What the panel does with one frame.
struct PanelAnswer {
    bool reply = false;     // false: the panel stays silent
    std::string bytes;      // the framed reply
    int delayMs = 0;        // how long the panel takes before it answers
    bool close = false;     // the panel drops the connection instead of answering
};

class SimulatedPanel {
public:
    SimulatedPanel();

    // --- Memory (the password digits at 0x1F7A, node codes at 0x1FF0) -------
    std::vector<std::uint8_t> Memory() const;
    std::uint8_t MemoryAt(int address) const;
    void SetMemory(int address, const std::vector<std::uint8_t>& bytes);
    bool LoadMemory(const std::string& path, std::string* error);   // a 24576-byte file
    bool DumpMemory(const std::string& path, std::string* error) const;
    void SetPassword(const std::array<int, 6>& digits);
    std::array<int, 6> Password() const;
    void SetNodeCodes(const std::array<int, 12>& codes);

    // --- Identity and hardware ------------------------------------------------
    void SetRevision(const std::string& text);  // padded or cut to 40 characters
    std::string Revision() const;
    // Installed inputs/relays reported by "01"; -1 (the default) derives it
    // from the node codes in memory (4 per step, at most 48).
    void SetInstalledIO(int count);
    int InstalledIO() const;
    void SetAddOnCard(int type, int revision);

    // --- Clock (runs on from the moment it is set) --------------------------
    void SetClock(const PanelClock& clock);
    PanelClock Clock() const;

    // --- Live states ------------------------------------------------------------
    void SetRelay(int relay, bool on);
    bool Relay(int relay) const;
    void SetGroup(int group, bool on);
    bool Group(int group) const;
    bool PresetActive(int preset) const;
    void SetInput(int input, int value);   // 0..3
    int Input(int input) const;
    void SetDevice(int device, const NetworkDevice& state);
    NetworkDevice Device(int device) const;
    void SetDisplay(const std::string& text);  // up to 80 raw characters, padded with spaces
    std::string Display() const;
    void SetLamps(int lamps);
    std::vector<int> KeysPressed() const;      // the key codes of "07" (0 = none is not kept)
    std::vector<int> TimersForced() const;

    // --- Behaviour ----------------------------------------------------------------
    void SetFaults(const FaultOptions& faults);
    FaultOptions Faults() const;
    void SetLine(const LineOptions& line);
    LineOptions Line() const;
    void SetWaitReplyDelayMs(int ms);   // how long "02" takes
    void SetDialDelayMs(int ms);        // how long a modem takes to connect
    int DialDelayMs() const;

    // --- What happened ------------------------------------------------------------
    int ViolationCount() const;
    std::vector<std::string> Violations() const;
    int CommandCount() const;                 // well-formed commands received
    std::vector<std::string> Commands() const;  // their texts, oldest first (the last 10000)
    std::string LastCommand() const;
    std::vector<std::string> ModemLog() const;  // "ATZ", "ATDT 5551234", "HANGUP", ...
    void ClearLog();

    // --- Used by the sessions -------------------------------------------------
    PanelAnswer HandleFrame(std::string_view frame);
    void ReportViolation(const std::string& what);
    void LogModem(const std::string& what);

private:
    std::optional<std::string> Execute(const std::string& command, std::string& violation);
    std::string StatusData() const;
    bool RowEmpty(int base, int row) const;
    bool Bit(int base, int row, int column) const;
    void SetBit(int base, int row, int column, bool on);
    PanelClock ClockLocked() const;
    int InstalledIOLocked() const;

    mutable std::mutex mutex_;
    std::array<std::uint8_t, MemoryBytes> memory_{};
    std::string revision_;
    int installedIO_ = -1;
    int addOnType_ = 0;
    int addOnRevision_ = 0;
    PanelClock clock_;
    long long clockSetAtMs_ = 0;
    std::array<bool, Items> relays_{};
    std::array<bool, Items> groups_{};
    std::array<bool, Items> presets_{};
    std::array<int, Items> inputs_{};
    std::array<NetworkDevice, DeviceSlots> devices_{};
    std::string display_;
    int lamps_ = 0;
    std::vector<int> keys_;
    std::vector<int> timers_;
    FaultOptions faults_;
    LineOptions line_;
    int waitDelayMs_ = 0;
    int dialDelayMs_ = 0;
    std::vector<std::string> violations_;
    int violationCount_ = 0;
    int commandCount_ = 0;
    std::vector<std::string> commands_;
    std::vector<std::string> modemLog_;
};

}  // namespace t2::sim
