// Connecting the range finder from the main window, end to end over a
// pseudo-terminal pair that plays the device.

#include "DialogFixture.h"

#include "common/PseudoTerminal.h"
#include "telvo/RangeFinderPort.h"

#include <QPushButton>
#include <QScopeGuard>

TEST_F(MainWindowTest, RangeFinderConnectsOrSaysWhyNotAndReadingsReachTheSelectedDimension) {
    PseudoTerminal device;
    ASSERT_TRUE(device.IsValid());
    const auto unset = qScopeGuard([] { qunsetenv(kRangeFinderPortVariable); });
    auto* button = dlg->Item<QPushButton>(IDC_CONNECT_RANGE);
    qputenv(kRangeFinderPortVariable, "/nonexistent/tty");
    button->click();
    EXPECT_EQ(prompter.texts.last(), Utf8("無法連接測距儀，請確定已經連好接藍牙設備"));
    EXPECT_EQ(button->text(), Utf8("連接測距儀"));
    qputenv(kRangeFinderPortVariable, device.SlavePath().toLocal8Bit());
    dlg->m_connectAction->trigger(); // the logo's menu entry
    EXPECT_EQ(prompter.texts.last(), Utf8("測距儀已連接"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // The button and the menu entry now offer to connect again.
    EXPECT_EQ(button->text(), Utf8("重新連接..."));
    EXPECT_EQ(dlg->m_connectAction->text(), Utf8("重新連接..."));

    info().dimensions = {MakeDimension({0, 0}, {50, 0}), MakeDimension({0, 9}, {50, 9})};
    // The window passes each event on and re-arms the link: the key moves
    // the selection, then the reading lands in the dimension it selected.
    canvas().Model().SelectDimension(0);
    ASSERT_TRUE(device.Send("K 8\nD 2345\n"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return info().dimensions[1].value == QByteArray("2345"); }));
    EXPECT_STREQ(info().dimensions[0].value, "");
}
