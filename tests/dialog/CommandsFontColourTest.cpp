// The font commands, the colour swatch and the all-dimension colour command.

#include "DialogFixture.h"

#include <QLabel>

namespace {

// Two dimensions coloured 1 and 2 and two notes, all in Arial.
class FontColourTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        info().dimensions = {MakeDimension({10, 10}, {99, 10}, {}, 1),
                             MakeDimension({10, 50}, {99, 50}, {}, 2)};
        info().notes = {MakeNote({5, 5}, "a"), MakeNote({5, 90}, "b")};
    }
    // The faces' first letters: dimensions, notes, then the dimension and note font labels.
    QString Faces() {
        QString letters;
        for (const Dimension& d : info().dimensions)
            letters += FaceName(d.font).front();
        for (const InfoNote& n : info().notes)
            letters += FaceName(n.font).front();
        for (int id : {IDC_DIM_FONT_NAME, IDC_NOTE_FONT_NAME})
            letters += dlg->Item<QLabel>(id)->text().front();
        return letters;
    }
};

struct FontCase {
    void (CMeasureDlg::*command)();
    bool confirm;
    int selDim, selNote;
    const char* faces; // as Faces() gives them afterwards
};
class FontCommand : public FontColourTest, public ::testing::WithParamInterface<FontCase> {};

TEST_P(FontCommand, GoesToTheSelectedOrEveryDimensionOrNoteOnly) {
    const FontCase c = GetParam();
    prompter.confirm = c.confirm;
    canvas().m_nSelDim = c.selDim;
    canvas().m_nSelNote = c.selNote;
    (dlg.get()->*c.command)();
    EXPECT_EQ(Faces(), c.faces);
    // New records take the font chosen last.
    EXPECT_EQ(FaceName(canvas().m_logFont), c.confirm ? "Courier New" : "Arial");
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FontCommand,
    ::testing::Values(FontCase{&CMeasureDlg::OnNoteFont, true, 0, 1, "AAACAC"},
                      FontCase{&CMeasureDlg::OnNoteFont, true, 0, -1, "AAAAAA"},
                      FontCase{&CMeasureDlg::OnDimensionFont, true, 1, 0, "ACAACA"},
                      FontCase{&CMeasureDlg::OnDimensionFont, true, -1, 0, "AAAACA"},
                      FontCase{&CMeasureDlg::OnAllDimensionFont, true, -1, 0, "CCAACA"},
                      FontCase{&CMeasureDlg::OnAllDimensionFont, false, -1, 0, "AAAAAA"}));

struct ColourCase {
    bool all; // the all-dimension command, or a click on the swatch
    bool confirm;
    int tool, selDim;
    COLORREF dim0, dim1; // afterwards
};
class ColourCommand : public FontColourTest, public ::testing::WithParamInterface<ColourCase> {};
const COLORREF kNew = RGB(0, 128, 255);

TEST_P(ColourCommand, RecoloursTheSelectedOrEveryDimensionAndSetsTheDrawingColour) {
    const ColourCase c = GetParam();
    prompter.confirm = c.confirm;
    canvas().SetTool(c.tool);
    canvas().m_nSelDim = c.selDim;
    if (c.all)
        dlg->OnCommand(ID_ALL_DIM_COLOUR);
    else
        QTest::mouseClick(&dlg->m_colourSwatch, Qt::LeftButton);
    EXPECT_EQ(info().dimensions[0].colour, c.dim0);
    EXPECT_EQ(info().dimensions[1].colour, c.dim1);
    const COLORREF drawing = c.confirm ? kNew : RGB(255, 0, 0);
    EXPECT_EQ(canvas().m_pendingDim.colour, drawing);
    const QImage swatch = dlg->m_colourSwatch.grab().toImage();
    EXPECT_EQ(swatch.pixel(0, 0), qRgb(0, 0, 0)); // the black line round it
    EXPECT_EQ(swatch.pixel(15, 12), ColorRefToQColor(drawing).rgb());
}

INSTANTIATE_TEST_SUITE_P(Commands, ColourCommand,
                         ::testing::Values(ColourCase{false, true, ToolSelect, 1, 1, kNew},
                                           ColourCase{false, true, ToolSelect, -1, 1, 2},
                                           ColourCase{false, true, ToolDimension, 1, 1, 2},
                                           ColourCase{false, false, ToolSelect, 1, 1, 2},
                                           ColourCase{true, true, ToolDrag, -1, kNew, kNew},
                                           ColourCase{true, false, ToolDrag, -1, 1, 2}));

} // namespace
