#pragma once
// The undo history of the photo shown: one QUndoStack over the canvas's
// records. Every edit is made first and then recorded here as one step;
// typing into one field of one record, and key nudges of the same records,
// merge into one step until the run ends (another record or field, focus
// elsewhere, a click, an undo). The clean state is the state last loaded or
// saved.

#include "editing/EditCommands.h"
#include "editing/ShapeCommand.h"

#include <QUndoStack>

class EditHistory {
public:
    explicit EditHistory(PhotoInfo& info);

    QUndoStack& Stack() { return m_stack; }
    const QUndoStack& Stack() const { return m_stack; }
    // Called after each undo and redo with what the step changed.
    void SetShowStep(std::function<void(const ShownStep&)> show);

    // --- steps, each recorded after the edit was made ---
    // The record now at `index` was added there.
    void DimensionAdded(int index);
    void NoteAdded(int index);
    // `removed` was taken out of `index`; `selectedAfter` is the selection
    // the removal left (-1: none).
    void DimensionRemoved(int index, const Dimension& removed, int selectedAfter,
                          bool wasReference = false);
    void NoteRemoved(int index, const InfoNote& removed, int selectedAfter);
    // The dimension and/or note at the indexes changed from `before` to what
    // they hold now (an index below 0 names none). Nothing is recorded when
    // nothing changed.
    void RecordsChanged(int dimIndex, const Dimension& dimBefore, int noteIndex,
                        const InfoNote& noteBefore, EditRun run = EditRun::None);
    void DimensionChanged(int index, const Dimension& before, EditRun run = EditRun::None);
    void NoteChanged(int index, const InfoNote& before, EditRun run = EditRun::None);
    // Every dimension's colour or font was set to what the first one holds
    // now; `before` holds the old values.
    void AllColoursChanged(ValueRuns<COLORREF> before);
    void AllFontsChanged(ValueRuns<LOGFONTA> before);
    // The reference length or plane changed from `before` to what the
    // document holds now (EditHistoryReference.cpp).
    void ReferenceChanged(const MeasureReference& before);
    // Several dimensions changed at once (computed values written in), one step.
    void DimensionsChanged(std::vector<ChangeRecordsCommand::DimensionChange> changes);

    // An area or angle at `index` added (no `before`), removed (no `after`,
    // `selectedAfter` what the removal left selected) or changed. Nothing is
    // recorded when a change changed nothing.
    void ShapeChanged(int index, std::optional<ShapeCommand::Shape> before,
                      std::optional<ShapeCommand::Shape> after, int selectedAfter = -1,
                      EditRun run = EditRun::None);

    // The next typing or nudge starts a step of its own.
    void EndRun() { ++m_runNumber; }

    void Undo();
    void Redo();
    // A new photo: a new, empty history.
    void Clear();
    // The records are as last loaded or saved.
    void MarkSaved() { m_stack.setClean(); }

private:
    // Pushes a change made (after ending the run unless it belongs to one);
    // a change that changed nothing is no step, but merges into its run.
    template <class Command> void PushChange(Command* command, EditRun run);

    HistoryContext m_context;
    QUndoStack m_stack;
    int m_runNumber = 0;
};
