// The font commands, the colour swatch and the all-dimension colour command.

#include "DialogFixture.h"

namespace {

const COLORREF kNew = RGB(0, 128, 255), kRed = RGB(255, 0, 0); // chosen; drawn before

// Two dimensions coloured 1 and 2 and two notes, all in Arial.
class FontColourTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        info().dimensions = {MakeDimension({10, 10}, {99, 10}, {}, 1),
                             MakeDimension({10, 50}, {99, 50}, {}, 2)};
        info().notes = {MakeTitledNote({5, 5}, "a"), MakeTitledNote({5, 90}, "b")};
    }
    // The faces' first letters (dimensions, notes, the dimension and note font
    // labels, new records), a space, then the colours (dimensions, new
    // dimensions, the swatch as painted) as 1, 2, N(ew) or R(ed).
    QString State() {
        QString state;
        for (const Dimension& d : info().dimensions)
            state += FaceName(d.font).front();
        for (const InfoNote& n : info().notes)
            state += FaceName(n.font).front();
        for (int id : {IDC_DIM_FONT_NAME, IDC_NOTE_FONT_NAME})
            state += dlg->Item<QLabel>(id)->text().front();
        state += FaceName(canvas().CurrentFont()).front() + QStringLiteral(" ");
        const QImage swatch = dlg->m_colourSwatch.grab().toImage();
        for (COLORREF c : {info().dimensions[0].colour, info().dimensions[1].colour,
                           canvas().CurrentColour(), QColorToColorRef(swatch.pixel(15, 12))})
            state += c == kNew ? 'N' : c == kRed ? 'R' : QChar('0' + c);
        return state;
    }
};

struct CommandCase {
    void (CMeasureDlg::*command)(); // OnColour: a click on the swatch
    bool confirm;
    int tool, selDim, selNote;
    const char* state; // afterwards
};
class Command : public FontColourTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(Command, GoesToTheSelectedOrEveryRecordAndToNewRecords) {
    const CommandCase c = GetParam();
    prompter.confirm = c.confirm;
    canvas().SetTool(c.tool);
    canvas().Model().SelectDimension(c.selDim);
    canvas().Model().SelectNote(c.selNote);
    if (c.command == &CMeasureDlg::OnColour)
        QTest::mouseClick(&dlg->m_colourSwatch, Qt::LeftButton);
    else
        (dlg.get()->*c.command)();
    EXPECT_EQ(State(), c.state);
}

using D = CMeasureDlg;
const CommandCase kCommands[] = {
    {&D::OnNoteFont, true, ToolDrag, 0, 1, "AAACACC 12RR"},
    {&D::OnDimensionFont, true, ToolDrag, 1, 0, "ACAACAC 12RR"},
    {&D::OnAllDimensionFont, true, ToolDrag, -1, 0, "CCAACAC 12RR"},
    {&D::OnColour, true, ToolSelect, 1, 0, "AAAAAAA 1NNN"},
    {&D::OnColour, false, ToolSelect, 1, 0, "AAAAAAA 12RR"},
    {&D::OnAllDimensionColour, true, ToolDrag, -1, 0, "AAAAAAA NNNN"},
};
INSTANTIATE_TEST_SUITE_P(FontsAndColours, Command, ::testing::ValuesIn(kCommands));

} // namespace
