#include "filedialog/CMyFileDialog.h"
#include "filedialog/CPreviewStatic.h"
#include "platform/DialogUnits.h"

#include "PictureFiles.h"

#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class CMyFileDialogTest : public ::testing::Test {
protected:
    void SetUp() override { m_dialog.setDirectory(m_dir.path()); }
    QString Jpeg(const char* name, int w, int h, QColor colour = Qt::red) {
        return WriteJpeg(m_dir.filePath(QString::fromLatin1(name)), w, h, colour);
    }
    QString SizeText() const { return m_dialog.SizeText()->text(); }

    QTemporaryDir m_dir;
    CMyFileDialog m_dialog{true, QString(), QString(), OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                           QStringLiteral("JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg||")};
};

TEST_F(CMyFileDialogTest, OffersAnEmptyPreviewPanelBesideTheFileList) {
    m_dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    CPreviewStatic* preview = m_dialog.findChild<CPreviewStatic*>(QStringLiteral("IDC_PREVIEW"));
    QLabel* size = m_dialog.findChild<QLabel*>(QStringLiteral("IDC_PREVIEW_SIZE"));
    ASSERT_TRUE(preview && size && preview->isVisible() && size->isVisible());
    EXPECT_TRUE(size->text().isEmpty());

    // Placed in dialog units of the panel's font, to the right of the list.
    const QWidget* panel = m_dialog.Panel();
    const DialogUnits units(panel->font());
    EXPECT_EQ(panel->size(), QSize(units.X(145), units.Y(94)));
    EXPECT_EQ(preview->geometry(), units.Rect(33, 7, 80, 60));
    EXPECT_EQ(size->geometry(), units.Rect(42, 74, 63, 8));
    const auto* list = m_dialog.findChild<QListView*>(QStringLiteral("listView"));
    ASSERT_NE(list, nullptr);
    EXPECT_GE(panel->mapTo(&m_dialog, QPoint(0, 0)).x(),
              list->mapTo(&m_dialog, QPoint(list->width(), 0)).x());
    // Only the filter's patterns are listed.
    EXPECT_EQ(m_dialog.findChild<QFileSystemModel*>()->nameFilters(),
              (QStringList{"*.jpg", "*.jpeg"}));
}

TEST_F(CMyFileDialogTest, TypingAFileNameShowsItsPreviewAndSizeAndChoosesIt) {
    Jpeg("room.jpg", 3000, 2000);
    m_dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    QTest::keyClicks(m_dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), "room.jpg");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !SizeText().isEmpty(); }));
    EXPECT_EQ(SizeText(), QString::fromUtf8("Size:3000×2000"));
    EXPECT_TRUE(m_dialog.Preview()->HasPicture());
    EXPECT_EQ(m_dialog.GetPathName(), m_dir.filePath("room.jpg"));
    EXPECT_EQ(m_dialog.GetFileName(), QStringLiteral("room.jpg"));
}

// Folders and names of nothing leave the preview as it was; a file that
// cannot be decoded leaves the box grey, the size text empty, and says why.
TEST_F(CMyFileDialogTest, OnlyFilesChangeThePreview) {
    const QString path = Jpeg("door.jpeg", 2000, 3000);
    Q_EMIT m_dialog.currentChanged(path);
    SettleWorkers();
    ASSERT_EQ(SizeText(), QString::fromUtf8("Size:2000×3000"));
    for (const QString& nothing : {QString(), m_dir.filePath("gone.jpg"), m_dir.path()}) {
        Q_EMIT m_dialog.currentChanged(nothing);
        SettleWorkers();
        EXPECT_EQ(SizeText(), QString::fromUtf8("Size:2000×3000")) << nothing.toStdString();
        EXPECT_EQ(m_dialog.Preview()->PicturePath(), path);
    }
    const QString broken = m_dir.filePath("broken.jpg");
    ASSERT_TRUE(QFile(broken).open(QIODevice::WriteOnly)); // empty
    Q_EMIT m_dialog.currentChanged(broken);
    SettleWorkers();
    EXPECT_FALSE(m_dialog.Preview()->HasPicture());
    EXPECT_FALSE(m_dialog.Preview()->toolTip().isEmpty());
    EXPECT_EQ(PixelOf(m_dialog.Preview(), 10, 10), QColor(128, 128, 128));
    EXPECT_TRUE(SizeText().isEmpty());
}

TEST_F(CMyFileDialogTest, ClosingOrDestroyingWhileAPictureIsDecodingDropsItsResult) {
    m_dialog.show();
    Q_EMIT m_dialog.currentChanged(Jpeg("big.jpg", 4000, 3000));
    ASSERT_TRUE(m_dialog.Preview()->IsLoading());
    m_dialog.reject();
    EXPECT_FALSE(m_dialog.Preview()->IsLoading());
    SettleWorkers();
    EXPECT_TRUE(SizeText().isEmpty());
    {
        CMyFileDialog other(true);
        Q_EMIT other.currentChanged(m_dir.filePath("big.jpg"));
    }
    SettleWorkers(); // nothing is delivered to the dialog that is gone
}

} // namespace
