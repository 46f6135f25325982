#pragma once

#include <QLocale>
#include <QString>

#include <span>
#include <vector>

#include "series/day_plan.h"
#include "series/series.h"

// A series and its readings in words, as the readings window, its printout, the readings file
// and the command line give them: in a sundial maker's terms, numbers in the locale's notation
// (the command line passes the C locale), no statistician's jargon.
namespace series_words {

using kestramo::series::Inclusion;
using kestramo::series::ReadingGeometry;
using kestramo::series::ReadingVerdict;
using kestramo::series::SeriesResult;
using kestramo::series::Tolerances;

// "1 reading", "3 readings"; "1 minute", "5 minutes".
QString Readings(int count);
QString Minutes(int count);
// "reading 2", "readings 2 and 5", "readings 1, 3 and 4" (numbered from 1).
QString ReadingList(std::span<const int> indices);

// The answer: "11.4° W ± 0.2°, 3 readings" when decided; otherwise why not, with every wall
// still open. `decimals` of the declinations.
QString Answer(const SeriesResult& result, const QLocale& locale = QLocale(), int decimals = 1);

// How well the readings agree with each other: their scatter against what the tolerances lead
// one to expect. Empty with fewer than two readings used.
QString Agreement(const SeriesResult& result, const QLocale& locale = QLocale());

// The wall's lean as fitted: "The wall leans back 0.4° ± 0.3°.", and when the readings tell
// little about it, that it stays near the lean stated. Empty with no readings.
QString Lean(const SeriesResult& result, const Tolerances& tolerances,
             const QLocale& locale = QLocale());
// Its first sentence alone, for a picture's caption.
QString LeanBrief(const SeriesResult& result, const Tolerances& tolerances,
                  const QLocale& locale = QLocale());

// A zone as its offset from UTC: "UTC−5", "UTC+5:30".
QString ZoneText(double utcOffsetHours);
// The clock a reading was taken by: "UTC−5, daylight time".
QString ClockName(const kestramo::series::Reading& reading);

// What to do next: the readings left out and why, the likely causes when the readings
// disagree, and while undecided how long to wait. Empty when there is nothing to say. In the
// window, a reading left out can be taken back with its box, and the advice says so.
enum class Audience { Window, CommandLine };
QString Advice(const SeriesResult& result, std::span<const ReadingGeometry> geometry,
               const Tolerances& tolerances, const QLocale& locale = QLocale(),
               Audience audience = Audience::Window);

// One reading's note: why it is left out, what explains it, or that it disagrees; empty when
// there is nothing to say.
QString Note(const ReadingVerdict& verdict, Inclusion inclusion, const ReadingGeometry& geometry,
             const Tolerances& tolerances, const QLocale& locale = QLocale());

// The tolerances in words, from the one table of them: "clock 10 s, noting the time 5 s, ...,
// the faint outer edge read"; with `other`, only those that differ from its.
QString TolerancesList(const Tolerances& tolerances, const Tolerances* other = nullptr,
                       const QLocale& locale = QLocale());
// The tolerances in one paragraph, for the printout.
QString TolerancesText(const Tolerances& tolerances, const QLocale& locale = QLocale());

// When to measure next: "Best today: 14:20 to 15:40, about ±0.2°", "Best on 2003-09-03: ...", or
// "No reading is possible on 2003-09-03."; `today` decides between the two wordings. With a plan
// for each of several walls, a line for each: "If the wall faces 100.1° E: ...".
QString BestTime(const std::vector<kestramo::series::DayPlan>& plans,
                 const kestramo::CalendarDate& today, const QLocale& locale = QLocale());

}  // namespace series_words
