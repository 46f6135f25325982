#include "readings_window/readings_list.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>

#include "readings/readings_csv.h"
#include "readings_window/recovery_file.h"

namespace ks = kestramo::series;
namespace kr = kestramo::readings;

namespace {

bool Holds(const std::vector<ks::Reading>& readings, const ks::Reading& reading) {
    return std::any_of(readings.begin(), readings.end(),
                       [&](const ks::Reading& r) { return ks::SameInputs(r, reading); });
}

// Appends a reading to a state, with what it says and its uncertainty under the state's
// tolerances.
void Append(ReadingsList::State& state, const ks::Reading& reading, ks::Inclusion inclusion,
            const ks::ReadingGeometry& geometry) {
    state.readings.push_back(reading);
    state.inclusion.push_back(inclusion);
    state.geometry.push_back(geometry);
    state.uncertainty.push_back(ks::SingleReadingUncertainty(geometry, state.tolerances));
}

// True when `a` was taken before `b`: an earlier date, or the same date and an earlier clock.
bool TakenBefore(const ks::Reading& a, const ks::Reading& b) {
    const auto dateA = ks::DateOf(a);
    const auto dateB = ks::DateOf(b);
    if (dateA != dateB) return dateA < dateB;
    return ks::ClockSecondsOf(a) < ks::ClockSecondsOf(b);
}

// Where a reading goes in readings already in order: after every one taken before it or at
// the same moment, so that of two readings of the same moment the one that came first leads.
int PlaceOf(const std::vector<ks::Reading>& readings, const ks::Reading& reading) {
    return int(std::upper_bound(readings.begin(), readings.end(), reading, TakenBefore) -
               readings.begin());
}

// Puts a state's readings in the order they were taken, each with what it says; readings of
// the same moment keep their order.
void PutInOrder(ReadingsList::State& state) {
    std::vector<std::size_t> order(state.readings.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return TakenBefore(state.readings[a], state.readings[b]);
    });
    const auto reorder = [&order](auto& values) {
        std::remove_reference_t<decltype(values)> ordered;
        ordered.reserve(values.size());
        for (std::size_t i : order) ordered.push_back(std::move(values[i]));
        values = std::move(ordered);
    };
    reorder(state.readings);
    reorder(state.inclusion);
    reorder(state.geometry);
    reorder(state.uncertainty);
}

}  // namespace

// One change of the list, kept as the states before and after: simple, and cheap enough even
// for thousands of readings.
class ReadingsListCommand : public QUndoCommand {
  public:
    // An edit keeps the reading it takes away, either way, safe in the recovery file.
    enum class Kind { Change, Edit };

    ReadingsListCommand(ReadingsList* list, ReadingsList::State before, ReadingsList::State after,
                        const QString& text, Kind kind = Kind::Change)
        : QUndoCommand(text),
          list_(list),
          before_(std::move(before)),
          after_(std::move(after)),
          kind_(kind) {}

    void redo() override { to(after_); }
    void undo() override { to(before_); }

  private:
    void to(const ReadingsList::State& state) {
        if (kind_ == Kind::Edit) list_->keepSafeWhatGoes(state);
        list_->apply(state);
    }

    ReadingsList* list_;
    ReadingsList::State before_;
    ReadingsList::State after_;
    Kind kind_;
};

// A reading added in its place: redone by putting it in again, undone by taking it out.
class InsertCommand : public QUndoCommand {
  public:
    InsertCommand(ReadingsList* list, int row, ReadingsList::State one, const QString& text)
        : QUndoCommand(text), list_(list), row_(row), one_(std::move(one)) {}

    void redo() override { list_->insert(row_, one_); }
    void undo() override { list_->takeOut(row_); }

  private:
    ReadingsList* list_;
    int row_;
    ReadingsList::State one_;  // the reading added, with what it says; no tolerances
};

ReadingsList::ReadingsList(QObject* parent) : QObject(parent), undoStack_(new QUndoStack(this)) {
    setObjectName(QStringLiteral("readingsList"));
    recompute();
}

ReadingsList::~ReadingsList() {
    if (recoveryFile_ && recoveryCurrent_ && !hasUnfiledReadings()) recoveryFile_->remove();
}

