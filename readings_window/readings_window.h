#pragma once

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "series/day_plan.h"
#include "series/reading.h"

class CopyableFields;
class DialPanel;
class QAction;
class QComboBox;
class QGroupBox;
class QScrollArea;
class QTabWidget;
class QDoubleSpinBox;
class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QTableView;
class PictureWidget;
class ReadingsList;
class ReadingsTableModel;
namespace kestramo::readings {
struct CsvReadResult;
}

// The readings of this session in a window of their own: the table with a check box to leave a
// reading out, the combined declination with its uncertainty and in the conventions of dial
// programs, the tolerances it rests on, the plan view, when to measure next, and the dial the
// wall carries. Opens and saves readings files, prints the series, and
// offers back the readings of earlier sessions that did not end normally.
class ReadingsWindow : public QWidget {
    Q_OBJECT

  public:
    // Shows `list`, which the caller keeps.
    explicit ReadingsWindow(ReadingsList* list, QWidget* parent = nullptr);

    // Reads a readings file, adds its good readings to the list and says what happened: how
    // many were added, lines that could not be read, columns left out. False when nothing could
    // be read.
    bool openFile(const QString& path);
    // Writes the list to a readings file, atomically; tells the user when it cannot.
    bool saveFile(const QString& path);
    // Paints the printout of the series on `device`. False when it cannot be painted on.
    bool printTo(QPagedPaintDevice& device) const;
    // Asks, for each earlier session whose recovery file no running copy holds, whether its
    // readings are added to this list, discarded, or kept to be asked about later.
    void offerEarlierSessions();

    QTableView* readingsTable;
    QLabel* answerLabel;
    QLabel* leanLabel;
    QLabel* agreementLabel;
    QLabel* adviceLabel;
    QLabel* bestTimeLabel;
    // What the last file operation did.
    QLabel* statusLabel;
    // The wall's facing in the conventions of dial programs, once decided, each copyable.
    QGroupBox* conventionsBox;
    CopyableFields* conventions;
    // The answer's words and the tolerances, scrolled when the window is small.
    QScrollArea* answerScroll;
    // The plan view with the day plot, and the dial.
    QTabWidget* pictureTabs;
    PictureWidget* planView;
    PictureWidget* dayPlot;
    DialPanel* dialPanel;
    // One box for each of tolerance_fields::Fields(), in its order, and the edge read.
    std::vector<QDoubleSpinBox*> toleranceBoxes;
    QComboBox* edgeBox;
    QPushButton* cmdOpen;
    QPushButton* cmdSave;
    QPushButton* cmdPrintSeries;
    QPushButton* cmdAddReading;
    QPushButton* cmdEditReading;
    QPushButton* cmdDelete;
    QPushButton* cmdUndo;
    QPushButton* cmdRedo;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Added {
        int readings = 0;
        bool tolerancesTaken = false;
    };

    void createControls();
    void refresh();
    // The day plans of the latest reading used, one per wall still open (one when decided).
    std::vector<kestramo::series::DayPlan> makeDayPlans();
    void deleteSelected();
    // The reading form, for a new reading that starts from the latest one, and for the
    // current row's reading, which it edits in place.
    void addReading();
    void editCurrent();
    // Opens the reading form over the window, for a new reading or to `edit` `start`; `take` gets
    // the reading once OK took it.
    void openForm(bool edit, const std::optional<kestramo::series::Reading>& start,
                  std::function<void(const kestramo::series::Reading&)> take);
    void askOpen();
    void askSave();
    void askPrint();
    void askSaveTemplate();
    void askPrintTemplate();
    // A modal box titled like the program; returns the button pressed. The window is active
    // again afterwards.
    int ask(const QString& text, int icon, int buttons, int defaultButton);
    void tell(const QString& text, bool warning);
    // Makes this window active again after a dialog: under an X server without a window
    // manager nothing else does, and its keys would reach nothing.
    void comeBack();
    // Adds a file's readings in one step to undo; takes the file's tolerances for the whole
    // list when the list is empty, or asks first when the list has other tolerances.
    Added addFromFile(const kestramo::readings::CsvReadResult& read, const QString& name,
                      const QString& why);
    // The folder a file dialog starts in: the last one a file was saved in or opened from, else
    // the documents folder, else the home folder.
    QString startFolder() const;
    void showFileName(const QString& path);

    ReadingsList* list_;
    ReadingsTableModel* model_;
    std::vector<kestramo::series::DayPlan> dayPlans_;  // as the day plot shows them
    std::optional<kestramo::series::DaySky> sky_;      // the day they sample
    // The window's own keys, which no control inside it may take for itself.
    std::vector<QAction*> windowKeys_;
    QString lastFolder_;
};
