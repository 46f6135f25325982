#pragma once

#include <QWidget>

#include <functional>

class QPainter;

// Device pixels per screen pixel: 1 on the screen, a printer's or a PDF's resolution over 96 dots
// an inch; painters scale their pens by it.
double PixelScale(const QPainter& painter);

// A widget that shows a picture drawn by a painting function, on a white ground; the
// readings window's plan view and day plot.
class PictureWidget : public QWidget {
    Q_OBJECT

  public:
    using Paint = std::function<void(QPainter&, const QRectF&)>;

    PictureWidget(const QString& objectName, const QString& accessibleName, QSize hint,
                  QWidget* parent = nullptr);

    void setPaint(Paint paint);
    QSize sizeHint() const override { return hint_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Paint paint_;
    QSize hint_;
};
