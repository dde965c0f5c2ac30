#include "filedialog/CMyFileDialog.h"
#include "filedialog/CPreviewStatic.h"
#include "platform/DialogUnits.h"
#include "filedialog/ThumbnailCache.h"
#include "platform/Prompts.h"

#include "PictureFiles.h"

#include <QApplication>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const char* const kOpenFilter = "JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg||";

class CMyFileDialogTest : public ::testing::Test {
protected:
    CMyFileDialogTest()
        : m_dialog(true, QString(), QString(), OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                   QString::fromLatin1(kOpenFilter)) {}
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_dialog.setDirectory(m_dir.path());
    }
    QString Jpeg(const char* name, int w, int h) {
        return WriteJpeg(m_dir.filePath(QString::fromLatin1(name)), w, h);
    }
    // Makes `path` the current file of the list, as a click on it does, and
    // waits for its preview.
    void Select(const QString& path) {
        auto* list = m_dialog.findChild<QListView*>(QStringLiteral("listView"));
        auto* model = m_dialog.findChild<QFileSystemModel*>();
        ASSERT_TRUE(list && model);
        const QModelIndex index = model->index(path);
        ASSERT_TRUE(index.isValid());
        ASSERT_EQ(list->model(), model);
        list->setCurrentIndex(index);
        ASSERT_TRUE(WaitUntil([&] { return !m_dialog.Preview()->IsLoading(); }));
    }
    QString SizeText() const { return m_dialog.SizeText()->text(); }

    QTemporaryDir m_dir;
    CMyFileDialog m_dialog;
};

TEST_F(CMyFileDialogTest, OffersThePreviewPanelBesideTheFileList) {
    auto* preview = m_dialog.findChild<CPreviewStatic*>(QStringLiteral("IDC_PREVIEW"));
    auto* size = m_dialog.findChild<QLabel*>(QStringLiteral("IDC_PREVIEW_SIZE"));
    ASSERT_EQ(preview, m_dialog.Preview());
    ASSERT_EQ(size, m_dialog.SizeText());
    m_dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(size->isVisible());

    // The template's dialog units, in the panel font's base units.
    const QWidget* panel = m_dialog.Panel();
    const DialogUnits units(panel->font());
    EXPECT_EQ(panel->size(), QSize(units.X(145), units.Y(94)));
    EXPECT_EQ(preview->geometry(), units.Rect(33, 7, 80, 60));
    EXPECT_EQ(size->geometry(), units.Rect(42, 74, 63, 8));
    EXPECT_GT(panel->width(), preview->geometry().right());
    EXPECT_GT(panel->height(), size->geometry().bottom());
    EXPECT_LT(preview->geometry().bottom(), size->geometry().top());

    auto* list = m_dialog.findChild<QListView*>(QStringLiteral("listView"));
    ASSERT_NE(list, nullptr);
    const QRect listRect(list->mapTo(&m_dialog, QPoint(0, 0)), list->size());
    const QRect panelRect(panel->mapTo(&m_dialog, QPoint(0, 0)), panel->size());
    EXPECT_GE(panelRect.left(), listRect.right());
    EXPECT_TRUE(m_dialog.rect().contains(panelRect));
}

TEST_F(CMyFileDialogTest, BeforeAnySelectionThePreviewIsGreyAndTheSizeTextEmpty) {
    CPreviewStatic* preview = m_dialog.Preview();
    EXPECT_EQ(PixelOf(preview, preview->width() / 2, preview->height() / 2), QColor(128, 128, 128));
    EXPECT_TRUE(SizeText().isEmpty());
}

TEST_F(CMyFileDialogTest, SelectingAPictureShowsItsSize) {
    Select(Jpeg("room.jpg", 3000, 2000));
    EXPECT_EQ(SizeText(), QString::fromUtf8("Size:3000×2000"));
    Select(Jpeg("door.jpeg", 2000, 3000));
    EXPECT_EQ(SizeText(), QString::fromUtf8("Size:2000×3000"));
    EXPECT_TRUE(m_dialog.Preview()->HasPicture());
}

TEST_F(CMyFileDialogTest, TypingAFileNameShowsItsPreview) {
    Jpeg("room.jpg", 3000, 2000);
    auto* edit = m_dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    m_dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    QTest::keyClicks(edit, QStringLiteral("room.jpg"));
    ASSERT_TRUE(WaitUntil([&] { return !SizeText().isEmpty(); }));
    EXPECT_EQ(SizeText(), QString::fromUtf8("Size:3000×2000"));
}

// The centre of the icon the file list draws for `path`.
QColor IconCentre(QFileSystemModel* model, const QString& path) {
    const QIcon icon = model->index(path).data(Qt::DecorationRole).value<QIcon>();
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    icon.paint(&painter, image.rect());
    painter.end();
    return image.pixelColor(24, 24);
}

TEST_F(CMyFileDialogTest, TheFileListShowsASmallPictureOfEachPhoto) {
    const QString blue = WriteJpeg(m_dir.filePath(QStringLiteral("blue.jpg")), 400, 300, Qt::blue);
    auto* model = m_dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    m_dialog.show();
    EXPECT_TRUE(WaitUntil([&] { return Near(IconCentre(model, blue), Qt::blue); }))
        << IconCentre(model, blue).name().toStdString();
}

