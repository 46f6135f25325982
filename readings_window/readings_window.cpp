#include "readings_window/readings_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

#include "dial_files/template_file.h"
#include "product/product.h"
#include "readings/series_words.h"
#include "readings/wall_conventions.h"
#include "readings_window/copyable_fields.h"
#include "readings_window/day_plot_painter.h"
#include "readings_window/dial_panel.h"
#include "readings_window/picture_widgets.h"
#include "readings_window/plan_view_painter.h"
#include "readings_window/reading_form.h"
#include "readings_window/readings_list.h"
#include "readings_window/readings_table_model.h"
#include "readings_window/template_box.h"
#include "readings_window/tolerance_fields.h"
#include "series/plan_view.h"

namespace rd = kestramo::series;

namespace {

// The size the window opens at, which fits a 1024 x 768 screen with its frame and a panel;
// a smaller screen's room is the limit.
constexpr QSize kOpeningSize(960, 640);
// Rows whose cells the columns' widths are measured from, besides those in view.
constexpr int kRowsMeasured = 60;

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

// A key of the window's own; it presses `button`, when there is one.
QAction* WindowKey(QWidget* window, const QList<QKeySequence>& keys, QPushButton* button) {
    auto* action = new QAction(window);
    action->setShortcuts(keys);
    window->addAction(action);
    if (button) {
        QObject::connect(action, &QAction::triggered, button, &QPushButton::click);
        button->setToolTip(keys.front().toString(QKeySequence::NativeText));
    }
    return action;
}

kestramo::CalendarDate Today() {
    const QDate today = QDate::currentDate();
    return {today.year(), today.month(), today.day()};
}

}  // namespace

