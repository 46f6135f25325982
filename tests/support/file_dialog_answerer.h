#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

// Answers the file dialogs a window opens while a test drives it: records the folder each
// starts in and the name its name box shows, and cancels it, or chooses the file given. Qt's own
// dialog is needed (Qt::AA_DontUseNativeDialogs), since a desktop's dialog is no widget to look
// into.
class FileDialogAnswerer : public QObject {
  public:
    struct Seen {
        QString folder;
        QString name;
    };

    explicit FileDialogAnswerer(const QString& choose = QString()) : choose_(choose) {
        connect(&timer_, &QTimer::timeout, this, &FileDialogAnswerer::poll);
        timer_.start(10);
    }
    const QList<Seen>& seen() const { return seen_; }

  private:
    void poll() {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        const auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        seen_ << Seen{dialog->directory().absolutePath(), nameBox ? nameBox->text() : QString()};
        if (choose_.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(choose_);
            static_cast<QDialog*>(dialog)
                ->accept();  // QFileDialog::accept, as the Save button does
        }
    }

    QString choose_;
    QTimer timer_;
    QList<Seen> seen_;
};
