// The connection window, its first job: building the controls, the firmware
// revision labels, the key filters, activation and the link choice.
#include "frmT2Connect.h"

#include "EditHistory.h"
#include "Twips.h"
#include "Windows1252.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace t2 {

const QString frmT2Connect::Title = "VEL Tamberline II";
const QString frmT2Connect::TcpTitle = "VEL Corvanthine";
const QString frmT2Connect::SetClockCaption = "Set Tamberline II Clock";
const QString frmT2Connect::CancelClockCaption = "Cancel Clock Setting";

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
    exchange.SetStatusCallback([this](const QString& text) {
        if (AppShell* shell = Shell())
            shell->SetStatusPanel2(text == "Connected" && !clockStatus_.isEmpty() ? clockStatus_ : text);
    });
    exchange.SetModemStageCallback([this](ModemStage stage) { ShowModemStage(stage); });
    // A link that goes away while nothing talks to the panel ends the session
    // too; during an exchange that exchange's failure reports it first.
    connect(&exchange, &PanelExchange::linkGone, this, [this] {
        WhenLinkFree([this] {
            if (session_->LinkGone()) HandleLinkLost();
        });
    });

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &frmT2Connect::Timer1_Timer);
    tmrClockMinute_ = new QTimer(this);
    tmrClockMinute_->setSingleShot(true);
    tmrClockMinute_->setTimerType(Qt::PreciseTimer);   // the panel's second 0 is this moment
    connect(tmrClockMinute_, &QTimer::timeout, this, &frmT2Connect::ClockMinuteReached);
    tmrClockTick_ = new QTimer(this);
    tmrClockTick_->setInterval(250);
    connect(tmrClockTick_, &QTimer::timeout, this, &frmT2Connect::ShowClockWait);
    tmrClockShown_ = new QTimer(this);
    tmrClockShown_->setSingleShot(true);
    tmrClockShown_->setInterval(15000);
    connect(tmrClockShown_, &QTimer::timeout, this, [this] {
        clockStatus_.clear();
        if (AppShell* shell = Shell(); shell && state_.PanelConnected) shell->UpdateStatusBar();
    });

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
        RecordEdit(state_, Info.caption, txtTCPIP);   // typing in the box is one step
    });
    connect(txtTCPIP, &QLineEdit::editingFinished, this, [this] { state_.History.EndTyping(txtTCPIP); });
    txtPhoneNumber = Named(new QLineEdit(this), "txtPhoneNumber");
    txtPhoneNumber->setGeometry(TwipsRect(240, 2280, 3600, 330));
    txtPhoneNumber->setPlaceholderText("Phone Number");
    txtPhoneNumber->installEventFilter(this);
    connect(txtPhoneNumber, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString kept = KeepInserted(BytesToText(state_.Config.ModemPhoneNumber()), text, PhoneCharacters);
        if (kept != text) txtPhoneNumber->setText(kept);
        state_.Config.ModemPhoneNumber() = TextToBytes(kept);
        RecordEdit(state_, Info.caption, txtPhoneNumber);
    });
    connect(txtPhoneNumber, &QLineEdit::editingFinished, this,
            [this] { state_.History.EndTyping(txtPhoneNumber); });

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
    chkChangePanelPassWord->setGeometry(TwipsRect(120, 885, 2640, 270));
    connect(chkChangePanelPassWord, &QCheckBox::toggled, this, &frmT2Connect::chkChangePanelPassWord_Click);
    lblNewPassWord = Named(new QLabel("Enter New Password", fraPassWord), "lblNewPassWord");
    lblNewPassWord->setGeometry(TwipsRect(120, 1155, 2640, 255));
    for (int k = 0; k < 6; ++k) {
        for (auto* row : {&txtPassWord, &txtNewPassWord}) {
            const bool current = row == &txtPassWord;
            auto* box = new QLineEdit("0", fraPassWord);
            box->setObjectName(QString(current ? "txtPassWord_%1" : "txtNewPassWord_%1").arg(k));
            box->setGeometry(TwipsRect(120 + 420 * k, current ? 525 : 1410, 360, 330));
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
    // The backup before a download (remembered between runs).
    chkBackUpFirst = Named(new QCheckBox("Back Up Panel Settings First", fraPassWord), "chkBackUpFirst");
    chkBackUpFirst->setGeometry(TwipsRect(120, 1755, 4080, 270));
    chkBackUpFirst->setAccessibleName("Back Up Panel Settings First");
    chkBackUpFirst->setChecked(BackUpFirstRemembered());
    connect(chkBackUpFirst, &QCheckBox::clicked, this, [](bool on) { RememberBackUpFirst(on); });
    cmdPassWordContinue = Named(new QPushButton("Continue", fraPassWord), "cmdPassWordContinue");
    cmdPassWordContinue->setGeometry(TwipsRect(2880, 480, 1300, 420));
    connect(cmdPassWordContinue, &QPushButton::clicked, this, &frmT2Connect::cmdPassWordContinue_Click);
    cmdPassWordCancel = Named(new QPushButton("Cancel", fraPassWord), "cmdPassWordCancel");
    cmdPassWordCancel->setGeometry(TwipsRect(2880, 1320, 1300, 420));
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
    cmdRefresh = button("Refresh", "cmdRefresh", 240, 1860, 2520);
    cmdSetCVClock = button("Set Tamberline II Clock", "cmdSetCVClock", 2880, 1860, 2520);
    cmdVirtualKeypad = button("Virtual Keypad", "cmdVirtualKeypad", 240, 2340, 2520);
    cmdNetworkDiagnostics = button("Network Diagnostics", "cmdNetworkDiagnostics", 2880, 2340, 2520);
    cmdDownLoadToT2 = button("Download Settings To Tamberline II", "cmdDownLoadToT2", 240, 2820, 5160);
    cmdUpLoadFromT2 = button("Upload Settings From Tamberline II", "cmdUpLoadFromT2", 240, 3300, 5160);
    cmdCompareWithT2 = button("Compare With Tamberline II", "cmdCompareWithT2", 240, 3780, 5160);
    cmdCompareWithT2->setAccessibleName("Compare With Tamberline II");
    cmdCompareWithT2->setToolTip("Lists what a download of the settings in this program would change in the "
                                 "Tamberline II. Nothing is written.");
    cmdCancelUpDownLoad = button("Cancel", "cmdCancelUpDownLoad", 240, 2820, 5160);
    cmdCancelUpDownLoad->hide();
    cmdNetworkDiagnostics->hide();
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { WhenLinkFree([this] { ReadCVStatus(); }); });
    connect(cmdSetCVClock, &QPushButton::clicked, this, &frmT2Connect::cmdSetCVClock_Click);
    connect(cmdVirtualKeypad, &QPushButton::clicked, this, &frmT2Connect::cmdVirtualKeypad_Click);
    connect(cmdNetworkDiagnostics, &QPushButton::clicked, this, &frmT2Connect::cmdNetworkDiagnostics_Click);
    connect(cmdDownLoadToT2, &QPushButton::clicked, this, &frmT2Connect::cmdDownLoadToT2_Click);
    connect(cmdUpLoadFromT2, &QPushButton::clicked, this, &frmT2Connect::cmdUpLoadFromT2_Click);
    connect(cmdCompareWithT2, &QPushButton::clicked, this, &frmT2Connect::cmdCompareWithT2_Click);
    connect(cmdCancelUpDownLoad, &QPushButton::clicked, this, [this] { session_->RequestCancel(); });

    fraFirmwareRevision = Named(new QGroupBox("Tamberline II Firmware Revision", fraOnLineFunctions),
                                "fraFirmwareRevision");
    fraFirmwareRevision->setGeometry(TwipsRect(240, 4320, 5160, 1140));
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
    // The link is part of the configuration: a choice is a change to save
    // and to undo.
    if (state_.Config.ConnectionType() == index) return;
    state_.Config.ConnectionType() = static_cast<Integer>(index);
    RecordEdit(state_, Info.caption);
}

void frmT2Connect::optComPort_Click(int index)
{
    state_.Config.CommPort = static_cast<Integer>(index + 1);
    if (AppShell* shell = Shell()) shell->UpdateStatusBar();
    RecordEdit(state_, Info.caption);
}

void frmT2Connect::ConfigurationReplaced()
{
    // Shown as the configuration now holds it; an open session keeps the
    // link it was opened with (the link choice is locked meanwhile).
    ShowConnectionSettings();
}

void frmT2Connect::FindComPorts()
{
    if (state_.PanelConnected) return;
    const std::array<bool, ComPortCount> found = ::t2::FindComPorts();
    PortAvailable.fill(false);
    for (int i = 0; i < ComPortCount; ++i) PortAvailable[i] = found[i];
    for (int i = 0; i < 16; ++i) optComPort[i]->setEnabled(PortAvailable[i]);
}

}  // namespace t2