ReadingsWindow::ReadingsWindow(ReadingsList* list, QWidget* parent)
    : QWidget(parent, Qt::Window), list_(list) {
    setObjectName(QStringLiteral("readingsWindow"));
    showFileName(QString());
    createControls();
    connect(list_, &ReadingsList::changed, this, &ReadingsWindow::refresh);
    refresh();
    QSize size = kOpeningSize;
    if (const QScreen* display = screen()) {
        size = size.boundedTo(display->availableGeometry().size());
    }
    resize(size);
    // Every control inside sends the window's keys on to the window.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void ReadingsWindow::createControls() {
    model_ = new ReadingsTableModel(list_, this);
    readingsTable = new QTableView(this);
    readingsTable->setObjectName(QStringLiteral("readingsTable"));
    readingsTable->setAccessibleName(tr("Readings"));
    readingsTable->setModel(model_);
    readingsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    readingsTable->setAlternatingRowColors(true);
    readingsTable->verticalHeader()->hide();
    readingsTable->horizontalHeader()->setStretchLastSection(true);
    readingsTable->setWordWrap(false);
    // Tab leaves the table for the next control; the arrows move between its cells.
    readingsTable->setTabKeyNavigation(false);
    // Columns are as wide as the rows in view and a few around them need, not as all of a long
    // list: sizing a thousand rows' every cell after each Calculate would cost a noticeable pause.
    readingsTable->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);

    cmdOpen = Button(this, "cmdOpen", tr("&Open..."));
    cmdSave = Button(this, "cmdSave", tr("&Save..."));
    cmdPrintSeries = Button(this, "cmdPrintSeries", tr("&Print..."));
    cmdAddReading = Button(this, "cmdAddReading", tr("Add &Reading..."));
    // Every letter of the caption is another control's key already: F2 or Enter on a row.
    cmdEditReading = Button(this, "cmdEditReading", tr("Edit Reading..."));
    cmdDelete = Button(this, "cmdDelete", tr("&Delete"));
    cmdUndo = Button(this, "cmdUndo", tr("&Undo"));
    // Its letter went to Add Reading; Ctrl+Y and Ctrl+Shift+Z redo.
    cmdRedo = Button(this, "cmdRedo", tr("Redo"));
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key :
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
        if (!redoKeys.contains(key)) redoKeys << key;
    }
    QList<QKeySequence> closeKeys = QKeySequence::keyBindings(QKeySequence::Close);
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        if (!closeKeys.contains(key)) closeKeys.prepend(key);
    }
    windowKeys_ = {
        WindowKey(this, QKeySequence::keyBindings(QKeySequence::Open), cmdOpen),
        WindowKey(this, QKeySequence::keyBindings(QKeySequence::Save), cmdSave),
        WindowKey(this, QKeySequence::keyBindings(QKeySequence::Print), cmdPrintSeries),
        WindowKey(this, QKeySequence::keyBindings(QKeySequence::Undo), cmdUndo),
        WindowKey(this, redoKeys, cmdRedo),
        WindowKey(this, closeKeys, nullptr),
    };
    connect(windowKeys_.back(), &QAction::triggered, this, &QWidget::close);

    auto* deleteKey = new QAction(readingsTable);
    deleteKey->setShortcut(QKeySequence::Delete);
    deleteKey->setShortcutContext(Qt::WidgetShortcut);
    connect(deleteKey, &QAction::triggered, this, &ReadingsWindow::deleteSelected);
    readingsTable->addAction(deleteKey);
    // Space moves the current reading's check box on, wherever in the row the cursor is.
    auto* useKey = new QAction(readingsTable);
    useKey->setShortcut(Qt::Key_Space);
    useKey->setShortcutContext(Qt::WidgetShortcut);
    connect(useKey, &QAction::triggered, this, [this] {
        const QModelIndex current = readingsTable->currentIndex();
        if (!current.isValid()) return;
        model_->setData(model_->index(current.row(), ReadingsTableModel::Use), Qt::Checked,
                        Qt::CheckStateRole);
    });
    readingsTable->addAction(useKey);
    auto* editKey = new QAction(readingsTable);
    editKey->setShortcuts(
        {QKeySequence(Qt::Key_F2), QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    editKey->setShortcutContext(Qt::WidgetShortcut);
    connect(editKey, &QAction::triggered, this, &ReadingsWindow::editCurrent);
    readingsTable->addAction(editKey);
    cmdEditReading->setToolTip(tr("F2 or Enter on a reading of the table"));
    connect(readingsTable, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        // A double click on the check box is two clicks on the check box.
        if (index.column() != ReadingsTableModel::Use) editCurrent();
    });

    connect(cmdOpen, &QPushButton::clicked, this, &ReadingsWindow::askOpen);
    connect(cmdSave, &QPushButton::clicked, this, &ReadingsWindow::askSave);
    connect(cmdPrintSeries, &QPushButton::clicked, this, &ReadingsWindow::askPrint);
    connect(cmdDelete, &QPushButton::clicked, this, &ReadingsWindow::deleteSelected);
    connect(cmdAddReading, &QPushButton::clicked, this, &ReadingsWindow::addReading);
    connect(cmdEditReading, &QPushButton::clicked, this, &ReadingsWindow::editCurrent);
    QUndoStack* undo = list_->undoStack();
    connect(cmdUndo, &QPushButton::clicked, undo, &QUndoStack::undo);
    connect(cmdRedo, &QPushButton::clicked, undo, &QUndoStack::redo);
    connect(undo, &QUndoStack::canUndoChanged, cmdUndo, &QPushButton::setEnabled);
    connect(undo, &QUndoStack::canRedoChanged, cmdRedo, &QPushButton::setEnabled);
    cmdUndo->setEnabled(undo->canUndo());
    cmdRedo->setEnabled(undo->canRedo());

    answerLabel = new QLabel(this);
    answerLabel->setObjectName(QStringLiteral("answerLabel"));
    QFont answerFont = answerLabel->font();
    answerFont.setPointSizeF(answerFont.pointSizeF() * 1.4);
    answerFont.setBold(true);
    answerLabel->setFont(answerFont);
    answerLabel->setWordWrap(true);
    answerLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    leanLabel = new QLabel(this);
    leanLabel->setObjectName(QStringLiteral("leanLabel"));
    leanLabel->setWordWrap(true);
    agreementLabel = new QLabel(this);
    agreementLabel->setObjectName(QStringLiteral("agreementLabel"));
    agreementLabel->setWordWrap(true);
    adviceLabel = new QLabel(this);
    adviceLabel->setObjectName(QStringLiteral("adviceLabel"));
    adviceLabel->setWordWrap(true);
    bestTimeLabel = new QLabel(this);
    bestTimeLabel->setObjectName(QStringLiteral("bestTimeLabel"));
    bestTimeLabel->setWordWrap(true);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setAccessibleName(tr("Status"));
    statusLabel->setWordWrap(true);
    statusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* tolerancesBox = new QGroupBox(tr("Tolerances (one standard deviation)"), this);
    auto* form = new QFormLayout(tolerancesBox);
    for (const tolerance_fields::Field& field : tolerance_fields::Fields()) {
        QDoubleSpinBox* box =
            tolerance_fields::MakeBox(field, list_->tolerances().*field.value, this);
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, &field](double value) {
            rd::Tolerances tolerances = list_->tolerances();
            tolerances.*field.value = value;
            list_->setTolerances(tolerances);
        });
        form->addRow(tr(field.label), box);
        toleranceBoxes.push_back(box);
    }
    edgeBox = tolerance_fields::MakeEdgeBox(list_->tolerances().edge, this);
    connect(edgeBox, &QComboBox::currentIndexChanged, this, [this] {
        rd::Tolerances tolerances = list_->tolerances();
        tolerances.edge = tolerance_fields::EdgeOf(*edgeBox);
        list_->setTolerances(tolerances);
    });
    form->addRow(tolerance_fields::EdgeLabel(), edgeBox);

    conventionsBox = new QGroupBox(tr("The wall in the conventions of dial programs"), this);
    conventionsBox->setObjectName(QStringLiteral("conventionsBox"));
    conventions = new CopyableFields(QStringLiteral("convention"), conventionsBox);
    conventions->setObjectName(QStringLiteral("conventions"));
    auto* conventionsLayout = new QVBoxLayout(conventionsBox);
    conventionsLayout->addWidget(conventions);

    planView = new PictureWidget(QStringLiteral("planView"), tr("Plan view of the wall"),
                                 QSize(260, 340), this);
    dayPlot = new PictureWidget(QStringLiteral("dayPlot"), tr("When to measure next"),
                                QSize(380, 300), this);
    // The least room in which every label of the plan view stays clear of its lines.
    planView->setMinimumSize(220, 300);
    dialPanel = new DialPanel(this);
    connect(dialPanel->templateBox, &TemplateBox::saveAsked, this,
            &ReadingsWindow::askSaveTemplate);
    connect(dialPanel->templateBox, &TemplateBox::printAsked, this,
            &ReadingsWindow::askPrintTemplate);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {cmdOpen, cmdSave, cmdPrintSeries}) buttons->addWidget(button);
    buttons->addStretch();
    for (QPushButton* button : {cmdAddReading, cmdEditReading, cmdDelete, cmdUndo, cmdRedo}) {
        buttons->addWidget(button);
    }

    auto* answerColumn = new QWidget(this);
    auto* answerLayout = new QVBoxLayout(answerColumn);
    answerLayout->setContentsMargins(0, 0, 4, 0);
    answerLayout->addWidget(answerLabel);
    answerLayout->addWidget(conventionsBox);
    answerLayout->addWidget(leanLabel);
    answerLayout->addWidget(agreementLabel);
    answerLayout->addWidget(adviceLabel);
    answerLayout->addStretch();
    answerLayout->addWidget(tolerancesBox);
    answerScroll = new QScrollArea(this);
    answerScroll->setObjectName(QStringLiteral("answerScroll"));
    answerScroll->setWidget(answerColumn);
    answerScroll->setWidgetResizable(true);
    answerScroll->setFrameShape(QFrame::NoFrame);
    answerScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    answerScroll->setMinimumWidth(answerColumn->minimumSizeHint().width() + 20);
    // A box reached by its access key or by Tab is scrolled into sight.
    connect(qApp, &QApplication::focusChanged, this, [this, answerColumn](QWidget*, QWidget* now) {
        if (now && answerColumn->isAncestorOf(now)) answerScroll->ensureWidgetVisible(now);
    });

    auto* planPage = new QWidget(this);
    auto* planLayout = new QHBoxLayout(planPage);
    auto* dayColumn = new QVBoxLayout;
    dayColumn->addWidget(dayPlot, 1);
    dayColumn->addWidget(bestTimeLabel);
    planLayout->addWidget(planView, 2);
    planLayout->addLayout(dayColumn, 3);
    pictureTabs = new QTabWidget(this);
    pictureTabs->setObjectName(QStringLiteral("pictureTabs"));
    pictureTabs->setAccessibleName(tr("Plan view, next reading and dial"));
    pictureTabs->addTab(planPage, tr("Plan and ne&xt reading"));
    pictureTabs->addTab(dialPanel, tr("D&ial"));

    auto* lower = new QWidget(this);
    auto* lowerLayout = new QHBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(answerScroll, 3);
    lowerLayout->addWidget(pictureTabs, 7);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(readingsTable);
    splitter->addWidget(lower);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    layout->addWidget(statusLabel);
}

