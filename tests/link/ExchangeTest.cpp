// The exchange against the simulated panel over real loopback TCP/IP and a real
// pseudo-terminal.
#include "Commands.h"
#include "Frame.h"
#include "Links.h"
#include "PanelExchange.h"
#include "PanelSimulator.h"
#include "Replies.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace t2;
using t2::sim::FaultOptions;
using t2::sim::PanelSimulator;

namespace {

// Time-outs in these tests are counted in tenths of a second.
constexpr int TestMsPerSecond = 100;

std::vector<std::string> Sent(const PanelExchange& e)
{
    std::vector<std::string> out;
    for (const TraceEntry& t : e.Trace()) {
        if (t.direction == TraceEntry::Direction::Sent) out.push_back(t.text);
    }
    return out;
}

struct Exchange : ::testing::Test {
    PanelSimulator sim;
    PanelExchange exchange;
    std::vector<QString> status;

    void SetUp() override
    {
        exchange.SetTraceEnabled(true);
        exchange.SetMillisecondsPerSecond(TestMsPerSecond);
        exchange.SetStatusCallback([this](const QString& s) { status.push_back(s); });
        exchange.SetPanelConnected(true);
    }
    void OpenTcp()
    {
        ASSERT_TRUE(sim.StartTcp(0));
        QString error;
        ASSERT_TRUE(exchange.OpenTcp("127.0.0.1", sim.TcpPort(), 5000, &error)) << error.toStdString();
    }
    void OpenPty()
    {
        QString error;
        ASSERT_TRUE(sim.StartPty(&error)) << error.toStdString();
        ASSERT_TRUE(exchange.OpenDirectSerialDevice(sim.PtyPath(), &error)) << error.toStdString();
    }
};

}  // namespace

TEST_F(Exchange, ExactBytesOnTheWireOverTcpAndPty)
{
    for (bool pty : {false, true}) {
        SCOPED_TRACE(pty ? "pty" : "tcp");
        if (pty) {
            OpenPty();
        } else {
            OpenTcp();
        }
        exchange.ClearTrace();
        sim.Panel().SetRelay(2, true);
        ASSERT_TRUE(exchange.Send(ReadStatusCommand()));
        EXPECT_EQ(exchange.PanelReplyLength(), 34);
        ASSERT_TRUE(exchange.Send(RelayStatusCommand()));
        EXPECT_TRUE(ItemIsOn(exchange.PanelReply(), 2));
        EXPECT_FALSE(ItemIsOn(exchange.PanelReply(), 1));
        ASSERT_TRUE(exchange.SendPanelCommand("05", 44, 3));
        EXPECT_EQ(RevisionFromReply(exchange.PanelReply()), sim.Panel().Revision());
        EXPECT_EQ(Sent(exchange), (std::vector<std::string>{"[0001D3]", "[0023FF39]", "[0005D7]"}));
        EXPECT_EQ(status.back(), "Connected");
        EXPECT_EQ(exchange.LastAttempts(), 1);
        EXPECT_EQ(sim.Panel().ViolationCount(), 0);
        sim.Panel().ClearLog();
    }
}

TEST_F(Exchange, NotConnectedSendsNothing)
{
    OpenTcp();
    exchange.SetPanelConnected(false);
    EXPECT_FALSE(exchange.Send(ReadStatusCommand()));
    EXPECT_FALSE(exchange.SendModemString("ATZ\r", 1, 1));
    QCoreApplication::processEvents();
    EXPECT_TRUE(Sent(exchange).empty());
    EXPECT_EQ(sim.Panel().CommandCount(), 0);
    // A bound flag is the one that counts.
    bool flag = true;
    exchange.BindPanelConnected(flag);
    EXPECT_TRUE(exchange.Send(ReadStatusCommand()));
}

