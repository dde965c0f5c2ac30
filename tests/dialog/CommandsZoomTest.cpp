// The zoom commands from their three sources: the buttons, Ctrl with the
// numeric keypad, and the canvas's context menu.

#include "DialogFixture.h"

#include "platform/Prompts.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>

namespace {

class MenuPick : public Prompter {
public:
    QAction* PopupMenu(QMenu& menu, const QPoint&) override {
        for (QAction* action : menu.actions())
            if (!action->isSeparator() && action->data().toInt() == command)
                return action;
        return nullptr;
    }
    int command = 0;
};

class ZoomTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("room.jpg"));
        QImage photo(2400, 1800, QImage::Format_RGB32);
        photo.fill(QColor(90, 120, 150));
        ASSERT_TRUE(photo.save(path, "JPEG"));
        ShowWindow();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        dlg->OpenPhotoAtStart(path);
        ASSERT_TRUE(canvas().m_dib.HasPicture());
        ASSERT_EQ(canvas().m_fZoom, 1.0f);
    }
    CPhotoCanvas& canvas() { return dlg->m_canvas; }
    void Key(Qt::Key key,
             Qt::KeyboardModifiers modifiers = Qt::ControlModifier | Qt::KeypadModifier) {
        QTest::keyClick(dlg.get(), key, modifiers);
    }
    void Button(int id) { QTest::mouseClick(Item(id), Qt::LeftButton); }
    void Menu(int command) {
        MenuPick pick;
        pick.command = command;
        ScopedPrompter prompter(&pick);
        QTest::mouseClick(&canvas(), Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ZoomTest, Buttons) {
    Button(IDC_ZOOM_IN);
    EXPECT_EQ(canvas().m_fZoom, 2.0f);
    Button(IDC_ZOOM_OUT);
    Button(IDC_ZOOM_OUT);
    EXPECT_EQ(canvas().m_fZoom, 0.7f);
    Button(IDC_ZOOM_FIT);
    EXPECT_EQ(canvas().m_bFit, 1);
    EXPECT_LT(canvas().m_fZoom, 0.7f); // the photo is far larger than the canvas
    Button(IDC_ZOOM_ACTUAL);
    EXPECT_EQ(canvas().m_fZoom, 1.0f);
    EXPECT_EQ(canvas().m_bFit, 0);
}

TEST_F(ZoomTest, CtrlWithTheKeypadKeys) {
    Key(Qt::Key_Plus);
    EXPECT_EQ(canvas().m_fZoom, 2.0f);
    // At the largest step zooming in changes nothing.
    Key(Qt::Key_Plus);
    EXPECT_EQ(canvas().m_fZoom, 2.0f);
    Key(Qt::Key_Minus);
    EXPECT_EQ(canvas().m_fZoom, 1.0f);
    Key(Qt::Key_Asterisk);
    EXPECT_EQ(canvas().m_bFit, 1);
    Key(Qt::Key_Slash);
    EXPECT_EQ(canvas().m_fZoom, 1.0f);
    EXPECT_EQ(canvas().m_bFit, 0);
}

TEST_F(ZoomTest, KeysOffTheKeypadOrWithoutCtrlDoNotZoom) {
    Key(Qt::Key_Plus, Qt::ControlModifier);
    Key(Qt::Key_Minus, Qt::ControlModifier);
    Key(Qt::Key_Plus, Qt::KeypadModifier);
    Key(Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_EQ(canvas().m_fZoom, 1.0f);
    EXPECT_EQ(canvas().m_bFit, 0);
}

TEST_F(ZoomTest, CanvasMenu) {
    Menu(ID_ZOOM_OUT);
    EXPECT_EQ(canvas().m_fZoom, 0.7f);
    Menu(ID_ZOOM_IN);
    Menu(ID_ZOOM_IN);
    EXPECT_EQ(canvas().m_fZoom, 2.0f);
    Menu(ID_ZOOM_FIT);
    EXPECT_EQ(canvas().m_bFit, 1);
    Menu(ID_ZOOM_ACTUAL);
    EXPECT_EQ(canvas().m_fZoom, 1.0f);
    EXPECT_EQ(canvas().m_bFit, 0);
}

TEST_F(ZoomTest, CanvasMenuCarriesTheAllDimensionColour) {
    class Both : public MenuPick {
    public:
        bool ChooseColour(QWidget*, COLORREF& colour) override {
            colour = RGB(7, 8, 9);
            return true;
        }
    } pick;
    pick.command = ID_ALL_DIM_COLOUR;
    ScopedPrompter prompter(&pick);
    Dimension dim;
    canvas().m_info.dimensions = {dim, dim};
    QTest::mouseClick(&canvas(), Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_EQ(canvas().m_info.dimensions[0].colour, RGB(7, 8, 9));
    EXPECT_EQ(canvas().m_info.dimensions[1].colour, RGB(7, 8, 9));
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(7, 8, 9));
}
