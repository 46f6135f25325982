// The web page window as a process of its own, driven by the main window's two links.
// Needs the built kestramo-browser; there is no network, so https pages end in the engine's
// error page, which is enough to see which address the window was sent to.

#include <signal.h>
#include <sys/types.h>

#include <algorithm>

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "browser/browser_link.h"
#include "main_window/Sundial_Input.h"
#include "main_window/link_label.h"
#include "tests/support/window_driver.h"

namespace {

constexpr int kBrowserTimeout = 20000;  // milliseconds for a browser to come up or load
const QString kTimeService = QStringLiteral("https://time.gov/");
const QString kMakerSite = QStringLiteral("https://www.brontile.com/");

// The status lines of the browser that a main window started.
struct BrowserReports {
    QStringList lines;

    void follow(BrowserLink* link) {
        QObject::connect(link, &BrowserLink::reported,
                         [this](const QString& line) { lines.append(line); });
    }
    int count(const QString& prefix) const {
        return int(std::count_if(lines.begin(), lines.end(),
                                 [&](const QString& line) { return line.startsWith(prefix); }));
    }
    bool loaded(const QString& address) const {
        return count(QStringLiteral("loaded ") + address + QLatin1Char(' ')) > 0;
    }
};

// Clicks a link of the window and returns the window's browser link, with its reports.
BrowserLink* Click(Sundial_Input& window, LinkLabel* label, BrowserReports& reports) {
    const bool followed = window.findChild<BrowserLink*>() != nullptr;
    QTest::mouseClick(label, Qt::LeftButton);
    auto* link = window.findChild<BrowserLink*>();
    if (link && !followed) reports.follow(link);
    return link;
}

bool ProcessExists(qint64 pid) { return ::kill(pid_t(pid), 0) == 0; }

// A main window whose link has been clicked once, with the browser's reports followed.
struct WindowWithBrowser {
    explicit WindowWithBrowser(LinkLabel* Sundial_Input::*link) {
        browser = Click(window, window.*link, reports);
    }
    // Waits until the browser has shown its window `times` times in all.
    bool shown(int times = 1) {
        return QTest::qWaitFor([&] { return reports.count(QStringLiteral("shown ")) == times; },
                               kBrowserTimeout);
    }

    std::unique_ptr<Sundial_Input> opened = OpenWindow();
    Sundial_Input& window = *opened;
    BrowserReports reports;
    BrowserLink* browser = nullptr;
};

}  // namespace

class BrowserTest : public QObject {
    Q_OBJECT

  public slots:
    void openInDesktopBrowser(const QUrl& address) { desktopOpened_.append(address); }

  private slots:
    void initTestCase();
    void cleanup();

    void linkShowsItsAddressInOneWindow_data();
    void linkShowsItsAddressInOneWindow();
    void secondLinkReusesTheWindow();
    void closedBrowserStartsAnewOnNextClick();
    void quitEndsBrowserWithMainWindow();
    void clickWhileBrowserEndsOpensThePage();
    void closeBoxLeavesBrowserOpenAndProgramRunning();
    void methodViewHidesLinksButKeepsBrowser();
    void browserThatCannotStartOffersDesktopBrowser_data();
    void browserThatCannotStartOffersDesktopBrowser();
    void browserRendersLocalPageAndEndsWithInput();

  private:
    QTemporaryDir runtime_;
    QList<QUrl> desktopOpened_;
};

void BrowserTest::initTestCase() {
#ifndef KESTRAMO_BROWSER_PATH
    QSKIP("kestramo-browser is not built (no Qt WebEngine)");
#else
    qputenv("KESTRAMO_BROWSER", KESTRAMO_BROWSER_PATH);
#endif
    qputenv("QT_LOGGING_RULES", "qt.webenginecontext.info=false");
    // A runtime directory of our own, private as the engine wants it.
    QVERIFY(runtime_.isValid());
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
}

void BrowserTest::cleanup() {
#ifdef KESTRAMO_BROWSER_PATH
    qputenv("KESTRAMO_BROWSER", KESTRAMO_BROWSER_PATH);
#endif
    desktopOpened_.clear();
}

void BrowserTest::linkShowsItsAddressInOneWindow_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("address");
    QTest::newRow("time service") << "lblbrowser" << kTimeService;
    QTest::newRow("maker's site") << "lblBrontile" << kMakerSite;
}

