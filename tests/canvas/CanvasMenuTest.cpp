// The right mouse button: it drops a half-drawn dimension, or else opens the
// canvas's context menu, whose choice leaves the canvas as menuCommand.

#include "canvas/CPhotoCanvas.h"

#include "platform/Prompts.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Answers the context menu by picking the item with `command` (0: dismiss).
class MenuAnswer : public Prompter {
public:
    explicit MenuAnswer(int command) : m_command(command) {}
    QAction* PopupMenu(QMenu& menu, const QPoint& globalPos) override {
        ++shown;
        where = globalPos;
        texts.clear();
        for (QAction* action : menu.actions())
            texts.push_back(action->isSeparator() ? QStringLiteral("-") : action->text());
        for (QAction* action : menu.actions())
            if (!action->isSeparator() && action->data().toInt() == m_command)
                return action;
        return nullptr;
    }
    int shown = 0;
    QPoint where;
    std::vector<QString> texts;

private:
    int m_command;
};

class CanvasMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        canvas.resize(400, 300);
        canvas.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
        QObject::connect(&canvas, &CPhotoCanvas::menuCommand,
                         [this](int id) { commands.push_back(id); });
    }
    CPhotoCanvas canvas;
    std::vector<int> commands;
};

} // namespace

TEST(CanvasMenu, HasTheSevenItemsInOrder) {
    QMenu menu;
    CPhotoCanvas::BuildContextMenu(menu);
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 7);
    const struct {
        int command;
        const char* text;
    } expected[] = {{ID_ZOOM_IN, "放大"},
                    {ID_ZOOM_OUT, "縮小"},
                    {ID_ZOOM_ACTUAL, "實際大小"},
                    {ID_ZOOM_FIT, "自適應大小"},
                    {0, nullptr},
                    {ID_ALL_DIM_FONT, "所有尺寸字體"},
                    {ID_ALL_DIM_COLOUR, "所有尺寸顏色"}};
    for (int i = 0; i < 7; ++i) {
        QAction* action = actions[i];
        if (!expected[i].text) {
            EXPECT_TRUE(action->isSeparator()) << i;
            continue;
        }
        EXPECT_FALSE(action->isSeparator()) << i;
        EXPECT_EQ(action->text(), QString::fromUtf8(expected[i].text)) << i;
        EXPECT_EQ(action->data().toInt(), expected[i].command) << i;
        EXPECT_TRUE(action->isEnabled()) << i;
        EXPECT_FALSE(action->isCheckable()) << i;
    }
}

TEST_F(CanvasMenuTest, RightButtonDropsAHalfDrawnDimensionWithoutAMenu) {
    canvas.SetTool(ToolDimension);
    canvas.m_bFirstPoint = 1;
    MenuAnswer answer(ID_ZOOM_IN);
    ScopedPrompter prompter(&answer);
    QTest::mouseClick(&canvas, Qt::RightButton, Qt::NoModifier, QPoint(50, 60));
    EXPECT_EQ(canvas.m_bFirstPoint, 0);
    EXPECT_EQ(answer.shown, 0);
    EXPECT_TRUE(commands.empty());

    // The next right click opens the menu.
    QTest::mouseClick(&canvas, Qt::RightButton, Qt::NoModifier, QPoint(50, 60));
    EXPECT_EQ(answer.shown, 1);
    EXPECT_EQ(commands, std::vector<int>{ID_ZOOM_IN});
}

namespace {
struct MenuCase {
    int tool;
    int firstPoint;
    int chosen;
};
class MenuChoice : public CanvasMenuTest, public ::testing::WithParamInterface<MenuCase> {};
} // namespace

TEST_P(MenuChoice, OpensAtThePointerAndPassesTheChoiceOn) {
    const MenuCase c = GetParam();
    canvas.SetTool(c.tool);
    canvas.m_bFirstPoint = c.firstPoint;
    MenuAnswer answer(c.chosen);
    ScopedPrompter prompter(&answer);
    QTest::mouseClick(&canvas, Qt::RightButton, Qt::NoModifier, QPoint(120, 70));
    ASSERT_EQ(answer.shown, 1);
    EXPECT_EQ(answer.where, canvas.mapToGlobal(QPoint(120, 70)));
    ASSERT_EQ(answer.texts.size(), 7u);
    EXPECT_EQ(answer.texts[4], QStringLiteral("-"));
    if (c.chosen)
        EXPECT_EQ(commands, std::vector<int>{c.chosen});
    else
        EXPECT_TRUE(commands.empty());
    EXPECT_EQ(canvas.m_bFirstPoint, c.firstPoint) << "only the dimension tool drops a point";
}

INSTANTIATE_TEST_SUITE_P(
    Tools, MenuChoice,
    ::testing::Values(MenuCase{ToolDrag, 0, ID_ZOOM_OUT}, MenuCase{ToolSelect, 0, ID_ALL_DIM_FONT},
                      MenuCase{ToolNote, 0, ID_ALL_DIM_COLOUR},
                      MenuCase{ToolDimension, 0, ID_ZOOM_FIT},
                      // a flag left over from another tool does not hide the menu
                      MenuCase{ToolSelect, 1, ID_ZOOM_ACTUAL},
                      // dismissed: nothing is passed on
                      MenuCase{ToolDrag, 0, 0}));

TEST_F(CanvasMenuTest, LeftButtonAndDisabledCanvasOpenNoMenu) {
    MenuAnswer answer(ID_ZOOM_IN);
    ScopedPrompter prompter(&answer);
    QTest::mouseClick(&canvas, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    canvas.setEnabled(false);
    QTest::mouseClick(&canvas, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(answer.shown, 0);
    EXPECT_TRUE(commands.empty());
}
