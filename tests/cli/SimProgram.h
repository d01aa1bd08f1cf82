// The simulated panel program on a free loopback TCP/IP port, for tests that
// run the command-line tool against it.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// tamberline-panelsim on a free port, stopped (and its memory dumped) at the end.
class SimProgram {
public:
    explicit SimProgram(const QStringList& extra, const QString& dump)
    {
        QStringList args = {"--tcp", "0", "--revision", "CLI PANEL"};
        if (!dump.isEmpty()) args << "--dump" << dump;
        args << extra;
        process_.start(QStringLiteral(T2_PANELSIM), args);
        if (!process_.waitForStarted(10000)) return;
        // "TCP 127.0.0.1:PORT", and "PTY /dev/pts/N" with --pty.
        const int lines = extra.contains("--pty") ? 2 : 1;
        QByteArray text;
        while (text.count('\n') < lines && process_.waitForReadyRead(10000)) text += process_.readAllStandardOutput();
        for (const QByteArray& line : text.split('\n')) {
            if (line.startsWith("TCP ")) address_ = QString::fromLatin1(line.mid(4).trimmed());
            if (line.startsWith("PTY ")) pty_ = QString::fromLocal8Bit(line.mid(4).trimmed());
        }
    }
    ~SimProgram() { Stop(); }
    SimProgram(const SimProgram&) = delete;
    SimProgram& operator=(const SimProgram&) = delete;
    // Stops it (SIGTERM lets it write its dump).
    void Stop()
    {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(10000)) process_.kill();
    }
    const QString& Address() const { return address_; }
    // The pseudo-terminal it serves with --pty.
    const QString& Pty() const { return pty_; }

private:
    QProcess process_;
    QString address_;
    QString pty_;
};
