#pragma once

#include <QList>
#include <QLocale>
#include <QString>

// The printed report of one calculation: what goes on the page, line by line, kept apart from
// how it reaches paper so that the window, the printer and a saved file all get the same page.
namespace report {

// What the report says about one observation, read after validation and the calculation.
struct Inputs {
    double latitude = 0;    // degrees, north positive, as validation stored it
    double longitude = 0;   // degrees, as validation stored it; only its magnitude is printed
    bool west = false;      // the west option button is selected; decides West or East
    double clockTime = 0;   // serial date-time of the measurement, as validation stored it
    bool standard = false;  // the standard-time option button is selected
    QString heightText;     // the square's height exactly as typed
    QString lengthText;     // the shadow's length exactly as typed
    QString result;         // the result text as the calculation left it; CR LF between lines
};

// One printed line: the face, its size and the text, with no line breaks in it.
struct Line {
    QString family;
    double pointSize = 0;  // points
    QString text;

    bool operator==(const Line&) const = default;
};

struct Report {
    QList<Line> lines;

    // The lines' texts joined by line feeds, the way a text extractor reads the page back.
    QString plainText() const;
};

// The page: the program's name and its maker in 16 points, a blank line, the site and clock
// time, the square and shadow, a blank line and the result, all in 11 points. Numbers and the
// clock time are written the way `locale` writes them by default.
Report Build(const Inputs& inputs, const QLocale& locale = QLocale());

}  // namespace report
