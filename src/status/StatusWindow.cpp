#include "StatusWindow.h"

#include "Controls.h"
#include "PanelExchange.h"
#include "ScreenText.h"
#include "Twips.h"
#include "StatusSession.h"

#include <QCloseEvent>
#include <QPalette>

namespace t2 {

QString Element(const QString& array, int index) { return array + '_' + QString::number(index); }

QColor ToColor(status::Rgb c) { return QColor(c.red, c.green, c.blue); }

void SetBackground(QWidget* w, status::Rgb colour) { SetBackground(w, ToColor(colour)); }

void SetColours(QWidget* w, status::Rgb background, status::Rgb text)
{
    SetBackground(w, background);
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, ToColor(text));
    p.setColor(QPalette::ButtonText, ToColor(text));
    w->setPalette(p);
}

// ---------------------------------------------------------------------------

PanelWindow::PanelWindow(ProgramState& state, const WindowInfo& info, QWidget* parent)
    : QWidget(parent), state_(state)
{
    ApplyWindowInfo(this, info);
    UseFormFont(this);
    const QFont f = font();

    lblNoConnection = new QLabel("Not Connected To Tamberline II", this);
    lblNoConnection->setObjectName("lblNoConnection");
    lblNoConnection->setAlignment(Qt::AlignCenter);
    QFont big = f;
    big.setPointSizeF(14);
    big.setBold(true);
    lblNoConnection->setFont(big);
    lblNoConnection->hide();
}

PanelWindow::~PanelWindow() = default;

bool PanelWindow::IsTcp() const { return StatusLinkIsTcp(state_); }

int PanelWindow::Px(int twips) const
{
    const int dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    return (twips * dpi + 720) / 1440;
}

PanelExchange* PanelWindow::Exchange() const { return StatusExchange(); }

bool PanelWindow::ExchangeBusy() const
{
    PanelExchange* e = Exchange();
    return e && e->Busy();
}

bool PanelWindow::Send(const PanelCommand& command)
{
    PanelExchange* e = Exchange();
    return e && e->Send(command);
}

const std::string& PanelWindow::Reply() const
{
    PanelExchange* e = Exchange();
    return e ? e->PanelReply() : noReply_;
}

void PanelWindow::LinkLost()
{
    if (!state_.PanelConnected) return;  // the session ended meanwhile; nothing is lost
    StatusLinkLost();
}

void PanelWindow::SendSwitch(const PanelCommand& command)
{
    // The result does not matter: the next reading shows the state.
    WhenIdle([this, command] {
        if (!Connected()) return;
        Send(command);
        SwitchSent();
    });
}

void PanelWindow::WhenIdle(std::function<void()> action)
{
    if (PanelExchange* e = Exchange()) {
        e->WhenIdle(std::move(action), this);
    } else {
        action();  // no session: nothing to wait for
    }
}

void PanelWindow::SetClientSize(int widthTwips, int heightTwips)
{
    const QSize size(Px(widthTwips), Px(heightTwips));
    setMinimumSize(size);
    resize(size);
}

QLabel* PanelWindow::AddLabel(const QString& name, const QString& text, int left, int top, int width, int height)
{
    return PlaceLabel(this, name, text, left, top, width, height);
}

QPushButton* PanelWindow::AddButton(const QString& name, const QString& text, int left, int top, int width,
                                    int height)
{
    return PlaceButton(this, name, text, left, top, width, height);
}

void PanelWindow::PlaceNoConnection(int left, int top, int width)
{
    lblNoConnection->setGeometry(Px(left), Px(top), Px(width), Px(600));
}

void PanelWindow::closeEvent(QCloseEvent* e)
{
    StopPolling();
    QWidget::closeEvent(e);
}

// ---------------------------------------------------------------------------

StatusWindow::StatusWindow(ProgramState& state, const WindowInfo& info, QWidget* parent)
    : PanelWindow(state, info, parent)
{
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &StatusWindow::Timer1_Timer);

    cmdUpdateStatus = new QPushButton("Update Status", this);
    cmdUpdateStatus->setObjectName("cmdUpdateStatus");
    connect(cmdUpdateStatus, &QPushButton::clicked, this, &StatusWindow::cmdUpdateStatus_Click);
    cmdAutoUpdate = new QPushButton("Enable Auto Updates", this);
    cmdAutoUpdate->setObjectName("cmdAutoUpdate");
    connect(cmdAutoUpdate, &QPushButton::clicked, this, &StatusWindow::cmdAutoUpdate_Click);
    lblAutoUpdate = new QLabel("Updates Disabled", this);
    lblAutoUpdate->setObjectName("lblAutoUpdate");
    lblAutoUpdate->setAlignment(Qt::AlignCenter);
    lblAutoUpdate->setFrameShape(QFrame::Box);
    SetBackground(lblAutoUpdate, status::LightRed);
    for (QWidget* w : {static_cast<QWidget*>(cmdUpdateStatus), static_cast<QWidget*>(cmdAutoUpdate),
                       static_cast<QWidget*>(lblAutoUpdate)})
        w->hide();
}

