// What a port is, found without opening it, on real pseudo-terminals and files; and the
// serial adapters of a machine, from a folder standing for sysfs and /dev/serial/by-id.
#include "link/portdiagnosis.h"
#include "link/portnames.h"
#include "link/serialline.h"
#include "simulatorprocess.h"

#include <QtTest>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using portdiagnosis::State;
Q_DECLARE_METATYPE(portdiagnosis::State)

class tst_PortDiagnosis : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void states_data();
    void states();
    void heldByAnotherProcessNamesIt();
    void failedOpenSaysWhy_data();
    void failedOpenSaysWhy();
    void danglingComLinkIsAbsentWithoutFallback();
    void adaptersFromTheSystemFolders();
    void withoutByIdFolderTheListSaysSo();
    void reasonsInBothLanguages();

private:
    QTemporaryDir dir_;
    SimulatorProcess sim_;
};

void tst_PortDiagnosis::initTestCase()
{
    SimulatorProcess::useTemporaryDataHome();
    QVERIFY(dir_.isValid());
    QVERIFY(sim_.start({"--port", "COM4", "--variant", "17", "--rate", "0"}));
}

void tst_PortDiagnosis::states_data()
{
    QTest::addColumn<QString>("path");   // "@pty" for the simulator's pseudo-terminal
    QTest::addColumn<State>("state");
    QTest::newRow("free pseudo-terminal") << "@pty" << State::Free;
    QTest::newRow("absent") << "/dev/ttyNoSuchPort" << State::Absent;
    QTest::newRow("regular file") << "@file" << State::NotSerial;
    QTest::newRow("character device that is no terminal") << "/dev/null" << State::NotSerial;
    QTest::newRow("folder") << "/tmp" << State::NotSerial;
}

