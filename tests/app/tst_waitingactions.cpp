// What the user does in a configuration dialog while a request waits for a module that
// answers late takes effect after the reply, whole and in the order done: the bytes on the
// wire and the final screen are those of the order clicked. The whole application against
// the module simulator on a real pseudo-terminal, answers 200 ms after each request.
#include "app/form1.h"
#include "app/fuseapplication.h"
#include "hexbytes.h"
#include "parameter/para.h"
#include "parameter2/parameter_rovo.h"
#include "simulatorprocess.h"

#include <QFileDialog>
#include "linkwait.h"
#include "testfiles.h"
#include "windowcontrols.h"
#include <QtTest>

namespace {

QStringList texts(const QWidget *dialog, const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names)
        shown << ctl<QComboBox>(dialog, qPrintable(name))->currentText();
    return shown;
}

QStringList visibleMarkers(const QWidget *dialog)
{
    QStringList shown;
    for (const char *name : {"error_k1", "error_k2", "error_k3", "error_k4", "error_pg", "ab_error"}) {
        const QLabel *marker = dialog->findChild<QLabel *>(QLatin1String(name));
        if (marker && marker->isVisible())
            shown << QLatin1String(name);
    }
    return shown;
}

const QStringList SinglePortLists{"k1_sel", "k2_sel", "k3_sel", "k4_sel", "pgood_sel_", "abschaltzeit"};

} // namespace

class tst_WaitingActions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SimulatorProcess::useTemporaryDataHome(); }
    void cleanup();

    void singlePortBurst();
    void twoPortBurst();
    void loadAndSaveDuringRead();
    void editsDuringRead();
    void refusalThenSuccess();
    void closeDropsWaitingActions();

private:
    // The simulator as a module of this variant that answers 200 ms late, the tool on its
    // port, and the dialog for it handed the port.
    QMainWindow *open(const char *variant, const QStringList &commands = {});
    QStringList statusLine(const QWidget *dialog) const
    {
        const QLabel *status = ctl<QLabel>(dialog, "status");
        return {status->isVisible() ? QStringLiteral("shown") : QStringLiteral("hidden"), status->text(),
                status->styleSheet()};
    }
    RetryProtocol &protocol(QMainWindow *dialog)
    {
        return static_cast<ConfigDialog *>(dialog)->machinery().protocol();
    }

    SimulatorProcess sim;
    std::unique_ptr<FuseApplication> app;
};

void tst_WaitingActions::cleanup()
{
    app.reset();
    sim.stop();
}

QMainWindow *tst_WaitingActions::open(const char *variant, const QStringList &commands)
{
    if (!sim.start({"--variant", variant, "--rate", "10"}))
        return nullptr;
    for (const QString &command : commands)
        if (!sim.commandOk(command))
            return nullptr;
    if (!sim.commandOk(QStringLiteral("config-delay 200")))
        return nullptr;
    app = std::make_unique<FuseApplication>();
    app->show();
    const bool twoPort = QByteArray(variant) == "15";
    if (!QTest::qWaitFor([&] { return (app->state.variant == ModuleVariant::FourChannelTwoPort) == twoPort
                                      && !ctl<QLabel>(app->Form1.get(), "i1")->text().isEmpty(); },
                         3000))
        return nullptr;
    QTest::mouseClick(ctl<QPushButton>(app->Form1.get(), "Button1"), Qt::LeftButton);
    QMainWindow *dialog = twoPort ? static_cast<QMainWindow *>(app->para.get())
                                  : static_cast<QMainWindow *>(app->parameter_rovo.get());
    if (!QTest::qWaitFor([&] { return dialog->isVisible(); }, 1000))
        return nullptr;
    sim.receivedRequests();   // nothing yet; forget the status telegrams' silence
    return dialog;
}

