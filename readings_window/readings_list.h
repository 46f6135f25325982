#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include "series/reading.h"
#include "series/series.h"
#include "series/shadow_model.h"
#include "series/tolerances.h"

class QUndoStack;
namespace recovery_file {
class SessionFile;
}

// The readings of this session and what the series makes of them, kept up to date after every
// change. The readings stand in the order they were taken: by date, then clock time, and in the
// order they came where both are the same. Every change, of the readings and of the tolerances,
// goes through the undo stack. Each reading is worked out once, when it comes; the fit of the
// series starts from the last one.
class ReadingsList : public QObject {
    Q_OBJECT

  public:
    using Reading = kestramo::series::Reading;
    using Inclusion = kestramo::series::Inclusion;
    using Tolerances = kestramo::series::Tolerances;
    using Geometry = kestramo::series::ReadingGeometry;

    // The readings, the caller's say over each, what each says on its own (one entry per
    // reading), and the tolerances.
    struct State {
        std::vector<Reading> readings;
        std::vector<Inclusion> inclusion;
        std::vector<Geometry> geometry;
        std::vector<kestramo::series::AnswerUncertainty> uncertainty;  // with `tolerances`
        Tolerances tolerances;
    };

    explicit ReadingsList(QObject* parent = nullptr);
    // The end of the session: its recovery file goes when every reading in it is in a readings
    // file the user saved or opened; otherwise it stays for a later session to offer.
    ~ReadingsList() override;

    int size() const { return int(state_.readings.size()); }
    const std::vector<Reading>& readings() const { return state_.readings; }
    const std::vector<Inclusion>& inclusions() const { return state_.inclusion; }
    const Reading& reading(int row) const { return state_.readings[size_t(row)]; }
    Inclusion inclusion(int row) const { return state_.inclusion[size_t(row)]; }
    const kestramo::series::SolvedSeries& series() const { return series_; }
    const Tolerances& tolerances() const { return state_.tolerances; }
    QUndoStack* undoStack() const { return undoStack_; }
    // True when some reading was taken otherwise than with a square.
    bool holdsOtherKinds() const;
    // The latest reading the series uses (by date and clock time), the one the measuring plan
    // starts from; -1 for none.
    int latestRow() const { return series_.result.latest; }

    // Adds a reading in its place unless one with the same inputs is there already; false then.
    // `geometry` is what the reading says on its own, when the caller has worked it out.
    bool add(const Reading& reading, const std::optional<Geometry>& geometry = std::nullopt);
    // Adds readings (from a file, with the user's say over each and what each says) in their
    // places, leaving out those whose inputs are there already, and with `tolerances`, when
    // given, for the whole list; returns how many were added. One step to undo.
    int addAll(const std::vector<Reading>& readings, const std::vector<Inclusion>& inclusion,
               const std::vector<Geometry>& geometry, const QString& why,
               const std::optional<Tolerances>& tolerances = std::nullopt);
    // Puts `reading` in place of the one in `row`, which keeps the user's say over it, in one
    // step to undo; the reading moves to where its date and time put it. Returns its row, or
    // -1 when nothing changed: the same inputs, or those of another reading of the list. The
    // reading an edit takes away, and the one its undo takes away, stay in the recovery file,
    // left out, as readings kept safe do.
    int replace(int row, const Reading& reading);
    // The row of the reading with the same inputs as `reading`; -1 for none.
    int rowOf(const Reading& reading) const;
    // Deletes the readings in `rows` (any order, duplicates ignored).
    void remove(std::vector<int> rows);
    // Lets the series decide (Automatic), keeps a reading in whatever it says (ForcedIn), or
    // leaves it out (ForcedOut).
    void setInclusion(int row, Inclusion inclusion);
    void setTolerances(const Tolerances& tolerances);

    // After every change the list is also written to a recovery file of this session's own in
    // `folder` (made with the first change), so that a session that ends unexpectedly loses
    // nothing: a reading more is one line more, anything else the whole file anew. Until this
    // is called, no such file is kept.
    void keepRecoveryFileIn(const QString& folder);
    // The folder given above; empty when there is none.
    const QString& recoveryFolder() const { return recoveryFolder_; }
    // True when the recovery file holds the list as it is now.
    bool recoveryFileIsCurrent() const { return recoveryCurrent_; }
    // These readings are in a readings file now, saved or opened by the user.
    void markFiled(const std::vector<Reading>& readings);
    // Readings taken in from an earlier session's recovery file, which goes once this session's
    // holds them: this session's file keeps them from now on whatever is undone or deleted,
    // until they are in a file the user saved or opened. The recovery file is written anew.
    void keepSafe(const std::vector<Reading>& readings, const std::vector<Inclusion>& inclusion,
                  const std::vector<Geometry>& geometry);
    // True when some reading of the list, or one kept safe, is in no readings file the user
    // saved or opened.
    bool hasUnfiledReadings() const;

  signals:
    void changed();

  private:
    friend class ReadingsListCommand;
    friend class InsertCommand;
    void apply(const State& state);
    // Keeps the readings of the list that `next` does not hold safe in the recovery file.
    void keepSafeWhatGoes(const State& next);
    // A reading put in at `row`, and taken out again: what the undo stack keeps of an addition
    // is the reading added, not the whole list twice.
    void insert(int row, const State& one);
    void takeOut(int row);
    void writeWholeRecoveryFile();
    void pushChange(State after, const QString& text);
    void recompute();

    State state_;
    kestramo::series::SolvedSeries series_;
    QUndoStack* undoStack_;
    QString recoveryFolder_;
    std::unique_ptr<recovery_file::SessionFile> recoveryFile_;
    bool recoveryCurrent_ = true;  // nothing to write yet
    std::vector<Reading> filed_;
    // Readings of earlier sessions and readings edits took away, with what each says; no
    // tolerances.
    State keptSafe_;
};
