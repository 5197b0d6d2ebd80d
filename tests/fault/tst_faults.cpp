// What the user sees when things go wrong on the line: the whole application against the
// module simulator on a real pseudo-terminal. A silent line, an adapter pulled in the
// middle of a telegram, a port held by another program, a storm of noise, replies cut in
// pieces, a module swapped while the tool runs, and the configuration dialog opened and
// closed over and over. In every case the process stays up and the values come back.
#include "app/fuseapplication.h"
#include "app/form1.h"
#include "config/retryprotocol.h"
#include "link/serialline.h"
#include "parameter/para.h"
#include "parameter2/parameter_rovo.h"
#include "parameter2/singleportmodule.h"
#include "processfigures.h"
#include "simulatorprocess.h"

#include <QDir>
#include <QRegularExpression>
#include "linkwait.h"
#include "watchdogticks.h"
#include "windowcontrols.h"
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QString Failed = QStringLiteral("Kommunikation fehlgeschlagen!");
const QString Successful = QStringLiteral("Übertragung erfolgreich!");
const QStringList Blank(14, QString());

// The simulator's default values on a four-channel 10 A module.
const QStringList FourChannel10AValues{
    "2,50 Adc", "1,20 Adc", "4,80 Adc", "0,35 Adc", "3,10 Adc", "1,50 Adc", "5,20 Adc", "0,60 Adc",
    "24,1 Vdc", "23,8 Vdc", "10 Adc", "10 Adc", "10 Adc", "10 Adc"};

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

// Whether some other program could take the device now: it opens and locks the device by
// its real path, as the tool's own serial line would, and lets go again at once.
bool deviceFree(const QString &slavePath)
{
    const int fd = ::open(QFile::encodeName(slavePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return locked;
}

} // namespace

class tst_Faults : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SimulatorProcess::useTemporaryDataHome(); }
    void cleanup();
    void silentLineBlanksAndResumeRefills();
    void adapterPulledMidTelegram();
    void portHeldByAnotherProgram();
    void noiseStormAtFullLineRate();
    void noiseDuringConfigurationRead();
    void repliesInPieces_data();
    void repliesInPieces();
    void moduleSwappedWhileRunning_data();
    void moduleSwappedWhileRunning();
    void dialogOpenedAndClosedManyTimes();
    void flowControlKeptOnADevicePath();

private:
    bool startApp(const QStringList &simArgs)
    {
        if (!sim.start(simArgs))
            return false;
        app = std::make_unique<FuseApplication>();
        app->show();
        return true;
    }
    QStringList values() const
    {
        QStringList texts;
        for (QLabel *l : {ctl<QLabel>(app->Form1.get(), "i1"), ctl<QLabel>(app->Form1.get(), "i2"), ctl<QLabel>(app->Form1.get(), "i3"), ctl<QLabel>(app->Form1.get(), "i4"), ctl<QLabel>(app->Form1.get(), "i1_max"), ctl<QLabel>(app->Form1.get(), "i2_max"), ctl<QLabel>(app->Form1.get(), "i3_max"), ctl<QLabel>(app->Form1.get(), "i4_max"),
                          ctl<QLabel>(app->Form1.get(), "uin"), ctl<QLabel>(app->Form1.get(), "uin_min"), ctl<QLabel>(app->Form1.get(), "i1_endwert"), ctl<QLabel>(app->Form1.get(), "i2_endwert"), ctl<QLabel>(app->Form1.get(), "i3_endwert"), ctl<QLabel>(app->Form1.get(), "i4_endwert")})
            texts << l->text();
        return texts;
    }
    // Every warning and trip lamp shows its white off-image.
    bool lampsOff() const
    {
        for (QLabel *on : {ctl<QLabel>(app->Form1.get(), "mb1_1_g"), ctl<QLabel>(app->Form1.get(), "mb1_2_r"), ctl<QLabel>(app->Form1.get(), "mb1_3_g"), ctl<QLabel>(app->Form1.get(), "mb1_4_r"), ctl<QLabel>(app->Form1.get(), "mb1_5_g"), ctl<QLabel>(app->Form1.get(), "mb1_6_r"),
                           ctl<QLabel>(app->Form1.get(), "mb1_7_g"), ctl<QLabel>(app->Form1.get(), "mb1_8_r"), ctl<QLabel>(app->Form1.get(), "mb2_1_g"), ctl<QLabel>(app->Form1.get(), "mb2_2_g")}) {
            if (on->isVisible())
                return false;
        }
        return ctl<QLabel>(app->Form1.get(), "mb1_1_w")->isVisible() && ctl<QLabel>(app->Form1.get(), "mb2_2_w")->isVisible();
    }
    // The configuration button as the user presses it.
    void pressConfiguration()
    {
        QVERIFY(app->Form1->isEnabled());
        QTest::mouseClick(ctl<QPushButton>(app->Form1.get(), "Button1"), Qt::LeftButton);
        // A telegram arriving is read to its end first.
        QTRY_VERIFY(!app->Form1->isEnabled());
        QVERIFY(!ctl<QTimer>(app->Form1.get(), "Timer1")->isActive());
    }
    // The main window is back in charge: enabled, reading, a port of its own. Timer1 runs
    // between reads only, so it is seen ticking rather than running.
    void expectMonitoring()
    {
        QVERIFY(app->Form1->isEnabled());
        QVERIFY(readTicksGoOn(app->Form1.get()));
    }

    SimulatorProcess sim;
    std::unique_ptr<FuseApplication> app;
};

