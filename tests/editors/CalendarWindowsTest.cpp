// The calendar windows driven as a user does: daylight saving time, the
// astronomical clock's site with its sunrise and sunset, the open and close
// times and the off-hours sweeps.
#include "CalendarWindows.h"
#include "CityTable.h"
#include "EditorGrid.h"
#include "GuiHelpers.h"
#include "ScreenText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

using namespace t2;
using namespace t2::test;

namespace {

QComboBox* List(QWidget& w, const QString& name) { return Find<QComboBox>(w, name); }
QLabel* Label(QWidget& w, const QString& name) { return Find<QLabel>(w, name); }
QRadioButton* Option(QWidget& w, const QString& array, int index)
{
    return Find<QRadioButton>(w, Element(array, index));
}

}  // namespace

TEST(DaylightSavingTime, RuleListsAndTheSwitch)
{
    ProgramState s = FreshState();   // on, 2nd Sunday of Mar .. 1st Sunday of Nov
    frmT2DaylightSavingTime w(s);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Daylight Saving Time");
    QCheckBox* enable = Find<QCheckBox>(w, "chkEnableDaylightSavingTime");
    EXPECT_TRUE(enable->isChecked());
    EXPECT_EQ(enable->text(), "Enable Automatic Daylight Saving Time Adjustment");
    EXPECT_EQ(List(w, "cboDSTStartWeek")->currentText(), "2nd Sunday");
    EXPECT_EQ(List(w, "cboDSTStartMonth")->currentText(), "Mar");
    EXPECT_EQ(List(w, "cboDSTEndWeek")->currentText(), "1st Sunday");
    EXPECT_EQ(List(w, "cboDSTEndMonth")->currentText(), "Nov");
    EXPECT_EQ(List(w, "cboDSTEndMonth")->count(), 12);
    EXPECT_EQ(List(w, "cboDSTEndWeek")->itemText(4), "Last Sunday");
    EXPECT_FALSE(s.DataChanged);

    const char* rule[] = {"cboDSTStartWeek", "cboDSTStartMonth", "cboDSTEndWeek", "cboDSTEndMonth",
                          "lblDSTStarts",    "lblDSTStartOf",    "lblDSTEnds",    "lblDSTEndOf"};
    Tick(enable);
    EXPECT_EQ(s.Config.DstEnabled, 0);
    EXPECT_TRUE(s.DataChanged);
    for (const char* name : rule) EXPECT_FALSE(Find<QWidget>(w, name)->isEnabled()) << name;
    EXPECT_EQ(s.Config.DstStartWeek, 2);
    EXPECT_EQ(s.Config.DstEndMonth, 11);
    Tick(enable);
    EXPECT_EQ(s.Config.DstEnabled, -1);
    for (const char* name : rule) EXPECT_TRUE(Find<QWidget>(w, name)->isEnabled()) << name;
    EXPECT_EQ(List(w, "cboDSTStartMonth")->currentText(), "Mar");

    struct Case {
        const char* list;
        int entry;
        Integer PanelConfig::*member;
        int stored;
    };
    const Case cases[] = {
        {"cboDSTStartWeek", 4, &PanelConfig::DstStartWeek, 5},
        {"cboDSTStartMonth", 0, &PanelConfig::DstStartMonth, 1},
        {"cboDSTEndWeek", 2, &PanelConfig::DstEndWeek, 3},
        {"cboDSTEndMonth", 11, &PanelConfig::DstEndMonth, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        Choose(List(w, c.list), c.entry);
        EXPECT_EQ(s.Config.*c.member, c.stored);
    }
}

TEST(DaylightSavingTime, StoredZeroSelectsNothing)
{
    ProgramState s = FreshState();
    s.Config.DstEnabled = 0;
    s.Config.DstStartWeek = 0;
    s.Config.DstEndMonth = 0;
    frmT2DaylightSavingTime w(s);
    w.show();
    EXPECT_FALSE(Find<QCheckBox>(w, "chkEnableDaylightSavingTime")->isChecked());
    EXPECT_FALSE(List(w, "cboDSTStartWeek")->isEnabled());
    EXPECT_EQ(List(w, "cboDSTStartWeek")->currentIndex(), -1);
    EXPECT_EQ(List(w, "cboDSTEndMonth")->currentIndex(), -1);
    EXPECT_EQ(s.Config.DstStartWeek, 0);
    EXPECT_FALSE(s.DataChanged);
}

// ---------------------------------------------------------------------------

namespace {

int CityIndex(const char* name)
{
    for (int i = 0; i < CityCount; ++i)
        if (QString(CityTable()[static_cast<std::size_t>(i)].name) == name) return i;
    return -1;
}

}  // namespace

TEST(AstroClockSettings, ListsStoreTheSite)
{
    ProgramState s = FreshState();   // 45 N, 90 W, Central
    frmT2AstroClockSettings w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(List(w, "cboLatitude")->count(), 46);
    EXPECT_EQ(List(w, "cboLongitude")->count(), 101);
    EXPECT_EQ(List(w, "cboLatitude")->currentText(), "45");
    EXPECT_EQ(List(w, "cboLongitude")->currentText(), "90");
    EXPECT_EQ(List(w, "cboTimeZone")->currentText(), "Central");
    EXPECT_FALSE(List(w, "cboFindLatLon")->isVisible());
    EXPECT_FALSE(Find<QPushButton>(w, "cmdAccept")->isVisible());
    EXPECT_FALSE(s.DataChanged);

    Choose(List(w, "cboLatitude"), 0);
    Choose(List(w, "cboLongitude"), 100);
    Choose(List(w, "cboTimeZone"), 4);
    EXPECT_EQ(s.Config.Latitude, 20);
    EXPECT_EQ(s.Config.Longitude, 150);
    EXPECT_EQ(s.Config.TimeZone, 4);
    EXPECT_TRUE(s.DataChanged);

    // Values from a file outside the lists select nothing and stay.
    s.Config.Latitude = 70;
    s.Config.TimeZone = 9;
    w.OnActivate();
    EXPECT_EQ(List(w, "cboLatitude")->currentIndex(), -1);
    EXPECT_EQ(List(w, "cboTimeZone")->currentIndex(), -1);
    EXPECT_EQ(s.Config.Latitude, 70);
    EXPECT_EQ(Label(w, "lblSunNote")->text(), "Time zone 9 is none of the list");
}

TEST(AstroClockSettings, FindByCity)
{
    struct Case {
        const char* city;
        bool accept;
        int latitude, longitude;
        int latitudeEntry;
    };
    const Case cases[] = {
        {"Alaska,Fairbanks", true, 65, 148, 45},
        {"Florida,Key West", true, 24, 82, 4},
        {"Alaska,Fairbanks", false, 45, 90, 25},   // Cancel stores nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.city) + (c.accept ? " accepted" : " cancelled"));
        ProgramState s = FreshState();
        s.Config.TimeZone = 2;
        frmT2AstroClockSettings w(s);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        QComboBox* cities = List(w, "cboFindLatLon");
        ASSERT_EQ(cities->count(), 260);

        Click(Find<QPushButton>(w, "cmdFindLatLon"));
        EXPECT_TRUE(w.PickingCity());
        EXPECT_TRUE(cities->isVisible());
        for (const char* name : {"fraAstroSettings", "cboLatitude", "cboLongitude", "cboTimeZone", "lblLatitude",
                                 "cmdFindLatLon"})
            EXPECT_FALSE(Find<QWidget>(w, name)->isEnabled()) << name;
        Choose(cities, CityIndex(c.city));
        EXPECT_EQ(cities->currentText(), c.city);
        EXPECT_FALSE(s.DataChanged);
        Click(Find<QPushButton>(w, c.accept ? "cmdAccept" : "cmdCancel"));

        EXPECT_FALSE(w.PickingCity());
        EXPECT_FALSE(cities->isVisible());
        EXPECT_TRUE(List(w, "cboLatitude")->isEnabled());
        EXPECT_EQ(s.Config.Latitude, c.latitude);
        EXPECT_EQ(s.Config.Longitude, c.longitude);
        EXPECT_EQ(s.Config.TimeZone, 2);
        EXPECT_EQ(List(w, "cboLatitude")->currentIndex(), c.latitudeEntry);
        EXPECT_EQ(s.DataChanged, c.accept);

        // The city list keeps its choice for the next picking.
        Click(Find<QPushButton>(w, "cmdFindLatLon"));
        EXPECT_EQ(cities->currentText(), c.city);
        w.OnActivate();   // activation returns to editing
        EXPECT_FALSE(w.PickingCity());
        EXPECT_EQ(cities->currentText(), c.city);
    }
}

// Reference values: the US Naval Observatory's sunrise/sunset tables
// (Astronomical Applications Department, "Sun and Moon Data for One Day") for
// Washington, DC: 2024-06-20 sunrise 5:43 AM, sunset 8:37 PM daylight time;
// 2024-12-21 sunrise 7:23 AM, sunset 4:49 PM standard time. The window's site
// is the city table's 39 N, 77 W.
TEST(AstroClockSettings, SunriseAndSunsetAtTheSite)
{
    struct Case {
        CivilDate date;
        bool dstOn;
        int riseStandard, setStandard, riseClock, setClock;
        QString note;
    };
    const Case cases[] = {
        {{2024, 6, 20}, true, 4 * 60 + 43, 19 * 60 + 37, 5 * 60 + 43, 20 * 60 + 37, "Daylight saving time in effect"},
        {{2024, 6, 20}, false, 4 * 60 + 43, 19 * 60 + 37, 4 * 60 + 43, 19 * 60 + 37,
         "Automatic daylight saving time off"},
        {{2024, 12, 21}, true, 7 * 60 + 23, 16 * 60 + 49, 7 * 60 + 23, 16 * 60 + 49,
         "Daylight saving time not in effect"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(IsoDate(c.date) + (c.dstOn ? "" : ", no DST"));
        ProgramState s = FreshState();
        s.Config.DstEnabled = c.dstOn ? True : False;
        frmT2AstroClockSettings w(s);
        w.SetSunDate(c.date);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        Click(Find<QPushButton>(w, "cmdFindLatLon"));
        Choose(List(w, "cboFindLatLon"), CityIndex("District of Columbia,Washington"));
        Click(Find<QPushButton>(w, "cmdAccept"));
        Choose(List(w, "cboTimeZone"), 0);
        s.DataChanged = false;

        EXPECT_EQ(Label(w, "lblSunDate")->text(),
                  c.date.month == 6 ? "Thursday, June 20, 2024" : "Saturday, December 21, 2024");
        EXPECT_NEAR(ClockMinutes(Label(w, "lblSunriseStandard")->text()), c.riseStandard, 2);
        EXPECT_NEAR(ClockMinutes(Label(w, "lblSunsetStandard")->text()), c.setStandard, 2);
        EXPECT_NEAR(ClockMinutes(Label(w, "lblSunriseClock")->text()), c.riseClock, 2);
        EXPECT_NEAR(ClockMinutes(Label(w, "lblSunsetClock")->text()), c.setClock, 2);
        EXPECT_EQ(Label(w, "lblSunNote")->text(), c.note);

        // Another time zone moves the clock by whole hours: Central shows one
        // hour earlier for the same site.
        const int before = ClockMinutes(Label(w, "lblSunriseStandard")->text());
        Choose(List(w, "cboTimeZone"), 1);
        EXPECT_EQ(ClockMinutes(Label(w, "lblSunriseStandard")->text()), before - 60);
        EXPECT_EQ(s.Config.Latitude, 39);
        EXPECT_EQ(s.Config.Longitude, 77);
    }

    // Showing the sun is no edit.
    ProgramState s = FreshState();
    const PanelConfig before = s.Config;
    frmT2AstroClockSettings w(s);
    w.show();
    w.SetSunDate(CivilDate{2030, 1, 1});
    EXPECT_FALSE(s.DataChanged);
    EXPECT_EQ(s.Config, before);
    EXPECT_GT(ClockMinutes(Label(w, "lblSunriseStandard")->text()), 0);
}

// ---------------------------------------------------------------------------

TEST(OpenAndCloseTimeNormalDays, TimesOfTheWeekdays)
{
    ProgramState s = FreshState();   // 8:00A .. 9:00P every day
    s.Config.NormalDayCloseTime[6] = 95;
    s.Config.NormalDayOpenTime[2] = 100;   // from a file: shown as the format reads it
    s.History.Reset(s);
    frmT2OpenAndCloseTimeNormalDays w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(Label(w, "lblDayOfWeek", 0)->text(), "Sunday ");
    EXPECT_EQ(Label(w, "lblDayOfWeek", 6)->text(), "Saturday ");
    // One heading each, not arrays as in the two columns of the single dates.
    EXPECT_EQ(Find<QLabel>(w, "lblOpenHeader")->text(), "Open");
    EXPECT_EQ(Find<QLabel>(w, "lblCloseHeader")->text(), "Close");
    EXPECT_EQ(Label(w, "lblOpenHeader", 0), nullptr);
    EXPECT_EQ(Label(w, "lblOpenTime", 0)->text(), " 8:00A");
    EXPECT_EQ(Label(w, "lblCloseTime", 0)->text(), " 9:00P");
    EXPECT_EQ(Label(w, "lblCloseTime", 6)->text(), " 11:45P");
    EXPECT_EQ(Label(w, "lblOpenTime", 2)->text(), " 1:00A");

    QComboBox* times = List(w, "cboNewTime");
    ASSERT_EQ(times->count(), 96);   // no "Clear": weekday times cannot be unset
    EXPECT_EQ(times->itemText(0), "12:00A");
    EXPECT_EQ(times->itemText(95), "11:45P");

    // Opening the list marks the change even when nothing is picked.
    Click(Label(w, "lblCloseTime", 3));
    ASSERT_TRUE(times->isVisible());
    EXPECT_EQ(times->geometry().topLeft(), Label(w, "lblCloseTime", 3)->geometry().topLeft());
    EXPECT_EQ(times->currentIndex(), 84);
    EXPECT_TRUE(s.DataChanged);
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(w.width() - 3, w.height() - 3));
    EXPECT_FALSE(times->isVisible());
    EXPECT_EQ(s.Config.NormalDayCloseTime[3], 84);

    Click(Label(w, "lblOpenTime", 1));
    Choose(times, 38);
    EXPECT_EQ(s.Config.NormalDayOpenTime[1], 38);
    EXPECT_EQ(Label(w, "lblOpenTime", 1)->text(), " 9:30A");
    Click(Label(w, "lblCloseTime", 5));
    Choose(times, 70);
    EXPECT_EQ(s.Config.NormalDayCloseTime[5], 70);
    EXPECT_EQ(s.Config.NormalDayOpenTime[5], 32);
    EXPECT_EQ(Label(w, "lblCloseTime", 5)->text(), " 5:30P");
    Click(Label(w, "lblOpenTime", 2));
    EXPECT_EQ(times->currentIndex(), -1);
    EXPECT_EQ(s.History.Steps(), 2u);
}

TEST(OpenAndCloseTimeSingleDates, MonthsShowTheirDays)
{
    ProgramState s = FreshState();
    s.Config.SingleDateOpenTime(1, 29) = 40;    // 30 February: stored, never shown
    s.Config.SingleDateOpenTime(3, 30) = 41;    // 31 April
    frmT2OpenAndCloseTimeSingleDates w(s);
    w.show();
    EXPECT_EQ(w.ShownMonth(), 0);
    EXPECT_TRUE(Option(w, "optMonth", 0)->isChecked());
    EXPECT_EQ(Option(w, "optMonth", 11)->text(), "December");
    EXPECT_EQ(Label(w, "lblDate", 30)->text(), "31");
    EXPECT_EQ(Label(w, "lblDateHeader", 1)->text(), "Date");
    struct Case {
        int month, days;
    };
    for (const Case c : {Case{1, 29}, Case{3, 30}, Case{5, 30}, Case{8, 30}, Case{10, 30}, Case{6, 31},
                         Case{11, 31}, Case{0, 31}}) {
        SCOPED_TRACE(c.month);
        Tick(Option(w, "optMonth", c.month));
        EXPECT_EQ(w.ShownMonth(), c.month);
        EXPECT_EQ(w.DaysInMonth(), c.days);
        for (const char* array : {"lblDate", "lblOpenTime", "lblCloseTime"}) {
            EXPECT_TRUE(Label(w, array, c.days - 1)->isVisible()) << array;
            if (c.days < 31) {
                EXPECT_FALSE(Label(w, array, c.days)->isVisible()) << array;
            }
        }
    }
    EXPECT_FALSE(s.DataChanged);   // choosing a month is no edit
    EXPECT_EQ(s.Config.SingleDateOpenTime(1, 29), 40);
    EXPECT_EQ(s.Config.SingleDateOpenTime(3, 30), 41);
}

TEST(OpenAndCloseTimeSingleDates, CompanionTimesAndClear)
{
    ProgramState s = FreshState();   // every date unset (100)
    s.Config.SingleDateCloseTime(6, 4) = 101;
    s.Config.SingleDateOpenTime(6, 5) = 38;
    s.Config.SingleDateCloseTime(6, 5) = 70;
    frmT2OpenAndCloseTimeSingleDates w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Tick(Option(w, "optMonth", 6));   // July
    QComboBox* times = List(w, "cboNewTime");
    ASSERT_EQ(times->count(), 97);
    EXPECT_EQ(times->itemText(0), "Clear");
    EXPECT_EQ(times->itemText(1), "12:00A");
    EXPECT_EQ(Label(w, "lblOpenTime", 0)->text(), " --:--");
    EXPECT_EQ(Label(w, "lblCloseTime", 4)->text(), " --:--");
    EXPECT_EQ(Label(w, "lblOpenTime", 5)->text(), " 9:30A");
    EXPECT_EQ(Label(w, "lblCloseTime", 5)->text(), " 5:30P");

    // Open alone on an unset date: close becomes 12:00A.
    Click(Label(w, "lblOpenTime", 0));
    EXPECT_EQ(times->currentIndex(), 0);
    EXPECT_TRUE(s.DataChanged);   // opening the list marks the change
    Choose(times, 39);
    EXPECT_EQ(s.Config.SingleDateOpenTime(6, 0), 38);
    EXPECT_EQ(s.Config.SingleDateCloseTime(6, 0), 0);
    EXPECT_EQ(Label(w, "lblCloseTime", 0)->text(), " 12:00A");

    // Close alone likewise.
    Click(Label(w, "lblCloseTime", 1));
    Choose(times, 71);
    EXPECT_EQ(s.Config.SingleDateOpenTime(6, 1), 0);
    EXPECT_EQ(s.Config.SingleDateCloseTime(6, 1), 70);

    // 101 shows "--:--" and opens on "Clear", but only 100 counts as unset.
    Click(Label(w, "lblCloseTime", 4));
    EXPECT_EQ(times->currentIndex(), 0);
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(w.width() - 3, w.height() - 3));
    Click(Label(w, "lblOpenTime", 4));
    Choose(times, 41);
    EXPECT_EQ(s.Config.SingleDateOpenTime(6, 4), 40);
    EXPECT_EQ(s.Config.SingleDateCloseTime(6, 4), 101);
    EXPECT_EQ(Label(w, "lblCloseTime", 4)->text(), " --:--");

    // "Clear" on either label unsets both.
    for (const char* label : {"lblCloseTime", "lblOpenTime"}) {
        SCOPED_TRACE(label);
        s.Config.SingleDateOpenTime(6, 5) = 38;
        s.Config.SingleDateCloseTime(6, 5) = 70;
        w.ShowOpenCloseTimes();
        Click(Label(w, label, 5));
        EXPECT_EQ(times->currentIndex(), label[3] == 'O' ? 39 : 71);
        Choose(times, 0);
        EXPECT_EQ(s.Config.SingleDateOpenTime(6, 5), 100);
        EXPECT_EQ(s.Config.SingleDateCloseTime(6, 5), 100);
        EXPECT_EQ(Label(w, "lblOpenTime", 5)->text(), " --:--");
    }
    // Other months are untouched.
    EXPECT_EQ(s.Config.SingleDateOpenTime(5, 0), 100);
    EXPECT_EQ(s.Config.SingleDateCloseTime(7, 0), 100);
}

