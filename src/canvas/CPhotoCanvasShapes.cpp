// CPhotoCanvas: the area and angle tools. Their points are kept here while
// they are placed; the finished shape is one edit-model step. With the select
// tool the selected area's corners and the selected angle's points have
// handles like a dimension's ends: a drag of one is one undo step.
#include "canvas/CPhotoCanvas.h"

#include "canvas/AreaNameDialog.h"
#include "canvas/EndPointHandles.h"
#include "canvas/HitTest.h"
#include "canvas/ViewModel.h"
#include "platform/Prompts.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>

namespace {
// A click this close (view pixels, either way) to the first corner closes
// the polygon; to the last one, it adds no corner.
constexpr int kCloseReach = 5;

bool Within(POINT v, POINT q, int reach) {
    return std::abs(int64_t(v.x) - q.x) <= reach && std::abs(int64_t(v.y) - q.y) <= reach;
}

// The points a selected shape has handles on.
std::vector<POINT> HandlePoints(const EditModel& model) {
    if (const AreaRecord* area = model.SelectedArea())
        return area->corners;
    if (const AngleRecord* angle = model.SelectedAngle())
        return {angle->arm1, angle->vertex, angle->arm2};
    return {};
}

POINT* AnglePoint(AngleRecord& angle, int index) {
    POINT* points[3] = {&angle.arm1, &angle.vertex, &angle.arm2};
    return index >= 0 && index < 3 ? points[index] : nullptr;
}
} // namespace

void CPhotoCanvas::CancelShape() {
    if (m_shapeClicks.empty())
        return;
    m_shapeClicks.clear();
    update();
}

void CPhotoCanvas::RemoveLastShapePoint() {
    if (m_shapeClicks.empty())
        return;
    m_shapeClicks.pop_back();
    update();
}

void CPhotoCanvas::PlaceShapePoint(POINT q) {
    if (!HasPhoto())
        return;
    const bool area = CurrentTool() == ToolArea;
    if (area && !m_shapeClicks.empty()) {
        if (m_shapeClicks.size() >= kMinAreaCorners &&
            Within(MapPoint(m_shapeClicks.front(), false), q, kCloseReach)) {
            CloseArea();
            return;
        }
        if (Within(MapPoint(m_shapeClicks.back(), false), q, kCloseReach))
            return;
    }
    m_shapeClicks.push_back(MapPoint(q, true));
    update();
    if (area || m_shapeClicks.size() < 3)
        return;
    AngleRecord angle;
    angle.colour = CurrentColour();
    angle.arm1 = m_shapeClicks[0];
    angle.vertex = m_shapeClicks[1];
    angle.arm2 = m_shapeClicks[2];
    angle.font = m_logFont;
    m_shapeClicks.clear();
    m_model.AddAngle(angle);
    PostNotify(CN_NOTHING_SELECTED);
}

void CPhotoCanvas::OnLButtonDblClk(POINT) {
    // The double click's first press placed its corner already.
    if (CurrentTool() == ToolArea && m_shapeClicks.size() >= kMinAreaCorners)
        CloseArea();
}

void CPhotoCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_panButton == Qt::NoButton &&
        CurrentTool() == ToolArea) {
        const QPoint p = event->position().toPoint();
        OnLButtonDblClk(POINT{p.x(), p.y()});
        return;
    }
    QWidget::mouseDoubleClickEvent(event); // a press, as before
}

void CPhotoCanvas::CloseArea() {
    AreaRecord area;
    area.colour = CurrentColour();
    area.corners.swap(m_shapeClicks);
    area.font = m_logFont;
    update();
    AreaNameDialog dialog(QByteArray(), window());
    if (Prompts().RunDialog(dialog) == QDialog::Accepted)
        area.name = dialog.Name().toStdString();
    m_model.AddArea(area);
    PostNotify(CN_NOTHING_SELECTED);
    update();
}

bool CPhotoCanvas::RenameSelectedArea() {
    const AreaRecord* area = m_model.SelectedArea();
    if (!area)
        return false;
    AreaNameDialog dialog(QByteArray::fromStdString(area->name), window());
    if (Prompts().RunDialog(dialog) != QDialog::Accepted)
        return false;
    const std::string name = dialog.Name().toStdString();
    m_model.ChangeSelectedArea([&name](AreaRecord& changed) { changed.name = name; });
    update();
    return true;
}

