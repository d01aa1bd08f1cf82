#include "frmT2Connect.h"

#include "Controls.h"
#include "Prompts.h"
#include "Twips.h"
#include "Windows1252.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <cmath>

namespace t2 {

const QString frmT2Connect::Title = "VEL Tamberline II";
const QString frmT2Connect::TcpTitle = "VEL Corvanthine";

namespace {

// Only these characters may be typed into the phone number and the address.
const QString PhoneCharacters = "0123456789 -,";
const QString AddressCharacters = "0123456789.";

// The text after an edit with the characters the edit brought in (typed or
// pasted) limited to the allowed ones. What the box held before stays as it
// was: an address or number read from a settings file may hold other
// characters (a host name, a port), and typing one digit must not strip them.
QString KeepInserted(const QString& before, const QString& after, const QString& allowed)
{
    qsizetype prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    QString out = after.left(prefix);
    for (QChar c : after.mid(prefix, after.size() - prefix - suffix))
        if (allowed.contains(c)) out += c;
    out += after.right(suffix);
    return out;
}

void Colour(QLabel* label, const QColor& colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::Window, colour);
    label->setPalette(p);
}

template <typename W>
W* Named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

}  // namespace

const WindowInfo frmT2Connect::Info{"frmT2Connect", "Connect"};

