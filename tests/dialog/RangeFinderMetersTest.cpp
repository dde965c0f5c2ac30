// The connect command with meters of each serial protocol, played by
// tools/fake-range-finder on a pseudo-terminal: the picker, F5, a reading in
// the selected dimension, a drop reported without a box.

#include "DialogFixture.h"
#include "common/XTestKeyboard.h"

#include "dialog/CRangeFinderPicker.h"
#include "dialog/RangeFinderConnection.h"
#include "telvo/RangeFinderPort.h"
#include "telvo/RangeMeter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <X11/keysym.h>
#include <algorithm>
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

struct MeterCase {
    const char* protocol;
    const char* typed; // into the simulator
    bool askWithF5;
    const char* value; // of the selected dimension
};

class SerialMeterTest : public RangeFinderMetersTest,
                        public ::testing::WithParamInterface<MeterCase> {};

TEST_P(SerialMeterTest, ReadingReachesTheSelectedDimension) {
    const MeterCase& c = GetParam();
    Simulator meter(c.protocol);
    ASSERT_FALSE(meter.Path().isEmpty());
    qputenv(kRangeFinderPortVariable, meter.Path().toLocal8Bit());
    qputenv(kRangeFinderProtocolVariable, c.protocol);
    dlg->m_connectAction->trigger(); // no picker: the environment names the meter
    EXPECT_EQ(prompter.texts.last(), Utf8("測距儀已連接"));
    ASSERT_TRUE(meter.Type(c.typed));
    if (c.askWithF5) {
        QTest::qWait(50);
        EXPECT_STREQ(info().dimensions[1].value, ""); // not before it is asked
        QTest::keyClick(dlg.get(), Qt::Key_F5);
    }
    EXPECT_TRUE(ValueBecomes(c.value));
    EXPECT_STREQ(info().dimensions[0].value, "");
}

