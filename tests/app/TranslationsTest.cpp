// Stock dialogs speak the interface's language.

#include "app/QtTranslations.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

TEST(QtTranslations, StockMessageBoxButtonsAreTraditionalChinese) {
    QTranslator* translator = InstallQtTranslations(*qApp);
    ASSERT_NE(translator, nullptr) << "qtbase_zh_TW.qm is missing (qt6-translations-l10n)";
    const std::pair<QMessageBox::StandardButton, const char*> buttons[] = {
        {QMessageBox::Ok, "確定"},   {QMessageBox::Cancel, "取消"}, {QMessageBox::Save, "儲存"},
        {QMessageBox::Open, "開啟"}, {QMessageBox::Yes, "是"},      {QMessageBox::No, "否"}};
    QMessageBox box;
    for (const auto& [button, text] : buttons) {
        box.setStandardButtons(button);
        QString shown = box.button(button)->text();
        shown.remove(QLatin1Char('&'));
        EXPECT_TRUE(shown.startsWith(QString::fromUtf8(text)))
            << shown.toStdString() << " for " << text;
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}
