#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

// Keys as a keyboard sends them: to whatever widget has the focus, never to one the test
// picks. Right after a modal box the window that should come back may take a moment to be
// active again, as it does for a user; each function returns false, with a warning, when
// after a second still no widget has the focus.

inline QWidget* FocusWidget() {
    if (!QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 1000)) {
        qWarning("no widget has the focus");
    }
    return QApplication::focusWidget();
}

inline bool PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = FocusWidget();
    if (focus != nullptr) QTest::keyClick(focus, key, modifiers);
    return focus != nullptr;
}

// Key presses for each character; those beyond Latin-1, which no key of QtTest's names, come
// as the text an input method would send.
inline bool TypeText(const QString& text) {
    for (const QChar c : text) {
        QWidget* focus = FocusWidget();
        if (focus == nullptr) return false;
        if (c.unicode() < 0x100) {
            QTest::keyClicks(focus, QString(c));
        } else {
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    return true;
}

// Waits until `window` itself is the active window. QTest::qWaitForWindowActive would also
// take a window whose transient parent or child is active for active.
inline bool WaitUntilActive(QWidget* window) {
    if (QTest::qWaitFor([window] { return QApplication::activeWindow() == window; })) {
        return true;
    }
    qWarning("%s did not become active", qPrintable(window->objectName()));
    return false;
}

// A click into a box makes its window active and gives the box the focus, as a user would
// before typing.
inline void ClickInto(QWidget* box) {
    QWidget* window = box->window();
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        WaitUntilActive(window);
    }
    QTest::mouseClick(box, Qt::LeftButton);
}
