#include "readings_window/readings_window.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

#include "product/product.h"
#include "readings/plan_view.h"
#include "readings/readings_csv.h"
#include "readings_window/angle_text.h"
#include "readings_window/day_plot_painter.h"
#include "readings_window/picture_widgets.h"
#include "readings_window/plan_view_painter.h"
#include "readings_window/readings_list.h"
#include "readings_window/readings_table_model.h"
#include "readings_window/recovery_file.h"
#include "readings_window/series_printout.h"
#include "readings_window/series_summary.h"

namespace rd = kestramo::readings;

namespace {

constexpr int kProblemsShown = 12;  // lines named in a message; the rest are counted

QPushButton* Button(QWidget* parent, const char* name, const QString& text,
                    const QKeySequence& shortcut = {}) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty()) {
        auto* action = new QAction(button);
        action->setShortcut(shortcut);
        QObject::connect(action, &QAction::triggered, button, &QPushButton::click);
        parent->addAction(action);
        button->setToolTip(shortcut.toString(QKeySequence::NativeText));
    }
    return button;
}

QDoubleSpinBox* ToleranceBox(QWidget* parent, const char* name, const QString& suffix,
                             double maximum, double step, double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, maximum);
    box->setDecimals(step < 0.5 ? 2 : 1);
    box->setSingleStep(step);
    box->setSuffix(suffix);
    box->setValue(value);
    box->setKeyboardTracking(false);
    return box;
}

QString ProblemsText(const rd::CsvReadResult& read) {
    QStringList lines;
    for (size_t index = 0; index < read.problems.size() && int(index) < kProblemsShown; ++index) {
        lines << read.problems[index].message;
    }
    if (int(read.problems.size()) > kProblemsShown) {
        lines << QObject::tr("... and %1 more.").arg(int(read.problems.size()) - kProblemsShown);
    }
    return lines.join(QLatin1Char('\n'));
}

rd::CalendarDate Today() {
    const QDate today = QDate::currentDate();
    return {today.year(), today.month(), today.day()};
}

}  // namespace

