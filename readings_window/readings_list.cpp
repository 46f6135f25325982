#include "readings_window/readings_list.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>

#include "readings_window/recovery_file.h"
#include "readings_window/tolerance_fields.h"

namespace rd = kestramo::readings;

namespace {

bool Holds(const std::vector<rd::Reading>& readings, const rd::Reading& reading) {
    return std::any_of(readings.begin(), readings.end(),
                       [&](const rd::Reading& r) { return rd::SameInputs(r, reading); });
}

}  // namespace

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

ReadingsList::~ReadingsList() {
    if (recoveryFile_ && recoveryCurrent_ && !hasUnfiledReadings()) recoveryFile_->remove();
}

int ReadingsList::lastSolvedRow() const {
    for (int row = size() - 1; row >= 0; --row) {
        if (series_.evaluated[size_t(row)].solution.solved()) return row;
    }
    return -1;
}

bool ReadingsList::add(const Reading& reading) {
    if (Holds(state_.readings, reading)) return false;
    State after = state_;
    after.readings.push_back(reading);
    after.inclusion.push_back(reading.excluded ? Inclusion::ForcedOut : Inclusion::Automatic);
    pushChange(std::move(after), tr("Add Reading"));
    return true;
}

int ReadingsList::addAll(const std::vector<Reading>& readings, const QString& why,
                         const std::optional<Tolerances>& tolerances) {
    State after = state_;
    int added = 0;
    for (const Reading& reading : readings) {
        if (Holds(after.readings, reading)) continue;
        after.readings.push_back(reading);
        after.inclusion.push_back(reading.excluded ? Inclusion::ForcedOut : Inclusion::Automatic);
        ++added;
    }
    const bool newTolerances =
        tolerances && !tolerance_fields::Same(*tolerances, state_.tolerances);
    if (newTolerances) after.tolerances = *tolerances;
    if (added > 0 || newTolerances) pushChange(std::move(after), why);
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

void ReadingsList::setTolerances(const Tolerances& tolerances) {
    if (tolerance_fields::Same(tolerances, state_.tolerances)) return;
    State after = state_;
    after.tolerances = tolerances;
    pushChange(std::move(after), tr("Change Tolerances"));
}

void ReadingsList::keepRecoveryFileIn(const QString& folder) {
    recoveryFolder_ = folder;
    recoveryFile_ = std::make_unique<recovery_file::SessionFile>(folder);
}

void ReadingsList::markFiled(const std::vector<Reading>& readings) {
    for (const Reading& reading : readings) {
        if (!Holds(filed_, reading)) filed_.push_back(reading);
    }
}

bool ReadingsList::hasUnfiledReadings() const {
    return std::any_of(state_.readings.begin(), state_.readings.end(),
                       [this](const Reading& reading) { return !Holds(filed_, reading); });
}

void ReadingsList::pushChange(State after, const QString& text) {
    undoStack_->push(new ReadingsListCommand(this, state_, std::move(after), text));
}

void ReadingsList::apply(const State& state) {
    state_ = state;
    recompute();
    if (recoveryFile_) {
        recoveryCurrent_ = recoveryFile_->write(state_.readings, state_.tolerances);
    }
    emit changed();
}

void ReadingsList::recompute() {
    series_ = rd::SolveSeries(state_.readings, state_.tolerances, state_.inclusion);
}
