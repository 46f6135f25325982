#include "readings_window/tolerance_fields.h"

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLocale>
#include <QStringList>

namespace tolerance_fields {
namespace {

using kestramo::readings::Tolerances;

constexpr Field kFields[] = {
    {"clockTolerance", QT_TRANSLATE_NOOP("ReadingsWindow", "&Clock:"),
     QT_TRANSLATE_NOOP("ReadingsWindow", "Clock tolerance in seconds"),
     QT_TRANSLATE_NOOP("ReadingsWindow", "clock"), " s", 600, 1, &Tolerances::clockSeconds},
    {"lengthTolerance", QT_TRANSLATE_NOOP("ReadingsWindow", "S&hadow length:"),
     QT_TRANSLATE_NOOP("ReadingsWindow", "Shadow length tolerance in percent"),
     QT_TRANSLATE_NOOP("ReadingsWindow", "shadow length"), " %", 50, 0.1,
     &Tolerances::lengthPercent},
    {"heightTolerance", QT_TRANSLATE_NOOP("ReadingsWindow", "Square h&eight:"),
     QT_TRANSLATE_NOOP("ReadingsWindow", "Square height tolerance in percent"),
     QT_TRANSLATE_NOOP("ReadingsWindow", "square height"), " %", 50, 0.1,
     &Tolerances::heightPercent},
    {"tiltTolerance", QT_TRANSLATE_NOOP("ReadingsWindow", "Square &tilt:"),
     QT_TRANSLATE_NOOP("ReadingsWindow", "Square tilt tolerance in degrees"),
     QT_TRANSLATE_NOOP("ReadingsWindow", "square tilt"), "\u00b0", 20, 0.1,
     &Tolerances::tiltDegrees},
};

QString Translated(const char* text) { return QCoreApplication::translate("ReadingsWindow", text); }

}  // namespace

std::span<const Field> Fields() { return kFields; }

bool Same(const Tolerances& a, const Tolerances& b) {
    for (const Field& field : kFields) {
        if (a.*field.value != b.*field.value) return false;
    }
    return true;
}

QString Text(const Tolerances& tolerances) {
    QStringList parts;
    for (const Field& field : kFields) {
        parts << Translated(field.name) + QLatin1Char(' ') +
                     QLocale().toString(tolerances.*field.value, 'g', 6) +
                     QString::fromUtf8(field.unit);
    }
    return parts.join(QStringLiteral(", "));
}

QDoubleSpinBox* MakeBox(const Field& field, double value, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(field.objectName));
    box->setAccessibleName(Translated(field.accessibleName));
    box->setRange(0, field.maximum);
    box->setDecimals(field.step < 0.5 ? 2 : 1);
    box->setSingleStep(field.step);
    box->setSuffix(QString::fromUtf8(field.unit));
    box->setValue(value);
    box->setKeyboardTracking(false);
    return box;
}

}  // namespace tolerance_fields