ReadingsWindow::ReadingsWindow(ReadingsList* list, QWidget* parent)
    : QWidget(parent, Qt::Window), list_(list) {
    setObjectName(QStringLiteral("readingsWindow"));
    setWindowTitle(tr("%1 \u2013 Readings").arg(QLatin1String(product::kName)));
    createControls();
    connect(list_, &ReadingsList::changed, this, &ReadingsWindow::refresh);
    refresh();
    resize(1120, 720);
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

    cmdOpen = Button(this, "cmdOpen", tr("&Open..."), QKeySequence::Open);
    cmdSave = Button(this, "cmdSave", tr("&Save..."), QKeySequence::Save);
    cmdPrintSeries = Button(this, "cmdPrintSeries", tr("&Print..."), QKeySequence::Print);
    cmdDelete = Button(this, "cmdDelete", tr("&Delete"));
    cmdUndo = Button(this, "cmdUndo", tr("&Undo"), QKeySequence::Undo);
    cmdRedo = Button(this, "cmdRedo", tr("&Redo"), QKeySequence::Redo);
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

    connect(cmdOpen, &QPushButton::clicked, this, &ReadingsWindow::askOpen);
    connect(cmdSave, &QPushButton::clicked, this, &ReadingsWindow::askSave);
    connect(cmdPrintSeries, &QPushButton::clicked, this, &ReadingsWindow::askPrint);
    connect(cmdDelete, &QPushButton::clicked, this, &ReadingsWindow::deleteSelected);
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
    agreementLabel = new QLabel(this);
    agreementLabel->setObjectName(QStringLiteral("agreementLabel"));
    agreementLabel->setWordWrap(true);
    adviceLabel = new QLabel(this);
    adviceLabel->setObjectName(QStringLiteral("adviceLabel"));
    adviceLabel->setWordWrap(true);
    bestTimeLabel = new QLabel(this);
    bestTimeLabel->setObjectName(QStringLiteral("bestTimeLabel"));
    bestTimeLabel->setWordWrap(true);

    const rd::Tolerances tolerances = list_->tolerances();
    clockTolerance =
        ToleranceBox(this, "clockTolerance", tr(" s"), 600, 1, tolerances.clockSeconds);
    lengthTolerance =
        ToleranceBox(this, "lengthTolerance", tr(" %"), 50, 0.1, tolerances.lengthPercent);
    heightTolerance =
        ToleranceBox(this, "heightTolerance", tr(" %"), 50, 0.1, tolerances.heightPercent);
    tiltTolerance =
        ToleranceBox(this, "tiltTolerance", tr(" \u00b0"), 20, 0.1, tolerances.tiltDegrees);
    for (QDoubleSpinBox* box : {clockTolerance, lengthTolerance, heightTolerance, tiltTolerance}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, &ReadingsWindow::readTolerances);
    }
    auto* tolerancesBox = new QGroupBox(tr("Tolerances (one standard deviation)"), this);
    auto* form = new QFormLayout(tolerancesBox);
    form->addRow(tr("&Clock:"), clockTolerance);
    form->addRow(tr("S&hadow length:"), lengthTolerance);
    form->addRow(tr("Square h&eight:"), heightTolerance);
    form->addRow(tr("Square &tilt:"), tiltTolerance);
    clockTolerance->setAccessibleName(tr("Clock tolerance in seconds"));
    lengthTolerance->setAccessibleName(tr("Shadow length tolerance in percent"));
    heightTolerance->setAccessibleName(tr("Square height tolerance in percent"));
    tiltTolerance->setAccessibleName(tr("Square tilt tolerance in degrees"));

    planView = new PictureWidget(QStringLiteral("planView"), tr("Plan view of the wall"),
                                 QSize(280, 280), this);
    dayPlot = new PictureWidget(QStringLiteral("dayPlot"), tr("When to measure next"),
                                QSize(380, 220), this);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {cmdOpen, cmdSave, cmdPrintSeries}) buttons->addWidget(button);
    buttons->addStretch();
    for (QPushButton* button : {cmdDelete, cmdUndo, cmdRedo}) buttons->addWidget(button);

    auto* answerColumn = new QVBoxLayout;
    answerColumn->addWidget(answerLabel);
    answerColumn->addWidget(agreementLabel);
    answerColumn->addWidget(adviceLabel);
    answerColumn->addStretch();
    answerColumn->addWidget(tolerancesBox);

    auto* dayColumn = new QVBoxLayout;
    dayColumn->addWidget(dayPlot, 1);
    dayColumn->addWidget(bestTimeLabel);

    auto* lower = new QWidget(this);
    auto* lowerLayout = new QHBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addLayout(answerColumn, 3);
    lowerLayout->addWidget(planView, 3);
    lowerLayout->addLayout(dayColumn, 4);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(readingsTable);
    splitter->addWidget(lower);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
}

std::vector<rd::DayPlan> ReadingsWindow::makeDayPlans() const {
    std::vector<rd::DayPlan> plans;
    const int last = list_->lastSolvedRow();
    if (last < 0) return plans;
    for (const rd::WallCandidate& candidate : list_->series().result.candidates) {
        plans.push_back(
            rd::PlanDay(list_->reading(last), candidate.declination, list_->tolerances()));
    }
    return plans;
}

void ReadingsWindow::refresh() {
    const rd::SolvedSeries& series = list_->series();
    answerLabel->setText(series_summary::Answer(series.result));
    agreementLabel->setText(series_summary::Agreement(series.result));
    const QString advice = series_summary::Advice(series.result);
    adviceLabel->setText(advice);
    adviceLabel->setVisible(!advice.isEmpty());

    const rd::PlanView view = rd::MakePlanView(series.evaluated, series.result);
    const std::vector<rd::WallCandidate> candidates = series.result.candidates;
    planView->setPaint([view, candidates](QPainter& painter, const QRectF& area) {
        PaintPlanView(painter, area, view, candidates);
    });

    dayPlans_ = makeDayPlans();
    const int last = list_->lastSolvedRow();
    const double height = last >= 0 ? list_->reading(last).height : 1;
    dayPlot->setPaint([plans = dayPlans_, height](QPainter& painter, const QRectF& area) {
        PaintDayPlot(painter, area, plans, height);
    });
    bestTimeLabel->setText(series_summary::BestTime(dayPlans_, Today()));
    // What the pictures show, for those who cannot see them.
    planView->setAccessibleDescription(answerLabel->text());
    dayPlot->setAccessibleDescription(bestTimeLabel->text());
    readingsTable->resizeColumnsToContents();
}

