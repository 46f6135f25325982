#pragma once

#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "readings_window/readings_window.h"
#include "readings_window/recovery_file.h"
#include "tests/support/keyboard.h"
#include "tests/support/window_driver.h"

// The worked morning reading and two more of the same wall later that day.
inline const Observation kMorning = {"9/3/2003", 2, "40.655", "72.855", 1, 6, "11:00", "10", "25"};
inline Observation At(const QString& time, const QString& length) {
    Observation reading = kMorning;
    reading.time = time;
    reading.length = length;
    return reading;
}

inline void Calculate(Sundial_Input& window, const Observation& reading) {
    Enter(window, reading);
    QTest::mouseClick(window.CmdCalculate, Qt::LeftButton);
}

inline void CalculateWorkedSeries(Sundial_Input& window) {
    for (const Observation& reading : {kMorning, At("15:00", "15.46"), At("16:30", "21.07")}) {
        Calculate(window, reading);
    }
}

// Opens the readings window with its key, and waits until it is active.
inline ReadingsWindow* OpenReadings(Sundial_Input& window) {
    // A mnemonic clicks its button the way a mouse would, a moment after the key.
    ClickInto(window.txtDate);
    PressKey(Qt::Key_R, Qt::AltModifier);
    (void)QTest::qWaitFor([&] {
        auto* readings = window.findChild<ReadingsWindow*>();
        return readings && readings->isVisible();
    });
    auto* readings = window.findChild<ReadingsWindow*>();
    if (readings) WaitUntilActive(readings);
    return readings;
}

// The recovery files in the data folder, by name.
inline QStringList RecoveryFiles() {
    return QDir(recovery_file::Folder()).entryList({QStringLiteral("*.csv")}, QDir::Files);
}

inline QString CellText(ReadingsWindow* readings, int row, int column) {
    return readings->readingsTable->model()->index(row, column).data().toString();
}