void BrowserTest::linkShowsItsAddressInOneWindow() {
    QFETCH(QString, link);
    QFETCH(QString, address);
    const auto opened = OpenWindow();
    Sundial_Input& window = *opened;
    BrowserReports reports;
    BrowserLink* browser = Click(window, window.findChild<LinkLabel*>(link), reports);
    QVERIFY(browser && browser->isRunning());

    QTRY_VERIFY_WITH_TIMEOUT(reports.loaded(address), kBrowserTimeout);
    QCOMPARE(reports.count(QStringLiteral("shown ")), 1);
    // Caption, control, its place and fixed size, and a window that shows it whole.
    static const QRegularExpression shown(
        QStringLiteral(R"(^shown Browser WebBrowser1 0,0 817x593 window (\d+)x(\d+)$)"));
    const QStringList shownLines = reports.lines.filter(QStringLiteral("shown "));
    const QRegularExpressionMatch match = shown.match(shownLines.value(0));
    QVERIFY2(match.hasMatch(), qPrintable(shownLines.value(0)));
    QVERIFY(match.captured(1).toInt() >= 817 && match.captured(2).toInt() >= 593);
}

void BrowserTest::secondLinkReusesTheWindow() {
    const auto opened = OpenWindow();
    Sundial_Input& window = *opened;
    BrowserReports reports;
    BrowserLink* browser = Click(window, window.lblbrowser, reports);
    QTRY_VERIFY_WITH_TIMEOUT(reports.loaded(kTimeService), kBrowserTimeout);
    const qint64 firstProcess = browser->processId();

    QCOMPARE(Click(window, window.lblBrontile, reports), browser);
    QTRY_VERIFY_WITH_TIMEOUT(reports.loaded(kMakerSite), kBrowserTimeout);
    QCOMPARE(browser->processId(), firstProcess);
    QCOMPARE(reports.count(QStringLiteral("shown ")), 1);
}

void BrowserTest::closedBrowserStartsAnewOnNextClick() {
    WindowWithBrowser opened(&Sundial_Input::lblbrowser);
    Sundial_Input& window = opened.window;
    BrowserLink* browser = opened.browser;
    QVERIFY(opened.shown());
    const qint64 firstProcess = browser->processId();
    BrowserReports& reports = opened.reports;

    // The browser program ends when its window closes; from here that is the same as this.
    // (Not SIGTERM: the web engine may hold it while it starts up.)
    ::kill(pid_t(firstProcess), SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(!browser->isRunning(), kBrowserTimeout);

    Click(window, window.lblBrontile, reports);
    QVERIFY(browser->isRunning());
    QVERIFY(browser->processId() != firstProcess);
    QTRY_VERIFY_WITH_TIMEOUT(reports.loaded(kMakerSite), kBrowserTimeout);
    QCOMPARE(reports.count(QStringLiteral("shown ")), 2);
    QVERIFY(!QApplication::activeModalWidget());
}

void BrowserTest::quitEndsBrowserWithMainWindow() {
    WindowWithBrowser opened(&Sundial_Input::lblbrowser);
    Sundial_Input& window = opened.window;
    BrowserLink* browser = opened.browser;
    QVERIFY(opened.shown());
    const qint64 pid = browser->processId();

    // Quit returns at once; the browser ends on its own a moment later.
    QElapsedTimer clock;
    clock.start();
    window.CmdQuit->click();
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!window.isVisible());
    QVERIFY(!browser->isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!ProcessExists(pid), kBrowserTimeout);
}

void BrowserTest::clickWhileBrowserEndsOpensThePage() {
    WindowWithBrowser opened(&Sundial_Input::lblbrowser);
    Sundial_Input& window = opened.window;
    BrowserLink* browser = opened.browser;
    QVERIFY(opened.shown());
    QTRY_VERIFY_WITH_TIMEOUT(opened.reports.loaded(kTimeService), kBrowserTimeout);
    const qint64 firstProcess = browser->processId();

    // The user closes the web page window and, before its program has gone, clicks a link.
    ::kill(pid_t(firstProcess), SIGSTOP);
    Click(window, window.lblBrontile, opened.reports);
    ::kill(pid_t(firstProcess), SIGKILL);

    QTRY_VERIFY_WITH_TIMEOUT(opened.reports.loaded(kMakerSite), kBrowserTimeout);
    QVERIFY(browser->isRunning());
    QVERIFY(browser->processId() != firstProcess);
    QCOMPARE(opened.reports.count(QStringLiteral("shown ")), 2);
}

