// tamberline-panelsim: a simulated Tamberline II panel for trying the host
// without hardware. Prints "TCP address:port" and/or "PTY /dev/pts/N" (open
// that as the serial port, e.g. T2_COM1=/dev/pts/N) and runs until stopped.
#include "PanelSimControl.h"
#include "PanelSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#ifdef _WIN32
#include <thread>
#include <windows.h>
#else
#include <unistd.h>
#endif

using namespace t2::sim;

namespace {

#ifdef _WIN32
// Ctrl+C, Ctrl+Break and the console closing end the event loop; the system
// calls the handler on a thread of its own.
BOOL WINAPI OnConsoleEvent(DWORD)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
    return TRUE;
}

void QuitOnSignals(QCoreApplication&) { ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

// Standard input is no socket here: a thread reads its lines and hands each
// to the event loop.
void ReadControlLines(QCoreApplication& app, std::function<void(const std::string&)> onLine)
{
    std::thread([&app, onLine = std::move(onLine)] {
        char buffer[256];
        std::string pending;
        while (std::fgets(buffer, sizeof buffer, stdin)) {
            pending += buffer;
            for (std::size_t eol; (eol = pending.find('\n')) != std::string::npos;) {
                std::string line = pending.substr(0, eol);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                pending.erase(0, eol + 1);
                QMetaObject::invokeMethod(&app, [onLine, line] { onLine(line); }, Qt::QueuedConnection);
            }
        }
        // End of input: keep serving.
    }).detach();
}
#else
int signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

void QuitOnSignals(QCoreApplication& app)
{
    if (::pipe(signalPipe) == 0) {
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    }
}

void ReadControlLines(QCoreApplication& app, std::function<void(const std::string&)> onLine)
{
    auto* input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(input, &QSocketNotifier::activated, [input, onLine = std::move(onLine)] {
        static std::string pending;
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input->setEnabled(false);  // end of input: keep serving
            return;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t eol; (eol = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, eol);
            pending.erase(0, eol + 1);
            onLine(line);
        }
    });
}
#endif

