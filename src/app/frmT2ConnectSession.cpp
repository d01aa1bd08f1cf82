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
        [](const IoDifference&) {
            return AskYesNo(Title,
                            "Host I/O Configuration Does Not Match Panel Hardware.\n"
                            "Change Host Configuration To Match Panel?",
                            PromptIcon::Question);
        });
    if (result == StatusResult::LinkLost) HandleLinkLost();
}

void frmT2Connect::cmdSetCVClock_Click()
{
    WhenLinkFree([this] { SetClockNow(); });
}

void frmT2Connect::SetClockNow()
{
    if (!state_.PanelConnected) return;
    const QDateTime now = Clock();
    Timer1->stop();
    {
        WaitPointer wait;
        session_->SetClock(now);  // a failure shows in the next reading
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
