#pragma once

#include <QPushButton>

// A command button whose caption wraps onto several lines when it is wider than the button,
// as a tall, narrow button's caption should. text() keeps the caption as set.
class WrappingButton : public QPushButton {
    Q_OBJECT

  public:
    using QPushButton::QPushButton;

  protected:
    void paintEvent(QPaintEvent* event) override;
};
