#include "TimerWindows.h"

#include "CodeTexts.h"
#include "NameTips.h"
#include "ScreenText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

namespace t2 {

namespace {

Choices TwoDigitMinutes()
{
    QStringList texts;
    for (int m = 0; m < 60; ++m) texts << TwoDigits(m);
    return Choices(texts);
}

void ShowAll(const std::vector<QWidget*>& widgets, bool shown)
{
    for (QWidget* w : widgets) w->setVisible(shown);
}

}  // namespace

const WindowInfo frmT2TimersConfigure::Info{"frmT2TimersConfigure", "Configure Timers"};

frmT2TimersConfigure::frmT2TimersConfigure(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      cboTimerNumber_(AddSelector({.name = "cboTimerNumber", .left = 1020, .top = 270, .width = 2880,
                                   .entries = [this] { return NameList(&PanelConfig::TimerNames); }})),
      fraTime_(AddFrame("fraTime", "Time", 240, 840, 6840, 1440)),
      fraDay_(AddFrame("fraDay", "Day", 240, 2520, 6840, 3120)),
      lblAstroToday_(AddLabel("lblAstroToday", QString(), 2640, 840, 4080, 540, fraTime_))
{
    AddLabel("lblTimer", "Timer", 240, 300, 720);

    // Time: the type, then the lists of each type in one place.
    AddOptions({.name = "optTimeType", .captions = Texts(TimerTimeTypeTexts), .left = 240, .top = 330,
                .width = 2160, .pitch = 330, .host = fraTime_,
                .get = [this] { return static_cast<int>(TimeTypeOf(Code())); },
                .set = [this](int k) { SetTime(ForTimeType(Time(), static_cast<TimerTimeType>(k))); }});
    clockLists_ = {
        AddValueList({.name = "cboNormalTimeHour", .left = 2640, .top = 330, .width = 840, .host = fraTime_,
                      .choices = Choices::Of(ClockHourTexts),
                      .get = [this] { return ClockHourIndex(Code()); },
                      .set = [this](int h) { Code() = ClockCode(h, AmPmIndex(Code())); }})
            .List(),
        AddValueList({.name = "cboNormalTimeMinute", .left = 3540, .top = 330, .width = 840, .host = fraTime_,
                      .choices = TwoDigitMinutes(),
                      .member = [this]() -> Integer& { return Config().TimerMinute[Timer()]; }})
            .List(),
        AddValueList({.name = "cboNormalTimeAmPm", .left = 4440, .top = 330, .width = 840, .host = fraTime_,
                      .choices = Choices::Of(AmPmTexts),
                      .get = [this] { return AmPmIndex(Code()); },
                      .set = [this](int a) { Code() = ClockCode(std::max(ClockHourIndex(Code()), 0), a); }})
            .List(),
    };
    auto offsetLists = [this](const QString& minutes, const QString& type, TextTable texts) {
        return std::vector<QWidget*>{
            AddValueList({.name = minutes, .left = 2640, .top = 330, .width = 1320, .host = fraTime_,
                          .choices = Choices::Range(0, MaxTimerOffset, "%1 Min"),
                          .get = [this] { return OffsetOf(Code(), Config().TimerMinute[Timer()]); },
                          .set = [this](int offset) { SetTime(WithOffset(Code(), offset)); }})
                .List(),
            AddValueList({.name = type, .left = 4080, .top = 330, .width = 2520, .host = fraTime_,
                          .choices = Choices::Of(texts),
                          .get = [this] { return OffsetTypeOf(Code()); },
                          .set = [this](int k) { Code() = WithOffsetType(Code(), k); }})
                .List(),
        };
    };
    astroLists_ = offsetLists("cboMinuteFromAstro", "cboAstroType", AstroOffsetTexts);
    openCloseLists_ = offsetLists("cboMinuteFromOpenClose", "cboOpenCloseType", OpenCloseOffsetTexts);

    // Day: weekdays (a checked box is a clear bit) or one date.
    AddOptions({.name = "optDaysType", .captions = Texts(TimerDaysTypeTexts), .left = 240, .top = 330,
                .width = 2160, .pitch = 330, .host = fraDay_,
                .get = [this] { return Config().TimerHolidayMonth[Timer()] != 0 ? 1 : 0; },
                .set = [this](int k) {
                    Integer& month = Config().TimerHolidayMonth[Timer()];
                    if (k == 0) month = 0;
                    else if (month == 0) month = 1;   // January
                }});
    chkDays_ = &AddBitBoxes({.name = "chkDays", .captions = Texts(TimerDayBoxTexts), .left = 2640, .top = 330,
                             .width = 2400, .pitch = 330, .host = fraDay_,
                             .mask = [this]() -> Integer& { return Config().TimerDays[Timer()]; },
                             .checkedIsClear = true});
    holidayLists_ = {
        AddValueList({.name = "cboHolidayMonth", .left = 2640, .top = 330, .width = 1800, .host = fraDay_,
                      .choices = Choices::Of(MonthNames, 1),
                      .member = [this]() -> Integer& { return Config().TimerHolidayMonth[Timer()]; }})
            .List(),
        AddValueList({.name = "cboHolidayDate", .left = 4560, .top = 330, .width = 840, .host = fraDay_,
                      .choices = Choices::Range(1, 31),
                      .member = [this]() -> Integer& { return Config().TimerHolidayDate[Timer()]; }})
            .List(),
    };
    // The line under the time lists wraps onto a second line (a time on the
    // next day with daylight saving time); anything longer shows whole in
    // its tool tip.
    lblAstroToday_->setWordWrap(true);
    lblAstroToday_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ShowWholeNameInToolTip(lblAstroToday_);
    SetClientSize(240 + 6840 + 240, 2520 + 3120 + 240);
}

int frmT2TimersConfigure::Timer() const { return std::clamp(cboTimerNumber_.Index(), 0, ItemCount - 1); }

Integer& frmT2TimersConfigure::Code() const { return Config().TimerTimeCode[Timer()]; }

TimerTime frmT2TimersConfigure::Time() const { return {Code(), Config().TimerMinute[Timer()]}; }

void frmT2TimersConfigure::SetTime(TimerTime time)
{
    Code() = time.code;
    Config().TimerMinute[Timer()] = time.minute;
}

void frmT2TimersConfigure::SetSunDate(std::optional<CivilDate> date)
{
    sunDate_ = date;
    Redraw();
}

void frmT2TimersConfigure::Redraw()
{
    const TimerTimeType type = TimeTypeOf(Code());
    ShowAll(clockLists_, type == TimerTimeType::Clock);
    ShowAll(astroLists_, type == TimerTimeType::Astro);
    ShowAll(openCloseLists_, type == TimerTimeType::OpenClose);
    const bool holiday = Config().TimerHolidayMonth[Timer()] != 0;
    ShowAll(holidayLists_, holiday);
    for (int bit = 0; bit < static_cast<int>(TimerDayBoxTexts.size()); ++bit) chkDays_->Box(bit)->setVisible(!holiday);

    // What an astronomical time gives today at the site (display only).
    lblAstroToday_->setVisible(type == TimerTimeType::Astro);
    if (type == TimerTimeType::Astro) {
        const SiteSun sun = SunAtSite(Config(), sunDate_.value_or(Today()));
        QString text = "Today at the site: ";
        if (const std::string problem = TimerOffsetProblem(Time()); !problem.empty()) {
            text += QString::fromStdString(problem);   // from a file: no time to show
        } else if (!sun.usable) {
            text += QString::fromStdString(sun.problem);
        } else if (sun.kind != SunKind::RisesAndSets) {
            text += QString::fromStdString(NoSunText(sun.kind));
        } else if (const auto at = AstroTimerClock(Config(), Timer(), sun)) {
            text += QString::fromStdString(Clock12Text(*at));
            if (sun.dst == DstState::InEffect) text += " (daylight saving time)";
        }
        lblAstroToday_->setText(text);
    }
    EditorWindow::Redraw();
}

// ---------------------------------------------------------------------------

TimerControlWindow::TimerControlWindow(ProgramState& state, const TimerControlKind& kind, QWidget* parent)
    : EditorWindow(state, kind.info, parent),
      cboTimer_(AddSelector({.name = "cboTimer", .entries = [this] { return NameList(&PanelConfig::TimerNames); }})),
      grid_(AddGrid({.left = 480, .top = 960}))
{
    auto timer = [this] { return static_cast<std::size_t>(std::clamp(cboTimer_.Index(), 0, ItemCount - 1)); };
    grid_.Names(ItemNames(kind.nameLabel, kind.names, kind.toolTip));
    if (kind.rowsByIoCount) grid_.RowsShown([this] { return IoCount(); });
    grid_.AddPicker({.label = "lblControl", .picker = "cboControl", .offset = 1335, .width = 1200,
                     .choices = Choices::Of(kind.actions),
                     .member = [this, timer, control = kind.control](int r) -> Integer& {
                         return (Config().*control)(timer(), static_cast<std::size_t>(r));
                     },
                     .changedOnOpen = true});
    SetClientSize(grid_.RightTwips() + 240, grid_.BottomTwips() + 300);
}

const WindowInfo frmT2TimerToRelayControl::Info{"frmT2TimerToRelayControl", "Timer To Relay Control"};
const WindowInfo frmT2TimerToGroupControl::Info{"frmT2TimerToGroupControl", "Timer To Group Control"};
const WindowInfo frmT2TimerToPresetControl::Info{"frmT2TimerToPresetControl", "Timer To Preset Control"};

frmT2TimerToRelayControl::frmT2TimerToRelayControl(ProgramState& state, QWidget* parent)
    : TimerControlWindow(state,
                         {Info, "lblRelayName", &PanelConfig::RelayNames, "Relay ", TimerSwitchActionTexts,
                          &PanelConfig::TimerRelayControl, true},
                         parent)
{
}

frmT2TimerToGroupControl::frmT2TimerToGroupControl(ProgramState& state, QWidget* parent)
    : TimerControlWindow(state,
                         {Info, "lblGroupName", &PanelConfig::GroupNames, "Group ", TimerSwitchActionTexts,
                          &PanelConfig::TimerGroupControl, false},
                         parent)
{
}

frmT2TimerToPresetControl::frmT2TimerToPresetControl(ProgramState& state, QWidget* parent)
    : TimerControlWindow(state,
                         {Info, "lblPresetName", &PanelConfig::PresetNames, "Preset ", TimerPresetActionTexts,
                          &PanelConfig::TimerPresetControl, false},
                         parent)
{
}

}  // namespace t2
