#include "PanelSession.h"

#include "Frame.h"
#include "Hex.h"
#include "ImagePacking.h"

#include "Defaults.h"
#include "Windows1252.h"

#include <QScopedValueRollback>

#include <cstdio>
#include <memory>

namespace t2 {

namespace {

PanelSession* activeSession = nullptr;

std::string Two(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

}  // namespace

PanelSession* ActiveSession() { return activeSession; }
void SetActiveSession(PanelSession* session) { activeSession = session; }

LinkSettings LinkSettings::FromConfig(const PanelConfig& config)
{
    LinkSettings s;
    s.connectionType = config.ConnectionType();
    s.commPort = config.CommPort;
    s.phoneNumber = config.ModemPhoneNumber();
    s.SetPanelAddress(BytesToText(config.PanelAddress()));
    return s;
}

bool LinkSettings::SetPanelAddress(const QString& text)
{
    address = text.trimmed();
    tcpPort = PanelTcpPort;
    const qsizetype colon = address.lastIndexOf(':');
    if (colon < 0 || address.count(':') > 1) return true;  // none, or an IPv6 address
    bool ok = false;
    const uint port = address.mid(colon + 1).toUInt(&ok);
    if (!ok || port == 0 || port > 65535) return false;
    tcpPort = static_cast<quint16>(port);
    address.truncate(colon);
    return true;
}

// --- Texts of the status reading ------------------------------------------------

std::string FormatPanelTime(int hour, int minute, int second)
{
    const std::string rest = ":" + Two(minute) + ":" + Two(second);
    if (hour == 0) return "12" + rest + " AM";
    if (hour < 12) return Two(hour) + rest + " AM";
    if (hour == 12) return "12" + rest + " PM";
    return Two(hour - 12) + rest + " PM";
}

std::string FormatPanelDate(int dayOfWeek, int month, int day, int year)
{
    static const char* const names[] = {"Sun ", "Mon ", "Tue ", "Wed ", "Thu ", "Fri ", "Sat "};
    const std::string prefix = (dayOfWeek >= 0 && dayOfWeek <= 6) ? names[dayOfWeek] : "";
    return prefix + Two(month) + "/" + Two(day) + "/" + Two(year);
}

std::string FormatIOInstalled(int count) { return Two(count) + " Inputs/Relays"; }

std::string FormatAddOnCard(int type, int revision)
{
    static const char* const names[] = {"None", "DMX  Rev ", "MODBUS  Rev ", "N2  Rev ", "Voice/DTMF  Rev ",
                                        "BACnet  Rev ", "Modem  Rev ", "Ethernet  Rev "};
    if (type == 0) return names[0];
    if (type >= 1 && type <= 7) return names[type] + std::to_string(revision);
    return "Unknown Type";
}

std::string AddOnCardName(int type)
{
    static const char* const names[] = {"None", "DMX", "MODBUS", "N2", "Voice/DTMF", "BACnet", "Modem", "Ethernet"};
    return type >= 0 && type <= 7 ? names[type] : "Unknown Type";
}

namespace {

// A node code as the report counts it: "4 (16 I/O)", "0 (No I/O)".
std::string NodeText(int code)
{
    return std::to_string(code) + (code == 0 ? std::string(" (No I/O)") : " (" + Two(4 * code) + " I/O)");
}

std::string CardText(int type) { return AddOnCardName(type) + " (" + std::to_string(type) + ")"; }

}  // namespace

std::string IoDifference::SideBySide() const
{
    std::string text = "\tHost\tPanel\n";
    auto line = [&text](const std::string& what, const std::string& host, const std::string& panel) {
        text += what + '\t' + host + '\t' + panel + (host != panel ? "\tdiffers\n" : "\n");
    };
    static const char* const hex = "0123456789ABC";
    for (int n = 0; n < NodeCodeCount; ++n)
        line(std::string("Node ") + hex[n + 1], NodeText(hostNodes[n]), NodeText(panelNodes[n]));
    line("Add-On Card", CardText(hostAddOn), CardText(panelAddOn));
    return text;
}

std::string IoDifference::Describe() const
{
    std::string text;
    for (int n = 0; n < NodeCodeCount; ++n) {
        if (panelNodes[n] == hostNodes[n]) continue;
        text += "node " + std::to_string(n + 1) + ": panel " + std::to_string(panelNodes[n]) + ", host " +
                std::to_string(hostNodes[n]) + "\n";
    }
    if (panelAddOn != hostAddOn) {
        text += "add-on card: panel " + std::to_string(panelAddOn) + ", host " + std::to_string(hostAddOn) + "\n";
    }
    return text;
}

// --- The session ------------------------------------------------------------------

PanelSession::PanelSession(ProgramState& state) : state_(state)
{
    exchange_.BindPanelConnected(state_.PanelConnected);
}

PanelSession::~PanelSession()
{
    if (activeSession == this) activeSession = nullptr;
    if (state_.PanelConnected) Disconnect();
}

ConnectResult PanelSession::Connect(const LinkSettings& link, QString* error)
{
    const bool modem = link.connectionType == ConnectModem;
    if (modem && link.phoneNumber.size() < MinimumPhoneNumberLength) return ConnectResult::InvalidPhoneNumber;

    Disconnect();  // one link at a time
    // Queued actions wait until the panel has answered (or the attempt failed).
    const PanelExchange::Turn turn(exchange_);
    // 2 and above is TCP/IP; anything else but 1 a direct serial line.
    connectionType_ = link.connectionType >= ConnectTcpIp ? ConnectTcpIp
                      : modem                             ? ConnectModem
                                                          : ConnectDirectSerial;
    revisionText_.clear();
    ioChecked_ = false;
    state_.PanelConnected = true;

    bool opened = false;
    if (connectionType_ == ConnectTcpIp) {
        opened = exchange_.OpenTcp(link.address, link.tcpPort, link.tcpWaitMs, error);
    } else if (modem) {
        opened = link.serialDevice.isEmpty() ? exchange_.OpenModem(link.commPort, link.phoneNumber, error)
                                             : exchange_.OpenModemDevice(link.serialDevice, link.phoneNumber, error);
    } else {
        opened = link.serialDevice.isEmpty() ? exchange_.OpenDirectSerial(link.commPort, error)
                                             : exchange_.OpenDirectSerialDevice(link.serialDevice, error);
    }
    // The user may have given up meanwhile (events run during the waits).
    if (opened && !state_.PanelConnected) opened = false;
    if (opened && !Send(RevisionCommand())) {
        if (error && error->isEmpty()) *error = QStringLiteral("the panel did not answer");
        opened = false;
    }
    if (!opened) {
        Disconnect();
        return ConnectResult::Failed;
    }
    revisionText_ = RevisionFromReply(exchange_.PanelReply());
    return ConnectResult::Connected;
}

void PanelSession::Disconnect()
{
    ioChecked_ = false;
    // The session ends now: a command that fails from here on (the one in
    // progress, which the close makes fail) is no lost link.
    state_.PanelConnected = false;
    exchange_.CloseLink();
}

bool PanelSession::LinkGone() const { return state_.PanelConnected && !exchange_.LinkUp(); }

// --- Status and clock ---------------------------------------------------------------

StatusResult PanelSession::ReadCVStatus(const std::function<void(const StatusTexts&)>& show,
                                        const std::function<bool(const IoDifference&)>& adopt)
{
    // A timer tick or a click that arrives while another exchange waits, or
    // while the I/O question is open, is simply skipped.
    if (!state_.PanelConnected || readingStatus_ || exchange_.Busy()) return StatusResult::Skipped;
    const QScopedValueRollback<bool> reading(readingStatus_, true);
    // The reading, the I/O check and its question are one turn of the link.
    const PanelExchange::Turn turn(exchange_);

    // A failure after the user closed the session meanwhile is no lost link.
    auto lost = [this] { return state_.PanelConnected ? StatusResult::LinkLost : StatusResult::Skipped; };

    if (!Send(ReadStatusCommand())) return lost();
    const std::optional<PanelStatus> status = ReadPanelStatus(exchange_.PanelReply());
    if (!status) return lost();
    StatusTexts texts;
    texts.status = *status;
    texts.time = FormatPanelTime(status->hour, status->minute, status->second);
    texts.date = FormatPanelDate(status->dayOfWeek, status->month, status->day, status->year);
    texts.io = FormatIOInstalled(status->ioCount);
    texts.addOn = FormatAddOnCard(status->addOnType, status->addOnRevision);
    if (show) show(texts);

    if (ioChecked_) return StatusResult::Read;
    ioChecked_ = true;
    if (!Send(NodeCodesReadCommand())) return lost();
    const auto nodes = NodeCodesFromReply(exchange_.PanelReply());
    if (!nodes) return lost();
    IoDifference difference;
    difference.panelNodes = *nodes;
    for (int n = 0; n < NodeCodeCount; ++n) difference.hostNodes[n] = state_.Config.NodeIOCount[n];
    difference.panelAddOn = status->addOnType;
    difference.hostAddOn = state_.Config.AddOnModuleType;
    if (difference.Differs() && adopt && adopt(difference)) {
        for (int n = 0; n < NodeCodeCount; ++n) state_.Config.NodeIOCount[n] = static_cast<Integer>(difference.panelNodes[n]);
        state_.Config.AddOnModuleType = static_cast<Integer>(difference.panelAddOn);
        RecordEdit(state_, "Panel I/O Hardware");   // one step to undo
    }
    return StatusResult::Read;
}

int MsToNextMinute(const QDateTime& now)
{
    const QTime t = now.time();
    const int into = (t.second() * 1000 + t.msec()) % 60000;
    return into < ClockStartToleranceMs ? 0 : 60000 - into;
}

QDateTime NearestMinute(const QDateTime& moment)
{
    QDateTime rounded = moment.addSecs(30);
    const QTime t = rounded.time();
    rounded.setTime(QTime(t.hour(), t.minute()));
    return rounded;
}

std::string ClockSetText(const QDateTime& minute)
{
    const QDate d = minute.date();
    const QTime t = minute.time();
    std::string time = FormatPanelTime(t.hour(), t.minute(), 0);   // "02:06:00 PM"
    time.erase(5, 3);
    return time + " " + FormatPanelDate(d.dayOfWeek() % 7, d.month(), d.day(), d.year() % 100);
}

PanelCommand PanelSession::ClockCommandFor(const QDateTime& moment)
{
    const QDate d = moment.date();
    const QTime t = moment.time();
    return SetClockCommand(t.hour(), t.minute(), d.month(), d.day(), d.year(), d.dayOfWeek() % 7);
}

bool PanelSession::SetClock(const QDateTime& moment)
{
    if (!state_.PanelConnected || exchange_.Busy()) return false;
    return Send(ClockCommandFor(moment));
}

// --- Password -----------------------------------------------------------------------

PasswordResult PanelSession::CheckPassword(const PasswordDigitsArray& digits)
{
    if (!Send(PasswordReadCommand())) return PasswordResult::LinkLost;
    const auto stored = PasswordFromReply(exchange_.PanelReply());
    if (!stored) return PasswordResult::LinkLost;
    return *stored == digits ? PasswordResult::Accepted : PasswordResult::Refused;
}

bool PanelSession::ChangePassword(const PasswordDigitsArray& digits) { return Send(PasswordWriteCommand(digits)); }

// --- Transfers ----------------------------------------------------------------------

void PanelSession::LetEventsRun() { exchange_.LetEventsRun(); }

std::string PartlyWrittenText(const TransferOutcome& outcome)
{
    if (outcome.end != TransferEnd::Error || outcome.code != DownloadBlockFailed || outcome.blocksDone <= 0) return {};
    return "The Panel Is Partly Written: Blocks 1 To " + std::to_string(outcome.blocksDone) + " Of " +
           std::to_string(PanelBlockCount) + " Hold The New Settings, The Others The Old.\n"
           "Repeat The Download Before The Panel Is Left In Service.";
}

std::string BackupStopText(const TransferOutcome& outcome)
{
    std::string why;
    switch (outcome.end) {
    case TransferEnd::BackupCancelled: why = "Manual Download Cancel."; break;
    case TransferEnd::BackupNotSaved:
        why = "The Panel Settings Could Not Be Backed Up: the backup could not be saved (" + outcome.message + ").";
        break;
    case TransferEnd::BackupReadFailed: {
        const std::string code = " (Upload Error: " + std::to_string(outcome.code) + ")";
        why = "The Panel Settings Could Not Be Backed Up: ";
        if (outcome.code == UploadBlockFailed)
            why += "The Tamberline II Did Not Answer While Its Settings Were Read" + code + ".";
        else if (outcome.code == ChecksumDiffers)
            why += "The Settings Read From The Tamberline II Did Not Match Its Checksum" + code + ".";
        else
            why += "The Tamberline II Did Not Answer The Checksum Request" + code + ".";
        break;
    }
    default: return {};
    }
    return why + "\nThe Download Did Not Start. The Tamberline II Was Not Changed.";
}

TransferOutcome PanelSession::Download(const PasswordDigitsArray& password,
                                       const std::optional<PasswordDigitsArray>& newPassword,
                                       const TransferObserver& observer, const DownloadSafeguards& safeguards)
{
    TransferOutcome outcome;
    if (!MayStart(outcome)) return outcome;
    // The password, the reading and every block are one turn of the link.
    const PanelExchange::Turn turn(exchange_);
    switch (CheckPassword(password)) {
    case PasswordResult::Accepted: break;
    case PasswordResult::Refused: outcome.end = TransferEnd::PasswordRefused; return outcome;
    case PasswordResult::LinkLost: outcome.end = TransferEnd::LinkLost; return outcome;
    }
    const PasswordDigitsArray inPanel = newPassword.value_or(password);
    if (!safeguards.ReadsPanel()) {
        if (newPassword && !ChangePassword(*newPassword)) {
            outcome.end = TransferEnd::LinkLost;
            return outcome;
        }
        outcome = DownLoadSettings(inPanel, observer);
        outcome.passwordChanged = newPassword.has_value();
        return outcome;
    }

    if (observer.begin) observer.begin();
    cancelRequested_ = false;
    auto finish = [&](TransferOutcome o) {
        o.linkGone = LinkGone();
        if (observer.end) observer.end(o);
        return o;
    };

    // The panel's settings as they are, before anything is written.
    auto copy = std::make_unique<PanelCopy>();
    TransferOutcome read = ReadPanelMemory(copy->image, "Backing Up Block ", observer);
    if (read.end != TransferEnd::Complete) {
        read.end = read.end == TransferEnd::Cancelled ? TransferEnd::BackupCancelled : TransferEnd::BackupReadFailed;
        read.blocksDone = 0;  // none written
        return finish(read);
    }
    copy->readAt = QDateTime::currentDateTime();
    ApplyPanelCopy(state_.Config, state_.Devices, *copy);
    // The window stays responsive between the steps.
    LetEventsRun();

    if (!safeguards.backupFolder.empty() || !safeguards.backupFile.empty()) {
        std::string error;
        if (!safeguards.backupFile.empty()) {
            if (SaveBackupAs(*copy, safeguards.backupFile, &error)) outcome.backupPath = safeguards.backupFile;
        } else {
            outcome.backupPath = SaveBackupInFolder(*copy, safeguards.backupFolder, &error);
        }
        if (outcome.backupPath.empty()) {
            outcome.end = TransferEnd::BackupNotSaved;
            outcome.message = error;
            return finish(outcome);
        }
        LetEventsRun();
    }

    const std::vector<ReportDifference> changes = DownloadChanges(state_.Config, state_.Devices, copy->image, true);
    copy.reset();
    outcome.changes = static_cast<int>(changes.size());
    // Cancel pressed since the last block read: nothing is written.
    auto cancelled = [&] {
        if (!cancelRequested_) return false;
        outcome.end = TransferEnd::BackupCancelled;
        return true;
    };
    if (cancelled()) return finish(outcome);
    if (!changes.empty() && safeguards.confirm && !safeguards.confirm(changes)) {
        outcome.end = TransferEnd::Declined;
        return finish(outcome);
    }
    if (cancelled()) return finish(outcome);
    // The session may have been closed while the question was open.
    if (!state_.PanelConnected) {
        outcome.end = TransferEnd::LinkLost;
        return finish(outcome);
    }
    if (newPassword) {
        if (!ChangePassword(*newPassword)) {
            outcome.end = TransferEnd::LinkLost;
            return finish(outcome);
        }
        outcome.passwordChanged = true;
    }
    if (changes.empty()) {
        outcome.end = TransferEnd::AlreadyHeld;
        return finish(outcome);
    }
    TransferOutcome written = WritePanelMemory(inPanel, observer);
    written.passwordChanged = outcome.passwordChanged;
    written.backupPath = outcome.backupPath;
    written.changes = outcome.changes;
    return finish(written);
}

TransferOutcome PanelSession::DownLoadSettings(const PasswordDigitsArray& password, const TransferObserver& observer)
{
    const PanelExchange::Turn turn(exchange_);
    if (observer.begin) observer.begin();
    cancelRequested_ = false;
    TransferOutcome outcome = WritePanelMemory(password, observer);
    outcome.linkGone = LinkGone();
    if (observer.end) observer.end(outcome);
    return outcome;
}

bool PanelSession::MayStart(TransferOutcome& outcome) const
{
    if (!state_.PanelConnected) {
        outcome.end = TransferEnd::LinkLost;
        return false;
    }
    return !exchange_.Busy();  // NotStarted: the caller waits for the link first
}

TransferOutcome PanelSession::Ended(TransferOutcome& outcome, TransferEnd end, int code)
{
    outcome.end = end;
    outcome.code = code;
    return outcome;
}

TransferOutcome PanelSession::VerifyChecksum(std::uint16_t sum, const TransferObserver& observer,
                                             TransferOutcome& outcome)
{
    if (observer.progress) observer.progress(PanelBlockCount, "Verify Checksum");
    if (!Send(ImageChecksumCommand())) return Ended(outcome, TransferEnd::Error, ChecksumCommandFailed);
    const std::optional<int> panelSum = ChecksumFromReply(exchange_.PanelReply());
    if (!panelSum || *panelSum != sum) return Ended(outcome, TransferEnd::Error, ChecksumDiffers);
    return Ended(outcome, TransferEnd::Complete, 0);
}

TransferOutcome PanelSession::WritePanelMemory(const PasswordDigitsArray& password, const TransferObserver& observer)
{
    BuildPanelImage(state_.Config, state_.Devices, password, state_.Image);
    TransferOutcome outcome;
    auto end = [&outcome](TransferEnd e, int code) { return Ended(outcome, e, code); };
    std::uint16_t sum = 0;
    for (int block = 0; block < PanelBlockCount; ++block) {
        LetEventsRun();
        if (cancelRequested_) return end(TransferEnd::Cancelled, 0);
        std::array<std::uint8_t, PanelBlockSize> bytes{};
        for (int j = 0; j < PanelBlockSize; ++j) {
            bytes[j] = static_cast<std::uint8_t>(state_.Image[block * PanelBlockSize + j] & 0xFF);
            sum = ImageChecksumStep(sum, bytes[j]);
        }
        const PanelCommand command = BlockDownloadCommand(block, bytes);
        const int sending = block + 1;
        if (observer.progress) observer.progress(sending, "Downloading Block " + std::to_string(sending) + " Of 384");
        if (!Send(command)) return end(TransferEnd::Error, DownloadBlockFailed);
        outcome.blocksDone = sending;
    }
    return VerifyChecksum(sum, observer, outcome);
}

TransferOutcome PanelSession::ReadPanelMemory(PanelImage& image, const std::string& caption,
                                              const TransferObserver& observer)
{
    TransferOutcome outcome;
    auto end = [&outcome](TransferEnd e, int code) { return Ended(outcome, e, code); };
    std::uint16_t sum = 0;
    for (int block = 0; block < PanelBlockCount; ++block) {
        LetEventsRun();
        if (cancelRequested_) return end(TransferEnd::Cancelled, 0);
        if (!Send(BlockReadCommand(block))) return end(TransferEnd::Error, UploadBlockFailed);
        const auto bytes = MemoryFromReply(exchange_.PanelReply(), PanelBlockSize);
        if (!bytes) return end(TransferEnd::Error, UploadBlockFailed);
        for (int j = 0; j < PanelBlockSize; ++j) {
            image[block * PanelBlockSize + j] = static_cast<Integer>((*bytes)[j]);
            sum = ImageChecksumStep(sum, (*bytes)[j]);
        }
        outcome.blocksDone = block + 1;
        if (observer.progress)
            observer.progress(outcome.blocksDone, caption + std::to_string(outcome.blocksDone) + " Of 384");
    }
    return VerifyChecksum(sum, observer, outcome);
}

TransferOutcome PanelSession::Upload(const UploadQuestions& questions, const TransferObserver& observer)
{
    TransferOutcome outcome;  // NotStarted
    if (questions.discardHostChanges && !questions.discardHostChanges()) return outcome;
    SetDataChanged(state_, false);
    const NamesAnswer names = questions.includeNames ? questions.includeNames() : NamesAnswer::No;
    if (names == NamesAnswer::Cancel) return outcome;
    if (!state_.PanelConnected) {
        outcome.end = TransferEnd::LinkLost;
        return outcome;
    }
    state_.UploadNames = names == NamesAnswer::Yes;
    return UpLoadSettings(state_.UploadNames, observer);
}

TransferOutcome PanelSession::UpLoadSettings(bool uploadNames, const TransferObserver& observer)
{
    const PanelExchange::Turn turn(exchange_);
    if (observer.begin) observer.begin();
    cancelRequested_ = false;
    state_.UploadNames = uploadNames;

    TransferOutcome outcome = ReadPanelMemory(state_.Image, "Uploading Block ", observer);
    if (outcome.end == TransferEnd::Complete) {
        ApplyPanelImage(state_.Image, state_.Config, state_.Devices, state_.UploadNames);
        RecordEdit(state_, "Upload");   // the configuration it replaced is one step to undo
    }
    outcome.linkGone = LinkGone();
    if (observer.end) observer.end(outcome);
    if (outcome.end != TransferEnd::Complete) {
        // An aborted upload leaves no half-read configuration behind, and
        // the configuration is no longer the one of the settings file: a
        // Save must not put the cleared one over it.
        Disconnect();
        ResetConfiguration(state_);
        state_.SettingsFileName = "None";
        // The cleared configuration is one step to undo: the user's
        // configuration is not lost with it.
        state_.History.Record(state_, "Upload");
    }
    return outcome;
}

TransferOutcome PanelSession::UploadIntoMemory(const PanelConfig& base, const VantelDevices& baseDevices,
                                               PanelCopy& copy, const TransferObserver& observer)
{
    TransferOutcome outcome;
    if (!MayStart(outcome)) return outcome;
    const PanelExchange::Turn turn(exchange_);
    if (observer.begin) observer.begin();
    cancelRequested_ = false;
    outcome = ReadPanelMemory(copy.image, "Uploading Block ", observer);
    if (outcome.end == TransferEnd::Complete) {
        copy.readAt = QDateTime::currentDateTime();
        ApplyPanelCopy(base, baseDevices, copy);
    }
    outcome.linkGone = LinkGone();
    if (observer.end) observer.end(outcome);
    return outcome;
}

}  // namespace t2
