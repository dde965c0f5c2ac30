// The interface laid out in English: every caption fits the control the
// layout gives it, in the main window (each tool's panel) and its dialogs.

#include "app/InterfaceLanguage.h"
#include "common/Pictures.h"
#include "dialog/CAboutDlg.h"
#include "dialog/CMeasureDlg.h"
#include "dialog/PlaneSizeDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolButton>

namespace {

// Where `control` cannot show its whole caption, what and why; else empty.
std::string Clipped(QWidget* control) {
    QString text;
    QRect room;
    int flags = Qt::TextShowMnemonic;
    QStyleOptionButton button;
    button.initFrom(control);
    if (auto* check = qobject_cast<QCheckBox*>(control)) {
        text = button.text = check->text();
        room = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &button, check);
    } else if (auto* push = qobject_cast<QPushButton*>(control)) {
        text = button.text = push->text();
        room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &button, push);
    } else if (auto* label = qobject_cast<QLabel*>(control); label && label->pixmap().isNull()) {
        text = label->text();
        room = label->contentsRect();
        // A label shows an accelerator only when it names a buddy.
        flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0) |
                (label->buddy() ? Qt::TextShowMnemonic : 0);
    }
    if (text.isEmpty())
        return {};
    const QFontMetrics fm(control->font());
    const QRect needed = fm.boundingRect(room, flags, text);
    // A single line is as high in either language; more lines must fit.
    const bool lines = needed.height() > fm.lineSpacing() * 3 / 2;
    if (needed.width() <= room.width() && (!lines || needed.height() <= room.height()))
        return {};
    return control->objectName().toStdString() + " \"" + text.toStdString() + "\" needs " +
           std::to_string(needed.width()) + "x" + std::to_string(needed.height()) + ", has " +
           std::to_string(room.width()) + "x" + std::to_string(room.height());
}

void ExpectNoClippedCaption(QWidget* window) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    for (QWidget* control : window->findChildren<QWidget*>())
        EXPECT_EQ(Clipped(control), "") << "in " << window->metaObject()->className();
}

TEST(EnglishLayout, NoCaptionIsClipped) {
    ASSERT_TRUE(UseInterfaceLanguage(InterfaceLanguage::English));
    const auto chinese =
        qScopeGuard([] { UseInterfaceLanguage(InterfaceLanguage::Chinese, QtTexts::AsShipped); });
    QTemporaryDir dir;
    CMeasureDlg window;
    window.InitDialog();
    window.show();
    ASSERT_TRUE(window.OpenPhoto(WriteJpeg(dir, "room.jpg", 320, 240)));
    ASSERT_TRUE(window.m_canvas.WaitForPhoto());
    for (int tool : {IDC_TOOL_DRAG, IDC_TOOL_DIMENSION, IDC_TOOL_NOTE, IDC_TOOL_SELECT}) {
        QTest::mouseClick(window.GetDlgItem(tool), Qt::LeftButton);
        ExpectNoClippedCaption(&window);
    }
    // The connect command's other caption.
    window.Item<QPushButton>(IDC_CONNECT_RANGE)
        ->setText(QCoreApplication::translate("CMeasureDlg", "重新連接..."));
    ExpectNoClippedCaption(&window);

    CAboutDlg about;
    ExpectNoClippedCaption(&about);
    PlaneSizeDialog plane;
    ExpectNoClippedCaption(&plane);
}

} // namespace
