// Calculate in the window, from the click until its handler returns, with 0, 100 and 1,000
// readings kept: each click adds a reading, which is worked out once, refitted from the last
// fit and written to the recovery file as one line more. Runs offscreen with a data folder of
// its own; with the readings window open too.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

#include "main_window/Sundial_Input.h"
#include "readings_window/readings_list.h"
#include "series/reading.h"

namespace {

namespace ks = kestramo::series;

// The worked site and a shadow that a wall 11.4 degrees west of south casts at the minute
// `k` of a day's afternoon, off by what the tape's tolerance allows, so that every reading is
// new.
ks::Reading ReadingAt(int k) {
    const double seconds = 13 * 3600 + (k % 240) * 60 + (k / 240) % 60;
    const ks::Reading probe =
        ks::MakeReading({2003, 9, 3}, seconds, -5, true, 40.655, -72.855, 10, 1);
    const ks::ReadingGeometry sun = ks::Examine(probe);
    ks::Reading reading = probe;
    reading.length =
        ks::PredictedLength(10, ks::PredictAngle(sun, 11.4, 0).theta, ks::ShadowEdge::Outer) *
        (1 + 0.001 * ((k * 7919) % 11 - 5));
    return reading;
}

struct Session {
    QTemporaryDir data;
    std::unique_ptr<Sundial_Input> window;
    ReadingsList* list = nullptr;
    int typed = 0;
};

// The window with `kept` readings in its list and the worked inputs typed, but for the time.
std::unique_ptr<Session> Open(int kept, bool readingsOpen) {
    auto session = std::make_unique<Session>();
    qputenv("XDG_DATA_HOME", session->data.path().toLocal8Bit());
    session->window = std::make_unique<Sundial_Input>();
    Sundial_Input& w = *session->window;
    w.show();
    w.txtDate->setText(QStringLiteral("9/3/2003"));
    w.optDstinput->setChecked(true);
    w.txtLatitude->setText(QStringLiteral("40.655"));
    w.txtLongitude->setText(QStringLiteral("72.855"));
    w.OptWest->setChecked(true);
    w.lstTimeZone->setCurrentIndex(6);
    w.txtHeight->setText(QStringLiteral("10"));
    w.txtLength->setText(QStringLiteral("25"));
    w.txtTime->setText(QStringLiteral("11:00:00 AM"));
    w.CmdCalculate_Click();  // the list and its recovery file are made with the first reading
    session->list = w.findChild<ReadingsList*>();
    std::vector<ks::Reading> readings;
    for (int k = 0; k + 1 < kept; ++k) readings.push_back(ReadingAt(k));
    if (!readings.empty()) session->list->addAll(readings, {}, {}, QStringLiteral("Fill"));
    if (readingsOpen) w.cmdReadings_Click();
    QApplication::processEvents();
    return session;
}

void BM_Calculate(benchmark::State& state) {
    const auto session = Open(int(state.range(0)), state.range(1) != 0);
    Sundial_Input& w = *session->window;
    int next = 100000;
    for (auto _ : state) {
        state.PauseTiming();
        // A new reading each click, typed as a user types it.
        const ks::Reading reading = ReadingAt(next++);
        w.txtTime->setText(QString::fromStdString(
            ks::ClockText(ks::ClockSecondsOf(reading), ks::ClockPrecision::Seconds)));
        w.txtLength->setText(QString::number(reading.length, 'g', 6));
        state.ResumeTiming();
        w.CmdCalculate_Click();
        state.PauseTiming();
        QApplication::processEvents();  // the window's repaint is not the handler's
        state.ResumeTiming();
    }
    state.counters["readings"] = double(session->list->size());
}
BENCHMARK(BM_Calculate)
    ->Args({0, 0})
    ->Args({100, 0})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->ArgNames({"kept", "window"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
