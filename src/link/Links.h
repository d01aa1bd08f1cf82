// Opening each kind of link.
#pragma once

#include "PanelLink.h"

#include <QHostAddress>
#include <QString>

#include <array>
#include <map>
#include <memory>

class QSerialPort;
class QTcpSocket;

namespace t2 {

constexpr int ComPortCount = 16;          // COM1..COM16
constexpr quint16 PanelTcpPort = 10001;   // the panel's TCP/IP port
constexpr int TcpConnectWaitMs = 5000;

// The system device behind each of COM1..COM16 (index 0 = COM1), empty where
// there is none. On Windows COMn is the system's own port COMn. On Linux the
// serial devices the system reports are taken in
// a stable order: /dev/ttyS*, then /dev/ttyUSB*, then /dev/ttyACM*, then any
// other, each by number. A port can be pointed elsewhere (a pseudo-terminal in
// a test, an unusual adapter) with the environment variable T2_COMn, for
// example T2_COM3=/dev/pts/7, or in-process with SetComPortOverride.
std::array<QString, ComPortCount> ComPortDevices();
// Sets (or with an empty path removes) the in-process override of COMn (1..16).
void SetComPortOverride(int comPort, const QString& device);
// The device of COMn (1..16), empty when there is none.
QString ComPortDevice(int comPort);
// Which of COM1..COM16 can be opened now (each is opened and closed again).
std::array<bool, ComPortCount> FindComPorts();

// A serial line ("115200,n,8,1" direct or "9600,n,8,1" for a modem).
class SerialLink : public PanelLink {
    Q_OBJECT
public:
    SerialLink(Kind kind, QObject* parent = nullptr);
    ~SerialLink() override;

    // Opens the device with the settings of the link's kind; a port another
    // program holds is refused ("DEVICE is in use by another program"). A line whose
    // control lines cannot be set (a pseudo-terminal) still opens: a port that
    // opens is a link. Direct: RTS on, DTR on. Modem: RTS on, DTR off (the
    // dialler raises DTR after a second).
    bool Open(const QString& device, QString* error);

    Kind LinkKind() const override { return kind_; }
    bool IsOpen() const override;
    void Close() override;
    void DiscardInput() override;
    bool Send(const QByteArray& bytes) override;
    qint64 Available() override;
    QByteArray TakeAll() override;
    bool SetDataTerminalReady(bool on) override;
    bool SetRequestToSend(bool on) override;

    qint32 BaudRate() const;
    QString Device() const;

    // A port that failed to open with this error (a QSerialPort::SerialPortError)
    // is in use by another program.
    static bool PortBusy(const QString& device, int openError);

private:
    Kind kind_;
    QSerialPort* port_;
};

// TCP/IP to the panel.
class TcpLink : public PanelLink {
    Q_OBJECT
public:
    explicit TcpLink(QObject* parent = nullptr);
    ~TcpLink() override;

    // Connects to host:port, letting events run while it waits, and gives up
    // after waitMs. The local port is chosen by the system.
    bool Open(const QString& host, quint16 port, int waitMs, QString* error);

    Kind LinkKind() const override { return Kind::TcpIp; }
    bool IsOpen() const override;
    void Close() override;
    void DiscardInput() override;
    bool Send(const QByteArray& bytes) override;
    qint64 Available() override;
    QByteArray TakeAll() override;

private:
    QTcpSocket* socket_;
};

// An in-process link for tests: what the host sends goes to a function (for
// example a simulated panel's input); what the other side delivers arrives on
// the next turn of the event loop, as from a real line.
class InProcessLink : public PanelLink {
    Q_OBJECT
public:
    explicit InProcessLink(QObject* parent = nullptr);

    void SetPeer(std::function<void(const QByteArray&)> peer) { peer_ = std::move(peer); }
    // The other side sends bytes to the host.
    void Deliver(const QByteArray& bytes);
    // Pretends to be a link of another kind (Modem makes the exchange triple its time-outs).
    void SetKind(Kind kind) { kind_ = kind; }

    Kind LinkKind() const override { return kind_; }
    bool IsOpen() const override { return open_; }
    void Close() override;
    void DiscardInput() override { buffer_.clear(); }
    bool Send(const QByteArray& bytes) override;
    qint64 Available() override { return buffer_.size(); }
    QByteArray TakeAll() override;

private:
    Kind kind_ = Kind::InProcess;
    bool open_ = true;
    QByteArray buffer_;
    std::function<void(const QByteArray&)> peer_;
};

}  // namespace t2