std::vector<rd::DayPlan> ReadingsWindow::makeDayPlans() {
    std::vector<rd::DayPlan> plans;
    const rd::SeriesResult& result = list_->series().result;
    const int latest = list_->latestRow();
    if (latest < 0) return plans;
    // The sun through the day stays as it is until the latest reading moves to another day or
    // site; only the fit changes from one Calculate to the next.
    const rd::Reading& reading = list_->reading(latest);
    if (!sky_ || !rd::SameDay(*sky_, reading)) sky_ = rd::SkyOfDay(reading);
    for (const rd::WallFit& fit : result.fits) {
        plans.push_back(rd::PlanDay(*sky_, reading, fit, result.latestDate, result.latestSquare,
                                    list_->tolerances()));
    }
    return plans;
}

void ReadingsWindow::refresh() {
    const rd::SolvedSeries& series = list_->series();
    QString answer = series_words::Answer(series.result);
    if (list_->size() == 0) {
        answer += tr(" Every Calculate in the main window adds one, and so does Add Reading.");
    }
    cmdEditReading->setEnabled(list_->size() > 0);
    answerLabel->setText(answer);
    const QString lean = series_words::Lean(series.result, list_->tolerances());
    leanLabel->setText(lean);
    leanLabel->setVisible(!lean.isEmpty());
    agreementLabel->setText(series_words::Agreement(series.result));
    const QString advice =
        series_words::Advice(series.result, series.geometry, list_->tolerances());
    adviceLabel->setText(advice);
    adviceLabel->setVisible(!advice.isEmpty());

    if (series.result.decided()) {
        conventions->setRows(
            wall_conventions::Conventions(*series.result.declination, series.result.lean));
    }
    conventionsBox->setVisible(series.result.decided());

    const rd::PlanView view = rd::MakePlanView(series.geometry, series.result);
    planView->setPaint(
        [view, lean = series_words::LeanBrief(series.result, list_->tolerances())](
            QPainter& painter, const QRectF& area) { PaintPlanView(painter, area, view, lean); });

    dayPlans_ = makeDayPlans();
    const int latest = list_->latestRow();
    const QString clock = latest >= 0 ? series_words::ClockName(list_->reading(latest)) : QString();
    dayPlot->setPaint([plans = dayPlans_, clock](QPainter& painter, const QRectF& area) {
        PaintDayPlot(painter, area, plans, clock);
    });
    bestTimeLabel->setText(series_words::BestTime(dayPlans_, Today()));
    dialPanel->showDial(wall_conventions::DialFor(series.result, list_->readings()),
                        wall_conventions::DialWaits(series.result));
    dialPanel->templateBox->setInputs(
        dial_files::TemplateInputsFor(series.result, list_->readings()));
    // What the pictures show, for those who cannot see them.
    planView->setAccessibleDescription(QStringList{
        answerLabel->text(), series_words::LeanBrief(series.result, list_->tolerances())}
                                           .join(QLatin1Char(' ')));
    dayPlot->setAccessibleDescription(bestTimeLabel->text());
    // The other kinds' values take no room while there are none.
    readingsTable->setColumnHidden(ReadingsTableModel::Values, !list_->holdsOtherKinds());
    readingsTable->resizeColumnsToContents();

    // The boxes follow the list's tolerances through undo and redo without changing them.
    const std::span<const tolerance_fields::Field> fields = tolerance_fields::Fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const QSignalBlocker quiet(toleranceBoxes[i]);
        toleranceBoxes[i]->setValue(list_->tolerances().*fields[i].value);
    }
    const QSignalBlocker quiet(edgeBox);
    tolerance_fields::ShowEdge(*edgeBox, list_->tolerances().edge);
}

