// Speed of the desktop program's GO run against synthesis alone and against the same
// run without the chart, the delay between an Abort and the end of a long run, and the
// chart's load of ten years of bars.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM names another.
//
//     ./build/bench/gui/tickforge_gui_bench

#include "HistoryChart.h"
#include "TGenerator.h"
#include "TProgress.h"
#include "synthesis/Abort.h"
#include "synthesis/MakeHistory.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tickforge;
using Clock = std::chrono::steady_clock;

namespace {

double MillisecondsOf(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double CpuMilliseconds(std::clock_t since)
{
    return static_cast<double>(std::clock() - since) * 1000.0 / CLOCKS_PER_SEC;
}

double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void SetText(TGenerator& window, const char* field, const char* text)
{
    window.findChild<QLineEdit*>(QString::fromLatin1(field))->setText(QString::fromLatin1(text));
}

// GO against MakeHistory with a sink that does nothing, for the same request.
void CompareGoWithSynthesis(TGenerator& window, const char* days, const char* ticks, int repeats)
{
    SetText(window, "ebLength", days);
    SetText(window, "ebTicksPerDay", ticks);
    HistoryRequest request;
    window.Run().Synthesize = [&request](const HistoryRequest& r, ProgressSink& progress, TTimeSeriesSet& result) {
        request = r;
        return MakeHistory(r, progress, result);
    };
    auto* go = window.findChild<QAbstractButton*>(QStringLiteral("btnGenerate"));
    go->click();  // warm-up, and the request to compare with
    Settle();

    // The run itself, and the run with the drawing of the chart and window after it.
    std::vector<double> goTimes;
    std::vector<double> drawnTimes;
    std::vector<double> bareTimes;
    // Processor time too: on a busy machine the elapsed time mostly says how often the
    // run was preempted.
    std::vector<double> goCpu;
    std::vector<double> bareCpu;
    TTimeSeriesSet bars;
    NullProgressSink quiet;
    for (int i = 0; i < repeats; ++i) {
        const Clock::time_point start = Clock::now();
        std::clock_t cpu = std::clock();
        go->click();
        goCpu.push_back(CpuMilliseconds(cpu));
        goTimes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        Settle();
        drawnTimes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        cpu = std::clock();
        bareTimes.push_back(MillisecondsOf([&] { MakeHistory(request, quiet, bars); }));
        bareCpu.push_back(CpuMilliseconds(cpu));
    }
    window.Run().Synthesize = [](const HistoryRequest& r, ProgressSink& progress, TTimeSeriesSet& result) {
        return MakeHistory(r, progress, result);
    };
    const double goMs = Median(goTimes);
    const double drawnMs = Median(drawnTimes);
    const double bareMs = Median(bareTimes);
    std::printf("GO, %s days x %s ticks: MakeHistory with a silent sink %.2f ms; GO run %.2f ms, ratio %.2f "
                "(target <= 1.5); GO with the chart drawn %.2f ms, ratio %.2f\n",
                days, ticks, bareMs, goMs, goMs / bareMs, drawnMs, drawnMs / bareMs);
    std::printf("    processor time: MakeHistory with a silent sink %.2f ms; GO run %.2f ms, ratio %.2f\n", Median(bareCpu),
                Median(goCpu), Median(goCpu) / Median(bareCpu));
}

// The main window's run in every respect but the chart, which it leaves alone.
class NoChartUi final : public GenerationUi {
public:
    explicit NoChartUi(TGenerator& window) : window_(window) {}
    PanelValues ReadPanel() override { return window_.ReadPanel(); }
    void ShowMessage(const std::string& text, const std::string& title) override { window_.ShowMessage(text, title); }
    void ShowBusyCursor() override { window_.ShowBusyCursor(); }
    void RestoreCursor() override { window_.RestoreCursor(); }
    void SetMainWindowEnabled(bool enabled) override { window_.SetMainWindowEnabled(enabled); }
    void ShowProgressWindow() override { window_.ShowProgressWindow(); }
    void HideProgressWindow() override { window_.HideProgressWindow(); }
    ProgressSink& Progress() override { return window_.Progress(); }
    void ShowBars(const TTimeSeriesSet&, bool) override {}

private:
    TGenerator& window_;
};

// GO with the chart loaded and drawn against the same run that leaves the chart alone,
// 3650 bars (weekends kept) of 1000 ticks.
void CompareGoWithAndWithoutChart(TGenerator& window, int repeats)
{
    SetText(window, "ebLength", "3650");
    SetText(window, "ebTicksPerDay", "1000");
    auto* weekends = window.findChild<QCheckBox*>(QStringLiteral("cbWeekends"));
    const bool weekendsBefore = weekends->isChecked();
    weekends->setChecked(true);
    auto* go = window.findChild<QAbstractButton*>(QStringLiteral("btnGenerate"));
    NoChartUi noChart(window);
    GenerationRun bareRun(noChart, window.Run().Formats());
    go->click();
    Settle();
    std::vector<double> withChart;
    std::vector<double> withoutChart;
    for (int i = 0; i < repeats; ++i) {
        withChart.push_back(MillisecondsOf([&] {
            go->click();
            Settle();
        }));
        withoutChart.push_back(MillisecondsOf([&] {
            bareRun.btnGenerateClick();
            Settle();
        }));
    }
    const double withMs = Median(withChart);
    const double withoutMs = Median(withoutChart);
    std::printf("GO of %d bars x 1000 ticks: with the chart loaded and drawn %.2f ms, without the chart %.2f ms, ratio "
                "%.3f (target <= 1.3)\n",
                window.Run().GeneratedSet.Length(), withMs, withoutMs, withMs / withoutMs);
    weekends->setChecked(weekendsBefore);
}

// From a RequestAbort fired by a timer to the end of the run's click.
void MeasureAbort(TGenerator& window, int repeats)
{
    SetText(window, "ebLength", "3650");
    SetText(window, "ebTicksPerDay", "10000");
    auto* go = window.findChild<QAbstractButton*>(QStringLiteral("btnGenerate"));
    std::vector<double> delays;
    for (int i = 0; i < repeats; ++i) {
        Clock::time_point requested;
        QTimer::singleShot(50, [&requested] {
            requested = Clock::now();
            RequestAbort();
        });
        go->click();
        const Clock::time_point ended = Clock::now();
        delays.push_back(std::chrono::duration<double, std::milli>(ended - requested).count());
        if (window.Run().GeneratedSet.Length() != 0)
            std::printf("  (run %d ended before the abort)\n", i);
        Settle();
    }
    std::printf("Abort of a 3650 days x 10000 ticks run: %.2f ms median, %.2f ms worst from RequestAbort to the end of GO "
                "(target < 100 ms)\n",
                Median(delays), *std::max_element(delays.begin(), delays.end()));
}

// ShowBars of ten years of daily bars, with its replot.
void MeasureShowBars(int repeats)
{
    HistoryRequest request;
    request.Name = "Synth";
    request.SeedPrice = 3000;
    request.TicksPerDay = 100;
    request.NumberOfDays = 3650;
    request.StartDate = 45000;
    request.MaxVolume = 1000;
    request.TickVolatility = 0.01 / 10;
    TTimeSeriesSet bars;
    NullProgressSink quiet;
    MakeHistory(request, quiet, bars);

    HistoryChart chart;
    chart.resize(709, 360);
    chart.show();
    Settle();
    std::vector<double> loads;
    std::vector<double> drawn;
    for (int i = 0; i < repeats; ++i) {
        const Clock::time_point start = Clock::now();
        chart.ShowBars(bars, true);
        loads.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        chart.replot(QCustomPlot::rpImmediateRefresh);
        drawn.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        Settle();
    }
    std::printf("ShowBars of %d bars: %.2f ms to load, %.2f ms with the replot and repaint\n", bars.Length(), Median(loads),
                Median(drawn));
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TGenerator window;
    TProgress progress;
    window.SetProgressWindow(&progress);
    window.show();
    Settle();

    CompareGoWithSynthesis(window, "180", "1000", 31);
    CompareGoWithSynthesis(window, "3650", "1000", 7);
    CompareGoWithSynthesis(window, "3650", "10000", 3);
    CompareGoWithAndWithoutChart(window, 15);
    MeasureAbort(window, 3);
    MeasureShowBars(20);
    return 0;
}
