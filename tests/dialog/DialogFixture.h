#pragma once
// The main window built as the program builds it, every prompt answered by a
// script, and the photos and records the tests start from.

#include "common/RecordBuilders.h"
#include "common/TestSupport.h"
#include "dialog/CMeasureDlg.h"
#include "dialog/FileWriteJob.h"
#include "platform/Cp950.h"
#include "platform/Cp950Edit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

inline QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

// Answers every prompt as the test arranged and keeps the messages shown.
class ScriptedPrompter : public DesktopPrompter {
public:
    QList<QMessageBox::StandardButton> answers; // to questions (more than OK), in order
    QStringList paths;                          // chosen in file dialogs; none left: cancelled
    bool confirm = true;                        // font and colour dialogs: OK or Cancel
    QStringList texts; // of the messages shown, and the buttons each offered
    QList<QMessageBox::StandardButtons> offered;

    QMessageBox::StandardButton Message(QWidget*, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon) override {
        texts.append(text);
        offered.append(buttons);
        if (buttons == QMessageBox::Ok)
            return QMessageBox::Ok;
        EXPECT_FALSE(answers.isEmpty()) << "unexpected question: " << text.toStdString();
        return answers.isEmpty() ? QMessageBox::Cancel : answers.takeFirst();
    }
    bool ChooseFont(QWidget*, LOGFONTA& font) override {
        if (confirm)
            SetFaceName(font, QStringLiteral("Courier New"));
        return confirm;
    }
    bool ChooseColour(QWidget*, COLORREF& chosen) override {
        if (confirm)
            chosen = RGB(0, 128, 255);
        return confirm;
    }
    QString ChoosePhotoToOpen(QWidget*, const QString&) override { return NextPath(); }
    QString ChooseSavePath(QWidget*, const QString&, const QString&) override { return NextPath(); }
    QString ChooseSavePathFor(QWidget*, const QString&, const QString&,
                              const QString& suggested) override {
        suggestions.append(suggested);
        return NextPath();
    }
    QStringList suggestions; // where the report's save dialog opened
    QString NextPath() { return paths.isEmpty() ? QString() : paths.takeFirst(); }
    std::function<int(QDialog&)> dialog; // answers the dialogs run (none: they run)
    int RunDialog(QDialog& shown) override {
        return dialog ? dialog(shown) : DesktopPrompter::RunDialog(shown);
    }
    int pick = 0;        // the command of the context-menu item chosen (0: the menu runs)
    bool picked = false; // whether that item was enabled
    QAction* PopupMenu(QMenu& menu, const QPoint& at) override {
        for (QAction* action : menu.actions())
            if (pick != 0 && action->data().toInt() == pick) {
                picked = action->isEnabled();
                return action;
            }
        return pick ? nullptr : DesktopPrompter::PopupMenu(menu, at);
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        dlg = std::make_unique<CMeasureDlg>();
        dlg->show(); // builds the controls first
        ASSERT_TRUE(Item(IDC_OPEN_PHOTO)->isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }
    QWidget* Item(int id) const { return dlg->GetDlgItem(id); }
    void Click(int id) { QTest::mouseClick(Item(id), Qt::LeftButton); }
    // A click on the photo at `p`, in photo pixels.
    void ClickPhoto(POINT p, Qt::MouseButton button = Qt::LeftButton) {
        const POINT q = canvas().MapPoint(p, false);
        QTest::mouseClick(&canvas(), button, Qt::NoModifier, QPoint(q.x, q.y));
        QApplication::processEvents();
    }
    CPhotoCanvas& canvas() { return dlg->m_canvas; }
    PhotoInfo& info() { return dlg->m_canvas.Model().Records(); }
    QLineEdit* SizeEdit() { return dlg->Item<QLineEdit>(IDC_SIZE_EDIT); }
    QLineEdit* TitleEdit() { return dlg->Item<QLineEdit>(IDC_NOTE_TITLE); }
    Cp950TextEdit* TextEdit() { return dlg->Item<Cp950TextEdit>(IDC_NOTE_TEXT); }
    QListWidget* NoteList() { return dlg->Item<QListWidget>(IDC_NOTE_LIST); }

    QString PathOf(const QString& name) const { return dir.filePath(name); }
    // A grey JPEG with a red 8x8 block at its top-left corner.
    QString WritePhoto(const QString& name, int width = 320, int height = 240) {
        QImage photo(width, height, QImage::Format_RGB32);
        photo.fill(QColor(128, 128, 128));
        QPainter(&photo).fillRect(0, 0, 8, 8, Qt::red);
        EXPECT_TRUE(photo.save(PathOf(name), "JPEG", 95));
        return PathOf(name);
    }
    // Opens `path` through the open button's dialog and waits for the full
    // photo (or the message that it could not be decoded).
    void Open(const QString& path) {
        prompter.paths.append(path);
        Click(IDC_OPEN_PHOTO);
        EXPECT_TRUE(WaitForFullPhoto(canvas()));
    }
    // The window's picture export runs on a worker: waits until it has told
    // its outcome (at most a minute); false when it had not by then.
    bool WaitForPictureExport() {
        FileWriteJob* job = dlg->PictureExport();
        return QTest::qWaitFor([job] { return !job || !job->IsRunning(); }, 60000);
    }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ScopedPrompter scope{&prompter};
    std::unique_ptr<CMeasureDlg> dlg;
};
