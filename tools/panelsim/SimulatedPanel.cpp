#include "SimulatedPanel.h"

#include "Frame.h"
#include "Hex.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QTimeZone>

#include <algorithm>
#include <chrono>

namespace t2::sim {

namespace {

// Where the panel keeps the tables it acts on by itself.
constexpr int GroupRelaysBase = 2016;
constexpr int TimerRelayOnBase = 2352;
constexpr int TimerRelayOffBase = 2640;
constexpr int TimerGroupOnBase = 2928;
constexpr int TimerGroupOffBase = 3216;
constexpr int TimerPresetBase = 3504;
constexpr int PresetOnBase = 3792;
constexpr int PresetOffBase = 4080;
constexpr int PasswordAt = 0x1F7A;
constexpr int NodeCodesAt = 0x1FF0;
constexpr std::size_t MaxLog = 10000;

long long NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool IsUpperHex(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

int H2(std::string_view s, std::size_t at) { return HexValue2(s.substr(at, 2)); }
int H4(std::string_view s, std::size_t at) { return HexValue4(s.substr(at, 4)); }

template <typename T>
void Keep(std::vector<T>& log, T value)
{
    if (log.size() >= MaxLog) log.erase(log.begin(), log.begin() + MaxLog / 2);
    log.push_back(std::move(value));
}

}  // namespace

SimulatedPanel::SimulatedPanel()
{
    revision_ = "TAMBERLINE II SIMULATED PANEL V1.00";
    revision_.resize(40, ' ');
    memory_[NodeCodesAt] = 1;  // one node of 4 I/O points, as a fresh configuration
    const QDateTime now = QDateTime::currentDateTime();
    clock_ = {now.time().hour(), now.time().minute(), now.time().second(), now.date().month(), now.date().day(),
              now.date().year() % 100, now.date().dayOfWeek() % 7};
    clockSetAtMs_ = NowMs();
    display_ = "  VEL TAMBERLINE II      SIMULATED                                              ";
    display_.resize(DisplayChars, ' ');
}

// --- Memory -------------------------------------------------------------------

std::vector<std::uint8_t> SimulatedPanel::Memory() const
{
    std::lock_guard lock(mutex_);
    return {memory_.begin(), memory_.end()};
}

std::uint8_t SimulatedPanel::MemoryAt(int address) const
{
    std::lock_guard lock(mutex_);
    return (address >= 0 && address < MemoryBytes) ? memory_[address] : 0;
}

void SimulatedPanel::SetMemory(int address, const std::vector<std::uint8_t>& bytes)
{
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const long a = address + static_cast<long>(i);
        if (a >= 0 && a < MemoryBytes) memory_[a] = bytes[i];
    }
}

bool SimulatedPanel::LoadMemory(const std::string& path, std::string* error)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = path + ": " + f.errorString().toStdString();
        return false;
    }
    const QByteArray bytes = f.read(MemoryBytes + 1);
    if (bytes.size() != MemoryBytes) {
        if (error) *error = path + ": a panel memory file holds 24576 bytes";
        return false;
    }
    std::lock_guard lock(mutex_);
    std::copy(bytes.begin(), bytes.end(), memory_.begin());
    return true;
}

bool SimulatedPanel::DumpMemory(const std::string& path, std::string* error) const
{
    QSaveFile f(QString::fromStdString(path));
    if (f.open(QIODevice::WriteOnly)) {
        std::lock_guard lock(mutex_);
        f.write(reinterpret_cast<const char*>(memory_.data()), MemoryBytes);
    }
    if (!f.commit()) {
        if (error) *error = path + ": " + f.errorString().toStdString();
        return false;
    }
    return true;
}

void SimulatedPanel::SetPassword(const std::array<int, 6>& digits)
{
    std::lock_guard lock(mutex_);
    for (int i = 0; i < 6; ++i) memory_[PasswordAt + i] = static_cast<std::uint8_t>(digits[i]);
}

std::array<int, 6> SimulatedPanel::Password() const
{
    std::lock_guard lock(mutex_);
    std::array<int, 6> d{};
    for (int i = 0; i < 6; ++i) d[i] = memory_[PasswordAt + i];
    return d;
}

void SimulatedPanel::SetNodeCodes(const std::array<int, 12>& codes)
{
    std::lock_guard lock(mutex_);
    for (int i = 0; i < 12; ++i) memory_[NodeCodesAt + i] = static_cast<std::uint8_t>(codes[i]);
}

