#pragma once

#include <QObject>
#include <QString>

#include <vector>

#include "readings/reading.h"
#include "readings/series.h"
#include "readings/tolerances.h"

class QUndoStack;

// The readings of this session and what the series makes of them, kept up to date after every
// change. Every change to the readings goes through the undo stack; the tolerances apply to all
// readings at once and are not undone.
class ReadingsList : public QObject {
    Q_OBJECT

  public:
    using Reading = kestramo::readings::Reading;
    using Inclusion = kestramo::readings::Inclusion;

    // The readings and the caller's say over each, one entry per reading.
    struct State {
        std::vector<Reading> readings;
        std::vector<Inclusion> inclusion;
    };

    explicit ReadingsList(QObject* parent = nullptr);
    ~ReadingsList() override;

    int size() const { return int(state_.readings.size()); }
    const std::vector<Reading>& readings() const { return state_.readings; }
    const Reading& reading(int row) const { return state_.readings[size_t(row)]; }
    Inclusion inclusion(int row) const { return state_.inclusion[size_t(row)]; }
    const kestramo::readings::SolvedSeries& series() const { return series_; }
    const kestramo::readings::Tolerances& tolerances() const { return tolerances_; }
    QUndoStack* undoStack() const { return undoStack_; }
    // The last reading that has answers, the one the measuring plan starts from; -1 for none.
    int lastSolvedRow() const;

    // Adds a reading at the end unless one with the same inputs is there already; false then.
    bool add(const Reading& reading);
    // Adds readings from a file at the end, leaving out those whose inputs are there already;
    // returns how many were added. One step to undo.
    int addAll(const std::vector<Reading>& readings, const QString& why);
    // Deletes the readings in `rows` (any order, duplicates ignored).
    void remove(std::vector<int> rows);
    // Lets the series decide (Automatic), keeps a reading in whatever it says (ForcedIn), or
    // leaves it out (ForcedOut, which is the reading's excluded flag).
    void setInclusion(int row, Inclusion inclusion);
    void setTolerances(const kestramo::readings::Tolerances& tolerances);

    // After every change the readings are also written to this file (atomically), so that
    // a session that ends unexpectedly loses nothing. Empty: no such file.
    void setRecoveryFile(const QString& path);

  signals:
    void changed();

  private:
    friend class ReadingsListCommand;
    void apply(const State& state);
    void pushChange(State after, const QString& text);
    void recompute();

    State state_;
    kestramo::readings::Tolerances tolerances_;
    kestramo::readings::SolvedSeries series_;
    QUndoStack* undoStack_;
    QString recoveryFile_;
};
