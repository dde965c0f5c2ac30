// The prompts a person answers at the desktop, as start-up installs them.
#include "app/DesktopPrompter.h"

#include <QApplication>
#include <QFileDialog>
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

} // namespace
