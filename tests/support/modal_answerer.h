#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

// Answers the modal message boxes that a window opens while a test drives it: each box that
// appears is recorded (title, text, icon, buttons, default button) and closed with the answer
// the test chose. Works offscreen and under Xvfb alike, since it looks for the box itself.
class ModalAnswerer : public QObject {
  public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QStringList buttons;
        QString defaultButton;
    };

    explicit ModalAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok) : answer_(answer) {
        connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
        timer_.start(10);
    }

    void setAnswer(QMessageBox::StandardButton answer) { answer_ = answer; }
    const QList<Seen>& seen() const { return seen_; }
    QStringList texts() const {
        QStringList all;
        for (const Seen& box : seen_) all << box.text;
        return all;
    }
    void clear() { seen_.clear(); }

  private:
    static QString Caption(QAbstractButton* button) {
        return button->text().remove(QLatin1Char('&'));
    }

    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        Seen seen{box->windowTitle(), box->text(), box->icon(), {}, {}};
        // Some platform themes give the buttons access keys ("&Yes"); the caption is the same.
        for (QAbstractButton* button : box->buttons()) seen.buttons << Caption(button);
        if (box->defaultButton()) seen.defaultButton = Caption(box->defaultButton());
        seen_ << seen;
        QAbstractButton* chosen = box->button(answer_);
        if (!chosen) chosen = box->buttons().value(0);
        chosen->click();
    }

    QTimer timer_;
    QMessageBox::StandardButton answer_;
    QList<Seen> seen_;
};
