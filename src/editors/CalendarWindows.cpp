#include "CalendarWindows.h"

#include "CityTable.h"
#include "CodeTexts.h"
#include "OpenCloseTimes.h"
#include "ScreenText.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace t2 {

// ---------------------------------------------------------------------------

const WindowInfo frmT2DaylightSavingTime::Info{"frmT2DaylightSavingTime", "Daylight Saving Time"};

frmT2DaylightSavingTime::frmT2DaylightSavingTime(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent)
{
    QGroupBox* frame = AddFrame("fraDaylightSavingTime", "Daylight Saving Time", 240, 240, 5880, 1920);
    AddCheck({.name = "chkEnableDaylightSavingTime", .caption = "Enable Automatic Daylight Saving Time Adjustment",
              .left = 240, .top = 360, .width = 5400, .host = frame,
              .get = [this] { return Config().DstEnabled != 0; },
              .set = [this](bool checked) { Config().DstEnabled = checked ? True : False; }});
    struct Line {
        const char* label;
        const char* caption;
        const char* week;
        const char* of;
        const char* month;
        Integer PanelConfig::*weekMember;
        Integer PanelConfig::*monthMember;
        int top;
    };
    const Line lines[] = {
        {"lblDSTStarts", "DST Starts", "cboDSTStartWeek", "lblDSTStartOf", "cboDSTStartMonth",
         &PanelConfig::DstStartWeek, &PanelConfig::DstStartMonth, 840},
        {"lblDSTEnds", "DST Ends", "cboDSTEndWeek", "lblDSTEndOf", "cboDSTEndMonth", &PanelConfig::DstEndWeek,
         &PanelConfig::DstEndMonth, 1320},
    };
    for (const Line& l : lines) {
        rule_.push_back(AddLabel(l.label, l.caption, 240, l.top + 30, 1080, 300, frame));
        rule_.push_back(AddValueList({.name = l.week, .left = 1320, .top = l.top, .width = 1920, .host = frame,
                                      .choices = Choices::Of(DstWeekTexts, 1),
                                      .member = [this, m = l.weekMember]() -> Integer& { return Config().*m; }})
                            .List());
        rule_.push_back(AddLabel(l.of, "Of", 3420, l.top + 30, 480, 300, frame));
        rule_.push_back(AddValueList({.name = l.month, .left = 3960, .top = l.top, .width = 1440, .host = frame,
                                      .choices = Choices::Of(MonthAbbreviations, 1),
                                      .member = [this, m = l.monthMember]() -> Integer& { return Config().*m; }})
                            .List());
    }
    SetClientSize(240 + 5880 + 240, 240 + 1920 + 240);
}

void frmT2DaylightSavingTime::DSTOptEn(bool enabled)
{
    for (QWidget* w : rule_) w->setEnabled(enabled);
}

void frmT2DaylightSavingTime::Redraw()
{
    DSTOptEn(Config().DstEnabled != 0);
    EditorWindow::Redraw();
}

// ---------------------------------------------------------------------------

namespace {

QStringList CityNames()
{
    QStringList names;
    for (const CityRecord& city : CityTable()) names << QString::fromLatin1(city.name);
    return names;
}

QString LongDate(const CivilDate& d)
{
    return QString("%1, %2 %3, %4")
        .arg(DayNames[static_cast<std::size_t>(DayOfWeek(d))], MonthNames[static_cast<std::size_t>(d.month - 1)])
        .arg(d.day)
        .arg(d.year);
}

}  // namespace

const WindowInfo frmT2AstroClockSettings::Info{"frmT2AstroClockSettings", "Astro Clock Settings"};

