#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

// Reads addresses from the standard input, one a line, as they arrive, without blocking the
// event loop.
class AddressReader : public QObject {
    Q_OBJECT

  public:
    explicit AddressReader(QObject* parent = nullptr);

  signals:
    void addressArrived(const QString& address);
    // The other end closed the input, or it cannot be read.
    void inputEnded();

  private:
    void readAvailable();

    QSocketNotifier* notifier_;
    QByteArray pending_;  // the start of a line whose end has not arrived yet
};
