// Forcing a timer of the panel to run now. The panel answers "02" when it has
// done so, which may take up to 80 seconds; the window stays responsive.
#include "StatusWindows.h"

#include "AccessibleNames.h"
#include "NameTips.h"
#include "PanelExchange.h"
#include "ScreenText.h"

namespace t2 {


const WindowInfo frmT2ForceTimers::Info{"frmT2ForceTimers", "Force Timers"};

frmT2ForceTimers::frmT2ForceTimers(ProgramState& state, QWidget* parent)
    : PanelWindow(state, Info, parent)
{
    for (int t = 0; t < ItemCount; ++t) {
        const QRect name = StatusRowRect(t, 240, 1620);
        lblTimerName[t] = AddLabel(Element("lblTimerName", t), "", name.left(), name.top(), name.width());
        lblTimerName[t]->setToolTip(ItemToolTip("Timer ", t));
        ShowWholeNameInToolTip(lblTimerName[t]);
        const QRect button = StatusRowRect(t, 1920, 720);
        cmdForce[t] = AddButton(Element("cmdForce", t), "Force", button.left(), button.top(), button.width());
        connect(cmdForce[t], &QPushButton::clicked, this, [this, t] { cmdForce_Click(t); });
    }
    lblPleaseWait = AddLabel("lblPleaseWait", "Forcing Timer...Please Wait", 2400, 6120, 6000, 420);
    lblPleaseWait->setAlignment(Qt::AlignCenter);
    lblPleaseWait->setFrameShape(QFrame::Box);
    QFont bold = lblPleaseWait->font();
    bold.setBold(true);
    bold.setPointSizeF(10);
    lblPleaseWait->setFont(bold);
    SetBackground(lblPleaseWait, status::Yellow);
    lblPleaseWait->hide();
    PlaceNoConnection(2400, 2640, 6000);
    SetClientSize(10800, 6720);
    ShowRows(false);
}

void frmT2ForceTimers::ShowRows(bool shown)
{
    for (int t = 0; t < ItemCount; ++t) {
        lblTimerName[t]->setText(ToScreen(Config().TimerNames[t]));
        NameRow(lblTimerName[t], {cmdForce[t]});
        lblTimerName[t]->setVisible(shown);
        cmdForce[t]->setVisible(shown);
    }
}

void frmT2ForceTimers::OnActivate()
{
    const bool connected = Connected();
    lblNoConnection->setVisible(!connected);
    ShowRows(connected);
    if (!forcing_) lblPleaseWait->hide();
}

void frmT2ForceTimers::cmdForce_Click(int timer)
{
    if (forcing_ || !Connected()) return;
    WhenIdle([this, timer] {
        if (!forcing_ && Connected() && isVisible()) Force(timer);
    });
}

void frmT2ForceTimers::Force(int timer)
{
    PanelExchange* exchange = Exchange();
    if (!exchange) return;
    forcing_ = true;
    for (QPushButton* b : cmdForce) b->setEnabled(false);
    lblPleaseWait->show();
    lblPleaseWait->repaint();

    bool done = false;
    {
        const PanelExchange::Turn turn(*exchange);  // the command and the wait for its end belong together
        Send(ForceTimerCommand(timer));  // the result does not matter
        done = Send(ForceTimerWaitCommand());
    }

    lblPleaseWait->hide();
    for (QPushButton* b : cmdForce) b->setEnabled(true);
    forcing_ = false;
    if (!done) {
        repaint();
        LinkLost();
    }
}

}  // namespace t2
