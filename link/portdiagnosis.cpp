#include "portdiagnosis.h"

#include "portnames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#else
#include <QSerialPortInfo>
#endif

namespace portdiagnosis {

namespace {

QByteArray readSmall(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(4096).trimmed();
}

#ifdef Q_OS_UNIX

// The kernel's tty drivers: a character device is a terminal (and so possibly a serial
// port) when its major and minor number fall into one of their ranges.
bool isTerminalDevice(const System &system, dev_t rdev)
{
    const QList<QByteArray> lines = readSmall(system.procFolder + QStringLiteral("/tty/drivers")).split('\n');
    const uint major = ::major(rdev), minor = ::minor(rdev);
    for (const QByteArray &line : lines) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() < 5 || f[2].toUInt() != major)
            continue;
        const QList<QByteArray> range = f[3].split('-');
        const uint low = range[0].toUInt();
        const uint high = range.size() > 1 ? range[1].toUInt() : low;
        if (minor >= low && minor <= high)
            return true;
    }
    return false;
}

QString programOf(const System &system, qint64 pid)
{
    return QString::fromLocal8Bit(readSmall(system.procFolder + QStringLiteral("/%1/comm").arg(pid)));
}

bool processExists(const System &system, qint64 pid)
{
    return pid > 0 && QFileInfo::exists(system.procFolder + QStringLiteral("/%1").arg(pid));
}

// Who holds the node: flock()s in the lock table, lock files named after it, and every
// process whose open files the system lets us see (our own, or all of them as root).
QList<Holder> holdersOf(const System &system, const QString &path, const struct stat &st)
{
    QList<qint64> pids;
    const auto add = [&](qint64 pid) {
        if (processExists(system, pid) && !pids.contains(pid))
            pids << pid;
    };

    // "1: FLOCK  ADVISORY  WRITE 1234 00:05:3 0 EOF": the inode as major:minor (hex) of its
    // file system, then its number.
    const QByteArray inode = QStringLiteral("%1:%2:%3")
                                 .arg(::major(st.st_dev), 2, 16, QLatin1Char('0'))
                                 .arg(::minor(st.st_dev), 2, 16, QLatin1Char('0'))
                                 .arg(quint64(st.st_ino))
                                 .toLatin1();
    for (const QByteArray &line : readSmall(system.procFolder + QStringLiteral("/locks")).split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 6 && f[1] != "->" && f[5] == inode)
            add(f[4].toLongLong());
    }

    // Lock files "LCK..<name>" hold the holder's process id on their first line (as text,
    // or as a binary int from old programs).
    const QString real = QFileInfo(path).canonicalFilePath();
    QSet<QString> lockNames;
    for (const QString &p : {path, real}) {
        if (p.isEmpty())
            continue;
        lockNames << QStringLiteral("LCK..") + QFileInfo(p).fileName();
        lockNames << QStringLiteral("LCK..") + QString(p).replace(QLatin1Char('/'), QLatin1Char('_'));
    }
    for (const QString &folder : system.lockFolders) {
        for (const QString &name : lockNames) {
            const QByteArray text = readSmall(folder + QLatin1Char('/') + name);
            bool ok = false;
            const qint64 pid = text.split('\n').value(0).trimmed().toLongLong(&ok);
            if (ok)
                add(pid);
        }
    }

    const QDir proc(system.procFolder);
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric || pids.contains(pid))
            continue;
        const QDir fds(proc.filePath(entry + QStringLiteral("/fd")));
        for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
            struct stat target {};
            if (::stat(QFile::encodeName(fd.absoluteFilePath()).constData(), &target) == 0
                && S_ISCHR(target.st_mode) && target.st_rdev == st.st_rdev) {
                add(pid);
                break;
            }
        }
    }

    QList<Holder> holders;
    for (qint64 pid : pids)
        holders << Holder{pid, programOf(system, pid)};
    return holders;
}

QString groupName(gid_t gid)
{
    const struct group *g = ::getgrgid(gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid);
}

QString userName(uid_t uid)
{
    const struct passwd *p = ::getpwuid(uid);
    return p ? QString::fromLocal8Bit(p->pw_name) : QString::number(uid);
}

#endif

} // namespace

System::System()
    : portsFolder(portnames::userPortsFolder())
{
}

Resolution resolve(const QString &deviceName, const System &system)
{
    Resolution r;
    r.name = deviceName;
    r.path = portnames::systemPath(deviceName, system.portsFolder);
    const QFileInfo info(r.path);
    if (info.isSymLink()) {
        r.linkPath = r.path;
        r.linkTarget = info.symLinkTarget();
    }
    if (info.exists())
        r.device = info.canonicalFilePath();
    return r;
}

