#include "VantelWindows.h"

#include "CodeTexts.h"
#include "Controls.h"
#include "InputControl.h"
#include "Prompts.h"
#include "ScreenText.h"
#include "VantelDeviceRules.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace t2 {

namespace {

// The device lists: "Select Device" (record 0), then the names of devices 1..32.
QStringList DeviceEntries(const VantelDevices& devices)
{
    QStringList entries{"Select Device"};
    for (int d = 1; d < DeviceSlots; ++d) entries << ToScreen(devices[static_cast<std::size_t>(d)].DeviceName);
    return entries;
}

std::size_t Slot(int index) { return static_cast<std::size_t>(std::max(index, 0)); }

constexpr int InputRowPitch = 480;   // the input frames grow by this per input
constexpr int FrameTop = 720;
constexpr int FrameLeft = 240;

int InputFrameHeight(int inputs) { return 615 + InputRowPitch * inputs; }

}  // namespace

// ---------------------------------------------------------------------------

const WindowInfo frmT2ConfigureVantelDevices::Info{"frmT2ConfigureVantelDevices", "Configure Vantel Devices"};

// One of the three frames of device inputs with a type list and a timed-on
// time each.
struct frmT2ConfigureVantelDevices::InputFrameKind {
    QString suffix;    // "16": lblInput16Number, cboInput16Type, lblInput16TimedOn, cboInput16NewTime
    QString caption;
    int inputs;
    TextTable types;
    int timedOnType;
};

