#pragma once

#include <QRadioButton>

// An option button with an access key of its own: Alt and the letter check it from anywhere
// in the window, and its caption shows the letter underlined. text() stays the caption as
// written, without an ampersand, and the key leaves the focus where it is, so that the Tab
// cycle and the box being typed in do not change.
class KeyedRadioButton : public QRadioButton {
    Q_OBJECT

  public:
    using QRadioButton::QRadioButton;

    // `letter` must occur in the caption; its first occurrence is underlined.
    void setAccessKey(QChar letter);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QChar accessKey_;
};