frmT2AstroClockSettings::frmT2AstroClockSettings(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      fraAstroSettings_(AddFrame("fraAstroSettings", "Astro Clock Settings", 240, 240, 3840, 1680)),
      cmdFindLatLon_(AddButton("cmdFindLatLon", "Find Latitude / Longitude By City", 240, 2160, 3840)),
      cboFindLatLon_(AddSelector({.name = "cboFindLatLon", .left = 240, .top = 2700, .width = 3840,
                                  .entries = CityNames, .keepSelection = true})),
      cmdAccept_(AddButton("cmdAccept", "Accept", 240, 3180, 1800)),
      cmdCancel_(AddButton("cmdCancel", "Cancel", 2280, 3180, 1800)),
      fraSun_(AddFrame("fraSunToday", "Sunrise And Sunset", 4320, 240, 4800, 2280)),
      lblSunDate_(AddLabel("lblSunDate", QString(), 240, 330, 4320, 300, fraSun_)),
      lblSunriseStandard_(AddLabel("lblSunriseStandard", QString(), 1320, 1050, 1560, 300, fraSun_)),
      lblSunriseClock_(AddLabel("lblSunriseClock", QString(), 3000, 1050, 1680, 300, fraSun_)),
      lblSunsetStandard_(AddLabel("lblSunsetStandard", QString(), 1320, 1410, 1560, 300, fraSun_)),
      lblSunsetClock_(AddLabel("lblSunsetClock", QString(), 3000, 1410, 1680, 300, fraSun_)),
      lblSunNote_(AddLabel("lblSunNote", QString(), 240, 1830, 4440, 300, fraSun_))
{
    struct Line {
        const char* label;
        const char* caption;
        const char* list;
        Choices choices;
        Integer PanelConfig::*member;
        int top;
    };
    const Line lines[] = {
        {"lblLatitude", "Latitude", "cboLatitude", Choices::Range(20, 65), &PanelConfig::Latitude, 360},
        {"lblLongitude", "Longitude", "cboLongitude", Choices::Range(50, 150), &PanelConfig::Longitude, 780},
        {"lblTimeZone", "Time Zone", "cboTimeZone", Choices::Of(TimeZoneTexts), &PanelConfig::TimeZone, 1200},
    };
    for (const Line& l : lines) {
        settings_.push_back(AddLabel(l.label, l.caption, 240, l.top + 30, 1320, 300, fraAstroSettings_));
        settings_.push_back(AddValueList({.name = l.list, .left = 1680, .top = l.top, .width = 1920,
                                          .host = fraAstroSettings_, .choices = l.choices,
                                          .member = [this, m = l.member]() -> Integer& { return Config().*m; }})
                                .List());
    }
    AddLabel("lblSunStandardHeader", "Standard Time", 1320, 690, 1560, 300, fraSun_);
    AddLabel("lblSunClockHeader", "Panel Clock", 3000, 690, 1680, 300, fraSun_);
    AddLabel("lblSunriseCaption", "Sunrise", 240, 1050, 1080, 300, fraSun_);
    AddLabel("lblSunsetCaption", "Sunset", 240, 1410, 1080, 300, fraSun_);

    // From the keyboard the focus goes on to the city list, and back to the
    // button once the choice is accepted or cancelled.
    connect(cmdFindLatLon_, &QPushButton::clicked, this, [this] {
        const bool focused = cmdFindLatLon_->hasFocus();
        picking_ = true;
        Redraw();
        if (focused) cboFindLatLon_.List()->setFocus(Qt::TabFocusReason);
    });
    connect(cmdAccept_, &QPushButton::clicked, this, [this] {
        const bool focused = cmdAccept_->hasFocus();
        const int index = cboFindLatLon_.Index();
        picking_ = false;
        if (index < 0 || index >= CityCount) {
            Redraw();
        } else {
            const CityRecord& city = CityTable()[static_cast<std::size_t>(index)];
            Config().Latitude = city.latitude;
            Config().Longitude = city.longitude;
            Edited();
        }
        if (focused) cmdFindLatLon_->setFocus(Qt::TabFocusReason);
    });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] {
        const bool focused = cmdCancel_->hasFocus();
        RestoreControls();
        if (focused) cmdFindLatLon_->setFocus(Qt::TabFocusReason);
    });
    SetClientSize(4320 + 4800 + 240, 3180 + 360 + 240);
}

void frmT2AstroClockSettings::RestoreControls()
{
    picking_ = false;
    Redraw();
}

void frmT2AstroClockSettings::SetSunDate(std::optional<CivilDate> date)
{
    sunDate_ = date;
    Redraw();
}

void frmT2AstroClockSettings::Redraw()
{
    fraAstroSettings_->setEnabled(!picking_);
    for (QWidget* w : settings_) w->setEnabled(!picking_);
    cmdFindLatLon_->setEnabled(!picking_);
    for (QWidget* w : {static_cast<QWidget*>(cboFindLatLon_.List()), static_cast<QWidget*>(cmdAccept_),
                       static_cast<QWidget*>(cmdCancel_)})
        w->setVisible(picking_);
    ShowSun();
    EditorWindow::Redraw();
}