frmT2Connect::frmT2Connect(ProgramState& state, QWidget* parent)
    : QWidget(parent), state_(state), session_(std::make_unique<PanelSession>(state))
{
    ApplyWindowInfo(this, Info);
    QFont f = font();
    f.setPointSizeF(8.25);
    setFont(f);
    setMinimumSize(TwipsSize(10680, 6840));

    SetActiveSession(session_.get());

    PanelExchange& exchange = session_->Exchange();
    exchange.SetStatusCallback([](const QString& text) {
        if (AppShell* shell = Shell()) shell->SetStatusPanel2(text);
    });
    exchange.SetModemStageCallback([this](ModemStage stage) { ShowModemStage(stage); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &frmT2Connect::Timer1_Timer);

    BuildControls();
    LoadRevLabels();
    ShowRevLabels();

    if (AppShell* shell = Shell()) {
        shell->SetDisconnectHandler([this] { DisconnectCV(); });
        shell->SetNetworkDiagnosticsHandler([this](bool visible) { cmdNetworkDiagnostics->setVisible(visible); });
    }
}

frmT2Connect::~frmT2Connect()
{
    Timer1->stop();
    if (AppShell* shell = Shell()) {
        shell->SetDisconnectHandler(nullptr);
        shell->SetNetworkDiagnosticsHandler(nullptr);
    }
    session_.reset();  // closes an open link
}

// ---------------------------------------------------------------------------
// Controls

void frmT2Connect::BuildControls()
{
    // The link choice and the ports.
    const char* linkCaptions[3] = {"USB", "Modem", "TCP-IP"};
    for (int k = 0; k < 3; ++k) {
        chkConnectionType[k] = Named(new QCheckBox(linkCaptions[k], this), QString("chkConnectionType_%1").arg(k));
        chkConnectionType[k]->setGeometry(TwipsRect(240 + 1200 * k, 240, 1100, 300));
        connect(chkConnectionType[k], &QCheckBox::clicked, this, [this, k] { chkConnectionType_Click(k); });
    }
    for (int i = 0; i < 16; ++i) {
        optComPort[i] = Named(new QRadioButton(QString("COM%1").arg(i + 1), this), QString("optComPort_%1").arg(i));
        optComPort[i]->setGeometry(TwipsRect(240 + 1080 * (i % 4), 720 + 360 * (i / 4), 1000, 300));
        connect(optComPort[i], &QRadioButton::clicked, this, [this, i] { optComPort_Click(i); });
    }
    txtTCPIP = Named(new QLineEdit(this), "txtTCPIP");
    txtTCPIP->setGeometry(TwipsRect(240, 720, 3600, 330));
    txtTCPIP->setPlaceholderText("Panel Address");
    txtTCPIP->installEventFilter(this);
    connect(txtTCPIP, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString kept = KeepInserted(BytesToText(state_.Config.PanelAddress()), text, AddressCharacters);
        if (kept != text) txtTCPIP->setText(kept);
        state_.Config.PanelAddress() = TextToBytes(kept);
        SetDataChanged(state_, true);
    });
    txtPhoneNumber = Named(new QLineEdit(this), "txtPhoneNumber");
    txtPhoneNumber->setGeometry(TwipsRect(240, 2280, 3600, 330));
    txtPhoneNumber->setPlaceholderText("Phone Number");
    txtPhoneNumber->installEventFilter(this);
    connect(txtPhoneNumber, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString kept = KeepInserted(BytesToText(state_.Config.ModemPhoneNumber()), text, PhoneCharacters);
        if (kept != text) txtPhoneNumber->setText(kept);
        state_.Config.ModemPhoneNumber() = TextToBytes(kept);
        SetDataChanged(state_, true);
    });

    cmdConnect = Named(new QPushButton("Connect To Tamberline II", this), "cmdConnect");
    cmdConnect->setGeometry(TwipsRect(240, 2760, 4320, 495));
    connect(cmdConnect, &QPushButton::clicked, this, &frmT2Connect::cmdConnect_Click);

    lblModem = Named(new QLabel("Modem Connecting.......", this), "lblModem");
    lblModem->setGeometry(TwipsRect(240, 3360, 4320, 375));
    lblModem->setAlignment(Qt::AlignCenter);
    lblModem->setAutoFillBackground(true);
    lblModem->hide();

    // The password entry.
    fraPassWord = Named(new QGroupBox("Password", this), "fraPassWord");
    fraPassWord->setGeometry(TwipsRect(240, 3840, 4320, 2055));
    lblPassWord = Named(new QLabel("Enter Current Password", fraPassWord), "lblPassWord");
    lblPassWord->setGeometry(TwipsRect(120, 270, 2640, 255));
    chkChangePanelPassWord = Named(new QCheckBox("Change Panel Password", fraPassWord), "chkChangePanelPassWord");
    chkChangePanelPassWord->setGeometry(TwipsRect(120, 960, 2640, 300));
    connect(chkChangePanelPassWord, &QCheckBox::toggled, this, &frmT2Connect::chkChangePanelPassWord_Click);
    lblNewPassWord = Named(new QLabel("Enter New Password", fraPassWord), "lblNewPassWord");
    lblNewPassWord->setGeometry(TwipsRect(120, 1260, 2640, 255));
    for (int k = 0; k < 6; ++k) {
        for (auto* row : {&txtPassWord, &txtNewPassWord}) {
            const bool current = row == &txtPassWord;
            auto* box = new QLineEdit("0", fraPassWord);
            box->setObjectName(QString(current ? "txtPassWord_%1" : "txtNewPassWord_%1").arg(k));
            box->setGeometry(TwipsRect(120 + 420 * k, current ? 540 : 1530, 360, 330));
            box->setAlignment(Qt::AlignCenter);
            box->setMaxLength(1);
            box->setContextMenuPolicy(Qt::NoContextMenu);
            box->setDragEnabled(false);
            box->setAcceptDrops(false);
            box->setProperty("index", k);
            box->installEventFilter(this);
            (*row)[k] = box;
        }
    }
    cmdPassWordContinue = Named(new QPushButton("Continue", fraPassWord), "cmdPassWordContinue");
    cmdPassWordContinue->setGeometry(TwipsRect(2880, 480, 1300, 420));
    connect(cmdPassWordContinue, &QPushButton::clicked, this, &frmT2Connect::cmdPassWordContinue_Click);
    cmdPassWordCancel = Named(new QPushButton("Cancel", fraPassWord), "cmdPassWordCancel");
    cmdPassWordCancel->setGeometry(TwipsRect(2880, 1470, 1300, 420));
    connect(cmdPassWordCancel, &QPushButton::clicked, this, &frmT2Connect::cmdPassWordCancel_Click);
    chkChangePanelPassWord_Click();
    fraPassWord->hide();

    // The on-line functions.
    fraOnLineFunctions = Named(new QGroupBox("On Line Functions", this), "fraOnLineFunctions");
    fraOnLineFunctions->setGeometry(TwipsRect(4800, 120, 5640, 5520));
    auto caption = [this](const char* text, const char* name, int top) {
        auto* l = Named(new QLabel(text, fraOnLineFunctions), name);
        l->setGeometry(TwipsRect(240, top, 1500, 300));
        return l;
    };
    auto field = [this](const char* name, int top) {
        auto* l = Named(new QLabel(fraOnLineFunctions), name);
        l->setGeometry(TwipsRect(1800, top, 3600, 300));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        return l;
    };
    lblTimeCaption = caption("Time", "lblTimeCaption", 360);
    lblDateCaption = caption("Date", "lblDateCaption", 720);
    lblIOInstalledCaption = caption("I/O Installed", "lblIOInstalledCaption", 1080);
    lblAddOnCardCaption = caption("Add-On Card", "lblAddOnCardCaption", 1440);
    lblPanelTime = field("lblPanelTime", 360);
    lblPanelDate = field("lblPanelDate", 720);
    lblIOInstalled = field("lblIOInstalled", 1080);
    lblAddOnCardTypeRev = field("lblAddOnCardTypeRev", 1440);

    auto button = [this](const char* text, const char* name, int left, int top, int width) {
        auto* b = Named(new QPushButton(text, fraOnLineFunctions), name);
        b->setGeometry(TwipsRect(left, top, width, 420));
        return b;
    };
    cmdRefresh = button("Refresh", "cmdRefresh", 240, 1920, 2520);
    cmdSetCVClock = button("Set Tamberline II Clock", "cmdSetCVClock", 2880, 1920, 2520);
    cmdVirtualKeypad = button("Virtual Keypad", "cmdVirtualKeypad", 240, 2460, 2520);
    cmdNetworkDiagnostics = button("Network Diagnostics", "cmdNetworkDiagnostics", 2880, 2460, 2520);
    cmdDownLoadToT2 = button("Download Settings To Tamberline II", "cmdDownLoadToT2", 240, 3000, 5160);
    cmdUpLoadFromT2 = button("Upload Settings From Tamberline II", "cmdUpLoadFromT2", 240, 3480, 5160);
    cmdCancelUpDownLoad = button("Cancel", "cmdCancelUpDownLoad", 240, 3000, 5160);
    cmdCancelUpDownLoad->hide();
    cmdNetworkDiagnostics->hide();
    connect(cmdRefresh, &QPushButton::clicked, this, [this] {
        if (!Busy()) ReadCVStatus();
    });
    connect(cmdSetCVClock, &QPushButton::clicked, this, &frmT2Connect::cmdSetCVClock_Click);
    connect(cmdVirtualKeypad, &QPushButton::clicked, this, &frmT2Connect::cmdVirtualKeypad_Click);
    connect(cmdNetworkDiagnostics, &QPushButton::clicked, this, &frmT2Connect::cmdNetworkDiagnostics_Click);
    connect(cmdDownLoadToT2, &QPushButton::clicked, this, &frmT2Connect::cmdDownLoadToT2_Click);
    connect(cmdUpLoadFromT2, &QPushButton::clicked, this, &frmT2Connect::cmdUpLoadFromT2_Click);
    connect(cmdCancelUpDownLoad, &QPushButton::clicked, this, [this] { session_->RequestCancel(); });

    fraFirmwareRevision = Named(new QGroupBox("Tamberline II Firmware Revision", fraOnLineFunctions),
                                "fraFirmwareRevision");
    fraFirmwareRevision->setGeometry(TwipsRect(240, 4080, 5160, 1260));
    fraOnLineFunctions->hide();

    // The transfer progress.
    lblActivityProgress = Named(new QLabel("Activity Progress", this), "lblActivityProgress");
    lblActivityProgress->setGeometry(TwipsRect(240, 6060, 10200, 255));
    lblActivityProgress->hide();
    pbActivityProgress = Named(new QProgressBar(this), "pbActivityProgress");
    pbActivityProgress->setGeometry(TwipsRect(240, 6360, 10200, 300));
    pbActivityProgress->setRange(0, PanelBlockCount);
    pbActivityProgress->setValue(0);
    pbActivityProgress->hide();
}

