#include "TimerScheduleWindow.h"

#include "CodeTexts.h"
#include "Controls.h"
#include "Defaults.h"
#include "Prompts.h"
#include "ScheduleExport.h"
#include "ScreenText.h"
#include "SettingsFile.h"
#include "TimerWindows.h"
#include "Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace t2 {

namespace {

constexpr int DayMinutes = 24 * 60;
constexpr int WeekDays = 7;

// The chart colours.
const QColor NightColour(70, 86, 122, 120);
const QColor DayColour(255, 250, 225);
const QColor NoSunColour(225, 225, 225);
const QColor OpenColour(86, 160, 72, 150);
const QColor DstColour(255, 170, 60, 60);
const QColor SunriseColour(230, 120, 0);
const QColor SunsetColour(150, 40, 150);
const QColor ChosenColour(190, 20, 20);
const QColor ClockMarkColour(20, 60, 170);
const QColor SunMarkColour(200, 90, 0);
const QColor OpenCloseMarkColour(20, 120, 40);
const QColor IdleMarkColour(140, 140, 140);

QColor MarkColour(const ScheduledTimer& timer)
{
    if (timer.actions.empty()) return IdleMarkColour;
    switch (TimeTypeOf(timer.time.code)) {
    case TimerTimeType::Clock: return ClockMarkColour;
    case TimerTimeType::Astro: return SunMarkColour;
    case TimerTimeType::OpenClose: return OpenCloseMarkColour;
    }
    return Qt::black;
}

QString Screen(const std::string& ascii) { return QString::fromStdString(ascii); }

// Stored text on one line: control characters (a line break in a name) become spaces.
QString OneLine(const Bytes& bytes)
{
    QString text = ToScreen(bytes);
    for (QChar& ch : text) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F) ch = ' ';
    }
    return text;
}

QString ShortDate(const CivilDate& d)
{
    return QString("%1 %2/%3").arg(QString::fromLatin1(DayNames[static_cast<std::size_t>(DayOfWeek(d))]).left(3))
        .arg(d.month)
        .arg(d.day);
}

bool Shows(const Schedule& s, const TimerRun& run, bool all) { return all || !s.TimerOf(run).actions.empty(); }

// A run as one line of text, for tool tips and accessible descriptions.
QString RunLine(const Schedule& s, const TimerRun& run)
{
    const RunFields f = DescribeRun(s, run);
    QString text = Screen(f.time) + "  " + Screen(f.timer) + " " + OneLine(f.name) + ": " + OneLine(f.actions);
    if (!f.notes.empty()) text += " (" + OneLine(f.notes) + ")";
    return text;
}

QDate ToQDate(const CivilDate& d) { return QDate(d.year, d.month, d.day); }
CivilDate FromQDate(const QDate& d) { return {d.year(), d.month(), d.day()}; }

