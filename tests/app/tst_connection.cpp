// The connection window with the tool's real serial line, against the module simulator on
// pseudo-terminals: each state it names, reconnection by hand and by itself, another port
// used once the port list has hidden, an adapter linked under a COM name, both languages.
#include "app/form1.h"
#include "app/fuseapplication.h"
#include "connection/connection.h"
#include "link/monitorport.h"
#include "link/portdiagnosis.h"
#include "link/portnames.h"
#include "simulatorprocess.h"
#include "windowcontrols.h"

#include <QAccessible>
#include <QtTest>

class tst_Connection : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void menuShowsTheWindow();
    void liveThenVanishedThenBack();
    void reconnectAutomatically_data();
    void reconnectAutomatically();
    void settingKeptBetweenRuns();
    void statesOfPortsThatDoNotWork_data();
    void statesOfPortsThatDoNotWork();
    void heldPortNamesItsHolder();
    void openWithoutData();
    void handedToTheConfigurationDialog();
    void useAfterTheListHid_data();
    void useAfterTheListHid();
    void assignLinksTheAdapter();
    void countersSinceOpen();
    void textsInBothLanguages();
    void startsWithThePortOfTheCommandLine_data();
    void startsWithThePortOfTheCommandLine();
    void helpVersionAndBadPort_data();
    void helpVersionAndBadPort();

private:
    QString stateLine() const { return ctl<QLabel>(window(), "stateValue")->text(); }
    QString current1() const { return ctl<QLabel>(app->Form1.get(), "i1")->text(); }
    TConnection *window() const { return app->Connection.get(); }
    void use(const QString &text)
    {
        ctl<QComboBox>(window(), "portChoice")->setEditText(text);
        QTest::mouseClick(ctl<QPushButton>(window(), "useButton"), Qt::LeftButton);
    }

    QTemporaryDir config_;
    FuseApplication *app = nullptr;
    SimulatorProcess simA_, simB_;
};

void tst_Connection::initTestCase()
{
    SimulatorProcess::useTemporaryDataHome();
    QVERIFY(config_.isValid());
    // The setting "reconnect automatically" goes to a folder of the test's own.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
}

void tst_Connection::init()
{
    QSettings(QStringLiteral("electronic-fuse"), QStringLiteral("electronic-fuse")).clear();
    app = new FuseApplication;
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app->Form1.get()));
}

void tst_Connection::cleanup()
{
    delete app;
    app = nullptr;
    simA_.stop();
    simB_.stop();
}

void tst_Connection::menuShowsTheWindow()
{
    QMenu *extras = ctl<QMenu>(app->Form1.get(), "Extras1");
    QCOMPARE(extras->title(), QStringLiteral("Extras"));
    QMenuBar *bar = ctl<QMenuBar>(app->Form1.get(), "MainMenu1");
    QCOMPARE(bar->actions().size(), 2);
    QCOMPARE(bar->actions().at(1), extras->menuAction());   // after "Datei"
    QAction *item = ctl<QAction>(app->Form1.get(), "Verbindung1");
    QCOMPARE(extras->actions().value(0), item);
    QCOMPARE(item->text(), QStringLiteral("Verbindung..."));
    item->trigger();
    QVERIFY(window()->isVisible());
    QCOMPARE(window()->windowTitle(), QStringLiteral("Verbindung"));
    QVERIFY(!window()->isModal());
}

