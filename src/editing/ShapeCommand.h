#pragma once
// The step of an area or angle added, removed or changed: the record whole
// before and after (absent before: added; absent after: removed). Key
// nudges of the same shape merge into one step while their run lasts.

#include "editing/EditCommands.h"

#include <optional>
#include <variant>

class ShapeCommand : public AppliedCommand {
public:
    using Shape = std::variant<AreaRecord, AngleRecord>;
    // `selectedAfter`: what a removal leaves selected (-1: none).
    ShapeCommand(HistoryContext* context, int index, std::optional<Shape> before,
                 std::optional<Shape> after, int selectedAfter, EditRun run, int runNumber);
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    bool Unchanged() const { return m_before && m_after && *m_before == *m_after; }

protected:
    ShownStep Redo() override { return Apply(m_before, m_after); }
    ShownStep Undo() override { return Apply(m_after, m_before); }

private:
    // Turns the list from holding `from` at the index into holding `to`.
    ShownStep Apply(const std::optional<Shape>& from, const std::optional<Shape>& to);
    int m_index;
    std::optional<Shape> m_before;
    std::optional<Shape> m_after;
    int m_selectedAfter;
    EditRun m_run;
    int m_runNumber;
};
