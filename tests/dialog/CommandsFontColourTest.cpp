// The font commands and the all-dimension colour command.

#include "DialogFixture.h"

#include "platform/Prompts.h"

#include <QLabel>

namespace {

// Answers the font dialog with `face` (and a height), or cancels it; the
// colour dialog with `colour`.
class FontColourAnswer : public Prompter {
public:
    bool ChooseFont(QWidget*, LOGFONTA& font) override {
        ++fontCalls;
        offeredFont = font;
        if (!confirm)
            return false;
        SetFaceName(font, face);
        font.lfHeight = -20;
        return true;
    }
    bool ChooseColour(QWidget*, COLORREF& colour) override {
        ++colourCalls;
        offeredColour = colour;
        if (!confirm)
            return false;
        colour = answerColour;
        return true;
    }
    bool confirm = true;
    QString face = QStringLiteral("Courier New");
    COLORREF answerColour = RGB(0, 128, 255);
    int fontCalls = 0;
    int colourCalls = 0;
    LOGFONTA offeredFont;
    COLORREF offeredColour = 0;
};

Dimension MakeDimension(COLORREF colour) {
    Dimension dim;
    dim.colour = colour;
    dim.start = POINT{10, 10};
    dim.end = POINT{100, 10};
    dim.font = DefaultLogFont();
    return dim;
}

InfoNote MakeNote() {
    InfoNote note;
    note.anchor = POINT{5, 5};
    note.font = DefaultLogFont();
    return note;
}

class FontColourTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        canvas().m_info.dimensions = {MakeDimension(RGB(1, 2, 3)), MakeDimension(RGB(4, 5, 6))};
        canvas().m_info.notes = {MakeNote(), MakeNote()};
    }
    CPhotoCanvas& canvas() { return dlg->m_canvas; }
    QString Label(int id) { return qobject_cast<QLabel*>(Item(id))->text(); }
    QString DimFace(size_t i) { return FaceName(canvas().m_info.dimensions[i].font); }
    QString NoteFace(size_t i) { return FaceName(canvas().m_info.notes[i].font); }
    FontColourAnswer answer;
};

const QString kArial = QStringLiteral("Arial");
const QString kCourier = QStringLiteral("Courier New");

} // namespace

TEST_F(FontColourTest, NoteFontGoesToTheSelectedNoteOnly) {
    ScopedPrompter prompter(&answer);
    canvas().m_nSelNote = 1;
    canvas().m_nSelDim = 0; // a dimension selection does not matter here
    ShowWindow();
    Item(IDC_NOTE_FONT)->setEnabled(true);
    Item(IDC_NOTE_FONT)->setVisible(true);
    QTest::mouseClick(Item(IDC_NOTE_FONT), Qt::LeftButton);
    ASSERT_EQ(answer.fontCalls, 1);
    EXPECT_EQ(FaceName(answer.offeredFont), kArial);
    EXPECT_EQ(NoteFace(1), kCourier);
    EXPECT_EQ(canvas().m_info.notes[1].font.lfHeight, -20);
    EXPECT_EQ(NoteFace(0), kArial);
    EXPECT_EQ(DimFace(0), kArial);
    EXPECT_EQ(FaceName(canvas().m_logFont), kCourier);
    EXPECT_EQ(Label(IDC_NOTE_FONT_NAME), kCourier);
    EXPECT_EQ(Label(IDC_DIM_FONT_NAME), kArial);
}

TEST_F(FontColourTest, NoteFontWithoutASelectionOnlyChangesTheCurrentFont) {
    ScopedPrompter prompter(&answer);
    for (int selected : {-1, 2}) { // none, and an index past the list
        canvas().m_nSelNote = selected;
        dlg->OnNoteFont();
        EXPECT_EQ(NoteFace(0), kArial) << selected;
        EXPECT_EQ(NoteFace(1), kArial) << selected;
        EXPECT_EQ(Label(IDC_NOTE_FONT_NAME), kArial) << selected;
        // The next note placed takes this font.
        EXPECT_EQ(FaceName(canvas().m_logFont), kCourier) << selected;
    }
    // The next font dialog starts from the font chosen last.
    answer.face = QStringLiteral("Times New Roman");
    dlg->OnNoteFont();
    EXPECT_EQ(FaceName(answer.offeredFont), kCourier);
}

