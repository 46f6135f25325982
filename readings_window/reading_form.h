#pragma once

#include <QDialog>

#include <map>
#include <optional>
#include <utility>

#include "series/reading.h"

class PictureWidget;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;

// The form that adds a reading of any kind to the readings window's list, or edits one in
// place: the kind, with a drawing of how it is taken; the date, clock time, zone, clock kind
// and site; the kind's values. Every text is read as the user's locale writes it; OK (Enter)
// refuses the first field that cannot be read, naming it, and gives it the focus.
class ReadingForm : public QDialog {
    Q_OBJECT

  public:
    using Reading = kestramo::series::Reading;
    using Method = kestramo::series::Method;

    enum class Purpose { Add, Edit };

    // For Add, `start` lends its date, time, zone, clock kind, site and kind, and the kind's
    // values start empty; none starts from today, now and no site. For Edit, the form holds
    // `start` as it is.
    ReadingForm(Purpose purpose, const std::optional<Reading>& start, QWidget* parent = nullptr);

    // The reading as the form holds it, once OK took it.
    const Reading& reading() const { return reading_; }

    void accept() override;

    QComboBox* kindBox;
    PictureWidget* kindPicture;
    QLabel* howTakenLabel;
    QLineEdit* dateEdit;
    QLineEdit* timeEdit;
    QComboBox* zoneBox;
    QComboBox* clockBox;
    QLineEdit* latitudeEdit;
    QLineEdit* longitudeEdit;
    QLineEdit* heightEdit;  // the square's height or the board pin's
    QLineEdit* lengthEdit;
    QLineEdit* tipXEdit;
    QLineEdit* tipYEdit;
    QLineEdit* placementEdit;
    QLineEdit* angleEdit;
    QLineEdit* bearingEdit;
    QLineEdit* bearingErrorEdit;

  private:
    void createFields();
    void fill(Purpose purpose, const std::optional<Reading>& start);
    // Fills `box` with `text`, which stands for `value`.
    void fillNumber(QLineEdit* box, const QString& text, double value);
    Method method() const;
    void showKind();
    // Reads every field into `reading_`; false after telling the user which one cannot be read.
    bool read();
    bool refuse(QLineEdit* box, const QString& requirement);

    QFormLayout* form_;
    QLabel* heightLabel_;
    std::pair<QString, double> startTime_;  // the time's text as filled in, and its clock time
    std::map<const QLineEdit*, std::pair<QString, double>> shown_;  // numbers as filled in
    Reading reading_;
};