// --- Identity ---------------------------------------------------------------------

void SimulatedPanel::SetRevision(const std::string& text)
{
    std::lock_guard lock(mutex_);
    revision_ = text;
    revision_.resize(40, ' ');
}

std::string SimulatedPanel::Revision() const
{
    std::lock_guard lock(mutex_);
    return revision_;
}

void SimulatedPanel::SetInstalledIO(int count)
{
    std::lock_guard lock(mutex_);
    installedIO_ = count;
}

int SimulatedPanel::InstalledIO() const
{
    std::lock_guard lock(mutex_);
    return InstalledIOLocked();
}

int SimulatedPanel::InstalledIOLocked() const
{
    if (installedIO_ >= 0) return installedIO_;
    int total = 0;
    for (int i = 0; i < 12; ++i) total += 4 * memory_[NodeCodesAt + i];
    return std::min(total, Items);
}

void SimulatedPanel::SetAddOnCard(int type, int revision)
{
    std::lock_guard lock(mutex_);
    addOnType_ = type;
    addOnRevision_ = revision;
}

// --- Clock ----------------------------------------------------------------------------

void SimulatedPanel::SetClock(const PanelClock& clock)
{
    std::lock_guard lock(mutex_);
    clock_ = clock;
    clockSetAtMs_ = NowMs();
}

PanelClock SimulatedPanel::Clock() const
{
    std::lock_guard lock(mutex_);
    return ClockLocked();
}

PanelClock SimulatedPanel::ClockLocked() const
{
    const QDate date(2000 + clock_.year, clock_.month, clock_.day);
    const QTime time(clock_.hour, clock_.minute, clock_.second);
    if (!date.isValid() || !time.isValid()) return clock_;
    const QDateTime base(date, time, Qt::UTC);
    const QDateTime now = base.addSecs((NowMs() - clockSetAtMs_) / 1000);
    PanelClock c;
    c.hour = now.time().hour();
    c.minute = now.time().minute();
    c.second = now.time().second();
    c.month = now.date().month();
    c.day = now.date().day();
    c.year = now.date().year() % 100;
    c.dayOfWeek = static_cast<int>((clock_.dayOfWeek + base.date().daysTo(now.date())) % 7);
    return c;
}

// --- Live states ------------------------------------------------------------------

void SimulatedPanel::SetRelay(int relay, bool on)
{
    std::lock_guard lock(mutex_);
    if (relay >= 0 && relay < Items) relays_[relay] = on;
}

bool SimulatedPanel::Relay(int relay) const
{
    std::lock_guard lock(mutex_);
    return relay >= 0 && relay < Items && relays_[relay];
}

void SimulatedPanel::SetGroup(int group, bool on)
{
    std::lock_guard lock(mutex_);
    if (group >= 0 && group < Items) groups_[group] = on;
}

bool SimulatedPanel::Group(int group) const
{
    std::lock_guard lock(mutex_);
    return group >= 0 && group < Items && groups_[group];
}

bool SimulatedPanel::PresetActive(int preset) const
{
    std::lock_guard lock(mutex_);
    return preset >= 0 && preset < Items && presets_[preset];
}

void SimulatedPanel::SetInput(int input, int value)
{
    std::lock_guard lock(mutex_);
    if (input >= 0 && input < Items) inputs_[input] = std::clamp(value, 0, 3);
}

int SimulatedPanel::Input(int input) const
{
    std::lock_guard lock(mutex_);
    return (input >= 0 && input < Items) ? inputs_[input] : 0;
}

void SimulatedPanel::SetDevice(int device, const NetworkDevice& state)
{
    std::lock_guard lock(mutex_);
    if (device >= 0 && device < DeviceSlots) devices_[device] = state;
}

NetworkDevice SimulatedPanel::Device(int device) const
{
    std::lock_guard lock(mutex_);
    return (device >= 0 && device < DeviceSlots) ? devices_[device] : NetworkDevice{};
}

void SimulatedPanel::SetDisplay(const std::string& text)
{
    std::lock_guard lock(mutex_);
    display_ = text.substr(0, DisplayChars);
    display_.resize(DisplayChars, ' ');
}

std::string SimulatedPanel::Display() const
{
    std::lock_guard lock(mutex_);
    return display_;
}

void SimulatedPanel::SetLamps(int lamps)
{
    std::lock_guard lock(mutex_);
    lamps_ = lamps & 0xFF;
}

