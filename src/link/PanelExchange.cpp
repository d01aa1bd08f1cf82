#include "PanelExchange.h"

#include "Frame.h"
#include "Links.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QScopedValueRollback>
#include <QTimer>

namespace t2 {

const char* TraceDirectionName(TraceEntry::Direction d)
{
    switch (d) {
    case TraceEntry::Direction::Sent: return "sent";
    case TraceEntry::Direction::Received: return "received";
    case TraceEntry::Direction::Discarded: return "discarded";
    case TraceEntry::Direction::Line: return "line";
    case TraceEntry::Direction::Note: return "note";
    }
    return "note";
}

namespace {

constexpr int MaxAttempts = 3;
constexpr std::size_t MaxTraceEntries = 10000;

}  // namespace

PanelExchange::PanelExchange(QObject* parent) : QObject(parent) {}

PanelExchange::~PanelExchange()
{
    if (link_) {
        link_->Close();
        delete link_.data();
    }
}

// --- Opening and closing ------------------------------------------------------

bool PanelExchange::OpenDirectSerial(int comPort, QString* error)
{
    return OpenDirectSerialDevice(ComPortDevice(comPort), error);
}

bool PanelExchange::OpenDirectSerialDevice(const QString& device, QString* error)
{
    if (Nested()) return false;
    CloseLink();
    auto link = std::make_unique<SerialLink>(PanelLink::Kind::DirectSerial);
    Note(TraceEntry::Direction::Note, "open serial " + device.toStdString() + " 115200,n,8,1");
    if (!link->Open(device, error)) return false;
    Take(link.release());
    return true;
}

bool PanelExchange::OpenModem(int comPort, const std::string& phoneNumber, QString* error)
{
    return OpenModemDevice(ComPortDevice(comPort), phoneNumber, error);
}

bool PanelExchange::OpenModemDevice(const QString& device, const std::string& phoneNumber, QString* error)
{
    if (Nested()) return false;
    CloseLink();
    Stage(ModemStage::Resetting);
    auto link = std::make_unique<SerialLink>(PanelLink::Kind::Modem);
    Note(TraceEntry::Direction::Note, "open modem " + device.toStdString() + " 9600,n,8,1");
    if (!link->Open(device, error)) return false;
    Take(link.release());
    SetLine("RTS", true);
    SetLine("DTR", false);
    bool dialled = false;
    {
        const QScopedValueRollback<bool> guard(exchanging_, true);
        dialled = Dial(phoneNumber, error);
    }
    EndWait();  // a close asked for during the dial happens here
    if (!dialled || !link_) {
        CloseLink();
        return false;
    }
    return true;
}

bool PanelExchange::Dial(const std::string& phoneNumber, QString* error)
{
    Pause(1000);
    SetLine("DTR", true);
    SendModemStringLocked("ATZ\r", 20, 5 * msPerSecond_);  // the answer is not examined
    Stage(ModemStage::Connecting);
    if (!closeRequested_ && !SendModemStringLocked("ATDT " + phoneNumber + "\r", 30, 40 * msPerSecond_)) {
        if (error) *error = QStringLiteral("the modem did not connect");
        return false;
    }
    if (closeRequested_) return false;
    modemConnected_ = true;
    Stage(ModemStage::Connected);
    Pause(3000);
    Stage(ModemStage::Done);
    return !closeRequested_;
}

void PanelExchange::HangUp()
{
    Stage(ModemStage::Disconnecting);
    SendModemStringLocked("[%%%%%", 50, 3 * msPerSecond_);
    SendModemStringLocked("ATZ", 50, 3 * msPerSecond_);
    SetLine("DTR", false);
    Pause(1000);
    SetLine("DTR", true);
    modemConnected_ = false;
    Stage(ModemStage::Done);
}

bool PanelExchange::OpenTcp(const QString& host, quint16 port, int waitMs, QString* error)
{
    if (Nested()) return false;
    CloseLink();
    auto link = std::make_unique<TcpLink>();
    Note(TraceEntry::Direction::Note, "connect " + host.toStdString() + ":" + std::to_string(port));
    bool ok = false;
    {
        const QScopedValueRollback<bool> guard(exchanging_, true);  // events run during the connect wait
        ok = link->Open(host, port, waitMs, error);
    }
    if (closeRequested_ && ok) {
        // Given up during the wait: the new connection goes at once.
        link->Close();
        ok = false;
    }
    EndWait();
    if (!ok) return false;
    Take(link.release());
    return true;
}

void PanelExchange::AdoptLink(std::unique_ptr<PanelLink> link)
{
    if (Nested()) return;
    CloseLink();
    Take(link.release());
}

void PanelExchange::Take(PanelLink* link)
{
    link_ = link;
    if (!link) return;
    link->setParent(this);
    const QPointer<PanelLink> watched = link;
    connect(link, &PanelLink::closed, this, [this, watched] {
        // Gone by itself (our own close forgets the link first).
        if (watched && watched == link_ && !closing_) emit linkGone();
    });
}

void PanelExchange::CloseLink()
{
    if (closing_) return;  // under way: the link is closed once
    if (exchanging_ || lettingEventsRun_) {
        // An event handler inside a wait: the exchange ends (it fails) and
        // the link is closed, with the hang-up, as it does.
        closeRequested_ = true;
        if (loop_) loop_->quit();
        return;
    }
    CloseNow();
}

void PanelExchange::CloseNow()
{
    closeRequested_ = false;
    if (link_) {
        const QScopedValueRollback<bool> guard(closing_, true);
        if ((link_->IsModem() || modemConnected_) && link_->IsOpen()) HangUp();
        modemConnected_ = false;
        PanelLink* link = link_.data();
        link_ = nullptr;
        if (link) {
            Note(TraceEntry::Direction::Note, "close");
            link->Close();
            link->deleteLater();
        }
    }
    ScheduleQueue();
}

void PanelExchange::EndWait()
{
    if (closeRequested_) {
        CloseNow();
        return;
    }
    ScheduleQueue();
}

// --- One owner: the queue of actions --------------------------------------------

void PanelExchange::EndTurn()
{
    --turns_;
    ScheduleQueue();
}

void PanelExchange::WhenIdle(std::function<void()> action, QObject* context)
{
    if (!action) return;
    queue_.push_back({std::move(action), context, context != nullptr});
    // Free now: what waited goes first, then this one. Inside an action of
    // the queue, the queue goes on with it once that action returns.
    if (!Busy() && !runningQueue_) {
        RunQueue();
    } else {
        ScheduleQueue();
    }
}

void PanelExchange::ScheduleQueue()
{
    if (queue_.empty() || Busy() || queueScheduled_) return;
    queueScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        queueScheduled_ = false;
        RunQueue();
    });
}

