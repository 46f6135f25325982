// Writing the dial template of a plate a metre square, from the geometry to the finished file,
// in each format: the worked wall (11.4 degrees west, plumb) at its site, a 150 mm nodus, the
// signs' date lines and quarter-hour lines, as apparent and as mean time. Runs offscreen (the
// PDF's fonts) in a folder of its own.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPageSize>
#include <QTemporaryDir>

#include "dial/dial_template.h"
#include "dial_files/template_drawing.h"
#include "dial_files/template_file.h"

namespace {

namespace kd = kestramo::dial;

void WriteTemplate(benchmark::State& state) {
    const char* extensions[] = {"svg", "dxf", "pdf"};
    QTemporaryDir folder;
    const QString file =
        folder.filePath(QStringLiteral("template.") + QLatin1String(extensions[state.range(0)]));
    kd::TemplateRequest request;
    request.latitude = 40.655;
    request.longitude = -72.855;
    request.zoneOffset = -5;
    request.year = 2003;
    request.wall = {11.42, 0};
    request.covariance = {0.04, 0.25, 0};
    request.hours = state.range(1) ? kd::TemplateHours::Mean : kd::TemplateHours::Apparent;
    request.dateLines = kd::TemplateDateLines::Signs;
    request.minutes = 15;
    request.nodusHeight = 150;
    request.plateSize = kd::TemplatePoint{1000, 1000};
    request.rootFromCorner = kd::TemplatePoint{500, 100};
    dial_files::TemplateSite site;
    site.longitude = request.longitude;
    site.zoneOffset = request.zoneOffset;
    site.declination = request.wall.declination;
    site.declinationSigma = 0.2;
    site.leanSigma = 0.5;
    for (auto _ : state) {
        const kd::DialTemplate dial = kd::MakeDialTemplate(request);
        const auto failed = dial_files::WriteTemplateFile(
            file, dial_files::DrawTemplate(dial, site), QPageSize(QPageSize::A4));
        if (failed) state.SkipWithError(failed->toStdString().c_str());
    }
}
BENCHMARK(WriteTemplate)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"svg_dxf_pdf", "mean"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
