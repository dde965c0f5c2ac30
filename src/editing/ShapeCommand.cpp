#include "editing/ShapeCommand.h"

#include <algorithm>
#include <utility>

namespace {
template <class Record>
int ApplyTo(std::vector<Record>& list, int index, const Record* from, const Record* to,
            int selectedAfterRemoval) {
    const size_t count = list.size();
    const bool valid = index >= 0 && static_cast<size_t>(index) < count;
    if (!from && to) {
        const size_t at = std::min(static_cast<size_t>(std::max(index, 0)), count);
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), *to);
        return static_cast<int>(at);
    }
    if (from && !to) {
        if (valid)
            list.erase(list.begin() + index);
        const bool selectable =
            selectedAfterRemoval >= 0 && static_cast<size_t>(selectedAfterRemoval) < list.size();
        return selectable ? selectedAfterRemoval : -1;
    }
    if (valid && to)
        list[static_cast<size_t>(index)] = *to;
    return valid ? index : -1;
}

template <class Record> const Record* As(const std::optional<ShapeCommand::Shape>& shape) {
    return shape ? std::get_if<Record>(&*shape) : nullptr;
}
} // namespace

ShapeCommand::ShapeCommand(HistoryContext* context, int index, std::optional<Shape> before,
                           std::optional<Shape> after, int selectedAfter, EditRun run,
                           int runNumber)
    : AppliedCommand(context), m_index(index), m_before(std::move(before)),
      m_after(std::move(after)), m_selectedAfter(selectedAfter), m_run(run),
      m_runNumber(runNumber) {}

int ShapeCommand::id() const {
    return m_run == EditRun::None ? -1 : 2;
}

bool ShapeCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const ShapeCommand*>(other);
    if (!next || next->m_run != m_run || next->m_runNumber != m_runNumber ||
        next->m_index != m_index || !m_before || !m_after || !next->m_before || !next->m_after ||
        m_after->index() != next->m_after->index())
        return false;
    m_after = next->m_after;
    setObsolete(Unchanged());
    return true;
}

ShownStep ShapeCommand::Apply(const std::optional<Shape>& from, const std::optional<Shape>& to) {
    // A removal undone shows the shape again; a removal done shows what it left.
    const int afterRemoval = from && !to && &from == &m_before ? m_selectedAfter : -1;
    ShownStep step;
    const bool isArea = (from ? from->index() : to->index()) == 0;
    if (isArea)
        step.area =
            ApplyTo(Info().areas, m_index, As<AreaRecord>(from), As<AreaRecord>(to), afterRemoval);
    else
        step.angle = ApplyTo(Info().angles, m_index, As<AngleRecord>(from), As<AngleRecord>(to),
                             afterRemoval);
    return step;
}
