// The whole application against the module simulator on a real pseudo-terminal: the main
// window hands its port to the single-port dialog, which reads, writes, saves and loads a
// configuration, and takes it back when the dialog closes.
#include "app/fuseapplication.h"
#include "app/form1.h"
#include "hexbytes.h"
#include "parameter2/parameter_rovo.h"
#include "parameter2/singleportcontroller.h"
#include "simulatorprocess.h"
#include "ui_form1.h"
#include "ui_parameter_rovo.h"

#include <QtTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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
    static QStringList lists(Ui::Tparameter_rovo *ui)
    {
        return {ui->k1_sel->currentText(), ui->k2_sel->currentText(), ui->k3_sel->currentText(),
                ui->k4_sel->currentText(), ui->pgood_sel_->currentText(), ui->abschaltzeit->currentText()};
    }
    // Event boxes by bit, then port1_byte2_01, _02, _40, programmieren.
    static QString boxes(Ui::Tparameter_rovo *ui)
    {
        QString s;
        for (QCheckBox *b : {ui->port1_byte1_01, ui->port1_byte1_02, ui->port1_byte1_04, ui->port1_byte1_08,
                             ui->port1_byte1_10, ui->port1_byte1_20, ui->port1_byte1_40, ui->port1_byte1_80,
                             ui->port1_byte2_01, ui->port1_byte2_02, ui->port1_byte2_40, ui->programmieren})
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
    Ui::TForm1 *main = app.Form1->ui;
    Tparameter_rovo *dlg = app.parameter_rovo.get();
    Ui::Tparameter_rovo *ui = dlg->ui;
    QTRY_COMPARE_WITH_TIMEOUT(main->i1->text(), QStringLiteral("2,50 Adc"), 3000);

    // Hand-over.
    QTest::mouseClick(main->Button1, Qt::LeftButton);
    QVERIFY(dlg->isVisible());
    QVERIFY(!app.Form1->isEnabled());
    QVERIFY(!app.Form1->Timer1.isActive());

    // Read: the simulator's factory configuration.
    QTest::mouseClick(ui->Button1, Qt::LeftButton);
    QCOMPARE(ui->status->text(), QStringLiteral("Übertragung erfolgreich!"));
    QCOMPARE(ui->status->styleSheet(), QStringLiteral("color: black;"));
    QCOMPARE(lists(ui), QStringList({"10", "10", "10", "10", "21,4", "100,0"}));
    QCOMPARE(boxes(ui), QStringLiteral("010101010011"));
    QTest::mouseClick(ui->Label3, Qt::LeftButton);
    QCOMPARE(ui->sw->text(), QStringLiteral("SW: 2.13"));
    QCOMPARE(app.state.currentVariant, ModuleVariant::FourChannel10A);
    QCOMPARE(sim.receivedRequests(), QList<QByteArray>{hexBytes("FF FC")});

    // Change and write.
    ui->k1_sel->setCurrentIndex(3);
    ui->pgood_sel_->setCurrentIndex(20);      // "22,0"
    ui->abschaltzeit->setCurrentIndex(4);     // "5,0"
    QTest::mouseClick(ui->port1_byte1_01, Qt::LeftButton);
    QTest::mouseClick(ui->programmieren, Qt::LeftButton);
    QTest::mouseClick(ui->Button2, Qt::LeftButton);
    QCOMPARE(ui->status->text(), QStringLiteral("Übertragung erfolgreich!"));
    QCOMPARE(sim.receivedRequests(), QList<QByteArray>{hexBytes("FF F3 A3 AA DC AB 40 00 C7 DD EE CA")});
    const QStringList stored = sim.command(QStringLiteral("config-show"));
    QVERIFY(!stored.isEmpty());
    QCOMPARE(QByteArray::fromHex(stored.first().toLatin1()), hexBytes("A3 AA DC AB 40 00 C7"));

    // Read back, after the factory settings have changed every field.
    const QStringList written{"3", "10", "10", "10", "22,0", "5,0"};
    QTest::mouseClick(ui->Button3, Qt::LeftButton);
    QTest::mouseClick(ui->Button1, Qt::LeftButton);
    QCOMPARE(ui->status->text(), QStringLiteral("Übertragung erfolgreich!"));
    QCOMPARE(lists(ui), written);
    QCOMPARE(boxes(ui), QStringLiteral("110101010010"));

    // Save, change, load back.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("module.txt"));
    dlg->askFileName = [&](QFileDialog &) { return path; };
    dlg->speichernClick();
    QCOMPARE(readAll(path), QByteArray("config\r\nA3,AA,DC,04;\r\nAB,40;\r\nAE081DDD12F256\r\n"));
    QTest::mouseClick(ui->Button3, Qt::LeftButton);
    QCOMPARE(lists(ui), QStringList({"10", "10", "10", "10", "21,4", "100,0"}));
    dlg->oeffnenClick();
    QCOMPARE(ui->status->text(), QStringLiteral("Datei korrekt eingelesen"));
    QCOMPARE(lists(ui), written);
    QCOMPARE(boxes(ui), QStringLiteral("110101010010"));

    // The main window's display went blank meanwhile; closing brings the values back.
    QTRY_COMPARE_WITH_TIMEOUT(main->i1->text(), QString(), 2500);
    dlg->close();
    QVERIFY(app.Form1->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(main->i1->text(), QStringLiteral("2,50 Adc"), 3000);
}

void tst_ConfigRoundTrip::silentModule()
{
    QVERIFY(sim.start({"--variant", "19", "--rate", "10"}));
    QVERIFY(sim.commandOk(QStringLiteral("config-mute on")));
    FuseApplication app;
    app.show();
    Tparameter_rovo *dlg = app.parameter_rovo.get();
    Ui::Tparameter_rovo *ui = dlg->ui;
    QTRY_VERIFY_WITH_TIMEOUT(!app.Form1->ui->i1->text().isEmpty(), 3000);
    QCOMPARE(app.state.currentVariant, ModuleVariant::FourChannel6A);

    QTest::mouseClick(app.Form1->ui->Button1, Qt::LeftButton);
    QTest::mouseClick(ui->Button3, Qt::LeftButton);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(ui->Button1, Qt::LeftButton);   // clears the fields, then no answer
    QCOMPARE(lists(ui), QStringList({"", "", "", "", "", ""}));
    QVERIFY(ui->status->isHidden());
    QTRY_COMPARE_WITH_TIMEOUT(ui->status->text(), QStringLiteral("Kommunikation fehlgeschlagen!"), 9000);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed > 5500 && elapsed < 8500, qPrintable(QString::number(elapsed)));
    QVERIFY(ui->status->isVisible());
    QCOMPARE(ui->status->styleSheet(), QStringLiteral("color: red;"));
    QCOMPARE(lists(ui), QStringList({"", "", "", "", "", ""}));
    QVERIFY(!dlg->controller().protocol().retryActive());
    // One attempt from the button and twelve retries.
    const QList<QByteArray> requests = sim.receivedRequests();
    QCOMPARE(requests.count(hexBytes("FF FC")), 13);
    QCOMPARE(requests.size(), 13);
}

QTEST_MAIN(tst_ConfigRoundTrip)
#include "tst_configroundtrip.moc"
