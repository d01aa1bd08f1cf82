#include "PanelSimSession.h"

#include <algorithm>
#include <cctype>
#include <thread>

namespace t2::sim {

namespace {

constexpr std::size_t MaxFrame = 1024;
constexpr std::size_t MaxAtLine = 80;
const std::string HangUpString = "[%%%%%";

}  // namespace

PanelSimSession::PanelSimSession(SimulatedPanel& panel, Writer writer, bool modem, QObject* parent)
    : QObject(parent), panel_(panel), writer_(std::move(writer)), modem_(modem)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PanelSimSession::Pump);
}

void PanelSimSession::Feed(const QByteArray& bytes)
{
    for (char c : bytes) {
        if (modem_ && !online_) {
            FeedModemCommandByte(c);
        } else {
            FeedFrameByte(c);
        }
    }
}

// --- The modem in front ---------------------------------------------------------

void PanelSimSession::FeedModemCommandByte(char c)
{
    Queue(QByteArray(1, c), Clock::now());  // echo, as a Hayes modem does by default
    if (c == '\r' || c == '\n') {
        std::string line;
        line.swap(atLine_);
        if (!line.empty()) ModemCommand(line);
        return;
    }
    if (atLine_.size() < MaxAtLine) atLine_ += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // "ATZ" takes effect at once: the hang-up sends it without a carriage return.
    if (atLine_.size() >= 3 && atLine_.compare(atLine_.size() - 3, 3, "ATZ") == 0) {
        atLine_.clear();
        ModemCommand("ATZ");
    }
}

void PanelSimSession::ModemCommand(const std::string& line)
{
    const auto at = Clock::now();
    if (line.rfind("ATD", 0) == 0) {
        std::string number = line.substr(3);
        if (!number.empty() && (number[0] == 'T' || number[0] == 'P')) number.erase(0, 1);
        while (!number.empty() && number[0] == ' ') number.erase(0, 1);
        panel_.LogModem("ATDT " + number);
        online_ = true;
        Queue("\r\nCONNECT 9600/ARQ/V32/LAPM\r\n", at + std::chrono::milliseconds(panel_.DialDelayMs()));
        return;
    }
    panel_.LogModem(line);
    if (line.rfind("AT", 0) == 0) {
        Queue("\r\nOK\r\n", at);
    } else {
        Queue("\r\nERROR\r\n", at);
    }
}

// --- Frames -------------------------------------------------------------------------

void PanelSimSession::FeedFrameByte(char c)
{
    if (c == '[') {
        if (inFrame_) panel_.ReportViolation("unfinished frame: " + frame_);
        inFrame_ = true;
        junk_ = false;
        frame_.assign(1, '[');
        frameStart_ = Clock::now();
        return;
    }
    if (!inFrame_) {
        if (!junk_) panel_.ReportViolation(std::string("bytes outside a frame: ") + c);
        junk_ = true;
        return;
    }
    frame_ += c;
    if (modem_ && frame_ == HangUpString) {
        inFrame_ = false;
        frame_.clear();
        online_ = false;
        panel_.LogModem("HANGUP");
        Queue("\r\nNO CARRIER\r\n", Clock::now());
        return;
    }
    if (c == ']') {
        FrameComplete();
        return;
    }
    if (frame_.size() > MaxFrame) {
        panel_.ReportViolation("frame too long");
        inFrame_ = false;
        frame_.clear();
    }
}

void PanelSimSession::FrameComplete()
{
    inFrame_ = false;
    const std::string frame = std::move(frame_);
    frame_.clear();
    const PanelAnswer answer = panel_.HandleFrame(frame);
    if (answer.close) {
        queue_.clear();
        timer_.stop();
        if (closer_) closer_();
        return;
    }
    if (!answer.reply) return;
    const LineOptions line = panel_.Line();
    Clock::time_point at = Clock::now() + std::chrono::milliseconds(answer.delayMs);
    if (line.baud > 0) {
        // The command needs its time on the line, then the reply needs its own.
        const double secondsPerChar = static_cast<double>(line.bitsPerChar) / line.baud;
        auto chars = [&](std::size_t n) {
            return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(n * secondsPerChar));
        };
        const Clock::time_point commandDone = std::max(frameStart_ + chars(frame.size()), lineFreeAt_);
        const Clock::time_point replyStart =
            std::max(commandDone + std::chrono::milliseconds(answer.delayMs), lineFreeAt_);
        at = replyStart + chars(answer.bytes.size());
        lineFreeAt_ = at;
    }
    Queue(QByteArray::fromStdString(answer.bytes), at);
}

// --- Output -----------------------------------------------------------------------

void PanelSimSession::Queue(QByteArray bytes, Clock::time_point at)
{
    if (!queue_.empty()) at = std::max(at, queue_.back().at);  // in order
    queue_.push_back({at, std::move(bytes)});
    Pump();
}

void PanelSimSession::Pump()
{
    using namespace std::chrono;
    while (!queue_.empty()) {
        const Clock::time_point at = queue_.front().at;
        const auto remaining = at - Clock::now();
        if (remaining > 3ms) {
            // Wake a little early and finish the wait precisely.
            timer_.start(static_cast<int>(duration_cast<milliseconds>(remaining).count()) - 2);
            return;
        }
        if (remaining > 0ns) {
            if (remaining > 300us) std::this_thread::sleep_until(at - 200us);
            while (Clock::now() < at) {
            }
        }
        const QByteArray bytes = std::move(queue_.front().bytes);
        queue_.pop_front();
        writer_(bytes);
    }
}

}  // namespace t2::sim
