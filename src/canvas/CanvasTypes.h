#pragma once
// Codes shared by the canvas and the main dialog.

#include <cstdint>

// Tools; the values are the positions of the tool buttons in their group.
enum Tool : int32_t { ToolDrag = 0, ToolDimension = 1, ToolNote = 2, ToolSelect = 3 };
// The tools added after the first four, in the same group.
enum ShapeTool : int32_t { ToolArea = 4, ToolAngle = 5 };

// Zoom commands of SetZoom.
enum ZoomCommand : int { ZoomIn = 1, ZoomOut = 2, ZoomActual = 3, ZoomFit = 4 };

// Codes of the canvas's notification to the main dialog.
enum CanvasNotifyCode : int {
    CN_DIMENSION_SELECTED = 0,
    CN_NOTE_SELECTED = 1,
    CN_NOTHING_SELECTED = 9,
    CN_DIMENSION_ADDED = 10,
    CN_NOTE_ADDED = 11,
};

// Commands of the canvas's context menu, carried out by the main dialog.
enum CanvasMenuCommand : int {
    ID_ZOOM_FIT = 32771,
    ID_ZOOM_IN = 32772,
    ID_ZOOM_OUT = 32773,
    ID_ALL_DIM_FONT = 32774,
    ID_ZOOM_ACTUAL = 32775,
    ID_ALL_DIM_COLOUR = 32776,
    ID_EDIT_UNDO = 32777,
    ID_EDIT_REDO = 32778,
    // The reference plane and computed lengths, carried out by the canvas.
    ID_REFERENCE_PLANE = 32779,
    ID_DELETE_REFERENCE_PLANE = 32780,
    ID_WRITE_COMPUTED = 32781,
    // The selected area, carried out by the canvas.
    ID_AREA_OPENING = 32785,
    ID_RENAME_AREA = 32786,
    // The head-on picture of the reference plane, carried out by the main dialog.
    ID_EXPORT_HEAD_ON = 32790,
};

// The cursor the canvas asks for beyond its tool's.
enum CanvasCursorHint : int {
    CursorHintTool = 0,    // the current tool's cursor
    CursorHintHandle = 1,  // over an end-point handle: it can be moved
    CursorHintPanning = 3, // the photo is being dragged
};

// The zoom steps, as 32-bit floats.
constexpr float kZoomSteps[] = {0.1f, 0.2f, 0.3f, 0.5f, 0.7f, 1.0f, 2.0f};