void frmT2AstroClockSettings::ShowSun()
{
    const CivilDate date = sunDate_.value_or(Today());
    const SiteSun sun = SunAtSite(Config(), date);
    lblSunDate_->setText(LongDate(date));
    auto show = [&](QLabel* standard, QLabel* clock, int standardMinutes, int clockMinutes) {
        const bool times = sun.usable && sun.kind == SunKind::RisesAndSets;
        standard->setText(times ? QString::fromStdString(Clock12Text(standardMinutes)) : QString("-"));
        clock->setText(times ? QString::fromStdString(Clock12Text(clockMinutes)) : QString("-"));
    };
    show(lblSunriseStandard_, lblSunriseClock_, sun.sunriseStandard, sun.sunriseClock);
    show(lblSunsetStandard_, lblSunsetClock_, sun.sunsetStandard, sun.sunsetClock);
    std::string note;
    if (!sun.usable) note = sun.problem;
    else if (sun.kind != SunKind::RisesAndSets) note = NoSunText(sun.kind);
    else note = DstStateText(sun.dst);
    QString text = QString::fromStdString(note);
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    lblSunNote_->setText(text);
}

// ---------------------------------------------------------------------------

namespace {

QString TimeCaption(int value) { return ' ' + QString::fromStdString(QuarterHourText(value)); }

}  // namespace

const WindowInfo frmT2OpenAndCloseTimeNormalDays::Info{"frmT2OpenAndCloseTimeNormalDays",
                                                       "Open And Close Time Normal Days"};

frmT2OpenAndCloseTimeNormalDays::frmT2OpenAndCloseTimeNormalDays(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent), grid_(AddGrid({.rows = 7, .left = 240, .top = 480}))
{
    grid_.Names({.label = "lblDayOfWeek", .width = 1200,
                 .text = [](int r) { return QString::fromLatin1(DayNames[static_cast<std::size_t>(r)]) + ' '; }});
    struct Column {
        const char* label;
        const char* heading;
        const char* headingText;
        std::array<Integer, 8> PanelConfig::*times;
        int offset;
    };
    for (const Column& c : {Column{"lblOpenTime", "lblOpenHeader", "Open", &PanelConfig::NormalDayOpenTime, 1320},
                            Column{"lblCloseTime", "lblCloseHeader", "Close", &PanelConfig::NormalDayCloseTime, 2340}}) {
        grid_.AddPicker({.label = c.label, .picker = "cboNewTime", .offset = c.offset, .width = 900,
                         .choices = Choices::QuarterHours(),
                         .member = [this, t = c.times](int r) -> Integer& {
                             return (Config().*t)[static_cast<std::size_t>(r)];
                         },
                         .caption = [this, t = c.times](int r) {
                             return TimeCaption((Config().*t)[static_cast<std::size_t>(r)]);
                         },
                         .changedOnOpen = true});
        grid_.AddHeading({.label = c.heading, .text = c.headingText, .offset = c.offset, .top = 120, .width = 900});
    }
    // Wide enough for the caption.
    SetClientSize(std::max(grid_.RightTwips() + 240, 5760), grid_.BottomTwips() + 300);
}

// ---------------------------------------------------------------------------

const WindowInfo frmT2OpenAndCloseTimeSingleDates::Info{"frmT2OpenAndCloseTimeSingleDates",
                                                        "Open And Close Time Single Dates"};

