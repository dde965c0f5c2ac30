// Photos in and out of the main window: Ctrl+C outside the edit boxes copies the
// annotated picture, a JPEG dragged from another program opens (a named pipe
// opened: WorkflowTest), and the logo's menu lists the
// photos opened last, remembered in the settings. The X server's clipboard and drag and drop:
// tests/cli/clipboard_x11 runs the tests named UnderX here.

#include "DialogFixture.h"
#include "common/XTestKeyboard.h"
#include "filedialog/LastPhotoFolder.h"

#include <QClipboard>
#include <QDir>
#include <QDrag>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QUrl>

#include <X11/keysym.h>
#include <cstdio>

namespace {

class WindowTransferTest : public MainWindowTest {
protected:
    void SetUp() override {
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Tessamar", "Tessamar").clear();
        MainWindowTest::SetUp();
    }
    // A photo with one red dimension across its middle.
    QString PhotoWithDimension(const QString& name) {
        const QString photo = WritePhoto(name, 320, 240);
        PhotoInfo records;
        records.dimensions.push_back(
            MakeDimension({20, 120}, {300, 120}, Utf8("2.4"), RGB(255, 0, 0)));
        EXPECT_TRUE(WriteWholeFile(InfoFilePathFor(photo), records.Serialize()));
        return photo;
    }
    QAction* RecentEntry() { return Item(IDC_LOGO)->actions().last(); }
    QStringList RecentShown() {
        QMenu* menu = RecentEntry()->menu();
        Q_EMIT menu->aboutToShow();
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << a->text();
        return texts;
    }
};

// Under a real X server (tests/cli/clipboard_x11) the keys go through the
// server's XTest extension and the picture through its clipboard.
using WindowTransferUnderX = WindowTransferTest;

TEST_F(WindowTransferUnderX, CtrlCOutsideTheEditBoxesCopiesTheAnnotatedPictureInsideItsText) {
    const auto ctrlC = [](QWidget* focus) {
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            return XTestKeyboard().Chord({XK_Control_L}, XK_c);
        QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
        return true;
    };
    Open(PhotoWithDimension("room.jpg"));
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    QGuiApplication::clipboard()->clear();
    Click(IDC_TOOL_DIMENSION); // shows the value box
    SizeEdit()->setText(QStringLiteral("123"));
    SizeEdit()->selectAll();
    SizeEdit()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return SizeEdit()->hasFocus(); }));
    ASSERT_TRUE(ctrlC(SizeEdit()));
    EXPECT_TRUE(QTest::qWaitFor([] { return QGuiApplication::clipboard()->text() == "123"; }));
    Item(IDC_TOOL_DRAG)->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Item(IDC_TOOL_DRAG)->hasFocus(); }));
    ASSERT_TRUE(ctrlC(Item(IDC_TOOL_DRAG)));
    ASSERT_TRUE(
        QTest::qWaitFor([] { return !QGuiApplication::clipboard()->image().isNull(); }, 5000));
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(320, 240));
    // The dimension line is drawn into the grey photo.
    EXPECT_EQ(QColor(copied.pixel(60, 120)), QColor(Qt::red));
    EXPECT_LT(qAbs(qRed(copied.pixel(160, 200)) - 128), 4);
}

