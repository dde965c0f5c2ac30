#pragma once
// The records of the photo shown, the selected dimension and note, and the
// edit history over them: every change the canvas and the window make goes
// through here, one undo step each, with the panel's rules for what is
// selected after a deletion. A plain class: the widgets show what it holds.

#include "document/PlaneHomography.h"
#include "editing/EditHistory.h"

#include <QString>
#include <functional>

class EditModel {
public:
    EditModel();
    EditModel(const EditModel&) = delete;
    EditModel& operator=(const EditModel&) = delete;

    // --- what it holds ---
    const PhotoInfo& Info() const { return m_info; }
    // The records themselves, to read a file into or to clear them; no step
    // is recorded for what is done through this.
    PhotoInfo& Records() { return m_info; }
    EditHistory& History() { return m_history; }
    const EditHistory& History() const { return m_history; }

    // --- selection (negative: none; an index past the end selects nothing) ---
    int32_t SelDim() const { return m_nSelDim; }
    int32_t SelNote() const { return m_nSelNote; }
    void SelectDimension(int32_t index) { m_nSelDim = index; }
    void SelectNote(int32_t index) { m_nSelNote = index; }
    Dimension* SelectedDimension();
    const Dimension* SelectedDimension() const;
    InfoNote* SelectedNote();
    const InfoNote* SelectedNote() const;

    // --- adding and changing records (EditModel.cpp) ---
    // The record goes to the end of its list and is selected.
    void AddDimension(const Dimension& dim);
    void AddNote(const InfoNote& note);
    // `change` edits the selected record; one step (merged into the run
    // `run`), none when nothing changed. False when nothing is selected.
    bool ChangeSelectedDimension(const std::function<void(Dimension&)>& change,
                                 EditRun run = EditRun::None);
    bool ChangeSelectedNote(const std::function<void(InfoNote&)>& change,
                            EditRun run = EditRun::None);
    // Every dimension takes the font or colour; one step.
    void SetAllDimensionFonts(const LOGFONTA& font);
    void SetAllDimensionColours(COLORREF colour);
    // Deletes the selected record, one step: the following record takes its
    // place in the selection; after the last, the new last; none when the
    // list is empty. A deleted reference dimension takes the mark with it.
    // False when nothing of the kind is selected.
    bool DeleteSelectedDimension();
    bool DeleteSelectedNote();

    // --- areas and angles (EditModelShapes.cpp) ---
    // Selected as dimensions and notes are (negative: none).
    int32_t SelArea() const { return m_nSelArea; }
    int32_t SelAngle() const { return m_nSelAngle; }
    void SelectArea(int32_t index) { m_nSelArea = index; }
    void SelectAngle(int32_t index) { m_nSelAngle = index; }
    AreaRecord* SelectedArea();
    const AreaRecord* SelectedArea() const;
    AngleRecord* SelectedAngle();
    const AngleRecord* SelectedAngle() const;
    // The shape goes to the end of its list and is selected; one step.
    void AddArea(const AreaRecord& area);
    void AddAngle(const AngleRecord& angle);
    // As ChangeSelectedDimension.
    bool ChangeSelectedArea(const std::function<void(AreaRecord&)>& change,
                            EditRun run = EditRun::None);
    bool ChangeSelectedAngle(const std::function<void(AngleRecord&)>& change,
                             EditRun run = EditRun::None);
    // As DeleteSelectedDimension.
    bool DeleteSelectedArea();
    bool DeleteSelectedAngle();

    // --- moving records (EditModelMoves.cpp) ---
    // Moves the selected record(s) by `delta` photo pixels, no step.
    void MoveSelection(POINT delta);
    // Moves them and records the move; a run of nudges is one step.
    void NudgeSelection(int32_t dx, int32_t dy);
    // A drag of the selected record(s), or of the selected dimension's end or
    // shape's point (`endOnly`: the note stays), from its start to
    // FinishRecordDrag is one step. A shape's point is moved through
    // SelectedArea() / SelectedAngle() meanwhile.
    void BeginRecordDrag(bool endOnly = false);
    // `normaliseEnds`: an end was dragged; the ends are stored as every
    // dimension's are.
    void FinishRecordDrag(bool normaliseEnds);
    // A drag of a reference plane's corner: one step, or none when the
    // corners no longer make a plane (they are put back, and `problem`
    // tells why when the plane check says so; empty when it folded over).
    void BeginPlaneDrag();
    void MovePlaneCorner(int corner, POINT at);
    bool FinishPlaneDrag(QString* problem);

    // --- the reference (EditModelReference.cpp), one step each ---
    // False when `index` names no dimension or (`on`) its value is no length.
    bool SetReferenceDimension(int index, bool on);
    // Sizes must be positive; the corners in the order OrderCorners gives.
    void SetReferencePlane(const Quad& corners, double widthMm, double heightMm);
    // False when there is no plane.
    bool DeleteReferencePlane();
    // Every dimension without a value gets its computed length in whole mm;
    // how many were written.
    int WriteComputedValues();
    bool HasComputedValue() const;

    // --- history ---
    // Called after each undo and redo, once the selection is what the step
    // shows.
    void SetShowStep(std::function<void(const ShownStep&)> show);
    // A new photo: no records, no selection, a new history.
    void Clear();

private:
    void ShowStep(const ShownStep& step);

    PhotoInfo m_info;
    int32_t m_nSelDim = -1;
    int32_t m_nSelNote = -1;
    int32_t m_nSelArea = -1;
    int32_t m_nSelAngle = -1;
    EditHistory m_history{m_info};
    std::function<void(const ShownStep&)> m_show;
    // The records before a drag began (index -1: not dragged).
    int32_t m_nDragDim = -1;
    int32_t m_nDragNote = -1;
    Dimension m_dragDimBefore;
    InfoNote m_dragNoteBefore;
    int32_t m_nDragArea = -1;
    int32_t m_nDragAngle = -1;
    AreaRecord m_dragAreaBefore;
    AngleRecord m_dragAngleBefore;
    MeasureReference m_planeDragBefore;
};
