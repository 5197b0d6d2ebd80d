#pragma once

#include <QList>
#include <QSerialPort>
#include <QString>

// Why a port cannot be used, and which serial adapters the machine has, found without
// opening anything: opening a serial device raises its control lines, which resets some
// modules and adapters. The answers come from the system itself: the device node's owner,
// group and mode, the kernel's table of tty drivers, the lock table (/proc/locks), lock
// files, the process table and sysfs.
//
// QSerialPort reports a denied access, a device another program holds and its own lock file
// all as PermissionError, so after a failed open the open's and the lock's error numbers
// (SerialLine::lastOpenFailure) decide, with the node itself.
namespace portdiagnosis {

// Where the system keeps what is read here; tests point these at folders of their own.
struct System
{
    System();
    QString portsFolder;   // the user's COM links (portnames::userPortsFolder())
    QString byIdFolder = QStringLiteral("/dev/serial/by-id");
    QString ttyClassFolder = QStringLiteral("/sys/class/tty");
    QString devFolder = QStringLiteral("/dev");
    QString procFolder = QStringLiteral("/proc");
    QStringList lockFolders = {QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};
};

// How a name reaches a device.
struct Resolution
{
    QString name;         // as given: "\\.\COMn" or a device path
    QString path;         // what the serial layer opens
    QString linkPath;     // a link on the way (the user's COM link, a by-id name), if any
    QString linkTarget;   // what that link names; it may dangle
    QString device;       // the real device node, links followed; empty when there is none
};
Resolution resolve(const QString &deviceName, const System &system = System());

enum class State { Free, Absent, PermissionDenied, Held, NotSerial };

struct Holder
{
    qint64 pid = 0;
    QString program;   // empty when the system does not tell
};

struct Diagnosis
{
    State state = State::Absent;
    QString path;         // the node looked at
    QString danglingTo;   // Absent through a link: what it names
    QString group;        // PermissionDenied: the node's group
    QString owner;
    uint mode = 0;        // permission bits of the node
    QList<Holder> holders;   // Held: who has it, where the system shows it
};

// What the node at path is now, without opening it.
Diagnosis diagnose(const QString &path, const System &system = System());

// What a failed open of path meant, with the error numbers of the open and of the lock
// (0 when that step did not run) and Qt's error.
struct OpenFailure
{
    int openErrno = 0;
    int lockErrno = 0;
    QSerialPort::SerialPortError error = QSerialPort::NoError;
};
Diagnosis diagnoseOpenFailure(const QString &path, const OpenFailure &failure,
                              const System &system = System());

// The state word at the start of every line about a port ("Nicht vorhanden", "Belegt", ...).
QString stateWord(State state);
// The whole reason in words, state word first, with the remedy where there is one.
QString reason(const Diagnosis &diagnosis);

// A serial adapter or on-board port that is really there.
struct Adapter
{
    QString device;       // /dev/ttyUSB0
    QString stableName;   // its name under /dev/serial/by-id/, if any
    QString comName;      // "COM3" when that COM name resolves to it, else empty
    bool usb = false;
    QString maker, product, serialNumber, vendorId, productId;   // what USB adapters say
};

struct AdapterList
{
    bool byIdFolderExists = false;   // false without udev (containers, CI)
    QList<Adapter> adapters;
};
AdapterList adapters(const System &system = System());

// What the system knows of the adapter behind a device node (the USB fields of Adapter).
Adapter describe(const QString &device, const System &system = System());

// The COM name ("COM3") that resolves to device, or empty.
QString comNameOf(const QString &device, const System &system = System());

} // namespace portdiagnosis