bool ReadingsList::add(const Reading& reading, const std::optional<Geometry>& geometry) {
    if (Holds(state_.readings, reading)) return false;
    State rows;
    rows.tolerances = state_.tolerances;
    Append(rows, reading, Inclusion::Automatic, geometry ? *geometry : ks::Examine(reading));
    const int row = PlaceOf(state_.readings, reading);
    undoStack_->push(new InsertCommand(this, row, std::move(rows), tr("Add Reading")));
    return true;
}

int ReadingsList::addAll(const std::vector<Reading>& readings,
                         const std::vector<Inclusion>& inclusion,
                         const std::vector<Geometry>& geometry, const QString& why,
                         const std::optional<Tolerances>& tolerances) {
    State after = state_;
    if (tolerances && *tolerances != state_.tolerances) {
        after.tolerances = *tolerances;
        after.uncertainty.clear();
        for (const Geometry& g : after.geometry) {
            after.uncertainty.push_back(ks::SingleReadingUncertainty(g, after.tolerances));
        }
    }
    int added = 0;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (Holds(after.readings, readings[i])) continue;
        Append(after, readings[i], i < inclusion.size() ? inclusion[i] : Inclusion::Automatic,
               i < geometry.size() ? geometry[i] : ks::Examine(readings[i]));
        ++added;
    }
    PutInOrder(after);
    if (added > 0 || after.tolerances != state_.tolerances) pushChange(std::move(after), why);
    return added;
}

int ReadingsList::replace(int row, const Reading& reading) {
    if (row < 0 || row >= size() || ks::SameInputs(state_.readings[size_t(row)], reading)) {
        return -1;
    }
    const int other = rowOf(reading);
    if (other >= 0 && other != row) return -1;
    State after = state_;
    const ks::ReadingGeometry geometry = ks::Examine(reading);
    after.readings[size_t(row)] = reading;
    after.geometry[size_t(row)] = geometry;
    after.uncertainty[size_t(row)] = ks::SingleReadingUncertainty(geometry, after.tolerances);
    PutInOrder(after);
    undoStack_->push(new ReadingsListCommand(this, state_, std::move(after), tr("Edit Reading"),
                                             ReadingsListCommand::Kind::Edit));
    return rowOf(reading);
}

bool ReadingsList::holdsOtherKinds() const {
    return std::any_of(state_.readings.begin(), state_.readings.end(),
                       [](const Reading& r) { return r.method != ks::Method::Square; });
}

int ReadingsList::rowOf(const Reading& reading) const {
    const auto found = std::find_if(state_.readings.begin(), state_.readings.end(),
                                    [&](const Reading& r) { return ks::SameInputs(r, reading); });
    return found == state_.readings.end() ? -1 : int(found - state_.readings.begin());
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
        after.geometry.erase(after.geometry.begin() + *row);
        after.uncertainty.erase(after.uncertainty.begin() + *row);
    }
    pushChange(std::move(after), rows.size() == 1 ? tr("Delete Reading") : tr("Delete Readings"));
}

void ReadingsList::setInclusion(int row, Inclusion inclusion) {
    if (row < 0 || row >= size() || state_.inclusion[size_t(row)] == inclusion) return;
    State after = state_;
    after.inclusion[size_t(row)] = inclusion;
    pushChange(std::move(after),
               inclusion == Inclusion::ForcedOut ? tr("Leave Reading Out") : tr("Take Reading In"));
}

void ReadingsList::setTolerances(const Tolerances& tolerances) {
    if (tolerances == state_.tolerances) return;
    State after = state_;
    after.tolerances = tolerances;
    for (std::size_t i = 0; i < after.geometry.size(); ++i) {
        after.uncertainty[i] = ks::SingleReadingUncertainty(after.geometry[i], tolerances);
    }
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

void ReadingsList::keepSafe(const std::vector<Reading>& readings,
                            const std::vector<Inclusion>& inclusion,
                            const std::vector<Geometry>& geometry) {
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (Holds(keptSafe_.readings, readings[i])) continue;
        keptSafe_.readings.push_back(readings[i]);
        keptSafe_.inclusion.push_back(i < inclusion.size() ? inclusion[i] : Inclusion::Automatic);
        keptSafe_.geometry.push_back(i < geometry.size() ? geometry[i] : ks::Examine(readings[i]));
    }
    writeWholeRecoveryFile();
}