void tst_Connection::liveThenVanishedThenBack()
{
    QVERIFY(simA_.start({"--port", "COM4", "--variant", "17", "--rate", "10", "--currents", "300,0,0,0"}));
    app->Form1->selectPort(simA_.deviceName());
    window()->show();
    QTRY_COMPARE_WITH_TIMEOUT(current1(), QStringLiteral("3,00 Adc"), PatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(stateLine().startsWith(QStringLiteral("Empfängt")), PatienceMs);
    QCOMPARE(ctl<QLabel>(window(), "portValue")->text(), QStringLiteral("COM4"));
    QVERIFY(ctl<QLabel>(window(), "resolutionValue")->text().contains(simA_.slavePath()));
    QVERIFY(ctl<QLabel>(window(), "resolutionValue")->text().contains(simA_.linkPath()));

    simA_.stop();   // the simulator ends and removes its link: COM4 no longer resolves
    QTRY_VERIFY_WITH_TIMEOUT(stateLine().startsWith(QStringLiteral("Verbindung verloren")), PatienceMs);
    QTRY_COMPARE_WITH_TIMEOUT(current1(), QString(), PatienceMs);
    QTest::qWait(1200);
    QVERIFY2(stateLine().startsWith(QStringLiteral("Verbindung verloren")), qPrintable(stateLine()));
    // Reconnecting to a name that resolves to nothing keeps the state.
    QTest::mouseClick(ctl<QPushButton>(window(), "reconnectButton"), Qt::LeftButton);
    QTest::qWait(300);
    window()->refresh();
    QVERIFY2(stateLine().startsWith(QStringLiteral("Verbindung verloren")), qPrintable(stateLine()));

    QVERIFY(simA_.start({"--port", "COM4", "--variant", "17", "--rate", "10", "--currents", "300,0,0,0"}));
    QTest::qWait(1500);
    QCOMPARE(current1(), QString());   // automatic reconnection is off
    QTest::mouseClick(ctl<QPushButton>(window(), "reconnectButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(current1(), QStringLiteral("3,00 Adc"), PatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(stateLine().startsWith(QStringLiteral("Empfängt")), PatienceMs);
}

void tst_Connection::reconnectAutomatically_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<bool>("absentAtFirst");
    QTest::newRow("on, after a vanish") << true << false;
    QTest::newRow("on, absent at the first open") << true << true;
    QTest::newRow("off, after a vanish") << false << false;
}

void tst_Connection::reconnectAutomatically()
{
    QFETCH(bool, automatic);
    QFETCH(bool, absentAtFirst);
    const QStringList args{"--port", "COM4", "--variant", "17", "--rate", "10", "--currents", "300,0,0,0"};
    ctl<QCheckBox>(window(), "autoReconnect")->setChecked(automatic);
    app->Form1->selectPort(portnames::deviceName(4));
    if (!absentAtFirst) {
        QVERIFY(simA_.start(args));
        QTRY_COMPARE_WITH_TIMEOUT(current1(), QStringLiteral("3,00 Adc"), PatienceMs);
        simA_.stop();
        QTRY_COMPARE_WITH_TIMEOUT(current1(), QString(), PatienceMs);
    } else {
        QTest::qWait(500);
    }
    QTest::qWait(300);
    QVERIFY(simA_.start(args));
    QElapsedTimer clock;
    clock.start();
    if (automatic) {
        // Back without a click; the bound is generous for a loaded machine.
        QTRY_COMPARE_WITH_TIMEOUT(current1(), QStringLiteral("3,00 Adc"), PatienceMs);
        qInfo("values back %lld ms after the simulator", clock.elapsed());
    } else {
        QTest::qWait(2500);
        QCOMPARE(current1(), QString());
    }
}

void tst_Connection::settingKeptBetweenRuns()
{
    QVERIFY(!ctl<QCheckBox>(window(), "autoReconnect")->isChecked());   // off at first
    QVERIFY(!app->Form1->monitorPort().autoReconnect());
    ctl<QCheckBox>(window(), "autoReconnect")->setChecked(true);
    QVERIFY(app->Form1->monitorPort().autoReconnect());
    delete app;
    app = new FuseApplication;
    QVERIFY(ctl<QCheckBox>(window(), "autoReconnect")->isChecked());
    QVERIFY(app->Form1->monitorPort().autoReconnect());
}

void tst_Connection::statesOfPortsThatDoNotWork_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("word");
    QTest::newRow("COM name without link or device") << "COM19" << "Nicht vorhanden";
    QTest::newRow("device path that does not exist") << "/dev/ttyUSB93" << "Nicht vorhanden";
    QTest::newRow("regular file") << "@file" << "Kein serieller Anschluss";
}

void tst_Connection::statesOfPortsThatDoNotWork()
{
    QFETCH(QString, port);
    QFETCH(QString, word);
    if (port == "@file") {
        port = config_.filePath("not-a-port");
        QFile f(port);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    window()->show();
    use(port);
    QTRY_VERIFY2_WITH_TIMEOUT(stateLine().startsWith(word), qPrintable(stateLine()), PatienceMs);
}

void tst_Connection::heldPortNamesItsHolder()
{
#ifdef Q_OS_UNIX
    QVERIFY(simA_.start({"--port", "COM4", "--variant", "17", "--rate", "10"}));
    QProcess holder;
    holder.start(QStringLiteral("flock"), {QStringLiteral("--no-fork"), QStringLiteral("-x"), simA_.slavePath(),
                                           QStringLiteral("sleep"), QStringLiteral("30")});
    QVERIFY(holder.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(portdiagnosis::diagnose(simA_.slavePath()).state, portdiagnosis::State::Held, PatienceMs);
    window()->show();
    use(QStringLiteral("COM4"));
    // Until the window has taken the new port it may show COM1 held, by another test's tool.
    const QString holderPid = QStringLiteral("(Prozess %1)").arg(holder.processId());
    QTRY_VERIFY2_WITH_TIMEOUT(stateLine().startsWith(QStringLiteral("Belegt")) && stateLine().contains(holderPid),
                              qPrintable(stateLine()), PatienceMs);
    holder.kill();
    holder.waitForFinished();
#else
    QSKIP("flock is Unix");
#endif
}

void tst_Connection::openWithoutData()
{
    QVERIFY(simA_.start({"--port", "COM4", "--variant", "17", "--rate", "0"}));
    window()->show();
    use(QStringLiteral("com4"));
    // COM1 may be open without data as well: first the window has to show the new port.
    QTRY_COMPARE_WITH_TIMEOUT(ctl<QLabel>(window(), "portValue")->text(), QStringLiteral("COM4"), PatienceMs);
    QTRY_VERIFY2_WITH_TIMEOUT(stateLine().startsWith(QStringLiteral("Offen, keine Daten")), qPrintable(stateLine()), PatienceMs);
}

void tst_Connection::handedToTheConfigurationDialog()
{
    window()->show();
    app->Form1->Button1Click();
    window()->refresh();
    QCOMPARE(stateLine(), QStringLiteral("An den Konfigurationsdialog übergeben"));
    QVERIFY(!ctl<QPushButton>(window(), "useButton")->isEnabled());
    QVERIFY(!ctl<QPushButton>(window(), "reconnectButton")->isEnabled());
    // Nothing switches the port while the dialog has it.
    const QString before = app->state.portDeviceName();
    window()->useClick();
    QTest::qWait(200);
    QCOMPARE(app->state.portDeviceName(), before);
}

void tst_Connection::useAfterTheListHid_data()
{
    QTest::addColumn<bool>("byPath");
    QTest::newRow("by COM name") << false;
    QTest::newRow("by device path") << true;
}

void tst_Connection::useAfterTheListHid()
{
    QFETCH(bool, byPath);
    QVERIFY(simA_.start({"--port", "COM4", "--variant", "17", "--rate", "10", "--currents", "300,0,0,0"}));
    QVERIFY(simB_.start({"--port", "COM5", "--variant", "17", "--rate", "10", "--currents", "700,0,0,0"}));
    app->Form1->selectPort(simA_.deviceName());
    QTRY_COMPARE_WITH_TIMEOUT(current1(), QStringLiteral("3,00 Adc"), PatienceMs);
    QVERIFY(ctl<QComboBox>(app->Form1.get(), "comport")->isHidden());

    window()->show();
    use(byPath ? simB_.slavePath() : QStringLiteral("COM5"));
    QTRY_COMPARE_WITH_TIMEOUT(current1(), QStringLiteral("7,00 Adc"), PatienceMs);
    // The tick keeps it, and the configuration dialogs get it.
    QTest::qWait(500);
    QCOMPARE(current1(), QStringLiteral("7,00 Adc"));
    QCOMPARE(app->state.portDeviceName(), byPath ? simB_.slavePath() : simB_.deviceName());
}

void tst_Connection::assignLinksTheAdapter()
{
    // A machine with one FTDI adapter (the simulator's pseudo-terminal behind it) and udev.
    QTemporaryDir root;
    portdiagnosis::System system;
    system.ttyClassFolder = root.filePath("sys/class/tty");
    system.byIdFolder = root.filePath("dev/serial/by-id");
    system.devFolder = root.filePath("dev");
    const QString usb = root.filePath("sys/devices/usb1/1-2");
    QDir().mkpath(usb + "/1-2:1.0/ttyUSB0");
    QDir().mkpath(system.ttyClassFolder + "/ttyUSB0");
    QDir().mkpath(system.byIdFolder);
    for (const auto &[file, text] : {std::pair{"idVendor", "0403"}, {"idProduct", "6001"}, {"manufacturer", "FTDI"}}) {
        QFile f(usb + "/" + file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(text) + '\n');
    }
    QVERIFY(simA_.start({"--port", "COM4", "--variant", "17", "--rate", "10", "--currents", "300,0,0,0"}));
    QVERIFY(QFile::link(usb + "/1-2:1.0/ttyUSB0", system.ttyClassFolder + "/ttyUSB0/device"));
    QVERIFY(QFile::link(simA_.slavePath(), system.devFolder + "/ttyUSB0"));
    const QString stable = system.byIdFolder + "/usb-FTDI_FT232R_A10KX3QZ-if00-port0";
    QVERIFY(QFile::link("../../ttyUSB0", stable));
    window()->setSystem(system);
    window()->show();

    QTreeWidget *list = ctl<QTreeWidget>(window(), "adapterList");
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(list->topLevelItem(0)->text(1), stable);
    QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("COM4"));
    list->setCurrentItem(list->topLevelItem(0));
    ctl<QComboBox>(window(), "assignComName")->setCurrentText(QStringLiteral("COM9"));
    QTest::mouseClick(ctl<QPushButton>(window(), "assignButton"), Qt::LeftButton);

    const QString link = portnames::userPortsFolder() + QStringLiteral("COM9");
    QCOMPARE(QFileInfo(link).symLinkTarget(), stable);
    QCOMPARE(portdiagnosis::resolve(portnames::deviceName(9), system).device, simA_.slavePath());
    // The COM name now reaches the adapter: the live values come through it.
    use(QStringLiteral("COM9"));
    QTRY_COMPARE_WITH_TIMEOUT(current1(), QStringLiteral("3,00 Adc"), PatienceMs);
    window()->refresh();
    QVERIFY2(ctl<QLabel>(window(), "adapterValue")->text().contains(QStringLiteral("FTDI")),
             qPrintable(ctl<QLabel>(window(), "adapterValue")->text()));
    QFile::remove(link);
}

void tst_Connection::countersSinceOpen()
{
    QVERIFY(simA_.start({"--port", "COM4", "--variant", "17", "--rate", "10"}));
    window()->show();
    use(QStringLiteral("COM4"));
    QTRY_VERIFY_WITH_TIMEOUT(ctl<QLabel>(window(), "acceptedValue")->text().toInt() >= 3, PatienceMs);
    const int accepted = ctl<QLabel>(window(), "acceptedValue")->text().toInt();
    QVERIFY(ctl<QLabel>(window(), "bytesValue")->text().remove('.').toInt() >= accepted * 31);
    QCOMPARE(ctl<QLabel>(window(), "rejectedValue")->text(), QStringLiteral("0"));
    QVERIFY(!ctl<QLabel>(window(), "lastTelegramValue")->text().isEmpty());
    // Screen readers hear each counter with its caption, and the state line as it stands.
    QVERIFY(ctl<QLabel>(window(), "acceptedValue")->accessibleName().startsWith(QStringLiteral("Telegramme angenommen: ")));
    QAccessibleInterface *state = QAccessible::queryAccessibleInterface(ctl<QLabel>(window(), "stateValue"));
    QVERIFY2(state->text(QAccessible::Name).startsWith(QStringLiteral("Empfängt: ")), qPrintable(state->text(QAccessible::Name)));
    QCOMPARE(state->text(QAccessible::Description), QStringLiteral("Zustand"));
}

void tst_Connection::textsInBothLanguages()
{
    QVERIFY(simA_.start({"--port", "COM4", "--variant", "17", "--rate", "10"}));
    app->Form1->selectPort(simA_.deviceName());
    window()->show();
    QTRY_VERIFY_WITH_TIMEOUT(stateLine().startsWith(QStringLiteral("Empfängt")), PatienceMs);
    app->Form1->englischClick();
    QCOMPARE(window()->windowTitle(), QStringLiteral("Connection"));
    QCOMPARE(ctl<QMenu>(app->Form1.get(), "Extras1")->title(), QStringLiteral("Tools"));
    QCOMPARE(ctl<QAction>(app->Form1.get(), "Verbindung1")->text(), QStringLiteral("Connection..."));
    QCOMPARE(ctl<QPushButton>(window(), "useButton")->text(), QStringLiteral("Use"));
    QCOMPARE(ctl<QPushButton>(window(), "assignButton")->text(), QStringLiteral("Assign..."));
    QCOMPARE(ctl<QPushButton>(window(), "reconnectButton")->text(), QStringLiteral("Reconnect"));
    QCOMPARE(ctl<QCheckBox>(window(), "autoReconnect")->text(), QStringLiteral("Reconnect automatically"));
    QVERIFY2(stateLine().startsWith(QStringLiteral("Receiving")), qPrintable(stateLine()));
    use(QStringLiteral("/dev/ttyUSB93"));
    QTRY_VERIFY2_WITH_TIMEOUT(stateLine().startsWith(QStringLiteral("Absent")), qPrintable(stateLine()), PatienceMs);
    app->Form1->deutschClick();
    QCOMPARE(window()->windowTitle(), QStringLiteral("Verbindung"));
    QVERIFY2(stateLine().startsWith(QStringLiteral("Nicht vorhanden")), qPrintable(stateLine()));
}

void tst_Connection::startsWithThePortOfTheCommandLine_data()
{
    QTest::addColumn<bool>("byPath");
    QTest::newRow("COM name") << false;
    QTest::newRow("device path") << true;
}

void tst_Connection::startsWithThePortOfTheCommandLine()
{
    QFETCH(bool, byPath);
    QVERIFY(simA_.start({"--port", "COM4", "--variant", "17", "--rate", "10", "--currents", "300,0,0,0"}));
    delete app;
    const QString name = byPath ? simA_.slavePath() : simA_.deviceName();
    app = new FuseApplication(name);
    QStringList opened;
    connect(&app->line, &SerialLine::opened, this, [&](const QString &device) { opened << device; });
    app->show();
    QTRY_COMPARE_WITH_TIMEOUT(current1(), QStringLiteral("3,00 Adc"), PatienceMs);
    // The first tick opens COM1, then the port asked for, as for any selection but COM1.
    QCOMPARE(opened, (QStringList{portnames::deviceName(1), name}));
    QCOMPARE(app->state.portDeviceName(), name);
    QCOMPARE(ctl<QComboBox>(app->Form1.get(), "comport")->currentIndex(), byPath ? 0 : 3);
}

void tst_Connection::helpVersionAndBadPort_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");   // what stdout or stderr holds
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "electronic-fuse " FUSE_VERSION;
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "--port <NAME>";
    QTest::newRow("-h") << QStringList{"-h"} << 0 << "--version";
    QTest::newRow("bad port") << QStringList{"--port", "COM33"} << 2 << "COM33";
    QTest::newRow("unknown option") << QStringList{"--fast"} << 2 << "fast";
}

void tst_Connection::helpVersionAndBadPort()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");   // help and version need no screen
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ELECTRONIC_FUSE), args);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), exitCode);
    const QByteArray text = p.readAllStandardOutput() + p.readAllStandardError();
    QVERIFY2(text.contains(output.toUtf8()), text.constData());
}

QTEST_MAIN(tst_Connection)
#include "tst_connection.moc"
