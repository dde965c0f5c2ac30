// The controls of the main window: ids, kinds, captions and start states.

#include "DialogFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

namespace {
enum Kind { Button, IconButton, Static, Group, LineEdit, TextEdit, List, Other };
struct ControlRow {
    int id;
    Kind kind;
    const char* caption; // nullptr: not checked
    bool enabled;
};

const ControlRow kControls[] = {
    {IDC_OPEN_PHOTO, Button, "打開圖片(&O)", true},
    {IDC_SAVE_INFO, Button, "保存信息(&S)", false},
    {IDC_EXPORT_PICTURE, Button, "輸出圖片(&E)", false},
    {IDC_CONNECT_RANGE, Button, "連接測距儀(&C)", true},
    {IDC_HELP, Button, "幫助(&H)", true},
    {IDC_EXIT, Button, "退出(&X)", true},
    {IDC_TOOL_DRAG, IconButton, "拖動", false},
    {IDC_TOOL_DIMENSION, IconButton, "畫尺寸", false},
    {IDC_TOOL_NOTE, IconButton, "信息標注", false},
    {IDC_TOOL_SELECT, IconButton, "選擇", false},
    {IDC_COLOUR_LABEL, Static, "顏色：", true},
    {IDC_COLOUR_SWATCH, Other, nullptr, true},
    {IDC_SIZE_LABEL, Static, "尺寸：", true},
    {IDC_SIZE_EDIT, LineEdit, "", false},
    {IDC_CANVAS, Other, nullptr, false},
    {IDC_STATUS, Static, "", true},
    {IDC_PANEL, Group, "", true},
    {IDC_PROPERTY_GROUP, Group, "", true},
    {IDC_NOTE_TITLE_LABEL, Static, "標題：", true},
    {IDC_NOTE_TITLE, LineEdit, "", false},
    {IDC_NOTE_LIST, List, nullptr, true},
    {IDC_ADD_NOTE, Button, "新增", false},
    {IDC_DELETE_NOTE, Button, "刪除", false},
    {IDC_MODIFY_NOTE, Button, "修改", false},
    {IDC_NOTE_TEXT, TextEdit, nullptr, false},
    {IDC_DELETE_DIMENSION, Button, "刪除", false},
    {IDC_ZOOM_GROUP, Group, "縮放", true},
    {IDC_ZOOM_IN, IconButton, "放大", false},
    {IDC_ZOOM_OUT, IconButton, "縮小", false},
    {IDC_ZOOM_FIT, IconButton, "自適應大小", false},
    {IDC_ZOOM_ACTUAL, IconButton, "實際大小", false},
    {IDC_LOGO, Static, nullptr, true},
    {IDC_SUPPORT_TEXT, Static, nullptr, true},
    {IDC_NOTE_FONT, Button, "...", false},
    {IDC_NOTE_FONT_LABEL, Static, "字體:", true},
    {IDC_NOTE_FONT_NAME, Static, "Arial", true},
    {IDC_DIM_FONT_LABEL, Static, "字體:", true},
    {IDC_DIM_FONT_NAME, Static, "Arial", true},
    {IDC_DIM_FONT, Button, "...", true},
};

QString Caption(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    return QString();
}

bool IsKind(QWidget* control, Kind kind) {
    switch (kind) {
    case Button:
        return qobject_cast<QPushButton*>(control) != nullptr;
    case IconButton:
        return qobject_cast<QToolButton*>(control) != nullptr;
    case Static:
        return qobject_cast<QLabel*>(control) != nullptr;
    case Group:
        return qobject_cast<QGroupBox*>(control) != nullptr;
    case LineEdit:
        return qobject_cast<QLineEdit*>(control) != nullptr;
    case TextEdit:
        return qobject_cast<QPlainTextEdit*>(control) != nullptr;
    case List:
        return qobject_cast<QListWidget*>(control) != nullptr;
    case Other:
        return true;
    }
    return false;
}
} // namespace

TEST_F(MainWindowTest, EveryControlHasItsKindCaptionAndEnabledState) {
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.id);
        QWidget* control = Item(row.id);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(IsKind(control, row.kind)) << control->metaObject()->className();
        if (row.caption) {
            EXPECT_EQ(Caption(control), QString::fromUtf8(row.caption));
        }
        EXPECT_EQ(control->isEnabled(), row.enabled);
        EXPECT_EQ(control->parentWidget(), dlg.get());
    }
    EXPECT_EQ(dlg->GetDlgItem(IDC_CANVAS), &dlg->m_canvas);
    EXPECT_EQ(dlg->GetDlgItem(IDC_COLOUR_SWATCH), &dlg->m_colourSwatch);
    EXPECT_EQ(dlg->GetDlgItem(4242), nullptr);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tessamar"));
}

