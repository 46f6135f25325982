#pragma once

#include <QString>

#include <span>

#include "readings/tolerances.h"

class QDoubleSpinBox;
class QWidget;

// The tolerances the readings window lets the user set, one row of the table each: a new
// tolerance is one row more.
namespace tolerance_fields {

struct Field {
    const char* objectName;      // of its box, e.g. "clockTolerance"
    const char* label;           // beside its box, with its access key, e.g. "&Clock:"
    const char* accessibleName;  // e.g. "Clock tolerance in seconds"
    const char* name;            // in a sentence, e.g. "clock"
    const char* unit;            // after the number, with the space it takes, e.g. " s"
    double maximum;              // in the unit
    double step;                 // of the box's arrows, in the unit
    double kestramo::readings::Tolerances::*value;
};

std::span<const Field> Fields();

// True when every tolerance of the table is the same in both.
bool Same(const kestramo::readings::Tolerances& a, const kestramo::readings::Tolerances& b);

// The tolerances in words, in the user's locale: "clock 10 s, shadow length 1 %, ...".
QString Text(const kestramo::readings::Tolerances& tolerances);

// The box that sets one tolerance, showing `value`.
QDoubleSpinBox* MakeBox(const Field& field, double value, QWidget* parent);

}  // namespace tolerance_fields
