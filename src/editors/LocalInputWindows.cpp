#include "LocalInputWindows.h"

#include "CodeTexts.h"
#include "ScreenText.h"

#include <QComboBox>
#include <QLabel>

namespace t2 {

const WindowInfo frmT2InputOptions::Info{"frmT2InputOptions", "Input Options"};

frmT2InputOptions::frmT2InputOptions(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent), grid_(AddGrid({.left = 240, .top = 240}))
{
    // A "Timed On" input shows its time beside a narrowed type label.
    auto timedOn = [this](int i) { return Config().InputType[i] == InputTimedOn; };
    grid_.Names(ItemNames("lblInputName", &PanelConfig::InputNames, "Input "));
    grid_.RowsShown([this] { return IoCount(); });
    grid_.AddPicker({.label = "lblInputType", .picker = "cboNewType", .offset = 1335, .width = 1935,
                     .choices = Choices::Of(InputTypeTexts),
                     .member = [this](int i) -> Integer& { return Config().InputType[i]; },
                     .widthOf = [timedOn](int i) { return timedOn(i) ? 1095 : 1935; }});
    grid_.AddPicker({.label = "lblInputTimedOn", .picker = "cboNewTime", .offset = 2420, .width = 1080,
                     .choices = Choices::Range(5, 999, "%1Min"),
                     .get = [this](int i) { return int(Config().InputTimedOnTime[i]); },
                     .set = [this](int i, int minutes) { Config().InputTimedOnTime[i] = Long(minutes); },
                     .caption = [this](int i) { return QString(" %1 Min").arg(Config().InputTimedOnTime[i]); },
                     .visible = timedOn});
    SetClientSize(grid_.RightTwips() + 120, grid_.BottomTwips() + 240);
}

// ---------------------------------------------------------------------------

InputControlWindow::InputControlWindow(ProgramState& state, const WindowInfo& info, Targets targets, QWidget* parent)
    : EditorWindow(state, info, parent),
      targets_(targets),
      cboInput_(AddSelector({.name = "cboInput",
                             .entries = [this] { return NameList(&PanelConfig::InputNames, IoCount()); },
                             .chosen = [this](int) { SelectInput(); }})),
      lblInputType_(AddLabel("lblInputType", QString(), 3120, 375, 2400)),
      grid_(AddGrid({.left = 480, .top = 960}))
{
    grid_.Names({.label = targets == Targets::Groups ? "lblGroupName" : "lblRelayName",
                 .text = [this](int r) { return RowName(r); },
                 .toolTipOf = [this](int r) { return RowToolTip(r); }});
    grid_.RowsShown([this] { return RowCount(); });
    controlColumn_ = grid_.AddPicker({.label = "lblControl", .picker = "cboControl", .offset = 1335, .width = 1140,
                                      .get = [this](int r) { return Input() < 0 ? -1 : int(Code(Input(), r)); },
                                      .set = [this](int r, int code) {
                                          if (Input() >= 0) Code(Input(), r) = static_cast<Integer>(code);
                                      },
                                      .open = [this](int r) {
                                          if (Input() < 0) return false;
                                          Clamp(r);
                                          return true;
                                      },
                                      .changedOnOpen = true});
    if (targets == Targets::Relays) {
        cboPreset_ = &AddValueList({.name = "cboPreset", .left = 5760, .top = 360, .width = 2400,
                                    .get = [this] { return Input() < 0 ? -1 : int(Config().InputPreset[Input()]); },
                                    .set = [this](int preset) {
                                        if (Input() >= 0) Config().InputPreset[Input()] = static_cast<Integer>(preset);
                                    }});
        cboPreset_->List()->hide();
    }
    SetClientSize(grid_.RightTwips() + 480, grid_.BottomTwips() + 300);
}

QComboBox* InputControlWindow::ControlPicker() const { return grid_.PickerOf(controlColumn_); }

QComboBox* InputControlWindow::PresetList() const { return cboPreset_ ? cboPreset_->List() : nullptr; }

Integer& InputControlWindow::Code(int input, int row) const
{
    PanelConfig& c = Config();
    return targets_ == Targets::Groups ? c.InputGroupControl(input, row) : c.InputRelayControl(input, row);
}

void InputControlWindow::Clamp(int row)
{
    // A type the panel does not define has no highest code: its codes stay.
    if (known_ && Input() >= 0) ClampControlCode(Code(Input(), row), maxControlCode_);
}

int InputControlWindow::RowCount() const
{
    if (Input() < 0) return 0;
    if (targets_ == Targets::Groups) return groupRows_ ? ItemCount : 0;
    switch (relayRows_) {
    case ControlRows::Relays:
    case ControlRows::Inputs: return IoCount();
    case ControlRows::Timers: return ItemCount;
    case ControlRows::None: break;
    }
    return 0;
}

namespace {

struct RowItems {
    NameArray PanelConfig::*names;
    const char* toolTip;
};

RowItems ItemsOf(InputControlWindow::Targets targets, ControlRows rows)
{
    if (targets == InputControlWindow::Targets::Groups) return {&PanelConfig::GroupNames, "Group "};
    switch (rows) {
    case ControlRows::Inputs: return {&PanelConfig::InputNames, "Input "};
    case ControlRows::Timers: return {&PanelConfig::TimerNames, "Timer "};
    default: return {&PanelConfig::RelayNames, "Relay "};
    }
}

}  // namespace

QString InputControlWindow::RowName(int row) const
{
    return ToScreen((Config().*ItemsOf(targets_, relayRows_).names)[static_cast<std::size_t>(row)]);
}

QString InputControlWindow::RowToolTip(int row) const
{
    return ItemToolTip(ItemsOf(targets_, relayRows_).toolTip, row);
}

void InputControlWindow::SelectInput()
{
    const int input = Input();
    const InputControl rules = LocalInputControl(input < 0 ? -1 : Config().InputType[input]);
    known_ = rules.known;
    if (rules.known) {
        lblInputType_->setText(QString::fromStdString(rules.caption));
        maxControlCode_ = targets_ == Targets::Groups ? rules.HighestGroupCode() : rules.HighestRelayCode();
        relayRows_ = rules.relayRows;
        groupRows_ = rules.groupRows;
        presetShown_ = rules.presetPicker;
    } else if (input < 0) {
        lblInputType_->clear();
    }
    grid_.SetChoices(controlColumn_,
                     Choices::Of(targets_ == Targets::Groups ? rules.groupActions : rules.relayActions));
    grid_.Refill();   // the rows' names and which rows show
}

void InputControlWindow::Refill()
{
    if (cboPreset_) cboPreset_->SetChoices(Choices(NameList(&PanelConfig::PresetNames)));
    SelectInput();
}

void InputControlWindow::Redraw()
{
    // The clamp writes the configuration without marking it changed: it only
    // brings a code the type cannot have into its range.
    for (int r = 0; r < ItemCount; ++r) Clamp(r);
    EditorWindow::Redraw();
    if (cboPreset_) cboPreset_->List()->setVisible(Input() >= 0 && presetShown_);
}

const WindowInfo frmT2InputToRelayControl::Info{"frmT2InputToRelayControl", "Input To Relay Control"};

frmT2InputToRelayControl::frmT2InputToRelayControl(ProgramState& state, QWidget* parent)
    : InputControlWindow(state, Info, Targets::Relays, parent)
{
}

const WindowInfo frmT2InputToGroupControl::Info{"frmT2InputToGroupControl", "Input To Group Control"};

frmT2InputToGroupControl::frmT2InputToGroupControl(ProgramState& state, QWidget* parent)
    : InputControlWindow(state, Info, Targets::Groups, parent)
{
}

// ---------------------------------------------------------------------------

const WindowInfo frmT2InputActiveTimes::Info{"frmT2InputActiveTimes", "Input Active Times"};

frmT2InputActiveTimes::frmT2InputActiveTimes(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent), grid_(AddGrid({.left = 240, .top = 420}))
{
    // Opening the picker marks the configuration changed; choosing an entry
    // is a step of its own on the edit path.
    auto time = [](Integer quarterHours) { return QString::fromStdString(QuarterHourText(quarterHours)); };
    grid_.Names(ItemNames("lblInputName", &PanelConfig::InputNames, "Input "));
    grid_.RowsShown([this] { return IoCount(); });
    grid_.AddPicker({.label = "lblInputEnableTime", .picker = "cboNewTime", .offset = 1560, .width = 780,
                     .choices = Choices::QuarterHours(),
                     .member = [this](int i) -> Integer& { return Config().InputEnableTime[i]; },
                     .caption = [this, time](int i) { return time(Config().InputEnableTime[i]); },
                     .changedOnOpen = true});
    grid_.AddPicker({.label = "lblInputDisableTime", .picker = "cboNewTime", .offset = 2400, .width = 780,
                     .choices = Choices::QuarterHours(),
                     .member = [this](int i) -> Integer& { return Config().InputDisableTime[i]; },
                     .caption = [this, time](int i) { return time(Config().InputDisableTime[i]); },
                     .changedOnOpen = true});
    grid_.AddHeading({.label = "lblInputEnableHeader", .text = "Enable", .offset = 1560, .top = 120, .width = 780});
    grid_.AddHeading({.label = "lblInputDisableHeader", .text = "Disable", .offset = 2400, .top = 120, .width = 780});
    SetClientSize(grid_.RightTwips() + 240, grid_.BottomTwips() + 240);
}

// ---------------------------------------------------------------------------

namespace {

// A pilot value is source x 64 + number - 1; the source is its whole 64s
// (rounded down, so any stored value splits into a source and 0..63).
int PilotSource(int value) { return value >= 0 ? value / 64 : -((63 - value) / 64); }
int PilotNumberIndex(int value) { return value - 64 * PilotSource(value); }

}  // namespace

const WindowInfo frmT2LocalInputPilots::Info{"frmT2LocalInputPilots", "Local Input Pilots"};

frmT2LocalInputPilots::frmT2LocalInputPilots(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent), grid_(AddGrid({.left = 240, .top = 240}))
{
    // Changing the source keeps the number, changing the number keeps the source.
    auto pilot = [this](int i) -> Integer& { return Config().InputPilot[i]; };
    grid_.Names(ItemNames("lblInputName", &PanelConfig::InputNames, "Input "));
    grid_.RowsShown([this] { return IoCount(); });
    grid_.AddPicker({.label = "lblPilotSource", .picker = "cboNewSource", .offset = 1335, .width = 1140,
                     .choices = Choices::Of(LocalPilotSourceTexts),
                     .get = [pilot](int i) { return PilotSource(pilot(i)); },
                     .set = [pilot](int i, int source) {
                         pilot(i) = static_cast<Integer>(source * 64 + PilotNumberIndex(pilot(i)));
                     }});
    grid_.AddPicker({.label = "lblPilotNumber", .picker = "cboNewNumber", .offset = 2540, .width = 600,
                     .choices = Choices::Range(1, ItemCount),
                     .get = [pilot](int i) { return PilotNumberIndex(pilot(i)) + 1; },
                     .set = [pilot](int i, int number) {
                         pilot(i) = static_cast<Integer>(PilotSource(pilot(i)) * 64 + number - 1);
                     },
                     .caption = [pilot](int i) { return QString(" %1").arg(PilotNumberIndex(pilot(i)) + 1); }});
    SetClientSize(grid_.RightTwips() + 240, grid_.BottomTwips() + 240);
}

}  // namespace t2
