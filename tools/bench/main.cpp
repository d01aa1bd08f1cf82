// tamberline-bench: times a full download (384 blocks and the checksum) and a
// full upload against the simulated panel, over loopback TCP/IP and over a
// pseudo-terminal that emulates a 115200-baud line, and prints the host's time
// beside the line's own limit (characters on the wire x 10 bits / 115200).
// Then a download as the connection window makes it, with the backup of the
// panel's settings first, through the session: its time against the line
// time of both transfers together, and the longest pause of the event loop
// (a window would freeze that long).
#include "Commands.h"
#include "Frame.h"
#include "Hex.h"
#include "PanelExchange.h"
#include "PanelSession.h"
#include "PanelSimulator.h"
#include "Replies.h"

#include "Defaults.h"
#include "TestRecords.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <span>
#include <vector>

using namespace t2;

namespace {

struct Run {
    bool ok = false;
    double seconds = 0;
    long long characters = 0;  // both directions, frames and replies
};

Run Download(PanelExchange& exchange, const std::vector<std::uint8_t>& image)
{
    Run run;
    QElapsedTimer t;
    t.start();
    std::uint16_t sum = 0;
    auto send = [&](const PanelCommand& c) {
        run.characters += static_cast<long long>(FrameCommand(c.text).size()) + c.replyLength;
        return exchange.Send(c);
    };
    for (int k = 0; k < PanelBlockCount; ++k) {
        std::span<const std::uint8_t, PanelBlockSize> block(image.data() + k * PanelBlockSize, PanelBlockSize);
        for (std::uint8_t b : block) sum = ImageChecksumStep(sum, b);
        if (!send(BlockDownloadCommand(k, block))) return run;
    }
    if (!send(ImageChecksumCommand())) return run;
    run.ok = ChecksumFromReply(exchange.PanelReply()) == sum;
    run.seconds = t.nsecsElapsed() / 1e9;
    return run;
}

Run Upload(PanelExchange& exchange, const std::vector<std::uint8_t>& expected)
{
    Run run;
    QElapsedTimer t;
    t.start();
    std::uint16_t sum = 0;
    std::vector<std::uint8_t> image;
    auto send = [&](const PanelCommand& c) {
        run.characters += static_cast<long long>(FrameCommand(c.text).size()) + c.replyLength;
        return exchange.Send(c);
    };
    for (int k = 0; k < PanelBlockCount; ++k) {
        if (!send(BlockReadCommand(k))) return run;
        const auto bytes = MemoryFromReply(exchange.PanelReply(), PanelBlockSize);
        if (!bytes) return run;
        for (std::uint8_t b : *bytes) sum = ImageChecksumStep(sum, b);
        image.insert(image.end(), bytes->begin(), bytes->end());
    }
    if (!send(ImageChecksumCommand())) return run;
    run.ok = ChecksumFromReply(exchange.PanelReply()) == sum && image == expected;
    run.seconds = t.nsecsElapsed() / 1e9;
    return run;
}

void Print(const char* link, const char* what, const Run& r, int baud)
{
    if (!r.ok) {
        std::printf("%-22s %-9s FAILED\n", link, what);
        return;
    }
    const double limit = r.characters * 10.0 / 115200.0;
    std::printf("%-22s %-9s host %8.3f s   line limit %7.3f s (%lld characters)", link, what, r.seconds, limit,
                r.characters);
    if (baud > 0) std::printf("   host/limit %.3f", r.seconds / limit);
    std::printf("\n");
}

// The download with the backup first, through the session, on an open link.
// The panel holds the image given; the host a configuration with data in
// every area, so that both the reading and the writing go (nearly) whole.
bool DownloadWithBackup(const QString& ptyPath)
{
    // Every member given small values, so that every area of the image the
    // host writes holds data.
    auto state = std::make_unique<ProgramState>();
    std::uint32_t x = 2024;
    auto next = [&x](int range) {
        x = x * 1103515245u + 12345u;
        return static_cast<int>((x >> 16) % static_cast<std::uint32_t>(range));
    };
    fixtures::MemberFiller filler{[&] { return static_cast<Integer>(1 + next(3)); },
                                  [&] { return static_cast<Long>(1 + next(999)); },
                                  [&] {
                                      Bytes b(10, ' ');
                                      for (char& c : b) c = static_cast<char>('A' + next(26));
                                      return b;
                                  }};
    auto records = std::make_unique<fixtures::Records>();
    filler.FillAll(*records);
    state->Config = records->config;
    state->Devices = records->devices;
    PanelSession session(*state);
    LinkSettings link;
    link.connectionType = ConnectDirectSerial;
    link.serialDevice = ptyPath;
    QString error;
    if (session.Connect(link, &error) != ConnectResult::Connected) {
        std::fprintf(stderr, "pty: %s\n", qPrintable(error));
        return false;
    }
    long long characters = 0;
    session.Exchange().SetTraceEnabled(true);
    session.Exchange().SetTraceSink([&](const TraceEntry& e) {
        if (e.direction == TraceEntry::Direction::Sent || e.direction == TraceEntry::Direction::Received)
            characters += static_cast<long long>(e.text.size());
    });
    // How long the event loop goes without running a 20 ms timer (a faster one
    // would slow the transfer it measures).
    QElapsedTimer sinceTick;
    qint64 longestPause = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestPause = std::max(longestPause, sinceTick.restart());
    });

    QTemporaryDir backups;
    DownloadSafeguards safeguards;
    safeguards.backupFolder = backups.path().toStdString();
    safeguards.confirm = [](const std::vector<ReportDifference>&) { return true; };
    QElapsedTimer t;
    // From the reading's checksum to the first block written: the backup
    // saved, the comparison made and the question answered.
    qint64 readEnd = -1, firstWrite = -1;
    TransferObserver observer;
    observer.progress = [&](int done, const std::string& caption) {
        if (caption == "Verify Checksum" && readEnd < 0) readEnd = t.nsecsElapsed();
        if (done == 1 && caption.rfind("Downloading", 0) == 0) firstWrite = t.nsecsElapsed();
    };
    t.start();
    sinceTick.start();
    tick.start(20);
    const TransferOutcome outcome = session.Download({0, 0, 0, 0, 0, 0}, std::nullopt, observer, safeguards);
    longestPause = std::max(longestPause, sinceTick.elapsed());
    tick.stop();
    const double seconds = t.nsecsElapsed() / 1e9;
    session.Disconnect();
    if (outcome.end != TransferEnd::Complete || outcome.backupPath.empty()) {
        std::printf("%-22s %-9s FAILED\n", "pty at 115200 baud", "backup+download");
        return false;
    }
    const double limit = characters * 10.0 / 115200.0;
    std::printf("%-22s %-9s host %8.3f s   line limit %7.3f s (%lld characters)   host/limit %.3f\n",
                "pty at 115200 baud", "backup+download", seconds, limit, characters, seconds / limit);
    std::printf("%-22s %-9s between the transfers %.0f ms; longest event-loop pause %lld ms\n", "", "",
                (firstWrite - readEnd) / 1e6, static_cast<long long>(longestPause));
    std::printf("%-22s %-9s within 3 %% of the line: %s; no pause over 100 ms: %s\n", "", "",
                seconds <= limit * 1.03 ? "yes" : "NO", longestPause <= 100 ? "yes" : "NO");
    return seconds <= limit * 1.03 && longestPause <= 100;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Worst case: every block holds data, so every block goes as a 142-character write.
    std::vector<std::uint8_t> image(PanelTransferBytes);
    std::uint32_t x = 12345;
    for (auto& b : image) {
        x = x * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>((x >> 16) | 1);
    }

    sim::PanelSimThread sim;  // the panel runs on a thread of its own, as a real one would
    PanelExchange exchange;
    exchange.SetPanelConnected(true);
    QString error;

    if (!sim.StartTcp(0, &error) || !exchange.OpenTcp("127.0.0.1", sim.TcpPort(), 5000, &error)) {
        std::fprintf(stderr, "tcp: %s\n", qPrintable(error));
        return 1;
    }
    Print("loopback TCP/IP", "download", Download(exchange, image), 0);
    Print("loopback TCP/IP", "upload", Upload(exchange, image), 0);
    exchange.CloseLink();

    sim.Panel().SetLine({115200, 10});
    if (!sim.StartPty(&error) || !exchange.OpenDirectSerialDevice(sim.PtyPath(), &error)) {
        std::fprintf(stderr, "pty: %s\n", qPrintable(error));
        return 1;
    }
    Print("pty at 115200 baud", "download", Download(exchange, image), 115200);
    Print("pty at 115200 baud", "upload", Upload(exchange, image), 115200);
    exchange.CloseLink();

    // The panel holds the worst-case image (every block read in full) with
    // the password 000000.
    sim.Panel().SetMemory(0, image);
    sim.Panel().SetPassword({0, 0, 0, 0, 0, 0});
    return DownloadWithBackup(sim.PtyPath()) ? 0 : 2;
}
