// The range finder from the main window, connected to a meter that
// tools/fake-range-finder plays on a pseudo-terminal (the picker, F5, a
// failure and a drop told without a box), and the meter picker fed by a scan
// the test plays. (Every protocol's answers: tests/telvo;
// a reading in the selected dimension: the canvas's tests.)

#include "DialogFixture.h"
#include "common/XTestKeyboard.h"

#include "dialog/CRangeFinderPicker.h"
#include "dialog/RangeFinderConnection.h"
#include "telvo/BluetoothState.h"
#include "telvo/MeterDiscovery.h"
#include "telvo/RangeFinderPort.h"
#include "telvo/RangeMeter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <X11/keysym.h>

namespace {

// tools/fake-range-finder speaking Bosch's protocol.
class Simulator {
public:
    Simulator() {
        m_process.start(QStringLiteral("python3"),
                        {SourcePath(QStringLiteral("tools/fake-range-finder")),
                         QStringLiteral("--protocol"), QStringLiteral("bosch-spp")});
        m_path = NextLine().remove(QStringLiteral("Range finder on "));
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
        if (!m_process.waitForFinished(5000))
            m_process.kill();
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

// A port that cannot be opened is told in a box. The meter chosen in the
// picker, with the protocol chosen there, is connected, asked with F5 and remembered; the picker's
// "記錄通訊內容" shows where the log goes, and checked, the link records the session. A failed
// measurement and a meter that goes away are told in the title bar, with no box in the middle of
// measuring. Under a real X server (tools/run-under-x; tests/cli/range_finder_keys_x11) F5 goes
// through the server's XTest extension to the window's shortcut.
class RangeFinderUnderX : public MainWindowTest {};

TEST_F(RangeFinderUnderX, ThePickedMeterIsAskedWithF5RememberedLoggedAndFailuresShowInTheTitle) {
    qputenv(kRangeFinderPortVariable, "/nonexistent/tty");
    dlg->Item<QPushButton>(IDC_CONNECT_RANGE)->click();
    EXPECT_EQ(prompter.texts, QStringList{Utf8("無法連接測距儀，請確定已經連好接藍牙設備")});
    qunsetenv(kRangeFinderPortVariable);
    prompter.texts.clear();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    info().dimensions = {MakeDimension({0, 0}, {50, 0}), MakeDimension({0, 9}, {50, 9})};
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    const auto unset = qScopeGuard([] { qunsetenv("XDG_DATA_HOME"); });
    Simulator meter;
    SaveRangeMeter(*RangeFinderSettings(), {RangeMeterChoice::Link::Serial, meter.Path(),
                                            meter.Path(), QStringLiteral("lines")});
    prompter.dialog = [&](QDialog& shown) {
        auto& dialog = dynamic_cast<CRangeFinderPicker&>(shown);
        EXPECT_EQ(dialog.Chosen()->address, meter.Path());
        dialog.ProtocolBox()->setCurrentIndex(dialog.ProtocolBox()->findData("bosch-spp"));
        dialog.CaptureLogBox()->setChecked(true);
        EXPECT_EQ(dialog.CaptureLogLabel()->text(), RangeFinderLogPath());
        return int(QDialog::Accepted);
    };
    dlg->m_connectAction->trigger(); // the logo's menu entry
    EXPECT_EQ(prompter.texts, QStringList{Utf8("測距儀已連接")});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const QString title = dlg->windowTitle();
    canvas().Model().SelectDimension(1);
    QTest::qWait(200); // the greeting is answered
    const bool x = QGuiApplication::platformName() == QLatin1String("xcb");
    if (x) {
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    const auto f5 = [&] {
        return x ? XTestKeyboard().Chord({}, XK_F5)
                 : (QTest::keyClick(dlg.get(), Qt::Key_F5), true);
    };
    ASSERT_TRUE(meter.Type("4321"));
    ASSERT_TRUE(f5());
    EXPECT_TRUE(QTest::qWaitFor([&] { return info().dimensions[1].value == QByteArray("4321"); }));
    ASSERT_TRUE(meter.Type("zero"));
    ASSERT_TRUE(f5());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return dlg->windowTitle() == title + Utf8(" - 測距儀未能測量，請再試一次。"); }));
    meter.Quit();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return dlg->windowTitle() == title + Utf8(" - 測距儀已斷線，正在重新連接…"); }));
    EXPECT_STREQ(info().dimensions[0].value, "");
    EXPECT_STREQ(info().dimensions[1].value, "4321");
    EXPECT_EQ(prompter.texts.size(), 1);
    EXPECT_TRUE(dlg->RangeFinder().IsOpen()); // still trying
    const std::optional<RangeMeterChoice> remembered = LoadRangeMeter(*RangeFinderSettings());
    ASSERT_TRUE(remembered);
    EXPECT_EQ(remembered->protocol, QStringLiteral("bosch-spp"));
    EXPECT_FALSE(ReadWholeFile(RangeFinderLogPath()).isEmpty());
}

// The meter picker, fed by a scan that the test plays.
class FakeDiscovery : public MeterDiscovery {
public:
    void Start() override {}
    void Stop() override {}
};

// Meters appear as they are found, other devices do not; the remembered
// meter is offered first and selected; the protocol box lists what fits the
// selected meter's link; a scan that cannot run says why.
TEST(RangeFinderPickerTest, ListsTheMetersFoundOffersTheRememberedOneFirstAndSaysWhyAScanFailed) {
    auto owned = std::make_unique<FakeDiscovery>();
    FakeDiscovery* scan = owned.get();
    CRangeFinderPicker picker(
        std::move(owned), QStringList{QStringLiteral("/dev/ttyUSB0")},
        RangeMeterChoice{RangeMeterChoice::Link::Bluetooth, QStringLiteral("00:13:43:00:00:03"),
                         QStringLiteral("HC-05"), QStringLiteral("leica-spp")});
    picker.show();
    EXPECT_TRUE(picker.IsScanning() && picker.Progress()->isVisible());
    EXPECT_EQ(picker.Chosen()->protocol, QStringLiteral("leica-spp"));
    Q_EMIT scan->DeviceFound({"GLM 50 C", "C8:FD:19:00:00:01", {}, true, false, false});
    Q_EMIT scan->DeviceFound({"Headphones", "C8:FD:19:00:00:02", {}, true, false, true});
    Q_EMIT scan->DeviceFound({"HC-05", "00:13:43:00:00:03", {}, false, true, true}); // found again
    ASSERT_EQ(picker.ListWidget()->count(), 3);
    EXPECT_EQ(picker.ListWidget()->currentRow(), 0);
    picker.ListWidget()->setCurrentRow(1); // the serial port
    EXPECT_EQ(picker.ProtocolBox()->count(), 3);
    EXPECT_EQ(picker.Chosen()->protocol, QStringLiteral("lines"));
    picker.ListWidget()->setCurrentRow(2);
    EXPECT_EQ(picker.ListWidget()->item(2)->text(),
              Utf8("GLM 50 C (C8:FD:19:00:00:01) - 藍牙低功耗"));
    EXPECT_EQ(picker.Chosen()->protocol, QStringLiteral("bosch-ble"));
    EXPECT_EQ(picker.ProtocolBox()->count(), 2); // the low-energy protocols
    Q_EMIT scan->Failed(BluetoothOffText());
    EXPECT_FALSE(picker.IsScanning() || picker.Progress()->isVisible());
    EXPECT_EQ(picker.Status()->text(), BluetoothOffText());
    EXPECT_TRUE(picker.ScanButton()->isEnabled());
}

} // namespace
