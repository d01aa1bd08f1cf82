#include "PanelSimulator.h"

#include "PanelSimSession.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <cerrno>
#include <cstring>
#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace t2::sim {

PanelSimulator::PanelSimulator(QObject* parent) : PanelSimulator(std::make_shared<SimulatedPanel>(), parent) {}

PanelSimulator::PanelSimulator(std::shared_ptr<SimulatedPanel> panel, QObject* parent)
    : QObject(parent), panel_(std::move(panel))
{
}

PanelSimulator::~PanelSimulator() { Stop(); }

bool PanelSimulator::StartTcp(quint16 port, const QHostAddress& address, QString* error)
{
    if (!server_) {
        server_ = new QTcpServer(this);
        connect(server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_->nextPendingConnection()) {
                ++tcpConnections_;
                socket->setParent(this);
                socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
                auto* session = new PanelSimSession(
                    *panel_,
                    [socket](const QByteArray& bytes) {
                        socket->write(bytes);
                        socket->flush();
                    },
                    modem_, socket);
                session->SetCloser([socket] { socket->disconnectFromHost(); });
                connect(socket, &QTcpSocket::readyRead, session, [socket, session] { session->Feed(socket->readAll()); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    if (server_->isListening()) server_->close();
    if (!server_->listen(address, port)) {
        if (error) *error = server_->errorString();
        return false;
    }
    return true;
}

void PanelSimulator::DropTcpConnections()
{
    for (QTcpSocket* socket : findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly)) socket->disconnectFromHost();
}

quint16 PanelSimulator::TcpPort() const { return server_ && server_->isListening() ? server_->serverPort() : 0; }

#ifdef _WIN32
// Windows has no pseudo-terminals: the simulated panel serves TCP/IP only there.
bool PanelSimulator::StartPty(QString* error)
{
    if (error) *error = QStringLiteral("pseudo-terminals are not available on Windows; use --tcp");
    return false;
}

void PanelSimulator::ReadPty() {}

void PanelSimulator::WritePty(const QByteArray&) {}
#else
bool PanelSimulator::StartPty(QString* error)
{
    if (ptyMaster_ >= 0) return true;
    auto fail = [&](const char* what) {
        if (error) *error = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
        if (ptyMaster_ >= 0) ::close(ptyMaster_);
        ptyMaster_ = -1;
        return false;
    };
    ptyMaster_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (ptyMaster_ < 0) return fail("posix_openpt");
    if (::grantpt(ptyMaster_) != 0 || ::unlockpt(ptyMaster_) != 0) return fail("grantpt");
    const char* name = ::ptsname(ptyMaster_);
    if (!name) return fail("ptsname");
    ptyPath_ = QString::fromLocal8Bit(name);
    // The panel keeps the far end open itself, so that the line stays up while
    // the host closes and opens it, and makes it a raw line from the start.
    ptySlave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (ptySlave_ < 0) return fail("open");
    termios t{};
    if (::tcgetattr(ptySlave_, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(ptySlave_, TCSANOW, &t);
    }
    ::fcntl(ptyMaster_, F_SETFL, ::fcntl(ptyMaster_, F_GETFL) | O_NONBLOCK);
    ptySession_ = new PanelSimSession(*panel_, [this](const QByteArray& b) { WritePty(b); }, modem_, this);
    ptyNotifier_ = new QSocketNotifier(ptyMaster_, QSocketNotifier::Read, this);
    connect(ptyNotifier_, &QSocketNotifier::activated, this, &PanelSimulator::ReadPty);
    return true;
}

void PanelSimulator::ReadPty()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(ptyMaster_, buffer, sizeof buffer);
        if (n > 0) {
            ptySession_->Feed(QByteArray(buffer, static_cast<qsizetype>(n)));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return;  // EAGAIN: all read
    }
}

void PanelSimulator::WritePty(const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0 && ptyMaster_ >= 0) {
        const ssize_t n = ::write(ptyMaster_, p, static_cast<size_t>(left));
        if (n > 0) {
            p += n;
            left -= n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd pfd{ptyMaster_, POLLOUT, 0};
            ::poll(&pfd, 1, 100);
        } else {
            return;
        }
    }
}
#endif

void PanelSimulator::Stop()
{
    if (server_) server_->close();
    delete ptyNotifier_;
    ptyNotifier_ = nullptr;
    delete ptySession_;
    ptySession_ = nullptr;
#ifndef _WIN32
    if (ptySlave_ >= 0) ::close(ptySlave_);
    if (ptyMaster_ >= 0) ::close(ptyMaster_);
#endif
    ptySlave_ = ptyMaster_ = -1;
}

PanelSimSession* PanelSimulator::NewSession(std::function<void(const QByteArray&)> writer)
{
    return new PanelSimSession(*panel_, std::move(writer), modem_, this);
}

// --- PanelSimThread ---------------------------------------------------------------

PanelSimThread::PanelSimThread()
    : panel_(std::make_shared<SimulatedPanel>()), thread_(new QThread), sim_(new PanelSimulator(panel_))
{
    sim_->moveToThread(thread_);
    thread_->start();
}

PanelSimThread::~PanelSimThread()
{
    QMetaObject::invokeMethod(sim_, [this] { delete sim_; }, Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
    delete thread_;
}

void PanelSimThread::SetModem(bool on)
{
    QMetaObject::invokeMethod(sim_, [this, on] { sim_->SetModem(on); }, Qt::BlockingQueuedConnection);
}

bool PanelSimThread::StartTcp(quint16 port, QString* error)
{
    bool ok = false;
    QMetaObject::invokeMethod(
        sim_, [&] { ok = sim_->StartTcp(port, QHostAddress::LocalHost, error); }, Qt::BlockingQueuedConnection);
    return ok;
}

quint16 PanelSimThread::TcpPort() const
{
    quint16 port = 0;
    QMetaObject::invokeMethod(sim_, [&] { port = sim_->TcpPort(); }, Qt::BlockingQueuedConnection);
    return port;
}

bool PanelSimThread::StartPty(QString* error)
{
    bool ok = false;
    QMetaObject::invokeMethod(sim_, [&] { ok = sim_->StartPty(error); }, Qt::BlockingQueuedConnection);
    return ok;
}

QString PanelSimThread::PtyPath() const
{
    QString path;
    QMetaObject::invokeMethod(sim_, [&] { path = sim_->PtyPath(); }, Qt::BlockingQueuedConnection);
    return path;
}

}  // namespace t2::sim
