// The simulated panel: its replies, what it does, its strictness and its faults.
#include "Commands.h"
#include "Frame.h"
#include "Hex.h"
#include "PanelSimSession.h"
#include "PanelSimulator.h"
#include "Replies.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <csignal>

using namespace t2;
using namespace t2::sim;

namespace {

PanelAnswer Ask(SimulatedPanel& p, const PanelCommand& c) { return p.HandleFrame(FrameCommand(c.text)); }

std::string Reply(SimulatedPanel& p, const PanelCommand& c)
{
    const PanelAnswer a = Ask(p, c);
    EXPECT_TRUE(a.reply) << c.text;
    return a.bytes;
}

}  // namespace

TEST(SimulatedPanel, EveryCommandAnswersWithItsLengthAndAValidChecksum)
{
    SimulatedPanel p;
    std::array<std::uint8_t, PanelBlockSize> block{};
    block[0] = 7;
    const PanelCommand commands[] = {
        SetClockCommand(14, 5, 3, 7, 2014, 5), ReadStatusCommand(), ForceTimerWaitCommand(), RevisionCommand(),
        KeypadCommand(3), RelaySwitchCommand(1, true), AllRelaysCommand(false), GroupSwitchCommand(4, true),
        ForceTimerCommand(11), InputStatusCommand(), RelayStatusCommand(), GroupStatusCommand(),
        PresetStatusCommand(), BlockWriteCommand(383, block), BlockReadCommand(383), BlockClearCommand(0),
        ImageChecksumCommand(), PresetSetCommand(2), PresetCaptureCommand(2), NetworkStatusCommand(),
        PasswordReadCommand(), PasswordWriteCommand({1, 2, 3, 4, 5, 6}), NodeCodesReadCommand(),
        ReadMemoryCommand(0x5F00, 256, 4),
    };
    for (const PanelCommand& c : commands) {
        const std::string r = Reply(p, c);
        EXPECT_EQ(r.size(), static_cast<std::size_t>(c.replyLength)) << c.text;
        EXPECT_TRUE(ReplyChecksumOk(r)) << c.text;
    }
    EXPECT_EQ(p.ViolationCount(), 0);
    EXPECT_EQ(p.CommandCount(), static_cast<int>(std::size(commands)));
    EXPECT_EQ(p.LastCommand(), "315F00FF");
}