void DrawLegend(QPainter& p, QPoint at, const std::vector<std::pair<QColor, QString>>& entries)
{
    const QFontMetrics fm = p.fontMetrics();
    const int box = fm.height() - 4;
    int x = at.x();
    for (const auto& [colour, text] : entries) {
        p.fillRect(QRect(x, at.y() + 2, box, box), colour);
        p.setPen(Qt::darkGray);
        p.drawRect(QRect(x, at.y() + 2, box, box));
        p.setPen(Qt::black);
        p.drawText(QPoint(x + box + 4, at.y() + fm.ascent()), text);
        x += box + 12 + fm.horizontalAdvance(text);
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Week chart

ScheduleWeekChart::ScheduleWeekChart(QWidget* parent) : QWidget(parent)
{
    setObjectName("picWeek");
    setAccessibleName("Week");
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void ScheduleWeekChart::SetSchedule(const Schedule* schedule, bool all)
{
    schedule_ = schedule;
    all_ = all;
    selected_ = std::clamp(selected_, 0, std::max(DayCount() - 1, 0));
    update();
}

int ScheduleWeekChart::DayCount() const
{
    return schedule_ ? std::min(static_cast<int>(schedule_->days.size()), WeekDays) : 0;
}

void ScheduleWeekChart::SelectDay(int day)
{
    if (DayCount() == 0) return;
    day = std::clamp(day, 0, DayCount() - 1);
    if (day == selected_) return;
    selected_ = day;
    update();
    emit DaySelected(day);
}

QSize ScheduleWeekChart::sizeHint() const { return {Twips(this, 10200), Twips(this, 3300)}; }
QSize ScheduleWeekChart::minimumSizeHint() const { return {Twips(this, 6000), Twips(this, 2400)}; }

QRect ScheduleWeekChart::DayRect(int day) const
{
    const int header = fontMetrics().height() + 4;
    const int legend = fontMetrics().height() + 6;
    const int row = std::max((height() - header - legend) / WeekDays, 8);
    return {0, header + day * row, width(), row};
}

QRect ScheduleWeekChart::LineRect(int day) const
{
    const QRect r = DayRect(day);
    const int gutter = Twips(this, 1080);
    return {gutter, r.top() + 2, std::max(width() - gutter - Twips(this, 120), 10), r.height() - 4};
}

const TimerRun* ScheduleWeekChart::RunAt(const QPoint& point) const
{
    for (int d = 0; d < DayCount(); ++d) {
        const QRect line = LineRect(d);
        if (point.y() < line.top() || point.y() > line.bottom()) continue;
        const TimerRun* best = nullptr;
        int distance = 5;
        for (int k : schedule_->days[static_cast<std::size_t>(d)].runs) {
            const TimerRun& run = schedule_->runs[static_cast<std::size_t>(k)];
            if (!run.placed || !Shows(*schedule_, run, all_)) continue;
            const int x = line.left() + std::clamp(run.minutes, 0, DayMinutes) * line.width() / DayMinutes;
            if (std::abs(x - point.x()) < distance) {
                distance = std::abs(x - point.x());
                best = &run;
            }
        }
        return best;
    }
    return nullptr;
}

void ScheduleWeekChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (!schedule_ || DayCount() == 0) return;
    const QFontMetrics fm = fontMetrics();
    const QRect first = LineRect(0);
    auto xOf = [&](const QRect& line, int minutes) {
        return line.left() + std::clamp(minutes, 0, DayMinutes) * line.width() / DayMinutes;
    };

    // Hours along the top.
    p.setPen(Qt::black);
    for (int h = 0; h <= 24; h += 3) {
        const int x = xOf(first, h * 60);
        const QString text = Screen(ClockText((h % 24) * 60)).replace(":00", "");
        p.drawText(QRect(x - 30, 0, 60, fm.height() + 2), Qt::AlignCenter, text);
    }

    for (int d = 0; d < DayCount(); ++d) {
        const ScheduleDay& day = schedule_->days[static_cast<std::size_t>(d)];
        const QRect row = DayRect(d);
        const QRect line = LineRect(d);
        // The date in the gutter, the chosen day highlighted.
        QRect gutter(0, row.top() + 1, line.left() - 4, row.height() - 2);
        if (d == selected_) p.fillRect(gutter, palette().highlight());
        p.setPen(d == selected_ ? palette().highlightedText().color() : palette().windowText().color());
        p.drawText(gutter.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, ShortDate(day.date));

        // Day and night.
        const SiteSun& sun = day.sun;
        if (!sun.usable) {
            p.fillRect(line, NoSunColour);
        } else {
            p.fillRect(line, DayColour);
            if (sun.kind == SunKind::NeverRises) {
                p.fillRect(line, NightColour);
            } else if (sun.kind == SunKind::RisesAndSets) {
                const int rise = xOf(line, sun.sunriseClock);
                const int set = xOf(line, sun.sunsetClock);
                p.fillRect(QRect(line.left(), line.top(), rise - line.left(), line.height()), NightColour);
                p.fillRect(QRect(set, line.top(), line.right() - set + 1, line.height()), NightColour);
            }
        }
        // Hour grid.
        p.setPen(QColor(0, 0, 0, 40));
        for (int h = 3; h < 24; h += 3) p.drawLine(xOf(line, h * 60), line.top(), xOf(line, h * 60), line.bottom());
        // Open hours: a band through the middle.
        const OpenHours& hours = day.hours;
        const QRect band(line.left(), line.top() + line.height() / 3, line.width(), std::max(line.height() / 3, 3));
        auto fillBand = [&](int from, int to) {
            p.fillRect(QRect(xOf(line, from), band.top(), xOf(line, to) - xOf(line, from), band.height()), OpenColour);
        };
        if (hours.open && hours.close) {
            if (*hours.close > *hours.open) {
                fillBand(*hours.open, *hours.close);
            } else {
                fillBand(*hours.open, DayMinutes);
                fillBand(0, *hours.close);
            }
        }
        // The daylight saving change at 2:00 AM.
        if (day.dstChange != DstChange::None) {
            p.setPen(QPen(ChosenColour, 1, Qt::DashLine));
            p.drawLine(xOf(line, 120), line.top(), xOf(line, 120), line.bottom());
        }
        p.setPen(Qt::darkGray);
        p.drawRect(line.adjusted(0, 0, -1, -1));

        // The runs, labelled with the timer's name where there is room (two
        // lanes, top and bottom of the line).
        std::array<int, 2> laneEnd{line.left() - 1000, line.left() - 1000};
        QFont small = font();
        small.setPointSizeF(std::max(font().pointSizeF() - 1, 6.0));
        const QFontMetrics sm(small);
        for (int k : day.runs) {
            const TimerRun& run = schedule_->runs[static_cast<std::size_t>(k)];
            if (!run.placed || !Shows(*schedule_, run, all_)) continue;
            const ScheduledTimer& timer = schedule_->TimerOf(run);
            const QColor colour = MarkColour(timer);
            const int x = xOf(line, run.minutes);
            const int shift = ReadDayClock(run.minutes).dayShift;
            p.setPen(QPen(colour, 2));
            p.setBrush(colour);
            if (shift == 0) {
                p.drawLine(x, line.top(), x, line.bottom());
            } else {
                // Across midnight: an arrow at the edge, pointing to the day it falls on.
                const int tip = shift < 0 ? line.left() : line.right();
                const int back = shift < 0 ? tip + 7 : tip - 7;
                const int mid = line.center().y();
                p.drawPolygon(QPolygon({QPoint(tip, mid), QPoint(back, mid - 5), QPoint(back, mid + 5)}));
            }
            if (timer.ignoreHolidays) {
                // "Ignore Holidays": a pennant on the mark.
                p.setPen(QPen(Qt::black, 1));
                p.setBrush(Qt::white);
                p.drawPolygon(QPolygon({QPoint(x, line.top()), QPoint(x + 6, line.top() + 3), QPoint(x, line.top() + 6)}));
            }
            p.setBrush(Qt::NoBrush);
            QString label = OneLine(timer.name).trimmed();
            if (shift != 0) label += ", " + Screen(Clock12Text(run.minutes));
            const int width = sm.horizontalAdvance(label) + 4;
            const bool leftOfMark = x + 4 + width > line.right();
            const int from = leftOfMark ? x - 4 - width : x + 4;
            for (std::size_t lane = 0; lane < laneEnd.size(); ++lane) {
                if (from <= laneEnd[lane]) continue;
                laneEnd[lane] = from + width;
                const int y = lane == 0 ? line.top() + sm.ascent() : line.bottom() - sm.descent();
                p.setFont(small);
                p.setPen(Qt::black);
                p.drawText(QPoint(from, y), label);
                p.setFont(font());
                break;
            }
        }
        if (d == selected_ && hasFocus()) {
            p.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
            p.drawRect(row.adjusted(1, 0, -2, -1));
        }
    }

    const int legendTop = DayRect(WeekDays - 1).bottom() + 4;
    DrawLegend(p, {first.left(), legendTop},
               {{NightColour, "Night"}, {OpenColour, "Open hours"}, {ClockMarkColour, "Clock time"},
                {SunMarkColour, "Sunrise/sunset"}, {OpenCloseMarkColour, "Open/close"}, {Qt::white, "Ignore Holidays"}});
}

void ScheduleWeekChart::mousePressEvent(QMouseEvent* e)
{
    setFocus(Qt::MouseFocusReason);
    for (int d = 0; d < DayCount(); ++d) {
        if (DayRect(d).contains(e->pos())) SelectDay(d);
    }
}

void ScheduleWeekChart::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Up: SelectDay(selected_ - 1); break;
    case Qt::Key_Down: SelectDay(selected_ + 1); break;
    case Qt::Key_Home: SelectDay(0); break;
    case Qt::Key_End: SelectDay(DayCount() - 1); break;
    default: QWidget::keyPressEvent(e); return;
    }
}

