#pragma once

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <memory>

#include "main_window/Sundial_Input.h"
#include "readings_window/recovery_file.h"
#include "tests/support/keyboard.h"

// A window, shown and active, as a user finds it at start-up. The test program's first one
// finds no recovery files of earlier runs, which every window that keeps a reading leaves.
inline std::unique_ptr<Sundial_Input> OpenWindow() {
    static const bool cleared = QDir(recovery_file::Folder()).removeRecursively();
    Q_UNUSED(cleared);
    auto window = std::make_unique<Sundial_Input>();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) {
        qWarning("the window did not become active");
    }
    return window;
}

// Puts back the locale the tests start from.
inline void RestoreTestLocale() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// Types an observation into the window the way a user would.
struct Observation {
    QString date;
    int clockKind;  // 0 neither chosen, 1 standard time, 2 daylight-saving time
    QString latitude;
    QString longitude;
    int side;  // 0 neither chosen, 1 west, 2 east
    int zone;  // list index, -1 for none
    QString time;
    QString height;
    QString length;
};

// Replaces the text of a box the way a user would: a click into it, Ctrl+A and the keys.
inline void TypeInto(QLineEdit* box, const QString& text) {
    ClickInto(box);
    PressKey(Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) PressKey(Qt::Key_Delete);
    TypeText(text);
}

inline void Enter(Sundial_Input& window, const Observation& o) {
    TypeInto(window.txtDate, o.date);
    if (o.clockKind == 1) window.optStandardinput->click();
    if (o.clockKind == 2) window.optDstinput->click();
    TypeInto(window.txtLatitude, o.latitude);
    TypeInto(window.txtLongitude, o.longitude);
    if (o.side == 1) window.OptWest->click();
    if (o.side == 2) window.OptEast->click();
    window.lstTimeZone->setCurrentIndex(o.zone);
    TypeInto(window.txtTime, o.time);
    TypeInto(window.txtHeight, o.height);
    TypeInto(window.txtLength, o.length);
}

// The first worked measurement: Long Island, 3 September 2003, 11 AM daylight time.
inline Observation LongIslandMorning() {
    return {"9/3/2003", 2, "40.655", "72.855", 1, 6, "11:00:00 AM", "10", "25"};
}