INSTANTIATE_TEST_SUITE_P(Protocols, SerialMeterTest,
                         ::testing::Values(MeterCase{"lines", "2345", false, "2345"},
                                           MeterCase{"bosch-spp", "2576.25", true, "2576"},
                                           MeterCase{"bosch-spp", "b 1062.5", false,
                                                     "1063"}, // its own button
                                           MeterCase{"leica-spp", "1234", true, "1234"}),
                         [](const ::testing::TestParamInfo<MeterCase>& info) {
                             std::string name = std::string(info.param.protocol) + "_" +
                                                std::to_string(info.index);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

struct FailureCase {
    const char* name;
    const char* beforeConnecting;   // typed into the simulator, or nullptr
    std::vector<const char*> typed; // into the simulator, before F5
    const char* value;              // of the selected dimension afterwards
    const char* notice;             // in the title, or nullptr
};

class BoschFailureTest : public RangeFinderMetersTest,
                         public ::testing::WithParamInterface<FailureCase> {};

// The simulated Bosch meter fails a measurement, answers with an error
// status, crosses F5's request with its own, or never answers the greeting:
// no wrong number is written, the reason shows in the title without a box,
// a crossed request is sent again and read, and an unanswered one does not
// shift the answers after it.
TEST_P(BoschFailureTest, NoWrongNumberReachesTheDimension) {
    const FailureCase& c = GetParam();
    Simulator meter("bosch-spp");
    if (c.beforeConnecting) {
        ASSERT_TRUE(meter.Type(c.beforeConnecting));
    }
    qputenv(kRangeFinderPortVariable, meter.Path().toLocal8Bit());
    qputenv(kRangeFinderProtocolVariable, "bosch-spp");
    dlg->m_connectAction->trigger();
    ASSERT_EQ(prompter.texts.last(), Utf8("測距儀已連接"));
    const int messages = prompter.texts.size();
    const QString title = dlg->windowTitle();
    QTest::qWait(200); // the greeting is answered
    for (const char* typed : c.typed)
        ASSERT_TRUE(meter.Type(typed));
    QTest::keyClick(dlg.get(), Qt::Key_F5);
    if (c.notice) {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return dlg->windowTitle() == title + QStringLiteral(" - ") + Utf8(c.notice); }));
        QTest::qWait(100);
    } else {
        EXPECT_TRUE(ValueBecomes(c.value));
        EXPECT_EQ(dlg->windowTitle(), title);
    }
    EXPECT_STREQ(info().dimensions[1].value, c.value);
    EXPECT_EQ(prompter.texts.size(), messages);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BoschFailureTest,
    ::testing::Values(
        FailureCase{"zero_distance", nullptr, {"2500", "zero"}, "", "測距儀未能測量，請再試一次。"},
        FailureCase{
            "hardware_error", nullptr, {"2500", "status 08"}, "", "測距儀報告硬件錯誤，沒有讀數。"},
        FailureCase{"not_ready", nullptr, {"2500", "status 10"}, "", "測距儀尚未就緒，沒有讀數。"},
        FailureCase{"hand_raised", nullptr, {"2500", "status 20"}, "2500", nullptr},
        FailureCase{"collision", nullptr, {"2576.25", "collide"}, "2576", nullptr},
        // AutoSync is never answered (sent again after 1.5 s, given up
        // after 3 s); the measurement's answer is still its own.
        FailureCase{"unanswered_greeting", "silent 55", {"2576.25"}, "2576", nullptr}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// The picker's "記錄通訊內容" shows where the log goes; checked, the link
// records what the meter says there, and the box is remembered.
TEST_F(RangeFinderMetersTest, ThePickersCaptureLogBoxRecordsTheSession) {
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    Simulator meter("lines");
    SaveRangeMeter(*RangeFinderSettings(), {RangeMeterChoice::Link::Serial, meter.Path(),
                                            meter.Path(), QStringLiteral("lines")});
    ScopedPrompter scope(&picker);
    picker.pick = [&](CRangeFinderPicker& dialog) {
        EXPECT_FALSE(dialog.CaptureLogBox()->isChecked());
        dialog.CaptureLogBox()->setChecked(true);
        EXPECT_TRUE(dialog.CaptureLogLabel()->isVisibleTo(&dialog));
        EXPECT_EQ(dialog.CaptureLogLabel()->text(), RangeFinderLogPath());
        return int(QDialog::Accepted);
    };
    dlg->m_connectAction->trigger();
    EXPECT_EQ(dlg->RangeFinder().CaptureLogPath(), RangeFinderLogPath());
    ASSERT_TRUE(meter.Type("2345"));
    EXPECT_TRUE(ValueBecomes("2345"));
    QFile log(RangeFinderLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains(" < 0 44 20 32 33 34 35 0d 0a"));
    picker.pick = [&](CRangeFinderPicker& dialog) {
        EXPECT_TRUE(dialog.CaptureLogBox()->isChecked());
        return int(QDialog::Rejected);
    };
    dlg->m_connectAction->trigger();
    qunsetenv("XDG_DATA_HOME");
}

// An unknown protocol name is named in the message.
TEST_F(RangeFinderMetersTest, AnUnknownProtocolIsSaidSo) {
    Simulator meter("lines");
    qputenv(kRangeFinderPortVariable, meter.Path().toLocal8Bit());
    qputenv(kRangeFinderProtocolVariable, "glm");
    dlg->m_connectAction->trigger();
    EXPECT_TRUE(prompter.texts.last().startsWith(Utf8("無法連接測距儀")));
    EXPECT_TRUE(prompter.texts.last().contains(QStringLiteral("glm")));
    EXPECT_FALSE(dlg->RangeFinder().IsOpen());
}

// Without the environment the picker opens. Its Bluetooth scan here finds no
// adapter: it says so and ends instead of hanging. Cancelling changes
// nothing and says nothing.
TEST_F(RangeFinderMetersTest, ThePickerSaysWhyItCannotScanAndCancelChangesNothing) {
    ScopedPrompter scope(&picker);
    QString status;
    picker.pick = [&](CRangeFinderPicker& dialog) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.IsScanning(); }, 15000));
        status = dialog.Status()->text();
        return int(QDialog::Rejected);
    };
    dlg->m_connectAction->trigger();
    EXPECT_FALSE(status.isEmpty());
    EXPECT_TRUE(picker.texts.isEmpty());
    EXPECT_FALSE(dlg->RangeFinder().IsOpen());
}