void tst_Faults::cleanup()
{
    app.reset();
    sim.stop();
}

void tst_Faults::silentLineBlanksAndResumeRefills()
{
    QVERIFY(startApp({"--variant", "17", "--rate", "10", "--status1", "01"}));
    QTRY_COMPARE_WITH_TIMEOUT(values(), FourChannel10AValues, PatienceMs);
    QVERIFY(ctl<QLabel>(app->Form1.get(), "mb1_1_g")->isVisible());

    WatchdogTicks watchdog(app->Form1.get());
    QVERIFY(sim.commandOk("silence"));
    // The display blanks on the second watchdog tick after the last byte, counted in ticks;
    // the wait is only a guard against a hang (five periods where two are needed).
    QTRY_COMPARE_WITH_TIMEOUT(values(), Blank, 5 * watchdog.period());
    QVERIFY2(watchdog.ticksAfterLastByte() == 2, qPrintable(watchdog.describe()));
    QVERIFY(lampsOff());
    QVERIFY(app->Form1->isVisible());
    QCOMPARE(app->state.variant, ModuleVariant::FourChannel10A);

    QVERIFY(sim.commandOk("resume"));
    QTRY_COMPARE_WITH_TIMEOUT(values(), FourChannel10AValues, PatienceMs);
    QVERIFY(ctl<QLabel>(app->Form1.get(), "mb1_1_g")->isVisible());
}

void tst_Faults::adapterPulledMidTelegram()
{
    // On COM20: while the adapter is away, COM1 would fall back to a real /dev/ttyS0.
    QVERIFY(sim.start({"--variant", "17", "--rate", "30", "--paced", "--port", "COM20"}));
    app = std::make_unique<FuseApplication>();
    ctl<QComboBox>(app->Form1.get(), "comport")->setCurrentIndex(19);
    app->show();
    QTRY_COMPARE_WITH_TIMEOUT(values(), FourChannel10AValues, PatienceMs);
    QCOMPARE(app->state.portDeviceName(), QStringLiteral("\\\\.\\COM20"));

    // Half a telegram on the line, then the adapter is gone.
    QVERIFY(sim.commandOk("raw E4 17 00 00 01 2C 00 96 04 D2 00 00 03 E8 00"));
    QTest::qWait(20);
    QVERIFY(sim.commandOk("vanish"));
    QTRY_COMPARE_WITH_TIMEOUT(values(), Blank, PatienceMs);
    QVERIFY(lampsOff());

    // Nothing spins on the dead line while the window keeps ticking.
    const double cpuBefore = cpuSeconds();
    QTest::qWait(2000);
    const double cpu = cpuSeconds() - cpuBefore;
    qInfo("%.3f s of CPU in 2 s with the adapter gone", cpu);
    QVERIFY2(cpu < 0.4, qPrintable(QStringLiteral("%1 s of CPU in 2 s").arg(cpu)));
    QVERIFY(app->Form1->isVisible());
    expectMonitoring();
    QCOMPARE(values(), Blank);

    // A configuration read finds no device and keeps retrying ...
    pressConfiguration();
    Tparameter_rovo *dlg = app->parameter_rovo.get();
    QVERIFY(dlg->isVisible());
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
    QVERIFY(dlg->machinery().protocol().retryActive());
    // ... until the adapter is plugged in again: a retry gets the answer.
    QVERIFY(sim.commandOk("appear"));
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(dlg, "status")->text(), Successful, PatienceMs);
    QVERIFY(!dlg->machinery().protocol().retryActive());
    QCOMPARE(ctl<QComboBox>(dlg, "k1_sel")->currentText(), QStringLiteral("10"));
    QCOMPARE(values(), Blank);

    // The main window's port comes back when the dialog hands it back.
    ctl<QAction>(dlg, "schliessen")->trigger();
    QVERIFY(!dlg->isVisible());
    expectMonitoring();
    QTRY_COMPARE_WITH_TIMEOUT(values(), FourChannel10AValues, PatienceMs);
}

