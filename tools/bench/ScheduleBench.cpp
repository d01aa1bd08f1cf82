// tamberline-bench-schedule: times a whole year of timer runs for 48 timers on
// sunrise and sunset (each with actions), and painting the Timer Schedule's
// year view, as the window does when its year is shown. Prints the fastest
// and the median of 25 rounds, as time on the clock and as the processor time
// the program used (the same on an idle machine; on a busy one the clock
// time also counts the waits for a processor).
#include "Defaults.h"
#include "TimerSchedule.h"
#include "TimerScheduleWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

using namespace t2;

namespace {

// Processor time of this thread, in milliseconds.
double CpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    auto state = std::make_unique<ProgramState>();
    ResetConfiguration(*state);
    PanelConfig& c = state->Config;
    c.NodeIOCount = {8, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};   // 48 relays
    for (int t = 0; t < ItemCount; ++t) {
        const TimerTime time = OffsetTime(false, t % 4, (t * 37) % 240);   // every sun offset type
        c.TimerTimeCode[t] = time.code;
        c.TimerMinute[t] = time.minute;
        c.TimerRelayControl(t, t) = static_cast<Integer>(1 + t % 2);
        c.TimerGroupControl(t, (t + 5) % ItemCount) = 1;
        c.TimerPresetControl(t, (t + 9) % ItemCount) = 1;
    }

    ScheduleYearChart chart;
    chart.resize(704, 330);   // the year view in the window at 96 dpi
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);

    std::vector<double> compute, paint, total, cpu;
    std::size_t runs = 0;
    for (int round = 0; round < 25; ++round) {
        const double cpuStart = CpuMs();
        QElapsedTimer t;
        t.start();
        const Schedule year = ComputeSchedule(c, {2026, 1, 1}, 365);
        const double computed = t.nsecsElapsed() / 1e6;
        runs = year.runs.size();
        t.restart();
        const std::vector<ScheduleDay> days = ScheduleDays(c, {2026, 1, 1}, 365);
        chart.SetDays(&days, 100);
        QPainter painter(&image);
        chart.render(&painter);
        painter.end();
        const double painted = t.nsecsElapsed() / 1e6;
        compute.push_back(computed);
        paint.push_back(painted);
        total.push_back(computed + painted);
        cpu.push_back(CpuMs() - cpuStart);
    }
    auto report = [](const char* what, std::vector<double> ms) {
        std::sort(ms.begin(), ms.end());
        std::printf("%-44s fastest %7.2f ms   median %7.2f ms\n", what, ms.front(), ms[ms.size() / 2]);
    };
    std::printf("a year of runs: %zu runs of 48 timers on sunrise and sunset\n", runs);
    report("computing the year's runs (clock)", compute);
    report("the year's sun and painting its view (clock)", paint);
    report("together (clock)", total);
    report("together (processor time)", cpu);
    return 0;
}