bool ScheduleWeekChart::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        if (const TimerRun* run = RunAt(help->pos())) {
            QToolTip::showText(help->globalPos(), RunLine(*schedule_, *run), this);
        } else {
            QToolTip::hideText();
            e->ignore();
        }
        return true;
    }
    return QWidget::event(e);
}

// ---------------------------------------------------------------------------
// Year chart

ScheduleYearChart::ScheduleYearChart(QWidget* parent) : QWidget(parent)
{
    setObjectName("picYear");
    setAccessibleName("Year");
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void ScheduleYearChart::SetDays(const std::vector<ScheduleDay>* days, int chosen)
{
    days_ = days;
    chosen_ = chosen;
    if (cursor_ < 0 || cursor_ >= Count()) cursor_ = chosen;
    update();
}

int ScheduleYearChart::Count() const { return days_ ? static_cast<int>(days_->size()) : 0; }

void ScheduleYearChart::SetCursor(int day)
{
    if (Count() == 0) return;
    day = std::clamp(day, 0, Count() - 1);
    if (day == cursor_) return;
    cursor_ = day;
    update();
    emit CursorMoved(day);
}

QSize ScheduleYearChart::sizeHint() const { return {Twips(this, 10200), Twips(this, 4800)}; }
QSize ScheduleYearChart::minimumSizeHint() const { return {Twips(this, 6000), Twips(this, 2400)}; }

QRect ScheduleYearChart::Plot() const
{
    const QFontMetrics fm = fontMetrics();
    const int left = fm.horizontalAdvance("12:00A") + 8;
    const int top = fm.height() + 8;
    const int bottom = fm.height() + 6;
    return {left, top, std::max(width() - left - 10, 10), std::max(height() - top - bottom, 10)};
}

int ScheduleYearChart::XOfDay(int day) const
{
    const QRect plot = Plot();
    return Count() == 0 ? plot.left() : plot.left() + (2 * day + 1) * plot.width() / (2 * Count());
}

int ScheduleYearChart::DayAtX(int x) const
{
    const QRect plot = Plot();
    if (Count() == 0 || x < plot.left() || x > plot.right()) return -1;
    return std::clamp((x - plot.left()) * Count() / plot.width(), 0, Count() - 1);
}

void ScheduleYearChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRect plot = Plot();
    p.fillRect(plot, Qt::white);
    const int n = Count();
    if (n == 0) return;
    const QFontMetrics fm = fontMetrics();
    auto yOf = [&](int minutes) { return plot.top() + std::clamp(minutes, 0, DayMinutes) * plot.height() / DayMinutes; };
    auto column = [&](int i) {
        const int x0 = plot.left() + i * plot.width() / n;
        const int x1 = plot.left() + (i + 1) * plot.width() / n;
        return std::pair(x0, std::max(x1 - x0, 1));
    };

    // Night and the daylight saving period, day by day.
    for (int i = 0; i < n; ++i) {
        const SiteSun& sun = (*days_)[static_cast<std::size_t>(i)].sun;
        const auto [x, w] = column(i);
        if (!sun.usable) {
            p.fillRect(QRect(x, plot.top(), w, plot.height()), NoSunColour);
        } else if (sun.kind == SunKind::NeverRises) {
            p.fillRect(QRect(x, plot.top(), w, plot.height()), NightColour);
        } else if (sun.kind == SunKind::RisesAndSets) {
            const int rise = yOf(sun.sunriseClock);
            const int set = yOf(sun.sunsetClock);
            p.fillRect(QRect(x, plot.top(), w, rise - plot.top()), NightColour);
            p.fillRect(QRect(x, set, w, plot.bottom() - set + 1), NightColour);
        }
        if (sun.dst == DstState::InEffect) p.fillRect(QRect(x, plot.top(), w, plot.height()), DstColour);
    }
    // Hours and months.
    p.setPen(QColor(0, 0, 0, 50));
    for (int h = 0; h <= 24; h += 3) {
        const int y = yOf(h * 60);
        p.drawLine(plot.left(), y, plot.right(), y);
    }
    p.setPen(Qt::black);
    for (int h = 0; h <= 24; h += 3) {
        const QString text = Screen(ClockText((h % 24) * 60));
        p.drawText(QRect(0, yOf(h * 60) - fm.height() / 2, plot.left() - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   text);
    }
    for (int i = 0; i < n; ++i) {
        const CivilDate& date = (*days_)[static_cast<std::size_t>(i)].date;
        if (date.day != 1) continue;
        const int x = column(i).first;
        p.setPen(QColor(0, 0, 0, 60));
        p.drawLine(x, plot.top(), x, plot.bottom());
        const int days = DaysInMonth(date.year, date.month);
        const int x1 = column(std::min(i + days, n) - 1).first + column(std::min(i + days, n) - 1).second;
        p.setPen(Qt::black);
        p.drawText(QRect(x, plot.bottom() + 2, x1 - x, fm.height() + 2), Qt::AlignCenter,
                   QString::fromLatin1(MonthAbbreviations[static_cast<std::size_t>(date.month - 1)]));
    }
    // Sunrise and sunset as clock times: the daylight saving steps show.
    for (const auto& [colour, sunrise] : {std::pair{SunriseColour, true}, std::pair{SunsetColour, false}}) {
        p.setPen(QPen(colour, 2));
        QPolygon curve;
        auto flush = [&] {
            if (curve.size() > 1) p.drawPolyline(curve);
            curve.clear();
        };
        int last = 0;
        for (int i = 0; i < n; ++i) {
            const SiteSun& sun = (*days_)[static_cast<std::size_t>(i)].sun;
            if (!sun.usable || sun.kind != SunKind::RisesAndSets) {
                flush();
                continue;
            }
            const int minutes = sunrise ? sun.sunriseClock : sun.sunsetClock;
            if (!curve.isEmpty() && std::abs(minutes - last) > 30) {
                // A step: drawn upright from one day to the next.
                curve << QPoint(XOfDay(i), yOf(last));
            }
            curve << QPoint(XOfDay(i), yOf(minutes));
            last = minutes;
        }
        flush();
    }
    // The chosen date and the readout's day.
    if (chosen_ >= 0 && chosen_ < n) {
        p.setPen(QPen(ChosenColour, 2));
        p.drawLine(XOfDay(chosen_), plot.top(), XOfDay(chosen_), plot.bottom());
    }
    if (cursor_ >= 0 && cursor_ < n) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawLine(XOfDay(cursor_), plot.top(), XOfDay(cursor_), plot.bottom());
        const SiteSun& sun = (*days_)[static_cast<std::size_t>(cursor_)].sun;
        if (sun.usable && sun.kind == SunKind::RisesAndSets) {
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawEllipse(QPoint(XOfDay(cursor_), yOf(sun.sunriseClock)), 3, 3);
            p.drawEllipse(QPoint(XOfDay(cursor_), yOf(sun.sunsetClock)), 3, 3);
            p.setBrush(Qt::NoBrush);
        }
    }
    p.setPen(Qt::darkGray);
    p.drawRect(plot.adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        p.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        p.drawRect(plot.adjusted(-2, -2, 1, 1));
    }
    DrawLegend(p, {plot.left(), 2},
               {{SunriseColour, "Sunrise"}, {SunsetColour, "Sunset"}, {NightColour, "Night"},
                {DstColour, "Daylight saving time"}, {ChosenColour, "Week shown"}});
}

