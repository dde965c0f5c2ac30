#pragma once
// Ids of the main window's controls and commands. The layout, the command
// table and the tests all name controls by these numbers.

// Main window controls.
enum ControlId : int {
    IDC_OPEN_PHOTO = 1000,
    IDC_PANEL = 1003, // group box framing the right-hand panel
    IDC_CANVAS = 1004,
    IDC_STATUS = 1005, // status line, never shown
    IDC_SAVE_INFO = 1006,
    IDC_TOOL_DRAG = 1012, // first button of the tool group
    IDC_TOOL_DIMENSION = 1013,
    IDC_COLOUR_LABEL = 1014,
    IDC_COLOUR_SWATCH = 1015,
    IDC_EXPORT_PICTURE = 1016,
    IDC_CONNECT_RANGE = 1017,
    IDC_TOOL_SELECT = 1018,
    IDC_TOOL_NOTE = 1019,
    IDC_SIZE_EDIT = 1020,
    IDC_SIZE_LABEL = 1021,
    IDC_PROPERTY_GROUP = 1022,
    IDC_NOTE_TITLE_LABEL = 1023,
    IDC_NOTE_TITLE = 1024,
    IDC_NOTE_LIST = 1025,
    IDC_ADD_NOTE = 1026,
    IDC_DELETE_NOTE = 1027,
    IDC_MODIFY_NOTE = 1028,
    IDC_NOTE_TEXT = 1029,
    IDC_DELETE_DIMENSION = 1030,
    IDC_ZOOM_GROUP = 1032,
    IDC_HELP = 1043,
    IDC_ZOOM_IN = 1044,
    IDC_ZOOM_OUT = 1045,
    IDC_ZOOM_FIT = 1046,
    IDC_ZOOM_ACTUAL = 1047,
    IDC_LOGO = 1051,
    IDC_BANNER = 1052,
    IDC_EXIT = 1053,
    IDC_SUPPORT_TEXT = 1055,
    IDC_NOTE_FONT = 1056,
    IDC_NOTE_FONT_LABEL = 1057,
    IDC_NOTE_FONT_NAME = 1058,
    IDC_DIM_FONT_NAME = 1059,
    IDC_DIM_FONT_LABEL = 1060,
    IDC_DIM_FONT = 1061,
    IDC_REFERENCE_CHECK = 1062, // "作為參考": the selected dimension is the reference length
    IDC_EXPORT_REPORT = 1063,   // "輸出報告(&R)", under the export button
    IDC_TOOL_AREA = 1064,       // the area tool, above the zoom group
    IDC_TOOL_ANGLE = 1065,      // the angle tool, beside it
};

// The About entry's command (the logo's menu stands in for the system menu).
constexpr int IDM_ABOUTBOX = 16;

// Resource numbers of the program's pictures.
enum ResourceId : int {
    IDR_MAINFRAME = 128, // application icon
    IDI_TOOL_DRAG = 132,
    IDC_CURSOR_DRAG = 140,
    IDI_TOOL_DIMENSION = 141,
    IDI_TOOL_SELECT = 143,
    IDI_TOOL_NOTE = 144,
    IDC_CURSOR_NOTE = 145,
    IDI_TOOL_AREA = 146,
    IDI_TOOL_ANGLE = 147,
    IDI_ZOOM_IN = 151,
    IDI_ZOOM_OUT = 152,
    IDI_ZOOM_FIT = 153,
    IDI_ZOOM_ACTUAL = 154,
    IDI_ABOUT = 156,
    IDB_SPLASH = 157,
    IDB_LOGO = 162,
};

// Which record the editing panel shows.
enum SelectionKind : int { SelectionNone = 0, SelectionDimension = 1, SelectionNote = 2 };
