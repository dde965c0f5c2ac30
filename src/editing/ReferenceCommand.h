#pragma once
// The step of the edit history that marks or moves the reference length, or
// sets, moves or removes the reference plane: the reference before and after.

#include "editing/EditCommands.h"

class ReferenceCommand : public AppliedCommand {
public:
    ReferenceCommand(HistoryContext* context, MeasureReference before, MeasureReference after)
        : AppliedCommand(context), m_before(std::move(before)), m_after(std::move(after)) {}

protected:
    ShownStep Redo() override;
    ShownStep Undo() override;

private:
    MeasureReference m_before;
    MeasureReference m_after;
};
