#pragma once
// A main window built and laid out as the program builds it, for the tests.

#include "dialog/CMeasureDlg.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg = std::make_unique<CMeasureDlg>();
        dlg->InitDialog();
    }
    void ShowWindow() {
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }
    // What opening a photo enables (the photo commands come later).
    void EnablePhotoControls() {
        for (int id : {IDC_ZOOM_IN, IDC_ZOOM_OUT, IDC_ZOOM_ACTUAL, IDC_ZOOM_FIT, IDC_CANVAS,
                       IDC_SAVE_INFO, IDC_EXPORT_PICTURE, IDC_TOOL_DRAG, IDC_TOOL_DIMENSION,
                       IDC_TOOL_SELECT, IDC_TOOL_NOTE, IDC_COLOUR_SWATCH, IDC_SIZE_EDIT})
            dlg->GetDlgItem(id)->setEnabled(true);
    }
    QWidget* Item(int id) const {
        QWidget* control = dlg->GetDlgItem(id);
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }
    std::unique_ptr<CMeasureDlg> dlg;
};

inline const int kDimensionGroup[] = {IDC_COLOUR_LABEL,  IDC_COLOUR_SWATCH,   IDC_DIM_FONT_LABEL,
                                      IDC_DIM_FONT_NAME, IDC_DIM_FONT,        IDC_SIZE_LABEL,
                                      IDC_SIZE_EDIT,     IDC_DELETE_DIMENSION};
inline const int kNoteGroup[] = {IDC_NOTE_TITLE_LABEL, IDC_NOTE_TITLE, IDC_NOTE_FONT_LABEL,
                                 IDC_NOTE_FONT_NAME,   IDC_NOTE_FONT,  IDC_NOTE_LIST,
                                 IDC_NOTE_TEXT,        IDC_DELETE_NOTE};
