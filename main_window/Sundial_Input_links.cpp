#include <QUrl>

#include "main_window/Sundial_Input.h"
#include "main_window/browser_link.h"

namespace {

// Home pages of the atomic-clock time service and of the maker.
const QString kTimeServiceAddress = QStringLiteral("https://time.gov/");
const QString kMakerSiteAddress = QStringLiteral("https://www.brontile.com/");

// The web page window's link, made when a link is first clicked.
BrowserLink* Link(BrowserLink*& link, Sundial_Input* window) {
    if (link == nullptr) link = new BrowserLink(window);
    return link;
}

}  // namespace

void Sundial_Input::lblbrowser_Click() {
    Link(browserLink_, this)->Navigate(QUrl(kTimeServiceAddress));
}

void Sundial_Input::lblBrontile_Click() {
    Link(browserLink_, this)->Navigate(QUrl(kMakerSiteAddress));
}

void Sundial_Input::closeBrowser() {
    if (browserLink_ != nullptr) browserLink_->Close();
}
