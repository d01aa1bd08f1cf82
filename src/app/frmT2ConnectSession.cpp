// The connection window, its second job: connecting (one path for every link),
// disconnecting, the modem banner, the status poll, the clock and the two tool
// windows.
#include "frmT2Connect.h"

#include "Controls.h"
#include "Prompts.h"

#include <QApplication>

namespace t2 {

namespace {

void UpdateStatusBar()
{
    if (AppShell* shell = Shell()) shell->UpdateStatusBar();
}

}  // namespace

void frmT2Connect::WhenLinkFree(std::function<void()> action)
{
    session_->Exchange().WhenIdle(std::move(action), this);
}

// ---------------------------------------------------------------------------
// Connecting and disconnecting

void frmT2Connect::cmdConnect_Click()
{
    // A second click while a disconnect (a modem hang-up) is under way does nothing.
    if (session_->Exchange().Closing()) return;
    if (state_.PanelConnected) {
        // Not queued: the exchange in progress fails now and the link is
        // closed, with the hang-up, as it ends.
        DisconnectByButton();
        return;
    }
    WhenLinkFree([this] {
        if (state_.PanelConnected || session_->Exchange().Closing()) return;
        if (state_.Config.ConnectionType() > ConnectModem)
            ConnectTCP();
        else
            ConnectSerial();
    });
}

void frmT2Connect::ConnectSerial()
{
    if (state_.PanelConnected) {
        DisconnectByButton();
        return;
    }
    Connect(LinkSettings::FromConfig(state_.Config));
}

void frmT2Connect::ConnectTCP()
{
    if (state_.PanelConnected) {
        DisconnectByButton();
        return;
    }
    LinkSettings link = LinkSettings::FromConfig(state_.Config);
    link.connectionType = ConnectTcpIp;
    link.SetPanelAddress(txtTCPIP->text());  // the remote host is what the box shows
    Connect(link);
}

void frmT2Connect::Connect(const LinkSettings& link)
{
    const bool tcp = link.connectionType >= ConnectTcpIp;
    cmdRefresh->setVisible(tcp);  // TCP/IP sessions are read on request
    cmdConnect->setEnabled(false);
    ConnectResult result;
    {
        WaitPointer wait;
        result = session_->Connect(link);
    }
    if (result == ConnectResult::InvalidPhoneNumber) {
        cmdConnect->setEnabled(true);
        Inform(TcpTitle, "A Valid Phone Number Must Entered", PromptIcon::Information);
        return;
    }
    if (result != ConnectResult::Connected) {
        DisconnectCV();
        Inform(tcp ? TcpTitle : Title, "Connection Failed.", PromptIcon::Exclamation);
        UpdateStatusBar();
        ReleaseConnectButton();
        lblModem->hide();
        return;
    }
    ShowRevLabels();
    if (!session_->PolledLink()) {
        ReadCVStatus();
        if (!state_.PanelConnected) {
            // The first reading found the link dead and has said so.
            ReleaseConnectButton();
            return;
        }
    }
    cmdConnect->setText(tcp ? "Disconnect From Corvanthine" : "Disconnect From Tamberline II");
    for (auto* o : optComPort) o->setEnabled(false);
    for (auto* c : chkConnectionType) c->setEnabled(false);
    txtPhoneNumber->setEnabled(false);
    txtTCPIP->setEnabled(false);
    if (!tcp && state_.Config.CommPort >= 1 && state_.Config.CommPort <= 16)
        optComPort[state_.Config.CommPort - 1]->setChecked(true);
    fraOnLineFunctions->show();
    StartPolling();
    UpdateStatusBar();
    cmdConnect->setEnabled(true);
    lblModem->hide();
}

void frmT2Connect::DisconnectByButton()
{
    DisconnectCV();
    UpdateStatusBar();
    ReleaseConnectButton();
}

void frmT2Connect::ReleaseConnectButton()
{
    if (!session_->Exchange().Closing()) {
        cmdConnect->setEnabled(true);
        return;
    }
    cmdConnect->setEnabled(false);
    WhenLinkFree([this] { cmdConnect->setEnabled(true); });
}

void frmT2Connect::DisconnectCV()
{
    Timer1->stop();
    EndClockWait();
    // PanelConnected goes false now; the link closes now, or (during an
    // exchange) as soon as that exchange has failed. A second call while the
    // first one hangs up the modem changes nothing on the line.
    session_->Disconnect();
    cmdConnect->setText("Connect To Tamberline II");
    for (int i = 0; i < 16; ++i) optComPort[i]->setEnabled(PortAvailable[i]);
    for (auto* c : chkConnectionType) c->setEnabled(true);
    txtPhoneNumber->setEnabled(true);
    txtTCPIP->setEnabled(true);
    fraOnLineFunctions->hide();
    // A password entry left open has nothing to check any more.
    if (!fraPassWord->isHidden()) {
        fraPassWord->hide();
        ReleaseOnLineButtons();
    }
    for (auto* box : txtPassWord) box->setText("0");
    for (auto* box : txtNewPassWord) box->setText("0");
    // No new connect before the link is closed.
    if (session_->Exchange().Closing()) ReleaseConnectButton();
}

void frmT2Connect::ShowModemStage(ModemStage stage)
{
    auto banner = [this](const QString& text, const QColor& colour) {
        lblModem->setText(text);
        SetBackground(lblModem, colour);
        lblModem->show();
        lblModem->repaint();
    };
    switch (stage) {
    case ModemStage::Resetting: banner("Reset Modem.....", QColor(255, 255, 0)); break;
    case ModemStage::Connecting: banner("Modem Connecting.......", QColor(0, 255, 0)); break;
    case ModemStage::Disconnecting: banner("Disconnecting Modem", QColor(255, 0, 0)); break;
    case ModemStage::Connected: {
        lblModem->hide();
        const bool waiting = QApplication::overrideCursor() != nullptr;
        if (waiting) QApplication::restoreOverrideCursor();
        Inform(Title, "Modem Connected", PromptIcon::None);
        if (waiting) QApplication::setOverrideCursor(Qt::WaitCursor);
        break;
    }
    case ModemStage::Done: lblModem->hide(); break;
    }
}

// ---------------------------------------------------------------------------
// The status poll and the clock

void frmT2Connect::StartPolling()
{
    // Serial and modem sessions are polled (the session's own link type is
    // asked, so that a stored link type outside 0..2, opened as a direct
    // serial line, is polled as one), and only while the window is shown and
    // no password entry or transfer holds the buttons.
    if (state_.PanelConnected && session_->PolledLink() && isVisible() && !onLineBlocked_) Timer1->start();
}

void frmT2Connect::StopPolling() { Timer1->stop(); }

void frmT2Connect::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    StartPolling();
}