bool ParsePair(const QString& text, int& key, QStringList& values)
{
    const int eq = text.indexOf('=');
    if (eq < 0) return false;
    bool ok = false;
    key = text.left(eq).toInt(&ok);
    values = text.mid(eq + 1).split(',');
    return ok;
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "tamberline-panelsim: %s\n", qPrintable(message));
    return 64;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tamberline-panelsim"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "A simulated Tamberline II panel. Without --tcp or --pty it listens on 127.0.0.1:10001.\n"
        "Relays, groups, presets, inputs and timers are numbered 0..47, devices 0..32."));
    p.addHelpOption();
    const QCommandLineOption tcp(QStringLiteral("tcp"), QStringLiteral("Listen on PORT (0: any free port)."), QStringLiteral("PORT"));
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Listen address (127.0.0.1)."), QStringLiteral("ADDRESS"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption pty(QStringLiteral("pty"), QStringLiteral("Serve a pseudo-terminal."));
    const QCommandLineOption modem(QStringLiteral("modem"), QStringLiteral("Put a Hayes modem in front."));
    const QCommandLineOption memory(QStringLiteral("memory"), QStringLiteral("Load the memory from a 24576-byte file."), QStringLiteral("FILE"));
    const QCommandLineOption dump(QStringLiteral("dump"), QStringLiteral("Write the memory to FILE when stopped."), QStringLiteral("FILE"));
    const QCommandLineOption drop(QStringLiteral("drop-every"), QStringLiteral("Lose every Nth command."), QStringLiteral("N"));
    const QCommandLineOption corrupt(QStringLiteral("corrupt-every"), QStringLiteral("Corrupt every Nth reply's checksum."), QStringLiteral("N"));
    const QCommandLineOption delay(QStringLiteral("delay"), QStringLiteral("Delay every reply by MS."), QStringLiteral("MS"));
    const QCommandLineOption stopAfter(QStringLiteral("stop-after"), QStringLiteral("Answer nothing after N commands."), QStringLiteral("N"));
    const QCommandLineOption late(QStringLiteral("late"), QStringLiteral("Answer MS later still: every command, or only the first N."), QStringLiteral("MS[,N]"));
    const QCommandLineOption closeAfter(QStringLiteral("close-after"), QStringLiteral("Drop the TCP/IP connection after N commands."), QStringLiteral("N"));
    const QCommandLineOption wrongSum(QStringLiteral("wrong-checksum"), QStringLiteral("Answer the checksum command wrongly."));
    const QCommandLineOption waitDelay(QStringLiteral("wait-delay"), QStringLiteral("Answer \"02\" after MS."), QStringLiteral("MS"));
    const QCommandLineOption dialDelay(QStringLiteral("dial-delay"), QStringLiteral("The modem connects after MS."), QStringLiteral("MS"));
    const QCommandLineOption baud(QStringLiteral("baud"), QStringLiteral("Emulate a serial line of N baud."), QStringLiteral("N"));
    const QCommandLineOption bits(QStringLiteral("bits"), QStringLiteral("Bits per character on that line (10)."), QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption relay(QStringLiteral("relay"), QStringLiteral("Relay N on (1) or off (0)."), QStringLiteral("N=0|1"));
    const QCommandLineOption input(QStringLiteral("input"), QStringLiteral("Input N state 0..3."), QStringLiteral("N=V"));
    const QCommandLineOption device(QStringLiteral("device"), QStringLiteral("Network device D: input bits, responding, light level."), QStringLiteral("D=IN,RESP,LEVEL"));
    const QCommandLineOption revision(QStringLiteral("revision"), QStringLiteral("The 40-character revision text."), QStringLiteral("TEXT"));
    const QCommandLineOption io(QStringLiteral("io"), QStringLiteral("Installed inputs/relays reported by \"01\"."), QStringLiteral("N"));
    const QCommandLineOption addon(QStringLiteral("addon"), QStringLiteral("Add-on card type and revision."), QStringLiteral("TYPE[,REV]"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("The six password digits."), QStringLiteral("DIGITS"));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Start with relays, groups, presets, inputs, devices and a display in use."));
    const QCommandLineOption animate(QStringLiteral("animate"), QStringLiteral("Change relay, input, device and lamp states every second."));
    const QCommandLineOption control(QStringLiteral("control"), QStringLiteral("Read state commands from stdin (\"help\" lists them)."));
    const QCommandLineOption verbose(QStringLiteral("verbose"), QStringLiteral("Report the violations on stderr when stopped."));
    p.addOptions({tcp, host, pty, modem, memory, dump, drop, corrupt, delay, late, closeAfter, stopAfter, wrongSum, waitDelay, dialDelay,
                  baud, bits, relay, input, device, revision, io, addon, password, demo, animate, control, verbose});
    p.process(app);

    PanelSimulator sim;
    SimulatedPanel& panel = sim.Panel();
    sim.SetModem(p.isSet(modem));
    std::string error;
    if (p.isSet(memory) && !panel.LoadMemory(p.value(memory).toStdString(), &error)) return Fail(QString::fromStdString(error));

    FaultOptions f;
    f.dropEvery = p.value(drop).toInt();
    f.corruptEvery = p.value(corrupt).toInt();
    f.replyDelayMs = p.value(delay).toInt();
    f.stopAfter = p.value(stopAfter).toInt();
    f.wrongChecksum = p.isSet(wrongSum);
    if (p.isSet(late)) {
        const QStringList l = p.value(late).split(',');
        f.lateMs = l.value(0).toInt();
        f.lateCount = l.value(1).toInt();
    }
    f.closeAfter = p.value(closeAfter).toInt();
    panel.SetFaults(f);
    panel.SetLine({p.value(baud).toInt(), p.value(bits).toInt() > 0 ? p.value(bits).toInt() : 10});
    panel.SetWaitReplyDelayMs(p.value(waitDelay).toInt());
    panel.SetDialDelayMs(p.value(dialDelay).toInt());
    if (p.isSet(revision)) panel.SetRevision(p.value(revision).toStdString());
    if (p.isSet(io)) panel.SetInstalledIO(p.value(io).toInt());
    if (p.isSet(addon)) {
        const QStringList a = p.value(addon).split(',');
        panel.SetAddOnCard(a.value(0).toInt(), a.value(1).toInt());
    }
    if (p.isSet(password)) {
        const QString d = p.value(password);
        if (d.size() != 6) return Fail(QStringLiteral("--password takes six digits"));
        std::array<int, 6> digits{};
        for (int i = 0; i < 6; ++i) {
            if (!d[i].isDigit()) return Fail(QStringLiteral("--password takes six digits"));
            digits[i] = d[i].digitValue();
        }
        panel.SetPassword(digits);
    }
    if (p.isSet(demo)) ApplyDemoState(panel);
    int key = 0;
    QStringList values;
    for (const QString& v : p.values(relay)) {
        if (!ParsePair(v, key, values)) return Fail(QStringLiteral("--relay N=0|1"));
        panel.SetRelay(key, values.value(0).toInt() != 0);
    }
    for (const QString& v : p.values(input)) {
        if (!ParsePair(v, key, values)) return Fail(QStringLiteral("--input N=V"));
        panel.SetInput(key, values.value(0).toInt());
    }
    for (const QString& v : p.values(device)) {
        if (!ParsePair(v, key, values) || values.size() != 3) return Fail(QStringLiteral("--device D=IN,RESP,LEVEL"));
        panel.SetDevice(key, {values[0].toInt(nullptr, 0), values[1].toInt(nullptr, 0), values[2].toInt(nullptr, 0)});
    }

    QString message;
    const bool wantTcp = p.isSet(tcp) || !p.isSet(pty);
    if (wantTcp) {
        const quint16 port = p.isSet(tcp) ? static_cast<quint16>(p.value(tcp).toUInt()) : 10001;
        if (!sim.StartTcp(port, QHostAddress(p.value(host)), &message)) return Fail(QStringLiteral("TCP: ") + message);
        std::printf("TCP %s:%u\n", qPrintable(p.value(host)), static_cast<unsigned>(sim.TcpPort()));
    }
    if (p.isSet(pty)) {
        if (!sim.StartPty(&message)) return Fail(QStringLiteral("PTY: ") + message);
        std::printf("PTY %s\n", qPrintable(sim.PtyPath()));
    }
    std::fflush(stdout);

    QuitOnSignals(app);
    QTimer animation;
    int step = 0;
    if (p.isSet(animate)) {
        QObject::connect(&animation, &QTimer::timeout, [&] { AnimateStep(panel, step++); });
        animation.start(1000);
    }
    if (p.isSet(control)) {
        ReadControlLines(app, [&panel](const std::string& line) {
            const std::string answer = ControlCommand(panel, line);
            std::printf("%s\n", answer.empty() ? "ok" : answer.c_str());
            std::fflush(stdout);
        });
    }
    const int code = app.exec();
    sim.Stop();
    if (p.isSet(verbose)) {
        std::fprintf(stderr, "%d commands, %d violations\n", panel.CommandCount(), panel.ViolationCount());
        for (const std::string& v : panel.Violations()) std::fprintf(stderr, "violation: %s\n", v.c_str());
    }
    if (p.isSet(dump) && !panel.DumpMemory(p.value(dump).toStdString(), &error)) {
        std::fprintf(stderr, "tamberline-panelsim: %s\n", error.c_str());
        return 1;
    }
    return code;
}
