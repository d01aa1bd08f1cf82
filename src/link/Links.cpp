#include "Links.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <mutex>

namespace t2 {

namespace {

std::mutex overridesMutex;
std::map<int, QString>& Overrides()
{
    static std::map<int, QString> map;
    return map;
}

#ifndef _WIN32
// Sort key of a system serial device: family, then number, then name.
std::tuple<int, long, QString> DeviceOrder(const QString& location)
{
    static const QStringList families = {QStringLiteral("/dev/ttyS"), QStringLiteral("/dev/ttyUSB"),
                                         QStringLiteral("/dev/ttyACM")};
    int family = static_cast<int>(families.size());
    long number = 0;
    for (int i = 0; i < families.size(); ++i) {
        const QString& f = families[i];
        if (location.startsWith(f)) {
            bool ok = false;
            const long n = location.mid(f.size()).toLong(&ok);
            if (ok) {
                family = i;
                number = n;
                break;
            }
        }
    }
    return {family, number, location};
}
#endif

}  // namespace

void SetComPortOverride(int comPort, const QString& device)
{
    std::lock_guard lock(overridesMutex);
    if (device.isEmpty()) {
        Overrides().erase(comPort);
    } else {
        Overrides()[comPort] = device;
    }
}

std::array<QString, ComPortCount> ComPortDevices()
{
    std::array<QString, ComPortCount> ports;
#ifdef _WIN32
    // The system's own names: COMn is port n, whether it is there or not.
    for (int n = 1; n <= ComPortCount; ++n) ports[n - 1] = QStringLiteral("COM%1").arg(n);
#else
    std::vector<QString> locations;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) locations.push_back(info.systemLocation());
    std::sort(locations.begin(), locations.end(),
              [](const QString& a, const QString& b) { return DeviceOrder(a) < DeviceOrder(b); });
    locations.erase(std::unique(locations.begin(), locations.end()), locations.end());
    for (std::size_t i = 0; i < ports.size() && i < locations.size(); ++i) ports[i] = locations[i];
#endif
    for (int n = 1; n <= ComPortCount; ++n) {
        const QByteArray env = qgetenv(("T2_COM" + std::to_string(n)).c_str());
        if (!env.isEmpty()) ports[n - 1] = QString::fromLocal8Bit(env);
    }
    std::lock_guard lock(overridesMutex);
    for (const auto& [n, device] : Overrides()) {
        if (n >= 1 && n <= ComPortCount) ports[n - 1] = device;
    }
    return ports;
}

QString ComPortDevice(int comPort)
{
    if (comPort < 1 || comPort > ComPortCount) return {};
    return ComPortDevices()[comPort - 1];
}

std::array<bool, ComPortCount> FindComPorts()
{
    std::array<bool, ComPortCount> available{};
    const auto devices = ComPortDevices();
    for (int i = 0; i < ComPortCount; ++i) {
        if (devices[i].isEmpty()) continue;
        QSerialPort port;
        port.setPortName(devices[i]);
        if (port.open(QIODevice::ReadWrite)) {
            port.close();
            available[i] = true;
        }
    }
    return available;
}

// --- SerialLink -------------------------------------------------------------

SerialLink::SerialLink(Kind kind, QObject* parent) : PanelLink(parent), kind_(kind), port_(new QSerialPort(this))
{
    connect(port_, &QSerialPort::readyRead, this, &PanelLink::readyRead);
    connect(port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        // A port that goes away (an adapter pulled out) ends the link.
        if (e == QSerialPort::ResourceError) {
            if (port_->isOpen()) port_->close();
            emit closed();
            emit readyRead();
        }
    });
}

SerialLink::~SerialLink() = default;

bool SerialLink::PortBusy(const QString& device, int openError)
{
    // The port layer reports a port that is locked or opened exclusively as
    // a permission error; a device this program may read and write was then
    // refused for being in use.
    if (openError != QSerialPort::PermissionError) return false;
    const QFileInfo info(device);
    return info.exists() && info.isReadable() && info.isWritable();
}

bool SerialLink::Open(const QString& device, QString* error)
{
    port_->setPortName(device);
    const bool modem = kind_ == Kind::Modem;
    port_->setBaudRate(modem ? QSerialPort::Baud9600 : QSerialPort::Baud115200);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    // One program at a time on a port: the serial port layer takes a lock
    // file for the device (LCK..name in the system's lock folder) and
    // refuses a port another program holds, before touching the line, so
    // that a transfer in progress there goes on undisturbed.
    if (device.isEmpty() || !port_->open(QIODevice::ReadWrite)) {
        if (error) {
            if (device.isEmpty()) *error = QStringLiteral("no such serial port");
            else if (PortBusy(device, port_->error())) *error = device + QStringLiteral(" is in use by another program");
            else *error = port_->errorString();
        }
        return false;
    }
    // The line calls may be refused (a pseudo-terminal has no control lines);
    // that does not make the port unusable.
    SetRequestToSend(true);
    SetDataTerminalReady(!modem);
    port_->clearError();
    return true;
}