void frmT2Connect::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    QWidget::hideEvent(event);
}

void frmT2Connect::Timer1_Timer()
{
    if (!isVisible()) {
        Timer1->stop();
        return;
    }
    // A tick while the link is busy is skipped; the next one comes anyway.
    if (session_->Exchange().Busy() || !session_->PolledLink()) return;
    ReadCVStatus();
}

void frmT2Connect::ReadCVStatus()
{
    if (!state_.PanelConnected) return;
    const StatusResult result = session_->ReadCVStatus(
        [this](const StatusTexts& t) {
            lblPanelTime->setText(QString::fromStdString(t.time));
            lblPanelDate->setText(QString::fromStdString(t.date));
            lblIOInstalled->setText(QString::fromStdString(t.io));
            lblAddOnCardTypeRev->setText(QString::fromStdString(t.addOn));
        },
        [](const IoDifference& difference) {
            // The node codes and add-on cards of both, side by side, under the question.
            return Prompts().Ask({.title = Title,
                                  .text = "Host I/O Configuration Does Not Match Panel Hardware.\n"
                                          "Change Host Configuration To Match Panel?",
                                  .icon = PromptIcon::Question,
                                  .buttons = PromptButtons::YesNo,
                                  .details = {},
                                  .table = QString::fromStdString(difference.SideBySide())}) == PromptAnswer::Yes;
        });
    if (result == StatusResult::LinkLost) HandleLinkLost();
}

