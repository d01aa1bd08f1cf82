// Serves a SimulatedPanel over TCP/IP and over a pseudo-terminal.
//
// In a test, on the test's own event loop:
//     t2::sim::PanelSimulator sim;
//     sim.StartTcp(0);                       // 0: any free port; see TcpPort()
//     sim.Panel().SetRelay(3, true);
//     exchange.OpenTcp("127.0.0.1", sim.TcpPort());
// or on a thread of its own (needed when the test's thread blocks):
//     t2::sim::PanelSimThread sim;
//     sim.StartPty();                        // open sim.PtyPath() as the serial port
// As a program: tamberline-panelsim --help.
#pragma once

#include "SimulatedPanel.h"

#include <QHostAddress>
#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;
class QTcpServer;
class QThread;

namespace t2::sim {

class PanelSimSession;

class PanelSimulator : public QObject {
    Q_OBJECT
public:
    explicit PanelSimulator(QObject* parent = nullptr);
    // Shares a panel with another simulator (or a thread wrapper).
    PanelSimulator(std::shared_ptr<SimulatedPanel> panel, QObject* parent = nullptr);
    ~PanelSimulator() override;

    SimulatedPanel& Panel() { return *panel_; }
    std::shared_ptr<SimulatedPanel> SharedPanel() { return panel_; }

    // A Hayes modem in front of every connection opened after this call.
    void SetModem(bool on) { modem_ = on; }
    bool Modem() const { return modem_; }

    // Listens on address:port (port 0 picks a free one).
    bool StartTcp(quint16 port = 10001, const QHostAddress& address = QHostAddress::LocalHost,
                  QString* error = nullptr);
    quint16 TcpPort() const;
    // Opens a pseudo-terminal; the host opens PtyPath() as its serial port.
    bool StartPty(QString* error = nullptr);
    QString PtyPath() const { return ptyPath_; }
    // Connections the TCP/IP server has accepted so far.
    int TcpConnections() const { return tcpConnections_; }
    // Drops every open TCP/IP connection (the panel's network module restarting).
    void DropTcpConnections();
    void Stop();

    // An in-process conversation: bytes from the host go to the returned
    // session's Feed; what the panel answers goes to writer.
    PanelSimSession* NewSession(std::function<void(const QByteArray&)> writer);

private:
    void ReadPty();
    void WritePty(const QByteArray& bytes);

    std::shared_ptr<SimulatedPanel> panel_;
    bool modem_ = false;
    QTcpServer* server_ = nullptr;
    int tcpConnections_ = 0;
    int ptyMaster_ = -1;
    int ptySlave_ = -1;
    QString ptyPath_;
    QSocketNotifier* ptyNotifier_ = nullptr;
    PanelSimSession* ptySession_ = nullptr;
};

// A PanelSimulator on a thread of its own. The panel's methods are thread-safe;
// start the transports before the first connection.
class PanelSimThread {
public:
    PanelSimThread();
    ~PanelSimThread();
    PanelSimThread(const PanelSimThread&) = delete;
    PanelSimThread& operator=(const PanelSimThread&) = delete;

    SimulatedPanel& Panel() { return *panel_; }
    void SetModem(bool on);
    bool StartTcp(quint16 port = 0, QString* error = nullptr);
    quint16 TcpPort() const;
    bool StartPty(QString* error = nullptr);
    QString PtyPath() const;

private:
    std::shared_ptr<SimulatedPanel> panel_;
    QThread* thread_;
    PanelSimulator* sim_;
};

}  // namespace t2::sim