bool SerialLink::IsOpen() const { return port_->isOpen(); }

void SerialLink::Close()
{
    if (port_->isOpen()) {
        SetRequestToSend(false);
        port_->close();
        emit closed();
    }
}

void SerialLink::DiscardInput()
{
    if (!port_->isOpen()) return;
    port_->clear(QSerialPort::Input);
    port_->readAll();
    port_->clearError();
}

bool SerialLink::Send(const QByteArray& bytes)
{
    if (!port_->isOpen()) return false;
    if (port_->write(bytes) != bytes.size()) return false;
    port_->flush();  // hand it to the system now rather than on the next event round
    return true;
}

qint64 SerialLink::Available() { return port_->isOpen() ? port_->bytesAvailable() : 0; }

QByteArray SerialLink::TakeAll() { return port_->isOpen() ? port_->readAll() : QByteArray(); }

bool SerialLink::SetDataTerminalReady(bool on)
{
    if (!port_->isOpen()) return false;
    const bool ok = port_->setDataTerminalReady(on);
    port_->clearError();
    return ok;
}

bool SerialLink::SetRequestToSend(bool on)
{
    if (!port_->isOpen()) return false;
    const bool ok = port_->setRequestToSend(on);
    port_->clearError();
    return ok;
}

qint32 SerialLink::BaudRate() const { return port_->baudRate(); }
QString SerialLink::Device() const { return port_->portName(); }

// --- TcpLink ----------------------------------------------------------------

TcpLink::TcpLink(QObject* parent) : PanelLink(parent), socket_(new QTcpSocket(this))
{
    connect(socket_, &QTcpSocket::readyRead, this, &PanelLink::readyRead);
    connect(socket_, &QTcpSocket::disconnected, this, [this] {
        emit closed();
        emit readyRead();
    });
}

TcpLink::~TcpLink() = default;

bool TcpLink::Open(const QString& host, quint16 port, int waitMs, QString* error)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(socket_, &QTcpSocket::connected, &loop, &QEventLoop::quit);
    connect(socket_, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    socket_->connectToHost(host, port);
    timer.start(waitMs);
    if (socket_->state() != QAbstractSocket::ConnectedState) loop.exec();
    if (socket_->state() == QAbstractSocket::ConnectedState) {
        socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        return true;
    }
    if (error) *error = timer.isActive() ? socket_->errorString() : QStringLiteral("no connection within the wait");
    socket_->abort();
    return false;
}

bool TcpLink::IsOpen() const { return socket_->state() == QAbstractSocket::ConnectedState; }

void TcpLink::Close()
{
    if (socket_->state() != QAbstractSocket::UnconnectedState) {
        socket_->abort();
        emit closed();
    }
}

void TcpLink::DiscardInput()
{
    socket_->readAll();
    if (socket_->state() == QAbstractSocket::ConnectedState) {
        socket_->waitForReadyRead(0);  // also what the system holds but Qt has not read yet
        socket_->readAll();
    }
}

bool TcpLink::Send(const QByteArray& bytes)
{
    if (!IsOpen()) return false;
    if (socket_->write(bytes) != bytes.size()) return false;
    socket_->flush();
    return true;
}

qint64 TcpLink::Available() { return socket_->bytesAvailable(); }

QByteArray TcpLink::TakeAll() { return socket_->readAll(); }

// --- InProcessLink ----------------------------------------------------------

InProcessLink::InProcessLink(QObject* parent) : PanelLink(parent) {}

void InProcessLink::Deliver(const QByteArray& bytes)
{
    QTimer::singleShot(0, this, [this, bytes] {
        if (!open_) return;
        buffer_.append(bytes);
        emit readyRead();
    });
}

void InProcessLink::Close()
{
    if (!open_) return;
    open_ = false;
    buffer_.clear();
    emit closed();
}

bool InProcessLink::Send(const QByteArray& bytes)
{
    if (!open_) return false;
    if (peer_) peer_(bytes);
    return true;
}

QByteArray InProcessLink::TakeAll()
{
    QByteArray all;
    all.swap(buffer_);
    return all;
}

}  // namespace t2
