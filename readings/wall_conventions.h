#pragma once

#include <QLocale>
#include <QString>

#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "dial/dial_layout.h"
#include "series/series.h"

// What the answer means for the dial: the wall's facing in the conventions dial-design programs
// take, and the dial that a fitted wall carries.
namespace wall_conventions {

// The wall's facing, each with its label: declination from south west positive, the same east
// positive, the azimuth of the wall's normal from north through east, and the lean as an
// inclination (the angle between the face and the horizontal on the face's side: 90 degrees
// vertical, less for a face that leans back) and as a reclination from vertical.
std::vector<std::pair<QString, QString>> Conventions(double declination, double lean,
                                                     const QLocale& locale = QLocale());

// What the dial is laid out for: the latitude of the series' latest reading and the fitted wall
// with its uncertainty (declination and lean together) as its covariance; none while the series
// is not decided.
std::optional<kestramo::dial::DialRequest> DialRequestFor(
    const kestramo::series::SeriesResult& result,
    std::span<const kestramo::series::Reading> readings);
// The dial for the fitted wall of a decided series, at the latitude of its latest reading,
// with the wall's uncertainty (declination and lean together) as its covariance; none while
// the series is not decided.
std::optional<kestramo::dial::DialLayout> DialFor(
    const kestramo::series::SeriesResult& result,
    std::span<const kestramo::series::Reading> readings);
// Why there is no dial yet, for a series that is not decided: "The dial waits for a decided
// wall: ...".
QString DialWaits(const kestramo::series::SeriesResult& result);
// The latitude that dial is laid out for.
double DialLatitude(const kestramo::series::SeriesResult& result,
                    std::span<const kestramo::series::Reading> readings);

// The time of local apparent time an hour angle (degrees, positive after apparent noon) stands
// for: "9:30", "12:00", "0:00" for midnight.
QString ApparentTime(double hourAngle);

// The dial's standard quantities, each with its label: the style's height above the face, the
// substyle's angle and the substyle's hour angle.
std::vector<std::pair<QString, QString>> DialQuantities(const kestramo::dial::DialLayout& layout,
                                                        const QLocale& locale = QLocale());

// How the dial's angles are measured, in a sentence; on a leaning face whose noon line is not the
// line straight down it, where the noon line lies.
QString AnglesMeasured(const kestramo::dial::DialLayout& layout, const QLocale& locale = QLocale());

// "A dial laid out for this wall reads within ±0.8 minutes from 8:00 to 16:00." (local apparent
// time); one clause for each stretch of hours the dial works.
QString HowGood(const kestramo::dial::DialLayout& layout, const QLocale& locale = QLocale());

}  // namespace wall_conventions