void frmT2Connect::LoadRevLabels()
{
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPointSizeF(font().pointSizeF());
    for (int i = 0; i < RevisionTextLength; ++i) {
        if (!lblT2FirmwareRevision[i]) {
            lblT2FirmwareRevision[i] = Named(new QLabel(fraFirmwareRevision), QString("lblT2FirmwareRevision_%1").arg(i));
            lblT2FirmwareRevision[i]->setAlignment(Qt::AlignCenter);
            lblT2FirmwareRevision[i]->setFont(mono);
        }
        lblT2FirmwareRevision[i]->setGeometry(TwipsRect(120 + 240 * (i % 20), 360 + 360 * (i / 20), 240, 300));
        lblT2FirmwareRevision[i]->show();
    }
}

void frmT2Connect::ShowRevLabels()
{
    const std::string& text = session_->RevisionText();
    const int n = std::min<int>(static_cast<int>(text.size()), RevisionTextLength);
    for (int i = 0; i < RevisionTextLength; ++i) {
        // The panel's characters are 8-bit Windows-1252 codes.
        lblT2FirmwareRevision[i]->setText(i < n ? BytesToText(Bytes(1, text[i])) : QStringLiteral(" "));
    }
}

bool frmT2Connect::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;

    // The digit boxes: a digit replaces the box's digit and moves on; every
    // key is swallowed.
    for (auto* row : {&txtPassWord, &txtNewPassWord}) {
        for (int k = 0; k < 6; ++k) {
            if ((*row)[k] != watched) continue;
            const QString text = key->text();
            if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') {
                (*row)[k]->setText(text);
                (*row)[(k + 1) % 6]->setFocus();
                (*row)[(k + 1) % 6]->selectAll();
            }
            return true;
        }
    }

    // The phone number and the address: other printable characters are dropped.
    if (watched == txtPhoneNumber || watched == txtTCPIP) {
        const QString text = key->text();
        if (key->key() == Qt::Key_Backspace || text.isEmpty() || text[0] < QChar(' ') || text[0] == QChar(0x7F))
            return false;
        const QString& allowed = watched == txtPhoneNumber ? PhoneCharacters : AddressCharacters;
        return !(text.size() == 1 && allowed.contains(text[0]));
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Activation and the link choice

void frmT2Connect::OnActivate()
{
    FindComPorts();
    ShowConnectionSettings();
    QRect g = fraPassWord->geometry();
    g.setHeight(Twips(2055));
    fraPassWord->setGeometry(g);
    StartPolling();
    // Fill the main window.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (QMdiArea* area = sub->mdiArea()) sub->setGeometry(area->viewport()->rect());
    }
}

