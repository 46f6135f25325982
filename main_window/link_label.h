#pragma once

#include <QLabel>

// A label that behaves as a link: it reports a click with the left button, and assistive
// technologies see it as a link that can be pressed.
class LinkLabel : public QLabel {
    Q_OBJECT

  public:
    explicit LinkLabel(QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
