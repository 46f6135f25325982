#include "readings_window/readings_table_model.h"

#include <QBrush>
#include <QColor>
#include <QLocale>

#include <cmath>

#include "readings_window/angle_text.h"
#include "readings_window/readings_list.h"

namespace rd = kestramo::readings;

namespace {

QString ClockText(double seconds) {
    const int whole = int(std::lround(seconds));
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600, 2, 10, QLatin1Char('0'))
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString ZoneText(double hours) {
    const int minutes = int(std::lround(std::fabs(hours) * 60));
    QString text = QStringLiteral("UTC") +
                   (hours < 0 ? QStringLiteral("\u2212") : QStringLiteral("+")) +
                   QString::number(minutes / 60);
    if (minutes % 60 != 0) text += QStringLiteral(":%1").arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return text;
}

QString LengthText(const std::optional<std::string>& typed, double value) {
    if (typed) return QString::fromStdString(*typed);
    return QLocale().toString(value, 'g', 10);
}

// A number to `decimals` places, with no minus sign on a value that rounds to zero.
QString Rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return QLocale().toString(rounded == 0 ? 0.0 : rounded, 'f', decimals);
}

QString CoordinateText(double degrees, const char* positive, const char* negative) {
    return angle_text::Degrees(std::fabs(degrees), 3) + QLatin1Char(' ') +
           QLatin1String(degrees >= 0 ? positive : negative);
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
    const rd::ReadingVerdict& verdict = list_->series().result.readings[size_t(row)];
    if (list_->inclusion(row) == rd::Inclusion::ForcedOut) return Qt::Unchecked;
    if (verdict.outlier) return Qt::PartiallyChecked;
    return Qt::Checked;
}

QString ReadingsTableModel::cellText(int row, int column) const {
    const rd::Reading& reading = list_->reading(row);
    const rd::EvaluatedReading& evaluated = list_->series().evaluated[size_t(row)];
    const rd::ReadingSolution& solution = evaluated.solution;
    const rd::ReadingVerdict& verdict = list_->series().result.readings[size_t(row)];
    switch (column) {
        case Use:
            return QString::number(row + 1);
        case Date:
            return QStringLiteral("%1-%2-%3")
                .arg(reading.date.year, 4, 10, QLatin1Char('0'))
                .arg(reading.date.month, 2, 10, QLatin1Char('0'))
                .arg(reading.date.day, 2, 10, QLatin1Char('0'));
        case Time:
            return ClockText(reading.clockSeconds);
        case Zone:
            return ZoneText(reading.utcOffsetHours);
        case ClockKind:
            return reading.daylight ? tr("Daylight") : tr("Standard");
        case Latitude:
            return CoordinateText(reading.latitude, "N", "S");
        case Longitude:
            return CoordinateText(reading.longitude, "E", "W");
        case Height:
            return LengthText(reading.heightText, reading.height);
        case Length:
            return LengthText(reading.lengthText, reading.length);
        case SunAltitude:
            return angle_text::Degrees(solution.sunAltitude);
        case SunAzimuth:
            return angle_text::Declination(solution.sunAzimuth);
        case FirstAnswer:
            return solution.solved() ? angle_text::DeclinationWithUncertainty(
                                           solution.first, evaluated.uncertainty.first)
                                     : QString();
        case SecondAnswer:
            return solution.solved() ? angle_text::DeclinationWithUncertainty(
                                           solution.second, evaluated.uncertainty.second)
                                     : QString();
        case Chosen:
            switch (verdict.chosen) {
                case rd::Candidate::First:
                    return tr("first");
                case rd::Candidate::Second:
                    return tr("second");
                case rd::Candidate::None:
                    return solution.solved() ? tr("undecided") : QString();
            }
            return QString();
        case Residual:
            if (!std::isfinite(verdict.residual)) return QString();
            return Rounded(verdict.residual, 2) + QStringLiteral("\u00b0 (") +
                   Rounded(verdict.residualSigma, 1) + QStringLiteral(" \u03c3)");
        case Note:
            if (!solution.solved()) return QString::fromUtf8(rd::StatusText(solution.status));
            if (list_->inclusion(row) == rd::Inclusion::ForcedOut) return tr("left out by you");
            if (verdict.outlier) return tr("outlier: more than 3 \u03c3 from the others, left out");
            if (list_->inclusion(row) == rd::Inclusion::ForcedIn) return tr("kept in by you");
            return QString();
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
                    "checked: the series left it out as an outlier; check it to take it "
                    "back in.");
            }
            // A note may be longer than its column is wide.
            if (index.column() == Note) {
                const QString note = cellText(row, Note);
                if (!note.isEmpty()) return note;
            }
            return {};
        case Qt::ForegroundRole:
            if (useState(row) != Qt::Checked ||
                !list_->series().evaluated[size_t(row)].solution.solved()) {
                return QBrush(QColor(0x80, 0x80, 0x80));
            }
            if (index.column() == Note && list_->series().result.readings[size_t(row)].outlier) {
                return QBrush(QColor(0xb0, 0x20, 0x20));
            }
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() >= Latitude && index.column() <= Residual) {
                return int(Qt::AlignRight | Qt::AlignVCenter);
            }
            return {};
        default:
            return {};
    }
}

QVariant ReadingsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return {};
    switch (section) {
        case Use:
            return tr("Use");
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
            return tr("Residual");
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
            list_->setInclusion(row, rd::Inclusion::ForcedOut);
            break;
        case Qt::Unchecked:
            list_->setInclusion(row, rd::Inclusion::Automatic);
            break;
        case Qt::PartiallyChecked:
            list_->setInclusion(row, rd::Inclusion::ForcedIn);
            break;
    }
    return true;
}
