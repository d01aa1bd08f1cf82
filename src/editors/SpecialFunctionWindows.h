// The special functions: photocell filter, clock source, timed-on start,
// relay drive (each a frame of option buttons) and the blink alert, override
// and alarm times.
#pragma once

#include "EditorWindow.h"

#include <functional>

class QGroupBox;

namespace t2 {

// What sets one option window apart from the others.
struct OptionWindowKind {
    WindowInfo info;           // {"frmT2PhotocellFilter", "Photocell Filter"}
    QString frame;             // "fraPhotocellFilter"
    QString frameCaption;      // "Photocell Filter"
    QString options;           // "optPCFilter": buttons optPCFilter_0 ..
    TextTable captions;        // the buttons' captions, in index order
    int width = 3600;          // of the frame (twips)
    // The selected button from the configuration and a click into it. Without
    // them the choice has no place in the configuration: the window shows the
    // last click and a click only marks the configuration changed.
    std::function<int(const PanelConfig&)> get{};
    std::function<void(PanelConfig&, int index)> set{};
};

class OptionWindow : public EditorWindow {
    Q_OBJECT
public:
    OptionWindow(ProgramState& state, OptionWindowKind kind, QWidget* parent = nullptr);

    OptionGroup& Options() const { return options_; }
    QGroupBox* Frame() const { return frame_; }

private:
    OptionWindowKind kind_;
    QGroupBox* frame_;
    OptionGroup& options_;
    int clicked_ = -1;   // the last click, for a choice the configuration does not keep
};

// "Photocell Filter": PhotocellFilterShort, -1 for "2 Second Average".
class frmT2PhotocellFilter : public OptionWindow {
public:
    static const WindowInfo Info;
    explicit frmT2PhotocellFilter(ProgramState& state, QWidget* parent = nullptr);
};

// "RTC Source": RtcSource is the option's index.
class frmT2RTCSource : public OptionWindow {
public:
    static const WindowInfo Info;
    explicit frmT2RTCSource(ProgramState& state, QWidget* parent = nullptr);
};

// "Configure Timed-On": TimedOnStartsOnClose, -1 for "... When Input Closes".
class frmT2ConfigureTimedOn : public OptionWindow {
public:
    static const WindowInfo Info;
    explicit frmT2ConfigureTimedOn(ProgramState& state, QWidget* parent = nullptr);
};

// "Relay Drive": the configuration has no place for it; a click only marks
// the configuration changed.
class frmT2RelayDrive : public OptionWindow {
public:
    static const WindowInfo Info;
    explicit frmT2RelayDrive(ProgramState& state, QWidget* parent = nullptr);
};

// "Blink Alert And Alarm Settings".
class frmT2BlinkAlertAndAlarmSettings : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2BlinkAlertAndAlarmSettings(ProgramState& state, QWidget* parent = nullptr);

    QComboBox* BlinkAlertList() const { return cboBlinkAlert_.List(); }
    QComboBox* OverRideList() const { return cboOverRide_.List(); }
    QComboBox* AlarmList() const { return cboAlarm_.List(); }

private:
    QGroupBox* frame_;
    ValueList& cboBlinkAlert_;
    ValueList& cboOverRide_;
    ValueList& cboAlarm_;
};

}  // namespace t2