TEST(SimulatedPanel, AppliesWhatTheCommandsMean)
{
    SimulatedPanel p;
    // Memory: write, read back, checksum, clear.
    std::array<std::uint8_t, PanelBlockSize> block{};
    for (int i = 0; i < PanelBlockSize; ++i) block[i] = static_cast<std::uint8_t>(i * 3);
    Reply(p, BlockWriteCommand(5, block));
    EXPECT_EQ(p.MemoryAt(5 * 64 + 10), 30);
    const auto back = MemoryFromReply(Reply(p, BlockReadCommand(5)), 64);
    ASSERT_TRUE(back);
    EXPECT_TRUE(std::equal(back->begin(), back->end(), block.begin()));
    const std::vector<std::uint8_t> memory = p.Memory();
    EXPECT_EQ(ChecksumFromReply(Reply(p, ImageChecksumCommand())), ImageChecksum(memory));
    Reply(p, BlockClearCommand(5));
    EXPECT_EQ(p.MemoryAt(5 * 64 + 10), 0);
    Reply(p, PasswordWriteCommand({9, 8, 7, 6, 5, 4}));
    EXPECT_EQ(p.Password(), (std::array<int, 6>{9, 8, 7, 6, 5, 4}));
    EXPECT_EQ(PasswordFromReply(Reply(p, PasswordReadCommand())), (std::array<int, 6>{9, 8, 7, 6, 5, 4}));

    // Relays, groups (group 1 holds relays 0 and 9 at the group table), presets.
    Reply(p, RelaySwitchCommand(47, true));
    EXPECT_TRUE(p.Relay(47));
    Reply(p, AllRelaysCommand(false));
    EXPECT_FALSE(p.Relay(47));
    EXPECT_EQ(ItemStatusChar(Reply(p, GroupStatusCommand()), 1), '2');
    p.SetMemory(2016 + 6 * 1, {0x01, 0x02});
    Reply(p, GroupSwitchCommand(1, true));
    EXPECT_TRUE(p.Relay(0));
    EXPECT_TRUE(p.Relay(9));
    EXPECT_FALSE(p.Relay(1));
    EXPECT_EQ(ItemStatusChar(Reply(p, GroupStatusCommand()), 1), '1');
    p.SetInstalledIO(16);
    EXPECT_EQ(ItemStatusChar(Reply(p, PresetStatusCommand()), 3), '2');
    Reply(p, PresetCaptureCommand(3));  // relays 0 and 9 on
    EXPECT_EQ(p.MemoryAt(3792 + 18), 0x01);
    EXPECT_EQ(p.MemoryAt(3792 + 19), 0x02);
    EXPECT_EQ(p.MemoryAt(4080 + 18), 0xFE);
    EXPECT_EQ(p.MemoryAt(4080 + 19), 0xFD);
    Reply(p, AllRelaysCommand(true));
    Reply(p, PresetSetCommand(3));
    EXPECT_TRUE(p.Relay(0));
    EXPECT_FALSE(p.Relay(1));
    EXPECT_TRUE(p.Relay(16));  // beyond the installed I/O: untouched by the capture
    EXPECT_EQ(ItemStatusChar(Reply(p, PresetStatusCommand()), 3), '1');

    // Clock, status, keys, timers, inputs and network devices.
    Reply(p, SetClockCommand(14, 5, 3, 7, 2014, 5));
    p.SetAddOnCard(7, 3);
    const auto s = ReadPanelStatus(Reply(p, ReadStatusCommand()));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->hour, 14);
    EXPECT_EQ(s->minute, 5);
    EXPECT_EQ(s->month, 3);
    EXPECT_EQ(s->day, 7);
    EXPECT_EQ(s->year, 14);
    EXPECT_EQ(s->dayOfWeek, 5);
    EXPECT_EQ(s->ioCount, 16);
    EXPECT_EQ(s->addOnType, 7);
    EXPECT_EQ(s->addOnRevision, 3);
    p.SetLamps(0x21);
    const auto k = ReadKeypadDisplay(Reply(p, KeypadCommand(4)));
    ASSERT_TRUE(k);
    EXPECT_EQ(k->lamps, 0x21);
    EXPECT_EQ(k->characters, p.Display());
    Reply(p, KeypadCommand(0));
    EXPECT_EQ(p.KeysPressed(), (std::vector<int>{4}));
    Reply(p, ForceTimerCommand(11));
    EXPECT_EQ(p.TimersForced(), (std::vector<int>{11}));
    p.SetInput(2, 3);
    EXPECT_EQ(InputStatusValue(Reply(p, InputStatusCommand()), 2), 3);
    p.SetDevice(32, {0x81, 1, 200});
    const auto n = ReadNetworkStatus(Reply(p, NetworkStatusCommand()));
    ASSERT_TRUE(n);
    EXPECT_EQ(n->inputs[32], 0x81);
    EXPECT_EQ(n->responding[32], 1);
    EXPECT_EQ(n->level[32], 200);
    EXPECT_EQ(n->responding[31], 0);
    EXPECT_EQ(p.ViolationCount(), 0);
}

TEST(SimulatedPanel, StrictAboutEveryFrame)
{
    SimulatedPanel p;
    const std::string bad[] = {
        "[0001D4]",                     // wrong checksum
        "0001D3]", "[01D3]", "[00]", "[0001D3", "[0001d3x]",  // bad shapes
        FrameCommand("99"),             // unknown command
        FrameCommand("0123"), FrameCommand("23FF0"), FrameCommand("3400005F"),  // wrong lengths
        FrameCommand("300000010A"),     // count says two bytes, one given
        FrameCommand("3160000F"),       // read beyond 0x5FFF
        FrameCommand("305FFF01AABB"),   // write across the end
        FrameCommand("3400006000"), FrameCommand("3600100000"),  // range outside or reversed
        FrameCommand("23ff"),           // lower case
        FrameCommand("10300"),          // relay 48
        FrameCommand("10002"),          // switch state 2
        FrameCommand("0018000101010"),  // hour 24
        FrameCommand("412F1"),          // capture with a wrong tail
    };
    for (const std::string& frame : bad) {
        const int before = p.ViolationCount();
        EXPECT_FALSE(p.HandleFrame(frame).reply) << frame;
        EXPECT_EQ(p.ViolationCount(), before + 1) << frame;
    }
    EXPECT_EQ(p.CommandCount(), 0);
    EXPECT_EQ(p.Violations().size(), std::size(bad));
}

