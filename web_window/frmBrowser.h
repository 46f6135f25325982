#pragma once

#include <QWidget>

class QUrl;
class QWebEngineView;

// The web page window: nothing but one browser control at a fixed size in its top-left
// corner. It reports what it does as short status lines (see main.cpp).
class frmBrowser : public QWidget {
    Q_OBJECT

  public:
    explicit frmBrowser(QWidget* parent = nullptr);

    // Brings the window to the front and sends the browser control to the address.
    void Navigate(const QUrl& address);

    QWebEngineView* WebBrowser1;

  signals:
    void statusLine(const QString& line);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool shownBefore_ = false;
};