void PanelExchange::RunQueue()
{
    // An action may let events run (a question, its own exchanges); a run
    // started meanwhile leaves the rest to this one.
    if (runningQueue_) return;
    const QScopedValueRollback<bool> guard(runningQueue_, true);
    while (!queue_.empty() && !Busy()) {
        Deferred next = std::move(queue_.front());
        queue_.pop_front();
        if (next.hasContext && !next.context) continue;
        next.action();
    }
}

void PanelExchange::LetEventsRun()
{
    {
        const QScopedValueRollback<bool> guard(lettingEventsRun_, true);
        if (QCoreApplication::instance()) QCoreApplication::processEvents();
    }
    EndWait();
}

// --- The exchange -------------------------------------------------------------

bool PanelExchange::SendPanelCommand(const std::string& command, int expectedLength, int timeoutSeconds)
{
    lastAttempts_ = 0;
    if (!PanelConnected()) return false;
    if (Nested() || closeRequested_) {
        Note(TraceEntry::Direction::Note, "refused inside a wait: " + command);
        return false;
    }
    if (!LinkUp()) return false;
    int timeoutMs = timeoutSeconds * msPerSecond_;
    if (link_->IsModem()) timeoutMs *= 3;
    bool ok = false;
    {
        const QScopedValueRollback<bool> guard(exchanging_, true);
        ok = SendFrameLocked(FrameCommand(command), expectedLength, timeoutMs);
    }
    EndWait();
    return ok;
}

