// "Timer Schedule" driven as a user does: the week of a sample site, a day
// chosen with the mouse and the keys, a week forward, the year's readout, the
// Checks, and the export, each compared with the schedule the core computes.
#include "GuiHelpers.h"
#include "ScheduleExport.h"
#include "ScreenText.h"
#include "TimerScheduleWindow.h"

#include "Prompts.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <memory>

using namespace t2;
using namespace t2::test;

namespace {

// Washington, DC, with a timer of each kind; the week from Thursday March 5,
// 2026 holds the day daylight saving time starts.
ProgramState Sample()
{
    ProgramState s = FreshState();
    PanelConfig& c = s.Config;
    c.Latitude = 39;
    c.Longitude = 77;
    c.TimeZone = 0;
    c.TimerNames[0] = "DUSK";
    c.TimerTimeCode[0] = 24 + 96;   // 30 Min After Sunset
    c.TimerMinute[0] = 30;
    c.TimerRelayControl(0, 0) = 1;
    c.TimerNames[1] = "OPENING";
    c.TimerTimeCode[1] = 24 + 128 + 32;   // 15 Min After Open
    c.TimerMinute[1] = 15;
    c.TimerGroupControl(1, 2) = 1;
    c.TimerNames[2] = "EARLY";
    c.TimerTimeCode[2] = 24 + 2;          // 600 Min Before Sunrise
    c.TimerMinute[2] = 88;
    c.TimerPresetControl(2, 1) = 1;
    c.TimerDays[2] = 0xC1;                // weekdays, holidays not ignored
    c.TimerNames[3] = "NEVER";
    c.TimerHolidayMonth[3] = 2;           // 30 February
    c.TimerHolidayDate[3] = 30;
    c.TimerRelayControl(3, 1) = 2;
    c.SingleDateOpenTime(2, 9) = 40;      // March 10: 10:00A to 3:00P
    c.SingleDateCloseTime(2, 9) = 60;
    return s;
}

QStringList Row(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int col = 0; col < item->columnCount(); ++col) texts << item->text(col);
    return texts;
}

QList<QStringList> Rows(const QTreeWidget* list)
{
    QList<QStringList> rows;
    for (int k = 0; k < list->topLevelItemCount(); ++k) rows << Row(list->topLevelItem(k));
    return rows;
}

// The list the core gives for day d of the schedule.
QList<QStringList> Expected(const Schedule& s, int d, bool all = false)
{
    QList<QStringList> rows;
    for (int k : s.days[static_cast<std::size_t>(d)].runs) {
        const TimerRun& run = s.runs[static_cast<std::size_t>(k)];
        if (!all && s.TimerOf(run).actions.empty()) continue;
        const RunFields f = DescribeRun(s, run);
        rows << QStringList{QString::fromStdString(f.time), QString::fromStdString(f.timer), ToScreen(f.name),
                            ToScreen(f.actions), ToScreen(f.notes)};
    }
    return rows;
}

struct ScheduleFixture {
    ProgramState s = Sample();
    std::unique_ptr<frmT2TimerSchedule> w;

    ScheduleFixture()
    {
        s.History.Reset(s);
        w = std::make_unique<frmT2TimerSchedule>(s);
        w->TodayIs = [] { return CivilDate{2026, 3, 5}; };
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
};

}  // namespace