void frmT2Connect::StopPolling() { Timer1->stop(); }

void frmT2Connect::closeEvent(QCloseEvent* event)
{
    Timer1->stop();
    QWidget::closeEvent(event);
}

void frmT2Connect::ShowConnectionSettings()
{
    // Shown, not chosen: the click and edit handlers do not run.
    const int port = state_.Config.CommPort - 1;
    if (port >= 0 && port < 16) {
        optComPort[port]->setChecked(true);
    } else {
        for (auto* o : optComPort) {
            o->setAutoExclusive(false);
            o->setChecked(false);
            o->setAutoExclusive(true);
        }
    }
    const int type = state_.Config.ConnectionType();
    const int k = type >= ConnectTcpIp ? ConnectTcpIp : (type == ConnectModem ? ConnectModem : ConnectDirectSerial);
    for (int i = 0; i < 3; ++i) chkConnectionType[i]->setChecked(i == k);
    ShowLinkChoice(k);
    txtPhoneNumber->setText(BytesToText(state_.Config.ModemPhoneNumber()));
    txtTCPIP->setText(BytesToText(state_.Config.PanelAddress()));
}

void frmT2Connect::ShowLinkChoice(int index)
{
    txtPhoneNumber->setVisible(index == ConnectModem);
    txtTCPIP->setVisible(index == ConnectTcpIp);
    for (auto* o : optComPort) o->setVisible(index != ConnectTcpIp);
}

