// Return never closes the main window; the colour swatch and its command.

#include "DialogFixture.h"

#include "platform/Prompts.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
class ColourAnswer : public Prompter {
public:
    explicit ColourAnswer(COLORREF answer, bool confirm = true)
        : m_answer(answer), m_confirm(confirm) {}
    bool ChooseColour(QWidget*, COLORREF& colour) override {
        ++calls;
        offered = colour;
        if (m_confirm)
            colour = m_answer;
        return m_confirm;
    }
    int calls = 0;
    COLORREF offered = 0;

private:
    COLORREF m_answer;
    bool m_confirm;
};

Dimension MakeDimension(COLORREF colour) {
    Dimension dim;
    dim.colour = colour;
    dim.start = POINT{10, 10};
    dim.end = POINT{100, 10};
    return dim;
}
} // namespace

TEST_F(MainWindowTest, ReturnNeverClosesTheWindowNorPressesAButton) {
    ShowWindow();
    EnablePhotoControls();
    QTest::mouseClick(Item(IDC_TOOL_DIMENSION), Qt::LeftButton);
    int opened = 0;
    QObject::connect(qobject_cast<QAbstractButton*>(Item(IDC_OPEN_PHOTO)),
                     &QAbstractButton::clicked, [&] { ++opened; });

    QTest::keyClick(dlg.get(), Qt::Key_Return);
    QTest::keyClick(dlg.get(), Qt::Key_Enter, Qt::KeypadModifier);
    Item(IDC_OPEN_PHOTO)->setFocus();
    QTest::keyClick(Item(IDC_OPEN_PHOTO), Qt::Key_Return);
    auto* size = qobject_cast<QLineEdit*>(Item(IDC_SIZE_EDIT));
    size->setFocus();
    QTest::keyClicks(size, QStringLiteral("3.5"));
    QTest::keyClick(size, Qt::Key_Return);
    QTest::keyClick(Item(IDC_NOTE_TITLE), Qt::Key_Return);

    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), 0);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(size->text(), QStringLiteral("3.5"));
}

TEST_F(MainWindowTest, ReturnInTheNoteTextStartsANewLine) {
    ShowWindow();
    auto* text = qobject_cast<QPlainTextEdit*>(Item(IDC_NOTE_TEXT));
    text->setEnabled(true);
    dlg->m_canvas.SetTool(ToolNote);
    dlg->ShowEditPanel(SelectionNone);
    text->setFocus();
    QTest::keyClicks(text, QStringLiteral("a"));
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, QStringLiteral("b"));
    EXPECT_EQ(text->toPlainText(), QStringLiteral("a\nb"));
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(MainWindowTest, CloseRequestEndsTheWindow) {
    ShowWindow();
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

TEST_F(MainWindowTest, SwatchPaintsItsColourInsideABlackLine) {
    dlg->m_colourSwatch.m_colour = RGB(10, 200, 30);
    const QImage image = dlg->m_colourSwatch.grab().toImage();
    ASSERT_EQ(image.size(), QSize(30, 25));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(29, 24), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(0, 12), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(10, 200, 30));
    EXPECT_EQ(image.pixelColor(15, 12), QColor(10, 200, 30));
}

TEST_F(MainWindowTest, ColourWithTheSelectToolRecoloursTheSelectedDimension) {
    ShowWindow();
    EnablePhotoControls();
    dlg->m_canvas.m_info.dimensions = {MakeDimension(RGB(1, 2, 3)), MakeDimension(RGB(4, 5, 6))};
    QTest::mouseClick(Item(IDC_TOOL_SELECT), Qt::LeftButton);
    dlg->m_canvas.m_nSelDim = 1;
    dlg->ShowEditPanel(SelectionDimension);
    ColourAnswer answer(RGB(0, 0, 255));
    ScopedPrompter prompter(&answer);
    QTest::mouseClick(&dlg->m_colourSwatch, Qt::LeftButton);

    EXPECT_EQ(answer.calls, 1);
    EXPECT_EQ(answer.offered, RGB(255, 0, 0));
    EXPECT_EQ(dlg->m_canvas.m_info.dimensions[1].colour, RGB(0, 0, 255));
    EXPECT_EQ(dlg->m_canvas.m_info.dimensions[0].colour, RGB(1, 2, 3));
    EXPECT_EQ(dlg->m_canvas.m_pendingDim.colour, RGB(0, 0, 255));
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(0, 0, 255));
}

namespace {
struct ColourCase {
    int tool;
    int selected;
};
class ColourOnly : public MainWindowTest, public ::testing::WithParamInterface<ColourCase> {};
} // namespace

TEST_P(ColourOnly, ChangesOnlyTheDrawingColourAndTheSwatch) {
    const ColourCase c = GetParam();
    dlg->m_canvas.m_info.dimensions = {MakeDimension(RGB(1, 2, 3))};
    dlg->m_canvas.SetTool(c.tool);
    dlg->m_canvas.m_nSelDim = c.selected;
    ColourAnswer answer(RGB(0, 255, 0));
    ScopedPrompter prompter(&answer);
    dlg->OnColour();
    EXPECT_EQ(dlg->m_canvas.m_info.dimensions[0].colour, RGB(1, 2, 3));
    EXPECT_EQ(dlg->m_canvas.m_pendingDim.colour, RGB(0, 255, 0));
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(0, 255, 0));
}

INSTANTIATE_TEST_SUITE_P(NoRecolouring, ColourOnly,
                         ::testing::Values(ColourCase{ToolSelect, -1}, ColourCase{ToolDrag, 0},
                                           ColourCase{ToolDimension, 0}, ColourCase{ToolNote, 0},
                                           // an index past the list changes no record
                                           ColourCase{ToolSelect, 5}));

TEST_F(MainWindowTest, CancelledColourChangesNothing) {
    dlg->m_canvas.m_info.dimensions = {MakeDimension(RGB(1, 2, 3))};
    dlg->m_canvas.SetTool(ToolSelect);
    dlg->m_canvas.m_nSelDim = 0;
    ColourAnswer answer(RGB(0, 255, 0), false);
    ScopedPrompter prompter(&answer);
    dlg->OnColour();
    EXPECT_EQ(answer.calls, 1);
    EXPECT_EQ(dlg->m_canvas.m_info.dimensions[0].colour, RGB(1, 2, 3));
    EXPECT_EQ(dlg->m_canvas.m_pendingDim.colour, RGB(255, 0, 0));
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(255, 0, 0));
}