TEST_F(MainWindowTest, StartsWithOnlyThePhotoButtonsAndFramesShown) {
    // Hidden from the start, and the editing panel hidden with the drag tool.
    std::vector<int> hidden = {IDC_CONNECT_RANGE, IDC_HELP,     IDC_EXIT,
                               IDC_STATUS,        IDC_ADD_NOTE, IDC_MODIFY_NOTE};
    hidden.insert(hidden.end(), std::begin(kDimensionGroup), std::end(kDimensionGroup));
    hidden.insert(hidden.end(), std::begin(kNoteGroup), std::end(kNoteGroup));
    for (const ControlRow& row : kControls) {
        const bool shouldHide = std::find(hidden.begin(), hidden.end(), row.id) != hidden.end();
        EXPECT_EQ(Item(row.id)->isHidden(), shouldHide) << "control " << row.id;
    }
    EXPECT_EQ(dlg->m_nTool, ToolDrag);
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(Item(IDC_TOOL_DRAG))->isChecked());
    EXPECT_EQ(dlg->m_canvas.CurrentTool(), ToolDrag);
    EXPECT_EQ(dlg->m_bCancelCloses, 1);
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(255, 0, 0));
    EXPECT_EQ(dlg->m_canvas.m_pendingDim.colour, RGB(255, 0, 0));
    EXPECT_EQ(qobject_cast<QLineEdit*>(Item(IDC_SIZE_EDIT))->maxLength(), 9);
    // Row i is note i: the list is never sorted.
    EXPECT_FALSE(qobject_cast<QListWidget*>(Item(IDC_NOTE_LIST))->isSortingEnabled());
    EXPECT_FALSE(dlg->windowIcon().isNull());
}

TEST_F(MainWindowTest, IconButtonsShowIconsAndTheirCaptionsAsTips) {
    EXPECT_EQ(dlg->m_toolTip.GetToolCount(), 8);
    for (int id : {IDC_ZOOM_IN, IDC_ZOOM_OUT, IDC_ZOOM_ACTUAL, IDC_ZOOM_FIT, IDC_TOOL_DRAG,
                   IDC_TOOL_DIMENSION, IDC_TOOL_NOTE, IDC_TOOL_SELECT}) {
        auto* button = qobject_cast<QToolButton*>(Item(id));
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->icon().isNull()) << id;
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        EXPECT_EQ(button->toolTip(), button->text()) << id;
    }
}

TEST_F(MainWindowTest, FontNamesShowTheCanvasFontAndTheSupportTextItsOwnFont) {
    EXPECT_EQ(qobject_cast<QLabel*>(Item(IDC_DIM_FONT_NAME))->text(), QStringLiteral("Arial"));
    EXPECT_EQ(qobject_cast<QLabel*>(Item(IDC_NOTE_FONT_NAME))->text(), QStringLiteral("Arial"));
    const QFont support = Item(IDC_SUPPORT_TEXT)->font();
    EXPECT_EQ(support.family(), QString::fromUtf8("細明體"));
    EXPECT_LT(support.weight(), QFont::Normal);
    EXPECT_FALSE(qobject_cast<QLabel*>(Item(IDC_SUPPORT_TEXT))->text().isEmpty());
    EXPECT_FALSE(qobject_cast<QLabel*>(Item(IDC_LOGO))->pixmap().isNull());
}

TEST_F(MainWindowTest, AcceleratorsAreCtrlWithTheKeypadKeys) {
    const std::pair<QKeyCombination, int> expected[] = {
        {Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus, ID_ZOOM_IN},
        {Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Minus, ID_ZOOM_OUT},
        {Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Asterisk, ID_ZOOM_FIT},
        {Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Slash, ID_ZOOM_ACTUAL}};
    ASSERT_EQ(dlg->m_hAccel.size(), 4);
    for (const auto& [keys, command] : expected) {
        const auto found =
            std::find_if(dlg->m_hAccel.begin(), dlg->m_hAccel.end(),
                         [&](QShortcut* s) { return s->key() == QKeySequence(keys); });
        ASSERT_NE(found, dlg->m_hAccel.end()) << command;
        EXPECT_EQ((*found)->property("command").toInt(), command);
    }
}

TEST_F(MainWindowTest, BannerLiesBeneathTheCanvasAndTakesNoClicks) {
    QWidget* banner = Item(IDC_BANNER);
    EXPECT_TRUE(banner->testAttribute(Qt::WA_TransparentForMouseEvents));
    const QObjectList children = dlg->children();
    EXPECT_LT(children.indexOf(banner), children.indexOf(&dlg->m_canvas));
    // Whatever the banner's place, a point on it belongs to the canvas.
    EXPECT_TRUE(dlg->m_canvas.geometry().contains(banner->geometry().center()));
    EXPECT_EQ(dlg->childAt(banner->geometry().center()), &dlg->m_canvas);
}

TEST_F(MainWindowTest, AboutEntryOpensTheAboutBox) {
    QWidget* logo = Item(IDC_LOGO);
    QAction* about = nullptr;
    for (QAction* action : logo->actions())
        if (action->text() == QString::fromUtf8("關于 KZR(&A)..."))
            about = action;
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(logo->contextMenuPolicy(), Qt::ActionsContextMenu);
    QString seenTitle;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            seenTitle = modal->windowTitle();
            modal->close();
        }
    });
    about->trigger();
    EXPECT_EQ(seenTitle, QString::fromUtf8("關于"));
}