void frmT2Connect::chkConnectionType_Click(int index)
{
    for (int i = 0; i < 3; ++i) chkConnectionType[i]->setChecked(i == index);
    ShowLinkChoice(index);
    state_.Config.ConnectionType() = static_cast<Integer>(index);
}

void frmT2Connect::optComPort_Click(int index)
{
    state_.Config.CommPort = static_cast<Integer>(index + 1);
    if (AppShell* shell = Shell()) shell->UpdateStatusBar();
    SetDataChanged(state_, true);
}

void frmT2Connect::FindComPorts()
{
    if (state_.PanelConnected) return;
    const std::array<bool, ComPortCount> found = ::t2::FindComPorts();
    PortAvailable.fill(false);
    for (int i = 0; i < ComPortCount; ++i) PortAvailable[i] = found[i];
    for (int i = 0; i < 16; ++i) optComPort[i]->setEnabled(PortAvailable[i]);
}

// ---------------------------------------------------------------------------
// Connecting and disconnecting

bool frmT2Connect::Busy() const { return session_->Exchange().Busy(); }

void frmT2Connect::cmdConnect_Click()
{
    if (state_.Config.ConnectionType() > ConnectModem)
        ConnectTCP();
    else
        ConnectSerial();
}

void frmT2Connect::ConnectSerial()
{
    if (state_.PanelConnected) {
        DisconnectCV();
        if (AppShell* shell = Shell()) shell->UpdateStatusBar();
        cmdConnect->setEnabled(true);
        return;
    }
    cmdRefresh->hide();
    LinkSettings link = LinkSettings::FromConfig(state_.Config);
    if (link.connectionType == ConnectModem && link.phoneNumber.size() < MinimumPhoneNumberLength) {
        Inform(TcpTitle, "A Valid Phone Number Must Entered", PromptIcon::Information);
        return;
    }
    cmdConnect->setEnabled(false);
    ConnectResult result;
    {
        WaitPointer wait;
        result = session_->Connect(link);
    }
    if (result != ConnectResult::Connected) {
        DisconnectCV();
        Inform(Title, "Connection Failed.", PromptIcon::Exclamation);
        if (AppShell* shell = Shell()) shell->UpdateStatusBar();
        cmdConnect->setEnabled(true);
        lblModem->hide();
        return;
    }
    ShowRevLabels();
    StartPolling();
    cmdConnect->setText("Disconnect From Tamberline II");
    for (auto* o : optComPort) o->setEnabled(false);
    for (auto* c : chkConnectionType) c->setEnabled(false);
    txtPhoneNumber->setEnabled(false);
    txtTCPIP->setEnabled(false);
    if (state_.Config.CommPort >= 1 && state_.Config.CommPort <= 16) optComPort[state_.Config.CommPort - 1]->setChecked(true);
    fraOnLineFunctions->show();
    if (AppShell* shell = Shell()) shell->UpdateStatusBar();
    cmdConnect->setEnabled(true);
}

void frmT2Connect::ConnectTCP()
{
    if (state_.PanelConnected) {
        DisconnectCV();
        if (AppShell* shell = Shell()) shell->UpdateStatusBar();
        cmdConnect->setEnabled(true);
        return;
    }
    cmdRefresh->show();
    cmdConnect->setEnabled(false);
    LinkSettings link = LinkSettings::FromConfig(state_.Config);
    link.SetPanelAddress(txtTCPIP->text());  // the remote host is what the box shows
    ConnectResult result;
    {
        WaitPointer wait;
        result = session_->Connect(link);
    }
    if (result != ConnectResult::Connected) {
        DisconnectCV();
        Inform(TcpTitle, "Connection Failed.", PromptIcon::Exclamation);
        if (AppShell* shell = Shell()) shell->UpdateStatusBar();
        cmdConnect->setEnabled(true);
        lblModem->hide();
        return;
    }
    ShowRevLabels();
    ReadCVStatus();
    if (!state_.PanelConnected) {
        // The first reading found the link dead and has said so.
        cmdConnect->setEnabled(true);
        return;
    }
    cmdConnect->setText("Disconnect From Corvanthine");
    for (auto* o : optComPort) o->setEnabled(false);
    for (auto* c : chkConnectionType) c->setEnabled(false);
    txtPhoneNumber->setEnabled(false);
    txtTCPIP->setEnabled(false);
    fraOnLineFunctions->show();
    if (AppShell* shell = Shell()) shell->UpdateStatusBar();
    cmdConnect->setEnabled(true);
    lblModem->hide();
}

