#include "readings_window/dial_panel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "readings/angle_text.h"
#include "readings/wall_conventions.h"
#include "readings_window/copyable_fields.h"
#include "readings_window/dial_face_painter.h"
#include "readings_window/picture_widgets.h"
#include "readings_window/template_box.h"

namespace kd = kestramo::dial;

namespace {

enum Column { Time, HourAngle, LineAngle, TimeError, Columns };

// The selected cells as a spreadsheet takes them: tabs between columns, a line a row, each a
// plain number.
QString SelectedText(const QTableWidget& table) {
    QList<QTableWidgetItem*> items = table.selectedItems();
    std::sort(items.begin(), items.end(), [](const QTableWidgetItem* a, const QTableWidgetItem* b) {
        return a->row() != b->row() ? a->row() < b->row() : a->column() < b->column();
    });
    QString text;
    int row = -1;
    for (const QTableWidgetItem* item : items) {
        if (row >= 0) text += item->row() == row ? QLatin1Char('\t') : QLatin1Char('\n');
        row = item->row();
        text += PlainNumber(item->text());
    }
    return text;
}

QString Minutes(double minutes) {
    return QStringLiteral("\u00b1") + QLocale().toString(minutes, 'f', minutes < 9.95 ? 1 : 0);
}

}  // namespace

DialPanel::DialPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("dialPanel"));
    howGoodLabel = new QLabel(this);
    howGoodLabel->setObjectName(QStringLiteral("howGoodLabel"));
    howGoodLabel->setWordWrap(true);
    howGoodLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont strong = howGoodLabel->font();
    strong.setBold(true);
    howGoodLabel->setFont(strong);
    quantities = new CopyableFields(QStringLiteral("dialQuantity"), this);
    quantities->setObjectName(QStringLiteral("dialQuantities"));
    anglesLabel = new QLabel(this);
    anglesLabel->setObjectName(QStringLiteral("anglesLabel"));
    anglesLabel->setWordWrap(true);

    hourLinesTable = new QTableWidget(0, Columns, this);
    hourLinesTable->setObjectName(QStringLiteral("hourLinesTable"));
    hourLinesTable->setAccessibleName(tr("Hour lines of the dial"));
    hourLinesTable->setHorizontalHeaderLabels(
        {tr("Time"), tr("Hour angle"), tr("Line at"), tr("\u00b1 minutes")});
    hourLinesTable->horizontalHeaderItem(Time)->setToolTip(
        tr("Local apparent time, which the dial shows: 12:00 when the sun crosses the meridian."));
    hourLinesTable->horizontalHeaderItem(LineAngle)->setToolTip(
        tr("The hour line's angle on the face from the line straight down it, "
           "positive to the right as you face the wall."));
    hourLinesTable->horizontalHeaderItem(TimeError)->setToolTip(
        tr("One standard deviation of the time a dial laid out for the fitted wall "
           "would show wrong, from the uncertainty of the wall's declination and "
           "lean."));
    hourLinesTable->verticalHeader()->hide();
    hourLinesTable->verticalHeader()->setDefaultSectionSize(hourLinesTable->fontMetrics().height() *
                                                            3 / 2);
    hourLinesTable->horizontalHeader()->setStretchLastSection(true);
    hourLinesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the next control; the arrows move between its cells.
    hourLinesTable->setTabKeyNavigation(false);
    hourLinesTable->setWordWrap(false);
    auto* copy = new QAction(tr("Copy"), hourLinesTable);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this,
            [this] { QApplication::clipboard()->setText(SelectedText(*hourLinesTable)); });
    hourLinesTable->addAction(copy);
    hourLinesTable->setContextMenuPolicy(Qt::ActionsContextMenu);

    dialFace = new PictureWidget(QStringLiteral("dialFace"), tr("Drawing of the dial's face"),
                                 QSize(260, 300), this);

    auto* words = new QVBoxLayout;
    words->addWidget(howGoodLabel);
    words->addWidget(quantities);
    words->addWidget(anglesLabel);
    // The hour lines and the template share the room below the words: the window keeps its
    // size, and the picture beside them follows the page in sight.
    templateBox = new TemplateBox(this);
    auto* templateScroll = new QScrollArea(this);
    templateScroll->setObjectName(QStringLiteral("templateScroll"));
    templateScroll->setWidget(templateBox);
    templateScroll->setWidgetResizable(true);
    templateScroll->setFrameShape(QFrame::NoFrame);
    templateScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The hour lines' table alone sizes the page: the template scrolls within it.
    templateScroll->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    // A control reached by its access key or by Tab is scrolled into sight.
    connect(qApp, &QApplication::focusChanged, this,
            [this, templateScroll](QWidget*, QWidget* now) {
                if (now && templateBox->isAncestorOf(now)) templateScroll->ensureWidgetVisible(now);
            });
    dialPages = new QTabWidget(this);
    dialPages->setObjectName(QStringLiteral("dialPages"));
    dialPages->setAccessibleName(tr("Hour lines and the full-size template"));
    dialPages->addTab(hourLinesTable, tr("Hour lines"));
    dialPages->addTab(templateScroll, tr("&Full-size template"));
    words->addWidget(dialPages, 1);
    pictures = new QStackedWidget(this);
    pictures->addWidget(dialFace);
    pictures->addWidget(templateBox->preview);
    connect(dialPages, &QTabWidget::currentChanged, pictures, &QStackedWidget::setCurrentIndex);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(words, 3);
    layout->addWidget(pictures, 2);
}

void DialPanel::showDial(const std::optional<kd::DialLayout>& layout, const QString& waiting) {
    const bool shown = layout.has_value();
    for (QWidget* part :
         std::initializer_list<QWidget*>{quantities, anglesLabel, dialPages, pictures}) {
        part->setVisible(shown);
    }
    if (!shown) {
        howGoodLabel->setText(waiting);
        hourLinesTable->setRowCount(0);
        dialFace->setPaint({});
        return;
    }
    howGoodLabel->setText(wall_conventions::HowGood(*layout));
    quantities->setRows(wall_conventions::DialQuantities(*layout));
    anglesLabel->setText(wall_conventions::AnglesMeasured(*layout));
    hourLinesTable->setRowCount(int(layout->hourLines.size()));
    for (int row = 0; row < int(layout->hourLines.size()); ++row) {
        const kd::HourLine& line = layout->hourLines[std::size_t(row)];
        const QString cells[Columns] = {
            wall_conventions::ApparentTime(line.hourAngle),
            angle_text::Degrees(line.hourAngle, 1),
            angle_text::Degrees(line.angle, 1),
            Minutes(line.timeErrorMinutes),
        };
        for (int column = 0; column < Columns; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(column == Time ? Qt::AlignLeft | Qt::AlignVCenter
                                                  : Qt::AlignRight | Qt::AlignVCenter);
            hourLinesTable->setItem(row, column, item);
        }
    }
    hourLinesTable->resizeColumnsToContents();
    dialFace->setPaint([dial = *layout](QPainter& painter, const QRectF& area) {
        PaintDialFace(painter, area, dial);
    });
    dialFace->setAccessibleDescription(howGoodLabel->text() + QLatin1Char(' ') +
                                       anglesLabel->text());
}