TEST(ThumbnailCacheTest, ARewrittenPhotoIsDecodedAgain) {
    QTemporaryDir dir;
    const QString path = WriteJpeg(dir.filePath(QStringLiteral("p.jpg")), 400, 300, Qt::blue);
    ThumbnailCache cache(QSize(48, 48));
    EXPECT_TRUE(cache.Thumbnail(path, 1).isNull()); // queued
    ASSERT_TRUE(WaitUntil([&] { return !cache.Thumbnail(path, 1).isNull(); }));
    EXPECT_TRUE(Near(cache.Thumbnail(path, 1).pixelColor(24, 18), Qt::blue));
    WriteJpeg(path, 400, 300, Qt::green);
    ASSERT_TRUE(WaitUntil([&] { return !cache.Thumbnail(path, 2).isNull(); }));
    EXPECT_TRUE(Near(cache.Thumbnail(path, 2).pixelColor(24, 18), Qt::green));
}

TEST_F(CMyFileDialogTest, NamesOfNothingLeaveThePreviewAndSizeTextAsTheyWere) {
    const QString path = Jpeg("room.jpg", 3000, 2000);
    Select(path);
    ASSERT_EQ(SizeText(), QString::fromUtf8("Size:3000×2000"));
    for (const QString& nothing :
         {QString(), m_dir.filePath(QStringLiteral("gone.jpg")), m_dir.path()}) {
        Q_EMIT m_dialog.currentChanged(nothing);
        SettleWorkers();
        EXPECT_EQ(SizeText(), QString::fromUtf8("Size:3000×2000")) << nothing.toStdString();
        EXPECT_EQ(m_dialog.Preview()->PicturePath(), path);
        EXPECT_TRUE(m_dialog.Preview()->HasPicture());
    }
}

TEST_F(CMyFileDialogTest, AFileThatCannotBeDecodedShowsNoPictureAndNoSize) {
    Select(Jpeg("room.jpg", 3000, 2000));
    const QString broken = m_dir.filePath(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(WriteBrokenJpeg(broken));
    Q_EMIT m_dialog.currentChanged(broken);
    SettleWorkers();
    EXPECT_FALSE(m_dialog.Preview()->HasPicture());
    EXPECT_TRUE(SizeText().isEmpty());
    EXPECT_FALSE(m_dialog.Preview()->toolTip().isEmpty());
}

TEST_F(CMyFileDialogTest, QuickSelectionChangesShowOnlyTheLastFile) {
    const QString a = Jpeg("a.jpg", 4000, 3000);
    const QString b = Jpeg("b.jpg", 640, 480);
    const QString c = Jpeg("c.jpg", 300, 200);
    QStringList texts;
    QObject::connect(m_dialog.Preview(), &CPreviewStatic::PictureChanged,
                     [&] { texts.append(SizeText()); });
    Q_EMIT m_dialog.currentChanged(a);
    Q_EMIT m_dialog.currentChanged(b);
    Q_EMIT m_dialog.currentChanged(c);
    SettleWorkers();
    EXPECT_EQ(SizeText(), QString::fromUtf8("Size:300×200"));
    EXPECT_FALSE(texts.contains(QString::fromUtf8("Size:4000×3000")));
    EXPECT_FALSE(texts.contains(QString::fromUtf8("Size:640×480")));
}

TEST_F(CMyFileDialogTest, ClosingWhileAPictureIsDecodingDropsItsResult) {
    m_dialog.show();
    Q_EMIT m_dialog.currentChanged(Jpeg("big.jpg", 4000, 3000));
    ASSERT_TRUE(m_dialog.Preview()->IsLoading());
    m_dialog.reject();
    EXPECT_FALSE(m_dialog.Preview()->IsLoading());
    SettleWorkers();
    EXPECT_TRUE(SizeText().isEmpty());
}

TEST(CMyFileDialogLifetimeTest, DestroyingTheDialogWhileDecodingIsSafe) {
    QTemporaryDir dir;
    const QString path = WriteJpeg(dir.filePath(QStringLiteral("big.jpg")), 4000, 3000);
    {
        CMyFileDialog dialog(true, QString(), QString(), OFN_FILEMUSTEXIST,
                             QString::fromLatin1(kOpenFilter));
        Q_EMIT dialog.currentChanged(path);
        QTest::qWait(1);
    }
    SettleWorkers();
    SUCCEED();
}

TEST(CMyFileDialogAccessorsTest, GivesTheChosenPathAndFileName) {
    QTemporaryDir dir;
    const QString path = WriteJpeg(dir.filePath(QStringLiteral("kitchen.jpg")), 30, 20);
    CMyFileDialog dialog(true, QString(), QString(), OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                         QString::fromLatin1(kOpenFilter));
    dialog.setDirectory(dir.path());
    dialog.selectFile(path);
    EXPECT_EQ(dialog.GetPathName(), path);
    EXPECT_EQ(dialog.GetFileName(), QStringLiteral("kitchen.jpg"));
}

// Answers the next modal dialog from inside its own event loop.
template <typename Answer> void AnswerNextDialog(Answer answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<CMyFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(dialog);
    });
}

TEST(PhotoOpenPromptTest, TheDesktopPromptRunsThePictureDialog) {
    QTemporaryDir dir;
    const QString path = WriteJpeg(dir.filePath(QStringLiteral("kitchen.jpg")), 30, 20);
    AnswerNextDialog([&](CMyFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("JPGE IMAGE (*.jpg *.jpeg)")});
        dialog->setDirectory(dir.path());
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
    });
    EXPECT_EQ(Prompts().ChoosePhotoToOpen(nullptr, QString::fromLatin1(kOpenFilter)), path);

    AnswerNextDialog([](CMyFileDialog* dialog) { dialog->reject(); });
    EXPECT_TRUE(Prompts().ChoosePhotoToOpen(nullptr, QString::fromLatin1(kOpenFilter)).isEmpty());
}

} // namespace
