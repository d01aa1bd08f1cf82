// A session with the panel: connecting and identifying it, reading its status
// and clock, setting the clock, the password check and change, and the
// download and upload of the whole configuration. The connection window and
// the command-line tool both drive this one implementation; everything that
// needs a person (questions, messages, progress display) comes in through
// callbacks, so the session itself shows nothing.
//
//     t2::PanelSession session(state);                 // binds state.PanelConnected
//     if (session.Connect(t2::LinkSettings::FromConfig(state.Config)) == t2::ConnectResult::Connected) {
//         session.ReadCVStatus(show, askAdoptPanelIO);
//         auto outcome = session.Download(password, std::nullopt, observer);
//     }
//
// The program keeps one session for its whole run (the connection window owns
// it and makes it the ActiveSession()); the status windows talk to the panel
// through its Exchange(). Every operation here runs as one turn of the link
// (PanelExchange::Turn); a caller driven by events starts it through
// Exchange().WhenIdle so that it never starts inside another one's wait.
#pragma once

#include "Links.h"
#include "PanelCopy.h"
#include "PanelExchange.h"
#include "Replies.h"

#include "PanelConfig.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace t2 {

using PasswordDigitsArray = std::array<int, PasswordDigits>;

// How to reach the panel.
struct LinkSettings {
    int connectionType = ConnectDirectSerial;  // 0 direct serial, 1 modem, 2 (or more) TCP/IP
    int commPort = 1;                          // COMn for the serial and modem links
    QString serialDevice;                      // when set, opened instead of COMn
    std::string phoneNumber;                   // dialled by the modem
    QString address;                           // host name or address of the panel
    quint16 tcpPort = PanelTcpPort;
    int tcpWaitMs = TcpConnectWaitMs;

    // The connection settings kept in the configuration.
    static LinkSettings FromConfig(const PanelConfig& config);
    // Sets address and tcpPort from a panel address. An address may name the
    // port after a colon ("127.0.0.1:10002", for a simulated panel); the
    // panel's own port 10001 is used otherwise. False when the port is not a
    // number 1..65535 (the address is then taken whole, port 10001).
    bool SetPanelAddress(const QString& text);
};

// A modem number needs at least this many characters.
constexpr std::size_t MinimumPhoneNumberLength = 7;

enum class ConnectResult {
    Connected,           // the link is open and the panel answered "05"
    InvalidPhoneNumber,  // modem link with a number of fewer than 7 characters; nothing was opened
    Failed,              // the link did not open or the panel did not answer; all released
};

// What the "01" reading shows.
struct StatusTexts {
    PanelStatus status;
    std::string time;    // "01:05:00 PM"
    std::string date;    // "Sat 03/15/14"
    std::string io;      // "16 Inputs/Relays"
    std::string addOn;   // "DMX  Rev 2"
};

// "12:05:00 AM" for 0:05:00, "01:05:00 PM" for 13:05:00.
std::string FormatPanelTime(int hour, int minute, int second);
// "Sat 03/15/14"; a day-of-week code outside 0..6 shows the date alone.
std::string FormatPanelDate(int dayOfWeek, int month, int day, int year);
// "16 Inputs/Relays".
std::string FormatIOInstalled(int count);
// "None", "DMX  Rev 2", ... "Ethernet  Rev 1", "Unknown Type".
std::string FormatAddOnCard(int type, int revision);

// The panel's I/O hardware against the host configuration, on the first
// reading of a session.
struct IoDifference {
    std::array<int, NodeCodeCount> panelNodes{};
    std::array<int, NodeCodeCount> hostNodes{};
    int panelAddOn = 0;
    int hostAddOn = 0;
    bool Differs() const { return panelNodes != hostNodes || panelAddOn != hostAddOn; }
    // One line per difference ("node 2: panel 4, host 0", "add-on card: panel 7, host 0").
    std::string Describe() const;
    // Host and panel side by side, one line per node and one for the add-on
    // card, fields separated by TABs, a line that differs ending in
    // "differs":
    //     "\tHost\tPanel", "Node 1\t1 (04 I/O)\t4 (16 I/O)\tdiffers", ...
    //     "Node C\t0 (No I/O)\t0 (No I/O)", "Add-On Card\tNone (0)\tEthernet (7)\tdiffers"
    std::string SideBySide() const;
};

// The add-on card of a type as the status reading names it, without its
// revision: "None", "DMX", ... "Ethernet", "Unknown Type".
std::string AddOnCardName(int type);

// --- The clock ------------------------------------------------------------------
// The clock command carries hours and minutes: the panel starts the minute it
// is given at second 0. Sent at the start of a minute the panel's clock is
// right to the second.

// How long to wait from now to the start of the next minute, in ms: 0 when
// now is within ClockStartToleranceMs of the start of one, else at most 60000.
constexpr int ClockStartToleranceMs = 250;
int MsToNextMinute(const QDateTime& now);
// The start of the minute nearest to the moment (a wait that ends a little
// early or late still sets the minute it waited for).
QDateTime NearestMinute(const QDateTime& moment);
// The minute the panel was set to, as the status reading shows a moment:
// "02:06 PM Fri 03/07/14".
std::string ClockSetText(const QDateTime& minute);