void frmT2Connect::DisconnectCV()
{
    Timer1->stop();
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
        cmdDownLoadToT2->show();
        cmdUpLoadFromT2->show();
        BlockOnLineButtons(false);
    }
    for (auto* box : txtPassWord) box->setText("0");
    for (auto* box : txtNewPassWord) box->setText("0");
}

void frmT2Connect::ShowModemStage(ModemStage stage)
{
    auto banner = [this](const QString& text, const QColor& colour) {
        lblModem->setText(text);
        Colour(lblModem, colour);
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
// Status and clock

void frmT2Connect::StartPolling()
{
    if (state_.PanelConnected) Timer1->start();
}

void frmT2Connect::Timer1_Timer()
{
    // Serial and modem sessions are polled. The session's own link type is
    // asked, so that a stored link type outside 0..2 (read as a direct
    // serial line when connecting) is polled as the line it opened.
    if (session_->PolledLink()) ReadCVStatus();
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
    if (Busy()) return;
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
    if (AppShell* shell = Shell()) shell->OpenWindow("frmT2VirtualKeypad");
}

void frmT2Connect::cmdNetworkDiagnostics_Click()
{
    if (AppShell* shell = Shell()) shell->OpenWindow("frmT2SystemDiagnostic");
}

// ---------------------------------------------------------------------------
// Password entry and transfers

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
    for (QWidget* w : std::initializer_list<QWidget*>{cmdConnect, cmdRefresh, cmdSetCVClock, cmdVirtualKeypad,
                                                      cmdNetworkDiagnostics, lblPanelTime, lblPanelDate})
        w->setEnabled(!block);
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
    QCoreApplication::processEvents();
}

void frmT2Connect::MasterMDIMenuEnable()
{
    if (AppShell* shell = Shell()) shell->EnableMainMenus();
    cmdCancelUpDownLoad->hide();
}

void frmT2Connect::cmdDownLoadToT2_Click()
{
    if (Busy()) return;
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
    cmdUpLoadFromT2->show();
    cmdDownLoadToT2->show();
    BlockOnLineButtons(false);
    fraPassWord->hide();
    StartPolling();
}

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
            if (download)
                Inform("Error", "Download Error: " + code + "\n" + mayNotFunction, PromptIcon::Critical);
            else
                Inform("Error", "Upload Error: " + code + "\nAll Host Data Cleared.", PromptIcon::Critical);
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

void frmT2Connect::cmdPassWordContinue_Click()
{
    if (Busy()) return;
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
        HandleLinkLost();
        DisconnectCV();
        cmdUpLoadFromT2->show();
        cmdDownLoadToT2->show();
        BlockOnLineButtons(false);
        HideProgress();
        return;
    }
    if (outcome.end == TransferEnd::PasswordRefused)
        Inform(Title, "Password Invalid.\nDownload Denied.", PromptIcon::Critical);
    if (outcome.passwordChanged) {
        for (int k = 0; k < 6; ++k) txtPassWord[k]->setText(txtNewPassWord[k]->text());
    }
    cmdUpLoadFromT2->show();
    cmdDownLoadToT2->show();
    BlockOnLineButtons(false);
    HideProgress();
    StartPolling();
}

void frmT2Connect::cmdUpLoadFromT2_Click()
{
    if (Busy()) return;
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
        // The session is closed and the configuration reset: show it so.
        DisconnectCV();
        ShowConnectionSettings();
        if (AppShell* shell = Shell()) shell->UpdateStatusBar();
    }
    cmdUpLoadFromT2->show();
    cmdDownLoadToT2->show();
    BlockOnLineButtons(false);
    HideProgress();
    StartPolling();
}

}  // namespace t2
