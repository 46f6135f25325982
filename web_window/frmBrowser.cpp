#include "web_window/frmBrowser.h"

#include <QUrl>
#include <QWebEngineView>

#include "browser/browser_protocol.h"

namespace {

constexpr int kTwipsPerPixel = 15;
// The browser control is designed 12252 x 8892 twips; the window opens just large enough to
// show it whole.
constexpr QSize kBrowserSize((12252 + kTwipsPerPixel / 2) / kTwipsPerPixel,
                             (8892 + kTwipsPerPixel / 2) / kTwipsPerPixel);  // pixels

QString SizeText(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

}  // namespace

frmBrowser::frmBrowser(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QStringLiteral("Browser"));

    // No layout: the control keeps its size whatever happens to the window.
    WebBrowser1 = new QWebEngineView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(QRect(QPoint(0, 0), kBrowserSize));
    WebBrowser1->setFixedSize(kBrowserSize);
    resize(kBrowserSize);

    connect(WebBrowser1, &QWebEngineView::loadFinished, this, [this](bool ok) {
        emit statusLine((QLatin1String(browser_protocol::kLoaded) + QStringLiteral(" %1 %2"))
                            .arg(WebBrowser1->url().toString(QUrl::FullyEncoded),
                                 ok ? QStringLiteral("ok") : QStringLiteral("failed")));
    });
}

void frmBrowser::Navigate(const QUrl& address) {
    // Only this process can bring its own window to the front reliably.
    show();
    raise();
    activateWindow();
    WebBrowser1->load(address);
}

void frmBrowser::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownBefore_) return;
    shownBefore_ = true;
    const QRect view = WebBrowser1->geometry();
    emit statusLine(
        (QLatin1String(browser_protocol::kShown) + QStringLiteral(" %1 %2 %3,%4 %5 window %6"))
            .arg(windowTitle(), WebBrowser1->objectName())
            .arg(view.x())
            .arg(view.y())
            .arg(SizeText(view.size()), SizeText(size())));
}
