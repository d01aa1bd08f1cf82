// The special-function windows driven as a user does: the option windows
// (photocell filter, clock source, timed-on start, relay drive) and the
// blink alert, override and alarm lists.
#include "GuiHelpers.h"
#include "SpecialFunctionWindows.h"

#include <QGroupBox>
#include <QRadioButton>

#include <functional>
#include <memory>

using namespace t2;
using namespace t2::test;

namespace {

using Make = std::function<std::unique_ptr<OptionWindow>(ProgramState&)>;

template <typename W>
Make Maker()
{
    return [](ProgramState& s) { return std::make_unique<W>(s); };
}

// The checked button, -1 for none.
int Checked(const OptionGroup& options)
{
    for (int k = 0; k < options.Count(); ++k)
        if (options.Button(k)->isChecked()) return k;
    return -1;
}

struct OptionCase {
    const char* what;
    Make make;
    Integer PanelConfig::*member;
    Integer stored;
    int shown;        // button checked on activation (-1: none)
    int click;
    Integer after;    // stored after the click
};

}  // namespace

TEST(SpecialFunctions, OptionWindowsShowAndStoreTheirCoding)
{
    const Make photocell = Maker<frmT2PhotocellFilter>();
    const Make clock = Maker<frmT2RTCSource>();
    const Make timedOn = Maker<frmT2ConfigureTimedOn>();
    const OptionCase cases[] = {
        {"photocell: 0 is 30 s, 2 s stores -1", photocell, &PanelConfig::PhotocellFilterShort, 0, 0, 1, -1},
        {"photocell: -1 is 2 s, 30 s stores 0", photocell, &PanelConfig::PhotocellFilterShort, -1, 1, 0, 0},
        {"photocell: any non-zero is 2 s", photocell, &PanelConfig::PhotocellFilterShort, 5, 1, 1, -1},
        {"clock source: 0 to 1", clock, &PanelConfig::RtcSource, 0, 0, 1, 1},
        {"clock source: 1 to 0", clock, &PanelConfig::RtcSource, 1, 1, 0, 0},
        {"clock source: outside shows none", clock, &PanelConfig::RtcSource, 2, -1, 1, 1},
        {"clock source: negative shows none", clock, &PanelConfig::RtcSource, -1, -1, 0, 0},
        {"timed-on: 0 is opens, closes stores -1", timedOn, &PanelConfig::TimedOnStartsOnClose, 0, 0, 1, -1},
        {"timed-on: -1 is closes, opens stores 0", timedOn, &PanelConfig::TimedOnStartsOnClose, -1, 1, 0, 0},
        {"timed-on: the stored button again", timedOn, &PanelConfig::TimedOnStartsOnClose, -1, 1, 1, -1},
    };
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramState s = FreshState();
        s.Config.*c.member = c.stored;
        s.History.Reset(s);
        const auto w = c.make(s);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        EXPECT_EQ(Checked(w->Options()), c.shown);
        EXPECT_FALSE(s.DataChanged);
        Tick(w->Options().Button(c.click));
        EXPECT_EQ(s.Config.*c.member, c.after);
        EXPECT_EQ(Checked(w->Options()), c.click);
        EXPECT_TRUE(s.DataChanged);
        EXPECT_EQ(s.History.CanUndo(), c.after != c.stored);   // a step only where something changed
        w->OnActivate();
        EXPECT_EQ(Checked(w->Options()), c.click);
    }
}

