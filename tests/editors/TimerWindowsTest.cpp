// "Configure Timers" and the three timer control windows driven as a user
// does.
#include "EditorGrid.h"
#include "GuiHelpers.h"
#include "NameTips.h"
#include "ScreenText.h"
#include "TimerWindows.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include <memory>

using namespace t2;
using namespace t2::test;

namespace {

QComboBox* List(QWidget& w, const char* name) { return Find<QComboBox>(w, name); }
QRadioButton* Option(QWidget& w, const char* array, int index) { return Find<QRadioButton>(w, Element(array, index)); }
QCheckBox* Day(QWidget& w, int bit) { return Find<QCheckBox>(w, Element("chkDays", bit)); }

TimerTime TimeOf(const ProgramState& s, int timer) { return {s.Config.TimerTimeCode[timer], s.Config.TimerMinute[timer]}; }

// A window on timer 4 (index 3) of a fresh configuration.
struct TimerFixture {
    ProgramState s = FreshState();
    std::unique_ptr<frmT2TimersConfigure> w;

    explicit TimerFixture(const std::function<void(PanelConfig&)>& setup = {})
    {
        if (setup) setup(s.Config);
        s.History.Reset(s);
        w = std::make_unique<frmT2TimersConfigure>(s);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        Choose(w->TimerList(), 3);
    }
    TimerTime Time() const { return TimeOf(s, 3); }
};

}  // namespace

