#include "readings_window/dial_printout.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>

#include "readings/angle_text.h"
#include "readings/wall_conventions.h"
#include "readings_window/dial_face_painter.h"

namespace {

constexpr int kRowsPerBlock = 13;
constexpr double kFacePart = 0.38;  // of the width, for the face

QString tr(const char* text) { return QCoreApplication::translate("DialPrintout", text); }

QFont Face(double points, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace

double PrintDial(QPainter& painter, const QRectF& area, double points,
                 const kestramo::dial::DialLayout& dial) {
    const double faceWidth = area.width() * kFacePart;
    const double gap = 8 * points;
    const QRectF words(area.left(), area.top(), area.width() - faceWidth - gap, area.height());
    QStringList text{wall_conventions::HowGood(dial)};
    for (const auto& [label, value] : wall_conventions::DialQuantities(dial)) {
        text << label + QStringLiteral(": ") + value;
    }
    text << wall_conventions::AnglesMeasured(dial);
    painter.setFont(Face(9));
    const QRectF used = painter.boundingRect(words, Qt::TextWordWrap, text.join(u'\n'));
    painter.drawText(words, Qt::TextWordWrap, text.join(u'\n'));
    double y = used.bottom() + gap / 2;

    // The hour lines in blocks of rows side by side.
    const QString heads[] = {tr("Time"), tr("Hour angle"), tr("Line at"), tr("\u00b1 minutes")};
    const QFont cell = Face(8), head = Face(8, true);
    const double rowHeight = QFontMetricsF(cell, painter.device()).height() * 1.2;
    const int rows = int(dial.hourLines.size());
    const int blocks = std::max(1, (rows + kRowsPerBlock - 1) / kRowsPerBlock);
    const int perBlock = (rows + blocks - 1) / blocks;
    const double blockWidth = words.width() / blocks;
    const double column = (blockWidth - gap) / 4;
    for (int b = 0; b < blocks; ++b) {
        const double left = words.left() + b * blockWidth;
        painter.setFont(head);
        for (int c = 0; c < 4; ++c) {
            painter.drawText(QRectF(left + c * column, y, column, rowHeight),
                             (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                             heads[c]);
        }
        painter.drawLine(QPointF(left, y + rowHeight), QPointF(left + 4 * column, y + rowHeight));
        painter.setFont(cell);
        for (int r = 0; r < perBlock && b * perBlock + r < rows; ++r) {
            const kestramo::dial::HourLine& line = dial.hourLines[std::size_t(b * perBlock + r)];
            const QString cells[] = {
                wall_conventions::ApparentTime(line.hourAngle),
                angle_text::Degrees(line.hourAngle, 1), angle_text::Degrees(line.angle, 1),
                QStringLiteral("\u00b1") + QLocale().toString(line.timeErrorMinutes, 'f', 1)};
            for (int c = 0; c < 4; ++c) {
                painter.drawText(
                    QRectF(left + c * column, y + (r + 1) * rowHeight, column, rowHeight),
                    (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, cells[c]);
            }
        }
    }
    y += (perBlock + 1) * rowHeight;

    const double faceHeight = std::max(y - area.top(), faceWidth * 1.1);
    painter.setFont(Face(8));
    PaintDialFace(painter, QRectF(area.right() - faceWidth, area.top(), faceWidth, faceHeight),
                  dial);
    return std::max(y, area.top() + faceHeight) - area.top();
}