void ScheduleYearChart::mouseMoveEvent(QMouseEvent* e)
{
    const int day = DayAtX(e->pos().x());
    if (day >= 0) SetCursor(day);
}

void ScheduleYearChart::mousePressEvent(QMouseEvent* e)
{
    setFocus(Qt::MouseFocusReason);
    const int day = DayAtX(e->pos().x());
    if (day < 0) return;
    SetCursor(day);
    emit DayChosen(day);
}

void ScheduleYearChart::keyPressEvent(QKeyEvent* e)
{
    const int at = cursor_ >= 0 ? cursor_ : std::max(chosen_, 0);
    switch (e->key()) {
    case Qt::Key_Left: SetCursor(at - 1); break;
    case Qt::Key_Right: SetCursor(at + 1); break;
    case Qt::Key_Up: SetCursor(at - 7); break;
    case Qt::Key_Down: SetCursor(at + 7); break;
    case Qt::Key_PageUp: SetCursor(at - 30); break;
    case Qt::Key_PageDown: SetCursor(at + 30); break;
    case Qt::Key_Home: SetCursor(0); break;
    case Qt::Key_End: SetCursor(Count() - 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (at >= 0 && at < Count()) emit DayChosen(at);
        break;
    default: QWidget::keyPressEvent(e); return;
    }
}

// ---------------------------------------------------------------------------
// The window

const WindowInfo frmT2TimerSchedule::Info{"frmT2TimerSchedule", "Timer Schedule"};

namespace {

template <typename W>
W* Named(W* widget, const char* name, const QString& accessible)
{
    widget->setObjectName(name);
    widget->setAccessibleName(accessible);
    return widget;
}

QTreeWidget* MakeList(const char* name, const QString& accessible, const QStringList& columns)
{
    auto* list = Named(new QTreeWidget, name, accessible);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setStretchLastSection(true);
    return list;
}

const QString Title = QStringLiteral("VEL Tamberline II");
const char* const ExportFilter =
    "Text Files (*.TXT)|*.TXT|CSV Files (*.CSV)|*.CSV|Calendar Files (*.ICS)|*.ICS|All Files (*.*)|*.*";

}  // namespace

frmT2TimerSchedule::frmT2TimerSchedule(ProgramState& state, QWidget* parent)
    : EditorWindow(state, Info, parent),
      dtpFrom_(Named(new QDateEdit, "dtpFrom", "Week From")),
      cmdPreviousWeek_(Named(new QPushButton("< Week"), "cmdPreviousWeek", "Previous Week")),
      cmdNextWeek_(Named(new QPushButton("Week >"), "cmdNextWeek", "Next Week")),
      cmdToday_(Named(new QPushButton("Today"), "cmdToday", "Today")),
      chkShowIdle_(Named(new QCheckBox("Show Idle Timers"), "chkShowIdle", "Show Idle Timers")),
      spnExportDays_(Named(new QSpinBox, "spnExportDays", "Days To Export")),
      cmdExport_(Named(new QPushButton("Export..."), "cmdExport", "Export")),
      tabViews_(Named(new QTabWidget, "tabViews", "Views")),
      week_(new ScheduleWeekChart),
      lblDay_(Named(new QLabel, "lblDay", "Day")),
      lstDay_(MakeList("lstDay", "Timers Of The Day", {"Time", "Timer", "Name", "Actions", "Notes"})),
      year_(new ScheduleYearChart),
      lblYearReadout_(Named(new QLabel, "lblYearReadout", "Day Of The Year")),
      lstChecks_(MakeList("lstChecks", "Checks", {"Timer", "Name", "Check", "Why", "Fix In"})),
      cmdFix_(Named(new QPushButton("Open Window To Fix"), "cmdFix", "Open Window To Fix"))
{
    dtpFrom_->setCalendarPopup(true);
    dtpFrom_->setDisplayFormat("ddd M/d/yyyy");
    dtpFrom_->setDateRange(QDate(1583, 1, 1), QDate(9999, 12, 31));
    chkShowIdle_->setToolTip("Also show the runs of timers that do nothing");
    spnExportDays_->setToolTip("The days Export writes, from the first day of the week");
    spnExportDays_->setRange(1, MaxScheduleDays);
    spnExportDays_->setValue(WeekDays);
    spnExportDays_->setSuffix(" Days");
    for (QLabel* label : {lblDay_, lblYearReadout_}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }

    // Buttons as wide as their captions, so that the top line holds everything.
    for (QPushButton* b : {cmdPreviousWeek_, cmdNextWeek_, cmdToday_, cmdExport_})
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + Px(300));
    auto* lblFrom = Named(new QLabel("Week From"), "lblFrom", "Week From");
    lblFrom->setBuddy(dtpFrom_);
    auto* top = new QHBoxLayout;
    top->addWidget(lblFrom);
    top->addWidget(dtpFrom_);
    top->addWidget(cmdPreviousWeek_);
    top->addWidget(cmdNextWeek_);
    top->addWidget(cmdToday_);
    top->addStretch(1);
    top->addWidget(chkShowIdle_);
    top->addWidget(spnExportDays_);
    top->addWidget(cmdExport_);

    // Week: the chart above the chosen day's list.
    auto* weekPage = Named(new QSplitter(Qt::Vertical), "splWeek", "Week");
    auto* dayPanel = new QWidget;
    auto* dayLayout = new QVBoxLayout(dayPanel);
    dayLayout->setContentsMargins(0, 0, 0, 0);
    dayLayout->addWidget(lblDay_);
    dayLayout->addWidget(lstDay_);
    weekPage->addWidget(week_);
    weekPage->addWidget(dayPanel);
    weekPage->setStretchFactor(0, 3);
    weekPage->setStretchFactor(1, 2);
    weekPage->setChildrenCollapsible(false);
    tabViews_->addTab(weekPage, "Week");

    auto* yearPage = new QWidget;
    yearPage->setObjectName("pgYear");
    auto* yearLayout = new QVBoxLayout(yearPage);
    yearLayout->addWidget(year_, 1);
    yearLayout->addWidget(lblYearReadout_);
    tabViews_->addTab(yearPage, "Year");

    auto* checksPage = new QWidget;
    checksPage->setObjectName("pgChecks");
    auto* checksLayout = new QVBoxLayout(checksPage);
    checksLayout->addWidget(lstChecks_, 1);
    auto* fixRow = new QHBoxLayout;
    fixRow->addStretch(1);
    fixRow->addWidget(cmdFix_);
    checksLayout->addLayout(fixRow);
    tabViews_->addTab(checksPage, "Checks");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Px(120), Px(120), Px(120), Px(120));
    layout->addLayout(top);
    layout->addWidget(tabViews_, 1);

    connect(dtpFrom_, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (d.isValid()) SetFrom(FromQDate(d));
    });
    connect(cmdPreviousWeek_, &QPushButton::clicked, this, [this] { SetFrom(AddDays(From(), -WeekDays)); });
    connect(cmdNextWeek_, &QPushButton::clicked, this, [this] { SetFrom(AddDays(From(), WeekDays)); });
    connect(cmdToday_, &QPushButton::clicked, this, [this] { SetFrom(TodayIs ? TodayIs() : Today()); });
    connect(chkShowIdle_, &QCheckBox::toggled, this, [this] { Recompute(); });
    connect(cmdExport_, &QPushButton::clicked, this, &frmT2TimerSchedule::cmdExport_Click);
    connect(week_, &ScheduleWeekChart::DaySelected, this, [this] { ShowDay(); });
    connect(year_, &ScheduleYearChart::CursorMoved, this, [this](int day) { ShowYearReadout(day); });
    connect(year_, &ScheduleYearChart::DayChosen, this, [this](int day) {
        if (day >= 0 && day < static_cast<int>(yearDays_.size())) SetFrom(yearDays_[static_cast<std::size_t>(day)].date);
    });
    connect(cmdFix_, &QPushButton::clicked, this, &frmT2TimerSchedule::cmdFix_Click);
    connect(lstChecks_, &QTreeWidget::itemActivated, this, [this] { cmdFix_Click(); });
    connect(lstChecks_, &QTreeWidget::currentItemChanged, this,
            [this] { cmdFix_->setEnabled(lstChecks_->currentItem() != nullptr); });

    SetClientSize(10680, 6600);
}