TEST(SpecialFunctions, OptionWindowsCarryTheirCaptions)
{
    struct Case {
        Make make;
        const char* name;
        const char* caption;
        const char* frame;
        const char* options;
        QStringList buttons;
    };
    const Case cases[] = {
        {Maker<frmT2PhotocellFilter>(), "frmT2PhotocellFilter", "Photocell Filter", "Photocell Filter", "optPCFilter",
         {"30 Second Average", "2 Second Average"}},
        {Maker<frmT2RTCSource>(), "frmT2RTCSource", "RTC Source", "Real Time Clock Source", "optRTCSource",
         {"60 Hz AC Line", "Internal Crystal"}},
        {Maker<frmT2ConfigureTimedOn>(), "frmT2ConfigureTimedOn", "Configure Timed-On", "Configure Timed On Operation",
         "optTimedOnOperation",
         {"Timed-On Timers Begin When Input Opens", "Timed-On Timers Begin When Input Closes"}},
        {Maker<frmT2RelayDrive>(), "frmT2RelayDrive", "Relay Drive", "Relay Drive", "optRelayDrive",
         {"17 mS Sweep", "50 mS Sweep", "17 mS Instant", "50 mS Instant"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramState s = FreshState();
        const auto w = c.make(s);
        w->show();
        EXPECT_EQ(w->objectName(), c.name);
        EXPECT_EQ(w->windowTitle(), c.caption);
        EXPECT_EQ(w->Frame()->title(), c.frame);
        ASSERT_EQ(w->Options().Count(), c.buttons.size());
        for (int k = 0; k < w->Options().Count(); ++k) {
            QRadioButton* b = Find<QRadioButton>(*w, Element(c.options, k));
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->text(), c.buttons[k]);
            // Every caption fits inside the frame.
            EXPECT_LE(b->x() + b->sizeHint().width(), w->Frame()->width());
        }
    }
}

TEST(SpecialFunctions, RelayDriveOnlyMarksTheConfigurationChanged)
{
    ProgramState s = FreshState();
    const PanelConfig before = s.Config;
    const VantelDevices devices = s.Devices;
    s.History.Reset(s);
    frmT2RelayDrive w(s);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(Checked(w.Options()), -1);   // nothing stored, nothing shown
    for (int k : {2, 0, 3, 1}) {
        SCOPED_TRACE(k);
        SetDataChanged(s, false);
        Tick(w.Options().Button(k));
        EXPECT_TRUE(s.DataChanged);
        EXPECT_EQ(Checked(w.Options()), k);   // the click stays shown
        EXPECT_TRUE(s.Config == before);
        EXPECT_TRUE(s.Devices == devices);
        EXPECT_FALSE(s.History.CanUndo());    // nothing to take back
    }
}

TEST(SpecialFunctions, BlinkAlertListsHoldTheirRanges)
{
    ProgramState s = FreshState();
    frmT2BlinkAlertAndAlarmSettings w(s);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Blink Alert And Alarm Settings");
    struct Case {
        QComboBox* list;
        int count;
        const char* first;
        const char* last;
    };
    for (const Case& c : {Case{w.BlinkAlertList(), 98, "2 Minutes", "99 Minutes"},
                          Case{w.OverRideList(), 995, "5 Minutes", "999 Minutes"},
                          Case{w.AlarmList(), 99, "1 Seconds", "99 Seconds"}}) {
        SCOPED_TRACE(c.first);
        ASSERT_EQ(c.list->count(), c.count);
        EXPECT_EQ(c.list->itemText(0), c.first);
        EXPECT_EQ(c.list->itemText(c.count - 1), c.last);
    }
    for (const char* label : {"lblBlinkAlert", "lblOverRide", "lblAlarm"}) EXPECT_NE(Find<QLabel>(w, label), nullptr);
    EXPECT_EQ(Find<QLabel>(w, "lblOverRide")->text(), "OverRide");
}

TEST(SpecialFunctions, BlinkAlertListsShowAndStoreTheirTimes)
{
    struct Case {
        const char* what;
        Integer blink, overrideMinutes, alarm;          // stored
        int blinkIndex, overrideIndex, alarmIndex;   // shown
    };
    const Case cases[] = {
        {"defaults", 10, 120, 5, 8, 115, 4},
        {"lowest", 2, 5, 1, 0, 0, 0},
        {"highest", 99, 999, 99, 97, 994, 98},
        {"override below 5", 10, 4, 5, 8, -1, 4},
        {"override above 999", 10, 1000, 5, 8, -1, 4},
        {"all outside", 1, -1, 0, -1, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramState s = FreshState();
        s.Config.BlinkAlertMinutes = c.blink;
        s.Config.OverrideMinutes = c.overrideMinutes;
        s.Config.AlarmSeconds = c.alarm;
        s.History.Reset(s);
        frmT2BlinkAlertAndAlarmSettings w(s);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_EQ(w.BlinkAlertList()->currentIndex(), c.blinkIndex);
        EXPECT_EQ(w.OverRideList()->currentIndex(), c.overrideIndex);
        EXPECT_EQ(w.AlarmList()->currentIndex(), c.alarmIndex);
        EXPECT_FALSE(s.DataChanged);
        EXPECT_EQ(s.Config.OverrideMinutes, c.overrideMinutes);   // showing is not storing

        Choose(w.OverRideList(), 25);
        EXPECT_EQ(s.Config.OverrideMinutes, 30);
        EXPECT_EQ(s.Config.BlinkAlertMinutes, c.blink);
        EXPECT_TRUE(s.DataChanged);
        Choose(w.BlinkAlertList(), 0);
        EXPECT_EQ(s.Config.BlinkAlertMinutes, 2);
        Choose(w.AlarmList(), 98);
        EXPECT_EQ(s.Config.AlarmSeconds, 99);
        // Choosing the entry already stored is no step.
        EXPECT_EQ(s.History.Steps(), std::size_t{c.overrideMinutes != 30} + (c.blink != 2) + (c.alarm != 99));
    }
}
