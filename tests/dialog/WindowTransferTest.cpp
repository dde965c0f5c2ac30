// Photos in and out of the main window: Ctrl+C outside the edit boxes copies the
// annotated picture, a dropped JPEG opens (the first of several; anything
// else is refused), and the logo's menu lists the photos opened last,
// remembered in the settings. The X server's clipboard and drag and drop:
// tests/cli/clipboard_x11 runs the tests named UnderX here.

#include "DialogFixture.h"
#include "common/NonRegularFiles.h"
#include "common/XTestKeyboard.h"
#include "filedialog/LastPhotoFolder.h"

#include <QClipboard>
#include <QDir>
#include <QDrag>
#include <QDropEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
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
    void ExpectAnnotatedPictureOnClipboard() {
        const QImage copied = QGuiApplication::clipboard()->image();
        ASSERT_EQ(copied.size(), QSize(320, 240));
        // The dimension line is drawn into the grey photo.
        EXPECT_EQ(QColor(copied.pixel(60, 120)), QColor(Qt::red));
        EXPECT_LT(qAbs(qRed(copied.pixel(160, 200)) - 128), 4);
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
    const bool x = QGuiApplication::platformName() == QLatin1String("xcb");
    const auto ctrlC = [x](QWidget* focus) {
        if (x)
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
    ExpectAnnotatedPictureOnClipboard();
}

// Drops of files on the window: the first file opens when it is a JPEG,
// after the question about unsaved work; anything else is refused.
struct DropCase {
    QStringList files; // made in the test folder: *.jpg are JPEGs, others not
    bool accepted;
};
class WindowDropTest : public WindowTransferTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(WindowDropTest, OpensAJpegAndRefusesTheRest) {
    const DropCase& c = GetParam();
    QList<QUrl> urls;
    for (const QString& name : c.files) {
        if (name.endsWith(".jpg"))
            WritePhoto(name);
        else
            QImage(8, 8, QImage::Format_RGB32).save(PathOf(name), "PNG");
        urls << QUrl::fromLocalFile(PathOf(name));
    }
    Open(WritePhoto("first.jpg"));
    info().notes.push_back(MakeNote({5, 5})); // unsaved
    prompter.answers = {QMessageBox::Discard};
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = Item(IDC_CANVAS)->geometry().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg.get(), &enter);
    EXPECT_EQ(enter.isAccepted(), c.accepted);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg.get(), &drop);
    EXPECT_EQ(drop.isAccepted(), c.accepted);
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg->m_strPhotoPath, PathOf(c.accepted ? c.files[0] : "first.jpg"));
    EXPECT_EQ(prompter.texts.size(), c.accepted ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Drops, WindowDropTest,
                         ::testing::Values(DropCase{{"a.jpg"}, true}, DropCase{{"b.png"}, false},
                                           DropCase{{"c.jpg", "d.jpg", "e.png"}, true},
                                           DropCase{{"f.png", "g.jpg"}, false}));

TEST_F(WindowTransferTest, RecentPhotosNewestFirstAtMostEightRememberedAndAMissingOneLeaves) {
    EXPECT_EQ(RecentEntry()->text(), Utf8("最近的照片"));
    for (int i = 0; i < 10; ++i)
        Open(WritePhoto(QStringLiteral("p%1.jpg").arg(i)));
    Open(PathOf("p3.jpg")); // again: to the front, not twice
    QStringList expected{QDir::toNativeSeparators(PathOf("p3.jpg"))};
    for (int i = 9; expected.size() < 8; --i)
        if (i != 3)
            expected << QDir::toNativeSeparators(PathOf(QStringLiteral("p%1.jpg").arg(i)));
    EXPECT_EQ(RecentShown(), expected);
    ASSERT_TRUE(QFile::remove(PathOf("p9.jpg")));
    RecentEntry()->menu()->actions().at(1)->trigger();
    EXPECT_EQ(prompter.texts, QStringList{Utf8("找不到文件：") + PathOf("p9.jpg")});
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
// A file the dragging test writes when it is done: the source offers its data
// until then, as a file manager goes on running after a drag.
constexpr char kDragDoneVariable[] = "TESSAMAR_TEST_DRAG_DONE";
// Set when the drop is to be refused.
constexpr char kDragRefusedVariable[] = "TESSAMAR_TEST_DRAG_REFUSED";

// Another program's window (this test program run again) from which the user
// drags a file: the whole drag goes through the X server's drag-and-drop
// protocol, as from a file manager.
class DragSource : public QWidget {
public:
    explicit DragSource(const QString& file) : m_file(file) { resize(160, 120); }
    bool dragged = false;
    Qt::DropAction dropAction = Qt::IgnoreAction;

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(m_file)});
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        dropAction = drag->exec(Qt::CopyAction);
        dragged = true;
    }