// ---------------------------------------------------------------------------

TEST(OffHoursSweepInterval, OptionsStoreTheInterval)
{
    ProgramState s = FreshState();
    s.Config.SweepIntervalCode = 2;
    frmT2OffHoursSweepInterval w(s);
    w.show();
    EXPECT_EQ(Find<QGroupBox>(w, "fraOffHoursSweepInterval")->title(), "Off Hours Sweep Interval");
    EXPECT_TRUE(Option(w, "optOffHoursSweepInterval", 2)->isChecked());
    EXPECT_EQ(Option(w, "optOffHoursSweepInterval", 0)->text(), "1 Hour Interval");
    Tick(Option(w, "optOffHoursSweepInterval", 0));
    EXPECT_EQ(s.Config.SweepIntervalCode, 0);
    EXPECT_TRUE(s.DataChanged);
}

TEST(OffHoursSweeps, ClicksSwapOffAndDash)
{
    struct Case {
        const char* window;
        std::function<SweepSelectionWindow*(ProgramState&)> make;
        const char* what;
        ItemArray PanelConfig::*swept;
        int shown;
    };
    const Case cases[] = {
        {"frmT2OffHoursSweepRelays", [](ProgramState& s) { return new frmT2OffHoursSweepRelays(s); }, "Relay",
         &PanelConfig::SweepRelays, 12},
        {"frmT2OffHoursSweepGroups", [](ProgramState& s) { return new frmT2OffHoursSweepGroups(s); }, "Group",
         &PanelConfig::SweepGroups, 48},
    };
    const QColor on(0xC0, 0xC0, 0xC0);
    const QColor off(0xE0, 0xE0, 0xE0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        ProgramState s = FreshState(12);
        (s.Config.*c.swept)[5] = 1;   // a flag from a file: swept
        (s.Config.*c.swept)[40] = -1;
        std::unique_ptr<SweepSelectionWindow> w(c.make(s));
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        const QString include = QString("lbl") + c.what + "Include";
        const QString name = QString("lbl") + c.what + "Name";
        EXPECT_EQ(Label(*w, name, c.shown - 1)->toolTip(), QString(c.what) + ' ' + TwoDigits(c.shown));
        EXPECT_TRUE(Label(*w, include, c.shown - 1)->isVisible());
        if (c.shown < 48) {
            EXPECT_FALSE(Label(*w, include, c.shown)->isVisible());
            EXPECT_FALSE(Label(*w, name, c.shown)->isVisible());
        }

        QLabel* mark = Label(*w, include, 2);
        EXPECT_EQ(mark->text(), "-");
        EXPECT_EQ(mark->palette().color(QPalette::Window), off);
        Click(mark);
        EXPECT_EQ((s.Config.*c.swept)[2], -1);
        EXPECT_EQ(mark->text(), "Off");
        EXPECT_EQ(mark->palette().color(QPalette::Window), on);
        EXPECT_TRUE(s.DataChanged);
        Click(mark);
        EXPECT_EQ((s.Config.*c.swept)[2], 0);
        EXPECT_EQ(mark->text(), "-");

        s.DataChanged = false;
        DoubleClick(mark);   // toggles twice
        EXPECT_EQ((s.Config.*c.swept)[2], 0);
        EXPECT_EQ(mark->text(), "-");
        EXPECT_TRUE(s.DataChanged);

        EXPECT_EQ(Label(*w, include, 5)->text(), "Off");
        Click(Label(*w, include, 5));
        EXPECT_EQ((s.Config.*c.swept)[5], 0);
        EXPECT_EQ((s.Config.*c.swept)[40], -1);
    }
}