TEST_F(FontColourTest, DimensionFontShowsTheFaceAndGoesToTheSelectedDimension) {
    ScopedPrompter prompter(&answer);
    canvas().m_nSelDim = 1;
    canvas().m_nSelNote = 0;
    ShowWindow();
    Item(IDC_DIM_FONT)->setVisible(true);
    QTest::mouseClick(Item(IDC_DIM_FONT), Qt::LeftButton);
    ASSERT_EQ(answer.fontCalls, 1);
    EXPECT_EQ(DimFace(1), kCourier);
    EXPECT_EQ(DimFace(0), kArial);
    EXPECT_EQ(NoteFace(0), kArial);
    EXPECT_EQ(Label(IDC_DIM_FONT_NAME), kCourier);
    EXPECT_EQ(Label(IDC_NOTE_FONT_NAME), kArial);
}

TEST_F(FontColourTest, DimensionFontWithoutASelectionShowsTheFaceOnly) {
    ScopedPrompter prompter(&answer);
    for (int selected : {-1, 5}) {
        canvas().m_nSelDim = selected;
        dlg->OnDimensionFont();
        EXPECT_EQ(DimFace(0), kArial);
        EXPECT_EQ(DimFace(1), kArial);
        EXPECT_EQ(Label(IDC_DIM_FONT_NAME), kCourier);
        EXPECT_EQ(FaceName(canvas().m_logFont), kCourier);
    }
}

TEST_F(FontColourTest, AllDimensionFontThroughTheMenuCommand) {
    ScopedPrompter prompter(&answer);
    dlg->OnCommand(ID_ALL_DIM_FONT);
    EXPECT_EQ(DimFace(0), kCourier);
    EXPECT_EQ(DimFace(1), kCourier);
    EXPECT_EQ(NoteFace(0), kArial);
    EXPECT_EQ(Label(IDC_DIM_FONT_NAME), kCourier);
    EXPECT_EQ(canvas().m_info.dimensions[0].colour, RGB(1, 2, 3));
}

TEST_F(FontColourTest, CancelledFontDialogsChangeNothing) {
    answer.confirm = false;
    ScopedPrompter prompter(&answer);
    canvas().m_nSelDim = 0;
    canvas().m_nSelNote = 0;
    dlg->OnNoteFont();
    dlg->OnDimensionFont();
    dlg->OnAllDimensionFont();
    EXPECT_EQ(answer.fontCalls, 3);
    EXPECT_EQ(FaceName(canvas().m_logFont), kArial);
    EXPECT_EQ(DimFace(0), kArial);
    EXPECT_EQ(NoteFace(0), kArial);
    EXPECT_EQ(Label(IDC_DIM_FONT_NAME), kArial);
    EXPECT_EQ(Label(IDC_NOTE_FONT_NAME), kArial);
}

TEST_F(FontColourTest, AllDimensionColourRecoloursEveryDimensionAndTheSwatch) {
    ScopedPrompter prompter(&answer);
    canvas().m_nSelDim = -1;
    dlg->OnCommand(ID_ALL_DIM_COLOUR);
    ASSERT_EQ(answer.colourCalls, 1);
    EXPECT_EQ(answer.offeredColour, RGB(255, 0, 0));
    EXPECT_EQ(canvas().m_info.dimensions[0].colour, RGB(0, 128, 255));
    EXPECT_EQ(canvas().m_info.dimensions[1].colour, RGB(0, 128, 255));
    EXPECT_EQ(canvas().m_pendingDim.colour, RGB(0, 128, 255));
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(0, 128, 255));
    EXPECT_EQ(DimFace(0), kArial);
}

TEST_F(FontColourTest, AllDimensionColourWithoutDimensionsChangesTheCurrentColourOnly) {
    ScopedPrompter prompter(&answer);
    canvas().m_info.dimensions.clear();
    dlg->OnAllDimensionColour();
    EXPECT_TRUE(canvas().m_info.dimensions.empty());
    EXPECT_EQ(canvas().m_pendingDim.colour, RGB(0, 128, 255));
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(0, 128, 255));
    const QImage swatch = dlg->m_colourSwatch.grab().toImage();
    EXPECT_EQ(swatch.pixelColor(15, 12), QColor(0, 128, 255));
}

TEST_F(FontColourTest, CancelledColourDialogChangesNothing) {
    answer.confirm = false;
    ScopedPrompter prompter(&answer);
    dlg->OnAllDimensionColour();
    EXPECT_EQ(answer.colourCalls, 1);
    EXPECT_EQ(canvas().m_info.dimensions[0].colour, RGB(1, 2, 3));
    EXPECT_EQ(canvas().m_pendingDim.colour, RGB(255, 0, 0));
    EXPECT_EQ(dlg->m_colourSwatch.m_colour, RGB(255, 0, 0));
}
