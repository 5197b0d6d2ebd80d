// The main window fed by the module simulator through the real serial port.
#include "config/sharedstate.h"
#include "app/form1.h"
#include "link/serialline.h"
#include "simulatorprocess.h"

#include "watchdogticks.h"
#include "windowcontrols.h"
#include <QtTest>

class tst_LiveDisplay : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SimulatorProcess::useTemporaryDataHome(); }
    void init();
    void cleanup();
    void knownTelegramFillsTheWindow();
    void silenceBlanksAndResumeRefills();
    void survivesNoiseAndBadFrames();
    void moduleSwappedForTwoChannels();
    void unopenablePortThenWorkingOne();
    void vanishedPortLeavesBlankDisplay();

private:
    QStringList values() const
    {
        QStringList texts;
        for (QLabel *l : {ctl<QLabel>(form, "i1"), ctl<QLabel>(form, "i2"), ctl<QLabel>(form, "i3"), ctl<QLabel>(form, "i4"), ctl<QLabel>(form, "i1_max"), ctl<QLabel>(form, "i2_max"), ctl<QLabel>(form, "i3_max"), ctl<QLabel>(form, "i4_max"),
                          ctl<QLabel>(form, "uin"), ctl<QLabel>(form, "uin_min"), ctl<QLabel>(form, "i1_endwert"), ctl<QLabel>(form, "i2_endwert"), ctl<QLabel>(form, "i3_endwert"), ctl<QLabel>(form, "i4_endwert")})
            texts << l->text();
        return texts;
    }

    SharedState state;
    SerialLine *line = nullptr;
    TForm1 *form = nullptr;
    SimulatorProcess sim;
};

// The example module: the values of the reference telegram
// E4 17 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 00 ...
static const QStringList ExampleArgs{
    "--variant", "17", "--rate", "10", "--status1", "05", "--status2", "00",
    "--currents", "300,150,1234,0", "--max", "1000,7,1234,50",
    "--uin", "2400", "--uin-min", "2395", "--rated", "6,10,0,0"};
static const QStringList ExampleValues{
    "3,00 Adc", "1,50 Adc", "12,3 Adc", "0,00 Adc", "10,0 Adc", "0,07 Adc", "12,3 Adc", "0,50 Adc",
    "24,0 Vdc", "23,9 Vdc", "6 Adc", "10 Adc", "Off", "Off"};

void tst_LiveDisplay::init()
{
    state = SharedState{};
    line = new SerialLine;
    form = new TForm1(state, *line);
    form->show();
}

void tst_LiveDisplay::cleanup()
{
    delete form;
    delete line;
    sim.stop();
}

void tst_LiveDisplay::knownTelegramFillsTheWindow()
{
    QVERIFY(sim.start(ExampleArgs));
    QTRY_COMPARE_WITH_TIMEOUT(values(), ExampleValues, PatienceMs);
    QCOMPARE(state.portDeviceName(), QStringLiteral("\\\\.\\COM1"));
    QVERIFY(ctl<QLabel>(form, "mb1_1_g")->isVisible());
    QVERIFY(ctl<QLabel>(form, "mb1_3_g")->isVisible());
    QVERIFY(!ctl<QLabel>(form, "mb1_2_r")->isVisible());
    QVERIFY(ctl<QLabel>(form, "mb1_2_w")->isVisible());
    QVERIFY(!ctl<QComboBox>(form, "comport")->isVisible());
    QVERIFY(ctl<QRadioButton>(form, "a")->isVisible());
}

