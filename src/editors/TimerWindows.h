// The timer editors: the time and days of each timer, and what each timer
// does to the relays, groups and presets when it fires.
#pragma once

#include "EditorWindow.h"
#include "SunTimes.h"
#include "TimerTime.h"

#include <optional>

class QGroupBox;
class QLabel;

namespace t2 {

// "Configure Timers": one timer at a time, chosen in cboTimerNumber. The time
// is a clock time, an astronomical offset or an open/close offset (only the
// lists of the chosen type show); the timer runs on the checked weekdays or
// on one date ("Holiday"). An astronomical time also shows the clock time it
// gives today at the configured site.
class frmT2TimersConfigure : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2TimersConfigure(ProgramState& state, QWidget* parent = nullptr);

    // The selected timer 0..47.
    int Timer() const;
    QComboBox* TimerList() const { return cboTimerNumber_.List(); }
    // Shows the selected timer's stored values.
    void ShowTimerSettings() { Redraw(); }
    // The date the astronomical time is shown for (none: today).
    void SetSunDate(std::optional<CivilDate> date);

    void Redraw() override;

private:
    TimerTime Time() const;
    void SetTime(TimerTime time);
    Integer& Code() const;

    Selector& cboTimerNumber_;
    QGroupBox* fraTime_;
    QGroupBox* fraDay_;
    std::vector<QWidget*> clockLists_, astroLists_, openCloseLists_, holidayLists_;
    BitBoxes* chkDays_ = nullptr;
    QLabel* lblAstroToday_;
    std::optional<CivilDate> sunDate_;
};

// What sets the three timer control windows apart.
struct TimerControlKind {
    WindowInfo info;
    QString nameLabel;                        // "lblRelayName"
    NameArray PanelConfig::*names = nullptr;
    QString toolTip;                          // "Relay "
    TextTable actions;
    ItemMatrix PanelConfig::*control = nullptr;   // [timer, target]
    bool rowsByIoCount = false;               // relays: rows below TotalIOCount only
};

// "Timer To Relay Control", "Timer To Group Control", "Timer To Preset
// Control": the action of the selected timer on each of 48 targets.
class TimerControlWindow : public EditorWindow {
    Q_OBJECT
public:
    TimerControlWindow(ProgramState& state, const TimerControlKind& kind, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    QComboBox* TimerList() const { return cboTimer_.List(); }
    // Redraws every action label of the selected timer.
    void ShowControl() { Redraw(); }

private:
    Selector& cboTimer_;
    EditorGrid& grid_;
};

class frmT2TimerToRelayControl : public TimerControlWindow {
public:
    static const WindowInfo Info;
    explicit frmT2TimerToRelayControl(ProgramState& state, QWidget* parent = nullptr);
};
class frmT2TimerToGroupControl : public TimerControlWindow {
public:
    static const WindowInfo Info;
    explicit frmT2TimerToGroupControl(ProgramState& state, QWidget* parent = nullptr);
};
class frmT2TimerToPresetControl : public TimerControlWindow {
public:
    static const WindowInfo Info;
    explicit frmT2TimerToPresetControl(ProgramState& state, QWidget* parent = nullptr);
};

}  // namespace t2