void ReadingsList::keepSafeWhatGoes(const State& next) {
    for (std::size_t i = 0; i < state_.readings.size(); ++i) {
        const Reading& reading = state_.readings[i];
        if (Holds(next.readings, reading) || Holds(keptSafe_.readings, reading)) continue;
        // Left out, so that a session that takes the file back has its fit as the user left it.
        keptSafe_.readings.push_back(reading);
        keptSafe_.inclusion.push_back(Inclusion::ForcedOut);
        keptSafe_.geometry.push_back(state_.geometry[i]);
    }
}

bool ReadingsList::hasUnfiledReadings() const {
    const auto unfiled = [this](const Reading& reading) { return !Holds(filed_, reading); };
    return std::any_of(state_.readings.begin(), state_.readings.end(), unfiled) ||
           std::any_of(keptSafe_.readings.begin(), keptSafe_.readings.end(), unfiled);
}

void ReadingsList::pushChange(State after, const QString& text) {
    undoStack_->push(new ReadingsListCommand(this, state_, std::move(after), text));
}

void ReadingsList::apply(const State& state) {
    state_ = state;
    recompute();
    writeWholeRecoveryFile();
    emit changed();
}

void ReadingsList::insert(int row, const State& one) {
    const auto at = [row](auto& values) { return values.begin() + row; };
    state_.readings.insert(at(state_.readings), one.readings.front());
    state_.inclusion.insert(at(state_.inclusion), one.inclusion.front());
    state_.geometry.insert(at(state_.geometry), one.geometry.front());
    // The reading was worked out with the tolerances of its day; those of the list count now.
    state_.uncertainty.insert(
        at(state_.uncertainty),
        one.tolerances == state_.tolerances
            ? one.uncertainty.front()
            : ks::SingleReadingUncertainty(one.geometry.front(), state_.tolerances));
    recompute();
    // The recovery file holds readings in any order: one more is one line more at its end.
    const std::size_t i = std::size_t(row);
    if (recoveryFile_ && recoveryCurrent_ &&
        recoveryFile_->append(
            kr::CsvLine(state_.readings[i], state_.inclusion[i], state_.geometry[i],
                        state_.uncertainty[i], state_.tolerances),
            kr::CsvHeader(kr::CsvContent::Readings))) {
        emit changed();
        return;
    }
    writeWholeRecoveryFile();
    emit changed();
}

void ReadingsList::takeOut(int row) {
    const auto at = [row](auto& values) { return values.begin() + row; };
    state_.readings.erase(at(state_.readings));
    state_.inclusion.erase(at(state_.inclusion));
    state_.geometry.erase(at(state_.geometry));
    state_.uncertainty.erase(at(state_.uncertainty));
    recompute();
    writeWholeRecoveryFile();
    emit changed();
}

void ReadingsList::writeWholeRecoveryFile() {
    if (!recoveryFile_) return;
    QByteArray bytes = kr::WriteReadingsCsv(state_.readings, state_.inclusion, series_,
                                            state_.tolerances, kr::CsvContent::Readings);
    // An earlier session's readings no longer in the list, undone or deleted, stay on disk.
    for (std::size_t i = 0; i < keptSafe_.readings.size(); ++i) {
        const Reading& reading = keptSafe_.readings[i];
        if (Holds(state_.readings, reading) || Holds(filed_, reading)) continue;
        const Geometry& geometry = keptSafe_.geometry[i];
        bytes += kr::CsvLine(reading, keptSafe_.inclusion[i], geometry,
                             ks::SingleReadingUncertainty(geometry, state_.tolerances),
                             state_.tolerances);
    }
    recoveryCurrent_ = recoveryFile_->write(bytes);
}

void ReadingsList::recompute() {
    const ks::SeriesResult previous = std::move(series_.result);
    series_.geometry = state_.geometry;
    series_.answerUncertainty = state_.uncertainty;
    series_.result = ks::CombineReadings(state_.readings, state_.geometry, state_.tolerances,
                                         state_.inclusion, &previous);
}