// The panel's clock command has no seconds: the clock goes at the start of
// the next minute. The wait (at most a minute) runs on timers, the window
// stays in use, the status bar counts it down, and a second click on the
// button cancels it; so do a disconnect, a password entry and a transfer.
// The countdown, then the time that was set, stay in the status bar while
// exchanges come and go ("Connected" does not replace them; a retry does).
void frmT2Connect::cmdSetCVClock_Click()
{
    if (ClockWaiting()) {
        EndClockWait();
        UpdateStatusBar();
        return;
    }
    if (!state_.PanelConnected) return;
    tmrClockShown_->stop();
    const int ms = MsToNextMinute(Clock());
    if (ms == 0) {
        WhenLinkFree([this] { SetClockNow(); });
        return;
    }
    clockWaited_.start();
    clockWaitMs_ = ms;
    tmrClockMinute_->start(ms);
    tmrClockTick_->start();
    cmdSetCVClock->setText(CancelClockCaption);
    ShowClockWait();
}

bool frmT2Connect::ClockWaiting() const { return tmrClockMinute_->isActive(); }

void frmT2Connect::ShowClockStatus(const QString& text)
{
    clockStatus_ = text;
    if (AppShell* shell = Shell()) shell->SetStatusPanel2(text);
}

void frmT2Connect::ShowClockWait()
{
    if (!state_.PanelConnected || onLineBlocked_) {
        EndClockWait();
        UpdateStatusBar();
        return;
    }
    const qint64 left = std::max<qint64>(0, clockWaitMs_ - clockWaited_.elapsed());
    ShowClockStatus(QString("Setting Tamberline II Clock In %1 s").arg((left + 999) / 1000));
}

void frmT2Connect::EndClockWait()
{
    tmrClockMinute_->stop();
    tmrClockTick_->stop();
    tmrClockShown_->stop();
    clockStatus_.clear();
    cmdSetCVClock->setText(SetClockCaption);
}

void frmT2Connect::ClockMinuteReached()
{
    EndClockWait();
    if (!state_.PanelConnected || onLineBlocked_) {
        UpdateStatusBar();
        return;
    }
    WhenLinkFree([this] { SetClockNow(); });
}

void frmT2Connect::SetClockNow()
{
    if (!state_.PanelConnected || onLineBlocked_) return;
    // The minute waited for, even when the link was busy a moment longer.
    const QDateTime minute = NearestMinute(Clock());
    Timer1->stop();
    bool set = false;
    {
        WaitPointer wait;
        set = session_->SetClock(minute);
    }
    // The time that was set, for a while; a failure is silent (the next
    // reading shows it).
    if (set) {
        ShowClockStatus("Tamberline II Clock Set To " + QString::fromStdString(ClockSetText(minute)));
        tmrClockShown_->start();
        if (!session_->PolledLink()) ReadCVStatus();   // the panel's clock, read at once
    } else {
        UpdateStatusBar();
    }
    StartPolling();
}

void frmT2Connect::cmdVirtualKeypad_Click()
{
    WhenLinkFree([this] {
        if (AppShell* shell = Shell(); shell && state_.PanelConnected) shell->OpenWindow("frmT2VirtualKeypad");
    });
}

void frmT2Connect::cmdNetworkDiagnostics_Click()
{
    WhenLinkFree([this] {
        if (AppShell* shell = Shell(); shell && state_.PanelConnected) shell->OpenWindow("frmT2SystemDiagnostic");
    });
}

}  // namespace t2