void tst_WaitingActions::singlePortBurst()
{
    // The module's own configuration differs from the factory settings in every byte.
    QMainWindow *dlg = open("17", {QStringLiteral("config-set 43 A0 C8 55 43 00 27")});
    QVERIFY(dlg);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);   // read
    QVERIFY(protocol(dlg).attemptInFlight());
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);   // factory settings
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);   // write
    // Nothing of the later clicks shows while the read waits.
    QCOMPARE(texts(dlg, {"k1_sel", "pgood_sel_"}), QStringList({"", ""}));
    settle(protocol(dlg));

    QCOMPARE(sim.receivedRequests(),
             QList<QByteArray>({hexBytes("FF FC"), hexBytes("FF F3 AA AA D6 AA C0 0F 9F DD EE 1F")}));
    QCOMPARE(sim.command(QStringLiteral("config-show")).value(0), QStringLiteral("AA AA D6 AA C0 0F 9F"));
    QCOMPARE(texts(dlg, SinglePortLists), QStringList({"10", "10", "10", "10", "21,4", "100,0"}));
    QCOMPARE(statusLine(dlg), QStringList({"shown", "Übertragung erfolgreich!", "color: black;"}));
    QVERIFY(visibleMarkers(dlg).isEmpty());
}

void tst_WaitingActions::twoPortBurst()
{
    // Every write is stored with channels 1 and 2 at 6 A: the read tells what the module took.
    QMainWindow *dlg = open("15", {QStringLiteral("config-alter 0 66")});
    QVERIFY(dlg);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);   // factory settings
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);   // write
    QVERIFY(protocol(dlg).attemptInFlight());
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);   // read
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);   // write what was read
    // The read's emptying waits for the write too.
    QCOMPARE(texts(dlg, {"k1_sel", "pgood_sel_"}), QStringList({"8", "21,4"}));
    settle(protocol(dlg));

    QCOMPARE(sim.receivedRequests(),
             QList<QByteArray>({hexBytes("FF F3 88 88 D6 02 80 08 C0 00 00 DD EE AF"), hexBytes("FF FC"),
                                hexBytes("FF F3 66 88 D6 02 80 08 C0 00 00 DD EE 41")}));
    QCOMPARE(texts(dlg, {"k1_sel", "k2_sel", "k3_sel", "k4_sel", "pgood_sel_"}),
             QStringList({"6", "6", "8", "8", "21,4"}));
    QCOMPARE(statusLine(dlg), QStringList({"shown", "Übertragung erfolgreich!", "color: black;"}));
    QVERIFY(visibleMarkers(dlg).isEmpty());
}

void tst_WaitingActions::loadAndSaveDuringRead()
{
    QMainWindow *dlg = open("17", {QStringLiteral("config-set 43 A0 C8 55 43 00 27")});
    QVERIFY(dlg);
    auto *dialog = static_cast<ConfigDialog *>(dlg);
    QTemporaryDir dir;
    const QString loaded = dir.filePath(QStringLiteral("loaded.txt"));
    const QString saved = dir.filePath(QStringLiteral("saved.txt"));
    // Factory settings of a four-channel 10 A module, as the dialog saves them.
    const QByteArray factory("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n");
    writeAll(loaded, factory);
    QStringList asked;   // which file dialog came up, and whether a reply was still awaited then
    dialog->askFileName = [&](QFileDialog &fileDialog) {
        const bool saving = fileDialog.acceptMode() == QFileDialog::AcceptSave;
        asked << QStringLiteral("%1 %2").arg(saving ? "save" : "open",
                                             protocol(dlg).attemptInFlight() ? "in flight" : "idle");
        return saving ? saved : loaded;
    };

    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);   // read
    ctl<QAction>(dlg, "oeffnen")->trigger();
    ctl<QAction>(dlg, "speichern")->trigger();
    QVERIFY(asked.isEmpty());
    settle(protocol(dlg));

    QCOMPARE(asked, QStringList({"open idle", "save idle"}));
    // The file's configuration came after the reply, and is what was saved.
    QCOMPARE(texts(dlg, SinglePortLists), QStringList({"10", "10", "10", "10", "21,4", "100,0"}));
    QCOMPARE(readAll(saved), factory);
    // The load's message was shown, then the save emptied the line's text.
    QCOMPARE(statusLine(dlg), QStringList({"shown", "", "color: black;"}));
    QVERIFY(protocol(dlg).clearingActive());
    QCOMPARE(sim.receivedRequests(), QList<QByteArray>{hexBytes("FF FC")});
}

