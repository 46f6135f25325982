// What a screen reader user meets: every control is named, every text box is labelled, and
// the two links can be pressed as links.

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "main_window/Sundial_Input.h"
#include "main_window/link_label.h"
#include "tests/support/window_driver.h"

class AccessibilityTest : public QObject {
    Q_OBJECT

  private slots:
    void everyInputControlIsNamed() {
        const auto opened = OpenWindow();
        Sundial_Input& window = *opened;
        const QList<QWidget*> inputs = window.findChildren<QWidget*>();
        int checked = 0;
        for (QWidget* control : inputs) {
            const bool input = qobject_cast<QLineEdit*>(control) ||
                               qobject_cast<QComboBox*>(control) ||
                               qobject_cast<QAbstractButton*>(control);
            if (!input || control->parentWidget() == window.lstTimeZone) continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            QVERIFY(accessible);
            QVERIFY2(!accessible->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable(control->objectName()));
            ++checked;
        }
        QCOMPARE(checked, 6 + 1 + 4 + 5);  // text boxes, list, option buttons, commands, Readings
    }

    void everyTextBoxIsLabelledByItsBuddy() {
        const auto opened = OpenWindow();
        Sundial_Input& window = *opened;
        for (QLineEdit* box : window.findChildren<QLineEdit*>()) {
            if (box->parentWidget() == window.lstTimeZone) continue;
            QLabel* label = nullptr;
            for (QLabel* candidate : window.findChildren<QLabel*>()) {
                if (candidate->buddy() == box) label = candidate;
            }
            QVERIFY2(label, qPrintable(box->objectName()));
            QCOMPARE(box->accessibleName(), label->text());
        }
    }

    void linksArePressableLinks() {
        const auto opened = OpenWindow();
        Sundial_Input& window = *opened;
        for (LinkLabel* link : {window.lblbrowser, window.lblBrontile}) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(link);
            QVERIFY(accessible);
            QCOMPARE(accessible->role(), QAccessible::Link);
            QCOMPARE(accessible->text(QAccessible::Name), link->text());
            QAccessibleActionInterface* actions = accessible->actionInterface();
            QVERIFY(actions);
            QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
            QSignalSpy clicked(link, &LinkLabel::clicked);
            // Pressing is checked without opening a browser: the link only reports the press.
            QObject::disconnect(link, &LinkLabel::clicked, &window, nullptr);
            actions->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(clicked.count(), 1);
        }
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