// The meter chosen in the picker, with the protocol chosen there, is
// connected, asked with F5 and remembered; next time it is offered first.
TEST_F(RangeFinderMetersTest, ThePickedMeterIsConnectedAskedAndRememberedForNextTime) {
    Simulator meter("leica-spp");
    SaveRangeMeter(
        *std::make_unique<QSettings>(QStringLiteral("tessamar"), QStringLiteral("tessamar")),
        {RangeMeterChoice::Link::Serial, meter.Path(), meter.Path(), QStringLiteral("lines")});
    ScopedPrompter scope(&picker);
    picker.pick = [&](CRangeFinderPicker& dialog) {
        EXPECT_EQ(dialog.ListWidget()->currentRow(), 0);
        EXPECT_EQ(dialog.Chosen()->address, meter.Path());
        dialog.ProtocolBox()->setCurrentIndex(dialog.ProtocolBox()->findData("leica-spp"));
        return int(QDialog::Accepted);
    };
    dlg->m_connectAction->trigger();
    ASSERT_EQ(picker.texts.size(), 1);
    EXPECT_EQ(picker.texts.last(), Utf8("測距儀已連接"));
    ASSERT_TRUE(meter.Type("4321"));
    QTest::keyClick(dlg.get(), Qt::Key_F5);
    EXPECT_TRUE(ValueBecomes("4321"));

    QSettings settings(QStringLiteral("tessamar"), QStringLiteral("tessamar"));
    const std::optional<RangeMeterChoice> remembered = LoadRangeMeter(settings);
    ASSERT_TRUE(remembered);
    EXPECT_EQ(remembered->protocol, QStringLiteral("leica-spp"));
    EXPECT_EQ(remembered->address, meter.Path());
}

// A meter that goes away is reported once in the title bar, with no box in
// the middle of measuring.
TEST_F(RangeFinderMetersTest, ADropShowsInTheTitleNotInABox) {
    Simulator meter("lines");
    qputenv(kRangeFinderPortVariable, meter.Path().toLocal8Bit());
    dlg->m_connectAction->trigger();
    const int messages = prompter.texts.size();
    const QString title = dlg->windowTitle();
    meter.Quit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->windowTitle() != title; }));
    EXPECT_EQ(dlg->windowTitle(), title + Utf8(" - 測距儀已斷線，正在重新連接…"));
    QTest::qWait(50);
    EXPECT_EQ(prompter.texts.size(), messages);
    EXPECT_TRUE(dlg->RangeFinder().IsOpen()); // still trying
}

} // namespace

namespace {

// Under a real X server (tools/run-under-x; tests/cli/range_finder_keys_x11):
// F5 typed through the X server's XTest extension reaches the window's
// shortcut and asks the meter.
using RangeFinderUnderX = RangeFinderMetersTest;

TEST_F(RangeFinderUnderX, F5ThroughTheXServerAsksTheMeter) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    Simulator meter("bosch-spp");
    qputenv(kRangeFinderPortVariable, meter.Path().toLocal8Bit());
    qputenv(kRangeFinderProtocolVariable, "bosch-spp");
    dlg->m_connectAction->trigger();
    ASSERT_EQ(prompter.texts.last(), Utf8("測距儀已連接"));
    ASSERT_TRUE(meter.Type("3000"));
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    XTestKeyboard keys;
    ASSERT_TRUE(keys.Chord({}, XK_F5));
    EXPECT_TRUE(ValueBecomes("3000"));
}

} // namespace
