// The connection window, its third job: the password entry that guards a
// download (with the optional password change), and the download and upload
// of the whole configuration.
#include "frmT2Connect.h"

#include "Prompts.h"

#include <cmath>

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

void frmT2Connect::ReleaseOnLineButtons()
{
    cmdUpLoadFromT2->show();
    cmdDownLoadToT2->show();
    BlockOnLineButtons(false);
}

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
    cmdUpLoadFromT2->hide();
    cmdDownLoadToT2->hide();
    BlockOnLineButtons(true);
    chkChangePanelPassWord->setChecked(false);
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

TransferObserver frmT2Connect::Observer(bool download)
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
    o.end = [this, download](const TransferOutcome& outcome) {
        MasterMDIMenuEnable();
        const QString code = QString::number(outcome.code);
        const QString mayNotFunction =
            "Tamberline II Controller May Not Function\nProperly Until A Download Is Complete.";
        switch (outcome.end) {
        case TransferEnd::Complete:
            Inform(download ? "Download" : "Upload", download ? "Download Complete" : "Upload Complete",
                   PromptIcon::None);
            break;
        case TransferEnd::Error:
            if (download) {
                QString text = "Download Error: " + code + "\n" + mayNotFunction;
                const std::string partly = PartlyWrittenText(outcome);
                if (!partly.empty()) text += "\n" + QString::fromStdString(partly);
                Inform("Error", text, PromptIcon::Critical);
            } else {
                Inform("Error", "Upload Error: " + code + "\nAll Host Data Cleared.", PromptIcon::Critical);
            }
            break;
        case TransferEnd::Cancelled:
            if (download)
                Inform("Download", "Manual Download Cancel.\n" + mayNotFunction, PromptIcon::Exclamation);
            else
                Inform("Upload", "Manual Upload Cancel.\nAll Host Data Cleared.", PromptIcon::Exclamation);
            break;
        default: break;
        }
    };
    return o;
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
    const TransferOutcome outcome = session_->Download(PasswordDigits(), newPassword, Observer(true));
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
    cmdUpLoadFromT2->hide();
    cmdDownLoadToT2->hide();
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
    const TransferOutcome outcome = session_->Upload(questions, Observer(false));
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
