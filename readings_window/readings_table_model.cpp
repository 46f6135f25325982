#include "readings_window/readings_table_model.h"

#include <QBrush>
#include <QColor>
#include <QLocale>

#include <algorithm>
#include <cmath>

#include "readings/angle_text.h"
#include "readings/series_words.h"
#include "readings_window/readings_list.h"
#include "text/text_conversions.h"

namespace ks = kestramo::series;

namespace {

// A number to `decimals` places, with no minus sign on a value that rounds to zero.
QString Rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return QLocale().toString(rounded == 0 ? 0.0 : rounded, 'f', decimals);
}

// A residual to one place more than the shadow was typed with: "+0.001" for 15.46, "0.0" for
// 25; what lies below that is no part of what was measured.
int ResidualDecimals(const ks::Reading& reading) {
    if (!reading.lengthText) return 3;
    const QString typed = QString::fromStdString(*reading.lengthText).trimmed();
    const qsizetype point =
        std::max(typed.lastIndexOf(QLatin1Char('.')), typed.lastIndexOf(QLatin1Char(',')));
    return point < 0 ? 1 : int(typed.size() - point - 1) + 1;
}

QString CoordinateText(double degrees, const char* positive, const char* negative) {
    return angle_text::Degrees(std::fabs(degrees), 3) + QLatin1Char(' ') +
           QLatin1String(degrees >= 0 ? positive : negative);
}

// The values of a kind other than the square's, which the height and shadow columns hold.
QString ValuesText(const ks::Reading& reading) {
    using text_conversions::NumberText;
    switch (reading.method) {
        case ks::Method::Square:
            return {};
        case ks::Method::Board: {
            QString text = ReadingsTableModel::tr("tip x %1, y %2")
                               .arg(NumberText(reading.tipX), NumberText(reading.tipY));
            if (!reading.placement.empty()) {
                text += ReadingsTableModel::tr(", placement %1")
                            .arg(QString::fromStdString(reading.placement));
            }
            return text;
        }
        case ks::Method::Declinometer:
            return ReadingsTableModel::tr("angle %1\u00b0").arg(NumberText(reading.angle));
        case ks::Method::Bearing:
            return angle_text::DeclinationWithUncertainty(reading.bearing, reading.bearingError);
    }
    return {};
}

}  // namespace

ReadingsTableModel::ReadingsTableModel(ReadingsList* list, QObject* parent)
    : QAbstractTableModel(parent), list_(list), rows_(list->size()) {
    // The same rows with new contents keep the view's current row and selection; a row more or
    // less starts the table anew.
    connect(list_, &ReadingsList::changed, this, [this] {
        if (list_->size() == rows_) {
            if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, ColumnCount - 1));
            return;
        }
        beginResetModel();
        rows_ = list_->size();
        endResetModel();
    });
}

int ReadingsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int ReadingsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

Qt::CheckState ReadingsTableModel::useState(int row) const {
    const ks::ReadingVerdict& verdict = list_->series().result.readings[size_t(row)];
    switch (verdict.state) {
        case ks::ReadingState::LeftOutByUser:
            return Qt::Unchecked;
        case ks::ReadingState::Outlier:
        case ks::ReadingState::Implausible:
            return Qt::PartiallyChecked;
        case ks::ReadingState::Used:
        case ks::ReadingState::SunBelowHorizon:
            break;
    }
    return list_->inclusion(row) == ks::Inclusion::ForcedOut ? Qt::Unchecked : Qt::Checked;
}

