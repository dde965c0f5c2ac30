#pragma once
// The steps of the edit history. Every command is pushed after its edit has
// been made (its first redo does nothing) and holds only what changed: the
// indexes and the records or fields before and after, never the document.

#include "document/PhotoInfo.h"
#include "editing/ValueRuns.h"

#include <QUndoCommand>
#include <functional>
#include <variant>
#include <vector>

// What an undone or redone step shows: the records to select (-1: none), or
// the selection kept as it is when every dimension changed.
struct ShownStep {
    int dimension = -1;
    int note = -1;
    bool keepSelection = false;
    int area = -1;
    int angle = -1;
};

// The document the commands act on and the canvas's answer to each undo and
// redo. Owned by the history; commands hold a pointer to it.
struct HistoryContext {
    PhotoInfo* info = nullptr;
    std::function<void(const ShownStep&)> show;
    void Show(const ShownStep& step) const {
        if (show)
            show(step);
    }
};

// Which run of edits a change belongs to: typing into one field of one
// record, or key nudges of the same records, merge into one step while the
// run lasts.
enum class EditRun { None, Value, Title, Text, Nudge };

// Base: the first redo (inside QUndoStack::push) skips, the edit is done.
class AppliedCommand : public QUndoCommand {
public:
    explicit AppliedCommand(HistoryContext* context) : m_context(context) {}
    void redo() final;
    void undo() final;

protected:
    virtual ShownStep Redo() = 0;
    virtual ShownStep Undo() = 0;
    PhotoInfo& Info() const { return *m_context->info; }

private:
    HistoryContext* m_context;
    bool m_bPushed = false;
};

// One or two records changed in place (moved, an end dragged, typed into,
// given a font or colour, a range reading), kept whole before and after.
class ChangeRecordsCommand : public AppliedCommand {
public:
    struct DimensionChange {
        int index;
        Dimension before;
        Dimension after;
    };
    struct NoteChange {
        int index;
        InfoNote before;
        InfoNote after;
    };
    ChangeRecordsCommand(HistoryContext* context, std::vector<DimensionChange> dims,
                         std::vector<NoteChange> notes, EditRun run, int runNumber);
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    bool Unchanged() const;

protected:
    ShownStep Redo() override;
    ShownStep Undo() override;

private:
    ShownStep Shown() const;
    std::vector<DimensionChange> m_dims;
    std::vector<NoteChange> m_notes;
    EditRun m_run;
    int m_runNumber;
};

// A record added (undo removes it) or removed (undo puts it back).
class InsertRemoveCommand : public AppliedCommand {
public:
    using Record = std::variant<Dimension, InfoNote>;
    // `inserted`: the step added the record at `index`; else it removed it
    // from there, and `selectedAfter` is what the removal left selected.
    // `wasReference`: the removed dimension was the reference length; it is
    // again when the removal is undone.
    InsertRemoveCommand(HistoryContext* context, Record record, int index, bool inserted,
                        int selectedAfter, bool wasReference = false);

protected:
    ShownStep Redo() override;
    ShownStep Undo() override;

private:
    ShownStep Insert();
    ShownStep Remove(int selected);
    Record m_record;
    int m_index;
    bool m_bInserted;
    int m_selectedAfter;
    bool m_bWasReference;
};

// One field of every dimension set to one value; the old values as runs.
template <class T> class AllDimensionsCommand : public AppliedCommand {
public:
    AllDimensionsCommand(HistoryContext* context, T Dimension::*field, ValueRuns<T> before,
                         const T& after)
        : AppliedCommand(context), m_field(field), m_before(std::move(before)), m_after(after) {}

protected:
    ShownStep Redo() override {
        for (Dimension& dim : Info().dimensions)
            dim.*m_field = m_after;
        return ShownStep{-1, -1, true};
    }
    ShownStep Undo() override {
        m_before.ApplyTo(Info().dimensions, m_field);
        return ShownStep{-1, -1, true};
    }

private:
    T Dimension::*m_field;
    ValueRuns<T> m_before;
    T m_after;
};
