// The links over which the host reaches the panel: a direct serial line, a
// serial line through a Hayes modem, TCP/IP, and an in-process link for tests.
// The exchange (PanelExchange) talks to all of them through this interface.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

namespace t2 {

class PanelLink : public QObject {
    Q_OBJECT
public:
    enum class Kind { DirectSerial, Modem, TcpIp, InProcess };

    explicit PanelLink(QObject* parent = nullptr) : QObject(parent) {}
    ~PanelLink() override = default;

    virtual Kind LinkKind() const = 0;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;

    // Drops everything received and not yet taken (also what the system holds).
    virtual void DiscardInput() = 0;
    // Sends the bytes as they are; false when the link refused them.
    virtual bool Send(const QByteArray& bytes) = 0;
    // Characters received and not yet taken.
    virtual qint64 Available() = 0;
    // Takes everything received.
    virtual QByteArray TakeAll() = 0;

    // Serial control lines. A link without them (TCP/IP, a pseudo-terminal)
    // returns false and nothing else happens.
    virtual bool SetDataTerminalReady(bool) { return false; }
    virtual bool SetRequestToSend(bool) { return false; }

    bool IsModem() const { return LinkKind() == Kind::Modem; }
    bool IsSerial() const { return LinkKind() == Kind::DirectSerial || LinkKind() == Kind::Modem; }

signals:
    // New characters arrived (or the link closed): a waiting exchange looks again.
    void readyRead();
    void closed();
};

}  // namespace t2