TEST_F(WindowTransferTest, RecentPhotosNewestFirstAtMostEightRememberedAndAMissingOneLeaves) {
    for (int i = 0; i < 9; ++i)
        Open(WritePhoto(QStringLiteral("p%1.jpg").arg(i)));
    Open(PathOf("p3.jpg")); // again: to the front, not twice
    QStringList expected;
    for (int i : {3, 8, 7, 6, 5, 4, 2, 1})
        expected << QDir::toNativeSeparators(PathOf(QStringLiteral("p%1.jpg").arg(i)));
    EXPECT_EQ(RecentShown(), expected);
    ASSERT_TRUE(QFile::remove(PathOf("p8.jpg")));
    RecentEntry()->menu()->actions().at(1)->trigger();
    EXPECT_EQ(prompter.texts, QStringList{Utf8("找不到文件：") + PathOf("p8.jpg")});
    expected.removeAt(1);
    EXPECT_EQ(RecentShown(), expected);
    EXPECT_EQ(dlg->m_strPhotoPath, PathOf("p3.jpg"));
    // The next run shows the list again, and the picture dialog starts in
    // the last photo's folder.
    dlg.reset();
    dlg = std::make_unique<CMeasureDlg>();
    dlg->show();
    EXPECT_EQ(RecentShown(), expected);
    QFileDialog picture;
    OpenInLastPhotoFolder(picture);
    EXPECT_EQ(picture.directory().absolutePath(), dir.path());
}

constexpr char kDragSourceVariable[] = "TESSAMAR_TEST_DRAG_SOURCE";

// Another program's window (this test program run again) from which the user
// drags a file: the whole drag goes through the X server's drag-and-drop
// protocol, as from a file manager.
class DragSource : public QWidget {
protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(qEnvironmentVariable(kDragSourceVariable))});
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }
};

// Only as the drag source of the test below (which ends it); skipped in every
// other run.
TEST(DragSourceUnderX, OffersTheFileGiven) {
    if (!qEnvironmentVariableIsSet(kDragSourceVariable) ||
        QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "runs as another test's drag source";
    DragSource source;
    source.setGeometry(1000, 780, 160, 120); // clear of the other program's main window
    source.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&source));
    QTest::qWait(300); // framed and placed by the window manager
    const QPoint from = source.mapToGlobal(QPoint(80, 60)); // where the drag begins
    std::printf("drag from %d %d\n", from.x(), from.y());
    std::fflush(stdout);
    QTest::qWait(60000);
}

// A JPEG dragged from another program opens with its records.
using DraggedUnderX = WindowTransferTest;

TEST_F(DraggedUnderX, AJpegFromAnotherProgramOpens) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    const QString photo = PhotoWithDimension("dragged.jpg");
    dlg->move(0, 0);
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));

    QProcess source;
    source.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    qputenv(kDragSourceVariable, photo.toLocal8Bit()); // for the source only
    source.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=DragSourceUnderX.*")});
    qunsetenv(kDragSourceVariable);
    const auto end = qScopeGuard([&source] {
        source.kill();
        source.waitForFinished();
    });
    const QRegularExpression said(QStringLiteral("drag from (-?\\d+) (-?\\d+)"));
    QRegularExpressionMatch shown;
    QByteArray out;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            out += source.readAllStandardOutput();
            shown = said.match(QString::fromLatin1(out));
            return shown.hasMatch();
        },
        20000))
        << "the drag source's window did not appear";

    // Pressed on the source, moved in steps onto the canvas, released there.
    XTestKeyboard pointer;
    const QPoint from(shown.captured(1).toInt(), shown.captured(2).toInt());
    const QPoint target = canvas().mapToGlobal(QPoint(60, 60));
    ASSERT_TRUE(pointer.MoveTo(from.x(), from.y()));
    QTest::qWait(60);
    ASSERT_TRUE(pointer.Button(1, true));
    for (int step = 1; step <= 8; ++step) {
        const QPoint at = from + (target - from) * step / 8;
        QTest::qWait(60);
        ASSERT_TRUE(pointer.MoveTo(at.x(), at.y()));
    }
    QTest::qWait(200);
    ASSERT_TRUE(pointer.Button(1, false));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dlg->m_strPhotoPath == photo; }, 10000))
        << "opened: " << dlg->m_strPhotoPath.toStdString();
    ASSERT_TRUE(WaitForFullPhoto(canvas()));
    EXPECT_EQ(info().dimensions.size(), 1u);
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join('|').toStdString();
}

} // namespace
