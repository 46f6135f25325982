#include "readings_window/readings_list.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>

#include "readings/readings_csv.h"

namespace rd = kestramo::readings;

// One change of the list, kept as the states before and after: simple, and cheap enough even
// for thousands of readings.
class ReadingsListCommand : public QUndoCommand {
  public:
    ReadingsListCommand(ReadingsList* list, ReadingsList::State before, ReadingsList::State after,
                        const QString& text)
        : QUndoCommand(text), list_(list), before_(std::move(before)), after_(std::move(after)) {}

    void redo() override { list_->apply(after_); }
    void undo() override { list_->apply(before_); }

  private:
    ReadingsList* list_;
    ReadingsList::State before_;
    ReadingsList::State after_;
};

ReadingsList::ReadingsList(QObject* parent) : QObject(parent), undoStack_(new QUndoStack(this)) {
    setObjectName(QStringLiteral("readingsList"));
    recompute();
}

ReadingsList::~ReadingsList() = default;

int ReadingsList::lastSolvedRow() const {
    for (int row = size() - 1; row >= 0; --row) {
        if (series_.evaluated[size_t(row)].solution.solved()) return row;
    }
    return -1;
}

bool ReadingsList::add(const Reading& reading) {
    const bool known = std::any_of(state_.readings.begin(), state_.readings.end(),
                                   [&](const Reading& r) { return rd::SameInputs(r, reading); });
    if (known) return false;
    State after = state_;
    after.readings.push_back(reading);
    after.inclusion.push_back(reading.excluded ? Inclusion::ForcedOut : Inclusion::Automatic);
    pushChange(std::move(after), tr("Add Reading"));
    return true;
}

int ReadingsList::addAll(const std::vector<Reading>& readings, const QString& why) {
    State after = state_;
    int added = 0;
    for (const Reading& reading : readings) {
        const bool known =
            std::any_of(after.readings.begin(), after.readings.end(),
                        [&](const Reading& r) { return rd::SameInputs(r, reading); });
        if (known) continue;
        after.readings.push_back(reading);
        after.inclusion.push_back(reading.excluded ? Inclusion::ForcedOut : Inclusion::Automatic);
        ++added;
    }
    if (added > 0) pushChange(std::move(after), why);
    return added;
}

void ReadingsList::remove(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](int row) { return row < 0 || row >= size(); });
    if (rows.empty()) return;
    State after = state_;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        after.readings.erase(after.readings.begin() + *row);
        after.inclusion.erase(after.inclusion.begin() + *row);
    }
    pushChange(std::move(after), rows.size() == 1 ? tr("Delete Reading") : tr("Delete Readings"));
}

void ReadingsList::setInclusion(int row, Inclusion inclusion) {
    if (row < 0 || row >= size() || state_.inclusion[size_t(row)] == inclusion) return;
    State after = state_;
    after.inclusion[size_t(row)] = inclusion;
    after.readings[size_t(row)].excluded = inclusion == Inclusion::ForcedOut;
    pushChange(std::move(after),
               inclusion == Inclusion::ForcedOut ? tr("Leave Reading Out") : tr("Take Reading In"));
}

void ReadingsList::setTolerances(const rd::Tolerances& tolerances) {
    tolerances_ = tolerances;
    recompute();
    emit changed();
}

void ReadingsList::setRecoveryFile(const QString& path) { recoveryFile_ = path; }

void ReadingsList::pushChange(State after, const QString& text) {
    undoStack_->push(new ReadingsListCommand(this, state_, std::move(after), text));
}

void ReadingsList::apply(const State& state) {
    state_ = state;
    recompute();
    if (!recoveryFile_.isEmpty()) {
        rd::SaveReadingsCsv(recoveryFile_, state_.readings, tolerances_);
    }
    emit changed();
}

void ReadingsList::recompute() {
    series_ = rd::SolveSeries(state_.readings, tolerances_, state_.inclusion);
}