QString ReadingsTableModel::cellText(int row, int column) const {
    const ks::Reading& reading = list_->reading(row);
    const ks::SolvedSeries& series = list_->series();
    const ks::ReadingGeometry& geometry = series.geometry[size_t(row)];
    const ks::AnswerUncertainty& uncertainty = series.answerUncertainty[size_t(row)];
    const ks::ReadingVerdict& verdict = series.result.readings[size_t(row)];
    // A bearing's moment means nothing: none is shown.
    const bool timeless = reading.method == ks::Method::Bearing;
    if (timeless && (column == Date || column == Time || column == Zone || column == ClockKind)) {
        return QString();
    }
    switch (column) {
        case Use:
            return QString::number(row + 1);
        case Kind:
            return QString::fromLatin1(ks::MethodWord(reading.method));
        case Date:
            return QString::fromStdString(ks::DateText(ks::DateOf(reading)));
        case Time:
            return QString::fromStdString(
                ks::ClockText(ks::ClockSecondsOf(reading), ks::ClockPrecision::Seconds));
        case Zone:
            return series_words::ZoneText(ks::UtcOffsetHoursOf(reading));
        case ClockKind:
            return reading.observation.daylightSaving ? tr("Daylight") : tr("Standard");
        case Latitude:
            return CoordinateText(reading.observation.latitude, "N", "S");
        case Longitude:
            return CoordinateText(reading.observation.longitude, "E", "W");
        case Height:
            if (reading.method != ks::Method::Square && reading.method != ks::Method::Board) {
                return QString();
            }
            return text_conversions::TypedNumberText(reading.heightText, reading.height);
        case Length:
            if (reading.method != ks::Method::Square) return QString();
            return text_conversions::TypedNumberText(reading.lengthText, reading.length);
        case Values:
            return ValuesText(reading);
        // A bearing was not taken by the sun.
        case SunAltitude:
            if (reading.method == ks::Method::Bearing) return QString();
            return angle_text::Degrees(geometry.sunAltitude);
        case SunAzimuth:
            if (reading.method == ks::Method::Bearing) return QString();
            return angle_text::Declination(geometry.sunAzimuth);
        case FirstAnswer:
            return geometry.solved()
                       ? angle_text::DeclinationWithUncertainty(geometry.first, uncertainty.first)
                       : QString();
        case SecondAnswer:
            return geometry.solved()
                       ? angle_text::DeclinationWithUncertainty(geometry.second, uncertainty.second)
                       : QString();
        case Chosen:
            switch (verdict.chosen) {
                case ks::Candidate::First:
                    return tr("first");
                case ks::Candidate::Second:
                    return tr("second");
                case ks::Candidate::None:
                    return geometry.solved() ? tr("undecided") : QString();
            }
            return QString();
        case Residual:
            if (!std::isfinite(verdict.residual)) return QString();
            {
                const int decimals = ResidualDecimals(reading);
                const bool longer = std::round(verdict.residual * std::pow(10.0, decimals)) > 0;
                return (longer ? QStringLiteral("+") : QString()) +
                       Rounded(verdict.residual, decimals);
            }
        case ResidualSigma:
            if (!std::isfinite(verdict.residualSigma)) return QString();
            return Rounded(verdict.residualSigma, 1);
        case Note:
            return series_words::Note(verdict, list_->inclusion(row), geometry,
                                      list_->tolerances());
        default:
            return QString();
    }
}

QVariant ReadingsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_) return {};
    const int row = index.row();
    switch (role) {
        case Qt::DisplayRole:
            return cellText(row, index.column());
        case Qt::CheckStateRole:
            if (index.column() == Use) return useState(row);
            return {};
        case Qt::ToolTipRole:
            if (index.column() == Use) {
                return tr(
                    "Checked: the reading counts. Unchecked: you left it out. Partly "
                    "checked: the series left it out, as the other readings do not predict it "
                    "or no one could have measured its shadow; check it to take it back in.");
            }
            // A note may be longer than its column is wide.
            if (index.column() == Note) {
                const QString note = cellText(row, Note);
                if (!note.isEmpty()) return note;
            }
            return {};
        case Qt::ForegroundRole:
            if (index.column() == Note && useState(row) == Qt::PartiallyChecked) {
                return QBrush(QColor(0xb0, 0x20, 0x20));
            }
            if (useState(row) != Qt::Checked ||
                !list_->series().result.readings[size_t(row)].used()) {
                return QBrush(QColor(0x80, 0x80, 0x80));
            }
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() >= Latitude && index.column() <= ResidualSigma &&
                index.column() != Values) {
                return int(Qt::AlignRight | Qt::AlignVCenter);
            }
            return {};
        default:
            return {};
    }
}

QVariant ReadingsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) return {};
    if (role == Qt::ToolTipRole) {
        if (section == Residual) {
            return tr(
                "The shadow as you measured it less the shadow the fitted wall casts at that "
                "time, in the unit of the square's height.");
        }
        if (section == ResidualSigma) {
            return tr(
                "The same in standard deviations of what the tolerances allow; a reading "
                "left out is measured against the fit of the others.");
        }
        return {};
    }
    if (role != Qt::DisplayRole) return {};
    switch (section) {
        case Use:
            return tr("Use");
        case Kind:
            return tr("Kind");
        case Date:
            return tr("Date");
        case Time:
            return tr("Time");
        case Zone:
            return tr("Zone");
        case ClockKind:
            return tr("Clock");
        case Latitude:
            return tr("Latitude");
        case Longitude:
            return tr("Longitude");
        case Height:
            return tr("Height");
        case Length:
            return tr("Shadow");
        case Values:
            return tr("Tip, angle or bearing");
        case SunAltitude:
            return tr("Sun alt.");
        case SunAzimuth:
            return tr("Sun az.");
        case FirstAnswer:
            return tr("First answer");
        case SecondAnswer:
            return tr("Second answer");
        case Chosen:
            return tr("Chosen");
        case Residual:
            return tr("Shadow off by");
        case ResidualSigma:
            return tr("Standard deviations");
        case Note:
            return tr("Note");
        default:
            return {};
    }
}

Qt::ItemFlags ReadingsTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Use) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool ReadingsTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != Use || role != Qt::CheckStateRole) return false;
    const int row = index.row();
    // A click moves the state on from what it shows: used -> left out -> back to the series'
    // say, and an outlier -> kept in.
    Q_UNUSED(value);
    switch (useState(row)) {
        case Qt::Checked:
            list_->setInclusion(row, ks::Inclusion::ForcedOut);
            break;
        case Qt::Unchecked:
            list_->setInclusion(row, ks::Inclusion::Automatic);
            break;
        case Qt::PartiallyChecked:
            list_->setInclusion(row, ks::Inclusion::ForcedIn);
            break;
    }
    return true;
}