void tst_Faults::portHeldByAnotherProgram()
{
    QVERIFY(sim.start({"--variant", "17", "--rate", "10"}));
    // Another program has the device, under its real name.
    const int fd = ::open(QFile::encodeName(sim.slavePath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    app = std::make_unique<FuseApplication>();
    app->show();

    QTest::qWait(1500);
    QCOMPARE(values(), Blank);
    QVERIFY(ctl<QComboBox>(app->Form1.get(), "comport")->isVisible());   // no telegram ever completed
    QVERIFY(!ctl<QRadioButton>(app->Form1.get(), "a")->isVisible());
    expectMonitoring();

    // A configuration read cannot get at the module either: 12 retries, then the failure.
    pressConfiguration();
    Tparameter_rovo *dlg = app->parameter_rovo.get();
    QVERIFY(dlg->isVisible());
    RetrySeriesWatch series(dlg->machinery().protocol());
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
    // Counted, not timed: every attempt failed, then the failure text; no earlier than the
    // retry timer allows, and the wait for it is only a guard against a hang.
    series.waitForEnd(retryseries::HangGuardMs);
    const QList<QByteArray> requests = sim.receivedRequests();
    qInfo("retry series %s", qPrintable(series.describe(requests.size())));
    const QString fault = series.failedSeriesFault(requests.size());
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(ctl<QLabel>(dlg, "status")->text(), Failed);
    QVERIFY(ctl<QLabel>(dlg, "status")->isVisible());
    QCOMPARE(ctl<QLabel>(dlg, "status")->styleSheet(), QStringLiteral("color: red;"));
    QVERIFY(!dlg->machinery().protocol().retryActive());
    QVERIFY(requests.isEmpty());   // nothing reached the module

    // The other program lets go; closing the dialog gives the main window its port again.
    ::close(fd);
    dlg->close();
    expectMonitoring();
    QTRY_COMPARE_WITH_TIMEOUT(values(), FourChannel10AValues, PatienceMs);
    QVERIFY(!deviceFree(sim.slavePath()));
}

void tst_Faults::noiseStormAtFullLineRate()
{
    QVERIFY(startApp({"--variant", "17", "--rate", "31", "--seed", "7"}));
    QTRY_COMPARE_WITH_TIMEOUT(values(), FourChannel10AValues, PatienceMs);
    QVERIFY(sim.commandOk("paced on"));

    // The window keeps answering: a timer of its event loop fires all through the storm.
    QElapsedTimer clock;
    int beats = 0;
    qint64 last = 0;
    qint64 longestGap = 0;
    QTimer heartbeat;
    connect(&heartbeat, &QTimer::timeout, this, [&] {
        ++beats;
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    const QRegularExpression wellFormed(QStringLiteral("^(\\d{1,2},\\d{1,2} [AV]dc|\\d{1,2} Adc|Off|)$"));
    bool allWellFormed = true;
    QTimer watcher;   // whatever the display shows meanwhile is a decoded telegram or nothing
    connect(&watcher, &QTimer::timeout, this, [&] {
        for (const QString &v : values())
            allWellFormed = allWellFormed && wellFormed.match(v).hasMatch();
    });

    // 5000 random bytes back to back: over five seconds of line time.
    clock.start();
    heartbeat.start(100);
    watcher.start(37);
    QVERIFY(sim.commandOk("noise 5000"));
    QTest::qWait(5600);
    const int stormBeats = beats;
    const qint64 stormGap = longestGap;
    // Noise counts as activity: the last values stay.
    QCOMPARE(values()[0], QStringLiteral("2,50 Adc"));

    // Bursts of noise with telegrams of new values in between.
    QVERIFY(sim.commandOk("current 1 777"));
    QVERIFY(sim.commandOk("max 4 1234"));
    for (int i = 0; i < 8; ++i) {
        QVERIFY(sim.commandOk("noise 250"));
        QTest::qWait(400);
    }
    heartbeat.stop();
    watcher.stop();

    qInfo("storm: %d beats of 100 ms in 5.6 s, longest gap %lld ms", stormBeats, stormGap);
    // The storm lasts 5000 characters at 9600 baud, 5.2 s. A window whose loop the storm
    // held would miss most beats and go silent for about that long; the bounds catch that
    // and are generous for a loaded machine (half the 56 beats, a quarter of the storm).
    constexpr int StormMs = 5000 * 10 * 1000 / 9600;
    QVERIFY2(stormBeats >= 5600 / 100 / 2, qPrintable(QStringLiteral("%1 beats in 5.6 s").arg(stormBeats)));
    QVERIFY2(stormGap < StormMs / 4, qPrintable(QStringLiteral("%1 ms without a beat").arg(stormGap)));
    QVERIFY(allWellFormed);
    QTRY_COMPARE_WITH_TIMEOUT(values()[0], QStringLiteral("7,77 Adc"), PatienceMs);
    QCOMPARE(values()[7], QStringLiteral("12,3 Adc"));
    QVERIFY(app->Form1->isVisible());
    expectMonitoring();
    // Still a working module on the other side: the storm left the tool's reading intact.
    QVERIFY(sim.commandOk("paced off"));
    QVERIFY(sim.commandOk("current 1 111"));
    // Reads take 60 bytes a tick: what a busy machine let pile up in the driver drains first.
    QTRY_COMPARE_WITH_TIMEOUT(values()[0], QStringLiteral("1,11 Adc"), PatienceMs);
}

// Noise on the line when the dialog reads: the garbled replies are retried, and once the
// noise has passed a retry gets the configuration.
void tst_Faults::noiseDuringConfigurationRead()
{
    QVERIFY(startApp({"--variant", "17", "--rate", "10", "--seed", "3"}));
    QTRY_COMPARE_WITH_TIMEOUT(values(), FourChannel10AValues, PatienceMs);
    pressConfiguration();
    Tparameter_rovo *dlg = app->parameter_rovo.get();
    QVERIFY(sim.commandOk("noise 600"));
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
    QVERIFY(dlg->machinery().protocol().retryActive());
    QTRY_VERIFY_WITH_TIMEOUT(!ctl<QLabel>(dlg, "status")->text().isEmpty(), PatienceMs);
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(dlg, "status")->text(), Successful, PatienceMs);
    qInfo("read through the noise after %lld ms", clock.elapsed());
    QCOMPARE(ctl<QComboBox>(dlg, "k1_sel")->currentText(), QStringLiteral("10"));
    QCOMPARE(ctl<QComboBox>(dlg, "pgood_sel_")->currentText(), QStringLiteral("21,4"));
    QCOMPARE(app->state.variant, ModuleVariant::FourChannel10A);
    ctl<QAction>(dlg, "schliessen")->trigger();
    expectMonitoring();
    QTRY_COMPARE_WITH_TIMEOUT(values(), FourChannel10AValues, PatienceMs);
}

void tst_Faults::repliesInPieces_data()
{
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<bool>("succeeds");

    QTest::newRow("pause of 120 ms: cut at the pause, retried, fails") << 120 << false;
    QTest::newRow("pause of 40 ms: read whole") << 40 << true;
    QTest::newRow("in one piece") << 0 << true;
}

void tst_Faults::repliesInPieces()
{
    QFETCH(int, gapMs);
    QFETCH(bool, succeeds);
    QVERIFY(startApp({"--variant", "19", "--rate", "10"}));
    QTRY_COMPARE_WITH_TIMEOUT(app->state.variant, ModuleVariant::FourChannel6A, PatienceMs);
    QVERIFY(sim.commandOk(QStringLiteral("config-split %1").arg(gapMs)));
    pressConfiguration();
    Tparameter_rovo *dlg = app->parameter_rovo.get();
    QVERIFY(dlg->isVisible());
    sim.receivedRequests();

    RetrySeriesWatch series(dlg->machinery().protocol());
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    if (succeeds) {
        QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(dlg, "status")->text(), Successful, PatienceMs);
        QCOMPARE(ctl<QLabel>(dlg, "status")->styleSheet(), QStringLiteral("color: black;"));
        // The simulator's factory settings of a 6 A module.
        QCOMPARE(ctl<QComboBox>(dlg, "k1_sel")->currentText(), QStringLiteral("6"));
        QCOMPARE(ctl<QComboBox>(dlg, "pgood_sel_")->currentText(), QStringLiteral("21,4"));
        QVERIFY(!dlg->machinery().protocol().retryActive());
        QCOMPARE(sim.receivedRequests().size(), 1);
    } else {
        QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
        QVERIFY(dlg->machinery().protocol().retryActive());
        // The twelve retries the 500 ms timer would make, without waiting for it.
        for (int i = 0; i < RetryProtocol::MaxRetries && dlg->machinery().protocol().retryActive(); ++i) {
            dlg->Timer1Timer();
            settle(dlg->machinery().protocol());
        }
        // The real timer ticks as well, and a tick that meets an attempt in flight waits
        // behind it as one: the series may still need the real timer's ticks to end. Its
        // end is awaited with the hang guard, not a fixed figure.
        QVERIFY2(series.waitForEnd(retryseries::HangGuardMs) && !series.succeeded(), qPrintable(series.describe()));
        QCOMPARE(ctl<QLabel>(dlg, "status")->text(), Failed);
        QVERIFY(ctl<QLabel>(dlg, "status")->isVisible());
        QCOMPARE(ctl<QLabel>(dlg, "status")->styleSheet(), QStringLiteral("color: red;"));
        QCOMPARE(ctl<QComboBox>(dlg, "k1_sel")->currentText(), QString());
        QVERIFY(!dlg->machinery().protocol().retryActive());
        QCOMPARE(sim.receivedRequests().size(), 1 + RetryProtocol::MaxRetries);
    }
    ctl<QAction>(dlg, "schliessen")->trigger();
    expectMonitoring();
    QTRY_VERIFY_WITH_TIMEOUT(!values()[0].isEmpty(), PatienceMs);
}

void tst_Faults::moduleSwappedWhileRunning_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<int>("expected");   // ModuleVariant
    QTest::addColumn<bool>("twoPortDialog");
    QTest::addColumn<int>("limitItems");   // entries of k1_sel in the single-port dialog

    QTest::newRow("back to four channels 10 A") << "17" << int(ModuleVariant::FourChannel10A) << false << 11;
    QTest::newRow("four channels 6 A") << "19" << int(ModuleVariant::FourChannel6A) << false << 7;
    QTest::newRow("two-port module") << "15" << int(ModuleVariant::FourChannelTwoPort) << true << 0;
    QTest::newRow("stays two channels 10 A") << "13" << int(ModuleVariant::TwoChannel10A) << false << 11;
    QTest::newRow("two channels 6 A") << "11" << int(ModuleVariant::TwoChannel6A) << false << 7;
}

// A four-channel module, swapped for a two-channel one and then for another module while
// the tool runs: the channel 3 and 4 rows follow, and the configuration button opens the
// dialog of the module attached last.
void tst_Faults::moduleSwappedWhileRunning()
{
    QFETCH(QString, variant);
    QFETCH(int, expected);
    QFETCH(bool, twoPortDialog);
    QFETCH(int, limitItems);
    QVERIFY(startApp({"--variant", "17", "--rate", "20"}));
    QTRY_COMPARE_WITH_TIMEOUT(values(), FourChannel10AValues, PatienceMs);
    QVERIFY(ctl<QLabel>(app->Form1.get(), "k3")->isVisible());

    QVERIFY(sim.commandOk("variant 13"));
    QTRY_COMPARE_WITH_TIMEOUT(app->state.variant, ModuleVariant::TwoChannel10A, PatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(!ctl<QLabel>(app->Form1.get(), "k3")->isVisible(), PatienceMs);
    for (QWidget *w : std::initializer_list<QWidget *>{ctl<QLabel>(app->Form1.get(), "k4"), ctl<QLabel>(app->Form1.get(), "k1_3"), ctl<QLabel>(app->Form1.get(), "k1_4"), ctl<QLabel>(app->Form1.get(), "mb1_5"), ctl<QLabel>(app->Form1.get(), "mb1_8"),
                                                        ctl<QLabel>(app->Form1.get(), "mb1_6_w"), ctl<QLabel>(app->Form1.get(), "Labelmb1_7")})
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    QCOMPARE(ctl<QLabel>(app->Form1.get(), "i3")->text(), QString());
    QCOMPARE(ctl<QLabel>(app->Form1.get(), "i4_endwert")->text(), QString());
    QVERIFY(!ctl<QLabel>(app->Form1.get(), "i1")->text().isEmpty());

    QVERIFY(sim.commandOk("variant " + variant));
    QTRY_COMPARE_WITH_TIMEOUT(int(app->state.variant), expected, PatienceMs);
    const bool four = isFourChannel(ModuleVariant(expected));
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(app->Form1.get(), "k3")->isVisible(), four, PatienceMs);
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(app->Form1.get(), "i3")->text().isEmpty(), !four, PatienceMs);
    for (QWidget *w : std::initializer_list<QWidget *>{ctl<QLabel>(app->Form1.get(), "k4"), ctl<QLabel>(app->Form1.get(), "k1_3"), ctl<QLabel>(app->Form1.get(), "k1_4"), ctl<QLabel>(app->Form1.get(), "mb1_5"), ctl<QLabel>(app->Form1.get(), "Labelmb1_7")})
        QVERIFY2(w->isVisible() == four, qPrintable(w->objectName()));

    pressConfiguration();
    QCOMPARE(app->para->isVisible(), twoPortDialog);
    QCOMPARE(app->parameter_rovo->isVisible(), !twoPortDialog);
    if (twoPortDialog) {
        ctl<QAction>(app->para.get(), "schliessen")->trigger();
    } else {
        QCOMPARE(ctl<QComboBox>(app->parameter_rovo.get(), "k1_sel")->count(), limitItems);
        QCOMPARE(ctl<QComboBox>(app->parameter_rovo.get(), "k1_sel")->currentIndex(), -1);
        QCOMPARE(ctl<QComboBox>(app->parameter_rovo.get(), "k3_sel")->isVisible(), four);
        // The read names the module too, and it is still the one attached.
        QTest::mouseClick(ctl<QPushButton>(app->parameter_rovo.get(), "Button1"), Qt::LeftButton);
        settle(app->parameter_rovo.get()->machinery().protocol());
        // A first attempt that a loaded machine made fail is retried.
        QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(app->parameter_rovo.get(), "status")->text(), Successful, PatienceMs);
        QCOMPARE(int(app->state.variant), expected);
        ctl<QAction>(app->parameter_rovo.get(), "schliessen")->trigger();
    }
    QVERIFY(!app->para->isVisible());
    QVERIFY(!app->parameter_rovo->isVisible());
    expectMonitoring();
    QTRY_VERIFY_WITH_TIMEOUT(!ctl<QLabel>(app->Form1.get(), "i1")->text().isEmpty(), PatienceMs);
    QCOMPARE(int(app->state.variant), expected);
}

