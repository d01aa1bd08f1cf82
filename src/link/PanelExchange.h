// The exchange with the panel: one command out, one reply back, checked by its
// checksum, at most three attempts. The program keeps one PanelExchange for the
// whole run (the main window owns it); it owns the open link, PanelReply, the
// status text callback and the wire trace.
//
//     t2::PanelExchange exchange;
//     exchange.BindPanelConnected(program.PanelConnected);
//     exchange.SetStatusCallback([&](const QString& t) { statusBar->setText(t); });
//     program.PanelConnected = true;
//     exchange.OpenTcp("192.168.1.50");                // or OpenDirectSerial(CommPort), OpenModem(...)
//     if (exchange.Send(t2::RevisionCommand())) revision = t2::RevisionFromReply(exchange.PanelReply());
//
// One owner of the link runs every exchange in turn. While an exchange waits,
// events keep running (a local event loop woken by the link and a timer), on
// every link, so the window stays responsive and a click or a timer tick may
// come in the middle of an exchange. Such a handler never starts a second
// exchange:
//  - Busy() is true while an exchange waits, while a Turn is held (several
//    exchanges that belong together: a transfer, the status reading with its
//    I/O question, a preset capture) and while the link is being closed;
//  - WhenIdle(action) runs a user action that needs the panel at once when
//    the link is free and otherwise queues it. The queue runs in order, one
//    action at a time, from the event loop as soon as the link is free again;
//    nothing queued is dropped (an action whose context object is gone is
//    skipped). Periodic poll ticks do not queue: they skip while Busy();
//  - a command asked for from inside a wait anyway is refused (it sends
//    nothing and returns false); this only guards, no caller relies on it;
//  - CloseLink is idempotent. During an exchange it makes that exchange fail
//    at once and closes the link, with the modem hang-up, as the exchange
//    ends; while a close is under way a further CloseLink does nothing.
//
//     exchange.WhenIdle([this] { if (connected) session.SetClock(now); }, this);
//     { t2::PanelExchange::Turn turn(exchange); /* exchanges that belong together */ }
//
// A reply counts only when it has exactly the length its command expects and
// its checksum holds; what arrives after a time-out is discarded before the
// next attempt, so a late reply is never read as the answer to a later command.
#pragma once

#include "Commands.h"
#include "PanelLink.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace t2 {

// One line of the wire trace.
struct TraceEntry {
    enum class Direction { Sent, Received, Discarded, Line, Note };
    qint64 msecsSinceEpoch = 0;
    Direction direction = Direction::Note;
    std::string text;
};
const char* TraceDirectionName(TraceEntry::Direction d);

// How far a modem dial or hang-up has come, for the connection window's banner.
enum class ModemStage { Resetting, Connecting, Connected, Disconnecting, Done };

class PanelExchange : public QObject {
    Q_OBJECT
public:
    explicit PanelExchange(QObject* parent = nullptr);
    ~PanelExchange() override;

    // --- The session flag ---------------------------------------------------
    // Nothing is sent while it is false. By default the exchange keeps its own
    // flag; the application binds ProgramState::PanelConnected.
    void BindPanelConnected(bool& flag) { connected_ = &flag; }
    bool PanelConnected() const { return *connected_; }
    void SetPanelConnected(bool on) { *connected_ = on; }

    // --- The link -----------------------------------------------------------
    // Opens COMn (1..16, see ComPortDevice) at 115200,n,8,1 with RTS and DTR on.
    bool OpenDirectSerial(int comPort, QString* error = nullptr);
    bool OpenDirectSerialDevice(const QString& device, QString* error = nullptr);
    // Opens COMn at 9600,n,8,1 and dials: DTR low one second, "ATZ" CR (20
    // characters, 5 s, not checked), "ATDT " + number + CR (30 characters
    // within 40 s, else a failure). The stage callback drives the banner.
    bool OpenModem(int comPort, const std::string& phoneNumber, QString* error = nullptr);
    bool OpenModemDevice(const QString& device, const std::string& phoneNumber, QString* error = nullptr);
    // Connects to host:port within waitMs (the panel listens on 10001).
    bool OpenTcp(const QString& host, quint16 port = 10001, int waitMs = 5000, QString* error = nullptr);
    // Takes over a link opened elsewhere (an InProcessLink in a test).
    void AdoptLink(std::unique_ptr<PanelLink> link);
    // Closes the link: a modem that dialled is hung up first ("[%%%%%", "ATZ",
    // DTR low one second), then RTS off and the port or socket closed. During
    // a wait the waiting exchange fails at once and the link is closed as it
    // ends; during a close it does nothing (the link is closed once).
    void CloseLink();
    PanelLink* Link() const { return link_.data(); }
    bool ModemConnected() const { return modemConnected_; }