bool PanelExchange::SendFrameLocked(const std::string& frame, int expectedLength, int timeoutMs)
{
    Discard();
    for (int attempts = 0;;) {
        if (!LinkUp() || closeRequested_ || !PanelConnected()) return false;
        // Whatever came after the last time-out (a late reply) goes here.
        Discard();
        ++lastAttempts_;
        Write(frame);
        QElapsedTimer stopwatch;
        stopwatch.start();
        if (WaitForCharacters(expectedLength, timeoutMs, stopwatch) && link_) {
            const QByteArray bytes = link_->TakeAll();
            std::string reply(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            Note(TraceEntry::Direction::Received, reply);
            // Only a reply of this command's length counts: a late reply of
            // another command, alone or run together with this one's, does not.
            if (static_cast<int>(reply.size()) != expectedLength) {
                Note(TraceEntry::Direction::Note, "wrong length: " + std::to_string(reply.size()) + " of " +
                                                      std::to_string(expectedLength));
            } else if (!ReplyChecksumOk(reply)) {
                Note(TraceEntry::Direction::Note, "bad checksum");
            } else {
                reply_ = std::move(reply);
                Status(QStringLiteral("Connected"));
                return true;
            }
        } else {
            Note(TraceEntry::Direction::Note, "no reply in time");
        }
        // No retry over a link that is gone or a session that is closing.
        if (!LinkUp() || closeRequested_ || !PanelConnected()) return false;
        ++attempts;
        if (attempts >= MaxAttempts) return false;
        Status(QStringLiteral("Error - Retry: ") + QString::number(attempts));
    }
}

bool PanelExchange::SendModemString(const std::string& text, int expectedLength, int timeoutSeconds)
{
    if (!PanelConnected()) return false;
    if (Nested() || closeRequested_) {
        Note(TraceEntry::Direction::Note, "refused inside a wait");
        return false;
    }
    if (!LinkUp()) return false;
    bool ok = false;
    {
        const QScopedValueRollback<bool> guard(exchanging_, true);
        ok = SendModemStringLocked(text, expectedLength, timeoutSeconds * msPerSecond_);
    }
    EndWait();
    return ok;
}

bool PanelExchange::SendModemStringLocked(const std::string& text, int expectedLength, int timeoutMs)
{
    if (!LinkUp()) return false;
    Discard();
    Write(text);
    QElapsedTimer stopwatch;
    stopwatch.start();
    const bool arrived = WaitForCharacters(expectedLength, timeoutMs, stopwatch);
    if (link_) {
        const QByteArray bytes = link_->TakeAll();
        reply_.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        Note(TraceEntry::Direction::Received, reply_);
    }
    return arrived;
}

bool PanelExchange::WaitForCharacters(int count, int timeoutMs, QElapsedTimer& stopwatch)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const QPointer<PanelLink> link = link_;
    if (!link) return false;
    connect(link.data(), &PanelLink::readyRead, &loop, &QEventLoop::quit);
    connect(link.data(), &PanelLink::closed, &loop, &QEventLoop::quit);
    connect(link.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    for (;;) {
        if (closeRequested_) return false;                // the session is being closed
        if (!link || link != link_) return false;         // closed or replaced meanwhile
        const qint64 elapsed = stopwatch.elapsed();
        if (link->Available() >= count) return elapsed <= timeoutMs;
        if (elapsed >= timeoutMs || !link->IsOpen()) return false;
        timer.start(static_cast<int>(timeoutMs - elapsed) + 1);
        RunLoop(loop);
    }
}

void PanelExchange::RunLoop(QEventLoop& loop)
{
    const QScopedValueRollback<QEventLoop*> current(loop_, &loop);
    loop.exec();
}

void PanelExchange::Pause(int ms)
{
    if (closeRequested_) return;
    const int scaled = static_cast<int>(static_cast<long long>(ms) * msPerSecond_ / 1000);
    QEventLoop loop;
    QTimer::singleShot(scaled, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    RunLoop(loop);
}

void PanelExchange::Discard()
{
    if (!link_) return;
    // The host empties its input four times in a row before a command; one
    // look at what is there and then a flush of the line does the same.
    const QByteArray stale = link_->TakeAll();
    link_->DiscardInput();
    if (!stale.isEmpty()) Note(TraceEntry::Direction::Discarded, stale.toStdString());
}

bool PanelExchange::Write(const std::string& bytes)
{
    Note(TraceEntry::Direction::Sent, bytes);
    return link_ && link_->Send(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void PanelExchange::SetLine(const char* line, bool on)
{
    if (!link_) return;
    const bool dtr = std::string(line) == "DTR";
    const bool ok = dtr ? link_->SetDataTerminalReady(on) : link_->SetRequestToSend(on);
    Note(TraceEntry::Direction::Line, std::string(line) + (on ? " on" : " off") + (ok ? "" : " (refused by the line)"));
}

void PanelExchange::Note(TraceEntry::Direction d, std::string text)
{
    if (!traceOn_) return;
    TraceEntry e{QDateTime::currentMSecsSinceEpoch(), d, std::move(text)};
    if (traceSink_) traceSink_(e);
    if (trace_.size() >= MaxTraceEntries) trace_.erase(trace_.begin(), trace_.begin() + MaxTraceEntries / 2);
    trace_.push_back(std::move(e));
}

void PanelExchange::Status(const QString& text)
{
    if (status_) status_(text);
}

void PanelExchange::Stage(ModemStage s)
{
    if (stage_) stage_(s);
}

}  // namespace t2
