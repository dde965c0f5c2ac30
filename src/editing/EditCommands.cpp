#include "editing/EditCommands.h"

#include <algorithm>
#include <utility>

namespace {
bool Valid(int index, size_t count) {
    return index >= 0 && static_cast<size_t>(index) < count;
}
} // namespace

void AppliedCommand::redo() {
    if (!m_bPushed) {
        m_bPushed = true; // pushed after the edit: nothing to do yet
        return;
    }
    m_context->Show(Redo());
}

void AppliedCommand::undo() {
    m_context->Show(Undo());
}

ChangeRecordsCommand::ChangeRecordsCommand(HistoryContext* context,
                                           std::vector<DimensionChange> dims,
                                           std::vector<NoteChange> notes, EditRun run,
                                           int runNumber)
    : AppliedCommand(context), m_dims(std::move(dims)), m_notes(std::move(notes)), m_run(run),
      m_runNumber(runNumber) {}

int ChangeRecordsCommand::id() const {
    // Only runs merge; every other change is a step of its own.
    return m_run == EditRun::None ? -1 : 1;
}

bool ChangeRecordsCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const ChangeRecordsCommand*>(other);
    if (!next || next->m_run != m_run || next->m_runNumber != m_runNumber ||
        next->m_dims.size() != m_dims.size() || next->m_notes.size() != m_notes.size())
        return false;
    for (size_t i = 0; i < m_dims.size(); ++i)
        if (m_dims[i].index != next->m_dims[i].index)
            return false;
    for (size_t i = 0; i < m_notes.size(); ++i)
        if (m_notes[i].index != next->m_notes[i].index)
            return false;
    for (size_t i = 0; i < m_dims.size(); ++i)
        m_dims[i].after = next->m_dims[i].after;
    for (size_t i = 0; i < m_notes.size(); ++i)
        m_notes[i].after = next->m_notes[i].after;
    // Typing that ends where it began leaves no step behind.
    setObsolete(Unchanged());
    return true;
}

bool ChangeRecordsCommand::Unchanged() const {
    for (const DimensionChange& c : m_dims)
        if (c.before != c.after)
            return false;
    for (const NoteChange& c : m_notes)
        if (c.before != c.after)
            return false;
    return true;
}

ShownStep ChangeRecordsCommand::Redo() {
    for (const DimensionChange& c : m_dims)
        if (Valid(c.index, Info().dimensions.size()))
            Info().dimensions[static_cast<size_t>(c.index)] = c.after;
    for (const NoteChange& c : m_notes)
        if (Valid(c.index, Info().notes.size()))
            Info().notes[static_cast<size_t>(c.index)] = c.after;
    return Shown();
}

ShownStep ChangeRecordsCommand::Undo() {
    for (const DimensionChange& c : m_dims)
        if (Valid(c.index, Info().dimensions.size()))
            Info().dimensions[static_cast<size_t>(c.index)] = c.before;
    for (const NoteChange& c : m_notes)
        if (Valid(c.index, Info().notes.size()))
            Info().notes[static_cast<size_t>(c.index)] = c.before;
    return Shown();
}

ShownStep ChangeRecordsCommand::Shown() const {
    ShownStep step;
    if (!m_dims.empty())
        step.dimension = m_dims.front().index;
    if (!m_notes.empty())
        step.note = m_notes.front().index;
    return step;
}

InsertRemoveCommand::InsertRemoveCommand(HistoryContext* context, Record record, int index,
                                         bool inserted, int selectedAfter, bool wasReference)
    : AppliedCommand(context), m_record(std::move(record)), m_index(index), m_bInserted(inserted),
      m_selectedAfter(selectedAfter), m_bWasReference(wasReference) {}

ShownStep InsertRemoveCommand::Redo() {
    return m_bInserted ? Insert() : Remove(m_selectedAfter);
}

ShownStep InsertRemoveCommand::Undo() {
    return m_bInserted ? Remove(-1) : Insert();
}

ShownStep InsertRemoveCommand::Insert() {
    ShownStep step;
    if (const auto* dim = std::get_if<Dimension>(&m_record)) {
        auto& list = Info().dimensions;
        const size_t at = std::min(static_cast<size_t>(m_index), list.size());
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), *dim);
        Info().reference.DimensionInserted(static_cast<int>(at), m_bWasReference);
        step.dimension = static_cast<int>(at);
    } else {
        auto& list = Info().notes;
        const size_t at = std::min(static_cast<size_t>(m_index), list.size());
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::get<InfoNote>(m_record));
        step.note = static_cast<int>(at);
    }
    return step;
}

ShownStep InsertRemoveCommand::Remove(int selected) {
    ShownStep step;
    if (std::holds_alternative<Dimension>(m_record)) {
        auto& list = Info().dimensions;
        if (Valid(m_index, list.size())) {
            list.erase(list.begin() + m_index);
            Info().reference.DimensionRemoved(m_index);
        }
        step.dimension = Valid(selected, list.size()) ? selected : -1;
    } else {
        auto& list = Info().notes;
        if (Valid(m_index, list.size()))
            list.erase(list.begin() + m_index);
        step.note = Valid(selected, list.size()) ? selected : -1;
    }
    return step;
}
