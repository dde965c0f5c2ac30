// The connect command with a meter played by tools/fake-range-finder on a
// pseudo-terminal: the picker, F5, a failure and a drop reported without a
// box. (A reading reaching the selected dimension: CommandsRangeTest and the
// canvas's tests.)

#include "DialogFixture.h"
#include "common/XTestKeyboard.h"

#include "dialog/CRangeFinderPicker.h"
#include "dialog/RangeFinderConnection.h"
#include "telvo/RangeFinderPort.h"
#include "telvo/RangeMeter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <X11/keysym.h>
#include <functional>

namespace {

// tools/fake-range-finder speaking `protocol`.
class Simulator {
public:
    explicit Simulator(const char* protocol) {
        m_process.start(QStringLiteral("python3"),
                        {SourcePath(QStringLiteral("tools/fake-range-finder")),
                         QStringLiteral("--protocol"), QString::fromLatin1(protocol)});
        const QString first = NextLine();
        if (first.startsWith(QStringLiteral("Range finder on ")))
            m_path = first.mid(16);
        NextLine(); // how to start Tessamar
    }
    ~Simulator() { Quit(); }
    QString Path() const { return m_path; }
    // Types a line and waits until the simulator took it.
    bool Type(const char* line) {
        m_process.write(QByteArray(line) + '\n');
        for (QString reply = NextLine(); !reply.isNull(); reply = NextLine())
            if (reply == QStringLiteral("ready"))
                return true;
        return false;
    }
    void Quit() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.write("q\n");
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(1000);
    }

private:
    QString NextLine() {
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(5000))
                return {};
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }
    QProcess m_process;
    QString m_path;
};

// Answers the picker with a function of the test's.
class PickingPrompter : public ScriptedPrompter {
public:
    std::function<int(CRangeFinderPicker&)> pick;
    int RunDialog(QDialog& dialog) override {
        auto* picker = qobject_cast<CRangeFinderPicker*>(&dialog);
        EXPECT_NE(picker, nullptr);
        return picker && pick ? pick(*picker) : QDialog::Rejected;
    }
};

class RangeFinderMetersTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        qunsetenv(kRangeFinderPortVariable);
        qunsetenv(kRangeFinderProtocolVariable);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        info().dimensions = {MakeDimension({0, 0}, {50, 0}), MakeDimension({0, 9}, {50, 9})};
        canvas().Model().SelectDimension(1);
    }
    void TearDown() override {
        qunsetenv(kRangeFinderPortVariable);
        qunsetenv(kRangeFinderProtocolVariable);
        MainWindowTest::TearDown();
    }
    bool ValueBecomes(const char* value) {
        return QTest::qWaitFor([&] { return info().dimensions[1].value == QByteArray(value); });
    }
    PickingPrompter picker;
};

// A failed measurement and a meter that goes away are told in the title
// bar, with no box in the middle of measuring, and no number is written.
// (Every answer of every protocol: tests/telvo.)
TEST_F(RangeFinderMetersTest, AFailedReadingAndADropShowInTheTitleNotInABox) {
    Simulator meter("bosch-spp");
    qputenv(kRangeFinderPortVariable, meter.Path().toLocal8Bit());
    qputenv(kRangeFinderProtocolVariable, "bosch-spp");
    dlg->m_connectAction->trigger();
    ASSERT_EQ(prompter.texts.last(), Utf8("測距儀已連接"));
    const int messages = prompter.texts.size();
    const QString title = dlg->windowTitle();
    QTest::qWait(200); // the greeting is answered
    ASSERT_TRUE(meter.Type("2500"));
    ASSERT_TRUE(meter.Type("zero"));
    QTest::keyClick(dlg.get(), Qt::Key_F5);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return dlg->windowTitle() == title + Utf8(" - 測距儀未能測量，請再試一次。"); }));
    meter.Quit();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return dlg->windowTitle() == title + Utf8(" - 測距儀已斷線，正在重新連接…"); }));
    EXPECT_STREQ(info().dimensions[1].value, "");
    EXPECT_EQ(prompter.texts.size(), messages);
    EXPECT_TRUE(dlg->RangeFinder().IsOpen()); // still trying
}

// The meter chosen in the picker, with the protocol chosen there, is
// connected, asked with F5 and remembered; the picker's "記錄通訊內容"
// shows where the log goes, and checked, the link records the session.
// Under a real X server (tools/run-under-x; tests/cli/range_finder_keys_x11)
// F5 goes through the server's XTest extension to the window's shortcut.
using RangeFinderUnderX = RangeFinderMetersTest;

TEST_F(RangeFinderUnderX, ThePickedMeterIsConnectedAskedWithF5RememberedAndLogged) {
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    const auto unset = qScopeGuard([] { qunsetenv("XDG_DATA_HOME"); });
    Simulator meter("leica-spp");
    SaveRangeMeter(*RangeFinderSettings(), {RangeMeterChoice::Link::Serial, meter.Path(),
                                            meter.Path(), QStringLiteral("lines")});
    ScopedPrompter scope(&picker);
    picker.pick = [&](CRangeFinderPicker& dialog) {
        EXPECT_EQ(dialog.Chosen()->address, meter.Path());
        dialog.ProtocolBox()->setCurrentIndex(dialog.ProtocolBox()->findData("leica-spp"));
        dialog.CaptureLogBox()->setChecked(true);
        EXPECT_TRUE(dialog.CaptureLogLabel()->isVisibleTo(&dialog));
        EXPECT_EQ(dialog.CaptureLogLabel()->text(), RangeFinderLogPath());
        return int(QDialog::Accepted);
    };
    dlg->m_connectAction->trigger();
    EXPECT_EQ(picker.texts, QStringList{Utf8("測距儀已連接")});
    ASSERT_TRUE(meter.Type("4321"));
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        ASSERT_TRUE(XTestKeyboard().Chord({}, XK_F5));
    } else {
        QTest::keyClick(dlg.get(), Qt::Key_F5);
    }
    EXPECT_TRUE(ValueBecomes("4321"));
    const std::optional<RangeMeterChoice> remembered = LoadRangeMeter(*RangeFinderSettings());
    ASSERT_TRUE(remembered);
    EXPECT_EQ(remembered->protocol, QStringLiteral("leica-spp"));
    EXPECT_FALSE(ReadWholeFile(RangeFinderLogPath()).isEmpty());
}

} // namespace
