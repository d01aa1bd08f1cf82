// Runs the command-line tool as an installer would, and collects what it says.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <string>

struct CliResult {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs in workingDir when one is given.
inline CliResult RunCli(const QStringList& args, int timeoutMs = 120000, const QString& workingDir = {})
{
    QProcess p;
    if (!workingDir.isEmpty()) p.setWorkingDirectory(workingDir);
    p.start(QStringLiteral(T2_CLI), args);
    CliResult r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = "timed out";
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

// A whole file's bytes; empty when it cannot be read.
inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

inline std::string ReadFile(const QString& path) { return ReadAll(path).toStdString(); }
