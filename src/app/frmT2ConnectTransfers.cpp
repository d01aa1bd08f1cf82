// The connection window, its third job: the password entry that guards a
// download (with the optional password change), the download with the
// backup and the question before it, the upload, and the comparison with the
// panel.
#include "frmT2Connect.h"
#include "frmT2CompareWithPanel.h"

#include "Prompts.h"

#include "Defaults.h"
#include "Windows1252.h"

#include <QDir>
#include <QSettings>

#include <cmath>
#include <memory>

namespace t2 {

PasswordDigitsArray frmT2Connect::PasswordDigits() const
{
    PasswordDigitsArray digits{};
    for (int k = 0; k < 6; ++k) {
        bool ok = false;
        const double value = txtPassWord[k]->text().trimmed().toDouble(&ok);
        digits[k] = ok ? static_cast<int>(std::lround(value)) : 0;
    }
    return digits;
}

void frmT2Connect::BlockOnLineButtons(bool block)
{
    onLineBlocked_ = block;
    for (QWidget* w : std::initializer_list<QWidget*>{cmdConnect, cmdRefresh, cmdSetCVClock, cmdVirtualKeypad,
                                                      cmdNetworkDiagnostics, lblPanelTime, lblPanelDate})
        w->setEnabled(!block);
}

void frmT2Connect::ShowTransferButtons(bool show)
{
    for (QWidget* w : std::initializer_list<QWidget*>{cmdUpLoadFromT2, cmdDownLoadToT2, cmdCompareWithT2})
        w->setVisible(show);
}

void frmT2Connect::ReleaseOnLineButtons()
{
    ShowTransferButtons(true);
    BlockOnLineButtons(false);
}

namespace {

const char* const BackUpFirstKey = "BackUpPanelSettingsFirst";

QSettings UserSettings() { return QSettings(QSettings::NativeFormat, QSettings::UserScope, "VEL", "Tamberline II"); }

// A path for a message, as this system writes it.
QString Shown(const std::string& path) { return QDir::toNativeSeparators(QString::fromStdString(path)); }

}  // namespace

bool frmT2Connect::BackUpFirstRemembered() { return UserSettings().value(BackUpFirstKey, true).toBool(); }

void frmT2Connect::RememberBackUpFirst(bool on) { UserSettings().setValue(BackUpFirstKey, on); }

void frmT2Connect::ShowProgress(const QString& caption)
{
    lblActivityProgress->setText(caption);
    lblActivityProgress->show();
    pbActivityProgress->setValue(0);
    pbActivityProgress->show();
}

void frmT2Connect::HideProgress()
{
    lblActivityProgress->hide();
    pbActivityProgress->hide();
}

void frmT2Connect::MasterMDIMenuDisable()
{
    if (AppShell* shell = Shell()) shell->DisableMainMenus();
    cmdCancelUpDownLoad->show();
    session_->Exchange().LetEventsRun();
}

void frmT2Connect::MasterMDIMenuEnable()
{
    if (AppShell* shell = Shell()) shell->EnableMainMenus();
    cmdCancelUpDownLoad->hide();
}

// ---------------------------------------------------------------------------
// The password entry

void frmT2Connect::cmdDownLoadToT2_Click()
{
    WhenLinkFree([this] {
        if (state_.PanelConnected && !onLineBlocked_) OpenPasswordEntry();
    });
}

void frmT2Connect::OpenPasswordEntry()
{
    Timer1->stop();
    ShowTransferButtons(false);
    BlockOnLineButtons(true);
    chkChangePanelPassWord->setChecked(false);
    const int link = session_->ConnectionType();
    const char* line = link == ConnectTcpIp ? "TCP/IP link" : link == ConnectModem ? "modem line" : "serial line";
    chkBackUpFirst->setToolTip(QString("Reads the panel's present settings and saves them in the Backups folder "
                                       "before anything is written (%1 on this %2), then shows what the "
                                       "download will change.")
                                   .arg(QString::fromStdString(PanelReadTimeEstimate(link)), line));
    fraPassWord->show();
    txtPassWord[0]->setFocus();
}

void frmT2Connect::chkChangePanelPassWord_Click()
{
    const bool on = chkChangePanelPassWord->isChecked();
    lblNewPassWord->setVisible(on);
    for (auto* box : txtNewPassWord) box->setVisible(on);
    if (on) txtNewPassWord[0]->setFocus();
}

void frmT2Connect::cmdPassWordCancel_Click()
{
    ReleaseOnLineButtons();
    fraPassWord->hide();
    StartPolling();
}

void frmT2Connect::cmdPassWordContinue_Click()
{
    WhenLinkFree([this] { DownloadWithPassword(); });
}

// ---------------------------------------------------------------------------
// The transfers

TransferObserver frmT2Connect::Observer(Transfer transfer)
{
    TransferObserver o;
    o.begin = [this] {
        MasterMDIMenuDisable();
        pbActivityProgress->setValue(0);
    };
    o.progress = [this](int done, const std::string& caption) {
        pbActivityProgress->setValue(done);
        lblActivityProgress->setText(QString::fromStdString(caption));
    };
    o.end = [this, transfer](const TransferOutcome& outcome) {
        MasterMDIMenuEnable();
        const bool download = transfer == Transfer::Download;
        const QString code = QString::number(outcome.code);
        const QString mayNotFunction =
            "Tamberline II Controller May Not Function\nProperly Until A Download Is Complete.";
        // Where the panel's settings went before the download wrote anything.
        const QString backup = outcome.backupPath.empty()
                                   ? QString()
                                   : "\nThe Panel's Previous Settings Were Saved As:\n" + Shown(outcome.backupPath);
        switch (outcome.end) {
        case TransferEnd::Complete:
            if (transfer == Transfer::Compare) break;  // the comparison window shows the result
            Inform(download ? "Download" : "Upload", download ? "Download Complete" + backup : "Upload Complete",
                   PromptIcon::None);
            break;
        case TransferEnd::Error:
            if (download) {
                QString text = "Download Error: " + code + "\n" + mayNotFunction;
                const std::string partly = PartlyWrittenText(outcome);
                if (!partly.empty()) text += "\n" + QString::fromStdString(partly);
                Inform("Error", text + backup, PromptIcon::Critical);
            } else {
                // A comparison read into memory alone: nothing was cleared.
                const bool cleared = transfer == Transfer::Upload;
                Inform("Error", "Upload Error: " + code + (cleared ? "\nAll Host Data Cleared." : ""),
                       PromptIcon::Critical);
            }
            break;
        case TransferEnd::Cancelled:
            if (download)
                Inform("Download", "Manual Download Cancel.\n" + mayNotFunction + backup, PromptIcon::Exclamation);
            else
                Inform("Upload", transfer == Transfer::Upload ? "Manual Upload Cancel.\nAll Host Data Cleared."
                                                              : "Manual Upload Cancel.",
                       PromptIcon::Exclamation);
            break;
        case TransferEnd::BackupReadFailed:
            Inform("Error", QString::fromStdString(BackupStopText(outcome)), PromptIcon::Critical);
            break;
        case TransferEnd::BackupNotSaved:
            Inform("Error",
                   QString::fromStdString(BackupStopText(outcome)) +
                       "\nTo Download Without A Backup, Clear \"Back Up Panel Settings First\".",
                   PromptIcon::Critical);
            break;
        case TransferEnd::BackupCancelled:
            Inform("Download", QString::fromStdString(BackupStopText(outcome)), PromptIcon::Exclamation);
            break;
        case TransferEnd::AlreadyHeld:
            Inform("Download",
                   "The Tamberline II Already Holds These Settings." +
                       QString(outcome.passwordChanged ? "\nThe Panel Password Was Changed." : "") + backup,
                   PromptIcon::Information);
            break;
        default: break;
        }
    };
    return o;
}

DownloadSafeguards frmT2Connect::Safeguards()
{
    DownloadSafeguards s;
    if (!chkBackUpFirst->isChecked()) return s;
    s.backupFolder = BackupsFolder();
    s.confirm = [](const std::vector<ReportDifference>& changes) {
        const QString text = QString("The Download Will Change %1 Items In The Tamberline II. Continue?")
                                 .arg(changes.size());
        const QString details = BytesToText(DifferencesByGroupText(changes, "Panel Now", "After The Download"));
        return AskYesNo("Download", text, PromptIcon::Question, details);
    };
    return s;
}

void frmT2Connect::DownloadWithPassword()
{
    // A second Continue queued behind the first finds the entry closed.
    if (!state_.PanelConnected || fraPassWord->isHidden()) return;
    fraPassWord->hide();
    ShowProgress("Downloading Settings To Tamberline II");
    std::optional<PasswordDigitsArray> newPassword;
    if (chkChangePanelPassWord->isChecked()) {
        PasswordDigitsArray digits{};
        for (int k = 0; k < 6; ++k) digits[k] = txtNewPassWord[k]->text().toInt();
        newPassword = digits;
    }
    const TransferOutcome outcome =
        session_->Download(PasswordDigits(), newPassword, Observer(Transfer::Download), Safeguards());
    if (outcome.end == TransferEnd::LinkLost) {
        // The password could not be read or written: a lost link, unless the
        // session was closed meanwhile.
        if (state_.PanelConnected) HandleLinkLost();
        DisconnectCV();
        ReleaseOnLineButtons();
        HideProgress();
        return;
    }
    if (outcome.end == TransferEnd::PasswordRefused)
        Inform(Title, "Password Invalid.\nDownload Denied.", PromptIcon::Critical);
    if (outcome.passwordChanged) {
        for (int k = 0; k < 6; ++k) txtPassWord[k]->setText(txtNewPassWord[k]->text());
    }
    EndTransfer(outcome);
}

void frmT2Connect::cmdUpLoadFromT2_Click()
{
    WhenLinkFree([this] {
        if (state_.PanelConnected && !onLineBlocked_) UploadFromPanel();
    });
}

void frmT2Connect::UploadFromPanel()
{
    Timer1->stop();
    ShowTransferButtons(false);
    BlockOnLineButtons(true);
    ShowProgress("Uploading Settings From Tamberline II");

    UploadQuestions questions;
    questions.discardHostChanges = [] { return AskYesNo(Title, "Discard All Host Changes?", PromptIcon::Question); };
    questions.includeNames = [] {
        const PromptAnswer a = AskYesNoCancel(
            Title,
            "Names Stored In The Tamberline II Panel Are Limited To Ten Characters.\n"
            "By Uploading The Names From The Tamberline II, Any Longer Names Will Be Lost.\n"
            "Do You Want To Include Tamberline II Names In This Upload?",
            PromptIcon::Question);
        return a == PromptAnswer::Yes ? NamesAnswer::Yes : a == PromptAnswer::No ? NamesAnswer::No : NamesAnswer::Cancel;
    };
    const TransferOutcome outcome = session_->Upload(questions, Observer(Transfer::Upload));
    if (outcome.end == TransferEnd::NotStarted) Inform(Title, "Upload Cancelled", PromptIcon::None);
    if (outcome.end == TransferEnd::Error || outcome.end == TransferEnd::Cancelled) {
        // The session is closed, the configuration reset and no longer tied
        // to the settings file: show it so.
        DisconnectCV();
        ShowConnectionSettings();
        if (AppShell* shell = Shell()) shell->UpdateStatusBar();
    }
    EndTransfer(outcome);
}

void frmT2Connect::cmdCompareWithT2_Click()
{
    WhenLinkFree([this] {
        if (state_.PanelConnected && !onLineBlocked_) CompareWithPanel();
    });
}

void frmT2Connect::CompareWithPanel()
{
    Timer1->stop();
    ShowTransferButtons(false);
    BlockOnLineButtons(true);
    ShowProgress("Reading Settings From Tamberline II");
    // Into memory only: the host configuration, DataChanged and the panel
    // stay as they are.
    auto copy = std::make_shared<PanelCopy>();
    const TransferOutcome outcome =
        session_->UploadIntoMemory(state_.Config, state_.Devices, *copy, Observer(Transfer::Compare));
    EndTransfer(outcome);
    if (outcome.end != TransferEnd::Complete || outcome.linkGone) return;
    AppShell* shell = Shell();
    if (!shell) return;
    if (auto* compare = dynamic_cast<frmT2CompareWithPanel*>(shell->Window(frmT2CompareWithPanel::Info.name))) {
        compare->ShowPanelCopy(std::move(copy));
        shell->OpenWindow(frmT2CompareWithPanel::Info.name);
    }
}

void frmT2Connect::EndTransfer(const TransferOutcome& outcome)
{
    ReleaseOnLineButtons();
    HideProgress();
    // A link that went away during the transfer ends the session, after the
    // transfer's own message.
    if (outcome.linkGone) {
        HandleLinkLost();
        return;
    }
    StartPolling();
}

}  // namespace t2
