#pragma once

#include <QString>

#include <vector>

#include "series/day_plan.h"

class QPagedPaintDevice;
class ReadingsList;
class ReadingsTableModel;

// The printout of a series: a heading, the combined answer with its uncertainty, the wall's lean
// and how well the readings agree, the answer in the conventions of dial programs, the
// tolerances, on the first page the plan view and the day's plot, the dial (its words, its hour
// lines as a table and its face), and the table as the window shows it (continued on further pages
// when long). False when the device cannot be painted on. `plans` are the day plans the window
// shows, `bestTime` its words for them.
bool PrintSeries(QPagedPaintDevice& device, const ReadingsList& list,
                 const ReadingsTableModel& model,
                 const std::vector<kestramo::series::DayPlan>& plans, const QString& bestTime);