enum class StatusResult {
    Read,      // shown
    LinkLost,  // a command failed while the session was open: the caller runs HandleLinkLost
    Skipped,   // not connected, or another exchange or status reading is in progress
};

enum class PasswordResult { Accepted, Refused, LinkLost };

// The transfer error codes shown to the user.
constexpr int DownloadBlockFailed = 1;
constexpr int ChecksumDiffers = 2;
constexpr int ChecksumCommandFailed = 3;
constexpr int UploadBlockFailed = 19;

enum class TransferEnd {
    Complete,
    Error,         // with its code
    Cancelled,     // by RequestCancel, between blocks
    NotStarted,    // upload: a question was answered No or Cancel
    PasswordRefused,  // download: the entered password differs from the panel's
    LinkLost,      // download: the password could not be read or written
    // A download that read the panel's settings first and wrote nothing:
    BackupReadFailed,  // they could not be read (code as an upload's: 19, 2, 3)
    BackupCancelled,   // cancelled while they were read
    BackupNotSaved,    // the backup could not be saved (message says why)
    Declined,          // the changes were shown and the download refused
    AlreadyHeld,       // the panel holds these settings already (a new password is still written)
};

struct TransferOutcome {
    TransferEnd end = TransferEnd::NotStarted;
    int code = 0;                 // for Error
    bool passwordChanged = false; // download: the panel took the new password
    int blocksDone = 0;           // blocks written or read before the end
    bool linkGone = false;        // the link went away (a peer that closed, a device removed)
    std::string backupPath;       // download: the backup saved before the first block
    std::string message;          // BackupNotSaved: why
    int changes = 0;              // download after a reading: the differences it found
};

// The lines that say why a download that read the panel's settings first
// stopped before writing (BackupReadFailed, BackupCancelled, BackupNotSaved),
// ending in "The Tamberline II Was Not Changed."; empty for any other ending.
std::string BackupStopText(const TransferOutcome& outcome);

// The lines a download that failed part-way adds to its error message (the
// blocks before the failure are new in the panel, the rest old); empty for
// any other ending.
std::string PartlyWrittenText(const TransferOutcome& outcome);

// What a transfer tells its caller while it runs. Every member may be empty.
struct TransferObserver {
    // The blocks are about to go (the window disables its menus here).
    std::function<void()> begin;
    // A caption for the progress display and the blocks done (0..384).
    std::function<void(int done, const std::string& caption)> progress;
    // The transfer has ended, before an aborted upload closes the session and
    // resets the configuration (the window re-enables its menus and reports).
    std::function<void(const TransferOutcome&)> end;
};

// What a download does before its first block: read the panel's settings,
// save them, and show what would change. Any member set makes the download
// read the panel first; the caption of that reading is "Backing Up Block n
// Of 384". Nothing is written when the reading fails, the backup cannot be
// saved, the question is answered No or nothing would change.
struct DownloadSafeguards {
    std::string backupFolder;  // save into this folder, named by BackupFileName (created when missing)
    std::string backupFile;    // or as this file
    // Asked with the changes (names included) when there are some; false
    // stops the download. Empty: not asked.
    std::function<bool(const std::vector<ReportDifference>&)> confirm;

    bool ReadsPanel() const { return !backupFolder.empty() || !backupFile.empty() || bool(confirm); }
};

enum class NamesAnswer { Yes, No, Cancel };

// The two questions before an upload.
struct UploadQuestions {
    std::function<bool()> discardHostChanges;   // "Discard All Host Changes?"
    std::function<NamesAnswer()> includeNames;  // the names question
};

class PanelSession {
public:
    // The exchange's session flag is state.PanelConnected.
    explicit PanelSession(ProgramState& state);
    ~PanelSession();
    PanelSession(const PanelSession&) = delete;
    PanelSession& operator=(const PanelSession&) = delete;

    ProgramState& State() { return state_; }
    PanelExchange& Exchange() { return exchange_; }

    // --- The session ----------------------------------------------------------
    bool PanelConnected() const { return state_.PanelConnected; }
    // The link type of the open session (of the last one when none is open):
    // 0 direct serial, 1 modem, 2 TCP/IP.
    int ConnectionType() const { return connectionType_; }
    // Serial and modem sessions are polled by timer; TCP/IP ones on request.
    bool PolledLink() const { return connectionType_ == ConnectDirectSerial || connectionType_ == ConnectModem; }
    // The 40 characters "05" answered (shorter if the panel sent fewer).
    const std::string& RevisionText() const { return revisionText_; }
    // The first-reading I/O check has run in this session.
    bool IOChecked() const { return ioChecked_; }

