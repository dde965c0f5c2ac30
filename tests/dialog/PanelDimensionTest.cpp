// The editing panel with dimensions: new dimensions take their value from the
// size edit keystroke by keystroke, selected ones show in the panel, and the
// delete rules.
#include "PanelSupport.h"

#include <QLabel>

namespace {

TEST_F(PanelTest, TypingAValueIntoANewDimensionStoresEveryKeystroke) {
    ChooseTool(IDC_TOOL_DIMENSION);
    SizeEdit()->setText(QStringLiteral("old"));
    ClickPhoto(POINT{100, 100});
    ClickPhoto(POINT{300, 100});
    ASSERT_EQ(canvas().m_nSelDim, 0);
    EXPECT_TRUE(SizeEdit()->text().isEmpty());
    EXPECT_EQ(dlg->focusWidget(), SizeEdit());
    EXPECT_TRUE(Item(IDC_DELETE_DIMENSION)->isEnabled());
    EXPECT_FALSE(SizeEdit()->isHidden());

    const char* expected[] = {"2", "25", "250", "2500"};
    for (int i = 0; i < 4; ++i) {
        counter.paints = 0;
        QTest::keyClick(SizeEdit(), "2500"[i]);
        Flush();
        EXPECT_STREQ(canvas().m_info.dimensions[0].value, expected[i]);
        EXPECT_GE(counter.paints, 1) << "after key " << i;
    }
    EXPECT_EQ(dlg->m_strSize, QStringLiteral("2500"));
}

TEST_F(PanelTest, SelectingADimensionShowsItsColourValueAndFont) {
    Dimension dim = MakeDimension({100, 200}, {300, 200}, "12.5", RGB(0, 0, 255));
    SetFaceName(dim.font, QStringLiteral("Courier New"));
    canvas().m_info.dimensions.push_back(dim);
    ChooseTool(IDC_TOOL_SELECT);
    ClickPhoto(POINT{200, 201});
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(0, 0, 255));
    EXPECT_EQ(SizeEdit()->text(), QStringLiteral("12.5"));
    EXPECT_EQ(qobject_cast<QLabel*>(Item(IDC_DIM_FONT_NAME))->text(),
              QStringLiteral("Courier New"));
    for (int id : kDimensionGroup)
        EXPECT_FALSE(Item(id)->isHidden()) << id;
    for (int id : kNoteGroup)
        EXPECT_TRUE(Item(id)->isHidden()) << id;
    EXPECT_TRUE(Item(IDC_DELETE_DIMENSION)->isEnabled());
    EXPECT_EQ(dlg->focusWidget(), SizeEdit());
    EXPECT_EQ(SizeEdit()->selectedText(), QStringLiteral("12.5"));
    // Only a new dimension takes the drawing colour.
    EXPECT_NE(canvas().m_pendingDim.colour, RGB(0, 0, 255));
}

TEST_F(PanelTest, RangeFinderStepWithTheDragToolKeepsBothGroupsHidden) {
    canvas().m_info.dimensions.push_back(MakeDimension({10, 10}, {90, 10}, "7", RGB(1, 2, 3)));
    canvas().m_nSelDim = 0;
    dlg->OnCanvasNotify(CN_DIMENSION_SELECTED);
    EXPECT_EQ(SizeEdit()->text(), QStringLiteral("7"));
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(1, 2, 3));
    for (int id : kDimensionGroup)
        EXPECT_TRUE(Item(id)->isHidden()) << id;
    for (int id : kNoteGroup)
        EXPECT_TRUE(Item(id)->isHidden()) << id;
}

TEST_F(PanelTest, UnknownNotificationCodesChangeNothing) {
    canvas().m_info.dimensions.push_back(MakeDimension({10, 10}, {90, 10}, "7", RGB(1, 2, 3)));
    canvas().m_nSelDim = 0;
    dlg->m_strSize = QStringLiteral("keep");
    dlg->UpdateData(false);
    QWidget* focus = dlg->focusWidget();
    for (int code : {2, 3, 4, 5, 6, 7, 8, 12, 200, -1}) {
        dlg->OnCanvasNotify(code);
        EXPECT_EQ(SizeEdit()->text(), QStringLiteral("keep")) << code;
        EXPECT_EQ(dlg->focusWidget(), focus) << code;
        EXPECT_FALSE(Item(IDC_DELETE_DIMENSION)->isEnabled()) << code;
    }
}

struct DeleteCase {
    int count;
    int selected;
    int selectedAfter;
    std::vector<int> remaining; // original indexes, in order
};

class PanelDeleteDimension : public PanelTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(PanelDeleteDimension, KeepsTheIndexOrMovesToTheNewLast) {
    const DeleteCase& c = GetParam();
    ChooseTool(IDC_TOOL_SELECT);
    for (int i = 0; i < c.count; ++i) {
        const QByteArray value = QByteArray::number(100 + i);
        canvas().m_info.dimensions.push_back(MakeDimension({100, 100 + 50 * i}, {300, 100 + 50 * i},
                                                           value.constData(), RGB(10 * i, 0, 0)));
    }
    ClickPhoto(POINT{200, 100 + 50 * c.selected});
    ASSERT_EQ(canvas().m_nSelDim, c.selected);
    counter.paints = 0;
    QTest::mouseClick(Item(IDC_DELETE_DIMENSION), Qt::LeftButton);
    Flush();

    ASSERT_EQ(canvas().m_info.dimensions.size(), c.remaining.size());
    for (size_t i = 0; i < c.remaining.size(); ++i)
        EXPECT_EQ(canvas().m_info.dimensions[i].value, QByteArray::number(100 + c.remaining[i]));
    EXPECT_EQ(canvas().m_nSelDim, c.selectedAfter);
    EXPECT_GE(counter.paints, 1);
    if (c.selectedAfter < 0) {
        EXPECT_FALSE(Item(IDC_DELETE_DIMENSION)->isEnabled());
        EXPECT_TRUE(SizeEdit()->text().isEmpty());
    } else {
        const int original = c.remaining[static_cast<size_t>(c.selectedAfter)];
        EXPECT_TRUE(Item(IDC_DELETE_DIMENSION)->isEnabled());
        EXPECT_EQ(SizeEdit()->text(), QString::number(100 + original));
        EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(10 * original, 0, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(FirstLastOnly, PanelDeleteDimension,
                         ::testing::Values(DeleteCase{3, 0, 0, {1, 2}}, DeleteCase{3, 2, 1, {0, 1}},
                                           DeleteCase{3, 1, 1, {0, 2}}, DeleteCase{1, 0, -1, {}}));

TEST_F(PanelTest, SizeEditLimitsByBytesAndRefusesWhatCodePage950CannotHold) {
    ChooseTool(IDC_TOOL_DIMENSION);
    ClickPhoto(POINT{100, 100});
    ClickPhoto(POINT{300, 100});
    TypeText(SizeEdit(), QString::fromUtf8("12345678一"));
    // The two-byte character would need bytes 9 and 10 of 9: refused whole.
    EXPECT_EQ(SizeEdit()->text(), QStringLiteral("12345678"));
    TypeText(SizeEdit(), QString::fromUtf8("한9"));
    EXPECT_EQ(SizeEdit()->text(), QStringLiteral("123456789"));
    EXPECT_STREQ(canvas().m_info.dimensions[0].value, "123456789");
    EXPECT_EQ(canvas().m_info.dimensions[0].value[9], '\0');
}

} // namespace