CivilDate frmT2TimerSchedule::From() const { return FromQDate(dtpFrom_->date()); }

int frmT2TimerSchedule::SelectedDay() const { return week_->SelectedDay(); }

void frmT2TimerSchedule::SetFrom(const CivilDate& date)
{
    if (!IsValidDate(date)) return;
    {
        const QSignalBlocker quiet(dtpFrom_);
        dtpFrom_->setDate(ToQDate(date));
    }
    Recompute();
}

void frmT2TimerSchedule::Refill()
{
    if (started_) return;
    started_ = true;
    const QSignalBlocker quiet(dtpFrom_);
    dtpFrom_->setDate(ToQDate(TodayIs ? TodayIs() : Today()));
}

void frmT2TimerSchedule::Redraw()
{
    EditorWindow::Redraw();
    Recompute();
}

void frmT2TimerSchedule::Recompute()
{
    const CivilDate from = From();
    schedule_ = ComputeSchedule(Config(), from, WeekDays);
    const bool all = chkShowIdle_->isChecked();
    week_->SetSchedule(&schedule_, all);
    yearDays_ = ScheduleDays(Config(), {from.year, 1, 1}, IsValidDate({from.year, 2, 29}) ? 366 : 365);
    const int chosen = static_cast<int>(DaysBetween({from.year, 1, 1}, from));
    year_->SetDays(&yearDays_, chosen);
    ShowDay();
    ShowYearReadout(year_->Cursor());
    ShowChecks();
}