Diagnosis diagnose(const QString &path, const System &system)
{
    Diagnosis d;
    d.path = path;
#ifdef Q_OS_UNIX
    const QFileInfo info(path);
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        d.state = State::Absent;
        if (info.isSymLink())
            d.danglingTo = info.symLinkTarget();
        return d;
    }
    d.group = groupName(st.st_gid);
    d.owner = userName(st.st_uid);
    d.mode = uint(st.st_mode & 07777);
    if (!S_ISCHR(st.st_mode) || !isTerminalDevice(system, st.st_rdev)) {
        d.state = State::NotSerial;
        return d;
    }
    if (::access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0) {
        d.state = State::PermissionDenied;
        return d;
    }
    d.holders = holdersOf(system, path, st);
    d.state = d.holders.isEmpty() ? State::Free : State::Held;
#else
    Q_UNUSED(system);
    // Windows lists its ports without opening them.
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1);
    d.state = State::Absent;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts()) {
        if (port.portName().compare(name, Qt::CaseInsensitive) == 0)
            d.state = State::Free;
    }
#endif
    return d;
}

Diagnosis diagnoseOpenFailure(const QString &path, const OpenFailure &failure, const System &system)
{
    Diagnosis d = diagnose(path, system);
#ifdef Q_OS_UNIX
    if (d.state == State::Absent || d.state == State::NotSerial)
        return d;
    switch (failure.openErrno) {
    case ENOENT: case ENODEV: case ENXIO:
        d.state = State::Absent;
        return d;
    case EACCES: case EPERM:
        d.state = State::PermissionDenied;
        return d;
    case EBUSY:   // another program set exclusive use (TIOCEXCL)
        d.state = State::Held;
        return d;
    default:
        break;
    }
    if (d.state == State::PermissionDenied)
        return d;
    // The node is there and may be opened: a refused lock, Qt's lock file or a busy device.
    if (failure.lockErrno != 0 || failure.error == QSerialPort::PermissionError
        || failure.error == QSerialPort::OpenError)
        d.state = State::Held;
    else if (failure.error == QSerialPort::UnsupportedOperationError)
        d.state = State::NotSerial;
#else
    // On Windows an access denial means that another program has the port open.
    if (failure.error == QSerialPort::PermissionError)
        d.state = State::Held;
    else if (failure.error == QSerialPort::DeviceNotFoundError)
        d.state = State::Absent;
#endif
    return d;
}

QString stateWord(State state)
{
    switch (state) {
    case State::Free: return QCoreApplication::translate("PortDiagnosis", "Frei");
    case State::Absent: return QCoreApplication::translate("PortDiagnosis", "Nicht vorhanden");
    case State::PermissionDenied: return QCoreApplication::translate("PortDiagnosis", "Zugriff verweigert");
    case State::Held: return QCoreApplication::translate("PortDiagnosis", "Belegt");
    case State::NotSerial: return QCoreApplication::translate("PortDiagnosis", "Kein serieller Anschluss");
    }
    return {};
}

QString reason(const Diagnosis &d)
{
    const QString word = stateWord(d.state);
    switch (d.state) {
    case State::Free:
        return word;
    case State::Absent:
        if (!d.danglingTo.isEmpty())
            return word + QCoreApplication::translate("PortDiagnosis", ": %1 verweist auf %2, das es nicht gibt (Adapter abgezogen?)")
                              .arg(d.path, d.danglingTo);
        return word + QCoreApplication::translate("PortDiagnosis", ": %1 gibt es nicht").arg(d.path);
    case State::PermissionDenied: {
        const QString mode = QStringLiteral("%1").arg(d.mode, 4, 8, QLatin1Char('0'));
        if (d.mode & 060)   // the group may read and write: join it
            return word + QCoreApplication::translate("PortDiagnosis",
                                               ": %1 gehört der Gruppe %2 (Modus %3); Abhilfe: "
                                               "sudo usermod -aG %2 $USER, dann neu anmelden")
                              .arg(d.path, d.group, mode);
        return word + QCoreApplication::translate("PortDiagnosis",
                                           ": %1 dürfen nur %2 und root öffnen (Gruppe %3, Modus %4)")
                          .arg(d.path, d.owner, d.group, mode);
    }
    case State::Held: {
        if (d.holders.isEmpty())
            return word + QCoreApplication::translate("PortDiagnosis",
                                               ": %1 hat ein anderes Programm geöffnet (das System nennt es nicht)")
                              .arg(d.path);
        QStringList who;
        for (const Holder &h : d.holders)
            who << QCoreApplication::translate("PortDiagnosis", "%1 (Prozess %2)")
                       .arg(h.program.isEmpty() ? QStringLiteral("?") : h.program)
                       .arg(h.pid);
        return word + QCoreApplication::translate("PortDiagnosis", " von %1: %2").arg(who.join(QStringLiteral(", ")), d.path);
    }
    case State::NotSerial:
        return word + QCoreApplication::translate("PortDiagnosis", ": %1 ist kein serielles Gerät").arg(d.path);
    }
    return word;
}

