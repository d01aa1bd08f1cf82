// The base of the live monitoring and control windows.
//
// PanelWindow: a child window that talks to the panel through the session's
// exchange (StatusSession.h), with the "Not Connected To Tamberline II" label
// and the small helpers its controls need. Closing it stops its polling.
//
// StatusWindow: the behaviour the status windows share:
//  - not connected: every row hidden, "Not Connected To Tamberline II";
//  - serial and modem links: polls by itself every 250 ms, the update
//    buttons hidden;
//  - TCP/IP: reads once on activation (where the window does), once after
//    each switching command, then only on "Update Status" or, after
//    "Enable Auto Updates", every 750 ms with the
//    main menus and the window's other command buttons disabled until
//    "Disable Auto Updates"; closing the window ends the auto updates and
//    gives the menus back;
//  - a timer tick that comes while the link is busy is skipped (the next one
//    comes anyway); a reading the user asks for ("Update Status", opening the
//    window) and every switching command wait their turn in the exchange's
//    queue (PanelExchange::WhenIdle) and then run, never dropped.
#pragma once

#include "StatusDecode.h"
#include "WindowRegistry.h"

#include "Commands.h"
#include "PanelConfig.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

namespace t2 {

class PanelExchange;

// The object name of element index of a control array ("lblRelayName_3").
QString Element(const QString& array, int index);
// Background (and optionally text) colour of a label or button.
void SetBackground(QWidget* w, status::Rgb colour);
void SetColours(QWidget* w, status::Rgb background, status::Rgb text);
QColor ToColor(status::Rgb colour);

class PanelWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    PanelWindow(ProgramState& state, const WindowInfo& info, QWidget* parent = nullptr);
    ~PanelWindow() override;

    ProgramState& State() const { return state_; }
    PanelConfig& Config() const { return state_.Config; }
    bool Connected() const { return state_.PanelConnected; }
    // The session runs over TCP/IP (read on request) rather than a serial
    // line or modem (polled).
    bool IsTcp() const;
    int Px(int twips) const;

    QLabel* lblNoConnection;

protected:
    PanelExchange* Exchange() const;
    bool ExchangeBusy() const;
    // One command; false without an exchange, when it failed or was refused.
    bool Send(const PanelCommand& command);
    const std::string& Reply() const;
    // A reading failed: the session ends through HandleLinkLost, unless it
    // has already ended (the user disconnected while the command waited).
    void LinkLost();
    // A switching command whose result does not matter; it waits its turn
    // for the link and goes if the session is still open then, and
    // SwitchSent follows it.
    void SendSwitch(const PanelCommand& command);
    // A switching command the user gave has gone (nothing here).
    virtual void SwitchSent() {}
    // Runs action now when the link is free, else as soon as it is (skipped
    // if this window is gone by then). The action checks Connected() itself:
    // the session may have ended meanwhile.
    void WhenIdle(std::function<void()> action);

    void SetClientSize(int widthTwips, int heightTwips);
    QLabel* AddLabel(const QString& name, const QString& text, int left, int top, int width, int height = 300);
    QPushButton* AddButton(const QString& name, const QString& text, int left, int top, int width,
                           int height = 300);
    // The "Not Connected To Tamberline II" label, centred in a box of the size given.
    void PlaceNoConnection(int left, int top, int width);

    void closeEvent(QCloseEvent* e) override;

private:
    ProgramState& state_;
    std::string noReply_;
};

class StatusWindow : public PanelWindow {
    Q_OBJECT
public:
    StatusWindow(ProgramState& state, const WindowInfo& info, QWidget* parent = nullptr);

    void OnActivate() override;
    void StopPolling() override;

    bool AutoUpdating() const { return autoUpdating_; }

    // Event handlers.
    void Timer1_Timer();
    void cmdUpdateStatus_Click();
    void cmdAutoUpdate_Click();

    QTimer* Timer1;
    QPushButton* cmdUpdateStatus;
    QPushButton* cmdAutoUpdate;
    QLabel* lblAutoUpdate;

protected:
    // One reading and display (ShowRelayStatus, ShowGroupStatus, ...).
    virtual void ReadStatus() = 0;
    // Rows and controls for the connected (true) or not connected state.
    virtual void ShowConnected(bool connected) = 0;
    // Command buttons besides "Update Status" disabled while auto updates run.
    virtual QList<QPushButton*> LockedWhilePolling() const { return {}; }
    // Whether activation on TCP/IP reads once.
    virtual bool ReadOnTcpActivate() const { return true; }
    virtual int SerialIntervalMs() const { return 250; }
    virtual int TcpIntervalMs() const { return 750; }
    // Runs first on every activation.
    virtual void BeforeActivate() {}

    // A reading, unless none may start now (a tick while the link is busy).
    void Read();
    // A reading the user asked for: when the link is free, if the window is
    // still open and the session too.
    void ReadWhenFree();
    // On TCP/IP with auto updates off nothing else reads: one reading queued
    // behind the switch shows what the panel did (one for several switches
    // given before it runs).
    void SwitchSent() override;
    // The two buttons and the label, in a row from (left, top); last for Tab.
    void PlaceUpdateControls(int left, int top);

private:
    void SetAutoUpdates(bool on);
    bool autoUpdating_ = false;
    bool reading_ = false;
    bool readAfterSwitch_ = false;   // a reading after a switch is queued
};

}  // namespace t2
