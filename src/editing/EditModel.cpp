#include "editing/EditModel.h"

#include "editing/RecordLists.h"

using recordlists::At;
using recordlists::ChangeRecord;
using recordlists::TakeSelected;

#include <utility>

EditModel::EditModel() {
    m_history.SetShowStep([this](const ShownStep& step) { ShowStep(step); });
}

Dimension* EditModel::SelectedDimension() {
    return At(m_info.dimensions, m_nSelDim);
}

const Dimension* EditModel::SelectedDimension() const {
    return At(const_cast<std::vector<Dimension>&>(m_info.dimensions), m_nSelDim);
}

InfoNote* EditModel::SelectedNote() {
    return At(m_info.notes, m_nSelNote);
}

const InfoNote* EditModel::SelectedNote() const {
    return At(const_cast<std::vector<InfoNote>&>(m_info.notes), m_nSelNote);
}

void EditModel::AddDimension(const Dimension& dim) {
    m_info.dimensions.push_back(dim);
    m_nSelDim = static_cast<int32_t>(m_info.dimensions.size()) - 1;
    m_history.DimensionAdded(m_nSelDim);
}

void EditModel::AddNote(const InfoNote& note) {
    m_nSelNote = static_cast<int32_t>(m_info.notes.size());
    m_info.notes.push_back(note);
    m_history.NoteAdded(m_nSelNote);
}

bool EditModel::ChangeSelectedDimension(const std::function<void(Dimension&)>& change,
                                        EditRun run) {
    return ChangeRecord(SelectedDimension(), change, [&](const Dimension& before) {
        m_history.DimensionChanged(m_nSelDim, before, run);
    });
}

bool EditModel::ChangeSelectedNote(const std::function<void(InfoNote&)>& change, EditRun run) {
    return ChangeRecord(SelectedNote(), change, [&](const InfoNote& before) {
        m_history.NoteChanged(m_nSelNote, before, run);
    });
}

void EditModel::SetAllDimensionFonts(const LOGFONTA& font) {
    auto before = ValueRuns<LOGFONTA>::Of(m_info.dimensions, &Dimension::font);
    for (Dimension& dim : m_info.dimensions)
        dim.font = font;
    m_history.AllFontsChanged(std::move(before));
}

void EditModel::SetAllDimensionColours(COLORREF colour) {
    auto before = ValueRuns<COLORREF>::Of(m_info.dimensions, &Dimension::colour);
    for (Dimension& dim : m_info.dimensions)
        dim.colour = colour;
    m_history.AllColoursChanged(std::move(before));
}

bool EditModel::DeleteSelectedDimension() {
    if (!SelectedDimension())
        return false;
    const int32_t index = m_nSelDim;
    const bool wasReference = m_info.reference.dimension == index;
    const Dimension removed = TakeSelected(m_info.dimensions, m_nSelDim);
    m_info.reference.DimensionRemoved(index);
    m_history.DimensionRemoved(index, removed, m_nSelDim, wasReference);
    return true;
}

bool EditModel::DeleteSelectedNote() {
    if (!SelectedNote())
        return false;
    const int32_t index = m_nSelNote;
    const InfoNote removed = TakeSelected(m_info.notes, m_nSelNote);
    m_history.NoteRemoved(index, removed, m_nSelNote);
    return true;
}

void EditModel::SetShowStep(std::function<void(const ShownStep&)> show) {
    m_show = std::move(show);
}

void EditModel::ShowStep(const ShownStep& step) {
    if (!step.keepSelection) {
        m_nSelDim = step.dimension;
        m_nSelNote = step.note;
        m_nSelArea = step.area;
        m_nSelAngle = step.angle;
    }
    if (!SelectedDimension())
        m_nSelDim = -1;
    if (!SelectedNote())
        m_nSelNote = -1;
    if (!SelectedArea())
        m_nSelArea = -1;
    if (!SelectedAngle())
        m_nSelAngle = -1;
    if (m_show)
        m_show(step);
}

void EditModel::Clear() {
    m_nSelDim = -1;
    m_nSelNote = -1;
    m_nSelArea = -1;
    m_nSelAngle = -1;
    m_info.Clear();
    m_history.Clear();
}
