#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QPageSize>
#include <QString>

#include <optional>
#include <variant>

#include "dial/dial_template.h"

// kestramo-solve's options for the dial's template: --dial-template FILE and what shapes it.
namespace solve_template {

QList<QCommandLineOption> Options();

// What the options ask for; the request's site and wall are left for the series to fill.
struct TemplateOptions {
    std::optional<QString> file;  // --dial-template
    kestramo::dial::TemplateRequest request;
    bool summerTime = false;
    QPageSize::PageSizeId paper = QPageSize::A4;
};

// The options as given, or what is wrong with one.
std::variant<TemplateOptions, QString> ReadOptions(const QCommandLineParser& parser);

// Whether the command line asks for a template file: before the parser runs, so that the
// program can start with what drawing a PDF needs.
bool AsksForTemplateFile(int argc, char* argv[]);

}  // namespace solve_template
