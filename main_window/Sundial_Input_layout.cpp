// The main window's controls: where they sit, how they look, and the keyboard's path
// through them. Positions and sizes are designed in twips, 15 to a pixel at 96 dpi; Qt scales
// the pixels on high-density screens.

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "main_window/Sundial_Input.h"
#include "main_window/keyed_radio_button.h"
#include "main_window/link_label.h"
#include "main_window/pictures.h"
#include "main_window/window_texts.h"
#include "main_window/wrapping_button.h"
#include "text/date_order.h"

namespace {

constexpr int kTwipsPerPixel = 15;
// Content area that shows every control whole: the heading reaches 12,075 twips to the right
// and the method picture 8,340 twips down.
constexpr QSize kContentSize(816, 568);

QRect Twips(int left, int top, int width, int height) {
    auto px = [](int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; };
    return QRect(px(left), px(top), px(width), px(height));
}

QFont Font(const QString& family, qreal points, bool underline = false, bool bold = false) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setUnderline(underline);
    font.setBold(bold);
    return font;
}

QFont Arial(qreal points, bool underline = false) {
    return Font(QStringLiteral("Arial"), points, underline);
}

// Creates a control with its object name, container, text and place.
template <typename Control>
Control* Make(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    if constexpr (requires { control->setText(text); }) {
        if (!text.isNull()) control->setText(text);
    }
    control->setGeometry(place);
    return control;
}

void SetForeground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

}  // namespace

