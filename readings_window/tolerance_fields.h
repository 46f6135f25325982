#pragma once

#include <QString>

#include <span>

#include "series/tolerances.h"

class QComboBox;
class QDoubleSpinBox;
class QWidget;

// The tolerances the readings window lets the user set, one row of the table each: a new
// tolerance is one row more. The edge of the shadow read has a box of its own.
namespace tolerance_fields {

struct Field {
    const char* objectName;      // of its box, e.g. "clockTolerance"
    const char* label;           // beside its box, with its access key, e.g. "&Clock:"
    const char* accessibleName;  // e.g. "Clock tolerance in seconds"
    const char* toolTip;         // what it is, in a sentence
    const char* name;            // in a sentence, e.g. "clock"
    const char* unit;            // after the number, with the space it takes, e.g. " s"
    double minimum;              // in the unit
    double maximum;              // in the unit
    double step;                 // of the box's arrows, in the unit
    double kestramo::series::Tolerances::*value;
};

std::span<const Field> Fields();

// The tolerances in words, in the user's locale: "clock 10 s, shadow length 1 %, ...", those
// alone that differ from `other`'s when it is given.
QString Text(const kestramo::series::Tolerances& tolerances,
             const kestramo::series::Tolerances* other = nullptr);

// The box that sets one tolerance, showing `value`.
QDoubleSpinBox* MakeBox(const Field& field, double value, QWidget* parent);

// The box that says which edge of the shadow's blurred end the user reads: the faint outer
// edge (the first entry) or the middle of the blur.
QComboBox* MakeEdgeBox(kestramo::series::ShadowEdge edge, QWidget* parent);
kestramo::series::ShadowEdge EdgeOf(const QComboBox& box);
void ShowEdge(QComboBox& box, kestramo::series::ShadowEdge edge);
// Its label, with its access key.
QString EdgeLabel();

}  // namespace tolerance_fields
