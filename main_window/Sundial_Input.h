#pragma once

#include <QDialog>
#include <QStringList>

#include <optional>

#include "engine/wall_solution.h"
#include "main_window/checked_inputs.h"

class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class BrowserLink;
class ReadingsList;
class ReadingsWindow;
class LinkLabel;

// The calculator's main window. Controls keep the names under which they were designed; each
// is a public member whose objectName is the same name. The window is a QDialog so that Enter
// presses the default button from any text box; it still shows as an ordinary window.
class Sundial_Input : public QDialog {
    Q_OBJECT

  public:
    explicit Sundial_Input(QWidget* parent = nullptr);
    ~Sundial_Input() override;

    // Validates the inputs in their fixed order and stores them in the observation state.
    // Stops at the first bad one with a message, and returns false.
    bool DateCheck();
    // Selects the whole text of the control that has the focus.
    void highlight();
    // Solves the stored observation for the typed height and length and writes lblResult.
    void ShowEot();

    // Directly on the window.
    QPushButton* cmdMethod;
    QPushButton* cmdPrint;
    QPushButton* CmdCalculate;
    QPushButton* CmdQuit;
    QFrame* Frame1;
    QLabel* lblTitle;
    LinkLabel* lblbrowser;
    QLabel* lblText;
    QLabel* lblSubscript;
    QLabel* Image2;
    LinkLabel* lblBrontile;
    QLabel* imgMethod;
    QLabel* lblMethod;
    // Opens the readings window; not in the Tab cycle, reached with Alt+R.
    QPushButton* cmdReadings;

    // Inside Frame1.
    QLineEdit* txtDate;
    QLabel* lblDate;
    QFrame* Frame2;
    QComboBox* lstTimeZone;
    QLabel* lblLatitude;
    QLabel* lblLongitude;
    QLabel* lblResult;
    QRadioButton* OptWest;
    QLineEdit* txtLatitude;
    QLineEdit* txtLongitude;
    QRadioButton* OptEast;
    QLabel* lblNorthsouth;
    QLabel* lblHeight;
    QLabel* lblLength;
    QLabel* lblTime;
    QLineEdit* txtHeight;
    QLineEdit* txtLength;
    QLineEdit* txtTime;

    // Inside Frame2.
    QRadioButton* optStandardinput;
    QRadioButton* optDstinput;

  signals:
    // A result was written to lblResult: a calculation's answer, or why there is none.
    void resultShown(const QString& caption);

  public slots:
    void CmdCalculate_Click();
    void cmdPrint_Click();
    void cmdMethod_Click();
    void lblbrowser_Click();
    void lblBrontile_Click();
    void CmdQuit_Click();
    void cmdReadings_Click();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void placeControls();
    void setTabOrder();
    void Form_Load();
    // A modal box titled like the program, with no icon; returns the button pressed.
    int showMessage(const QString& text, int buttons, int defaultButton = 0);
    // Chooses the time-zone entry whose whole text the list's box shows, or none.
    void chooseTypedZone();
    // Moves the focus to a text box after a complaint and selects its text.
    void focusAndHighlight(QLineEdit* box);
    // Makes this window active again after a modal box or dialog: under an X server without a
    // window manager nothing else does, and the box that should have the focus would get
    // neither its keys nor its focus frame.
    void comeBack();
    // Makes the inputs' changes show whether lblResult still answers them.
    void watchInputs();
    // What the controls hold that a calculation reads: texts, options and zone.
    QStringList inputState() const;
    // Draws lblResult in grey, and says so to screen readers, while the inputs differ from
    // those it was calculated from.
    void showWhetherResultIsCurrent();
    // Moves a window of ours beside this one, where the screen has room.
    void placeBeside(QWidget* other) const;
    // The session's readings, made when the first one is kept or the readings window opens.
    ReadingsList* readingsList();
    // The calculation that Calculate and Print share: validation, the result, and the reading
    // kept. False when validation refused the inputs.
    bool calculate();
    // Keeps the measurement that validation has just passed, and its solution, as a reading.
    void recordReading();
    // The web page window's link, made on first use.
    BrowserLink* browserLink();
    // Ends the browser window's process, if one is running, without waiting for it.
    void closeBrowser();

    // The inputs of the last measurement that passed validation, the engine's solution of it and
    // the result text it gave.
    std::optional<CheckedInputs> checked_;
    std::optional<alignment_calculations::WallSolution> solution_;
    QString resultCaption_;
    // inputState() when lblResult was last written.
    QStringList resultInputs_;
    bool resultStale_ = false;

    QButtonGroup* hemisphereGroup_;
    QButtonGroup* clockKindGroup_;
    BrowserLink* browserLink_ = nullptr;
    ReadingsList* readingsList_ = nullptr;
    ReadingsWindow* readingsWindow_ = nullptr;
};
