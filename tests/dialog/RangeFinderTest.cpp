// The range finder from the main window: connecting over a pseudo-terminal
// pair that plays the device, or to a meter played by tools/fake-range-finder
// (the picker, F5, a failure and a drop told without a box), and the meter
// picker fed by a scan the test plays. (Every protocol's answers: tests/telvo;
// a reading in the selected dimension: the canvas's tests.)

#include "DialogFixture.h"
#include "common/PseudoTerminal.h"
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
#include <QTimer>
#include <X11/keysym.h>
#include <functional>

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

// The meter picker, fed by a scan that the test plays.

class FakeDiscovery : public MeterDiscovery {
public:
    int starts = 0;
    int stops = 0;
    void Start() override { ++starts; }
    void Stop() override { ++stops; }
};

DiscoveredDevice Device(const char* name, const char* address, bool lowEnergy, bool paired) {
    return {
        QString::fromLatin1(name), QString::fromLatin1(address), {}, lowEnergy, !lowEnergy, paired};
}

class RangeFinderPickerTest : public ::testing::Test {
protected:
    void Make(const std::optional<RangeMeterChoice>& remembered = std::nullopt) {
        auto discovery = std::make_unique<FakeDiscovery>();
        scan = discovery.get();
        picker = std::make_unique<CRangeFinderPicker>(
            std::move(discovery), QStringList{QStringLiteral("/dev/ttyUSB0")}, remembered);
    }
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < picker->ListWidget()->count(); ++i)
            rows << picker->ListWidget()->item(i)->text();
        return rows;
    }

    FakeDiscovery* scan = nullptr;
    std::unique_ptr<CRangeFinderPicker> picker;
};

// While the scan runs a busy bar shows and the scan button waits; meters
// appear as they are found, other devices do not; after ten seconds the
// scan ends by itself and can be started again.
TEST_F(RangeFinderPickerTest, ScansWithProgressEndsByItselfAndCanBeRepeated) {
    Make();
    picker->show();
    EXPECT_EQ(scan->starts, 1);
    EXPECT_TRUE(picker->IsScanning());
    EXPECT_TRUE(picker->Progress()->isVisible());
    EXPECT_FALSE(picker->ScanButton()->isEnabled());
    EXPECT_EQ(picker->ScanTimer()->interval(), 10000);
    EXPECT_EQ(Rows(), QStringList{Utf8("/dev/ttyUSB0 - 序列埠")});

    Q_EMIT scan->DeviceFound(Device("GLM 50 C", "C8:FD:19:00:00:01", true, false));
    Q_EMIT scan->DeviceFound(Device("Headphones", "C8:FD:19:00:00:02", true, true));
    Q_EMIT scan->DeviceFound(Device("HC-05", "00:13:43:00:00:03", false, true));
    EXPECT_EQ(Rows(), (QStringList{Utf8("/dev/ttyUSB0 - 序列埠"),
                                   Utf8("GLM 50 C (C8:FD:19:00:00:01) - 藍牙低功耗"),
                                   Utf8("HC-05 (00:13:43:00:00:03) - 藍牙")}));

    picker->ScanTimer()->setInterval(20);
    picker->ScanTimer()->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !picker->IsScanning(); }));
    EXPECT_FALSE(picker->Progress()->isVisible());
    EXPECT_TRUE(picker->ScanButton()->isEnabled());
    EXPECT_GE(scan->stops, 1);
    Q_EMIT scan->DeviceFound(Device("GLM 100 C", "C8:FD:19:00:00:09", true, false));
    EXPECT_EQ(Rows().size(), 3); // nothing is added after the scan

    QTest::mouseClick(picker->ScanButton(), Qt::LeftButton);
    EXPECT_EQ(scan->starts, 2);
    EXPECT_TRUE(picker->IsScanning());
    EXPECT_EQ(Rows(), QStringList{Utf8("/dev/ttyUSB0 - 序列埠")}); // found afresh
    Q_EMIT scan->Finished();
    EXPECT_FALSE(picker->IsScanning());
}

// The remembered meter is offered first and selected; the protocol box
// lists what fits the selected meter's link, and the user's choice stays
// while the scan goes on.
TEST_F(RangeFinderPickerTest, OffersTheRememberedMeterFirstAndKeepsTheChosenProtocol) {
    Make(RangeMeterChoice{RangeMeterChoice::Link::Bluetooth, QStringLiteral("00:13:43:00:00:03"),
                          QStringLiteral("HC-05"), QStringLiteral("leica-spp")});
    EXPECT_EQ(picker->ListWidget()->currentRow(), 0);
    ASSERT_TRUE(picker->Chosen());
    EXPECT_EQ(picker->Chosen()->protocol, QStringLiteral("leica-spp"));

    picker->ListWidget()->setCurrentRow(1); // the serial port
    EXPECT_EQ(picker->ProtocolBox()->count(), 3);
    EXPECT_EQ(picker->Chosen()->protocol, QStringLiteral("lines"));
    picker->ProtocolBox()->setCurrentIndex(picker->ProtocolBox()->findData("bosch-spp"));
    Q_EMIT scan->DeviceFound(Device("GLM 50 C", "C8:FD:19:00:00:01", true, false));
    Q_EMIT scan->DeviceFound(Device("HC-05", "00:13:43:00:00:03", false, true)); // found again
    ASSERT_TRUE(picker->Chosen());
    EXPECT_EQ(picker->Chosen()->address, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(picker->Chosen()->protocol, QStringLiteral("bosch-spp"));
    EXPECT_EQ(Rows().size(), 3);

    picker->ListWidget()->setCurrentRow(2);
    EXPECT_EQ(picker->Chosen()->protocol, QStringLiteral("bosch-ble"));
    EXPECT_EQ(picker->ProtocolBox()->count(), 2); // the low-energy protocols
}

// A scan that cannot run says why and leaves the serial ports to choose.
TEST_F(RangeFinderPickerTest, AScanThatCannotRunSaysWhy) {
    for (const QString& why :
         {NoBluetoothAdapterText(), BluetoothOffText(), NoBluetoothPermissionText()}) {
        Make();
        Q_EMIT scan->Failed(why);
        EXPECT_FALSE(picker->IsScanning());
        EXPECT_EQ(picker->Status()->text(), why);
        EXPECT_TRUE(picker->ScanButton()->isEnabled());
        EXPECT_EQ(Rows().size(), 1);
    }
}

} // namespace