void tst_LiveDisplay::silenceBlanksAndResumeRefills()
{
    QVERIFY(sim.start(ExampleArgs));
    QTRY_COMPARE_WITH_TIMEOUT(values(), ExampleValues, PatienceMs);
    WatchdogTicks watchdog(form);
    QVERIFY(sim.commandOk("silence"));
    // The display blanks on the second watchdog tick after the last byte, counted in ticks;
    // the wait is only a guard against a hang (five periods where two are needed).
    QTRY_COMPARE_WITH_TIMEOUT(values(), QStringList(14, QString()), 5 * watchdog.period());
    QVERIFY2(watchdog.ticksAfterLastByte() == 2, qPrintable(watchdog.describe()));
    QVERIFY(!ctl<QLabel>(form, "mb1_1_g")->isVisible());
    QVERIFY(ctl<QLabel>(form, "mb1_1_w")->isVisible());
    QVERIFY(sim.commandOk("resume"));
    QTRY_COMPARE_WITH_TIMEOUT(values(), ExampleValues, PatienceMs);
}

void tst_LiveDisplay::survivesNoiseAndBadFrames()
{
    QVERIFY(sim.start(ExampleArgs));
    QTRY_COMPARE_WITH_TIMEOUT(values(), ExampleValues, PatienceMs);
    QVERIFY(sim.commandOk("current 1 999"));
    QVERIFY(sim.commandOk("badcheck 1000"));
    QVERIFY(sim.commandOk("noise 3000"));
    QTest::qWait(1500);
    QCOMPARE(values()[0], QStringLiteral("3,00 Adc"));   // nothing bad reached the display
    QVERIFY(sim.commandOk("badcheck 0"));
    QVERIFY(sim.commandOk("short 5"));
    QTRY_COMPARE_WITH_TIMEOUT(values()[0], QStringLiteral("9,99 Adc"), PatienceMs);
}

void tst_LiveDisplay::moduleSwappedForTwoChannels()
{
    QVERIFY(sim.start(ExampleArgs));
    QTRY_COMPARE_WITH_TIMEOUT(values(), ExampleValues, PatienceMs);
    QVERIFY(sim.commandOk("variant 13"));
    QTRY_COMPARE_WITH_TIMEOUT(state.variant, ModuleVariant::TwoChannel10A, PatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(!ctl<QLabel>(form, "k3")->isVisible(), PatienceMs);
    QVERIFY(!ctl<QLabel>(form, "mb1_6")->isVisible());
    QVERIFY(!ctl<QLabel>(form, "Labelmb1_8")->isVisible());
    QCOMPARE(ctl<QLabel>(form, "i3")->text(), QString());
    QVERIFY(sim.commandOk("variant 19"));
    QTRY_VERIFY_WITH_TIMEOUT(ctl<QLabel>(form, "k3")->isVisible(), PatienceMs);
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(form, "i3")->text(), QStringLiteral("12,3 Adc"), PatienceMs);
    QVERIFY(ctl<QLabel>(form, "mb1_6")->isVisible());
}

void tst_LiveDisplay::unopenablePortThenWorkingOne()
{
    QVERIFY(sim.start(QStringList(ExampleArgs) << "--port" << "COM3"));
    ctl<QComboBox>(form, "comport")->setCurrentIndex(4);   // COM5: nothing there
    QTest::qWait(1200);
    QCOMPARE(values(), QStringList(14, QString()));
    QVERIFY(ctl<QComboBox>(form, "comport")->isVisible());
    QCOMPARE(state.portDeviceName(), QStringLiteral("\\\\.\\COM5"));
    ctl<QComboBox>(form, "comport")->setCurrentIndex(2);
    QTRY_COMPARE_WITH_TIMEOUT(values(), ExampleValues, PatienceMs);
    QCOMPARE(state.portDeviceName(), QStringLiteral("\\\\.\\COM3"));
}

void tst_LiveDisplay::vanishedPortLeavesBlankDisplay()
{
    QVERIFY(sim.start(ExampleArgs));
    QTRY_COMPARE_WITH_TIMEOUT(values(), ExampleValues, PatienceMs);
    QVERIFY(sim.commandOk("vanish"));
    QTRY_COMPARE_WITH_TIMEOUT(values(), QStringList(14, QString()), PatienceMs);
    QTest::qWait(500);
    QVERIFY(form->isVisible());
    QVERIFY(readTicksGoOn(form));
}

QTEST_MAIN(tst_LiveDisplay)
#include "tst_livedisplay.moc"