void ReadingsWindow::readTolerances() {
    list_->setTolerances({
        .clockSeconds = clockTolerance->value(),
        .lengthPercent = lengthTolerance->value(),
        .heightPercent = heightTolerance->value(),
        .tiltDegrees = tiltTolerance->value(),
    });
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

void ReadingsWindow::tell(const QString& text, bool warning) {
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information,
                    QLatin1String(product::kName), text, QMessageBox::Ok, this);
    box.exec();
}

bool ReadingsWindow::openFile(const QString& path) {
    const rd::CsvReadResult read = rd::ReadReadingsCsvFile(path, list_->tolerances());
    const int added = list_->addAll(read.readings, tr("Open %1").arg(QFileInfo(path).fileName()));
    const QString name = QDir::toNativeSeparators(path);
    if (read.notReadingsFile || (read.readings.empty() && !read.problems.empty())) {
        tell(tr("%1 could not be read as a readings file.\n\n%2").arg(name, ProblemsText(read)),
             true);
        return false;
    }
    if (!read.problems.empty()) {
        tell(tr("%1: %2 of its readings were added. These lines were not read as they "
                "stand:\n\n%3")
                 .arg(name)
                 .arg(added)
                 .arg(ProblemsText(read)),
             true);
    }
    return true;
}

bool ReadingsWindow::saveFile(const QString& path) {
    const QString failure = rd::SaveReadingsCsv(path, list_->readings(), list_->tolerances());
    if (failure.isEmpty()) return true;
    tell(tr("The readings could not be saved as %1: %2")
             .arg(QDir::toNativeSeparators(path), failure),
         true);
    return false;
}

bool ReadingsWindow::printTo(QPagedPaintDevice& device) const {
    return PrintSeries(device, *list_, *model_, dayPlans_, bestTimeLabel->text());
}

void ReadingsWindow::offerEarlierSession() {
    const QString earlier = recovery_file::PreviousPath();
    if (!QFile::exists(earlier)) return;
    const rd::CsvReadResult read = rd::ReadReadingsCsvFile(earlier, list_->tolerances());
    if (!read.readings.empty()) {
        QMessageBox box(QMessageBox::Question, QLatin1String(product::kName),
                        read.readings.size() == 1
                            ? tr("1 reading from an earlier session was kept. Do you want to "
                                 "restore it?")
                            : tr("%1 readings from an earlier session were kept. Do you want to "
                                 "restore them?")
                                  .arg(read.readings.size()),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setDefaultButton(QMessageBox::Yes);
        if (box.exec() == QMessageBox::Yes) {
            list_->addAll(read.readings, tr("Restore Earlier Readings"));
        }
    }
    QFile::remove(earlier);
}

void ReadingsWindow::askOpen() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Readings"), folder,
                                                      tr("Readings files (*.csv);;All files (*)"));
    if (!path.isEmpty()) openFile(path);
}

void ReadingsWindow::askSave() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = QFileDialog::getSaveFileName(this, tr("Save Readings"),
                                                QDir(folder).filePath(tr("readings.csv")),
                                                tr("Readings files (*.csv)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    saveFile(path);
}

void ReadingsWindow::askPrint() {
    QPrinter printer;
    printer.setDocName(tr("%1 readings").arg(QLatin1String(product::kName)));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print Readings"));
    if (dialog.exec() != QDialog::Accepted) return;
    if (!printTo(printer)) tell(tr("The readings could not be printed."), true);
}