void frmT2TimerSchedule::ShowDay()
{
    lstDay_->clear();
    const int d = week_->SelectedDay();
    if (d < 0 || d >= static_cast<int>(schedule_.days.size())) {
        lblDay_->clear();
        return;
    }
    const ScheduleDay& day = schedule_.days[static_cast<std::size_t>(d)];
    QString text = Screen(LongDateText(day.date)) + ": " + Screen(SunText(day.sun)) + "; " + Screen(HoursText(day.hours));
    if (day.dstChange != DstChange::None) text += ". " + Screen(DstChangeText(day.dstChange));
    lblDay_->setText(text);
    const bool all = chkShowIdle_->isChecked();
    QString description;
    for (int k : day.runs) {
        const TimerRun& run = schedule_.runs[static_cast<std::size_t>(k)];
        if (!Shows(schedule_, run, all)) continue;
        const RunFields f = DescribeRun(schedule_, run);
        auto* item = new QTreeWidgetItem(lstDay_, {Screen(f.time), Screen(f.timer), OneLine(f.name), OneLine(f.actions),
                                                   OneLine(f.notes)});
        item->setToolTip(3, item->text(3));
        item->setToolTip(4, item->text(4));
        description += RunLine(schedule_, run) + "\n";
    }
    if (lstDay_->topLevelItemCount() == 0) description = "No timer runs.";
    for (int col = 0; col < 4; ++col) lstDay_->resizeColumnToContents(col);
    week_->setAccessibleDescription(text + "\n" + description);
}