Adapter describe(const QString &device, const System &system)
{
    Adapter a;
    a.device = device;
    // sysfs: the tty's device folder, then up to the USB device that carries idVendor.
    const QString name = QFileInfo(device).fileName();
    QString dir = QFileInfo(system.ttyClassFolder + QLatin1Char('/') + name + QStringLiteral("/device")).canonicalFilePath();
    for (int depth = 0; !dir.isEmpty() && depth < 6; ++depth) {
        if (QFileInfo::exists(dir + QStringLiteral("/idVendor"))) {
            a.usb = true;
            const auto field = [&](const char *file) {
                return QString::fromUtf8(readSmall(dir + QLatin1Char('/') + QLatin1String(file)));
            };
            a.vendorId = field("idVendor");
            a.productId = field("idProduct");
            a.maker = field("manufacturer");
            a.product = field("product");
            a.serialNumber = field("serial");
            break;
        }
        const QString up = QFileInfo(dir).path();
        if (up == dir)
            break;
        dir = up;
    }
    return a;
}

QString comNameOf(const QString &device, const System &system)
{
    const QString real = QFileInfo(device).canonicalFilePath();
    if (real.isEmpty())
        return {};
    for (int n = 1; n <= portnames::PortCount; ++n) {
        if (resolve(portnames::deviceName(n), system).device == real)
            return QStringLiteral("COM%1").arg(n);
    }
    return {};
}

AdapterList adapters(const System &system)
{
    AdapterList list;
#ifdef Q_OS_UNIX
    // Stable names first: each by-id link and the node it names.
    QMap<QString, QString> stableNames;   // real device -> by-id path
    const QDir byId(system.byIdFolder);
    list.byIdFolderExists = byId.exists();
    for (const QFileInfo &link : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString real = link.canonicalFilePath();
        if (!real.isEmpty())
            stableNames.insert(real, link.absoluteFilePath());
    }

    QStringList devices;
    const QDir ttys(system.ttyClassFolder);
    for (const QString &name : ttys.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        // Only ttys that sit on hardware; the serial core's placeholder ports say type 0.
        if (!QFileInfo::exists(ttys.filePath(name + QStringLiteral("/device"))))
            continue;
        if (readSmall(ttys.filePath(name + QStringLiteral("/type"))) == "0")
            continue;
        const QString node = system.devFolder + QLatin1Char('/') + name;
        if (QFileInfo::exists(node))
            devices << node;
    }
    QSet<QString> seen;
    for (const QString &node : devices) {
        Adapter a = describe(node, system);
        const QString real = QFileInfo(node).canonicalFilePath();
        seen << real;
        a.stableName = stableNames.value(real);
        a.comName = comNameOf(node, system);
        list.adapters << a;
    }
    // A by-id name whose node sysfs does not list (unusual, but then it is still there).
    for (auto it = stableNames.cbegin(); it != stableNames.cend(); ++it) {
        if (seen.contains(it.key()))
            continue;
        Adapter a = describe(it.key(), system);
        a.stableName = it.value();
        a.comName = comNameOf(it.key(), system);
        list.adapters << a;
    }
#else
    list.byIdFolderExists = false;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts()) {
        Adapter a;
        a.device = port.portName();
        a.comName = port.portName();
        a.usb = port.hasVendorIdentifier();
        a.maker = port.manufacturer();
        a.product = port.description();
        a.serialNumber = port.serialNumber();
        if (port.hasVendorIdentifier())
            a.vendorId = QStringLiteral("%1").arg(port.vendorIdentifier(), 4, 16, QLatin1Char('0'));
        if (port.hasProductIdentifier())
            a.productId = QStringLiteral("%1").arg(port.productIdentifier(), 4, 16, QLatin1Char('0'));
        list.adapters << a;
    }
    Q_UNUSED(system);
#endif
    return list;
}

} // namespace portdiagnosis
