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
    const struct {
        QString port;
        const char* message;
        const char* caption; // of the button and the logo's menu entry
    } attempts[] = {{"/nonexistent/tty", "無法連接測距儀，請確定已經連好接藍牙設備", "連接測距儀"},
                    {device.SlavePath(), "測距儀已連接", "重新連接..."}};
    for (const auto& attempt : attempts) {
        qputenv(kRangeFinderPortVariable, attempt.port.toLocal8Bit());
        dlg->m_connectAction->trigger(); // the logo's menu entry
        EXPECT_EQ(prompter.texts.last(), Utf8(attempt.message));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(dlg->Item<QPushButton>(IDC_CONNECT_RANGE)->text(), Utf8(attempt.caption));
        EXPECT_EQ(dlg->m_connectAction->text(), Utf8(attempt.caption));
    }
    EXPECT_FALSE(prompter.waitCursorShown);

    info().dimensions = {MakeDimension({0, 0}, {50, 0}), MakeDimension({0, 9}, {50, 9})};
    canvas().m_nSelDim = 1;
    ASSERT_TRUE(device.Send("D 2345\n"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return info().dimensions[1].value == QByteArray("2345"); }));
    EXPECT_STREQ(info().dimensions[0].value, "");
}
