// The steps of the edit history for the reference length and plane, and for
// computed values written into the dimensions.

#include "editing/EditHistory.h"
#include "editing/ReferenceCommand.h"

ShownStep ReferenceCommand::Redo() {
    Info().reference = m_after;
    return ShownStep{m_after.dimension, -1, m_after.dimension < 0};
}

ShownStep ReferenceCommand::Undo() {
    Info().reference = m_before;
    return ShownStep{m_before.dimension, -1, m_before.dimension < 0};
}

void EditHistory::ReferenceChanged(const MeasureReference& before) {
    const MeasureReference& now = m_context.info->reference;
    if (now == before)
        return;
    EndRun();
    m_stack.push(new ReferenceCommand(&m_context, before, now));
}

void EditHistory::DimensionsChanged(std::vector<ChangeRecordsCommand::DimensionChange> changes) {
    if (changes.empty())
        return;
    EndRun();
    m_stack.push(
        new ChangeRecordsCommand(&m_context, std::move(changes), {}, EditRun::None, m_runNumber));
}
