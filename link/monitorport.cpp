#include "monitorport.h"

#include "portnames.h"
#include "serialline.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#else
#include <QSerialPortInfo>
#endif

MonitorPort::MonitorPort(SerialLine &line, QObject *parent)
    : QObject(parent), line_(line)
{
    connect(&line_, &SerialLine::readFinished, this, &MonitorPort::received);
}

bool MonitorPort::receiving() const
{
    return line_.receiving();
}

void MonitorPort::oeffnecom()
{
    if (!portOpened) {
        portDeviceName_ = portnames::deviceName(1);
        openPortNumber = 1;
    }
    line_.open(portDeviceName_);
}

void MonitorPort::schliessecom()
{
    line_.close();
}

void MonitorPort::choose(const QString &deviceName)
{
    chosen_ = deviceName;
    chosenListIndex_ = lastListIndex_;
}

void MonitorPort::requestReopen()
{
    reopenRequested_ = true;
}

void MonitorPort::setAutoReconnect(bool on)
{
    autoReconnect_ = on;
    lastIdentity_.clear();
}

void MonitorPort::reopen()
{
    schliessecom();
    oeffnecom();
    lastIdentity_ = QString();
    deviceAppeared();   // notes the device as it was at this attempt
    sinceAttempt_.start();
}

// Whether the device behind portDeviceName is there and is not the one the last attempt
// found (a replugged adapter, a restarted simulator's new link), or the last attempt is
// over 2 s old. A few stat() calls: nothing measurable while it waits.
bool MonitorPort::deviceAppeared()
{
    const QString path = portnames::systemPath(portDeviceName_);
    QString identity;
#ifdef Q_OS_UNIX
    struct stat link {}, node {};
    if (::lstat(QFile::encodeName(path).constData(), &link) == 0
        && ::stat(QFile::encodeName(path).constData(), &node) == 0)
        identity = QStringLiteral("%1 %2 %3 %4 %5").arg(link.st_ino).arg(link.st_ctime).arg(node.st_ino)
                       .arg(node.st_rdev).arg(node.st_ctime);
#else
    // Windows lists its present ports without opening them.
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1);
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.portName().compare(name, Qt::CaseInsensitive) == 0)
            identity = name;
    }
#endif
    const bool changed = identity != lastIdentity_;
    lastIdentity_ = identity;
    if (identity.isEmpty())
        return false;
    return changed || !sinceAttempt_.isValid() || sinceAttempt_.elapsed() >= 2000;
}

void MonitorPort::tick(int selectedIndex)
{
    if (!portOpened) {
        // The open below still sees portOpened false and takes COM1; the selection
        // check corrects it within this same tick.
        if (selectedIndex >= 0) {
            portDeviceName_ = portnames::deviceName(selectedIndex + 1);
            openPortNumber = quint8(selectedIndex + 1);
        }
        oeffnecom();
        portOpened = true;
    }

    if (chosenListIndex_ == -2)
        chosenListIndex_ = selectedIndex;   // chosen before the first tick (--port)
    lastListIndex_ = selectedIndex;
    if (!chosen_.isEmpty() && selectedIndex != chosenListIndex_)
        chosen_.clear();   // the user picked in the list
    if (!chosen_.isEmpty()) {
        if (portDeviceName_ != chosen_) {
            portDeviceName_ = chosen_;
            openPortNumber = quint8(portnames::portNumber(chosen_));
            selectedPortNumber = openPortNumber;
            reopen();
            reopenRequested_ = false;
        }
    } else {
        if (selectedIndex >= 0)
            selectedPortNumber = quint8(selectedIndex + 1);
        if (selectedPortNumber != 0 && selectedPortNumber != openPortNumber) {
            portDeviceName_ = portnames::deviceName(selectedPortNumber);
            openPortNumber = selectedPortNumber;
            reopen();
            reopenRequested_ = false;
        }
    }
    // While waiting for the device, look for it five times a second, not on every tick.
    const bool look = autoReconnect_ && !line_.isUsable() && (!sinceLook_.isValid() || sinceLook_.elapsed() >= LookMs);
    if (look)
        sinceLook_.start();
    if (reopenRequested_ || (look && deviceAppeared())) {
        reopenRequested_ = false;
        reopen();
    }

    line_.startRead(ReadSize, ReadGapMs, ReadTotalMs);
}
