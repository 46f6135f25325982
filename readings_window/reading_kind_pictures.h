#pragma once

#include <QRectF>
#include <QString>

#include "series/reading.h"

class QPainter;

// How each kind of reading is taken, drawn small for the reading form: the square held out from
// the wall, seen from the side; the board on the wall with its pin and the tip's shadow, seen
// face on, with its x and y; the level declinometer board with its plumb pin and the shadow's
// angle, seen from above; the wall's bearing on a compass, seen from above.
void PaintHowTaken(QPainter& painter, const QRectF& area, kestramo::series::Method method);

// The same in words, for those who cannot see the drawing.
QString HowTakenText(kestramo::series::Method method);