private:
    QString m_file;
};

// Only as the drag source of the test below; skipped in every other run.
TEST(DragSourceUnderX, OffersTheFileGiven) {
    const QString file = qEnvironmentVariable(kDragSourceVariable);
    if (file.isEmpty() || QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "runs as another test's drag source";
    DragSource source(file);
    source.move(1000, 780); // clear of the main window of the other program
    source.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&source));
    QTest::qWait(300); // framed and placed by the window manager
    // Where the other program's drag begins.
    const QPoint from = source.mapToGlobal(QPoint(80, 60));
    std::printf("drag from %d %d\n", from.x(), from.y());
    std::fflush(stdout);
    ASSERT_TRUE(QTest::qWaitFor([&source] { return source.dragged; }, 20000));
    EXPECT_EQ(source.dropAction,
              qEnvironmentVariableIsSet(kDragRefusedVariable) ? Qt::IgnoreAction : Qt::CopyAction);
    const QString done = qEnvironmentVariable(kDragDoneVariable);
    EXPECT_TRUE(QTest::qWaitFor([&done] { return QFile::exists(done); }, 20000));
}

// A JPEG opens; a named pipe is refused at once (judging it must not wait
// for a writer that never comes).
class DraggedUnderX : public WindowTransferTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DraggedUnderX, AJpegFromAnotherProgramOpensANamedPipeIsRefused) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    const bool fifo = GetParam();
    const QString photo =
        fifo ? PathOf(QStringLiteral("pipe.jpg")) : PhotoWithDimension("dragged.jpg");
    if (fifo) {
        ASSERT_TRUE(MakeFifo(photo));
    }
    dlg->move(0, 0);
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));

    QProcess source;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kDragSourceVariable), photo);
    const QString done = PathOf(QStringLiteral("drag-done"));
    env.insert(QString::fromLatin1(kDragDoneVariable), done);
    if (fifo)
        env.insert(QString::fromLatin1(kDragRefusedVariable), QStringLiteral("1"));
    source.setProcessEnvironment(env);
    source.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    source.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=DragSourceUnderX.*")});
    ASSERT_TRUE(source.waitForStarted(5000));
    QRegularExpressionMatch shown;
    const QRegularExpression said(QStringLiteral("drag from (-?\\d+) (-?\\d+)"));
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
    QTest::qWait(100);
    for (int step = 1; step <= 8; ++step) {
        const QPoint at = from + (target - from) * step / 8;
        ASSERT_TRUE(pointer.MoveTo(at.x(), at.y()));
        QTest::qWait(60);
    }
    QTest::qWait(200);
    ASSERT_TRUE(pointer.Button(1, false));

    if (fifo) {
        QTest::qWait(500); // a drop that was taken would open by now
        EXPECT_TRUE(dlg->m_strPhotoPath.isEmpty());
    } else {
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg->m_strPhotoPath == photo; }, 10000))
            << "opened: " << dlg->m_strPhotoPath.toStdString();
        ASSERT_TRUE(WaitForFullPhoto(canvas()));
        EXPECT_EQ(info().dimensions.size(), 1u);
    }
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join('|').toStdString();
    ASSERT_TRUE(WriteWholeFile(done, "done"));
    EXPECT_TRUE(QTest::qWaitFor([&source] { return source.state() == QProcess::NotRunning; }));
    EXPECT_EQ(source.exitCode(), 0) << "the drag source's run failed";
}

INSTANTIATE_TEST_SUITE_P(Files, DraggedUnderX, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "NamedPipe" : "Jpeg");
                         });

} // namespace
