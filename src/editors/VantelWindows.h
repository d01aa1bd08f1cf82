// The Vantel network editors: the devices and the types of their inputs, what
// each device input does to relays and to groups, and the inputs' pilot
// lamps with their automatic mapping.
#pragma once

#include "EditorWindow.h"

#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace t2 {

// "Configure Vantel Devices": the type of a device, the type and timed-on
// minutes of each of its inputs, or the off and on levels of a photocell's
// eight channels. The four frames (push button, KIM-4, R6, photocell) share
// one place; the one of the device's type shows.
class frmT2ConfigureVantelDevices : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2ConfigureVantelDevices(ProgramState& state, QWidget* parent = nullptr);

    // The device list entry chosen last (0 is "Select Device"); it stays
    // chosen while the window is loaded.
    int CurrentDevice() const;
    // Chooses a device list entry as the user does.
    void SelectDevice(int entry);
    // Shows the frame of the chosen device and fills it from the records.
    void ShowConfiguration() { Redraw(); }
    void Redraw() override;

    QComboBox* DeviceList() const;
    QComboBox* TypeList() const;

    // The frames, in the order push button, KIM-4, R6, photocell.
    enum FrameKind { ButtonFrame, Kim4Frame, R6Frame, PhotocellFrame, FrameCount };
    QGroupBox* Frame(FrameKind kind) const;
    EditorGrid& Grid(FrameKind kind) const;
    // Cell columns of the input frames (push button, KIM-4, R6) ...
    static constexpr int TypeColumn = 0;
    static constexpr int TimedOnColumn = 1;
    // ... and of the photocell frame.
    static constexpr int OffLevelColumn = 0;
    static constexpr int OnLevelColumn = 1;

private:
    struct InputFrameKind;
    void AddInputFrame(const InputFrameKind& desc);   // in the order of FrameKind
    void AddPhotocellFrame();
    VantelDevice& Device() const;

    Selector& cboVLinkDevice_;
    ValueList& cboVLinkType_;
    std::vector<QGroupBox*> frames_;
    std::vector<EditorGrid*> grids_;
};

// What sets the relay and the group window apart.
struct VantelControlKind {
    WindowInfo info;
    QString nameLabel;   // "lblRelayName"
    Array2<Integer, DeviceInputSlots, ItemSlots> VantelDevice::*codes = nullptr;
    bool groups = false;   // rows are the 48 groups and there is no preset picker
};

// The window of one device input's control of relays or groups: the device
// and input lists, the device and input type captions, one row per relay,
// timer or group with its action, and the preset of a "Set Preset" input.
// The actions, the highest code and the rows follow the input's rules
// (InputControl.h); a stored code above the highest is cut back when shown.
class VantelControlWindow : public EditorWindow {
    Q_OBJECT
public:
    VantelControlWindow(ProgramState& state, VantelControlKind kind, QWidget* parent = nullptr);

    // The chosen device list entry (the device record) and input (0..7).
    int Device() const;
    int Input() const;
    // Choose an entry as the user does.
    void SelectDevice(int entry);
    void SelectInput(int entry);
    // The highest code of the shown input's actions.
    int MaxControlCode() const { return maxControlCode_; }
    // What the rows stand for.
    enum class Rows { None, Relays, Inputs, Timers, Groups };

    // Clamps and redraws the action labels and the preset picker.
    void ShowControl() { Redraw(); }
    void Redraw() override;

    EditorGrid& Grid() const { return grid_; }
    static constexpr int ControlColumn = 0;
    QComboBox* DeviceList() const;
    QComboBox* InputList() const;
    QComboBox* PresetList() const;   // null in the group window
    QLabel* DeviceTypeLabel() const { return lblDeviceType_; }
    QLabel* InputTypeLabel() const { return lblInputType_; }

protected:
    void Refill() override;

private:
    // The input's type caption, its action list and its rows.
    void ShowInputType();
    Array2<Integer, DeviceInputSlots, ItemSlots>& Codes() const;
    int RowCount() const;

    VantelControlKind kind_;
    Selector& cboVantelDevice_;
    Selector& cboInput_;
    QLabel* lblDeviceType_;
    QLabel* lblInputType_;
    ValueList* cboPreset_ = nullptr;
    EditorGrid& grid_;
    // What the last input of a known type showed; an input of a type with no
    // rules keeps it.
    bool known_ = false;
    QString inputCaption_;
    Rows rows_ = Rows::None;
    bool presetShown_ = false;
    int maxControlCode_ = 0;
};

// "Vantel Input To Relay Control".
class frmT2VantelInputToRelayControl : public VantelControlWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2VantelInputToRelayControl(ProgramState& state, QWidget* parent = nullptr);
};

// "Vantel Input To Group Control".
class frmT2VantelInputToGroupControl : public VantelControlWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2VantelInputToGroupControl(ProgramState& state, QWidget* parent = nullptr);
};

// "Vantel Pilots": the pilot lamp of every input of one device, and the two
// auto-map commands.
class frmT2VantelPilots : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2VantelPilots(ProgramState& state, QWidget* parent = nullptr);

    int Device() const;
    void SelectDevice(int entry);
    // Shows the rows of the chosen device.
    void ShowPilotConfiguration() { Redraw(); }
    void Redraw() override;

    EditorGrid& Grid() const { return grid_; }
    static constexpr int SourceColumn = 0;
    static constexpr int NumberColumn = 1;
    QComboBox* DeviceList() const;
    QPushButton* AutoMapThisButton() const { return cmdAutoMapThisVT_; }
    QPushButton* AutoMapAllButton() const { return cmdAutoMapAllVT_; }

private:
    void AutoMapThis();
    void AutoMapAll();
    Integer& Pilot(int row) const;

    Selector& cboVantelDevice_;
    EditorGrid& grid_;
    QPushButton* cmdAutoMapThisVT_;
    QPushButton* cmdAutoMapAllVT_;
};

}  // namespace t2
