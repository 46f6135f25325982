#pragma once

#include <QRectF>
#include <QString>

#include <span>

#include "series/reading.h"

class QPainter;

// How each kind of reading is taken, as the reading form shows it: the caption it is chosen by,
// the words that say how it is taken, and a small drawing: the square held out from the wall,
// seen from the side; the board on the wall with its pin and the tip's shadow, seen face on,
// with its x and y; the level declinometer board with its plumb pin and the shadow's angle,
// seen from above; the wall's bearing on a compass, seen from above.
struct ReadingKind {
    kestramo::series::Method method;
    const char* caption;               // untranslated
    const char* howTaken;              // untranslated
    void (*paint)(QPainter& painter);  // on a 240 x 170 grid
};

// Every kind, in the order the form offers them.
std::span<const ReadingKind> ReadingKinds();
const ReadingKind& KindOf(kestramo::series::Method method);

// The kind's caption and words, translated.
QString KindCaption(const ReadingKind& kind);
QString HowTakenText(const ReadingKind& kind);

// The kind's drawing, scaled to fit `area`.
void PaintHowTaken(QPainter& painter, const QRectF& area, const ReadingKind& kind);
