// One conversation with the simulated panel over a byte stream (a TCP/IP
// connection, a pseudo-terminal or an in-process link): it cuts the stream
// into frames, hands them to the panel, and sends the replies back, after the
// panel's delay and, when a line speed is set, no sooner than a real serial
// line could have carried the command and the reply. Optionally a Hayes modem
// sits in front ("ATZ", "ATDT", hang-up on "[%%%%%").
#pragma once

#include "SimulatedPanel.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <string>

namespace t2::sim {

class PanelSimSession : public QObject {
    Q_OBJECT
public:
    using Writer = std::function<void(const QByteArray&)>;

    PanelSimSession(SimulatedPanel& panel, Writer writer, bool modem, QObject* parent = nullptr);

    // Bytes that arrived from the host.
    void Feed(const QByteArray& bytes);
    // How the connection is dropped when the panel's faults say so (a TCP/IP
    // socket closed); without one the panel just stays silent.
    void SetCloser(std::function<void()> closer) { closer_ = std::move(closer); }

    bool ModemOnline() const { return online_; }

private:
    using Clock = std::chrono::steady_clock;

    void FeedFrameByte(char c);
    void FeedModemCommandByte(char c);
    void ModemCommand(const std::string& line);
    void FrameComplete();
    void Queue(QByteArray bytes, Clock::time_point at);
    void Pump();

    SimulatedPanel& panel_;
    Writer writer_;
    std::function<void()> closer_;
    bool modem_;
    bool online_ = false;
    std::string atLine_;
    bool inFrame_ = false;
    bool junk_ = false;
    std::string frame_;
    Clock::time_point frameStart_{};
    Clock::time_point lineFreeAt_{};
    struct Pending {
        Clock::time_point at;
        QByteArray bytes;
    };
    std::deque<Pending> queue_;
    QTimer timer_;
};

}  // namespace t2::sim