frmT2OpenAndCloseTimeSingleDates::frmT2OpenAndCloseTimeSingleDates(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      grid_(AddGrid({.rows = 31, .left = 3960, .top = 420}))
{
    AddOptions({.name = "optMonth", .captions = Texts(MonthNames), .left = 240, .top = 420, .width = 2400,
                .pitch = 360, .get = [this] { return shownMonth_; }, .set = [this](int m) { shownMonth_ = m; },
                .choosesView = true});
    grid_.Names({.label = "lblDate", .width = 600, .text = [](int r) { return QString::number(r + 1); }});
    grid_.RowsShown([this] { return DaysInMonth(); });
    const Choices times = Choices::QuarterHours().WithNone("Clear", UnsetDateTime, ShownAsUnset);
    for (const bool open : {true, false}) {
        auto member = open ? &PanelConfig::SingleDateOpenTime : &PanelConfig::SingleDateCloseTime;
        auto value = [this, member](int r) {
            return int((Config().*member)(static_cast<std::size_t>(shownMonth_), static_cast<std::size_t>(r)));
        };
        grid_.AddPicker({.label = open ? "lblOpenTime" : "lblCloseTime", .picker = "cboNewTime",
                         .offset = open ? 720 : 1560, .width = 780, .choices = times, .get = value,
                         .set = [this, open](int r, int v) { StoreSingleDateTime(Config(), shownMonth_, r, open, v); },
                         .caption = [value](int r) {
                             const int v = value(r);
                             return ShownAsUnset(v) ? QString(" --:--") : TimeCaption(v);
                         },
                         .changedOnOpen = true});
    }
    grid_.AddHeading({.label = "lblDateHeader", .text = "Date", .offset = 0, .width = 600});
    grid_.AddHeading({.label = "lblOpenHeader", .text = "Open", .offset = 720, .width = 780});
    grid_.AddHeading({.label = "lblCloseHeader", .text = "Close", .offset = 1560, .width = 780});
    SetClientSize(grid_.RightTwips() + 240, grid_.BottomTwips() + 300);
}

int frmT2OpenAndCloseTimeSingleDates::DaysInMonth() const
{
    return SingleDateDaysInMonth[static_cast<std::size_t>(std::clamp(shownMonth_, 0, 11))];
}

// ---------------------------------------------------------------------------

const WindowInfo frmT2OffHoursSweepInterval::Info{"frmT2OffHoursSweepInterval", "Off Hours Sweep Interval"};

frmT2OffHoursSweepInterval::frmT2OffHoursSweepInterval(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent)
{
    QGroupBox* frame = AddFrame("fraOffHoursSweepInterval", "Off Hours Sweep Interval", 240, 240, 3600, 1500);
    AddOptions({.name = "optOffHoursSweepInterval", .captions = Texts(SweepIntervalTexts), .left = 240, .top = 360,
                .width = 3000, .pitch = 330, .host = frame,
                .get = [this] { return int(Config().SweepIntervalCode); },
                .set = [this](int k) { Config().SweepIntervalCode = static_cast<Integer>(k); }});
    SetClientSize(240 + 3600 + 240, 240 + 1500 + 240);
}

// ---------------------------------------------------------------------------

SweepSelectionWindow::SweepSelectionWindow(ProgramState& state, const SweepKind& kind, QWidget* parent)
    : EditorWindow(state, kind.info, parent), grid_(AddGrid({.left = 240, .top = 240}))
{
    grid_.Names(ItemNames("lbl" + kind.what + "Name", kind.names, kind.what + ' '));
    if (kind.rowsByIoCount) grid_.RowsShown([this] { return IoCount(); });
    auto swept = [this, member = kind.swept](int r) -> Integer& {
        return (Config().*member)[static_cast<std::size_t>(r)];
    };
    grid_.AddState({.label = "lbl" + kind.what + "Include", .offset = 1680, .width = 600,
                    .looks = {{"-", QColor(0xE0, 0xE0, 0xE0)}, {"Off", QColor(0xC0, 0xC0, 0xC0)}},
                    .look = [swept](int r) { return swept(r) != 0 ? 1 : 0; },
                    // As a flag: 0 and -1 swap, and any other non-zero value
                    // (from a file) counts as swept and becomes 0.
                    .click = [swept](int r) { swept(r) = swept(r) != 0 ? False : True; }});
    SetClientSize(grid_.RightTwips() + 240, grid_.BottomTwips() + 240);
}

const WindowInfo frmT2OffHoursSweepRelays::Info{"frmT2OffHoursSweepRelays", "Off Hours Sweep Relays"};
const WindowInfo frmT2OffHoursSweepGroups::Info{"frmT2OffHoursSweepGroups", "Off Hours Sweep Groups"};

frmT2OffHoursSweepRelays::frmT2OffHoursSweepRelays(ProgramState& state, QWidget* parent)
    : SweepSelectionWindow(state, {Info, "Relay", &PanelConfig::RelayNames, &PanelConfig::SweepRelays, true}, parent)
{
}

frmT2OffHoursSweepGroups::frmT2OffHoursSweepGroups(ProgramState& state, QWidget* parent)
    : SweepSelectionWindow(state, {Info, "Group", &PanelConfig::GroupNames, &PanelConfig::SweepGroups, false}, parent)
{
}

}  // namespace t2