    // Opens the link, sets PanelConnected (before the link is opened, as the
    // exchanges of the connect need it) and identifies the panel with "05".
    // On failure everything is released and PanelConnected is false again.
    ConnectResult Connect(const LinkSettings& link, QString* error = nullptr);
    // Ends the session: PanelConnected false at once, then the link closed (a
    // modem hung up first). Called during an exchange, that exchange fails and
    // the link is closed as it ends; called again meanwhile, it does nothing
    // more. Safe to call at any time, also while not connected.
    void Disconnect();
    // The session is open but its link has gone (the TCP/IP peer closed, the
    // serial device went away).
    bool LinkGone() const;

    // --- Status and clock -----------------------------------------------------
    // Reads "01" and hands the texts to show; on the first reading of a
    // session compares the panel's node codes and add-on card with the host
    // configuration and, when they differ, asks adopt(difference): true copies
    // the panel's into NodeIOCount and AddOnModuleType and sets DataChanged.
    // The question is not asked again in the session, whatever the answer.
    StatusResult ReadCVStatus(const std::function<void(const StatusTexts&)>& show,
                              const std::function<bool(const IoDifference&)>& adopt);
    // The "00" command for a moment (seconds are not sent).
    static PanelCommand ClockCommandFor(const QDateTime& moment);
    // Sends the clock command; true when the panel acknowledged it.
    bool SetClock(const QDateTime& moment);

    // --- Password ---------------------------------------------------------------
    PasswordResult CheckPassword(const PasswordDigitsArray& digits);
    // Writes a new password; false when the command failed.
    bool ChangePassword(const PasswordDigitsArray& digits);

    // --- Transfers ----------------------------------------------------------------
    // Set between blocks to stop a transfer (the Cancel button).
    void RequestCancel() { cancelRequested_ = true; }
    bool CancelRequested() const { return cancelRequested_; }

    // The download road: check the password; with safeguards, read the
    // panel's settings, save the backup and ask about the changes; write a
    // new password when asked; then the blocks with the password now in the
    // panel. A refused password or a failed password command sends nothing
    // else. Once observer.begin has run, observer.end runs once at the end.
    TransferOutcome Download(const PasswordDigitsArray& password,
                             const std::optional<PasswordDigitsArray>& newPassword,
                             const TransferObserver& observer, const DownloadSafeguards& safeguards = {});
    // Packs the configuration (with these password digits) into the image and
    // writes blocks 0..383, all-zero blocks as clears, then compares checksums.
    // Every ending leaves the session open and the configuration untouched.
    TransferOutcome DownLoadSettings(const PasswordDigitsArray& password, const TransferObserver& observer);

    // The upload road: the two questions, then UpLoadSettings. "Discard"
    // answered Yes clears DataChanged even if the names question is then
    // cancelled.
    TransferOutcome Upload(const UploadQuestions& questions, const TransferObserver& observer);
    // Reads blocks 0..383 into the image, compares checksums and applies the
    // image to the configuration (names only when uploadNames); DataChanged is
    // set. An error or a cancel closes the session, resets the configuration
    // and sets SettingsFileName to "None".
    TransferOutcome UpLoadSettings(bool uploadNames, const TransferObserver& observer);

    // Reads the panel's settings into copy as an upload reads them (blocks,
    // checksum, captions "Uploading Block n Of 384", the upload's error codes),
    // applied onto the base configuration with every name. The program's
    // configuration, image and DataChanged stay as they are, nothing is
    // written to the panel, and every ending leaves the session open.
    TransferOutcome UploadIntoMemory(const PanelConfig& base, const VantelDevices& baseDevices, PanelCopy& copy,
                                     const TransferObserver& observer);

private:
    bool Send(const PanelCommand& command) { return exchange_.Send(command); }
    // Reads blocks 0..383 into image and compares the panel's checksum:
    // Complete, Cancelled or Error with the upload's code; blocksDone counts
    // the blocks read. Neither begin nor end of the observer is called.
    TransferOutcome ReadPanelMemory(PanelImage& image, const std::string& caption, const TransferObserver& observer);
    // Writes the image of the configuration block by block and compares the
    // checksum (the body of DownLoadSettings, without begin and end).
    TransferOutcome WritePanelMemory(const PasswordDigitsArray& password, const TransferObserver& observer);
    // The end of both: "Verify Checksum", the panel's checksum against sum.
    TransferOutcome VerifyChecksum(std::uint16_t sum, const TransferObserver& observer, TransferOutcome& outcome);
    static TransferOutcome Ended(TransferOutcome& outcome, TransferEnd end, int code);
    // False when a transfer cannot start now: LinkLost without a session,
    // NotStarted while the link is busy.
    bool MayStart(TransferOutcome& outcome) const;
    void LetEventsRun();

    ProgramState& state_;
    PanelExchange exchange_;
    int connectionType_ = ConnectDirectSerial;
    std::string revisionText_;
    bool ioChecked_ = false;
    bool cancelRequested_ = false;
    bool readingStatus_ = false;
};

// The program's session with the panel (the connection window's), or null
// while there is none. Status windows take the exchange from here.
PanelSession* ActiveSession();
void SetActiveSession(PanelSession* session);

}  // namespace t2
