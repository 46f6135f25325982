#include "readings_window/tolerance_fields.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLocale>
#include <QStringList>

namespace tolerance_fields {
namespace {

using kestramo::series::ShadowEdge;
using kestramo::series::Tolerances;

#define TR(text) QT_TRANSLATE_NOOP("ReadingsWindow", text)

constexpr Field kFields[] = {
    {"clockTolerance", TR("&Clock, one watch a day:"), TR("Clock tolerance in seconds"),
     TR("How far the watch may be off true time; the readings of one date share the watch."),
     TR("clock"), " s", 0, 600, 1, &Tolerances::clockSeconds},
    {"timingTolerance", TR("&Noting the time:"), TR("Timing tolerance in seconds"),
     TR("Between seeing the shadow settle and reading the watch, each reading on its own."),
     TR("noting the time"), " s", 0, 600, 1, &Tolerances::timingSeconds},
    {"lengthTolerance", TR("S&hadow length, the tape:"), TR("Shadow length tolerance in percent"),
     TR("Measuring the shadow's length, in percent of it, each reading."), TR("shadow length"),
     " %", 0, 50, 0.1, &Tolerances::lengthPercent},
    {"blurTolerance", TR("&Blurred end:"), TR("Blurred end tolerance as a share of the blur"),
     TR("The sun's disc blurs the shadow's end over half a degree; how well you read the edge, "
        "as a share of the blur's width."),
     TR("blurred end"), " of the blur", 0, 2, 0.05, &Tolerances::blurFraction},
    {"heightTolerance", TR("Square h&eight, one per square:"),
     TR("Square height tolerance in percent"),
     TR("The square's height, in percent; the readings with the same typed height share it."),
     TR("square height"), " %", 0, 50, 0.1, &Tolerances::heightPercent},
    {"tiltTolerance", TR("Square &tilt:"), TR("Square tilt tolerance in degrees"),
     TR("How far the square may be off perpendicular to the wall, each reading."),
     TR("square tilt"), "\u00b0", 0, 20, 0.1, &Tolerances::tiltDegrees},
    {"leanMeasured", TR("Wall's &lean as measured:"), TR("The wall's lean in degrees"),
     TR("Degrees from vertical: positive when the face leans back toward the sky, negative when "
        "it overhangs; 0 for a wall that looks plumb."),
     TR("the wall's lean"), "\u00b0", -45, 45, 0.1, &Tolerances::leanDegrees},
    {"leanTolerance", TR("Lean &accuracy:"), TR("Lean tolerance in degrees"),
     TR("How far the real lean may be from the lean measured; 0.5\u00b0 is what \u201clooks "
        "plumb\u201d means."),
     TR("lean accuracy"), "\u00b0", 0, 20, 0.1, &Tolerances::leanErrorDegrees},
    {"longestShadow", TR("Longest shadow I can &measure:"), TR("Longest shadow in square heights"),
     TR("The plan offers no reading with a longer shadow; a reading ten times longer is taken "
        "for a slip of the hand."),
     TR("longest shadow"), " heights", 1, 50, 0.5, &Tolerances::longestShadow},
};

#undef TR

QString Translated(const char* text) { return QCoreApplication::translate("ReadingsWindow", text); }

}  // namespace

std::span<const Field> Fields() { return kFields; }

QString Text(const Tolerances& tolerances, const Tolerances* other) {
    QStringList parts;
    for (const Field& field : kFields) {
        if (other && other->*field.value == tolerances.*field.value) continue;
        parts << Translated(field.name) + QLatin1Char(' ') +
                     QLocale().toString(tolerances.*field.value, 'g', 6) + Translated(field.unit);
    }
    if (!other || other->edge != tolerances.edge) {
        parts << (tolerances.edge == ShadowEdge::Outer ? Translated("the faint outer edge read")
                                                       : Translated("the middle of the blur read"));
    }
    return parts.join(QStringLiteral(", "));
}

QDoubleSpinBox* MakeBox(const Field& field, double value, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(field.objectName));
    box->setAccessibleName(Translated(field.accessibleName));
    box->setToolTip(Translated(field.toolTip));
    box->setRange(field.minimum, field.maximum);
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
