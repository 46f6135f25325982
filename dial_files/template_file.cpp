#include "dial_files/template_file.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

#include "dial_files/template_dxf.h"
#include "dial_files/template_sheets.h"
#include "dial_files/template_svg.h"
#include "readings/wall_conventions.h"

namespace dial_files {

namespace ks = kestramo::series;

std::optional<TemplateInputs> TemplateInputsFor(const ks::SeriesResult& result,
                                                std::span<const ks::Reading> readings) {
    const std::optional<kestramo::dial::DialRequest> dial =
        wall_conventions::DialRequestFor(result, readings);
    if (!dial) return std::nullopt;
    const ks::Reading& latest = readings[std::size_t(result.latest)];
    TemplateInputs inputs;
    inputs.request.latitude = dial->latitude;
    inputs.request.wall = dial->wall;
    inputs.request.covariance = dial->covariance;
    inputs.request.longitude = latest.observation.longitude;
    inputs.request.zoneOffset = ks::UtcOffsetHoursOf(latest);
    inputs.request.year = ks::DateOf(latest).year;
    inputs.site.longitude = latest.observation.longitude;
    inputs.site.zoneOffset = inputs.request.zoneOffset;
    inputs.site.declination = dial->wall.declination;
    inputs.site.declinationSigma = result.uncertainty;
    inputs.site.lean = dial->wall.lean;
    inputs.site.leanSigma = result.leanUncertainty;
    inputs.site.made = QDate::currentDate();
    return inputs;
}

std::optional<TemplateFormat> FormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"svg") return TemplateFormat::Svg;
    if (suffix == u"dxf") return TemplateFormat::Dxf;
    if (suffix == u"pdf") return TemplateFormat::Pdf;
    return std::nullopt;
}

std::optional<QString> WriteTemplateFile(const QString& path, const TemplateDrawing& drawing,
                                         const QPageSize& paper) {
    const std::optional<TemplateFormat> format = FormatOf(path);
    if (!format) {
        return QStringLiteral("%1: a template is written as .svg, .dxf or .pdf").arg(path);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    }
    bool painted = true;
    switch (*format) {
        case TemplateFormat::Svg:
            file.write(TemplateSvg(drawing));
            break;
        case TemplateFormat::Dxf:
            file.write(TemplateDxf(drawing));
            break;
        case TemplateFormat::Pdf: {
            QPdfWriter writer(&file);
            writer.setResolution(1200);
            writer.setCreator(QStringLiteral("Kestramo"));
            writer.setTitle(QStringLiteral("Sundial template"));
            painted = PaintSheets(writer, drawing, paper);
            break;
        }
    }
    if (!painted) {
        file.cancelWriting();
        return QStringLiteral("%1: the sheets could not be drawn").arg(path);
    }
    if (!file.commit()) return QStringLiteral("%1: %2").arg(path, file.errorString());
    return std::nullopt;
}

}  // namespace dial_files