void frmT2TimerSchedule::ShowYearReadout(int day)
{
    if (day < 0 || day >= static_cast<int>(yearDays_.size())) {
        lblYearReadout_->clear();
        return;
    }
    const ScheduleDay& d = yearDays_[static_cast<std::size_t>(day)];
    QString text = Screen(LongDateText(d.date)) + ": " + Screen(SunText(d.sun));
    if (d.sun.usable) text += "; " + Screen(DstStateText(d.sun.dst));
    lblYearReadout_->setText(text);
    year_->setAccessibleDescription(text);
}

void frmT2TimerSchedule::ShowChecks()
{
    const int kept = lstChecks_->currentItem() ? lstChecks_->indexOfTopLevelItem(lstChecks_->currentItem()) : -1;
    lstChecks_->clear();
    for (const ScheduleCheck& check : schedule_.checks) {
        auto* item = new QTreeWidgetItem(
            lstChecks_, {Screen(TimerItem(check.timer)), OneLine(schedule_.timers[static_cast<std::size_t>(check.timer)].name),
                         QString::fromLatin1(CheckKindText(check.kind)), Screen(check.problem),
                         QString::fromLatin1(check.windowCaption)});
        item->setToolTip(3, item->text(3));
    }
    for (int col = 0; col < 4; ++col) lstChecks_->resizeColumnToContents(col);
    if (kept >= 0 && kept < lstChecks_->topLevelItemCount()) lstChecks_->setCurrentItem(lstChecks_->topLevelItem(kept));
    cmdFix_->setEnabled(lstChecks_->currentItem() != nullptr);
    tabViews_->setTabText(2, schedule_.checks.empty() ? QString("Checks")
                                                      : QString("Checks (%1)").arg(schedule_.checks.size()));
}

