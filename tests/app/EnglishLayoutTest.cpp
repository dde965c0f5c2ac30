// The interface laid out in English: the windows show the English captions,
// every caption fits the control the layout gives it, and a window's
// accelerators stay distinct.

#include "app/InterfaceLanguage.h"
#include "dialog/CAboutDlg.h"
#include "dialog/CRangeFinderPicker.h"
#include "dialog/DialogFixture.h"
#include "dialog/PlaneSizeDialog.h"
#include "filedialog/CMyFileDialog.h"
#include "telvo/MeterDiscovery.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QToolButton>

namespace {

QString Shown(const QString& caption) {
    QString shown = caption;
    shown.replace(QRegularExpression(QStringLiteral("&(?!&)")), QString());
    return shown;
}

// Where `control` cannot show its whole caption, what and why; else empty.
std::string Clipped(QWidget* control) {
    const QFontMetrics fm(control->font());
    QString text;
    QRect room;
    int flags = Qt::TextShowMnemonic;
    if (auto* check = qobject_cast<QCheckBox*>(control)) {
        QStyleOptionButton option;
        option.initFrom(check);
        option.text = check->text();
        text = Shown(check->text());
        room = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
    } else if (auto* push = qobject_cast<QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        text = Shown(push->text());
        room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        text = Shown(group->title());
        const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, group);
        // The label's place, no wider than the frame.
        room = label.intersected(group->rect());
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        if (!label->pixmap().isNull())
            return {};
        // A label shows an accelerator when it names a buddy.
        text = label->buddy() ? Shown(label->text()) : label->text();
        room = label->contentsRect();
        flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    } else {
        return {};
    }
    if (text.isEmpty())
        return {};
    const QRect needed = fm.boundingRect(room, flags, text);
    // A single line is as high in either language; more lines must fit.
    const bool lines = needed.height() > fm.lineSpacing() * 3 / 2;
    if (needed.width() <= room.width() && (!lines || needed.height() <= room.height()))
        return {};
    return control->metaObject()->className() + std::string(" ") +
           control->objectName().toStdString() + " \"" + text.toStdString() + "\" needs " +
           std::to_string(needed.width()) + "x" + std::to_string(needed.height()) + ", has " +
           std::to_string(room.width()) + "x" + std::to_string(room.height());
}

// Every caption of `window`'s controls, shown or hidden.
void ExpectNoClippedCaption(QWidget* window) {
    int checked = 0;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (qobject_cast<QToolButton*>(control))
            continue; // icon only: the caption is the tip
        const std::string clipped = Clipped(control);
        EXPECT_EQ(clipped, std::string()) << "in " << window->metaObject()->className();
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

class EnglishWindow : public MainWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(UseInterfaceLanguage(InterfaceLanguage::English));
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        dlg.reset();
        UseInterfaceLanguage(InterfaceLanguage::Chinese, QtTexts::AsShipped);
    }
};

struct CaptionCase {
    int control;
    const char* english;
};

// A few known captions: the window really speaks English.
TEST_F(EnglishWindow, ShowsEnglishCaptions) {
    const CaptionCase captions[] = {
        {IDC_OPEN_PHOTO, "&Open photo"},         {IDC_SAVE_INFO, "&Save info"},
        {IDC_EXPORT_PICTURE, "&Export picture"}, {IDC_EXPORT_REPORT, "Export &report"},
        {IDC_REFERENCE_CHECK, "As reference"},   {IDC_COLOUR_LABEL, "Colour:"},
        {IDC_NOTE_TITLE_LABEL, "Title:"}};
    for (const CaptionCase& c : captions) {
        QWidget* control = Item(c.control);
        ASSERT_NE(control, nullptr) << c.english;
        const QString text = qobject_cast<QAbstractButton*>(control)
                                 ? qobject_cast<QAbstractButton*>(control)->text()
                                 : qobject_cast<QLabel*>(control)->text();
        EXPECT_EQ(text, QString::fromUtf8(c.english));
    }
    EXPECT_EQ(dlg->Item<QGroupBox>(IDC_ZOOM_GROUP)->title(), QStringLiteral("Zoom"));
    EXPECT_EQ(dlg->Item<QToolButton>(IDC_ZOOM_FIT)->toolTip(), QStringLiteral("Fit to window"));
    QStringList logoMenu;
    for (QAction* action : Item(IDC_LOGO)->actions())
        logoMenu << action->text();
    EXPECT_TRUE(logoMenu.contains(QStringLiteral("&About KZR...")))
        << logoMenu.join('|').toStdString();
    EXPECT_TRUE(logoMenu.contains(QStringLiteral("Recent photos")))
        << logoMenu.join('|').toStdString();

    // The canvas's context menu too.
    QMenu menu;
    canvas().BuildContextMenu(menu, false, false);
    QStringList entries;
    for (QAction* action : menu.actions())
        entries << action->text();
    EXPECT_TRUE(entries.contains(QStringLiteral("Zoom in"))) << entries.join('|').toStdString();
    EXPECT_TRUE(entries.contains(QStringLiteral("&Undo"))) << entries.join('|').toStdString();
}

