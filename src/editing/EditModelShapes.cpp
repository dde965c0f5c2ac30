// EditModel: areas and angles added, changed and deleted, one step each.
#include "editing/EditModel.h"

#include "editing/RecordLists.h"

using recordlists::At;
using recordlists::ChangeRecord;
using recordlists::TakeSelected;

AreaRecord* EditModel::SelectedArea() {
    return At(m_info.areas, m_nSelArea);
}

const AreaRecord* EditModel::SelectedArea() const {
    return At(const_cast<std::vector<AreaRecord>&>(m_info.areas), m_nSelArea);
}

AngleRecord* EditModel::SelectedAngle() {
    return At(m_info.angles, m_nSelAngle);
}

const AngleRecord* EditModel::SelectedAngle() const {
    return At(const_cast<std::vector<AngleRecord>&>(m_info.angles), m_nSelAngle);
}

void EditModel::AddArea(const AreaRecord& area) {
    m_nSelArea = static_cast<int32_t>(m_info.areas.size());
    m_info.areas.push_back(area);
    m_history.ShapeChanged(m_nSelArea, std::nullopt, area);
}

void EditModel::AddAngle(const AngleRecord& angle) {
    m_nSelAngle = static_cast<int32_t>(m_info.angles.size());
    m_info.angles.push_back(angle);
    m_history.ShapeChanged(m_nSelAngle, std::nullopt, angle);
}

bool EditModel::ChangeSelectedArea(const std::function<void(AreaRecord&)>& change, EditRun run) {
    return ChangeRecord(SelectedArea(), change, [&](const AreaRecord& before) {
        m_history.ShapeChanged(m_nSelArea, before, *SelectedArea(), -1, run);
    });
}

bool EditModel::ChangeSelectedAngle(const std::function<void(AngleRecord&)>& change, EditRun run) {
    return ChangeRecord(SelectedAngle(), change, [&](const AngleRecord& before) {
        m_history.ShapeChanged(m_nSelAngle, before, *SelectedAngle(), -1, run);
    });
}

bool EditModel::DeleteSelectedArea() {
    if (!SelectedArea())
        return false;
    const int32_t index = m_nSelArea;
    AreaRecord removed = TakeSelected(m_info.areas, m_nSelArea);
    m_history.ShapeChanged(index, std::move(removed), std::nullopt, m_nSelArea);
    return true;
}

bool EditModel::DeleteSelectedAngle() {
    if (!SelectedAngle())
        return false;
    const int32_t index = m_nSelAngle;
    AngleRecord removed = TakeSelected(m_info.angles, m_nSelAngle);
    m_history.ShapeChanged(index, std::move(removed), std::nullopt, m_nSelAngle);
    return true;
}
