// The whole application against the module simulator on a real pseudo-terminal: the main
// window hands its port to the single-port dialog, which reads, writes, saves and loads a
// configuration, and takes it back when the dialog closes.
#include "app/fuseapplication.h"
#include "app/form1.h"
#include "hexbytes.h"
#include "parameter2/parameter_rovo.h"
#include "parameter2/singleportmodule.h"
#include "simulatorprocess.h"

#include "linkwait.h"
#include "windowcontrols.h"
#include "testfiles.h"
#include <QtTest>

namespace {


} // namespace

class tst_ConfigRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SimulatorProcess::useTemporaryDataHome(); }
    void cleanup() { sim.stop(); }
    void readWriteSaveLoad();
    void silentModule();

private:
    // Limits, threshold and delay as the dialog shows them.
    static QStringList lists(const QWidget *dialog)
    {
        return {ctl<QComboBox>(dialog, "k1_sel")->currentText(), ctl<QComboBox>(dialog, "k2_sel")->currentText(), ctl<QComboBox>(dialog, "k3_sel")->currentText(),
                ctl<QComboBox>(dialog, "k4_sel")->currentText(), ctl<QComboBox>(dialog, "pgood_sel_")->currentText(), ctl<QComboBox>(dialog, "abschaltzeit")->currentText()};
    }
    // Event boxes by bit, then port1_byte2_01, _02, _40, programmieren.
    static QString boxes(const QWidget *dialog)
    {
        QString s;
        for (QCheckBox *b : {ctl<QCheckBox>(dialog, "port1_byte1_01"), ctl<QCheckBox>(dialog, "port1_byte1_02"), ctl<QCheckBox>(dialog, "port1_byte1_04"), ctl<QCheckBox>(dialog, "port1_byte1_08"),
                             ctl<QCheckBox>(dialog, "port1_byte1_10"), ctl<QCheckBox>(dialog, "port1_byte1_20"), ctl<QCheckBox>(dialog, "port1_byte1_40"), ctl<QCheckBox>(dialog, "port1_byte1_80"),
                             ctl<QCheckBox>(dialog, "port1_byte2_01"), ctl<QCheckBox>(dialog, "port1_byte2_02"), ctl<QCheckBox>(dialog, "port1_byte2_40"), ctl<QCheckBox>(dialog, "programmieren")})
            s += b->isChecked() ? '1' : '0';
        return s;
    }

    SimulatorProcess sim;
};

