// The calendar editors: daylight saving time, the astronomical clock's site,
// the open and close times, and the off-hours sweeps.
#pragma once

#include "EditorWindow.h"
#include "SunTimes.h"

#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;

namespace t2 {

// "Daylight Saving Time": on or off, and the Sundays it starts and ends on.
class frmT2DaylightSavingTime : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2DaylightSavingTime(ProgramState& state, QWidget* parent = nullptr);

    // Enables or greys out the rule's four lists and labels together.
    void DSTOptEn(bool enabled);
    void Redraw() override;

private:
    std::vector<QWidget*> rule_;
};

// "Astro Clock Settings": latitude, longitude and time zone of the site,
// directly or from the city table, with today's sunrise and sunset there
// beside them (display only).
class frmT2AstroClockSettings : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2AstroClockSettings(ProgramState& state, QWidget* parent = nullptr);

    // Back to editing: the lists enabled, the city list and its buttons hidden.
    void RestoreControls();
    bool PickingCity() const { return picking_; }
    // The date the sun is shown for (none: today).
    void SetSunDate(std::optional<CivilDate> date);

    void Redraw() override;

protected:
    void Refill() override { picking_ = false; }

private:
    void ShowSun();

    QGroupBox* fraAstroSettings_;
    std::vector<QWidget*> settings_;   // labels and lists of the frame
    QPushButton* cmdFindLatLon_;
    Selector& cboFindLatLon_;
    QPushButton* cmdAccept_;
    QPushButton* cmdCancel_;
    QGroupBox* fraSun_;
    QLabel* lblSunDate_;
    QLabel* lblSunriseStandard_;
    QLabel* lblSunriseClock_;
    QLabel* lblSunsetStandard_;
    QLabel* lblSunsetClock_;
    QLabel* lblSunNote_;
    bool picking_ = false;
    std::optional<CivilDate> sunDate_;
};

// "Open And Close Time Normal Days": the open and close time of each weekday.
class frmT2OpenAndCloseTimeNormalDays : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2OpenAndCloseTimeNormalDays(ProgramState& state, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    void ShowOpenCloseTimes() { Redraw(); }

private:
    EditorGrid& grid_;
};

// "Open And Close Time Single Dates": the hours of the dates of one month.
class frmT2OpenAndCloseTimeSingleDates : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2OpenAndCloseTimeSingleDates(ProgramState& state, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    int ShownMonth() const { return shownMonth_; }
    int DaysInMonth() const;
    void ShowOpenCloseTimes() { Redraw(); }

private:
    int shownMonth_ = 0;   // January on every load
    EditorGrid& grid_;
};

// "Off Hours Sweep Interval".
class frmT2OffHoursSweepInterval : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2OffHoursSweepInterval(ProgramState& state, QWidget* parent = nullptr);
};

// What sets the two sweep selection windows apart.
struct SweepKind {
    WindowInfo info;
    QString what;                             // "Relay": lblRelayName, lblRelayInclude, "Relay 01"
    NameArray PanelConfig::*names = nullptr;
    ItemArray PanelConfig::*swept = nullptr;
    bool rowsByIoCount = false;
};

// "Off Hours Sweep Relays", "Off Hours Sweep Groups": which relays or groups
// each sweep switches off; a click swaps "Off" and "-".
class SweepSelectionWindow : public EditorWindow {
    Q_OBJECT
public:
    SweepSelectionWindow(ProgramState& state, const SweepKind& kind, QWidget* parent = nullptr);

    EditorGrid& Grid() const { return grid_; }
    // ShowRelayInclude / ShowGroupInclude.
    void ShowInclude() { Redraw(); }

private:
    EditorGrid& grid_;
};

class frmT2OffHoursSweepRelays : public SweepSelectionWindow {
public:
    static const WindowInfo Info;
    explicit frmT2OffHoursSweepRelays(ProgramState& state, QWidget* parent = nullptr);
};
class frmT2OffHoursSweepGroups : public SweepSelectionWindow {
public:
    static const WindowInfo Info;
    explicit frmT2OffHoursSweepGroups(ProgramState& state, QWidget* parent = nullptr);
};

}  // namespace t2