TEST(TimerScheduleWindow, TheWeekAndAChosenDayAsTheCoreComputesThem)
{
    ScheduleFixture f;
    frmT2TimerSchedule& w = *f.w;
    EXPECT_EQ(w.windowTitle(), "Timer Schedule");
    EXPECT_EQ(w.FromDate()->date(), QDate(2026, 3, 5));   // today
    EXPECT_EQ(w.Views()->tabText(0), "Week");
    EXPECT_EQ(w.Views()->currentIndex(), 0);
    const Schedule week = ComputeSchedule(f.s.Config, {2026, 3, 5}, 7);
    EXPECT_EQ(w.SelectedDay(), 0);
    EXPECT_EQ(Rows(w.DayList()), Expected(week, 0));
    EXPECT_EQ(w.DayList()->topLevelItemCount(), 3);

    // Sunday March 8 with the mouse: daylight saving time starts.
    QTest::mouseClick(w.WeekChart(), Qt::LeftButton, {}, w.WeekChart()->DayRect(3).center());
    EXPECT_EQ(w.SelectedDay(), 3);
    EXPECT_EQ(Rows(w.DayList()), Expected(week, 3));
    EXPECT_EQ(w.DayList()->topLevelItemCount(), 2);   // no EARLY on a Sunday
    EXPECT_TRUE(w.DayLabel()->text().startsWith("Sunday, March 8, 2026: Sunrise "));
    EXPECT_TRUE(w.DayLabel()->text().endsWith("Daylight saving time starts: the clock goes from 2:00A to 3:00A"));

    // Tuesday March 10 with the keys: its own open and close times.
    QTest::keyClick(w.WeekChart(), Qt::Key_Down);
    QTest::keyClick(w.WeekChart(), Qt::Key_Down);
    EXPECT_EQ(w.SelectedDay(), 5);
    const QList<QStringList> tuesday = Expected(week, 5);
    EXPECT_EQ(Rows(w.DayList()), tuesday);
    ASSERT_EQ(tuesday.size(), 3);
    EXPECT_EQ(tuesday[0][0], QString::fromStdString(Clock12Text(SunAtSite(f.s.Config, {2026, 3, 10}).sunriseClock - 600)));
    EXPECT_TRUE(tuesday[0][0].endsWith(" (day before)"));
    EXPECT_EQ(tuesday[0].mid(1, 3), (QStringList{"T03", "EARLY", "Activate P02 PRESET 02"}));
    EXPECT_EQ(tuesday[1].mid(0, 4), (QStringList{"10:15A", "T02", "OPENING", "Turn On G03 GROUP 03"}));
    EXPECT_TRUE(w.DayLabel()->text().endsWith("Open 10:00A, close 3:00P (this date's own times)"));
    const TimerRun* mark = w.WeekChart()->RunAt(
        {w.WeekChart()->LineRect(5).left() + 1, w.WeekChart()->LineRect(5).center().y()});   // the arrow of EARLY
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->timer, 2);

    // A week forward: March 12 .. 18, the same row chosen.
    Click(w.NextWeekButton());
    EXPECT_EQ(w.From(), (CivilDate{2026, 3, 12}));
    EXPECT_EQ(w.FromDate()->date(), QDate(2026, 3, 12));
    const Schedule next = ComputeSchedule(f.s.Config, {2026, 3, 12}, 7);
    EXPECT_EQ(w.Shown().days.front().date, next.days.front().date);
    EXPECT_EQ(w.SelectedDay(), 5);
    EXPECT_EQ(Rows(w.DayList()), Expected(next, 5));
    EXPECT_TRUE(w.DayLabel()->text().startsWith("Tuesday, March 17, 2026: "));
    Click(w.PreviousWeekButton());
    EXPECT_EQ(w.From(), (CivilDate{2026, 3, 5}));
    w.FromDate()->setDate(QDate(2026, 7, 1));
    EXPECT_EQ(w.From(), (CivilDate{2026, 7, 1}));
    Click(w.TodayButton());
    EXPECT_EQ(w.From(), (CivilDate{2026, 3, 5}));

    // The timers that do nothing only on request.
    Tick(w.ShowIdleBox());
    EXPECT_EQ(Rows(w.DayList()), Expected(week, 5, true));
    EXPECT_EQ(w.DayList()->topLevelItemCount(), 3 + 44);

    // Reading the configuration changes nothing.
    EXPECT_FALSE(f.s.DataChanged);
    EXPECT_FALSE(f.s.History.CanUndo());
}

TEST(TimerScheduleWindow, TheYearReadoutFollowsTheMouseAndTheKeys)
{
    ScheduleFixture f;
    frmT2TimerSchedule& w = *f.w;
    w.Views()->setCurrentIndex(1);
    ScheduleYearChart* year = w.YearChart();
    QTRY_VERIFY(year->isVisible());
    EXPECT_EQ(year->Cursor(), 63);   // March 5, the week shown
    auto readout = [&](const CivilDate& d) {
        const SiteSun sun = SunAtSite(f.s.Config, d);
        return QString::fromStdString(LongDateText(d) + ": " + SunText(sun) + "; " + DstStateText(sun.dst));
    };
    EXPECT_EQ(w.YearReadout()->text(), readout({2026, 3, 5}));

    QTest::mouseMove(year, QPoint(year->XOfDay(40), year->height() / 2));
    QTRY_COMPARE(year->Cursor(), 40);
    EXPECT_EQ(w.YearReadout()->text(), readout({2026, 2, 10}));

    year->setFocus();
    QTest::keyClick(year, Qt::Key_Right);
    EXPECT_EQ(w.YearReadout()->text(), readout({2026, 2, 11}));
    QTest::keyClick(year, Qt::Key_End);
    EXPECT_EQ(w.YearReadout()->text(), readout({2026, 12, 31}));
    EXPECT_TRUE(w.YearReadout()->text().endsWith("Daylight saving time not in effect"));
    QTest::keyClick(year, Qt::Key_PageUp);   // December 1
    QTest::keyClick(year, Qt::Key_Return);
    EXPECT_EQ(w.From(), (CivilDate{2026, 12, 1}));
    // A click chooses the day under the mouse.
    QTest::mouseClick(year, Qt::LeftButton, {}, QPoint(year->XOfDay(180), year->height() / 2));
    EXPECT_EQ(w.From(), (CivilDate{2026, 6, 30}));
    EXPECT_TRUE(w.YearReadout()->text().endsWith("Daylight saving time in effect"));
    EXPECT_FALSE(f.s.DataChanged);
}

