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

// Readings added at the end of the list: redone by adding them again, undone by taking them off.
class AppendCommand : public QUndoCommand {
  public:
    AppendCommand(ReadingsList* list, ReadingsList::State rows, const QString& text)
        : QUndoCommand(text), list_(list), rows_(std::move(rows)) {}

    void redo() override { list_->append(rows_); }
    void undo() override { list_->takeOff(rows_.readings.size()); }

  private:
    ReadingsList* list_;
    ReadingsList::State rows_;  // the readings added, with what they say; no tolerances
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
    undoStack_->push(new AppendCommand(this, std::move(rows), tr("Add Reading")));
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
    if (added > 0 || after.tolerances != state_.tolerances) pushChange(std::move(after), why);
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

void ReadingsList::append(const State& rows) {
    const std::size_t before = state_.readings.size();
    const auto add = [](auto& to, const auto& from) {
        to.insert(to.end(), from.begin(), from.end());
    };
    add(state_.readings, rows.readings);
    add(state_.inclusion, rows.inclusion);
    add(state_.geometry, rows.geometry);
    add(state_.uncertainty, rows.uncertainty);
    // The rows were worked out with the tolerances of their day; those of the list count now.
    if (rows.tolerances != state_.tolerances) {
        for (std::size_t i = before; i < state_.geometry.size(); ++i) {
            state_.uncertainty[i] =
                ks::SingleReadingUncertainty(state_.geometry[i], state_.tolerances);
        }
    }
    recompute();
    const bool oneMore = rows.readings.size() == 1 && recoveryFile_ && recoveryCurrent_;
    if (oneMore &&
        recoveryFile_->append(
            kr::CsvLine(state_.readings.back(), state_.inclusion.back(), state_.geometry.back(),
                        state_.uncertainty.back(), state_.tolerances),
            kr::CsvHeader(kr::CsvContent::Readings))) {
        emit changed();
        return;
    }
    writeWholeRecoveryFile();
    emit changed();
}

void ReadingsList::takeOff(std::size_t count) {
    const std::size_t size = state_.readings.size() - std::min(count, state_.readings.size());
    state_.readings.resize(size);
    state_.inclusion.resize(size);
    state_.geometry.resize(size);
    state_.uncertainty.resize(size);
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
