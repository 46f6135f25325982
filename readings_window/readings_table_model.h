#pragma once

#include <QAbstractTableModel>

class ReadingsList;

// The readings as a table: the inputs of each, the engine's two answers with their
// uncertainties, and what the series made of it. The first column's check box says whether the
// reading counts: checked (used), partly checked (left out by the series, which the readings
// that remain do not predict, or a shadow no one could have measured; checking it takes it back
// in) or unchecked (left out by the user).
class ReadingsTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column {
        Use,
        Kind,  // how the reading was taken
        Date,
        Time,
        Zone,
        ClockKind,
        Latitude,
        Longitude,
        Height,
        Length,
        Values,  // a board's tip shadow and placement, a declinometer's angle, a bearing
        SunAltitude,
        SunAzimuth,
        FirstAnswer,
        SecondAnswer,
        Chosen,
        Residual,       // the shadow as measured less the length the fitted wall predicts
        ResidualSigma,  // the same in standard deviations
        Note,
        ColumnCount
    };

    explicit ReadingsTableModel(ReadingsList* list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The text of a cell as the table shows it; the printout uses the same.
    QString cellText(int row, int column) const;

  private:
    Qt::CheckState useState(int row) const;

    ReadingsList* list_;
    int rows_;  // the rows the view was last told of
};
