#pragma once

#include <QPageSize>
#include <QString>

#include <optional>
#include <span>

#include "dial/dial_template.h"
#include "dial_files/template_drawing.h"
#include "series/series.h"

// A decided series' dial template, and the template written to a file whose extension names
// its format.
namespace dial_files {

// What a template of a series is drawn from: the site, zone and year of the latest reading, the
// fitted wall with its covariance, the options left as the request's defaults.
struct TemplateInputs {
    kestramo::dial::TemplateRequest request;
    TemplateSite site;
};
// None while the series is not decided.
std::optional<TemplateInputs> TemplateInputsFor(
    const kestramo::series::SeriesResult& result,
    std::span<const kestramo::series::Reading> readings);

enum class TemplateFormat { Svg, Dxf, Pdf };
// By the file's extension, .svg, .dxf or .pdf in any case; empty for any other.
std::optional<TemplateFormat> FormatOf(const QString& path);

// Writes the template, whole or not at all: to a temporary file in the same folder, renamed
// once complete. The paper is for PDF. Returns what went wrong, naming the file, or nothing.
// PDF needs a QGuiApplication (its fonts).
std::optional<QString> WriteTemplateFile(const QString& path, const TemplateDrawing& drawing,
                                         const QPageSize& paper);

}  // namespace dial_files