// With a photo open, in each tool's panel: nothing is cut off.
TEST_F(EnglishWindow, NoCaptionIsClipped) {
    Open(WritePhoto(QStringLiteral("room.jpg")));
    ASSERT_FALSE(dlg->m_strPhotoPath.isEmpty());
    for (int tool : {IDC_TOOL_DRAG, IDC_TOOL_DIMENSION, IDC_TOOL_NOTE, IDC_TOOL_SELECT}) {
        Click(tool);
        QApplication::processEvents();
        ExpectNoClippedCaption(dlg.get());
    }
    // The connect command's other caption.
    dlg->Item<QPushButton>(IDC_CONNECT_RANGE)
        ->setText(QCoreApplication::translate("CMeasureDlg", "重新連接..."));
    ExpectNoClippedCaption(dlg.get());
}

// The window's buttons each answer to their own Alt+letter.
TEST_F(EnglishWindow, AcceleratorsAreDistinct) {
    QMap<int, QString> taken;
    for (QAbstractButton* button : dlg->findChildren<QAbstractButton*>()) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(button->text());
        if (mnemonic.isEmpty())
            continue;
        const int key = mnemonic[0].toCombined();
        EXPECT_FALSE(taken.contains(key))
            << button->text().toStdString() << " and " << taken.value(key).toStdString();
        taken.insert(key, button->text());
    }
    EXPECT_GE(taken.size(), 7); // open, save, export, report, connect, help, exit
}

class NoScan : public MeterDiscovery {
public:
    void Start() override {}
    void Stop() override {}
};

class EnglishDialogs : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(UseInterfaceLanguage(InterfaceLanguage::English)); }
    void TearDown() override {
        UseInterfaceLanguage(InterfaceLanguage::Chinese, QtTexts::AsShipped);
    }
};

TEST_F(EnglishDialogs, AboutBoxFits) {
    CAboutDlg about;
    about.show();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    ExpectNoClippedCaption(&about);
}

TEST_F(EnglishDialogs, RangeFinderPickerFits) {
    CRangeFinderPicker picker(std::make_unique<NoScan>(),
                              QStringList{QStringLiteral("/dev/ttyUSB0")}, std::nullopt);
    picker.show();
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("Choose a range finder"));
    EXPECT_EQ(picker.ScanButton()->text(), QStringLiteral("&Search again"));
    ExpectNoClippedCaption(&picker);
}

TEST_F(EnglishDialogs, PlaneSizeDialogFits) {
    PlaneSizeDialog dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Reference plane"));
    ExpectNoClippedCaption(&dialog);
}

// The picture dialog's own controls: the preview's size line.
TEST_F(EnglishDialogs, PictureDialogPreviewFits) {
    CMyFileDialog dialog(true, QString(), QString(), OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                         QStringLiteral("JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg||"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QLabel* size = dialog.SizeText();
    ASSERT_NE(size, nullptr);
    size->setText(CMyFileDialog::SizeTextFor(QSize(12000, 9000)));
    EXPECT_EQ(Clipped(size), std::string());
}

} // namespace
