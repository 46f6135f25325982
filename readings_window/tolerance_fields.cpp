#include "readings_window/tolerance_fields.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLocale>
#include <QStringList>

#include "readings/series_words.h"

namespace tolerance_fields {
namespace {

using kestramo::series::ShadowEdge;
using kestramo::series::Tolerances;

QString Translated(const char* text) { return QCoreApplication::translate("ReadingsWindow", text); }

}  // namespace

std::span<const Field> Fields() { return kestramo::series::ToleranceTable(); }

QString Text(const Tolerances& tolerances, const Tolerances* other) {
    return series_words::TolerancesList(tolerances, other);
}

QDoubleSpinBox* MakeBox(const Field& field, double value, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(field.objectName));
    box->setAccessibleName(Translated(field.accessibleName));
    box->setToolTip(Translated(field.toolTip));
    box->setRange(field.low, field.high);
    box->setDecimals(field.step < 0.5 ? 2 : 1);
    box->setSingleStep(field.step);
    box->setSuffix(Translated(field.unit));
    box->setValue(value);
    box->setKeyboardTracking(false);
    return box;
}

QComboBox* MakeEdgeBox(ShadowEdge edge, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("shadowEdge"));
    box->setAccessibleName(Translated("Edge of the shadow's end read"));
    box->setToolTip(Translated(
        "The shadow's end fades out over the sun's half-degree disc: the measuring method reads "
        "the faint outer edge."));
    box->addItem(Translated("the faint outer edge"));
    box->addItem(Translated("the middle of the blur"));
    ShowEdge(*box, edge);
    return box;
}

ShadowEdge EdgeOf(const QComboBox& box) {
    return box.currentIndex() == 1 ? ShadowEdge::Middle : ShadowEdge::Outer;
}

void ShowEdge(QComboBox& box, ShadowEdge edge) {
    box.setCurrentIndex(edge == ShadowEdge::Middle ? 1 : 0);
}

QString EdgeLabel() { return Translated("&Which edge is read:"); }

}  // namespace tolerance_fields