void Sundial_Input::createControls() {
    setObjectName(QStringLiteral("Sundial_Input"));
    setWindowTitle(window_texts::kCaption);
    setWindowIcon(QIcon(LoadPicture(QStringLiteral(":/icons/kestramo.png"), "png")));
    setFont(Arial(8.25));
    setSizeGripEnabled(false);

    // Controls directly on the window, in the order they were designed.
    cmdMethod = Make<WrappingButton>(this, "cmdMethod", QStringLiteral("Show Measuring Method"),
                                     Twips(360, 1080, 1215, 735));
    cmdPrint =
        Make<QPushButton>(this, "cmdPrint", QStringLiteral("&Print"), Twips(7440, 7680, 852, 372));
    CmdCalculate = Make<QPushButton>(this, "CmdCalculate", QStringLiteral("Calculate"),
                                     Twips(4440, 7680, 2052, 372));
    CmdQuit =
        Make<QPushButton>(this, "CmdQuit", QStringLiteral("&Quit"), Twips(2760, 7680, 852, 372));
    // Added beside Print, in the data-entry view's free space.
    cmdReadings = Make<QPushButton>(this, "cmdReadings", QStringLiteral("&Readings..."),
                                    Twips(9000, 7680, 1500, 372));
    Frame1 = Make<QFrame>(this, "Frame1", QString(), Twips(240, 5280, 11172, 2295));
    Frame1->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    lblTitle = Make<QLabel>(this, "lblTitle", QStringLiteral("Kestramo Calculator"),
                            Twips(105, 0, 11970, 825));
    lblbrowser = Make<LinkLabel>(
        this, "lblbrowser",
        QStringLiteral("Click here to set your watch to atomic standard via internet"),
        Twips(240, 4920, 4080, 195));
    lblText =
        Make<QLabel>(this, "lblText", QStringLiteral("LblText"), Twips(225, 2400, 11370, 240));
    lblSubscript = Make<QLabel>(this, "lblSubscript", QStringLiteral("\u00a9 2003 Brontile LLC"),
                                Twips(240, 7800, 1800, 255));
    Image2 = Make<QLabel>(this, "Image2", QString(), Twips(3048, 840, 6108, 972));
    lblBrontile = Make<LinkLabel>(this, "lblBrontile", window_texts::kMakerAddress,
                                  Twips(4416, 1800, 3372, 492));
    imgMethod = Make<QLabel>(this, "imgMethod", QString(), Twips(5880, 840, 5805, 7500));
    lblMethod = Make<QLabel>(this, "lblMethod", QStringLiteral("             LblMethod"),
                             Twips(240, 2400, 5295, 5175));

    // Inside Frame1, from top to bottom.
    txtDate = Make<QLineEdit>(Frame1, "txtDate", QString(), Twips(240, 240, 972, 288));
    // The caption asks for a numeric date in the order the date box reads it.
    lblDate = Make<QLabel>(Frame1, "lblDate",
                           QStringLiteral("Date(%1)").arg(text_conversions::NumericDatePattern()),
                           Twips(1320, 240, 1692, 372));
    Frame2 = Make<QFrame>(Frame1, "Frame2", QString(), Twips(2760, 120, 3135, 612));
    lstTimeZone = Make<QComboBox>(Frame1, "lstTimeZone", QString(), Twips(6240, 240, 4215, 315));
    lblLatitude = Make<QLabel>(Frame1, "lblLatitude", QStringLiteral("Latitude (decimal)"),
                               Twips(240, 720, 1515, 255));
    lblLongitude = Make<QLabel>(Frame1, "lblLongitude", QStringLiteral("Longitude (decimal)"),
                                Twips(1800, 720, 1455, 255));
    lblResult = Make<QLabel>(Frame1, "lblResult", QString(""), Twips(6000, 720, 5055, 1335));
    OptWest =
        Make<KeyedRadioButton>(Frame1, "OptWest", QStringLiteral("West of Greenwich (e.g. USA)"),
                               Twips(3240, 840, 2412, 312));
    txtLatitude = Make<QLineEdit>(Frame1, "txtLatitude", QString(), Twips(240, 960, 972, 288));
    txtLongitude = Make<QLineEdit>(Frame1, "txtLongitude", QString(), Twips(1800, 960, 972, 288));
    OptEast =
        Make<KeyedRadioButton>(Frame1, "OptEast", QStringLiteral("East of Greenwich (e.g. USSR)"),
                               Twips(3240, 1080, 2532, 312));
    lblNorthsouth = Make<QLabel>(Frame1, "lblNorthsouth", QStringLiteral("(North +, South -)"),
                                 Twips(240, 1320, 1455, 255));
    lblHeight = Make<QLabel>(Frame1, "lblHeight", QStringLiteral("Height of square"),
                             Twips(240, 1560, 1335, 255));
    lblLength = Make<QLabel>(Frame1, "lblLength", QStringLiteral("Length of shadow"),
                             Twips(1800, 1560, 1335, 255));
    lblTime = Make<QLabel>(Frame1, "lblTime", QStringLiteral("Time (H:M:S AM/PM)"),
                           Twips(3240, 1560, 1695, 255));
    txtHeight = Make<QLineEdit>(Frame1, "txtHeight", QString(), Twips(240, 1800, 1095, 315));
    txtLength = Make<QLineEdit>(Frame1, "txtLength", QString(), Twips(1800, 1800, 975, 315));
    txtTime = Make<QLineEdit>(Frame1, "txtTime", QString(), Twips(3240, 1800, 1695, 315));

    // Inside Frame2.
    optStandardinput = Make<KeyedRadioButton>(Frame2, "optStandardinput",
                                              QStringLiteral("Standard Time (October to April)"),
                                              Twips(0, 0, 3132, 252));
    optDstinput = Make<KeyedRadioButton>(Frame2, "optDstinput",
                                         QStringLiteral("Daylight Savings (April to October)"),
                                         Twips(0, 240, 3132, 252));

    // Each pair is a group of its own: Qt's automatic exclusivity would reach from Frame1 into
    // Frame2 and let one pair clear the other.
    hemisphereGroup_ = new QButtonGroup(this);
    hemisphereGroup_->addButton(OptWest);
    hemisphereGroup_->addButton(OptEast);
    clockKindGroup_ = new QButtonGroup(this);
    clockKindGroup_->addButton(optStandardinput);
    clockKindGroup_->addButton(optDstinput);
    // Access keys for the options, which stay out of the Tab cycle; P and Q are Print's and
    // Quit's.
    const std::pair<QRadioButton*, QChar> keyed[] = {
        {optStandardinput, u'S'}, {optDstinput, u'D'}, {OptWest, u'W'}, {OptEast, u'E'}};
    for (const auto& [option, letter] : keyed) {
        static_cast<KeyedRadioButton*>(option)->setAccessKey(letter);
    }

    // Each text box is named by its label, for screen readers as for the label's buddy link.
    const std::pair<QLabel*, QLineEdit*> labelled[] = {
        {lblDate, txtDate},     {lblLatitude, txtLatitude}, {lblLongitude, txtLongitude},
        {lblHeight, txtHeight}, {lblLength, txtLength},     {lblTime, txtTime}};
    for (const auto& [label, box] : labelled) {
        label->setBuddy(box);
        box->setAccessibleName(label->text());
    }
    lstTimeZone->setAccessibleName(QStringLiteral("Time zone"));
    lblResult->setAccessibleName(QStringLiteral("Result"));
    Image2->setAccessibleName(QStringLiteral("Brontile LLC"));
    imgMethod->setAccessibleName(
        QStringLiteral("A carpenter's square held straight out from a sunlit wall"));
    cmdReadings->setAccessibleName(QStringLiteral("Readings"));
    cmdReadings->setAccessibleDescription(
        QStringLiteral("Opens the list of this session's readings and their combined answer "
                       "(Alt+R)"));
    cmdReadings->setToolTip(QStringLiteral("All readings of this session combined (Alt+R)"));

    connect(CmdCalculate, &QPushButton::clicked, this, &Sundial_Input::CmdCalculate_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &Sundial_Input::cmdPrint_Click);
    connect(cmdMethod, &QPushButton::clicked, this, &Sundial_Input::cmdMethod_Click);
    connect(CmdQuit, &QPushButton::clicked, this, &Sundial_Input::CmdQuit_Click);
    connect(lblbrowser, &LinkLabel::clicked, this, &Sundial_Input::lblbrowser_Click);
    connect(lblBrontile, &LinkLabel::clicked, this, &Sundial_Input::lblBrontile_Click);
    connect(cmdReadings, &QPushButton::clicked, this, &Sundial_Input::cmdReadings_Click);
}