void tst_Faults::dialogOpenedAndClosedManyTimes()
{
    QVERIFY(startApp({"--variant", "17", "--rate", "20"}));
    Tparameter_rovo *dlg = app->parameter_rovo.get();
    QTRY_COMPARE_WITH_TIMEOUT(values(), FourChannel10AValues, PatienceMs);
    // The main window holds its port: nobody else gets it.
    QVERIFY(!deviceFree(sim.slavePath()));
    {
        SerialLine second;
        second.open(sim.deviceName());
        QVERIFY(!second.isUsable());
    }
    // One opening first, so that whatever the toolkit keeps open for good is open before
    // the descriptors are counted.
    pressConfiguration();
    dlg->close();
    const int descriptors = openDescriptors();

    // Each read sends its request, once or, where a loaded machine made an attempt fail,
    // again on the retry ticks; an opening without a click sends nothing.
    const auto onlyReadRequests = [](const QList<QByteArray> &requests) {
        return !requests.isEmpty() && requests.size() <= retryseries::FailedAttempts
            && requests.count(QByteArray::fromHex("FFFC")) == requests.size();
    };
    sim.receivedRequests();
    int reads = 0;
    for (int i = 0; i < 30; ++i) {
        pressConfiguration();
        QVERIFY(dlg->isVisible());
        // The dialog opens the port only for each exchange: between them it is free.
        QVERIFY2(deviceFree(sim.slavePath()), qPrintable(QStringLiteral("opening %1").arg(i)));
        if (i % 2 == 0) {
            QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
            settle(dlg->machinery().protocol());
            // A first attempt that a loaded machine made fail is retried.
            QTRY_VERIFY2_WITH_TIMEOUT(ctl<QLabel>(dlg, "status")->text() == Successful, qPrintable(QStringLiteral("read %1: '%2'").arg(i).arg(ctl<QLabel>(dlg, "status")->text())), PatienceMs);
            QCOMPARE(ctl<QComboBox>(dlg, "k1_sel")->currentText(), QStringLiteral("10"));
            QVERIFY(deviceFree(sim.slavePath()));
            QVERIFY2(onlyReadRequests(sim.receivedRequests()), qPrintable(QStringLiteral("read %1").arg(i)));
            ++reads;
        } else {
            QTest::qWait(30);
            QVERIFY2(sim.receivedRequests().isEmpty(), qPrintable(QStringLiteral("opening %1").arg(i)));
        }
        if (i % 3 == 0)
            ctl<QAction>(dlg, "schliessen")->trigger();
        else
            dlg->close();
        QVERIFY(!dlg->isVisible());
        expectMonitoring();
        QVERIFY2(!deviceFree(sim.slavePath()), qPrintable(QStringLiteral("closing %1").arg(i)));
    }
    QCOMPARE(reads, 15);
    QVERIFY(sim.receivedRequests().isEmpty());

    // Back to live values; the port is the main window's alone, and nothing leaked.
    QTRY_COMPARE_WITH_TIMEOUT(values(), FourChannel10AValues, PatienceMs);
    QVERIFY(!ctl<QComboBox>(app->Form1.get(), "comport")->isVisible());
    {
        SerialLine second;
        second.open(sim.deviceName());
        QVERIFY(!second.isUsable());
    }
    QVERIFY2(openDescriptors() <= descriptors + 1,
             qPrintable(QStringLiteral("%1 descriptors, %2 before").arg(openDescriptors()).arg(descriptors)));
    // Handed over once more: now a second opener succeeds.
    pressConfiguration();
    {
        SerialLine second;
        second.open(sim.deviceName());
        QVERIFY(second.isUsable());
    }
    dlg->close();
    expectMonitoring();
    QTRY_VERIFY_WITH_TIMEOUT(!values()[0].isEmpty(), PatienceMs);
}

// A port under /dev (a COMn link there, a ttyS device, here the pty itself) keeps the flow
// control the driver had, as one in the user's ports folder does.
void tst_Faults::flowControlKeptOnADevicePath()
{
    QVERIFY(sim.start({"--rate", "0"}));
    const QByteArray path = QFile::encodeName(sim.slavePath());
    QVERIFY(path.startsWith("/dev/"));
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(fd >= 0);
    termios t{};
    QCOMPARE(::tcgetattr(fd, &t), 0);
    t.c_cflag |= CRTSCTS;
    t.c_iflag |= IXON | IXOFF;
    QCOMPARE(::tcsetattr(fd, TCSANOW, &t), 0);

    SerialLine line;
    line.open(sim.slavePath());
    QVERIFY(line.isUsable());
    termios after{};
    QCOMPARE(::tcgetattr(fd, &after), 0);
    ::close(fd);
    QVERIFY(after.c_cflag & CRTSCTS);
    QCOMPARE(after.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    QCOMPARE(after.c_cflag & CSIZE, tcflag_t(CS8));   // the line itself is set all the same
    QVERIFY(!(after.c_cflag & PARENB));
}

QTEST_MAIN(tst_Faults)
#include "tst_faults.moc"