TEST(SimulatedPanel, FaultOptions)
{
    SimulatedPanel p;
    FaultOptions f;
    f.dropEvery = 3;
    p.SetFaults(f);
    std::vector<bool> replied;
    for (int i = 0; i < 6; ++i) replied.push_back(Ask(p, RelaySwitchCommand(i, true)).reply);
    EXPECT_EQ(replied, (std::vector<bool>{true, true, false, true, true, false}));
    EXPECT_FALSE(p.Relay(2));  // a lost command is not acted on
    EXPECT_TRUE(p.Relay(3));

    p.ClearLog();
    f = {};
    f.corruptEvery = 2;
    p.SetFaults(f);
    EXPECT_TRUE(ReplyChecksumOk(Reply(p, ReadStatusCommand())));
    const std::string corrupt = Reply(p, RelaySwitchCommand(7, true));
    EXPECT_EQ(corrupt.size(), 4u);
    EXPECT_FALSE(ReplyChecksumOk(corrupt));
    EXPECT_TRUE(p.Relay(7));  // acted on; only the reply was spoilt

    p.ClearLog();
    f = {};
    f.stopAfter = 2;
    p.SetFaults(f);
    EXPECT_TRUE(Ask(p, ReadStatusCommand()).reply);
    EXPECT_TRUE(Ask(p, ReadStatusCommand()).reply);
    EXPECT_FALSE(Ask(p, ReadStatusCommand()).reply);
    EXPECT_FALSE(Ask(p, ReadStatusCommand()).reply);

    f = {};
    f.wrongChecksum = true;
    p.SetFaults(f);
    const std::string sum = Reply(p, ImageChecksumCommand());
    EXPECT_TRUE(ReplyChecksumOk(sum));
    EXPECT_NE(ChecksumFromReply(sum), ImageChecksum(p.Memory()));

    f = {};
    f.replyDelayMs = 40;
    p.SetFaults(f);
    p.SetWaitReplyDelayMs(300);
    EXPECT_EQ(Ask(p, ReadStatusCommand()).delayMs, 40);
    EXPECT_EQ(Ask(p, ForceTimerWaitCommand()).delayMs, 340);

    // Late: the first N commands of the count are answered that much later.
    p.ClearLog();
    f = {};
    f.lateMs = 4500;
    f.lateCount = 2;
    p.SetFaults(f);
    p.SetWaitReplyDelayMs(0);
    std::vector<int> delays;
    for (int i = 0; i < 3; ++i) delays.push_back(Ask(p, ReadStatusCommand()).delayMs);
    EXPECT_EQ(delays, (std::vector<int>{4500, 4500, 0}));

    // Close: after N commands the connection is dropped; the next command is
    // neither answered nor acted on.
    p.ClearLog();
    f = {};
    f.closeAfter = 1;
    p.SetFaults(f);
    EXPECT_TRUE(Ask(p, RelaySwitchCommand(20, true)).reply);
    const PanelAnswer gone = Ask(p, RelaySwitchCommand(21, true));
    EXPECT_TRUE(gone.close);
    EXPECT_FALSE(gone.reply);
    EXPECT_TRUE(p.Relay(20));
    EXPECT_FALSE(p.Relay(21));
}

TEST(PanelSimulator, CloseAfterDropsTheTcpConnection)
{
    PanelSimulator sim;
    ASSERT_TRUE(sim.StartTcp(0));
    FaultOptions f;
    f.closeAfter = 1;
    sim.Panel().SetFaults(f);
    QTcpSocket socket;
    socket.connectToHost("127.0.0.1", sim.TcpPort());
    ASSERT_TRUE(socket.waitForConnected(5000));
    QByteArray got;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { got += socket.readAll(); });
    bool dropped = false;
    QObject::connect(&socket, &QTcpSocket::disconnected, [&] { dropped = true; });
    socket.write(QByteArray::fromStdString(FrameCommand("01") + FrameCommand("01")));
    QElapsedTimer t;
    t.start();
    while (!dropped && t.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(dropped);
    EXPECT_EQ(got.size(), 34);  // the first one answered, the second not
}

