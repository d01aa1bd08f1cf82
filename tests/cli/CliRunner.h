// Runs the command-line tool as an installer would, and collects what it says.
#pragma once

#include <QProcess>
#include <QStringList>

#include <string>

struct CliResult {
    int code = -1;
    std::string out;
    std::string err;
};

inline CliResult RunCli(const QStringList& args, int timeoutMs = 120000)
{
    QProcess p;
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