void tst_PortDiagnosis::states()
{
    QFETCH(QString, path);
    QFETCH(State, state);
    if (path == "@pty")
        path = sim_.slavePath();
    if (path == "@file") {
        path = dir_.filePath("plain.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("no serial port\n");
    }
    const portdiagnosis::Diagnosis d = portdiagnosis::diagnose(path);
    QCOMPARE(d.state, state);
    QCOMPARE(d.path, path);
}

void tst_PortDiagnosis::heldByAnotherProcessNamesIt()
{
#ifdef Q_OS_UNIX
    // flock(1) takes the device as the tool and efusectl do; without forking, the process
    // that holds it is the one started here.
    QProcess holder;
    holder.start(QStringLiteral("flock"), {QStringLiteral("--no-fork"), QStringLiteral("-x"), sim_.slavePath(),
                                           QStringLiteral("sleep"), QStringLiteral("30")});
    QVERIFY(holder.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(portdiagnosis::diagnose(sim_.slavePath()).state, State::Held, PatienceMs);
    const portdiagnosis::Diagnosis d = portdiagnosis::diagnose(sim_.linkPath());   // by its COM link too
    QCOMPARE(d.state, State::Held);
    bool named = false;
    for (const portdiagnosis::Holder &h : d.holders)
        named = named || (h.pid == holder.processId() && h.program == QLatin1String("sleep"));
    QVERIFY2(named, qPrintable(portdiagnosis::reason(d)));
    QVERIFY(portdiagnosis::reason(d).contains(QString::number(holder.processId())));

    // The tool's own open fails, and the failure says who holds it.
    SerialLine line;
    QVERIFY(!line.open(sim_.deviceName()));
    const portdiagnosis::Diagnosis why = portdiagnosis::diagnoseOpenFailure(line.openedPath(), line.lastOpenFailure());
    QCOMPARE(why.state, State::Held);
    QVERIFY(portdiagnosis::reason(why).contains(QString::number(holder.processId())));

    holder.kill();
    holder.waitForFinished();
    QTRY_COMPARE_WITH_TIMEOUT(portdiagnosis::diagnose(sim_.slavePath()).state, State::Free, PatienceMs);
#else
    QSKIP("flock and /proc are Unix");
#endif
}

void tst_PortDiagnosis::failedOpenSaysWhy_data()
{
    QTest::addColumn<int>("openErrno");
    QTest::addColumn<int>("lockErrno");
    QTest::addColumn<int>("qtError");
    QTest::addColumn<State>("state");
#ifdef Q_OS_UNIX
    // A device that is there and may be opened, on which the open or the lock was refused.
    QTest::newRow("exclusive use set by another program") << EBUSY << 0 << int(QSerialPort::NoError) << State::Held;
    QTest::newRow("lock refused") << 0 << EWOULDBLOCK << int(QSerialPort::NoError) << State::Held;
    QTest::newRow("Qt's lock file") << 0 << 0 << int(QSerialPort::PermissionError) << State::Held;
    QTest::newRow("access refused") << EACCES << 0 << int(QSerialPort::PermissionError) << State::PermissionDenied;
    QTest::newRow("no such device behind the node") << ENXIO << 0 << int(QSerialPort::DeviceNotFoundError) << State::Absent;
#endif
}

void tst_PortDiagnosis::failedOpenSaysWhy()
{
    QFETCH(int, openErrno);
    QFETCH(int, lockErrno);
    QFETCH(int, qtError);
    QFETCH(State, state);
    const portdiagnosis::OpenFailure failure{openErrno, lockErrno, QSerialPort::SerialPortError(qtError)};
    QCOMPARE(portdiagnosis::diagnoseOpenFailure(sim_.slavePath(), failure).state, state);
}

void tst_PortDiagnosis::danglingComLinkIsAbsentWithoutFallback()
{
    // COM1 has an on-board port on many machines (/dev/ttyS0); a link of the user's that
    // dangles still names COM1, which is then absent.
    const QString folder = portnames::userPortsFolder();
    QDir().mkpath(folder);
    const QString link = folder + QStringLiteral("COM1");
    QFile::remove(link);
    QVERIFY(QFile::link(QStringLiteral("/dev/ttyUSB97"), link));
    const portdiagnosis::Resolution r = portdiagnosis::resolve(portnames::deviceName(1));
    QFile::remove(link);
    QCOMPARE(r.path, link);
    QCOMPARE(r.linkPath, link);
    QCOMPARE(r.linkTarget, QStringLiteral("/dev/ttyUSB97"));
    QVERIFY(r.device.isEmpty());
    QVERIFY(QFile::link(QStringLiteral("/dev/ttyUSB97"), link));
    const portdiagnosis::Diagnosis d = portdiagnosis::diagnose(r.path);
    QFile::remove(link);
    QCOMPARE(d.state, State::Absent);
    QCOMPARE(d.danglingTo, QStringLiteral("/dev/ttyUSB97"));
}

void tst_PortDiagnosis::adaptersFromTheSystemFolders()
{
    // sysfs as the kernel lays it out for an FTDI adapter and an on-board port, a
    // placeholder 8250 port (type 0) and a virtual console (no device), /dev with the
    // adapter's node (here a link to the simulator's pseudo-terminal) and udev's by-id name.
    const QString root = dir_.filePath("system");
    portdiagnosis::System system;
    system.ttyClassFolder = root + "/sys/class/tty";
    system.byIdFolder = root + "/dev/serial/by-id";
    system.devFolder = root + "/dev";
    const QString usb = root + "/sys/devices/pci0000:00/usb1/1-2";
    const auto write = [](const QString &path, const QByteArray &text) {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(text + '\n') > 0;
    };
    QVERIFY(write(usb + "/idVendor", "0403"));
    QVERIFY(write(usb + "/idProduct", "6001"));
    QVERIFY(write(usb + "/manufacturer", "FTDI"));
    QVERIFY(write(usb + "/product", "FT232R USB UART"));
    QVERIFY(write(usb + "/serial", "A10KX3QZ"));
    QDir().mkpath(usb + "/1-2:1.0/ttyUSB0");
    QVERIFY(write(root + "/sys/devices/platform/serial8250/tty/ttyS0/x", ""));
    QVERIFY(write(root + "/sys/devices/platform/serial8250/tty/ttyS1/x", ""));
    for (const auto &[name, device, type] : {std::tuple{"ttyUSB0", usb + "/1-2:1.0/ttyUSB0", QByteArray()},
                                             std::tuple{"ttyS0", root + "/sys/devices/platform/serial8250/tty/ttyS0", QByteArray("4")},
                                             std::tuple{"ttyS1", root + "/sys/devices/platform/serial8250/tty/ttyS1", QByteArray("0")}}) {
        QDir().mkpath(system.ttyClassFolder + "/" + name);
        QVERIFY(QFile::link(device, system.ttyClassFolder + "/" + name + "/device"));
        if (!type.isEmpty())
            QVERIFY(write(system.ttyClassFolder + "/" + name + "/type", type));
    }
    QDir().mkpath(system.ttyClassFolder + "/tty1");
    QDir().mkpath(system.byIdFolder);
    QVERIFY(QFile::link(sim_.slavePath(), system.devFolder + "/ttyUSB0"));
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), system.devFolder + "/ttyS0"));
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), system.devFolder + "/ttyS1"));
    QVERIFY(QFile::link("../../ttyUSB0", system.byIdFolder + "/usb-FTDI_FT232R_USB_UART_A10KX3QZ-if00-port0"));

    const portdiagnosis::AdapterList list = portdiagnosis::adapters(system);
    QVERIFY(list.byIdFolderExists);
    QCOMPARE(list.adapters.size(), 2);   // the placeholder and the console are left out
    QCOMPARE(list.adapters[0].device, system.devFolder + "/ttyS0");
    QVERIFY(!list.adapters[0].usb);
    QVERIFY(list.adapters[0].stableName.isEmpty());
    const portdiagnosis::Adapter &a = list.adapters[1];
    QCOMPARE(a.device, system.devFolder + "/ttyUSB0");
    QCOMPARE(a.stableName, system.byIdFolder + "/usb-FTDI_FT232R_USB_UART_A10KX3QZ-if00-port0");
    QVERIFY(a.usb);
    QCOMPARE(a.vendorId, QStringLiteral("0403"));
    QCOMPARE(a.productId, QStringLiteral("6001"));
    QCOMPARE(a.maker, QStringLiteral("FTDI"));
    QCOMPARE(a.product, QStringLiteral("FT232R USB UART"));
    QCOMPARE(a.serialNumber, QStringLiteral("A10KX3QZ"));
    // The simulator's COM4 link names the same node.
    QCOMPARE(a.comName, QStringLiteral("COM4"));
}

void tst_PortDiagnosis::withoutByIdFolderTheListSaysSo()
{
    portdiagnosis::System system;
    system.byIdFolder = dir_.filePath("no-udev/by-id");
    QVERIFY(!portdiagnosis::adapters(system).byIdFolderExists);
}

void tst_PortDiagnosis::reasonsInBothLanguages()
{
    portdiagnosis::Diagnosis d;
    d.path = QStringLiteral("/dev/ttyUSB0");
    d.state = State::PermissionDenied;
    d.group = QStringLiteral("dialout");
    d.mode = 0660;
    QCOMPARE(portdiagnosis::reason(d),
             QStringLiteral("Zugriff verweigert: /dev/ttyUSB0 gehört der Gruppe dialout (Modus 0660); "
                            "Abhilfe: sudo usermod -aG dialout $USER, dann neu anmelden"));
    d.state = State::Held;
    d.holders = {{4242, QStringLiteral("minicom")}};
    QCOMPARE(portdiagnosis::reason(d), QStringLiteral("Belegt von minicom (Prozess 4242): /dev/ttyUSB0"));
}

QTEST_GUILESS_MAIN(tst_PortDiagnosis)
#include "tst_portdiagnosis.moc"
