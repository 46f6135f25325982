#pragma once

#include <QWidget>

#include <vector>

#include "readings/day_plan.h"

class QDoubleSpinBox;
class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QTableView;
class PictureWidget;
class ReadingsList;
class ReadingsTableModel;

// The readings of this session in a window of their own: the table with a check box to leave a
// reading out, the combined declination with its uncertainty, the tolerances it rests on, the
// plan view, and when to measure next. Opens and saves readings files and prints the series.
class ReadingsWindow : public QWidget {
    Q_OBJECT

  public:
    // Shows `list`, which the caller keeps.
    explicit ReadingsWindow(ReadingsList* list, QWidget* parent = nullptr);

    // Reads a readings file and adds its good readings to the list; tells the user about lines
    // that could not be read. False when nothing could be read.
    bool openFile(const QString& path);
    // Writes the list to a readings file, atomically; tells the user when it cannot.
    bool saveFile(const QString& path);
    // Paints the printout of the series on `device`. False when it cannot be painted on.
    bool printTo(QPagedPaintDevice& device) const;
    // Offers to restore the readings an earlier session left in its recovery file, if any.
    void offerEarlierSession();

    QTableView* readingsTable;
    QLabel* answerLabel;
    QLabel* agreementLabel;
    QLabel* adviceLabel;
    QLabel* bestTimeLabel;
    PictureWidget* planView;
    PictureWidget* dayPlot;
    QDoubleSpinBox* clockTolerance;
    QDoubleSpinBox* lengthTolerance;
    QDoubleSpinBox* heightTolerance;
    QDoubleSpinBox* tiltTolerance;
    QPushButton* cmdOpen;
    QPushButton* cmdSave;
    QPushButton* cmdPrintSeries;
    QPushButton* cmdDelete;
    QPushButton* cmdUndo;
    QPushButton* cmdRedo;

  private:
    void createControls();
    void refresh();
    // The day plans of the last reading with answers, one per candidate wall (one when decided).
    std::vector<kestramo::readings::DayPlan> makeDayPlans() const;
    void readTolerances();
    void deleteSelected();
    void askOpen();
    void askSave();
    void askPrint();
    void tell(const QString& text, bool warning);

    ReadingsList* list_;
    ReadingsTableModel* model_;
    std::vector<kestramo::readings::DayPlan> dayPlans_;  // as the day plot shows them
};