    // --- The exchange -------------------------------------------------------
    // One command, at most three attempts; true when a reply of exactly
    // expectedLength characters with a correct checksum arrived in time (it is
    // then in PanelReply, which keeps the last such reply otherwise). False
    // without sending when not connected or asked for from inside a wait.
    bool SendPanelCommand(const std::string& command, int expectedLength, int timeoutSeconds);
    bool Send(const PanelCommand& command) { return SendPanelCommand(command.text, command.replyLength, command.timeoutSeconds); }
    // Unframed text on the serial line; true when expectedLength characters
    // arrived in time. No retry; the text received is left in PanelReply.
    bool SendModemString(const std::string& text, int expectedLength, int timeoutSeconds);
    const std::string& PanelReply() const { return reply_; }
    int PanelReplyLength() const { return static_cast<int>(reply_.size()); }
    // An exchange waits, a Turn is held or the link is being closed.
    bool Busy() const { return exchanging_ || turns_ > 0 || Closing(); }
    // A close (with its hang-up) is asked for or under way.
    bool Closing() const { return closing_ || closeRequested_; }
    // The link is open (false after the peer closed it or the device went away).
    bool LinkUp() const { return link_ && link_->IsOpen(); }

    // Several exchanges that belong together: queued actions wait until the
    // last Turn is released.
    class Turn {
    public:
        explicit Turn(PanelExchange& exchange) : exchange_(exchange) { ++exchange_.turns_; }
        ~Turn() { exchange_.EndTurn(); }
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

    private:
        PanelExchange& exchange_;
    };

    // Runs action now when the link is free, else as soon as it is (in the
    // order asked). With a context, an action whose context is gone by then
    // is skipped.
    void WhenIdle(std::function<void()> action, QObject* context = nullptr);
    // Actions waiting for the link.
    int QueuedActions() const { return static_cast<int>(queue_.size()); }
    // Lets pending events run once, as a wait does (a transfer between blocks).
    void LetEventsRun();

    // "Error - Retry: " + attempt and "Connected", for the status bar.
    void SetStatusCallback(std::function<void(const QString&)> callback) { status_ = std::move(callback); }
    void SetModemStageCallback(std::function<void(ModemStage)> callback) { stage_ = std::move(callback); }

    // --- The wire trace (off by default) ------------------------------------
    void SetTraceEnabled(bool on) { traceOn_ = on; }
    bool TraceEnabled() const { return traceOn_; }
    // Called for every entry while the trace is on (for example to append to a file).
    void SetTraceSink(std::function<void(const TraceEntry&)> sink) { traceSink_ = std::move(sink); }
    // The last entries kept in memory (at most 10000).
    const std::vector<TraceEntry>& Trace() const { return trace_; }
    void ClearTrace() { trace_.clear(); }

    // Length of one time-out second in milliseconds (1000). Tests shorten it.
    void SetMillisecondsPerSecond(int ms) { msPerSecond_ = ms > 0 ? ms : 1000; }
    int MillisecondsPerSecond() const { return msPerSecond_; }

    // Attempts of the last SendPanelCommand (1..3; 0 when nothing was sent).
    int LastAttempts() const { return lastAttempts_; }

signals:
    // The open link went away by itself (the TCP/IP peer closed, the serial
    // device was removed), possibly while no exchange was in progress.
    void linkGone();

private:
    struct Deferred {
        std::function<void()> action;
        QPointer<QObject> context;
        bool hasContext = false;
    };

    // Called from inside a wait of this exchange (an event handler).
    bool Nested() const { return exchanging_ || closing_ || lettingEventsRun_; }
    void Take(PanelLink* link);
    bool SendFrameLocked(const std::string& frame, int expectedLength, int timeoutMs);
    bool SendModemStringLocked(const std::string& text, int expectedLength, int timeoutMs);
    // Waits, letting events run, until count characters are there, the time
    // is up, the link went away or a close was asked for; true when the
    // characters arrived in time.
    bool WaitForCharacters(int count, int timeoutMs, QElapsedTimer& stopwatch);
    void Pause(int ms);
    // Runs the local event loop until loop is quit (by the caller's signals,
    // a time-out or a close asked for meanwhile).
    void RunLoop(QEventLoop& loop);
    // The end of a wait: a close asked for meanwhile happens now.
    void EndWait();
    void CloseNow();
    void EndTurn();
    // The link is free: the queue runs from the event loop.
    void ScheduleQueue();
    void RunQueue();
    void Discard();
    bool Write(const std::string& bytes);
    void SetLine(const char* line, bool on);
    bool Dial(const std::string& phoneNumber, QString* error);
    void HangUp();
    void Note(TraceEntry::Direction d, std::string text);
    void Status(const QString& text);
    void Stage(ModemStage s);

    bool ownConnected_ = false;
    bool* connected_ = &ownConnected_;
    QPointer<PanelLink> link_;
    bool exchanging_ = false;       // an exchange, a dial or a connect wait is in progress
    bool lettingEventsRun_ = false;
    bool closing_ = false;          // the hang-up and close run now
    bool closeRequested_ = false;   // to close as the exchange in progress ends
    int turns_ = 0;
    QEventLoop* loop_ = nullptr;    // the wait in progress
    std::deque<Deferred> queue_;
    bool queueScheduled_ = false;
    bool runningQueue_ = false;
    bool modemConnected_ = false;
    std::string reply_;
    int lastAttempts_ = 0;
    int msPerSecond_ = 1000;
    std::function<void(const QString&)> status_;
    std::function<void(ModemStage)> stage_;
    bool traceOn_ = false;
    std::function<void(const TraceEntry&)> traceSink_;
    std::vector<TraceEntry> trace_;
};

}  // namespace t2