TEST(TimerScheduleWindow, ChecksAndExport)
{
    ScheduleFixture f;
    frmT2TimerSchedule& w = *f.w;
    const std::vector<ScheduleCheck> checks = ScheduleChecks(f.s.Config);
    ASSERT_EQ(w.ChecksList()->topLevelItemCount(), static_cast<int>(checks.size()));
    EXPECT_EQ(w.Views()->tabText(2), QString("Checks (%1)").arg(checks.size()));
    EXPECT_EQ(Row(w.ChecksList()->topLevelItem(0)),
              (QStringList{"T04", "NEVER", "Never runs", "February 30 does not exist", "Configure Timers"}));
    EXPECT_EQ(Row(w.ChecksList()->topLevelItem(1)),
              (QStringList{"T05", "TIMER 05", "Does nothing", "no relay, group or preset action",
                           "Timer To Relay Control"}));
    EXPECT_FALSE(w.FixButton()->isEnabled());

    // A timer given an action leaves the list when the window is shown again.
    f.s.Config.TimerRelayControl(4, 0) = 1;
    w.OnActivate();
    EXPECT_EQ(w.ChecksList()->topLevelItemCount(), static_cast<int>(checks.size()) - 1);
    EXPECT_EQ(w.ChecksList()->topLevelItem(1)->text(0), "T06");

    // Export: the days asked for, in the format of the file's extension.
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    const QString ics = dir.filePath("week.ics");
    const QString csv = dir.filePath("fortnight.CSV");
    prompts.fileNames = {ics, csv, ""};
    Click(w.ExportButton());
    ASSERT_EQ(prompts.fileAsked.size(), 1u);
    EXPECT_TRUE(prompts.fileAsked[0].save);
    EXPECT_TRUE(prompts.fileAsked[0].filter.contains("*.ICS"));
    const QByteArray calendar = [&] {
        QFile file(ics);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const Schedule week = ComputeSchedule(f.s.Config, {2026, 3, 5}, 7);
    EXPECT_TRUE(calendar.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_EQ(calendar.count("BEGIN:VEVENT\r\n"), static_cast<qsizetype>(week.Events().size()));
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, "The timer schedule was written to " + QDir::toNativeSeparators(ics) + ".");

    w.ExportDays()->setValue(14);
    Click(w.ExportButton());
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray table = file.readAll();
    EXPECT_TRUE(table.startsWith("date,time,timer,name,actions,notes\r\n"));
    EXPECT_EQ(table.count("\r\n"),
              static_cast<qsizetype>(ComputeSchedule(f.s.Config, {2026, 3, 5}, 14).Events().size()) + 1);

    Click(w.ExportButton());   // cancelled: nothing written, nothing said
    EXPECT_EQ(prompts.asked.size(), 2u);
    prompts.fileNames = {dir.path()};   // a folder is refused and left as it is
    Click(w.ExportButton());
    ASSERT_EQ(prompts.asked.size(), 3u);
    EXPECT_TRUE(prompts.asked[2].text.startsWith("The timer schedule could not be written."));
    EXPECT_EQ(prompts.asked[2].icon, PromptIcon::Exclamation);
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
    EXPECT_FALSE(f.s.DataChanged);
}

TEST(TimerScheduleWindow, EveryControlIsNamedAndReachedByTheKeyboard)
{
    ScheduleFixture f;
    for (const char* name : {"dtpFrom", "cmdPreviousWeek", "cmdNextWeek", "cmdToday", "chkShowIdle", "spnExportDays",
                             "cmdExport", "tabViews", "picWeek", "lstDay", "picYear", "lstChecks", "cmdFix"}) {
        SCOPED_TRACE(name);
        QWidget* widget = Find<QWidget>(*f.w, name);
        ASSERT_NE(widget, nullptr);
        EXPECT_FALSE(widget->accessibleName().isEmpty());
        EXPECT_TRUE(widget->focusPolicy() & Qt::TabFocus);
    }
    EXPECT_FALSE(f.w->WeekChart()->accessibleDescription().isEmpty());
}
