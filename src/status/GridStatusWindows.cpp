// The status windows laid out as rows in three columns of 16: relays, groups,
// local inputs and presets.
#include "StatusWindows.h"

#include "AccessibleNames.h"
#include "ClickLabel.h"
#include "Defaults.h"
#include "NameTips.h"
#include "PanelExchange.h"
#include "ScreenText.h"

#include <algorithm>

namespace t2 {

using status::Look;

namespace {

constexpr int RowsTop = 240;
constexpr int RowPitch = 360;
constexpr int ColumnPitch = 3600;
constexpr int ButtonsTop = 6120;    // the window's command buttons, below the rows
constexpr int WindowWidth = 10800;
constexpr int WindowHeight = 6720;

int IoRows(const PanelConfig& c) { return std::clamp(TotalIOCount(c), 0, ItemCount); }

void ShowLook(QLabel* label, const Look& look)
{
    label->setText(QString::fromStdString(look.text));
    SetBackground(label, look.background);
}

QLabel* StatusField(QWidget* parent, const QString& name, int item, const QRect& rect, const QString& text)
{
    auto* l = new CellLabel(text, parent);   // a screen reader hears the row, the column and the text
    l->setObjectName(Element(name, item));
    l->setGeometry(rect);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Box);
    SetBackground(l, status::Grey);
    return l;
}

}  // namespace

QRect StatusRowRect(int item, int offset, int width, int height)
{
    const int left = ColumnPitch * (item / 16) + offset;
    const int top = RowPitch * (item % 16) + RowsTop;
    return {left, top, width, height};
}