TEST_F(Exchange, EachFaultCostsOneAttemptAndShowsTheRetry)
{
    OpenTcp();
    struct Case {
        const char* name;
        FaultOptions faults;
    };
    FaultOptions drop;
    drop.dropEvery = 2;
    FaultOptions corrupt;
    corrupt.corruptEvery = 2;
    FaultOptions late;
    late.replyDelayMs = 300;  // the time-out is 200 ms; the late reply is taken by the second attempt
    exchange.SetMillisecondsPerSecond(200);
    for (const Case& c : {Case{"drop", drop}, Case{"corrupt", corrupt}, Case{"late", late}}) {
        SCOPED_TRACE(c.name);
        sim.Panel().ClearLog();
        sim.Panel().SetFaults({});
        ASSERT_TRUE(exchange.Send(ReadStatusCommand()));  // command 1 of the count
        sim.Panel().SetFaults(c.faults);
        status.clear();
        exchange.ClearTrace();
        ASSERT_TRUE(exchange.SendPanelCommand("23FF", 52, 1));
        EXPECT_EQ(exchange.LastAttempts(), 2);
        EXPECT_EQ(status, (std::vector<QString>{"Error - Retry: 1", "Connected"}));
        EXPECT_EQ(Sent(exchange), (std::vector<std::string>{"[0023FF39]", "[0023FF39]"}));
        EXPECT_TRUE(ReplyChecksumOk(exchange.PanelReply()));
        sim.Panel().SetFaults({});
        QElapsedTimer settle;  // let a late reply land before the next round
        settle.start();
        while (settle.elapsed() < 400) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

TEST_F(Exchange, ThreeFailuresReturnFalseAndKeepTheOldReply)
{
    OpenPty();
    ASSERT_TRUE(exchange.Send(RevisionCommand()));
    const std::string before = exchange.PanelReply();
    FaultOptions f;
    f.dropEvery = 1;
    sim.Panel().SetFaults(f);
    status.clear();
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(exchange.SendPanelCommand("01", 34, 1));
    EXPECT_GE(t.elapsed(), 3 * TestMsPerSecond - 10);
    EXPECT_EQ(exchange.LastAttempts(), 3);
    EXPECT_EQ(status, (std::vector<QString>{"Error - Retry: 1", "Error - Retry: 2"}));
    EXPECT_EQ(exchange.PanelReply(), before);
    EXPECT_EQ(sim.Panel().CommandCount(), 4);  // 05 once, 01 three times
}

TEST_F(Exchange, ModemDialHangUpAndTripledTimeOut)
{
    sim.SetModem(true);
    QString error;
    ASSERT_TRUE(sim.StartPty(&error));
    exchange.SetMillisecondsPerSecond(50);
    std::vector<ModemStage> stages;
    exchange.SetModemStageCallback([&](ModemStage s) { stages.push_back(s); });
    ASSERT_TRUE(exchange.OpenModemDevice(sim.PtyPath(), "5551234", &error)) << error.toStdString();
    EXPECT_TRUE(exchange.ModemConnected());
    EXPECT_EQ(stages, (std::vector<ModemStage>{ModemStage::Resetting, ModemStage::Connecting, ModemStage::Connected,
                                               ModemStage::Done}));
    EXPECT_EQ(sim.Panel().ModemLog(), (std::vector<std::string>{"ATZ", "ATDT 5551234"}));
    EXPECT_EQ(Sent(exchange), (std::vector<std::string>{"ATZ\r", "ATDT 5551234\r"}));

    ASSERT_TRUE(exchange.Send(RevisionCommand()));
    EXPECT_EQ(RevisionFromReply(exchange.PanelReply()), sim.Panel().Revision());

    // Every time-out is tripled on a modem link: 1 "second" of 50 ms waits 150 ms.
    FaultOptions f;
    f.dropEvery = 1;
    sim.Panel().SetFaults(f);
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(exchange.SendPanelCommand("01", 34, 1));
    EXPECT_GE(t.elapsed(), 3 * 3 * 50 - 10);
    sim.Panel().SetFaults({});

    exchange.ClearTrace();
    stages.clear();
    exchange.CloseLink();
    EXPECT_FALSE(exchange.ModemConnected());
    EXPECT_EQ(Sent(exchange), (std::vector<std::string>{"[%%%%%", "ATZ"}));
    const auto log = sim.Panel().ModemLog();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[2], "HANGUP");
    EXPECT_EQ(log[3], "ATZ");
    // DTR dropped for one second (scaled) after the strings; a pseudo-terminal refuses the call.
    qint64 off = -1, on = -1;
    for (const TraceEntry& e : exchange.Trace()) {
        if (e.direction != TraceEntry::Direction::Line) continue;
        if (e.text.rfind("DTR off", 0) == 0) off = e.msecsSinceEpoch;
        if (e.text.rfind("DTR on", 0) == 0 && off >= 0) on = e.msecsSinceEpoch;
    }
    ASSERT_GE(off, 0);
    ASSERT_GE(on, 0);
    EXPECT_GE(on - off, 50 - 2);
    EXPECT_EQ(stages.front(), ModemStage::Disconnecting);
}

TEST_F(Exchange, AModemClosedDuringAnExchangeHangsUpOnceAfterIt)
{
    sim.SetModem(true);
    QString error;
    ASSERT_TRUE(sim.StartPty(&error));
    exchange.SetMillisecondsPerSecond(50);
    ASSERT_TRUE(exchange.OpenModemDevice(sim.PtyPath(), "5551234", &error)) << error.toStdString();
    FaultOptions f;
    f.replyDelayMs = 100;
    sim.Panel().SetFaults(f);
    exchange.ClearTrace();
    int closes = 0;
    exchange.SetModemStageCallback([&](ModemStage s) {
        // A second close while the hang-up runs, from inside its wait.
        if (s == ModemStage::Disconnecting) QTimer::singleShot(0, [&] {
            ++closes;
            exchange.CloseLink();
        });
    });
    QTimer::singleShot(20, [&] {
        ++closes;
        exchange.CloseLink();
    });
    EXPECT_FALSE(exchange.Send(ReadStatusCommand()));
    EXPECT_EQ(closes, 2);
    EXPECT_EQ(exchange.Link(), nullptr);
    EXPECT_FALSE(exchange.Busy());
    EXPECT_EQ(Sent(exchange), (std::vector<std::string>{"[0001D3]", "[%%%%%", "ATZ"}));
    const auto log = sim.Panel().ModemLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "HANGUP"), 1);
    EXPECT_EQ(exchange.LastAttempts(), 1);  // failed at once, not tried again
}

