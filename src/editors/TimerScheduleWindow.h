// "Timer Schedule": what the timers do, read from the configuration and
// shown without changing it. Week: seven days from a date, each a 24-hour line
// with night shaded, the open hours as a band and a mark for every timer run,
// and the chosen day as a list. Year: sunrise and sunset over the year with
// the daylight saving period. Checks: the timers that never run or do nothing,
// each with the window to fix it. Export writes the same schedule as text, CSV
// or a calendar file.
#pragma once

#include "EditorWindow.h"
#include "TimerSchedule.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;

namespace t2 {

// The seven day lines of the week view.
class ScheduleWeekChart : public QWidget {
    Q_OBJECT
public:
    explicit ScheduleWeekChart(QWidget* parent = nullptr);

    // The schedule shown (its first seven days) and whether runs of timers
    // that do nothing show too.
    void SetSchedule(const Schedule* schedule, bool all);
    int SelectedDay() const { return selected_; }
    void SelectDay(int day);
    // The run under a point, or null.
    const TimerRun* RunAt(const QPoint& point) const;
    // Where a day's row and its 24-hour line lie.
    QRect DayRect(int day) const;
    QRect LineRect(int day) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void DaySelected(int day);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;

private:
    int DayCount() const;

    const Schedule* schedule_ = nullptr;
    bool all_ = false;
    int selected_ = 0;
};

// Sunrise and sunset over one year.
class ScheduleYearChart : public QWidget {
    Q_OBJECT
public:
    explicit ScheduleYearChart(QWidget* parent = nullptr);

    // The days of one year (from January 1st) and the chosen one.
    void SetDays(const std::vector<ScheduleDay>* days, int chosen);
    // The day the readout shows (-1: none), moved by the mouse or the keys.
    int Cursor() const { return cursor_; }
    void SetCursor(int day);
    // The day under an x position, or -1.
    int DayAtX(int x) const;
    int XOfDay(int day) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void CursorMoved(int day);
    void DayChosen(int day);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QRect Plot() const;
    int Count() const;

    const std::vector<ScheduleDay>* days_ = nullptr;
    int chosen_ = -1;
    int cursor_ = -1;
};

class frmT2TimerSchedule : public EditorWindow {
    Q_OBJECT
public:
    static const WindowInfo Info;
    explicit frmT2TimerSchedule(ProgramState& state, QWidget* parent = nullptr);

    // The first date of the week shown.
    CivilDate From() const;
    void SetFrom(const CivilDate& date);
    const Schedule& Shown() const { return schedule_; }
    // The day of the week (0..6) whose runs the list shows.
    int SelectedDay() const;
    // What "Today" means here (this computer's date unless a test sets another).
    std::function<CivilDate()> TodayIs = Today;

    QDateEdit* FromDate() const { return dtpFrom_; }
    QPushButton* PreviousWeekButton() const { return cmdPreviousWeek_; }
    QPushButton* NextWeekButton() const { return cmdNextWeek_; }
    QPushButton* TodayButton() const { return cmdToday_; }
    QCheckBox* ShowIdleBox() const { return chkShowIdle_; }
    QPushButton* ExportButton() const { return cmdExport_; }
    QSpinBox* ExportDays() const { return spnExportDays_; }
    QTabWidget* Views() const { return tabViews_; }
    ScheduleWeekChart* WeekChart() const { return week_; }
    ScheduleYearChart* YearChart() const { return year_; }
    QTreeWidget* DayList() const { return lstDay_; }
    QLabel* DayLabel() const { return lblDay_; }
    QLabel* YearReadout() const { return lblYearReadout_; }
    QTreeWidget* ChecksList() const { return lstChecks_; }
    QPushButton* FixButton() const { return cmdFix_; }

    void Redraw() override;

    // Export: asks for a file and writes the schedule of the export days
    // from the week's first date, in the format of the file's extension.
    void cmdExport_Click();
    // Opens the window that fixes the chosen check, on its timer.
    void cmdFix_Click();

protected:
    void Refill() override;

private:
    void Recompute();
    void ShowDay();
    void ShowYearReadout(int day);
    void ShowChecks();

    QDateEdit* dtpFrom_;
    QPushButton* cmdPreviousWeek_;
    QPushButton* cmdNextWeek_;
    QPushButton* cmdToday_;
    QCheckBox* chkShowIdle_;
    QSpinBox* spnExportDays_;
    QPushButton* cmdExport_;
    QTabWidget* tabViews_;
    ScheduleWeekChart* week_;
    QLabel* lblDay_;
    QTreeWidget* lstDay_;
    ScheduleYearChart* year_;
    QLabel* lblYearReadout_;
    QTreeWidget* lstChecks_;
    QPushButton* cmdFix_;

    Schedule schedule_;
    std::vector<ScheduleDay> yearDays_;
    bool started_ = false;   // the date starts at today on the first activation
};

}  // namespace t2