TEST(SimulatedPanel, MemoryFileRoundTrip)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("mem.bin").toStdString();
    SimulatedPanel a;
    a.SetMemory(0x5FFF, {0xAB});
    a.SetPassword({1, 2, 3, 4, 5, 6});
    std::string error;
    ASSERT_TRUE(a.DumpMemory(path, &error)) << error;
    SimulatedPanel b;
    ASSERT_TRUE(b.LoadMemory(path, &error)) << error;
    EXPECT_EQ(b.Memory(), a.Memory());
    QFile shortFile(dir.filePath("short.bin"));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write("abc");
    shortFile.close();
    EXPECT_FALSE(b.LoadMemory(shortFile.fileName().toStdString(), &error));
    EXPECT_EQ(b.Memory(), a.Memory());
}

TEST(PanelSimSession, StreamsDelaysAndLineSpeed)
{
    PanelSimulator sim;
    QByteArray out;
    PanelSimSession* session = sim.NewSession([&](const QByteArray& b) { out += b; });
    // Junk outside a frame, an unfinished frame, then a good frame split in pieces.
    session->Feed("xyz[0001");
    session->Feed("[00");
    session->Feed("01D3]");
    EXPECT_EQ(sim.Panel().ViolationCount(), 2);
    EXPECT_EQ(out.size(), 34);

    // A line of 9600 baud, 10 bits a character: 8 + 4 characters take 12.5 ms.
    sim.Panel().SetLine({9600, 10});
    out.clear();
    QElapsedTimer t;
    t.start();
    session->Feed(QByteArray::fromStdString(FrameCommand("10001")));
    while (out.isEmpty() && t.elapsed() < 1000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(out, "[00]");
    EXPECT_GE(t.elapsed(), 12);
    EXPECT_LT(t.elapsed(), 100);
}

TEST(PanelSimProgram, ServesTcpWithOptionsAndDumpsOnStop)
{
    QTemporaryDir dir;
    const QString dump = dir.filePath("dump.bin");
    QProcess proc;
    proc.start(QStringLiteral(T2_PANELSIM),
               {"--tcp", "0", "--relay", "5=1", "--device", "3=0x0F,1,99", "--password", "123456", "--dump", dump,
                "--corrupt-every", "2"});
    ASSERT_TRUE(proc.waitForStarted());
    ASSERT_TRUE(proc.waitForReadyRead(5000));
    const QString line = QString::fromLocal8Bit(proc.readLine()).trimmed();
    ASSERT_TRUE(line.startsWith("TCP 127.0.0.1:")) << line.toStdString();
    const quint16 port = static_cast<quint16>(line.section(':', 1).toUInt());

    QTcpSocket socket;
    socket.connectToHost("127.0.0.1", port);
    ASSERT_TRUE(socket.waitForConnected(5000));
    auto ask = [&](const PanelCommand& c) {
        socket.write(QByteArray::fromStdString(FrameCommand(c.text)));
        QByteArray r;
        while (r.size() < c.replyLength && socket.waitForReadyRead(2000)) r += socket.readAll();
        return r.toStdString();
    };
    EXPECT_TRUE(ItemIsOn(ask(RelayStatusCommand()), 5));
    EXPECT_FALSE(ReplyChecksumOk(ask(NetworkStatusCommand())));  // the second reply is spoilt
    const auto n = ReadNetworkStatus(ask(NetworkStatusCommand()));
    ASSERT_TRUE(n);
    EXPECT_EQ(n->inputs[3], 0x0F);
    EXPECT_EQ(n->level[3], 99);
    ask(WriteMemoryCommand(0x100, std::vector<std::uint8_t>{0x5A}));
    socket.close();

    ::kill(static_cast<pid_t>(proc.processId()), SIGTERM);
    ASSERT_TRUE(proc.waitForFinished(5000));
    EXPECT_EQ(proc.exitCode(), 0);
    QFile f(dump);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), 0x6000);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0x100]), 0x5A);
    EXPECT_EQ(bytes.mid(0x1F7A, 6), QByteArray("\x01\x02\x03\x04\x05\x06"));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
