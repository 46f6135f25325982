#pragma once

#include <QString>

#include <span>

#include "series/tolerances.h"

class QComboBox;
class QDoubleSpinBox;
class QWidget;

// The tolerances the readings window lets the user set, one box for each row of the series'
// table of tolerances. The edge of the shadow read has a box of its own.
namespace tolerance_fields {

// Each tolerance's row of the series' one table: its box's object name, label, accessible
// name, tool tip, unit, range and step.
using Field = kestramo::series::ToleranceRow;

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