bool CPhotoCanvas::SelectShapeAt(POINT p) {
    // Angles lie over areas; the last drawn of each kind wins.
    const PhotoInfo& info = m_model.Info();
    int32_t angle = -1, area = -1;
    for (size_t i = info.angles.size(); i-- > 0 && angle < 0;)
        if (HitTestAngle(info.angles[i], p, m_fZoom))
            angle = static_cast<int32_t>(i);
    for (size_t i = info.areas.size(); angle < 0 && i-- > 0 && area < 0;)
        if (HitTestArea(info.areas[i], p, m_fZoom))
            area = static_cast<int32_t>(i);
    if (angle < 0 && area < 0)
        return false;
    m_model.SelectDimension(-1);
    m_model.SelectNote(-1);
    m_model.SelectAngle(angle);
    m_model.SelectArea(area);
    PostNotify(CN_NOTHING_SELECTED);
    update();
    m_bDragging = 1;
    return true;
}

int CPhotoCanvas::ShapeHandleAt(POINT q) const {
    if (CurrentTool() != ToolSelect)
        return -1;
    const std::vector<POINT> points = HandlePoints(m_model);
    for (size_t i = 0; i < points.size(); ++i) {
        const POINT v = MapPoint(points[i], false);
        if (handles::HandleAt(v, v, q) >= 0)
            return kShapeHandleFirst + static_cast<int>(i);
    }
    return -1;
}

void CPhotoCanvas::DragShapeHandle(POINT q) {
    const POINT delta = viewmodel::TakeWholePixels(m_ptLast, q, m_fZoom, m_panRemainder);
    m_handleFree.x += delta.x;
    m_handleFree.y += delta.y;
    const int index = m_nHandle - kShapeHandleFirst;
    if (AreaRecord* area = m_model.SelectedArea()) {
        if (index < static_cast<int>(area->corners.size()))
            area->corners[static_cast<size_t>(index)] = m_handleFree;
    } else if (AngleRecord* angle = m_model.SelectedAngle()) {
        if (POINT* point = AnglePoint(*angle, index))
            *point = m_handleFree;
    }
    update();
}

void CPhotoCanvas::DrawShapeHandles(QPainter& painter) const {
    if (CurrentTool() != ToolSelect)
        return;
    const int half = handles::kHandleSize / 2;
    for (const POINT& point : HandlePoints(m_model)) {
        const POINT v = MapPoint(point, false);
        painter.drawRect(
            QRect(v.x - half, v.y - half, handles::kHandleSize - 1, handles::kHandleSize - 1));
    }
}

void CPhotoCanvas::DrawShapeInProgress(QPainter& painter) {
    const int32_t tool = CurrentTool();
    if (m_shapeClicks.empty() || (tool != ToolArea && tool != ToolAngle))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(ColorRefToQColor(CurrentColour()), 1));
    QPolygon line;
    for (const POINT& point : m_shapeClicks) {
        const POINT v = MapPoint(point, false);
        line.append(QPoint(v.x, v.y));
    }
    line.append(CursorPosition());
    painter.drawPolyline(line);
    // The first corner's mark: a click on it closes the polygon.
    const QPoint first = line.front();
    painter.drawRect(
        QRect(first - QPoint(kCloseReach, kCloseReach), QSize(2 * kCloseReach, 2 * kCloseReach)));
    painter.restore();
}

void CPhotoCanvas::AddAreaMenuItems(QMenu& menu, const AreaRecord* selected) {
    if (!selected)
        return;
    menu.addSeparator();
    QAction* opening = menu.addAction(tr("開口"));
    opening->setData(static_cast<int>(ID_AREA_OPENING));
    opening->setCheckable(true);
    opening->setChecked(selected->opening);
    QAction* rename = menu.addAction(tr("重新命名區域(&N)..."));
    rename->setData(static_cast<int>(ID_RENAME_AREA));
}

bool CPhotoCanvas::HandleAreaCommand(int command) {
    switch (command) {
    case ID_AREA_OPENING:
        if (m_model.ChangeSelectedArea([](AreaRecord& area) { area.opening = !area.opening; }))
            update();
        return true;
    case ID_RENAME_AREA:
        RenameSelectedArea();
        return true;
    default:
        return false;
    }
}

POINT CPhotoCanvas::ShapePointAt(int index) const {
    const std::vector<POINT> points = HandlePoints(m_model);
    return index >= 0 && static_cast<size_t>(index) < points.size()
               ? points[static_cast<size_t>(index)]
               : POINT{0, 0};
}
