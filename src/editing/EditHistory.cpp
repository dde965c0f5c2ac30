#include "editing/EditHistory.h"

namespace {
bool Valid(int index, size_t count) {
    return index >= 0 && static_cast<size_t>(index) < count;
}
} // namespace

EditHistory::EditHistory(PhotoInfo& info) {
    m_context.info = &info;
    // One step is what the user did; there is no limit on the number of
    // steps, and each holds only what changed.
    m_stack.setUndoLimit(0);
}

void EditHistory::SetShowStep(std::function<void(const ShownStep&)> show) {
    m_context.show = std::move(show);
}

void EditHistory::DimensionAdded(int index) {
    const auto& list = m_context.info->dimensions;
    if (!Valid(index, list.size()))
        return;
    EndRun();
    m_stack.push(
        new InsertRemoveCommand(&m_context, list[static_cast<size_t>(index)], index, true, index));
}

void EditHistory::NoteAdded(int index) {
    const auto& list = m_context.info->notes;
    if (!Valid(index, list.size()))
        return;
    EndRun();
    m_stack.push(
        new InsertRemoveCommand(&m_context, list[static_cast<size_t>(index)], index, true, index));
}

void EditHistory::DimensionRemoved(int index, const Dimension& removed, int selectedAfter,
                                   bool wasReference) {
    EndRun();
    m_stack.push(
        new InsertRemoveCommand(&m_context, removed, index, false, selectedAfter, wasReference));
}

void EditHistory::NoteRemoved(int index, const InfoNote& removed, int selectedAfter) {
    EndRun();
    m_stack.push(new InsertRemoveCommand(&m_context, removed, index, false, selectedAfter));
}

void EditHistory::RecordsChanged(int dimIndex, const Dimension& dimBefore, int noteIndex,
                                 const InfoNote& noteBefore, EditRun run) {
    const PhotoInfo& info = *m_context.info;
    std::vector<ChangeRecordsCommand::DimensionChange> dims;
    std::vector<ChangeRecordsCommand::NoteChange> notes;
    if (Valid(dimIndex, info.dimensions.size())) {
        const Dimension& now = info.dimensions[static_cast<size_t>(dimIndex)];
        dims.push_back({dimIndex, dimBefore, now});
    }
    if (Valid(noteIndex, info.notes.size())) {
        const InfoNote& now = info.notes[static_cast<size_t>(noteIndex)];
        notes.push_back({noteIndex, noteBefore, now});
    }
    PushChange(
        new ChangeRecordsCommand(&m_context, std::move(dims), std::move(notes), run, m_runNumber),
        run);
}

template <class Command> void EditHistory::PushChange(Command* command, EditRun run) {
    if (run == EditRun::None)
        EndRun();
    if (command->Unchanged()) {
        if (run == EditRun::None) {
            delete command;
            return;
        }
        // An obsolete command is never added as a step of its own, but it
        // still merges into its run, which can then drop the run's step.
        command->setObsolete(true);
    }
    m_stack.push(command);
}

void EditHistory::DimensionChanged(int index, const Dimension& before, EditRun run) {
    RecordsChanged(index, before, -1, InfoNote{}, run);
}

void EditHistory::NoteChanged(int index, const InfoNote& before, EditRun run) {
    RecordsChanged(-1, Dimension{}, index, before, run);
}

void EditHistory::AllColoursChanged(ValueRuns<COLORREF> before) {
    const auto& list = m_context.info->dimensions;
    if (list.empty() || before.AllEqual(list.front().colour))
        return;
    EndRun();
    const COLORREF after = list.front().colour;
    m_stack.push(new AllDimensionsCommand<COLORREF>(&m_context, &Dimension::colour,
                                                    std::move(before), after));
}

void EditHistory::AllFontsChanged(ValueRuns<LOGFONTA> before) {
    const auto& list = m_context.info->dimensions;
    if (list.empty() || before.AllEqual(list.front().font))
        return;
    EndRun();
    const LOGFONTA after = list.front().font;
    m_stack.push(
        new AllDimensionsCommand<LOGFONTA>(&m_context, &Dimension::font, std::move(before), after));
}

void EditHistory::ShapeChanged(int index, std::optional<ShapeCommand::Shape> before,
                               std::optional<ShapeCommand::Shape> after, int selectedAfter,
                               EditRun run) {
    PushChange(new ShapeCommand(&m_context, index, std::move(before), std::move(after),
                                selectedAfter, run, m_runNumber),
               run);
}

void EditHistory::Undo() {
    EndRun();
    m_stack.undo();
}

void EditHistory::Redo() {
    EndRun();
    m_stack.redo();
}

void EditHistory::Clear() {
    EndRun();
    m_stack.clear();
}
