#pragma once

#include <QLocale>
#include <QString>

#include "engine/wall_solution.h"
#include "text/text_conversions.h"

// The words in which the window and the report give the outcome of one calculation.
namespace result_caption {

// The result text for a solution of a measurement taken on `date` (a serial date; only its
// calendar date counts): the long date, the two declinations with their sides and the note on
// the azimuth convention on three lines joined by CR LF; or the one sentence that says the sun
// was below the horizon, or that no vertical wall fits. Numbers and names as `locale` writes
// them.
QString Caption(const alignment_calculations::WallSolution& solution, text_conversions::Serial date,
                const QLocale& locale = QLocale());

}  // namespace result_caption