void frmT2TimerSchedule::cmdExport_Click()
{
    const QString start = QDir::toNativeSeparators(QDir(QFile::decodeName(QByteArray::fromStdString(DocumentationFolder())))
                                                       .filePath(QStringLiteral("Timer Schedule.TXT")));
    const QString chosen =
        AskSaveFileName(QtFileFilter(QString::fromLatin1(ExportFilter)), start, QStringLiteral("Export Timer Schedule"));
    if (chosen.isEmpty()) return;
    const std::string path = QFile::encodeName(chosen).toStdString();
    std::string error;
    bool written = false;
    {
        const WaitPointer wait;   // years of runs take a moment
        const Schedule schedule = ComputeSchedule(Config(), From(), spnExportDays_->value());
        written = WriteFileAtomically(
            path, ScheduleFile(ScheduleFormatOfFile(path), schedule, Config(), chkShowIdle_->isChecked()), &error);
    }
    if (!written) {
        Inform(Title, "The timer schedule could not be written.\n\n" + QString::fromLocal8Bit(error),
               PromptIcon::Exclamation);
        return;
    }
    Inform(Title, "The timer schedule was written to " + QDir::toNativeSeparators(chosen) + ".", PromptIcon::Information);
}

void frmT2TimerSchedule::cmdFix_Click()
{
    QTreeWidgetItem* item = lstChecks_->currentItem();
    const int row = item ? lstChecks_->indexOfTopLevelItem(item) : -1;
    if (row < 0 || row >= static_cast<int>(schedule_.checks.size()) || !Shell()) return;
    const ScheduleCheck check = schedule_.checks[static_cast<std::size_t>(row)];
    QWidget* window = Shell()->OpenWindow(QString::fromLatin1(check.window));
    // On the timer to fix.
    if (auto* timers = dynamic_cast<frmT2TimersConfigure*>(window)) {
        timers->TimerList()->setCurrentIndex(check.timer);
        timers->ShowTimerSettings();
    } else if (auto* control = dynamic_cast<TimerControlWindow*>(window)) {
        control->TimerList()->setCurrentIndex(check.timer);
        control->ShowControl();
    }
}

}  // namespace t2