TEST_F(Exchange, ADialWithoutAnAnswerFails)
{
    QString error;
    ASSERT_TRUE(sim.StartPty(&error));  // no modem in front: nothing answers "ATDT"
    exchange.SetMillisecondsPerSecond(10);
    EXPECT_FALSE(exchange.OpenModemDevice(sim.PtyPath(), "5551234", &error));
    EXPECT_FALSE(exchange.ModemConnected());
    EXPECT_EQ(exchange.Link(), nullptr);
}

TEST_F(Exchange, TcpConnectToAClosedPortFailsWithinTheWait)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    QElapsedTimer t;
    t.start();
    QString error;
    EXPECT_FALSE(exchange.OpenTcp("127.0.0.1", port, TcpConnectWaitMs, &error));
    EXPECT_LT(t.elapsed(), TcpConnectWaitMs + 500);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(exchange.Send(ReadStatusCommand()));
}

TEST_F(Exchange, ASecondExchangeDuringAWaitIsRefusedAndEventsRunOnSerial)
{
    OpenPty();
    FaultOptions f;
    f.replyDelayMs = 150;
    sim.Panel().SetFaults(f);
    int ticks = 0;
    bool nestedResult = true;
    bool busySeen = false;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        busySeen = busySeen || exchange.Busy();
        if (ticks == 2) nestedResult = exchange.Send(RelayStatusCommand());
    });
    timer.start();
    EXPECT_TRUE(exchange.SendPanelCommand("01", 34, 5));
    timer.stop();
    EXPECT_GE(ticks, 3);          // the timer ran while the serial exchange waited
    EXPECT_TRUE(busySeen);
    EXPECT_FALSE(nestedResult);   // refused, not interleaved
    EXPECT_EQ(sim.Panel().Commands(), (std::vector<std::string>{"01"}));
    EXPECT_FALSE(exchange.Busy());
}

TEST_F(Exchange, ActionsAskedForDuringAWaitRunAfterItInOrderAndTurnsHoldThem)
{
    OpenTcp();
    FaultOptions f;
    f.replyDelayMs = 80;
    sim.Panel().SetFaults(f);
    std::vector<std::string> order;
    bool ranAfterItsWindowWent = false;
    // Three actions asked for while "01" waits: they run after it, in order;
    // one whose window went away meanwhile is skipped.
    QTimer::singleShot(20, [&] {
        exchange.WhenIdle([&] { order.push_back(exchange.Send(RelaySwitchCommand(1, true)) ? "10011" : "refused"); });
        auto* window = new QObject;
        exchange.WhenIdle([&] { ranAfterItsWindowWent = true; }, window);
        delete window;
        exchange.WhenIdle([&] { order.push_back(exchange.Send(RelayStatusCommand()) ? "23FF" : "refused"); });
    });
    ASSERT_TRUE(exchange.Send(ReadStatusCommand()));
    EXPECT_TRUE(order.empty());  // nothing ran inside the wait
    EXPECT_EQ(exchange.QueuedActions(), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return exchange.QueuedActions() == 0 && order.size() == 2; }, 3000));
    EXPECT_EQ(order, (std::vector<std::string>{"10011", "23FF"}));
    EXPECT_FALSE(ranAfterItsWindowWent);
    EXPECT_EQ(sim.Panel().Commands(), (std::vector<std::string>{"01", "10011", "23FF"}));

    // A turn keeps them waiting across its exchanges, and between them.
    sim.Panel().ClearLog();
    order.clear();
    {
        const PanelExchange::Turn turn(exchange);
        EXPECT_TRUE(exchange.Busy());
        exchange.WhenIdle([&] { order.push_back("queued"); });
        ASSERT_TRUE(exchange.Send(ReadStatusCommand()));
        exchange.LetEventsRun();
        ASSERT_TRUE(exchange.Send(RelayStatusCommand()));
        EXPECT_TRUE(order.empty());
    }
    EXPECT_FALSE(exchange.Busy());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !order.empty(); }, 3000));
    // When the link is free an action runs at once.
    exchange.WhenIdle([&] { order.push_back("now"); });
    EXPECT_EQ(order, (std::vector<std::string>{"queued", "now"}));
}

