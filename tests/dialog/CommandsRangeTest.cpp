// Connecting the range finder from the main window, end to end over a
// pseudo-terminal pair that plays the device.

#include "DialogFixture.h"

#include "common/PseudoTerminal.h"
#include "platform/Prompts.h"
#include "telvo/RangeFinderPort.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <cstring>

namespace {

class MessageRecorder : public Prompter {
public:
    QMessageBox::StandardButton Message(QWidget*, const QString& text, QMessageBox::StandardButtons,
                                        QMessageBox::Icon) override {
        messages.append(text);
        cursorDuringMessage = QApplication::overrideCursor() != nullptr;
        return QMessageBox::Ok;
    }
    QStringList messages;
    bool cursorDuringMessage = true;
};

// Points the range finder's port at `device` while it lives.
class PortVariable {
public:
    explicit PortVariable(const QString& device) {
        qputenv(kRangeFinderPortVariable, device.toLocal8Bit());
    }
    ~PortVariable() { qunsetenv(kRangeFinderPortVariable); }
};

class ConnectTest : public MainWindowTest {
protected:
    QString Caption() { return qobject_cast<QPushButton*>(Item(IDC_CONNECT_RANGE))->text(); }
    MessageRecorder recorder;
};

const QString kConnected = QString::fromUtf8("測距儀已連接");
const QString kFailed = QString::fromUtf8("無法連接測距儀，請確定已經連好接藍牙設備");

} // namespace

TEST_F(ConnectTest, ButtonStartsHiddenAndTheLogoMenuOffersTheCommand) {
    EXPECT_FALSE(Item(IDC_CONNECT_RANGE)->isVisibleTo(dlg.get()));
    EXPECT_EQ(Caption(), QString::fromUtf8("連接測距儀(&C)"));
    const QList<QAction*> actions = Item(IDC_LOGO)->actions();
    ASSERT_GE(actions.size(), 3);
    EXPECT_EQ(actions[0], dlg->m_connectAction);
    EXPECT_EQ(actions[0]->text(), QString::fromUtf8("連接測距儀(&C)"));
    EXPECT_EQ(actions.last()->text(), CMeasureDlg::AboutMenuText());
}

TEST_F(ConnectTest, FailureSaysSoAndLeavesTheCommandReady) {
    ScopedPrompter prompter(&recorder);
    PortVariable port(QStringLiteral("/nonexistent/tessamar-range-finder"));
    dlg->m_connectAction->trigger();
    EXPECT_EQ(recorder.messages, QStringList{kFailed});
    EXPECT_EQ(Caption(), QString::fromUtf8("連接測距儀"));
    EXPECT_EQ(dlg->m_connectAction->text(), QString::fromUtf8("連接測距儀"));
    EXPECT_FALSE(dlg->m_canvas.m_rangeFinder.IsOpen());
    EXPECT_FALSE(recorder.cursorDuringMessage);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ConnectTest, SuccessThroughTheEnvironmentThenReadingsReachTheSelectedDimension) {
    PseudoTerminal device;
    ASSERT_TRUE(device.IsValid());
    ScopedPrompter prompter(&recorder);
    PortVariable port(device.SlavePath());

    Item(IDC_CONNECT_RANGE)->setVisible(true);
    ShowWindow();
    QTest::mouseClick(Item(IDC_CONNECT_RANGE), Qt::LeftButton);
    EXPECT_EQ(recorder.messages, QStringList{kConnected});
    EXPECT_EQ(Caption(), QString::fromUtf8("重新連接..."));
    EXPECT_EQ(dlg->m_connectAction->text(), QString::fromUtf8("重新連接..."));
    EXPECT_EQ(dlg->m_canvas.m_rangeFinder.DevicePath(), device.SlavePath());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    Dimension dim;
    dim.end = POINT{50, 0};
    dlg->m_canvas.m_info.dimensions = {dim, dim};
    dlg->m_canvas.m_nSelDim = 1;
    ASSERT_TRUE(device.Send("D 2345\n"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return std::strcmp(dlg->m_canvas.m_info.dimensions[1].value, "2345") == 0; }, 5000));

    // Connecting again closes the link and opens it anew.
    dlg->OnConnectRangeFinder();
    EXPECT_EQ(recorder.messages, (QStringList{kConnected, kConnected}));
    ASSERT_TRUE(device.Send("D -7\n"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return std::strcmp(dlg->m_canvas.m_info.dimensions[1].value, "-7") == 0; }, 5000));

    // A device that has gone away: the next attempt fails and says so.
    device.CloseMaster();
    PortVariable gone(QStringLiteral("/nonexistent/tessamar-range-finder"));
    dlg->OnConnectRangeFinder();
    EXPECT_EQ(recorder.messages.last(), kFailed);
    EXPECT_EQ(Caption(), QString::fromUtf8("連接測距儀"));
}
