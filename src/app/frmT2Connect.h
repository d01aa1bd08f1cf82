// The connection window: the link choice, connect and disconnect, the panel's
// firmware revision, status and clock, the password entry, and the download
// and upload of the configuration. The logic lives in t2::PanelSession; this
// window shows it and asks the user. Other windows reach the session through
// LinkLost.h.
//
// Three files, by job: frmT2Connect.cpp builds the controls and keeps the link
// choice; frmT2ConnectSession.cpp connects (one path for every link; only the
// link settings differ), disconnects, polls and sets the clock;
// frmT2ConnectTransfers.cpp has the password entry and the transfers, the
// backup and question before a download, and "Compare With Tamberline II"
// (which reads the panel's settings into memory and shows them in
// frmT2CompareWithPanel).
//
// Every button that needs the panel waits its turn for the link
// (PanelExchange::WhenIdle): a click that lands while the status poll waits
// for its reply runs right after it. The poll (Timer1) runs only while the
// window is shown and no password entry or transfer holds the buttons.
#pragma once

#include "ClickLabel.h"
#include "PanelSession.h"
#include "LinkLost.h"
#include "WindowRegistry.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

namespace t2 {

class frmT2Connect : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2Connect(ProgramState& state, QWidget* parent = nullptr);
    ~frmT2Connect() override;

    // Activation: link choice set up from the configuration, port discovery,
    // password frame height, polling on while connected, window filling the
    // main window.
    void OnActivate() override;
    void StopPolling() override;
    // Undo and redo: the link settings shown again.
    void ConfigurationReplaced() override;

    PanelSession& Session() { return *session_; }

    // --- Window methods ---------------------------------------------------------
    void FindComPorts();
    void LoadRevLabels();
    void ShowRevLabels();
    void ConnectSerial();
    void ConnectTCP();
    void DisconnectCV();
    void ReadCVStatus();
    void MasterMDIMenuDisable();
    void MasterMDIMenuEnable();

    // The six digits of txtPassWord, the password a download leaves in the panel.
    PasswordDigitsArray PasswordDigits() const;

    // "Back Up Panel Settings First", kept between runs (QSettings "VEL" /
    // "Tamberline II", as the recent files); on unless the user cleared it.
    static bool BackUpFirstRemembered();
    static void RememberBackUpFirst(bool on);

    // The moment cmdSetCVClock sends (the PC clock unless a test sets another).
    std::function<QDateTime()> Clock = [] { return QDateTime::currentDateTime(); };
    // cmdSetCVClock waits for the start of the next minute (its caption then
    // reads "Cancel Clock Setting").
    bool ClockWaiting() const;

    // --- Window state -------------------------------------------------------------
    std::array<bool, 17> PortAvailable{};

    // --- Controls -------------------------------------------------------------------
    std::array<QCheckBox*, 3> chkConnectionType{};
    std::array<QRadioButton*, 16> optComPort{};
    QLineEdit* txtPhoneNumber;
    QLineEdit* txtTCPIP;
    QLabel* lblModem;
    QPushButton* cmdConnect;

    QGroupBox* fraOnLineFunctions;
    QPushButton* cmdRefresh;
    QPushButton* cmdSetCVClock;
    QPushButton* cmdVirtualKeypad;
    QPushButton* cmdNetworkDiagnostics;
    QPushButton* cmdDownLoadToT2;
    QPushButton* cmdUpLoadFromT2;
    QPushButton* cmdCompareWithT2;     // "Compare With Tamberline II"
    QPushButton* cmdCancelUpDownLoad;
    QLabel* lblTimeCaption;
    QLabel* lblDateCaption;
    QLabel* lblIOInstalledCaption;
    QLabel* lblAddOnCardCaption;
    QLabel* lblPanelTime;
    QLabel* lblPanelDate;
    QLabel* lblIOInstalled;
    QLabel* lblAddOnCardTypeRev;

    QGroupBox* fraFirmwareRevision;
    std::array<QLabel*, RevisionTextLength> lblT2FirmwareRevision{};

    QGroupBox* fraPassWord;
    QLabel* lblPassWord;
    std::array<QLineEdit*, 6> txtPassWord{};
    QCheckBox* chkChangePanelPassWord;
    QLabel* lblNewPassWord;
    std::array<QLineEdit*, 6> txtNewPassWord{};
    QCheckBox* chkBackUpFirst;         // "Back Up Panel Settings First"
    QPushButton* cmdPassWordContinue;
    QPushButton* cmdPassWordCancel;

    QLabel* lblActivityProgress;
    QProgressBar* pbActivityProgress;

    QTimer* Timer1;

    static const QString Title;        // "VEL Tamberline II"
    static const QString TcpTitle;     // "VEL Corvanthine"
    static const QString SetClockCaption;     // "Set Tamberline II Clock"
    static const QString CancelClockCaption;  // "Cancel Clock Setting", while the clock waits

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildControls();
    void chkConnectionType_Click(int index);
    void ShowLinkChoice(int index);
    void optComPort_Click(int index);
    void cmdConnect_Click();
    // The one connect path: the link opens as the settings say, the rest is
    // the same for every link.
    void Connect(const LinkSettings& link);
    // The connect button as a toggle, connected: disconnect at once.
    void DisconnectByButton();
    // The connect button back, once a disconnect under way has closed the link.
    void ReleaseConnectButton();
    // Runs action when the link is free (at once when it is).
    void WhenLinkFree(std::function<void()> action);
    void Timer1_Timer();
    void cmdSetCVClock_Click();
    void ShowClockStatus(const QString& text);
    void ShowClockWait();
    void EndClockWait();
    void ClockMinuteReached();
    void SetClockNow();
    void cmdDownLoadToT2_Click();
    void cmdPassWordCancel_Click();
    void cmdPassWordContinue_Click();
    void OpenPasswordEntry();
    void DownloadWithPassword();
    void chkChangePanelPassWord_Click();
    void cmdUpLoadFromT2_Click();
    void UploadFromPanel();
    void cmdCompareWithT2_Click();
    void CompareWithPanel();
    // The backup and the question before a download, as the check box says.
    DownloadSafeguards Safeguards();
    // The transfer buttons hidden (during the password entry and a transfer) or shown.
    void ShowTransferButtons(bool show);
    // The buttons after the password entry or a transfer.
    void ReleaseOnLineButtons();
    // After a transfer: the buttons back, then polling again, or the session
    // ended when the link went away.
    void EndTransfer(const TransferOutcome& outcome);
    void cmdVirtualKeypad_Click();
    void cmdNetworkDiagnostics_Click();
    // Blocks (true) or releases the on-line buttons and the clock labels.
    void BlockOnLineButtons(bool block);
    void ShowProgress(const QString& caption);
    void HideProgress();
    void ShowConnectionSettings();
    void StartPolling();
    enum class Transfer { Download, Upload, Compare };
    TransferObserver Observer(Transfer transfer);
    void ShowModemStage(ModemStage stage);

    ProgramState& state_;
    std::unique_ptr<PanelSession> session_;
    bool onLineBlocked_ = false;  // a password entry or a transfer holds the on-line buttons
    QTimer* tmrClockMinute_;      // the start of the next minute
    QTimer* tmrClockTick_;        // the countdown in the status bar
    QTimer* tmrClockShown_;       // how long the time set stays there
    QString clockStatus_;         // the countdown or the time set, shown in place of "Connected"
    QElapsedTimer clockWaited_;   // since the clock wait began
    qint64 clockWaitMs_ = 0;      // its length
};

}  // namespace t2