void ReadingsWindow::deleteSelected() {
    std::vector<int> rows;
    for (const QModelIndex& index : readingsTable->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    if (rows.empty() && readingsTable->currentIndex().isValid()) {
        rows.push_back(readingsTable->currentIndex().row());
    }
    if (rows.empty()) return;
    const int next = *std::min_element(rows.begin(), rows.end());
    list_->remove(rows);
    // The cursor stays where the deleted reading was, so that Delete can go on.
    if (list_->size() > 0) readingsTable->selectRow(std::min(next, list_->size() - 1));
}

void ReadingsWindow::addReading() {
    std::optional<rd::Reading> latest;
    const int row = list_->latestRow() >= 0 ? list_->latestRow() : list_->size() - 1;
    if (row >= 0) latest = list_->reading(row);
    openForm(false, latest, [this](const rd::Reading& reading) {
        if (!list_->add(reading)) {
            statusLabel->setText(tr("That reading is in the list already."));
        }
        readingsTable->selectRow(list_->rowOf(reading));
    });
}

void ReadingsWindow::editCurrent() {
    const QModelIndex current = readingsTable->currentIndex();
    if (!current.isValid()) return;
    const int row = current.row();
    openForm(true, list_->reading(row), [this, row](const rd::Reading& reading) {
        const int other = list_->rowOf(reading);
        if (other >= 0 && other != row) {
            statusLabel->setText(
                tr("Reading %1 has the same inputs already; nothing was changed.").arg(other + 1));
        }
        const int moved = list_->replace(row, reading);
        readingsTable->selectRow(moved >= 0 ? moved : row);
    });
}

void ReadingsWindow::openForm(bool edit, const std::optional<kestramo::series::Reading>& start,
                              std::function<void(const kestramo::series::Reading&)> take) {
    // Shown without a loop of its own, so that the window's key handling goes on as usual.
    auto* form =
        new ReadingForm(edit ? ReadingForm::Purpose::Edit : ReadingForm::Purpose::Add, start, this);
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &QDialog::accepted, this, [this, form, take = std::move(take)] {
        take(form->reading());
        readingsTable->setFocus();
    });
    connect(form, &QDialog::finished, this, &ReadingsWindow::comeBack);
    form->open();
}

bool ReadingsWindow::eventFilter(QObject* watched, QEvent* event) {
    // A text box would take Ctrl+Z for its own text, Esc for its own use: the window's keys
    // pass it by, so that undo works on the list's one history whatever has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* action : windowKeys_) {
            if (action->shortcuts().contains(key)) return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ReadingsWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (parentWidget()) parentWidget()->activateWindow();
}

void ReadingsWindow::comeBack() { activateWindow(); }
