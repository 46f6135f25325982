#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include "readings/reading.h"
#include "readings/series.h"
#include "readings/tolerances.h"

class QUndoStack;
namespace recovery_file {
class SessionFile;
}

// The readings of this session and what the series makes of them, kept up to date after every
// change. Every change, of the readings and of the tolerances, goes through the undo stack.
class ReadingsList : public QObject {
    Q_OBJECT

  public:
    using Reading = kestramo::readings::Reading;
    using Inclusion = kestramo::readings::Inclusion;
    using Tolerances = kestramo::readings::Tolerances;

    // The readings, the caller's say over each (one entry per reading), and the tolerances.
    struct State {
        std::vector<Reading> readings;
        std::vector<Inclusion> inclusion;
        Tolerances tolerances;
    };

    explicit ReadingsList(QObject* parent = nullptr);
    // The end of the session: its recovery file goes when every reading in it is in a readings
    // file the user saved or opened; otherwise it stays for a later session to offer.
    ~ReadingsList() override;

    int size() const { return int(state_.readings.size()); }
    const std::vector<Reading>& readings() const { return state_.readings; }
    const Reading& reading(int row) const { return state_.readings[size_t(row)]; }
    Inclusion inclusion(int row) const { return state_.inclusion[size_t(row)]; }
    const kestramo::readings::SolvedSeries& series() const { return series_; }
    const Tolerances& tolerances() const { return state_.tolerances; }
    QUndoStack* undoStack() const { return undoStack_; }
    // The last reading that has answers, the one the measuring plan starts from; -1 for none.
    int lastSolvedRow() const;

    // Adds a reading at the end unless one with the same inputs is there already; false then.
    bool add(const Reading& reading);
    // Adds readings from a file at the end, leaving out those whose inputs are there already,
    // and with `tolerances`, when given, for the whole list; returns how many were added. One
    // step to undo.
    int addAll(const std::vector<Reading>& readings, const QString& why,
               const std::optional<Tolerances>& tolerances = std::nullopt);
    // Deletes the readings in `rows` (any order, duplicates ignored).
    void remove(std::vector<int> rows);
    // Lets the series decide (Automatic), keeps a reading in whatever it says (ForcedIn), or
    // leaves it out (ForcedOut, which is the reading's excluded flag).
    void setInclusion(int row, Inclusion inclusion);
    void setTolerances(const Tolerances& tolerances);

    // After every change the list is also written to a recovery file of this session's own in
    // `folder` (made with the first change), so that a session that ends unexpectedly loses
    // nothing. Until this is called, no such file is kept.
    void keepRecoveryFileIn(const QString& folder);
    // The folder given above; empty when there is none.
    const QString& recoveryFolder() const { return recoveryFolder_; }
    // True when the recovery file holds the list as it is now.
    bool recoveryFileIsCurrent() const { return recoveryCurrent_; }
    // These readings are in a readings file now, saved or opened by the user.
    void markFiled(const std::vector<Reading>& readings);
    // True when some reading of the list is in no readings file the user saved or opened.
    bool hasUnfiledReadings() const;

  signals:
    void changed();

  private:
    friend class ReadingsListCommand;
    void apply(const State& state);
    void pushChange(State after, const QString& text);
    void recompute();

    State state_;
    kestramo::readings::SolvedSeries series_;
    QUndoStack* undoStack_;
    QString recoveryFolder_;
    std::unique_ptr<recovery_file::SessionFile> recoveryFile_;
    bool recoveryCurrent_ = true;  // nothing to write yet
    std::vector<Reading> filed_;
};
