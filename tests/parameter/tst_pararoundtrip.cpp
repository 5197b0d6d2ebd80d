// The two-port dialog against the module simulator on a real pseudo-terminal: the main
// window hands its port over, the dialog reads, writes, saves and loads a configuration,
// and the main window takes the port back when the dialog closes.
#include "app/form1.h"
#include "app/fuseapplication.h"
#include "hexbytes.h"
#include "parameter/para.h"
#include "parameter/twoportmodule.h"
#include "simulatorprocess.h"

#include <QFileDialog>
#include "linkwait.h"
#include "windowcontrols.h"
#include "testfiles.h"
#include <QtTest>

class tst_ParaRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SimulatorProcess::useTemporaryDataHome(); }
    void cleanup();
    void readWriteSaveLoad();
    void failedRead_data();
    void failedRead();

private:
    // Current and trip time of every channel, then the threshold.
    QStringList lists() const
    {
        return {ctl<QComboBox>(para.get(), "k1_sel")->currentText() + '/' + ctl<QComboBox>(para.get(), "k1_time")->currentText(),
                ctl<QComboBox>(para.get(), "k2_sel")->currentText() + '/' + ctl<QComboBox>(para.get(), "k2_time")->currentText(),
                ctl<QComboBox>(para.get(), "k3_sel")->currentText() + '/' + ctl<QComboBox>(para.get(), "k3_time")->currentText(),
                ctl<QComboBox>(para.get(), "k4_sel")->currentText() + '/' + ctl<QComboBox>(para.get(), "k4_time")->currentText(), ctl<QComboBox>(para.get(), "pgood_sel_")->currentText()};
    }
    // Every box as the dialog shows it, Port 1's byte 1 first, then byte 2 (01, 02, 80),
    // the same for Port 2, then loeschen and programmieren.
    QString shownBoxes() const
    {
        QString s;
        for (const char *port : {"port1_", "port2_"}) {
            for (const char *bit : {"byte1_01", "byte1_02", "byte1_04", "byte1_08", "byte1_10", "byte1_20",
                                    "byte1_40", "byte1_80", "byte2_01", "byte2_02", "byte2_80"})
                s += para->findChild<QCheckBox *>(QLatin1String(port) + QLatin1String(bit))->isChecked() ? '1' : '0';
            s += ' ';
        }
        s += ctl<QCheckBox>(para.get(), "loeschen")->isChecked() ? '1' : '0';
        s += ctl<QCheckBox>(para.get(), "programmieren")->isChecked() ? '1' : '0';
        return s;
    }
    // The main window's configuration button, as the user presses it.
    // The windows, once the simulator runs.
    void createWindows();
    void handOver()
    {
        QTest::mouseClick(ctl<QPushButton>(app->Form1.get(), "Button1"), Qt::LeftButton);
        // A telegram arriving is read to its end first.
        QTRY_VERIFY(para->isVisible());
        QVERIFY(!app->Form1->isEnabled());
        QVERIFY(!ctl<QTimer>(app->Form1.get(), "Timer1")->isActive());
    }

    SimulatorProcess sim;
    std::unique_ptr<FuseApplication> app;
    SerialLine paraLine;
    std::unique_ptr<Tpara> para;
};

void tst_ParaRoundTrip::createWindows()
{
    app = std::make_unique<FuseApplication>();
    // Wired as the start-up wires it: the main window shows para for a two-port module and
    // takes its port back when para closes.
    para = std::make_unique<Tpara>(app->state, paraLine);
    app->Form1->para = para.get();
    connect(para.get(), &Tpara::rueckgabe, app->Form1.get(), &TForm1::rueckgabe);
}

void tst_ParaRoundTrip::cleanup()
{
    para.reset();
    app.reset();
    sim.stop();
}