void tst_WaitingActions::editsDuringRead()
{
    // Two-port factory settings in the module: every channel 8 A, Port 1's first box off.
    QMainWindow *dlg = open("15");
    QVERIFY(dlg);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);   // read
    QVERIFY(protocol(dlg).attemptInFlight());
    // Picked and clicked while the reply is awaited: 2 A for channel 1 (its trip times
    // follow), Port 1's first box, and loeschen twice (back to where it was).
    QVERIFY(pick(ctl<QComboBox>(dlg, "k1_sel"), 2));
    QVERIFY(protocol(dlg).attemptInFlight());
    QTest::mouseClick(ctl<QCheckBox>(dlg, "port1_byte1_01"), Qt::LeftButton);
    QTest::mouseClick(ctl<QCheckBox>(dlg, "loeschen"), Qt::LeftButton);
    QTest::mouseClick(ctl<QCheckBox>(dlg, "loeschen"), Qt::LeftButton);
    QVERIFY(protocol(dlg).attemptInFlight());
    settle(protocol(dlg));
    QCOMPARE(statusLine(dlg), QStringList({"shown", "Übertragung erfolgreich!", "color: black;"}));

    // The reply came first, then the edits, each on what the reply had left.
    QCOMPARE(texts(dlg, {"k1_sel", "k1_time", "k2_sel", "k2_time"}), QStringList({"2", "0,5", "8", "0,1"}));
    QVERIFY(ctl<QCheckBox>(dlg, "port1_byte1_01")->isChecked());
    QVERIFY(!ctl<QCheckBox>(dlg, "loeschen")->isChecked());
    // And the module gets exactly that.
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    settle(protocol(dlg));
    QCOMPARE(statusLine(dlg), QStringList({"shown", "Übertragung erfolgreich!", "color: black;"}));
    QCOMPARE(sim.receivedRequests(),
             QList<QByteArray>({hexBytes("FF FC"), hexBytes("FF F3 82 88 D6 03 80 08 C0 02 00 DD EE A6")}));
}

void tst_WaitingActions::refusalThenSuccess()
{
    QMainWindow *dlg = open("17", {QStringLiteral("config-set 43 A0 C8 55 43 00 27")});
    QVERIFY(dlg);
    // Every list is empty after the opening: refused at once, with every marker.
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    QCOMPARE(statusLine(dlg), QStringList({"shown", "Bitte alle Felder korrekt ausfüllen", "color: red;"}));
    QCOMPARE(visibleMarkers(dlg).size(), 6);

    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);   // read
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);   // write what comes
    settle(protocol(dlg));
    QCOMPARE(sim.receivedRequests(),
             QList<QByteArray>({hexBytes("FF FC"), hexBytes("FF F3 43 A0 C8 55 43 00 27 DD EE 29")}));
    QCOMPARE(statusLine(dlg), QStringList({"shown", "Übertragung erfolgreich!", "color: black;"}));
    QVERIFY(visibleMarkers(dlg).isEmpty());
    // The write's success clears the line 5 s later, as every success does.
    QVERIFY(protocol(dlg).clearingActive());
    QTRY_VERIFY_WITH_TIMEOUT(ctl<QLabel>(dlg, "status")->isHidden(), PatienceMs);
    QVERIFY(visibleMarkers(dlg).isEmpty());
}

void tst_WaitingActions::closeDropsWaitingActions()
{
    QMainWindow *dlg = open("17", {QStringLiteral("config-set 43 A0 C8 55 43 00 27")});
    QVERIFY(dlg);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);   // read
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);   // factory settings
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);   // write
    QTest::qWait(50);   // the request is on the line
    dlg->close();       // at once: the read is dropped, and so is what waited for it
    QVERIFY(app->Form1->isEnabled());
    QTest::qWait(600);   // past the late answer
    QCOMPARE(sim.receivedRequests(), QList<QByteArray>{hexBytes("FF FC")});
    QCOMPARE(texts(dlg, SinglePortLists), QStringList({"", "", "", "", "", ""}));
    QVERIFY(!protocol(dlg).busy());
}

QTEST_MAIN(tst_WaitingActions)
#include "tst_waitingactions.moc"
