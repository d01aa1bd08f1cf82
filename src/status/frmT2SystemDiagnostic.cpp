// The network diagnostic: every 250 ms a reading of the Vantel network; for
// each watched device the readings it missed and whether its inputs changed.
#include "StatusWindows.h"

#include "ClickLabel.h"
#include "Hex.h"
#include "StatusSession.h"

namespace t2 {

const WindowInfo frmT2SystemDiagnostic::Info{"frmT2SystemDiagnostic", "System Diagnostic"};

frmT2SystemDiagnostic::frmT2SystemDiagnostic(ProgramState& state, QWidget* parent)
    : PanelWindow(state, Info, parent)
{
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &frmT2SystemDiagnostic::Timer1_Timer);

    QFont small = font();
    small.setPointSizeF(7);
    lblNode = AddLabel("lblNode", "Vantel Node", 240, 60, 1500, 280);
    for (int i = 0; i < 32; ++i) {
        auto* node = new ClickLabel(QString::fromStdString(Hex2(i + 1)), this);
        node->setObjectName(Element("lblVTNode", i));
        node->setGeometry(Px(240), Px(195 * i + 360), Px(240), Px(195));
        node->setAlignment(Qt::AlignCenter);
        node->setFont(small);
        SetColours(node, status::Grey, status::Black);
        connect(node, &ClickLabel::clicked, this, [this, i] { lblVTNode_Click(i); });
        node->setAccessibleName("Vantel Node " + node->text());
        lblVTNode[i] = node;
        auto* error = new CellLabel("---", this);   // a screen reader hears the node and the count
        error->setObjectName(Element("lblVTComError", i));
        error->setGeometry(Px(480), Px(195 * i + 360), Px(600), Px(195));
        error->setAccessibleName(node->accessibleName() + ", Errors");
        error->setAlignment(Qt::AlignCenter);
        error->setFont(small);
        lblVTComError[i] = error;
    }
    cmdStop = AddButton("cmdStop", "Stop", 1440, 360, 1680, 360);
    cmdClearTotals = AddButton("cmdClearTotals", "Clear Totals", 1440, 840, 1680, 360);
    cmdClearVTChanges = AddButton("cmdClearVTChanges", "Clear VT Changes", 1440, 1320, 1680, 360);
    lblCycleCount = AddLabel("lblCycleCount", "", 1440, 1800, 1920);
    connect(cmdStop, &QPushButton::clicked, this, &frmT2SystemDiagnostic::cmdStop_Click);
    connect(cmdClearTotals, &QPushButton::clicked, this, &frmT2SystemDiagnostic::cmdClearTotals_Click);
    connect(cmdClearVTChanges, &QPushButton::clicked, this, &frmT2SystemDiagnostic::cmdClearVTChanges_Click);
    cmdClearTotals->setEnabled(false);

    lblNoConnection->setWordWrap(true);
    lblNoConnection->setGeometry(Px(240), Px(2400), Px(3240), Px(1200));
    SetClientSize(3600, 6840);
}

bool frmT2SystemDiagnostic::ReadNetwork(NetworkStatus& status)
{
    std::optional<NetworkStatus> read;
    if (Send(NetworkStatusCommand())) read = ReadNetworkStatus(Reply());
    if (!read) {
        LinkLost();
        return false;
    }
    status = *read;
    return true;
}

void frmT2SystemDiagnostic::OnActivate()
{
    const bool connected = Connected();
    lblNoConnection->setVisible(!connected);
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != lblNoConnection) w->setVisible(connected);
    if (!connected) {
        Timer1->stop();
        return;
    }

    if (AppShell* shell = Shell()) shell->DisableMainMenus();
    running_ = true;
    Timer1->stop();
    repaint();
    cmdStop->setText("Stop");
    TestStopped = false;
    cmdClearTotals->setEnabled(false);
    Timer1->setInterval(StatusInterval(250));
    // The first reading, which picks the devices to watch, waits its turn for
    // the link; the timer starts after it.
    WhenIdle([this] { FirstReading(); });
}

void frmT2SystemDiagnostic::FirstReading()
{
    if (!isVisible() || !Connected()) return;
    NetworkStatus status;
    reading_ = true;
    const bool ok = ReadNetwork(status);
    reading_ = false;
    if (!ok) return;
    test_.Start(status);
    for (int i = 0; i < 32; ++i) SetColours(lblVTNode[i], test_.Monitored(i + 1) ? status::White : status::Grey,
                                            status::Black);
    if (!TestStopped) Timer1->start();
}

void frmT2SystemDiagnostic::StopPolling()
{
    Timer1->stop();
    if (running_) {
        // Closing the window ends the test and gives the menus back.
        running_ = false;
        TestStopped = true;
        cmdStop->setText("Start");
        cmdClearTotals->setEnabled(true);
        if (AppShell* shell = Shell()) shell->EnableMainMenus();
    }
}

void frmT2SystemDiagnostic::Timer1_Timer()
{
    if (!Connected() || reading_ || ExchangeBusy()) return;
    if (test_.CycleCount() >= CycleLimit) {
        lblCycleCount->setText("Test Stopped");
        return;
    }
    test_.CountCycle();
    lblCycleCount->setText("Cycle: " + QString::number(test_.CycleCount()));

    NetworkStatus status;
    reading_ = true;
    const bool ok = ReadNetwork(status);
    reading_ = false;
    if (!ok) return;
    const auto results = test_.Step(status);
    for (int d = 1; d <= 32; ++d) {
        const auto& r = results[d];
        if (!r.monitored) continue;
        QLabel* error = lblVTComError[d - 1];
        SetBackground(error, r.errorBackground);
        error->setText(QString::fromStdString(r.errorText));
        if (r.inputsChanged) SetColours(lblVTNode[d - 1], status::Blue, status::White);
    }
}

void frmT2SystemDiagnostic::cmdStop_Click()
{
    if (!TestStopped) {
        TestStopped = true;
        Timer1->stop();
        cmdStop->setText("Start");
        cmdClearTotals->setEnabled(true);
        running_ = false;
        if (AppShell* shell = Shell()) shell->EnableMainMenus();
    } else {
        TestStopped = false;
        Timer1->setInterval(StatusInterval(250));
        Timer1->start();
        cmdStop->setText("Stop");
        cmdClearTotals->setEnabled(false);
        running_ = true;
        if (AppShell* shell = Shell()) shell->DisableMainMenus();
    }
}

void frmT2SystemDiagnostic::cmdClearTotals_Click()
{
    test_.ClearTotals();
    lblCycleCount->setText("Cycle: 0");
    for (int d = 1; d <= 32; ++d) {
        if (!test_.Monitored(d)) continue;
        SetBackground(lblVTComError[d - 1], status::Green);
        lblVTComError[d - 1]->setText("0");
    }
}

void frmT2SystemDiagnostic::cmdClearVTChanges_Click()
{
    for (int d = 1; d <= 32; ++d)
        if (test_.Monitored(d)) SetColours(lblVTNode[d - 1], status::White, status::Black);
}

void frmT2SystemDiagnostic::lblVTNode_Click(int index)
{
    if (Timer1->isActive() || index < 0 || index >= 32) return;
    test_.ToggleMonitored(index + 1);
    SetColours(lblVTNode[index], test_.Monitored(index + 1) ? status::White : status::Grey, status::Black);
}

}  // namespace t2