void tst_ParaRoundTrip::readWriteSaveLoad()
{
    QVERIFY(sim.start({"--variant", "15", "--rate", "10", "--software", "4.02"}));
    createWindows();
    app->show();
    QTRY_VERIFY_WITH_TIMEOUT(!ctl<QLabel>(app->Form1.get(), "i1")->text().isEmpty(), PatienceMs);
    const QString liveValue = ctl<QLabel>(app->Form1.get(), "i1")->text();
    QCOMPARE(app->state.variant, ModuleVariant::FourChannelTwoPort);

    handOver();
    // Read: the simulator's factory configuration.
    QTest::mouseClick(ctl<QPushButton>(para.get(), "Button1"), Qt::LeftButton);
    settle(para.get()->machinery().protocol());
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(para.get(), "status")->text(), QStringLiteral("Übertragung erfolgreich!"), PatienceMs);
    QCOMPARE(ctl<QLabel>(para.get(), "status")->styleSheet(), QStringLiteral("color: black;"));
    QCOMPARE(lists(), QStringList({"8/0,1", "8/0,1", "8/0,1", "8/0,1", "21,4"}));
    QCOMPARE(shownBoxes(), QStringLiteral("01000000001 00010000001 01"));
    QTest::mouseClick(ctl<QLabel>(para.get(), "Label5"), Qt::LeftButton);
    QCOMPARE(ctl<QLabel>(para.get(), "sw")->text(), QStringLiteral("SW: 4.02"));
    QCOMPARE(sim.receivedRequests(), QList<QByteArray>{hexBytes("FF FC")});
    QCOMPARE(app->state.variant, ModuleVariant::FourChannelTwoPort);

    // Change as a user does, then write.
    QVERIFY(pick(ctl<QComboBox>(para.get(), "k1_sel"), 1));        // 1 A: "1,5" offered and selected
    QVERIFY(pick(ctl<QComboBox>(para.get(), "k2_sel"), 0));        // OFF: no time
    QVERIFY(pick(ctl<QComboBox>(para.get(), "k3_sel"), 2));        // 2 A: "0,5" selected ...
    QVERIFY(pick(ctl<QComboBox>(para.get(), "k3_time"), 1));       // ... the user takes "0,2"
    QVERIFY(pick(ctl<QComboBox>(para.get(), "pgood_sel_"), 20));   // "22,0"
    QTest::mouseClick(ctl<QCheckBox>(para.get(), "port1_byte1_01"), Qt::LeftButton);
    QTest::mouseClick(ctl<QCheckBox>(para.get(), "port2_byte2_01"), Qt::LeftButton);
    QTest::mouseClick(ctl<QCheckBox>(para.get(), "loeschen"), Qt::LeftButton);
    QTest::mouseClick(ctl<QCheckBox>(para.get(), "programmieren"), Qt::LeftButton);
    QTest::mouseClick(ctl<QPushButton>(para.get(), "Button2"), Qt::LeftButton);
    settle(para.get()->machinery().protocol());
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(para.get(), "status")->text(), QStringLiteral("Übertragung erfolgreich!"), PatienceMs);
    QCOMPARE(sim.receivedRequests(), QList<QByteArray>{hexBytes("FF F3 01 82 DC 03 C0 08 81 04 01 DD EE 23")});
    const QStringList stored = sim.command(QStringLiteral("config-show"));
    QVERIFY(!stored.isEmpty());
    // The release is an action of the module, not a setting: it is not stored.
    QCOMPARE(QByteArray::fromHex(stored.first().toLatin1()), hexBytes("01 82 DC 03 80 08 81 04 01"));

    // Read back, after the factory settings have changed every field.
    const QStringList written{"1/1,5", "OFF/", "2/0,2", "8/0,1", "22,0"};
    const QString writtenBoxes = QStringLiteral("11000000001 00010000101 00");
    QTest::mouseClick(ctl<QPushButton>(para.get(), "Button3"), Qt::LeftButton);
    QCOMPARE(lists(), QStringList({"8/0,1", "8/0,1", "8/0,1", "8/0,1", "21,4"}));
    QTest::mouseClick(ctl<QPushButton>(para.get(), "Button1"), Qt::LeftButton);
    settle(para.get()->machinery().protocol());
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(para.get(), "status")->text(), QStringLiteral("Übertragung erfolgreich!"), PatienceMs);
    QCOMPARE(lists(), written);
    QCOMPARE(shownBoxes(), writtenBoxes);

    // Save, change, load back.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("two-port.txt"));
    para->askFileName = [&](QFileDialog &) { return path; };
    para->speichernClick();
    QCOMPARE(readAll(path), QByteArray("config\r\n01,82,DC,04,01;\r\n03,80,08,81;\r\nAE081DDD12F256\r\n"));
    QTest::mouseClick(ctl<QPushButton>(para.get(), "Button3"), Qt::LeftButton);
    QCOMPARE(lists(), QStringList({"8/0,1", "8/0,1", "8/0,1", "8/0,1", "21,4"}));
    para->oeffnenClick();
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(para.get(), "status")->text(), QStringLiteral("Datei korrekt eingelesen"), PatienceMs);
    QCOMPARE(lists(), written);
    QCOMPARE(shownBoxes(), writtenBoxes);

    // The main window's display went blank meanwhile; closing brings the values back.
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(app->Form1.get(), "i1")->text(), QString(), PatienceMs);
    ctl<QAction>(para.get(), "schliessen")->trigger();
    QVERIFY(!para->isVisible());
    QVERIFY(app->Form1->isEnabled());
    QVERIFY(ctl<QTimer>(app->Form1.get(), "Timer1")->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(app->Form1.get(), "i1")->text(), liveValue, PatienceMs);
    // The dialog is empty for the next opening, and nothing more went to the module.
    QCOMPARE(lists(), QStringList({"/", "/", "/", "/", ""}));
    QCOMPARE(sim.receivedRequests(), QList<QByteArray>{hexBytes("FF FC")});   // the read back, nothing since
}