void Sundial_Input::placeControls() {
    const QFont small = Arial(7.5);
    for (QWidget* control : std::initializer_list<QWidget*>{
             cmdPrint, CmdCalculate, CmdQuit, lblSubscript, txtDate, lblDate, lstTimeZone,
             lblLatitude, lblLongitude, OptWest, txtLatitude, txtLongitude, OptEast,
             optStandardinput, optDstinput}) {
        control->setFont(small);
    }
    Frame1->setFont(Font(QStringLiteral("MS Sans Serif"), 8.25));
    // These six have no font of their own and show in the window's.
    for (QWidget* control : std::initializer_list<QWidget*>{lblHeight, lblLength, lblTime,
                                                            txtHeight, txtLength, txtTime}) {
        control->setFont(font());
    }
    lblNorthsouth->setFont(Arial(6.75));
    lblResult->setFont(Arial(9.75));
    lblResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblResult->setWordWrap(true);
    lblText->setFont(Arial(10.5));
    lblMethod->setFont(Arial(11.25));
    lblMethod->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMethod->setWordWrap(true);
    lblDate->setWordWrap(true);
    lblDate->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblLatitude->setWordWrap(true);

    // The heading keeps its width and takes the height its text needs.
    lblTitle->setFont(Font(QStringLiteral("Times New Roman"), 36, true));
    lblTitle->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblTitle->setWordWrap(true);
    SetForeground(lblTitle, QColor(192, 64, 0));
    lblTitle->setFixedHeight(lblTitle->heightForWidth(lblTitle->width()));

    // The instructions keep their width and grow downward to hold the whole text. They and the
    // maker's address are left transparent over the window, which reads better than the light
    // grey boxes they were once drawn in, now that the window itself is light grey.
    lblText->setWordWrap(true);
    lblText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetForeground(lblText, Qt::black);

    // The hot spot is the tip of the raised finger (resources/cursors/hand.hotspot).
    const QCursor hand(LoadPicture(QStringLiteral(":/cursors/hand.png"), "png"), 8, 0);
    lblbrowser->setFont(Arial(7.5, true));
    lblbrowser->adjustSize();  // one line, as long as its text
    lblBrontile->setFont(Font(QStringLiteral("Times New Roman"), 13.5, true, true));
    for (LinkLabel* link : {lblbrowser, lblBrontile}) {
        SetForeground(link, QColor(0, 0, 192));
        link->setCursor(hand);
    }

    Image2->setPixmap(LoadPicture(QStringLiteral(":/images/banner.gif"), "gif"));
    Image2->setScaledContents(true);
    // The photograph is loaded when the method view first opens: most runs never show it, and
    // leaving it out spares start-up the JPEG decoder.
    imgMethod->hide();
    lblMethod->hide();

    lstTimeZone->setEditable(true);
    lstTimeZone->setInsertPolicy(QComboBox::NoInsert);
    lstTimeZone->setMaxVisibleItems(24);
    lstTimeZone->view()->setMinimumWidth(lstTimeZone->width());
    // Typing into the list's box chooses the entry whose text it is, and no entry otherwise,
    // so that a zone the box no longer shows is never the one used.
    connect(lstTimeZone->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        const int entry = lstTimeZone->findText(text, Qt::MatchExactly);
        if (entry == lstTimeZone->currentIndex()) return;
        QLineEdit* box = lstTimeZone->lineEdit();
        const int cursor = box->cursorPosition();
        lstTimeZone->setCurrentIndex(entry);
        box->setText(text);
        box->setCursorPosition(cursor);
    });

    Frame2->setFrameShape(QFrame::NoFrame);

    CmdCalculate->setDefault(true);
    resize(kContentSize);
    setMinimumSize(kContentSize);
}

void Sundial_Input::setTabOrder() {
    // Option buttons and labels take no part in the Tab cycle, nor does Readings: its Alt key
    // reaches it.
    for (QRadioButton* option : {OptWest, OptEast, optStandardinput, optDstinput}) {
        option->setFocusPolicy(Qt::ClickFocus);
    }
    cmdReadings->setFocusPolicy(Qt::NoFocus);
    cmdReadings->setAutoDefault(false);
    QWidget* const order[] = {txtDate,      lstTimeZone, txtLatitude, txtLongitude,
                              CmdCalculate, CmdQuit,     cmdPrint,    txtHeight,
                              txtLength,    txtTime,     cmdMethod};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(order[i], order[i + 1]);
    }
}
