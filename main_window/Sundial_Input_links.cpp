// The two links and the web page window they open.

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "browser/browser_link.h"
#include "browser/browser_protocol.h"
#include "main_window/Sundial_Input.h"
#include "main_window/window_texts.h"
#include "product/product.h"

namespace {

// Tells the user that the web page window cannot open and offers the desktop's own browser.
void OfferDesktopBrowser(QWidget* window, const QUrl& address) {
    QMessageBox box(QMessageBox::NoIcon, window_texts::kCaption,
                    QStringLiteral("The web page window could not be opened: %1 is not "
                                   "installed or cannot run.\n\nOpen %2 in your default web "
                                   "browser instead?")
                        .arg(QLatin1String(browser_protocol::kProgramName), address.toString()),
                    QMessageBox::Yes | QMessageBox::No, window);
    box.setDefaultButton(QMessageBox::Yes);
    if (box.exec() == QMessageBox::Yes) QDesktopServices::openUrl(address);
}

}  // namespace

void Sundial_Input::lblbrowser_Click() {
    browserLink()->Navigate(QUrl(QLatin1String(product::kTimeService)));
}

void Sundial_Input::lblBrontile_Click() {
    browserLink()->Navigate(QUrl(QLatin1String(product::kMakerSite)));
}

BrowserLink* Sundial_Input::browserLink() {
    // Made when a link is first clicked.
    if (browserLink_ == nullptr) {
        browserLink_ = new BrowserLink(this);
        connect(browserLink_, &BrowserLink::cannotStart, this,
                [this](const QUrl& address) { OfferDesktopBrowser(this, address); });
    }
    return browserLink_;
}

void Sundial_Input::closeBrowser() {
    if (browserLink_ != nullptr) browserLink_->Close();
}