namespace {

// Pixels of a row rectangle in twips.
QRect Pixels(const PanelWindow* w, const QRect& twips)
{
    return {w->Px(twips.left()), w->Px(twips.top()), w->Px(twips.width()), w->Px(twips.height())};
}

QLabel* NameLabel(PanelWindow* w, const QString& name, int item, const QString& toolTipPrefix)
{
    auto* l = new QLabel(w);
    l->setObjectName(Element(name, item));
    l->setGeometry(Pixels(w, StatusRowRect(item, 240, 1620)));
    l->setToolTip(ItemToolTip(toolTipPrefix, item));
    ShowWholeNameInToolTip(l);
    return l;
}

QPushButton* RowButton(PanelWindow* w, const QString& name, int item, const QString& text, int offset, int width)
{
    auto* b = new QPushButton(text, w);
    b->setObjectName(Element(name, item));
    b->setGeometry(Pixels(w, StatusRowRect(item, offset, width)));
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

template <typename Array>
void ShowFirst(const Array& controls, int shown)
{
    for (int i = 0; i < static_cast<int>(controls.size()); ++i) controls[i]->setVisible(i < shown);
}

}  // namespace

// ---------------------------------------------------------------------------
// Relay Status

const WindowInfo frmT2RelayStatus::Info{"frmT2RelayStatus", "Relay Status"};

frmT2RelayStatus::frmT2RelayStatus(ProgramState& state, QWidget* parent)
    : StatusWindow(state, Info, parent)
{
    for (int i = 0; i < ItemCount; ++i) {
        lblRelayName[i] = NameLabel(this, "lblRelayName", i, "Relay ");
        lblRelayStatus[i] = StatusField(this, "lblRelayStatus", i, Pixels(this, StatusRowRect(i, 1920, 420)), "Off");
        cmdTurnOff[i] = RowButton(this, "cmdTurnOff", i, "Off", 2400, 420);
        cmdTurnOn[i] = RowButton(this, "cmdTurnOn", i, "On", 2880, 420);
        connect(cmdTurnOff[i], &QPushButton::clicked, this, [this, i] { SendSwitch(RelaySwitchCommand(i, false)); });
        connect(cmdTurnOn[i], &QPushButton::clicked, this, [this, i] { SendSwitch(RelaySwitchCommand(i, true)); });
    }
    cmdAllRelaysOff = AddButton("cmdAllRelaysOff", "All Relays Off", 240, ButtonsTop, 1560, 360);
    cmdAllRelaysOn = AddButton("cmdAllRelaysOn", "All Relays On", 1920, ButtonsTop, 1560, 360);
    connect(cmdAllRelaysOff, &QPushButton::clicked, this, [this] { AllRelays(false); });
    connect(cmdAllRelaysOn, &QPushButton::clicked, this, [this] { AllRelays(true); });
    PlaceUpdateControls(3720, ButtonsTop);
    PlaceNoConnection(2400, 2640, 6000);
    SetClientSize(WindowWidth, WindowHeight);
    ShowConnected(false);
}

void frmT2RelayStatus::ShowConnected(bool connected)
{
    const int shown = connected ? IoRows(Config()) : 0;
    for (int i = 0; i < ItemCount; ++i) {
        lblRelayName[i]->setText(ToScreen(Config().RelayNames[i]));
        NameRow(lblRelayName[i], {lblRelayStatus[i], cmdTurnOff[i], cmdTurnOn[i]});
    }
    ShowFirst(lblRelayName, shown);
    ShowFirst(lblRelayStatus, shown);
    ShowFirst(cmdTurnOff, shown);
    ShowFirst(cmdTurnOn, shown);
    cmdAllRelaysOff->setVisible(connected);
    cmdAllRelaysOn->setVisible(connected);
    cmdAllRelaysOff->setEnabled(true);
    cmdAllRelaysOn->setEnabled(true);
}

void frmT2RelayStatus::ShowRelayStatus()
{
    if (!Send(RelayStatusCommand())) {
        LinkLost();
        return;
    }
    const std::string reply = Reply();
    const int rows = IoRows(Config());
    for (int i = 0; i < rows; ++i) ShowLook(lblRelayStatus[i], status::RelayLook(ItemStatusChar(reply, i)));
}

void frmT2RelayStatus::AllRelays(bool on)
{
    cmdAllRelaysOff->setEnabled(false);
    cmdAllRelaysOn->setEnabled(false);
    auto enable = [this] {
        // Auto updates keep the buttons disabled until they stop.
        cmdAllRelaysOff->setEnabled(!AutoUpdating());
        cmdAllRelaysOn->setEnabled(!AutoUpdating());
    };
    // The buttons come back whether the command went or the session ended first.
    WhenIdle([this, on, enable] {
        if (Connected()) {
            Send(AllRelaysCommand(on));  // the result does not matter
            SwitchSent();
        }
        enable();
    });
}

// ---------------------------------------------------------------------------
// Group Status

const WindowInfo frmT2RelayGroupStatus::Info{"frmT2RelayGroupStatus", "Group Status"};

frmT2RelayGroupStatus::frmT2RelayGroupStatus(ProgramState& state, QWidget* parent)
    : StatusWindow(state, Info, parent)
{
    for (int g = 0; g < ItemCount; ++g) {
        lblGroupName[g] = NameLabel(this, "lblGroupName", g, "Group ");
        lblGroupStatus[g] = StatusField(this, "lblGroupStatus", g, Pixels(this, StatusRowRect(g, 1920, 420)), "---");
        cmdTurnOff[g] = RowButton(this, "cmdTurnOff", g, "Off", 2400, 420);
        cmdTurnOn[g] = RowButton(this, "cmdTurnOn", g, "On", 2880, 420);
        connect(cmdTurnOff[g], &QPushButton::clicked, this, [this, g] { SendSwitch(GroupSwitchCommand(g, false)); });
        connect(cmdTurnOn[g], &QPushButton::clicked, this, [this, g] { SendSwitch(GroupSwitchCommand(g, true)); });
    }
    PlaceUpdateControls(240, ButtonsTop);
    PlaceNoConnection(2400, 2640, 6000);
    SetClientSize(WindowWidth, WindowHeight);
    ShowConnected(false);
}

void frmT2RelayGroupStatus::ShowConnected(bool connected)
{
    const int shown = connected ? ItemCount : 0;
    for (int g = 0; g < ItemCount; ++g) {
        lblGroupName[g]->setText(ToScreen(Config().GroupNames[g]));
        NameRow(lblGroupName[g], {lblGroupStatus[g], cmdTurnOff[g], cmdTurnOn[g]});
    }
    ShowFirst(lblGroupName, shown);
    ShowFirst(lblGroupStatus, shown);
    ShowFirst(cmdTurnOff, shown);
    ShowFirst(cmdTurnOn, shown);
}

void frmT2RelayGroupStatus::ShowGroupStatus()
{
    if (!Send(GroupStatusCommand())) {
        LinkLost();
        return;
    }
    const std::string reply = Reply();
    for (int g = 0; g < ItemCount; ++g) {
        const status::RowLook look = status::GroupLook(ItemStatusChar(reply, g));
        cmdTurnOff[g]->setVisible(look.buttons);
        cmdTurnOn[g]->setVisible(look.buttons);
        ShowLook(lblGroupStatus[g], look.status);
    }
}

// ---------------------------------------------------------------------------
// Input Status

const WindowInfo frmT2InputStatus::Info{"frmT2InputStatus", "Input Status"};

frmT2InputStatus::frmT2InputStatus(ProgramState& state, QWidget* parent)
    : StatusWindow(state, Info, parent)
{
    for (int i = 0; i < ItemCount; ++i) {
        lblInputName[i] = NameLabel(this, "lblInputName", i, "Input ");
        lblInputOffStatus[i] = StatusField(this, "lblInputOffStatus", i, Pixels(this, StatusRowRect(i, 1920, 420)), "Off");
        lblInputOnStatus[i] = StatusField(this, "lblInputOnStatus", i, Pixels(this, StatusRowRect(i, 2400, 420)), "On");
    }
    PlaceUpdateControls(240, ButtonsTop);
    PlaceNoConnection(2400, 2640, 6000);
    SetClientSize(WindowWidth, WindowHeight);
    ShowConnected(false);
}

void frmT2InputStatus::ShowConnected(bool connected)
{
    const int shown = connected ? IoRows(Config()) : 0;
    for (int i = 0; i < ItemCount; ++i) {
        lblInputName[i]->setText(ToScreen(Config().InputNames[i]));
        NameRow(lblInputName[i], {lblInputOffStatus[i], lblInputOnStatus[i]});
    }
    ShowFirst(lblInputName, shown);
    ShowFirst(lblInputOffStatus, shown);
    ShowFirst(lblInputOnStatus, shown);
}

void frmT2InputStatus::ShowInputStatus()
{
    if (!Send(InputStatusCommand())) {
        LinkLost();
        return;
    }
    const std::string reply = Reply();
    const int rows = IoRows(Config());
    for (int i = 0; i < rows; ++i) {
        const status::InputLights lights = status::InputLook(ItemStatusChar(reply, i));
        if (!lights.known) continue;
        SetBackground(lblInputOffStatus[i], lights.offLit ? status::White : status::Grey);
        SetBackground(lblInputOnStatus[i], lights.onLit ? status::White : status::Grey);
    }
}

// ---------------------------------------------------------------------------
// Capture Presets

const WindowInfo frmT2CapturePresets::Info{"frmT2CapturePresets", "Capture Presets"};

frmT2CapturePresets::frmT2CapturePresets(ProgramState& state, QWidget* parent)
    : StatusWindow(state, Info, parent)
{
    for (int p = 0; p < ItemCount; ++p) {
        lblPresetName[p] = NameLabel(this, "lblPresetName", p, "Preset ");
        lblPresetStatus[p] = StatusField(this, "lblPresetStatus", p, Pixels(this, StatusRowRect(p, 1920, 420)), "---");
        cmdCapture[p] = RowButton(this, "cmdCapture", p, "Capture", 2400, 660);
        cmdSet[p] = RowButton(this, "cmdSet", p, "Set", 3120, 420);
        connect(cmdCapture[p], &QPushButton::clicked, this, [this, p] { cmdCapture_Click(p); });
        connect(cmdSet[p], &QPushButton::clicked, this, [this, p] { cmdSet_Click(p); });
    }
    PlaceUpdateControls(240, ButtonsTop);
    PlaceNoConnection(2400, 2640, 6000);
    SetClientSize(WindowWidth, WindowHeight);
    ShowConnected(false);
}

void frmT2CapturePresets::ShowConnected(bool connected)
{
    const int shown = connected ? ItemCount : 0;
    for (int p = 0; p < ItemCount; ++p) {
        lblPresetName[p]->setText(ToScreen(Config().PresetNames[p]));
        NameRow(lblPresetName[p], {lblPresetStatus[p], cmdCapture[p], cmdSet[p]});
    }
    ShowFirst(lblPresetName, shown);
    ShowFirst(lblPresetStatus, shown);
    ShowFirst(cmdCapture, shown);
    ShowFirst(cmdSet, shown);
}

void frmT2CapturePresets::ShowPresetStatus()
{
    if (!Send(PresetStatusCommand())) {
        LinkLost();
        return;
    }
    const std::string reply = Reply();
    for (int p = 0; p < ItemCount; ++p) {
        const status::RowLook look = status::PresetLook(ItemStatusChar(reply, p));
        cmdSet[p]->setVisible(look.buttons);
        ShowLook(lblPresetStatus[p], look.status);
    }
}

void frmT2CapturePresets::cmdSet_Click(int preset)
{
    SendSwitch(PresetSetCommand(preset));
}

void frmT2CapturePresets::cmdCapture_Click(int preset)
{
    WhenIdle([this, preset] {
        if (Connected()) Capture(preset);
    });
}

void frmT2CapturePresets::Capture(int preset)
{
    PanelExchange* exchange = Exchange();
    if (!exchange) return;
    const PanelExchange::Turn turn(*exchange);  // the capture and the reading belong together
    Send(PresetCaptureCommand(preset));  // the result does not matter
    if (!Send(RelayStatusCommand())) {
        LinkLost();
        return;
    }
    const std::string reply = Reply();
    const int rows = IoRows(Config());
    for (int r = 0; r < rows; ++r)
        Config().PresetRelayControl(preset, r) = ItemStatusChar(reply, r) != '0' ? 1 : 2;
    RecordEdit(State(), Info.caption);   // one step to undo, like an edit of the preset
}

}  // namespace t2
