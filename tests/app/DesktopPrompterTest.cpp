// The prompts a person answers at the desktop, as start-up installs them.
#include "app/DesktopPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(DesktopPrompter, TheSaveDialogAsksBeforeOverwritingAndProposesTheSuffix) {
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            inspected = true;
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
            EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("jpg"));
            dialog->reject();
        }
    });
    const QString filter = QStringLiteral("JPG (*.jpg)|*.jpg|All Files (*.*)|*.*||");
    EXPECT_TRUE(DesktopPrompter().ChooseSavePath(nullptr, filter, QStringLiteral("jpg")).isEmpty());
    EXPECT_TRUE(inspected);
}

// A message box captioned with the program's name, offering the buttons
// asked for; the answer is the button pressed.
TEST(DesktopPrompter, AMessageIsCaptionedWithTheProgramsNameAndAnswersWithTheButtonPressed) {
    QString caption, text;
    QMessageBox::StandardButtons offered;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            caption = box->windowTitle();
            text = box->text();
            offered = box->standardButtons();
            box->button(QMessageBox::No)->click();
        }
    });
    const QMessageBox::StandardButton answer =
        DesktopPrompter().Message(nullptr, QString::fromUtf8("是否繼續？"),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
    EXPECT_EQ(answer, QMessageBox::No);
    EXPECT_EQ(caption, QStringLiteral("Tessamar"));
    EXPECT_EQ(text, QString::fromUtf8("是否繼續？"));
    EXPECT_EQ(offered, QMessageBox::Yes | QMessageBox::No);
}

} // namespace