void StatusWindow::PlaceUpdateControls(int left, int top)
{
    cmdUpdateStatus->setGeometry(Px(left), Px(top), Px(1800), Px(360));
    cmdAutoUpdate->setGeometry(Px(left + 1920), Px(top), Px(2160), Px(360));
    lblAutoUpdate->setGeometry(Px(left + 4200), Px(top + 30), Px(1800), Px(300));
    // Made first, they come last for Tab: after the rows and the window's own buttons.
    PutLastInTabOrder(this, {cmdUpdateStatus, cmdAutoUpdate});
}

void StatusWindow::OnActivate()
{
    BeforeActivate();
    if (autoUpdating_) SetAutoUpdates(false);
    Timer1->stop();
    if (!Connected()) {
        ShowConnected(false);
        cmdUpdateStatus->hide();
        cmdAutoUpdate->hide();
        lblAutoUpdate->hide();
        lblNoConnection->show();
        return;
    }
    lblNoConnection->hide();
    ShowConnected(true);
    if (!IsTcp()) {
        cmdUpdateStatus->hide();
        cmdAutoUpdate->hide();
        lblAutoUpdate->hide();
        Timer1->setInterval(StatusInterval(SerialIntervalMs()));
        Timer1->start();
        return;
    }
    cmdUpdateStatus->setEnabled(true);
    cmdUpdateStatus->show();
    cmdAutoUpdate->setText("Enable Auto Updates");
    cmdAutoUpdate->show();
    lblAutoUpdate->setText("Updates Disabled");
    SetBackground(lblAutoUpdate, status::LightRed);
    lblAutoUpdate->show();
    Timer1->setInterval(StatusInterval(TcpIntervalMs()));
    if (ReadOnTcpActivate()) ReadWhenFree();
}

void StatusWindow::StopPolling()
{
    Timer1->stop();
    if (autoUpdating_) SetAutoUpdates(false);
}

void StatusWindow::Timer1_Timer()
{
    if (!Connected()) return;
    Read();
}

void StatusWindow::cmdUpdateStatus_Click() { ReadWhenFree(); }

void StatusWindow::cmdAutoUpdate_Click()
{
    SetAutoUpdates(cmdAutoUpdate->text() == "Enable Auto Updates");
}

void StatusWindow::SetAutoUpdates(bool on)
{
    autoUpdating_ = on;
    AppShell* shell = Shell();
    if (on) {
        cmdAutoUpdate->setText("Disable Auto Updates");
        lblAutoUpdate->setText("Updates Enabled");
        SetBackground(lblAutoUpdate, status::LightGreen);
        if (shell) shell->DisableMainMenus();
        cmdUpdateStatus->setEnabled(false);
        for (QPushButton* b : LockedWhilePolling()) b->setEnabled(false);
        Timer1->start();
    } else {
        cmdAutoUpdate->setText("Enable Auto Updates");
        lblAutoUpdate->setText("Updates Disabled");
        SetBackground(lblAutoUpdate, status::LightRed);
        Timer1->stop();
        if (shell) shell->EnableMainMenus();
        cmdUpdateStatus->setEnabled(true);
        for (QPushButton* b : LockedWhilePolling()) b->setEnabled(true);
    }
}

void StatusWindow::Read()
{
    // One reading at a time, and none while another exchange waits for its
    // reply (the wait lets timers and clicks run).
    if (!Connected() || reading_ || ExchangeBusy()) return;
    reading_ = true;
    ReadStatus();
    reading_ = false;
}

void StatusWindow::ReadWhenFree()
{
    WhenIdle([this] {
        if (isVisible()) Read();
    });
}

void StatusWindow::SwitchSent()
{
    if (!IsTcp() || autoUpdating_ || readAfterSwitch_) return;
    readAfterSwitch_ = true;
    // Queued behind the switch, never inside it.
    WhenIdle([this] {
        readAfterSwitch_ = false;
        if (isVisible()) Read();
    });
}

}  // namespace t2