void tst_ParaRoundTrip::failedRead_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("message");

    QTest::newRow("silent module") << "config-mute on" << false << "Kommunikation fehlgeschlagen!";
    QTest::newRow("single-port answer, English") << "config-type 17" << true << "Communikation error!";
}

void tst_ParaRoundTrip::failedRead()
{
    QFETCH(QString, command);
    QFETCH(bool, english);
    QFETCH(QString, message);
    QVERIFY(sim.start({"--variant", "15", "--rate", "10"}));
    QVERIFY(sim.commandOk(command));
    createWindows();
    app->show();
    if (english)
        app->Form1->englischClick();
    para->setLanguage(english ? Language::English : Language::German);
    QTRY_COMPARE_WITH_TIMEOUT(app->state.variant, ModuleVariant::FourChannelTwoPort, PatienceMs);
    handOver();

    QTest::mouseClick(ctl<QPushButton>(para.get(), "Button3"), Qt::LeftButton);
    RetrySeriesWatch series(para->machinery().protocol());
    QTest::mouseClick(ctl<QPushButton>(para.get(), "Button1"), Qt::LeftButton);   // empties the fields, then no good answer
    settle(para.get()->machinery().protocol());
    QCOMPARE(lists(), QStringList({"/", "/", "/", "/", ""}));
    QVERIFY(ctl<QLabel>(para.get(), "status")->isHidden());
    // The series is counted, not timed: the button's attempt and twelve retries, each one
    // failed, then the failure text. Its time has only the lower bound the retry timer
    // guarantees; the wait for its end is a guard against a hang.
    series.waitForEnd(retryseries::HangGuardMs);
    const QList<QByteArray> requests = sim.receivedRequests();
    qInfo("retry series %s", qPrintable(series.describe(requests.size())));
    const QString fault = series.failedSeriesFault(requests.size());
    QVERIFY2(fault.isEmpty(), qPrintable(fault + QStringLiteral("; fields ") + lists().join(' ')));
    QCOMPARE(ctl<QLabel>(para.get(), "status")->text(), message);
    QCOMPARE(ctl<QLabel>(para.get(), "status")->styleSheet(), QStringLiteral("color: red;"));
    QCOMPARE(lists(), QStringList({"/", "/", "/", "/", ""}));
    QVERIFY(!para->machinery().protocol().retryActive());
    // One attempt from the button and twelve retries.
    QCOMPARE(requests.count(hexBytes("FF FC")), retryseries::FailedAttempts);
    QCOMPARE(requests.size(), retryseries::FailedAttempts);
}

QTEST_MAIN(tst_ParaRoundTrip)
#include "tst_pararoundtrip.moc"