frmT2ConfigureVantelDevices::frmT2ConfigureVantelDevices(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      cboVLinkDevice_(AddSelector({.name = "cboVLinkDevice", .left = FrameLeft, .top = 240, .width = 2400,
                                   .entries = [this] { return DeviceEntries(Devices()); },
                                   .keepSelection = true})),
      cboVLinkType_(AddValueList({.name = "cboVLinkType", .left = 2880, .top = 240, .width = 1800,
                                  .choices = Choices::Of(DeviceTypeTexts),
                                  .member = [this]() -> Integer& { return Device().DeviceType; }}))
{
    AddInputFrame({"16", "Vantel Configuration - Push Button", 6, ButtonInputTypeTexts, ButtonTimedOnType});
    AddInputFrame({"7", "Vantel Configuration - KIM-4", 4, Kim4InputTypeTexts, Kim4TimedOnType});
    AddInputFrame({"8", "Vantel Configuration - R6", 6, R6InputTypeTexts, ButtonTimedOnType});
    AddPhotocellFrame();
}

void frmT2ConfigureVantelDevices::AddInputFrame(const InputFrameKind& desc)
{
    QGroupBox* frame = AddFrame("fraConfigVLinkDevice" + desc.suffix,
                                desc.caption, FrameLeft, FrameTop, 5100, InputFrameHeight(desc.inputs));
    EditorGrid& grid = AddGrid({.rows = desc.inputs, .left = 240, .top = 360, .rowPitch = InputRowPitch}, frame);
    grid.Names({.label = "lblInput" + desc.suffix + "Number", .width = 900,
                .text = [](int r) { return QString("Input %1").arg(r + 1); }});
    grid.RowsShown([this] { return DeviceInputCount(Device().DeviceType); });
    const int timedOn = desc.timedOnType;
    grid.AddList({.list = "cboInput" + desc.suffix + "Type", .offset = 960, .width = 2100,
                  .choices = Choices::Of(desc.types),
                  .member = [this](int r) -> Integer& { return Device().DeviceInputType[Slot(r)]; }});
    grid.AddPicker({.label = "lblInput" + desc.suffix + "TimedOn", .picker = "cboInput" + desc.suffix + "NewTime",
                    .offset = 3180, .width = 1440,
                    .choices = Choices::Range(5, 999, "%1 Minutes"),
                    .get = [this](int r) { return int(Device().DeviceInputTimedOnTime[Slot(r)]); },
                    .set = [this](int r, int minutes) { Device().DeviceInputTimedOnTime[Slot(r)] = minutes; },
                    .caption = [this](int r) {
                        return QString(" %1 Minutes").arg(Device().DeviceInputTimedOnTime[Slot(r)]);
                    },
                    .visible = [this, timedOn](int r) { return Device().DeviceInputType[Slot(r)] == timedOn; }});
    frames_.push_back(frame);
    grids_.push_back(&grid);
}

void frmT2ConfigureVantelDevices::AddPhotocellFrame()
{
    constexpr int channels = 8;
    QGroupBox* frame = AddFrame("fraConfigVLinkDeviceF", "Vantel Configuration - Photocell", FrameLeft, FrameTop,
                                9000, InputFrameHeight(channels));
    EditorGrid& grid = AddGrid({.rows = channels, .left = 240, .top = 360, .rowPitch = InputRowPitch}, frame);
    grid.Names({.label = "lblInputFNumber", .width = 900,
                .text = [](int r) { return QString("Input %1").arg(r + 1); }});
    // Large steps of 30, except on the second channel's bars (25).
    const auto largeStep = [](int r) { return r == 1 ? 25 : 30; };
    const auto level = [](const char* which, int value) {
        return QString::fromStdString(PhotocellLevelCaption(which, value));
    };
    grid.AddScroll({.bar = "hsInputFOffLevel", .label = "lblInputFOffLevel", .offset = 960, .width = 1800,
                    .labelOffset = 2880, .labelWidth = 1860, .pageStep = largeStep,
                    .member = [this](int r) -> Integer& { return Device().DeviceInputOffLevel[Slot(r)]; },
                    .caption = [this, level](int r) { return level(" Off ", Device().DeviceInputOffLevel[Slot(r)]); }});
    grid.AddScroll({.bar = "hsInputFOnLevel", .label = "lblInputFOnLevel", .offset = 4860, .width = 1800,
                    .labelOffset = 6780, .labelWidth = 1860, .pageStep = largeStep,
                    .member = [this](int r) -> Integer& { return Device().DeviceInputOnLevel[Slot(r)]; },
                    .caption = [this, level](int r) { return level(" On ", Device().DeviceInputOnLevel[Slot(r)]); }});
    frames_.push_back(frame);
    grids_.push_back(&grid);
}

int frmT2ConfigureVantelDevices::CurrentDevice() const { return std::max(cboVLinkDevice_.Index(), 0); }

VantelDevice& frmT2ConfigureVantelDevices::Device() const { return Devices()[Slot(CurrentDevice())]; }

void frmT2ConfigureVantelDevices::SelectDevice(int entry)
{
    cboVLinkDevice_.Select(entry);
    HidePickers();
    Redraw();
}

QComboBox* frmT2ConfigureVantelDevices::DeviceList() const { return cboVLinkDevice_.List(); }
QComboBox* frmT2ConfigureVantelDevices::TypeList() const { return cboVLinkType_.List(); }
QGroupBox* frmT2ConfigureVantelDevices::Frame(FrameKind kind) const { return frames_.at(kind); }
EditorGrid& frmT2ConfigureVantelDevices::Grid(FrameKind kind) const { return *grids_.at(kind); }

void frmT2ConfigureVantelDevices::Redraw()
{
    const int d = CurrentDevice();
    VantelDevice& device = Device();
    const int type = device.DeviceType;
    // Which frame shows: none for "Select Device", a device of type None or a
    // type the panel does not define (whose inputs mean nothing).
    int shown = -1;
    if (d != 0) {
        if (type >= 1 && type <= 6) shown = ButtonFrame;
        if (type == DeviceKim4) shown = Kim4Frame;
        if (type == DeviceR6) shown = R6Frame;
        if (type == DevicePhotocell) shown = PhotocellFrame;
    }
    // Push-button and R6 input types are kept folded into their lists once shown.
    if (shown == ButtonFrame || shown == R6Frame) {
        for (int i = 0; i < DeviceInputCount(type); ++i)
            device.DeviceInputType[Slot(i)] = FoldedInputType(type, device.DeviceInputType[Slot(i)]);
    }
    cboVLinkType_.List()->setVisible(d != 0);
    QGroupBox* button = frames_[ButtonFrame];
    if (shown == ButtonFrame) button->resize(button->width(), Px(InputFrameHeight(type)));
    for (int k = 0; k < FrameCount; ++k) {
        frames_[k]->setVisible(k == shown);
        grids_[k]->Refill();   // the rows of the device's inputs
    }
    EditorWindow::Redraw();
}

// ---------------------------------------------------------------------------

namespace {

// The items the rows of a control window stand for: their names and tool tips.
struct RowItems {
    NameArray PanelConfig::*names;
    const char* toolTip;
};

RowItems ItemsOf(VantelControlWindow::Rows rows)
{
    switch (rows) {
    case VantelControlWindow::Rows::Inputs: return {&PanelConfig::InputNames, "Input "};
    case VantelControlWindow::Rows::Timers: return {&PanelConfig::TimerNames, "Timer "};
    case VantelControlWindow::Rows::Groups: return {&PanelConfig::GroupNames, "Group "};
    default: return {&PanelConfig::RelayNames, "Relay "};
    }
}

}  // namespace

VantelControlWindow::VantelControlWindow(ProgramState& state, VantelControlKind kind, QWidget* parent)
    : EditorWindow(state, kind.info, parent),
      kind_(std::move(kind)),
      cboVantelDevice_(AddSelector({.name = "cboVantelDevice", .left = 480, .top = 120, .width = 2400,
                                    .entries = [this] { return DeviceEntries(Devices()); },
                                    .chosen = [this](int) {
                                        cboInput_.Refill(false);
                                        ShowInputType();
                                    }})),
      // The inputs are named after the device list's text: VANTEL 03.1 ...
      // (a device without inputs has the one entry ".", hidden).
      cboInput_(AddSelector({.name = "cboInput", .left = 480, .top = 480, .width = 2400,
                             .entries = [this] {
                                 const int count = DeviceInputCount(Devices()[Slot(Device())].DeviceType);
                                 if (count == 0) return QStringList{"."};
                                 QStringList inputs;
                                 const QString device = cboVantelDevice_.List()->currentText();
                                 for (int k = 1; k <= count; ++k) inputs << device + '.' + QString::number(k);
                                 return inputs;
                             },
                             .chosen = [this](int) { ShowInputType(); }})),
      lblDeviceType_(AddLabel("lblDeviceType", QString(), 3000, 150, 1800)),
      lblInputType_(AddLabel("lblInputType", QString(), 3000, 510, 2400)),
      grid_(AddGrid({.left = 480, .top = 960}))
{
    if (!kind_.groups) {
        cboPreset_ = &AddValueList({.name = "cboPreset", .left = 480, .top = 960, .width = 2400,
                                    .get = [this] { return int(Devices()[Slot(Device())].DeviceInputPreset[Slot(Input())]); },
                                    .set = [this](int preset) {
                                        Devices()[Slot(Device())].DeviceInputPreset[Slot(Input())] = Integer(preset);
                                    }});
    }
    grid_.Names({.label = kind_.nameLabel,
                 .text = [this](int r) { return ToScreen((Config().*ItemsOf(rows_).names)[Slot(r)]); },
                 .toolTipOf = [this](int r) { return ItemToolTip(ItemsOf(rows_).toolTip, r); }});
    grid_.RowsShown([this] { return RowCount(); });
    grid_.AddPicker({.label = "lblControl", .picker = "cboControl", .offset = 1335, .width = 1440,
                     .member = [this](int r) -> Integer& { return Codes()(Slot(Input()), Slot(r)); },
                     .open = [this](int r) {
                         if (known_) ClampControlCode(Codes()(Slot(Input()), Slot(r)), maxControlCode_);
                         return true;
                     },
                     .changedOnOpen = true});
}

int VantelControlWindow::Device() const { return std::max(cboVantelDevice_.Index(), 0); }
int VantelControlWindow::Input() const { return std::clamp(cboInput_.Index(), 0, DeviceInputSlots - 1); }

void VantelControlWindow::SelectDevice(int entry)
{
    cboVantelDevice_.Select(entry);
    cboInput_.Refill(false);
    ShowInputType();
    HidePickers();
    Redraw();
}

void VantelControlWindow::SelectInput(int entry)
{
    cboInput_.Select(entry);
    ShowInputType();
    HidePickers();
    Redraw();
}

QComboBox* VantelControlWindow::DeviceList() const { return cboVantelDevice_.List(); }
QComboBox* VantelControlWindow::InputList() const { return cboInput_.List(); }
QComboBox* VantelControlWindow::PresetList() const { return cboPreset_ ? cboPreset_->List() : nullptr; }

Array2<Integer, DeviceInputSlots, ItemSlots>& VantelControlWindow::Codes() const
{
    return Devices()[Slot(Device())].*kind_.codes;
}

void VantelControlWindow::Refill()
{
    if (cboPreset_) cboPreset_->SetChoices(Choices(NameList(&PanelConfig::PresetNames)));
    ShowInputType();
}

void VantelControlWindow::ShowInputType()
{
    const VantelDevice& device = Devices()[Slot(Device())];
    const InputControl rules = VantelInputControl(device.DeviceType, device.DeviceInputType[Slot(Input())]);
    known_ = rules.known;
    if (rules.known) {
        inputCaption_ = QString::fromStdString(rules.caption);
        maxControlCode_ = kind_.groups ? rules.HighestGroupCode() : rules.HighestRelayCode();
        presetShown_ = !kind_.groups && rules.presetPicker;
        if (kind_.groups) {
            rows_ = rules.groupRows ? Rows::Groups : Rows::None;
        } else {
            switch (rules.relayRows) {
            case ControlRows::Relays: rows_ = Rows::Relays; break;
            case ControlRows::Inputs: rows_ = Rows::Inputs; break;
            case ControlRows::Timers: rows_ = Rows::Timers; break;
            case ControlRows::None: rows_ = Rows::None; break;
            }
        }
    } else if (device.DeviceType == DeviceNone) {
        rows_ = Rows::None;
        presetShown_ = false;
    }
    const TextTable actions = kind_.groups ? rules.groupActions : rules.relayActions;
    grid_.SetChoices(ControlColumn, Choices::Of(actions));
    grid_.Refill();
}

int VantelControlWindow::RowCount() const
{
    switch (rows_) {
    case Rows::Relays:
    case Rows::Inputs: return IoCount();
    case Rows::Timers:
    case Rows::Groups: return ItemCount;
    case Rows::None: break;
    }
    return 0;
}

void VantelControlWindow::Redraw()
{
    // Codes above the highest of the input's actions are cut back, hidden
    // rows included; showing them is no edit. An input of a type with no
    // rules keeps its codes.
    if (known_) {
        for (int r = 0; r < ItemCount; ++r) ClampControlCode(Codes()(Slot(Input()), Slot(r)), maxControlCode_);
    }
    const int type = Devices()[Slot(Device())].DeviceType;
    const char* typeText = TableText(DeviceTypeTexts, type);
    lblDeviceType_->setText(QStringLiteral(" ") + QString(typeText ? typeText : DeviceTypeTexts[DeviceNone]));
    const bool inputs = DeviceInputCount(type) > 0;
    cboInput_.List()->setVisible(inputs);
    lblInputType_->setVisible(inputs);
    lblInputType_->setText(inputCaption_);
    if (cboPreset_) cboPreset_->List()->setVisible(presetShown_);
    EditorWindow::Redraw();
}

const WindowInfo frmT2VantelInputToRelayControl::Info{"frmT2VantelInputToRelayControl",
                                                      "Vantel Input To Relay Control"};
const WindowInfo frmT2VantelInputToGroupControl::Info{"frmT2VantelInputToGroupControl",
                                                      "Vantel Input To Group Control"};

frmT2VantelInputToRelayControl::frmT2VantelInputToRelayControl(ProgramState& state, QWidget* parent)
    : VantelControlWindow(state, {Info, "lblRelayName", &VantelDevice::DeviceInputRelayControl, false}, parent)
{
}

frmT2VantelInputToGroupControl::frmT2VantelInputToGroupControl(ProgramState& state, QWidget* parent)
    : VantelControlWindow(state, {Info, "lblGroupName", &VantelDevice::DeviceInputGroupControl, true}, parent)
{
}

// ---------------------------------------------------------------------------

const WindowInfo frmT2VantelPilots::Info{"frmT2VantelPilots", "Vantel Pilots"};

frmT2VantelPilots::frmT2VantelPilots(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      cboVantelDevice_(AddSelector({.name = "cboVantelDevice", .left = 240, .top = 360, .width = 2400,
                                    .entries = [this] { return DeviceEntries(Devices()); },
                                    .chosen = [this](int) { grid_.Refill(); }})),
      grid_(AddGrid({.rows = 8, .left = 240, .top = 960})),
      cmdAutoMapThisVT_(AddButton("cmdAutoMapThisVT", "Auto Map Pilots For This Vantel Device", 240, 4020, 4200)),
      cmdAutoMapAllVT_(AddButton("cmdAutoMapAllVT", "Auto Map Pilots For All Vantel Devices", 240, 4500, 4200))
{
    // A long device name is shortened, never the input number that tells the rows apart.
    grid_.Names({.label = "lblInputName",
                 .text = [this](int r) {
                     return QStringLiteral(" ") + ToScreen(Devices()[Slot(Device())].DeviceName) + '.' + QString::number(r + 1);
                 },
                 .toolTip = "Input ",
                 .keepEnd = 2});
    // Push buttons, KIM-4 and R6 have pilot lamps; photocells do not.
    grid_.RowsShown([this] {
        const int type = Devices()[Slot(Device())].DeviceType;
        return type == DevicePhotocell ? 0 : DeviceInputCount(type);
    });
    grid_.AddPicker({.label = "lblPilotSource", .picker = "cboNewSource", .offset = 1335, .width = 1140,
                     .choices = Choices::Of(VantelPilotSourceTexts),
                     .get = [this](int r) { return PilotSource(Pilot(r)); },
                     .set = [this](int r, int source) { Pilot(r) = WithPilotSource(Pilot(r), source); }});
    grid_.AddPicker({.label = "lblPilotNumber", .picker = "cboNewNumber", .offset = 2540, .width = 600,
                     .choices = Choices::Range(1, ItemCount),
                     .get = [this](int r) { return PilotNumber(Pilot(r)); },
                     .set = [this](int r, int number) { Pilot(r) = WithPilotNumber(Pilot(r), number); },
                     .caption = [this](int r) {
                         const int pilot = Pilot(r);
                         if (PilotSource(pilot) == PilotStatic) return QString((pilot & 1) ? " On" : " Off");
                         return QStringLiteral(" ") + QString::number(PilotNumber(pilot));
                     },
                     // A click on a static pilot's lamp switches it instead.
                     .open = [this](int r) {
                         if (PilotSource(Pilot(r)) != PilotStatic) return true;
                         Pilot(r) = ToggledStaticPilot(Pilot(r));
                         Edited();
                         return false;
                     }});
    connect(cmdAutoMapThisVT_, &QPushButton::clicked, this, [this] { AutoMapThis(); });
    connect(cmdAutoMapAllVT_, &QPushButton::clicked, this, [this] { AutoMapAll(); });
}

int frmT2VantelPilots::Device() const { return std::max(cboVantelDevice_.Index(), 0); }

Integer& frmT2VantelPilots::Pilot(int row) const { return Devices()[Slot(Device())].DeviceInputPilot[Slot(row)]; }

QComboBox* frmT2VantelPilots::DeviceList() const { return cboVantelDevice_.List(); }

void frmT2VantelPilots::SelectDevice(int entry)
{
    cboVantelDevice_.Select(entry);
    grid_.Refill();
    Redraw();
}

void frmT2VantelPilots::Redraw()
{
    const bool lamps = grid_.Shown() > 0;
    cmdAutoMapThisVT_->setVisible(lamps);
    cmdAutoMapAllVT_->setVisible(lamps);
    EditorWindow::Redraw();
}

void frmT2VantelPilots::AutoMapThis()
{
    HidePickers();
    {
        const WaitPointer wait;
        AutoMapDevice(Devices()[Slot(Device())]);
        Redraw();
    }
    MarkChanged();
}

void frmT2VantelPilots::AutoMapAll()
{
    HidePickers();
    if (!AskYesNo("Auto Map Verify", "This Will Auto Map The Pilots For ALL Vantel Devices.\nContinue?")) {
        Inform("Auto Map", "Auto Map Canceled");
        return;
    }
    {
        const WaitPointer wait;
        AutoMapAllDevices(Devices());
        Redraw();
    }
    MarkChanged();
    Inform("Auto Map", "Auto Map Complete");
}

}  // namespace t2
