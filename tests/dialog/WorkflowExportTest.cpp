// Exporting the annotated picture: what is written, what is left alone, and
// the save dialog the desktop shows for it.

#include "dialog/WorkflowSupport.h"

#include "common/TestSupport.h"
#include "filedialog/MfcFilter.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QTimer>

namespace {
const char kExportFilter[] = "JPGE IMAGE (*.jpg;*.jpeg)|*.jpg; *.jpeg|All Files (*.*)|*.*||";

int Distance(QRgb a, const QColor& b) {
    return std::abs(qRed(a) - b.red()) + std::abs(qGreen(a) - b.green()) +
           std::abs(qBlue(a) - b.blue());
}
} // namespace

class WorkflowExportTest : public WorkflowTest {
protected:
    void SetUp() override {
        WorkflowTest::SetUp();
        // Stored turned, shown upright: 240 x 160 with the red block top-left.
        photo = WritePhoto(QStringLiteral("room.jpg"), 240, 160, QColor(128, 128, 128), 6);
        OpenThroughDialog(photo);
        ASSERT_EQ(dlg->m_canvas.m_dib.GetSize().cx, 240);
        AddDimension(POINT{40, 60}, POINT{200, 60}, "2500", 0x00FF0000); // blue
        AddNote(POINT{60, 100}, Utf8("窗"), QStringLiteral("ab"));
        before = dlg->m_canvas.m_info;
        prompter.messages.clear();
    }
    QString photo;
    PhotoInfo before;
};

TEST_F(WorkflowExportTest, TheExportIsUprightWithEveryRecordDrawnAndTouchesNothingElse) {
    const QString out = PathOf(QStringLiteral("out.jpg"));
    prompter.saveAnswers = {out};

    dlg->OnExportPicture();

    EXPECT_EQ(prompter.saveFilters, QStringList{Utf8(kExportFilter)});
    EXPECT_EQ(prompter.saveSuffixes, QStringList{QStringLiteral("jpg")});
    ASSERT_EQ(prompter.Texts(), QStringList{Utf8("輸出圖片完畢")});

    QImageReader reader(out);
    reader.setAutoTransform(false); // the pixels themselves must stand upright
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    ASSERT_EQ(image.size(), QSize(240, 160));
    EXPECT_LT(Distance(image.pixel(3, 3), Qt::red), 90) << "red block at the top-left";
    EXPECT_LT(Distance(image.pixel(230, 150), QColor(128, 128, 128)), 40);
    // Inside the arrowhead at the start of the line, off the line itself.
    EXPECT_LT(Distance(image.pixel(48, 61), Qt::blue), 150);
    EXPECT_LT(Distance(image.pixel(48, 59), Qt::blue), 150);
    // The yellow box of the note, inside its margin.
    EXPECT_LT(Distance(image.pixel(63, 103), QColor(255, 255, 0)), 90);

    // Only the picture was written.
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("room.dat"))));
    EXPECT_EQ(dlg->m_strPhotoPath, photo);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Tessamar - [room.jpg]"));
    EXPECT_EQ(dlg->m_canvas.m_info.dimensions, before.dimensions);
    EXPECT_EQ(dlg->m_canvas.m_info.notes, before.notes);
    EXPECT_TRUE(dlg->HasUnsavedChanges());
}

TEST_F(WorkflowExportTest, AnExportThatFailsSaysSoAndNeverReportsSuccess) {
    const QString out = PathOf(QStringLiteral("missing-folder/out.jpg"));
    prompter.saveAnswers = {out};

    dlg->OnExportPicture();

    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(Utf8("輸出圖片失敗：") + out))
        << prompter.messages[0].text.toStdString();
    EXPECT_GT(prompter.messages[0].text.size(), (Utf8("輸出圖片失敗：") + out).size())
        << "the reason is given";
    EXPECT_FALSE(QFile::exists(out));
}

TEST(WorkflowSaveDialog, TheDesktopDialogAsksBeforeOverwritingAndReadsTheFilters) {
    Prompter desktop;
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) // never leave a dialog waiting for a person
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* any = qobject_cast<QFileDialog*>(top))
                    any->reject();
        ASSERT_NE(dialog, nullptr);
        inspected = true;
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_FALSE(dialog->testOption(QFileDialog::ReadOnly));
        EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("jpg"));
        EXPECT_EQ(dialog->nameFilters(), MfcFilterToNameFilters(QString::fromUtf8(kExportFilter)));
        EXPECT_EQ(dialog->nameFilters().size(), 2);
        dialog->reject();
    });
    EXPECT_TRUE(
        desktop.ChooseSavePath(nullptr, QString::fromUtf8(kExportFilter), QStringLiteral("jpg"))
            .isEmpty());
    EXPECT_TRUE(inspected);
}