void tst_ConfigRoundTrip::readWriteSaveLoad()
{
    QVERIFY(sim.start({"--variant", "17", "--rate", "10", "--software", "2.13"}));
    FuseApplication app;
    app.show();
    Tparameter_rovo *dlg = app.parameter_rovo.get();
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(app.Form1.get(), "i1")->text(), QStringLiteral("2,50 Adc"), PatienceMs);

    // Hand-over.
    QTest::mouseClick(ctl<QPushButton>(app.Form1.get(), "Button1"), Qt::LeftButton);
    // A telegram arriving is read to its end first.
    QTRY_VERIFY(dlg->isVisible());
    QVERIFY(!app.Form1->isEnabled());
    QVERIFY(!ctl<QTimer>(app.Form1.get(), "Timer1")->isActive());

    // Read: the simulator's factory configuration.
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Übertragung erfolgreich!"), PatienceMs);
    QCOMPARE(ctl<QLabel>(dlg, "status")->styleSheet(), QStringLiteral("color: black;"));
    QCOMPARE(lists(dlg), QStringList({"10", "10", "10", "10", "21,4", "100,0"}));
    QCOMPARE(boxes(dlg), QStringLiteral("010101010011"));
    QTest::mouseClick(ctl<QLabel>(dlg, "Label3"), Qt::LeftButton);
    QCOMPARE(ctl<QLabel>(dlg, "sw")->text(), QStringLiteral("SW: 2.13"));
    QCOMPARE(app.state.variant, ModuleVariant::FourChannel10A);
    QCOMPARE(sim.receivedRequests(), QList<QByteArray>{hexBytes("FF FC")});

    // Change and write.
    ctl<QComboBox>(dlg, "k1_sel")->setCurrentIndex(3);
    ctl<QComboBox>(dlg, "pgood_sel_")->setCurrentIndex(20);      // "22,0"
    ctl<QComboBox>(dlg, "abschaltzeit")->setCurrentIndex(4);     // "5,0"
    QTest::mouseClick(ctl<QCheckBox>(dlg, "port1_byte1_01"), Qt::LeftButton);
    QTest::mouseClick(ctl<QCheckBox>(dlg, "programmieren"), Qt::LeftButton);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Übertragung erfolgreich!"), PatienceMs);
    QCOMPARE(sim.receivedRequests(), QList<QByteArray>{hexBytes("FF F3 A3 AA DC AB 40 00 C7 DD EE CA")});
    const QStringList stored = sim.command(QStringLiteral("config-show"));
    QVERIFY(!stored.isEmpty());
    QCOMPARE(QByteArray::fromHex(stored.first().toLatin1()), hexBytes("A3 AA DC AB 40 00 C7"));

    // Read back, after the factory settings have changed every field.
    const QStringList written{"3", "10", "10", "10", "22,0", "5,0"};
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Übertragung erfolgreich!"), PatienceMs);
    QCOMPARE(lists(dlg), written);
    QCOMPARE(boxes(dlg), QStringLiteral("110101010010"));

    // Save, change, load back.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("module.txt"));
    dlg->askFileName = [&](QFileDialog &) { return path; };
    dlg->speichernClick();
    QCOMPARE(readAll(path), QByteArray("config\r\nA3,AA,DC,04;\r\nAB,40;\r\nAE081DDD12F256\r\n"));
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    QCOMPARE(lists(dlg), QStringList({"10", "10", "10", "10", "21,4", "100,0"}));
    dlg->oeffnenClick();
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Datei korrekt eingelesen"), PatienceMs);
    QCOMPARE(lists(dlg), written);
    QCOMPARE(boxes(dlg), QStringLiteral("110101010010"));

    // The main window's display went blank meanwhile; closing brings the values back.
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(app.Form1.get(), "i1")->text(), QString(), PatienceMs);
    dlg->close();
    QVERIFY(app.Form1->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(app.Form1.get(), "i1")->text(), QStringLiteral("2,50 Adc"), PatienceMs);
}

void tst_ConfigRoundTrip::silentModule()
{
    QVERIFY(sim.start({"--variant", "19", "--rate", "10"}));
    QVERIFY(sim.commandOk(QStringLiteral("config-mute on")));
    FuseApplication app;
    app.show();
    Tparameter_rovo *dlg = app.parameter_rovo.get();
    QTRY_VERIFY_WITH_TIMEOUT(!ctl<QLabel>(app.Form1.get(), "i1")->text().isEmpty(), PatienceMs);
    QCOMPARE(app.state.variant, ModuleVariant::FourChannel6A);

    QTest::mouseClick(ctl<QPushButton>(app.Form1.get(), "Button1"), Qt::LeftButton);
    QTRY_VERIFY(dlg->isVisible());
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    RetrySeriesWatch series(dlg->machinery().protocol());
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);   // clears the fields, then no answer
    settle(dlg->machinery().protocol());
    QCOMPARE(lists(dlg), QStringList({"", "", "", "", "", ""}));
    QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
    // Counted, not timed: every attempt failed, then the failure text; no earlier than the
    // retry timer allows, and the wait for it is only a guard against a hang.
    series.waitForEnd(retryseries::HangGuardMs);
    const QList<QByteArray> requests = sim.receivedRequests();
    qInfo("retry series %s", qPrintable(series.describe(requests.size())));
    const QString fault = series.failedSeriesFault(requests.size());
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Kommunikation fehlgeschlagen!"));
    QVERIFY(ctl<QLabel>(dlg, "status")->isVisible());
    QCOMPARE(ctl<QLabel>(dlg, "status")->styleSheet(), QStringLiteral("color: red;"));
    QCOMPARE(lists(dlg), QStringList({"", "", "", "", "", ""}));
    QVERIFY(!dlg->machinery().protocol().retryActive());
    // One attempt from the button and twelve retries.
    QCOMPARE(requests.count(hexBytes("FF FC")), retryseries::FailedAttempts);
    QCOMPARE(requests.size(), retryseries::FailedAttempts);
}

QTEST_MAIN(tst_ConfigRoundTrip)
#include "tst_configroundtrip.moc"