void BrowserTest::closeBoxLeavesBrowserOpenAndProgramRunning() {
    WindowWithBrowser opened(&Sundial_Input::lblbrowser);
    Sundial_Input& window = opened.window;
    BrowserLink* browser = opened.browser;
    QVERIFY(opened.shown());
    const qint64 pid = browser->processId();

    // Inside the program's own event loop: the main window closes by its close box, the
    // program must go on while the browser is open, and end once it has gone.
    bool runningWithoutMainWindow = false;
    QTimer::singleShot(0, &window, [&] { window.close(); });
    QTimer::singleShot(800, &window, [&] {
        runningWithoutMainWindow = !window.isVisible() && browser->isRunning();
        ::kill(pid_t(pid), SIGKILL);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    watchdog.start(kBrowserTimeout);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(runningWithoutMainWindow);
    QVERIFY(!browser->isRunning());
}

void BrowserTest::methodViewHidesLinksButKeepsBrowser() {
    WindowWithBrowser opened(&Sundial_Input::lblBrontile);
    Sundial_Input& window = opened.window;
    BrowserLink* browser = opened.browser;
    QVERIFY(opened.shown());

    window.cmdMethod->click();
    QVERIFY(!window.lblbrowser->isVisible());
    QVERIFY(!window.lblBrontile->isVisible());
    QTest::qWait(200);
    QVERIFY(browser->isRunning());
}

void BrowserTest::browserThatCannotStartOffersDesktopBrowser_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QList<QUrl>>("openedInDesktop");
    QTest::newRow("not installed, accepted")
        << "/nonexistent/kestramo-browser" << int(QMessageBox::Yes)
        << QList<QUrl>{QUrl(kTimeService)};
    QTest::newRow("ends before its window shows, declined")
        << "/bin/false" << int(QMessageBox::No) << QList<QUrl>{};
}

void BrowserTest::browserThatCannotStartOffersDesktopBrowser() {
    QFETCH(QString, program);
    QFETCH(int, answer);
    QFETCH(QList<QUrl>, openedInDesktop);
    qputenv("KESTRAMO_BROWSER", program.toLocal8Bit());
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openInDesktopBrowser");
    auto restoreHandler =
        qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); });

    const auto opened = OpenWindow();
    Sundial_Input& window = *opened;
    QString title, text;
    QTimer answering;
    connect(&answering, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        title = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::StandardButton(answer))->click();
    });
    answering.start(20);
    BrowserReports reports;
    BrowserLink* browser = Click(window, window.lblbrowser, reports);

    QTRY_VERIFY_WITH_TIMEOUT(!title.isEmpty(), kBrowserTimeout);
    QCOMPARE(title, QStringLiteral("Kestramo"));
    QVERIFY2(text.contains(QLatin1String("kestramo-browser")) && text.contains(kTimeService),
             qPrintable(text));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(desktopOpened_, openedInDesktop);
    QVERIFY(!browser->isRunning());
}

void BrowserTest::browserRendersLocalPageAndEndsWithInput() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile page(folder.filePath(QStringLiteral("page.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><body style='background:#cfe'><h1>Local page</h1></body></html>");
    page.close();
    const QUrl address = QUrl::fromLocalFile(page.fileName());

    QProcess browser;
    browser.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    browser.start(qEnvironmentVariable("KESTRAMO_BROWSER"), {});
    QVERIFY(browser.waitForStarted());
    browser.write(address.toEncoded() + '\n');
    QStringList lines;
    const QString loaded = QStringLiteral("loaded ") + address.toString(QUrl::FullyEncoded);
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            while (browser.canReadLine()) lines.append(browser.readLine().trimmed());
            return lines.filter(loaded).size() == 1;
        }(),
        kBrowserTimeout);
    QCOMPARE(lines.filter(loaded).value(0), loaded + QStringLiteral(" ok"));

    browser.closeWriteChannel();
    QVERIFY(browser.waitForFinished(kBrowserTimeout));
    QCOMPARE(browser.exitStatus(), QProcess::NormalExit);
    QCOMPARE(browser.exitCode(), 0);
}

QTEST_MAIN(BrowserTest)
#include "browser_test.moc"