std::vector<int> SimulatedPanel::KeysPressed() const
{
    std::lock_guard lock(mutex_);
    return keys_;
}

std::vector<int> SimulatedPanel::TimersForced() const
{
    std::lock_guard lock(mutex_);
    return timers_;
}

// --- Behaviour --------------------------------------------------------------------

void SimulatedPanel::SetFaults(const FaultOptions& faults)
{
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

FaultOptions SimulatedPanel::Faults() const
{
    std::lock_guard lock(mutex_);
    return faults_;
}

void SimulatedPanel::SetLine(const LineOptions& line)
{
    std::lock_guard lock(mutex_);
    line_ = line;
}

LineOptions SimulatedPanel::Line() const
{
    std::lock_guard lock(mutex_);
    return line_;
}

void SimulatedPanel::SetWaitReplyDelayMs(int ms)
{
    std::lock_guard lock(mutex_);
    waitDelayMs_ = std::max(0, ms);
}

void SimulatedPanel::SetDialDelayMs(int ms)
{
    std::lock_guard lock(mutex_);
    dialDelayMs_ = std::max(0, ms);
}

int SimulatedPanel::DialDelayMs() const
{
    std::lock_guard lock(mutex_);
    return dialDelayMs_;
}

// --- Logs -----------------------------------------------------------------------------

int SimulatedPanel::ViolationCount() const
{
    std::lock_guard lock(mutex_);
    return violationCount_;
}

std::vector<std::string> SimulatedPanel::Violations() const
{
    std::lock_guard lock(mutex_);
    return violations_;
}

int SimulatedPanel::CommandCount() const
{
    std::lock_guard lock(mutex_);
    return commandCount_;
}

std::vector<std::string> SimulatedPanel::Commands() const
{
    std::lock_guard lock(mutex_);
    return commands_;
}

std::string SimulatedPanel::LastCommand() const
{
    std::lock_guard lock(mutex_);
    return commands_.empty() ? std::string() : commands_.back();
}

std::vector<std::string> SimulatedPanel::ModemLog() const
{
    std::lock_guard lock(mutex_);
    return modemLog_;
}

void SimulatedPanel::ClearLog()
{
    std::lock_guard lock(mutex_);
    violations_.clear();
    violationCount_ = 0;
    commandCount_ = 0;
    commands_.clear();
    modemLog_.clear();
    keys_.clear();
    timers_.clear();
}

void SimulatedPanel::ReportViolation(const std::string& what)
{
    std::lock_guard lock(mutex_);
    ++violationCount_;
    Keep(violations_, what);
}

void SimulatedPanel::LogModem(const std::string& what)
{
    std::lock_guard lock(mutex_);
    Keep(modemLog_, what);
}

// --- The command set ----------------------------------------------------------

bool SimulatedPanel::Bit(int base, int row, int column) const
{
    return (memory_[base + row * 6 + column / 8] >> (column % 8)) & 1;
}

void SimulatedPanel::SetBit(int base, int row, int column, bool on)
{
    std::uint8_t& cell = memory_[base + row * 6 + column / 8];
    const auto mask = static_cast<std::uint8_t>(1u << (column % 8));
    cell = on ? (cell | mask) : (cell & ~mask);
}

bool SimulatedPanel::RowEmpty(int base, int row) const
{
    for (int i = 0; i < 6; ++i) {
        if (memory_[base + row * 6 + i]) return false;
    }
    return true;
}

std::string SimulatedPanel::StatusData() const
{
    const PanelClock c = ClockLocked();
    std::string d = Hex2(c.hour) + Hex2(c.minute) + Hex2(c.second) + Hex2(c.month) + Hex2(c.day) + Hex2(c.year);
    d += Hex2(c.dayOfWeek).substr(1);        // position 14: day of week
    d += "0";                                 // 15: not used
    d += Hex2(InstalledIOLocked());           // 16..17
    d += "0";                                 // 18: not used
    d += Hex2(addOnType_).substr(1);         // 19
    d += Hex2(addOnRevision_).substr(1);     // 20
    d += std::string(11, '0');                // 21..31
    return d;
}

PanelAnswer SimulatedPanel::HandleFrame(std::string_view frame)
{
    std::lock_guard lock(mutex_);
    const auto command = ParseCommandFrame(frame);
    if (!command) {
        ++violationCount_;
        Keep(violations_, "bad frame: " + std::string(frame));
        return {};
    }
    if (!IsUpperHex(*command) || command->size() < 2) {
        ++violationCount_;
        Keep(violations_, "not a command: " + *command);
        return {};
    }
    // Judge the command before the faults decide its fate, so that a wrong
    // command is a violation whatever the faults say.
    std::string violation;
    const std::array<std::uint8_t, MemoryBytes> before = memory_;
    const auto relaysBefore = relays_;
    const auto groupsBefore = groups_;
    const auto presetsBefore = presets_;
    std::optional<std::string> data = Execute(*command, violation);
    if (!data) {
        ++violationCount_;
        Keep(violations_, violation + ": " + *command);
        return {};
    }
    ++commandCount_;
    Keep(commands_, *command);
    // Lost on the way in: the panel never acted on it.
    auto undo = [&] {
        memory_ = before;
        relays_ = relaysBefore;
        groups_ = groupsBefore;
        presets_ = presetsBefore;
        if (!keys_.empty() && command->starts_with("07") && H2(*command, 2) != 0) keys_.pop_back();
        if (!timers_.empty() && command->starts_with("13")) timers_.pop_back();
    };
    if (faults_.closeAfter > 0 && commandCount_ > faults_.closeAfter) {
        undo();
        PanelAnswer gone;
        gone.close = true;  // and the connection with it
        return gone;
    }
    const bool stopped = faults_.stopAfter > 0 && commandCount_ > faults_.stopAfter;
    const bool dropped = faults_.dropEvery > 0 && commandCount_ % faults_.dropEvery == 0;
    if (stopped || dropped) {
        undo();
        return {};
    }
    PanelAnswer answer;
    answer.reply = true;
    answer.bytes = FrameReply(*data);
    if (faults_.corruptEvery > 0 && commandCount_ % faults_.corruptEvery == 0) {
        const int wrong = (HexValue2(answer.bytes.substr(answer.bytes.size() - 3, 2)) + 1) & 0xFF;
        answer.bytes.replace(answer.bytes.size() - 3, 2, Hex2(wrong));
    }
    answer.delayMs = faults_.replyDelayMs + (*command == "02" ? waitDelayMs_ : 0);
    if (faults_.lateMs > 0 && (faults_.lateCount <= 0 || commandCount_ <= faults_.lateCount))
        answer.delayMs += faults_.lateMs;
    return answer;
}

std::optional<std::string> SimulatedPanel::Execute(const std::string& c, std::string& violation)
{
    const std::string code = c.substr(0, 2);
    const std::size_t n = c.size();
    auto wrongLength = [&]() -> std::optional<std::string> {
        violation = "wrong length for command " + code;
        return std::nullopt;
    };
    auto bad = [&](const std::string& why) -> std::optional<std::string> {
        violation = why;
        return std::nullopt;
    };
    auto itemOf = [&](std::size_t at) { return H2(c, at); };

    if (code == "00") {
        if (n != 13) return wrongLength();
        PanelClock k{H2(c, 2), H2(c, 4), 0, H2(c, 6), H2(c, 8), H2(c, 10), c[12] - '0'};
        if (k.hour > 23 || k.minute > 59 || k.month < 1 || k.month > 12 || k.day < 1 || k.day > 31 || k.year > 99 ||
            k.dayOfWeek < 0 || k.dayOfWeek > 6) {
            return bad("clock out of range");
        }
        clock_ = k;
        clockSetAtMs_ = NowMs();
        return std::string();
    }
    if (code == "01") {
        if (n != 2) return wrongLength();
        return StatusData();
    }
    if (code == "02") {
        if (n != 2) return wrongLength();
        return std::string("00");
    }
    if (code == "05") {
        if (n != 2) return wrongLength();
        return revision_;
    }
    if (code == "07") {
        if (n != 4) return wrongLength();
        const int key = itemOf(2);
        if (key != 0) keys_.push_back(key);
        return display_ + Hex2(lamps_);
    }
    if (code == "10" || code == "11") {
        if (n != 5) return wrongLength();
        if (c[4] != '0' && c[4] != '1') return bad("switch state not 0 or 1");
        const bool on = c[4] == '1';
        const int item = itemOf(2);
        if (code == "10" && item == 0xFF) {
            relays_.fill(on);
            return std::string();
        }
        if (item >= Items) return bad("no such relay or group");
        if (code == "10") {
            relays_[item] = on;
        } else {
            groups_[item] = on;
            for (int r = 0; r < Items; ++r) {
                if (Bit(GroupRelaysBase, item, r)) relays_[r] = on;
            }
        }
        return std::string();
    }
    if (code == "13") {
        if (n != 5 || c[4] != '0') return wrongLength();
        const int t = itemOf(2);
        if (t >= Items) return bad("no such timer");
        timers_.push_back(t);
        for (int r = 0; r < Items; ++r) {
            if (Bit(TimerRelayOnBase, t, r)) relays_[r] = true;
            if (Bit(TimerRelayOffBase, t, r)) relays_[r] = false;
        }
        for (int g = 0; g < Items; ++g) {
            if (Bit(TimerGroupOnBase, t, g)) groups_[g] = true;
            if (Bit(TimerGroupOffBase, t, g)) groups_[g] = false;
        }
        for (int p = 0; p < Items; ++p) {
            if (Bit(TimerPresetBase, t, p)) presets_[p] = true;
        }
        return std::string();
    }
    if (code == "20" || code == "23" || code == "24" || code == "25") {
        if (n != 4) return wrongLength();
        if (c.substr(2) != "FF") return bad("status of one item is not a panel command");
        std::string d(Items, '0');
        for (int i = 0; i < Items; ++i) {
            if (code == "20") {
                d[i] = static_cast<char>('0' + inputs_[i]);
            } else if (code == "23") {
                d[i] = relays_[i] ? '1' : '0';
            } else if (code == "24") {
                d[i] = RowEmpty(GroupRelaysBase, i) ? '2' : (groups_[i] ? '1' : '0');
            } else {
                d[i] = (RowEmpty(PresetOnBase, i) && RowEmpty(PresetOffBase, i)) ? '2' : (presets_[i] ? '1' : '0');
            }
        }
        return d;
    }
    if (code == "30") {
        if (n < 10) return wrongLength();
        const int address = H4(c, 2);
        const int count = H2(c, 6) + 1;
        if (n != 8 + 2 * static_cast<std::size_t>(count)) return wrongLength();
        if (address + count - 1 > MemoryBytes - 1) return bad("address outside 0x0000..0x5FFF");
        for (int i = 0; i < count; ++i) memory_[address + i] = static_cast<std::uint8_t>(H2(c, 8 + 2 * i));
        return std::string();
    }
    if (code == "31") {
        if (n != 8) return wrongLength();
        const int address = H4(c, 2);
        const int count = H2(c, 6) + 1;
        if (address + count - 1 > MemoryBytes - 1) return bad("address outside 0x0000..0x5FFF");
        std::string d;
        d.reserve(2 * count);
        for (int i = 0; i < count; ++i) d += Hex2(memory_[address + i]);
        return d;
    }
    if (code == "34" || code == "36") {
        if (n != 10) return wrongLength();
        const int first = H4(c, 2);
        const int last = H4(c, 6);
        if (last > MemoryBytes - 1 || first > last) return bad("address outside 0x0000..0x5FFF");
        if (code == "36") {
            std::fill(memory_.begin() + first, memory_.begin() + last + 1, 0);
            return std::string();
        }
        int sum = ImageChecksum(std::span<const std::uint8_t>(memory_.data() + first, last - first + 1));
        if (faults_.wrongChecksum) sum ^= 0x5A5A;
        return Hex4(sum);
    }
    if (code == "40" || code == "41") {
        if (n != 5 || c[4] != '0') return wrongLength();
        const int p = itemOf(2);
        if (p >= Items) return bad("no such preset");
        if (code == "40") {
            for (int r = 0; r < Items; ++r) {
                if (Bit(PresetOnBase, p, r)) relays_[r] = true;
                if (Bit(PresetOffBase, p, r)) relays_[r] = false;
            }
        } else {
            const int installed = InstalledIOLocked();
            for (int r = 0; r < installed; ++r) {
                SetBit(PresetOnBase, p, r, relays_[r]);
                SetBit(PresetOffBase, p, r, !relays_[r]);
            }
        }
        presets_[p] = true;
        return std::string();
    }
    if (code == "49") {
        if (n != 2) return wrongLength();
        std::string d;
        for (const NetworkDevice& v : devices_) d += Hex2(v.inputs);
        for (const NetworkDevice& v : devices_) d += Hex2(v.responding);
        for (const NetworkDevice& v : devices_) d += Hex2(v.level);
        return d;
    }
    return bad("unknown command " + code);
}

}  // namespace t2::sim