TEST_F(Exchange, ClosingTheLinkDuringAWaitEndsTheExchange)
{
    OpenTcp();
    FaultOptions f;
    f.replyDelayMs = 2000;
    sim.Panel().SetFaults(f);
    QTimer::singleShot(50, [&] { exchange.CloseLink(); });
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(exchange.SendPanelCommand("01", 34, 10));
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_EQ(exchange.Link(), nullptr);
}

TEST_F(Exchange, RepliesOfAnyLengthOrGarbageAreSafe)
{
    // An in-process line whose far end answers what the test says.
    auto link = std::make_unique<InProcessLink>();
    InProcessLink* raw = link.get();
    std::string answer;
    raw->SetPeer([&](const QByteArray&) { raw->Deliver(QByteArray::fromStdString(answer)); });
    exchange.AdoptLink(std::move(link));

    answer = FrameReply(std::string(30, 'A'));  // exactly the 34 characters expected
    ASSERT_TRUE(exchange.SendPanelCommand("01", 34, 1));
    EXPECT_EQ(exchange.PanelReplyLength(), 34);
    const std::string good = exchange.PanelReply();
    // A whole reply with a good checksum but of another length (another
    // command's, or two run together) does not count; PanelReply keeps the
    // last one that did.
    for (const std::string& other : {FrameReply(std::string(300, 'A')), FrameReply(std::string(40, 'B')),
                                     FrameReply(std::string(30, 'C')) + "[00]", FrameReply(std::string(29, 'D'))}) {
        answer = other;
        EXPECT_FALSE(exchange.SendPanelCommand("01", 34, 1)) << other;
        EXPECT_EQ(exchange.LastAttempts(), 3);
        EXPECT_EQ(exchange.PanelReply(), good);
    }

    for (std::string garbage : {std::string(5000, '\xFF'), std::string("]]]][[[["), std::string(40, '\0') + "]",
                                std::string("[" + std::string(30, 'z') + "zz]")}) {
        answer = garbage;
        EXPECT_FALSE(exchange.SendPanelCommand("01", 4, 1));
        EXPECT_EQ(exchange.LastAttempts(), 3);
    }
    raw->SetKind(PanelLink::Kind::Modem);
    answer.clear();
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(exchange.SendPanelCommand("01", 34, 1));
    EXPECT_GE(t.elapsed(), 9 * TestMsPerSecond - 10);
}

TEST(ComPorts, OverridesPointAPortAtAPseudoTerminal)
{
    PanelSimulator sim;
    ASSERT_TRUE(sim.StartPty());
    qputenv("T2_COM7", QByteArray("/dev/does-not-exist"));
    EXPECT_EQ(ComPortDevice(7), "/dev/does-not-exist");
    SetComPortOverride(7, sim.PtyPath());
    EXPECT_EQ(ComPortDevice(7), sim.PtyPath());
    EXPECT_EQ(ComPortDevice(0), "");
    EXPECT_EQ(ComPortDevice(17), "");
    EXPECT_TRUE(FindComPorts()[6]);

    PanelExchange exchange;
    exchange.SetPanelConnected(true);
    exchange.SetTraceEnabled(true);
    QString error;
    ASSERT_TRUE(exchange.OpenDirectSerial(7, &error)) << error.toStdString();
    EXPECT_EQ(static_cast<SerialLink*>(exchange.Link())->BaudRate(), 115200);
    EXPECT_TRUE(exchange.Send(ReadStatusCommand()));
    exchange.CloseLink();
    SetComPortOverride(7, {});
    qunsetenv("T2_COM7");
    if (ComPortDevice(7).isEmpty()) {
        EXPECT_FALSE(exchange.OpenDirectSerial(7, &error));
    }
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
