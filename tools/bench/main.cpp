// tamberline-bench: times a full download (384 blocks and the checksum) and a
// full upload against the simulated panel, over loopback TCP/IP and over a
// pseudo-terminal that emulates a 115200-baud line, and prints the host's time
// beside the line's own limit (characters on the wire x 10 bits / 115200).
#include "Commands.h"
#include "Frame.h"
#include "Hex.h"
#include "PanelExchange.h"
#include "PanelSimulator.h"
#include "Replies.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
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
    return 0;
}