TEST(ConfigureTimers, ClockTimeCodes)
{
    struct Case {
        const char* what;
        int hour, minute, amPm;   // list entries
        TimerTime stored;
    };
    const Case cases[] = {
        {"12:05 AM", 0, 5, 0, {0, 5}},
        {"12:05 PM", 0, 5, 1, {12, 5}},
        {"11:59 PM", 11, 59, 1, {23, 59}},
        {"7:30 AM", 7, 30, 0, {7, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TimerFixture f([](PanelConfig& config) { config.TimerTimeCode[3] = 18; });
        EXPECT_EQ(f.w->windowTitle(), "Configure Timers");
        ASSERT_EQ(List(*f.w, "cboNormalTimeHour")->count(), 12);
        EXPECT_EQ(List(*f.w, "cboNormalTimeHour")->itemText(0), "12:");
        EXPECT_EQ(List(*f.w, "cboNormalTimeMinute")->itemText(5), "05");
        EXPECT_EQ(List(*f.w, "cboNormalTimeHour")->currentText(), "6:");
        EXPECT_EQ(List(*f.w, "cboNormalTimeAmPm")->currentText(), "PM");
        EXPECT_FALSE(f.s.DataChanged);
        Choose(List(*f.w, "cboNormalTimeAmPm"), c.amPm);
        Choose(List(*f.w, "cboNormalTimeHour"), c.hour);
        Choose(List(*f.w, "cboNormalTimeMinute"), c.minute);
        EXPECT_EQ(f.Time(), c.stored);
        EXPECT_TRUE(f.s.DataChanged);
        EXPECT_EQ(f.s.History.UndoName(), "Configure Timers");
        EXPECT_EQ(TimeOf(f.s, 2), (TimerTime{0, 0}));   // other timers untouched
    }
}

TEST(ConfigureTimers, OffsetTimeCodes)
{
    struct Case {
        const char* what;
        int option;                    // 1 Astro, 2 Open/Close
        const char* typeList;
        const char* minuteList;
        int type, minutes;
        TimerTime stored;
    };
    const Case cases[] = {
        {"Before Sunset 600", 1, "cboAstroType", "cboMinuteFromAstro", 2, 600, {90, 88}},
        {"After Close 999", 2, "cboOpenCloseType", "cboMinuteFromOpenClose", 3, 999, {251, 231}},
        {"After Sunrise 0", 1, "cboAstroType", "cboMinuteFromAstro", 1, 0, {56, 0}},
        {"Before Open 256", 2, "cboOpenCloseType", "cboMinuteFromOpenClose", 0, 256, {153, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TimerFixture f;
        Tick(Option(*f.w, "optTimeType", c.option));
        EXPECT_TRUE(List(*f.w, c.typeList)->isVisible());
        EXPECT_FALSE(List(*f.w, "cboNormalTimeHour")->isVisible());
        ASSERT_EQ(List(*f.w, c.minuteList)->count(), 1000);
        EXPECT_EQ(List(*f.w, c.minuteList)->itemText(999), "999 Min");
        Choose(List(*f.w, c.typeList), c.type);
        Choose(List(*f.w, c.minuteList), c.minutes);
        EXPECT_EQ(f.Time(), c.stored);

        // A new type keeps the offset; a new offset keeps the type.
        const int otherType = (c.type + 1) % 4;
        Choose(List(*f.w, c.typeList), otherType);
        EXPECT_EQ(OffsetOf(f.Time().code, f.Time().minute), c.minutes);
        EXPECT_EQ(List(*f.w, c.minuteList)->currentIndex(), c.minutes);
        Choose(List(*f.w, c.minuteList), 17);
        EXPECT_EQ(OffsetTypeOf(f.Time().code), otherType);
        EXPECT_EQ(OffsetOf(f.Time().code, f.Time().minute), 17);
        EXPECT_EQ(List(*f.w, c.typeList)->currentIndex(), otherType);
    }
}

TEST(ConfigureTimers, ChangingTheTimeTypeResetsTheTime)
{
    TimerFixture f([](PanelConfig& config) {
        config.TimerTimeCode[3] = 90;   // Before Sunset 600
        config.TimerMinute[3] = 88;
    });
    EXPECT_TRUE(Option(*f.w, "optTimeType", 1)->isChecked());
    EXPECT_EQ(List(*f.w, "cboAstroType")->currentText(), "Before Sunset");
    EXPECT_EQ(List(*f.w, "cboMinuteFromAstro")->currentText(), "600 Min");

    Tick(Option(*f.w, "optTimeType", 1));   // the type it has: kept, still an edit
    EXPECT_EQ(f.Time(), (TimerTime{90, 88}));
    EXPECT_TRUE(f.s.DataChanged);

    struct Step {
        int option;
        TimerTime stored;
        const char* shown;   // a list of the type, now visible
        QString text;
    };
    const Step steps[] = {
        {2, {152, 0}, "cboOpenCloseType", "Before Open"},
        {1, {24, 0}, "cboAstroType", "Before Sunrise"},
        {0, {0, 0}, "cboNormalTimeHour", "12:"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.option);
        Tick(Option(*f.w, "optTimeType", step.option));
        EXPECT_EQ(f.Time(), step.stored);
        EXPECT_TRUE(List(*f.w, step.shown)->isVisible());
        EXPECT_EQ(List(*f.w, step.shown)->currentText(), step.text);
        int visible = 0;
        for (const char* l : {"cboNormalTimeHour", "cboNormalTimeMinute", "cboNormalTimeAmPm", "cboMinuteFromAstro",
                              "cboAstroType", "cboMinuteFromOpenClose", "cboOpenCloseType"})
            visible += List(*f.w, l)->isVisible() ? 1 : 0;
        EXPECT_EQ(visible, step.option == 0 ? 3 : 2);
    }
}

TEST(ConfigureTimers, DaysAndHoliday)
{
    TimerFixture f([](PanelConfig& config) {
        config.TimerDays[3] = 0;           // every day, holidays ignored
        config.TimerHolidayDate[3] = 17;
    });
    for (int bit = 0; bit < 8; ++bit) {
        EXPECT_TRUE(Day(*f.w, bit)->isVisible());
        EXPECT_TRUE(Day(*f.w, bit)->isChecked()) << bit;
    }
    EXPECT_EQ(Day(*f.w, 7)->text(), "Ignore Holidays");
    EXPECT_FALSE(List(*f.w, "cboHolidayMonth")->isVisible());

    // A day box is an edit like any other: it marks the change and can be undone.
    Tick(Day(*f.w, 0));
    EXPECT_EQ(f.s.Config.TimerDays[3], 1);
    EXPECT_TRUE(f.s.DataChanged);
    EXPECT_TRUE(f.s.History.CanUndo());
    Tick(Day(*f.w, 7));
    EXPECT_EQ(f.s.Config.TimerDays[3], 129);
    EXPECT_FALSE(Day(*f.w, 7)->isChecked());
    ASSERT_TRUE(f.s.History.Undo(f.s));
    EXPECT_EQ(f.s.Config.TimerDays[3], 1);

    // Holiday on a timer without a month selects January.
    Tick(Option(*f.w, "optDaysType", 1));
    EXPECT_EQ(f.s.Config.TimerHolidayMonth[3], 1);
    EXPECT_EQ(List(*f.w, "cboHolidayMonth")->currentText(), "January");
    EXPECT_EQ(List(*f.w, "cboHolidayDate")->currentText(), "17");
    EXPECT_TRUE(List(*f.w, "cboHolidayMonth")->isVisible());
    EXPECT_FALSE(Day(*f.w, 0)->isVisible());
    Choose(List(*f.w, "cboHolidayMonth"), 11);
    Choose(List(*f.w, "cboHolidayDate"), 30);
    EXPECT_EQ(f.s.Config.TimerHolidayMonth[3], 12);
    EXPECT_EQ(f.s.Config.TimerHolidayDate[3], 31);
    Tick(Option(*f.w, "optDaysType", 1));   // Holiday again keeps the month
    EXPECT_EQ(f.s.Config.TimerHolidayMonth[3], 12);

    // Back to weekdays: the month goes, the date and the mask stay.
    Tick(Option(*f.w, "optDaysType", 0));
    EXPECT_EQ(f.s.Config.TimerHolidayMonth[3], 0);
    EXPECT_EQ(f.s.Config.TimerHolidayDate[3], 31);
    EXPECT_EQ(f.s.Config.TimerDays[3], 1);
    EXPECT_FALSE(Day(*f.w, 0)->isChecked());
    EXPECT_TRUE(Day(*f.w, 1)->isChecked());
    EXPECT_TRUE(Day(*f.w, 0)->isVisible());
}

TEST(ConfigureTimers, ShowingTimersIsNoEditAndOddValuesSelectNothing)
{
    ProgramState s = FreshState();
    PanelConfig& c = s.Config;
    c.TimerNames[1] = "DUSK";
    c.TimerTimeCode[1] = 251;   // After Close 999
    c.TimerMinute[1] = 231;
    c.TimerHolidayMonth[1] = 7;
    c.TimerHolidayDate[1] = 4;
    c.TimerTimeCode[2] = 9;     // a clock minute past 59
    c.TimerMinute[2] = 75;
    c.TimerTimeCode[3] = 24;    // an offset minute past 255
    c.TimerMinute[3] = 300;
    c.TimerHolidayMonth[3] = 13;
    c.TimerHolidayDate[3] = 0;
    c.TimerTimeCode[4] = -7;    // no hour at all
    const PanelConfig before = c;
    frmT2TimersConfigure w(s);
    w.show();
    ASSERT_EQ(w.TimerList()->count(), 48);
    EXPECT_EQ(w.TimerList()->itemText(1), "DUSK");
    EXPECT_EQ(w.Timer(), 0);

    struct Case {
        int timer;
        std::vector<std::pair<const char*, int>> selected;   // visible list, entry (-1: none)
    };
    const Case cases[] = {
        {1, {{"cboOpenCloseType", 3}, {"cboMinuteFromOpenClose", 999}, {"cboHolidayMonth", 6}, {"cboHolidayDate", 3}}},
        {2, {{"cboNormalTimeHour", 9}, {"cboNormalTimeMinute", -1}, {"cboNormalTimeAmPm", 0}}},
        {3, {{"cboAstroType", 0}, {"cboMinuteFromAstro", -1}, {"cboHolidayMonth", -1}, {"cboHolidayDate", -1}}},
        {4, {{"cboNormalTimeHour", -1}, {"cboNormalTimeMinute", 0}, {"cboNormalTimeAmPm", -1}}},
        {0, {{"cboNormalTimeHour", 0}, {"cboNormalTimeMinute", 0}, {"cboNormalTimeAmPm", 0}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.timer);
        Choose(w.TimerList(), k.timer);
        for (const auto& [list, entry] : k.selected) {
            EXPECT_TRUE(List(w, list)->isVisible()) << list;
            EXPECT_EQ(List(w, list)->currentIndex(), entry) << list;
        }
    }
    w.OnActivate();
    EXPECT_EQ(w.Timer(), 0);
    EXPECT_FALSE(s.DataChanged);
    EXPECT_EQ(s.Config, before);

    // Picking an hour for a code with no hour stores an AM hour.
    Choose(w.TimerList(), 4);
    Choose(List(w, "cboNormalTimeHour"), 3);
    EXPECT_EQ(s.Config.TimerTimeCode[4], 3);
}

TEST(ConfigureTimers, AstronomicalTimeShowsItsClockTimeToday)
{
    // Washington, DC on 2024-06-20: the US Naval Observatory gives sunset at
    // 8:37 PM daylight time, so "30 Min After Sunset" acts at about 9:07 PM.
    TimerFixture f([](PanelConfig& config) {
        config.Latitude = 39;
        config.Longitude = 77;
        config.TimeZone = 0;
        config.TimerTimeCode[3] = 24 + 96;
        config.TimerMinute[3] = 30;
    });
    f.w->SetSunDate(CivilDate{2024, 6, 20});
    QLabel* today = Find<QLabel>(*f.w, "lblAstroToday");
    ASSERT_TRUE(today->isVisible());
    EXPECT_TRUE(today->text().startsWith("Today at the site: ")) << today->text().toStdString();
    EXPECT_TRUE(today->text().endsWith("(daylight saving time)")) << today->text().toStdString();
    EXPECT_NEAR(ClockMinutes(today->text()), 21 * 60 + 7, 2);
    EXPECT_FALSE(f.s.DataChanged);   // display only

    f.w->SetSunDate(CivilDate{2024, 12, 21});   // sunset 4:49 PM standard time
    EXPECT_NEAR(ClockMinutes(today->text()), 17 * 60 + 19, 2);
    EXPECT_FALSE(today->text().contains("daylight"));

    Choose(List(*f.w, "cboMinuteFromAstro"), 60);
    EXPECT_NEAR(ClockMinutes(today->text()), 17 * 60 + 49, 2);

    f.s.Config.Latitude = 70;   // polar night
    f.w->ShowTimerSettings();
    EXPECT_EQ(today->text(), "Today at the site: the sun stays below the horizon all day");

    Tick(Option(*f.w, "optTimeType", 2));
    EXPECT_FALSE(today->isVisible());
}

// The line stays readable whatever it says: a time on the next day with
// daylight saving time wraps within the frame, and an offset no list holds
// (only from a file) says so instead of showing nothing.
TEST(ConfigureTimers, AstronomicalLineFitsOrSaysWhy)
{
    TimerFixture f([](PanelConfig& config) {
        config.Latitude = 65;    // Fairbanks, Alaska time: sunset after midnight in June
        config.Longitude = 148;
        config.TimeZone = 4;
        config.TimerTimeCode[3] = 24 + 96;   // 30 Min After Sunset
        config.TimerMinute[3] = 30;
    });
    f.w->SetSunDate(CivilDate{2026, 6, 21});
    QLabel* today = Find<QLabel>(*f.w, "lblAstroToday");
    ASSERT_TRUE(today->isVisible());
    EXPECT_TRUE(today->text().contains("(next day)")) << today->text().toStdString();
    EXPECT_TRUE(today->text().endsWith("(daylight saving time)")) << today->text().toStdString();
    EXPECT_TRUE(LabelTextFits(today)) << today->text().toStdString();
    const QRect inFrame = today->geometry();
    EXPECT_TRUE(today->parentWidget()->contentsRect().contains(inFrame));

    f.s.Config.TimerMinute[3] = 300;   // TimerTimeCode 120: bits 8-9 of the offset are 0
    f.s.Config.TimerTimeCode[3] = 24;
    f.w->ShowTimerSettings();
    EXPECT_EQ(today->text(), "Today at the site: offset 300 out of range");
    EXPECT_EQ(List(*f.w, "cboMinuteFromAstro")->currentIndex(), -1);
    EXPECT_FALSE(f.s.DataChanged);
}

// ---------------------------------------------------------------------------

namespace {

struct ControlCase {
    const char* window;
    std::function<TimerControlWindow*(ProgramState&)> make;
    const char* nameLabel;
    QString toolTip;
    QStringList actions;
    std::function<Integer&(PanelConfig&, int timer, int target)> value;
    bool byIo;
};

std::vector<ControlCase> ControlCases()
{
    return {
        {"frmT2TimerToRelayControl", [](ProgramState& s) { return new frmT2TimerToRelayControl(s); }, "lblRelayName",
         "Relay ", {"None", "Turn On", "Turn Off"},
         [](PanelConfig& c, int t, int r) -> Integer& { return c.TimerRelayControl(t, r); }, true},
        {"frmT2TimerToGroupControl", [](ProgramState& s) { return new frmT2TimerToGroupControl(s); }, "lblGroupName",
         "Group ", {"None", "Turn On", "Turn Off"},
         [](PanelConfig& c, int t, int r) -> Integer& { return c.TimerGroupControl(t, r); }, false},
        {"frmT2TimerToPresetControl", [](ProgramState& s) { return new frmT2TimerToPresetControl(s); }, "lblPresetName",
         "Preset ", {"None", "Activate"},
         [](PanelConfig& c, int t, int r) -> Integer& { return c.TimerPresetControl(t, r); }, false},
    };
}

}  // namespace

TEST(TimerControl, ActionsOfTheSelectedTimer)
{
    for (const ControlCase& c : ControlCases()) {
        SCOPED_TRACE(c.window);
        ProgramState s = FreshState(16);
        s.Config.TimerNames[5] = "NIGHT";
        c.value(s.Config, 5, 2) = 1;
        c.value(s.Config, 5, 40) = 1;                 // a relay beyond the I/O for the relay window
        c.value(s.Config, 0, 3) = 9;                  // outside the list
        std::unique_ptr<TimerControlWindow> w(c.make(s));
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        EXPECT_EQ(w->objectName(), c.window);
        QComboBox* timers = w->TimerList();
        ASSERT_EQ(timers->count(), 48);
        EXPECT_EQ(timers->itemText(5), "NIGHT");
        QComboBox* actions = Find<QComboBox>(*w, "cboControl");
        ASSERT_EQ(actions->count(), c.actions.size());
        for (int k = 0; k < c.actions.size(); ++k) EXPECT_EQ(actions->itemText(k), c.actions[k]);

        const int shown = c.byIo ? 16 : 48;
        EXPECT_TRUE(Find<QLabel>(*w, Element(c.nameLabel, shown - 1))->isVisible());
        EXPECT_EQ(Find<QLabel>(*w, Element(c.nameLabel, shown - 1))->toolTip(), c.toolTip + TwoDigits(shown));
        if (shown < 48) {
            EXPECT_FALSE(Find<QLabel>(*w, Element(c.nameLabel, shown))->isVisible());
            EXPECT_FALSE(Find<QLabel>(*w, Element("lblControl", shown))->isVisible());
        }
        QLabel* cell = Find<QLabel>(*w, Element("lblControl", 2));
        EXPECT_EQ(cell->text(), " None");
        EXPECT_EQ(Find<QLabel>(*w, Element("lblControl", 3))->text(), " ");   // 9 has no text

        Choose(timers, 5);
        EXPECT_EQ(cell->text(), " " + c.actions[1]);
        EXPECT_FALSE(s.DataChanged);

        // Opening the list marks the change; the stored entry is selected.
        Click(cell);
        ASSERT_TRUE(actions->isVisible());
        EXPECT_EQ(actions->geometry().topLeft(), cell->geometry().topLeft());
        EXPECT_EQ(actions->currentIndex(), 1);
        EXPECT_TRUE(s.DataChanged);
        Choose(actions, 1);   // the entry already stored: kept, list closed
        EXPECT_EQ(c.value(s.Config, 5, 2), 1);
        EXPECT_FALSE(actions->isVisible());

        Click(Find<QLabel>(*w, Element("lblControl", 7)));
        Choose(actions, c.actions.size() - 1);
        EXPECT_EQ(c.value(s.Config, 5, 7), c.actions.size() - 1);
        EXPECT_EQ(c.value(s.Config, 0, 7), 0);
        EXPECT_EQ(Find<QLabel>(*w, Element("lblControl", 7))->text(), " " + c.actions.back());

        // Another timer closes an open list and stores nothing.
        Click(Find<QLabel>(*w, Element("lblControl", 8)));
        ASSERT_TRUE(actions->isVisible());
        Choose(timers, 0);
        EXPECT_FALSE(actions->isVisible());
        EXPECT_EQ(c.value(s.Config, 5, 8), 0);
        EXPECT_EQ(c.value(s.Config, 0, 8), 0);
        EXPECT_EQ(Find<QLabel>(*w, Element("lblControl", 7))->text(), " None");
        EXPECT_EQ(c.value(s.Config, 5, 40), 1);   // never shown, never touched
        EXPECT_EQ(c.value(s.Config, 0, 3), 9);
    }
}
