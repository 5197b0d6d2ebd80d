#include "portnames.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace portnames {

static const QString Prefix = QStringLiteral("\\\\.\\COM");

QString deviceName(int number)
{
    return Prefix + QString::number(number);
}

int portNumber(const QString &deviceName)
{
    if (!deviceName.startsWith(Prefix))
        return 0;
    bool ok = false;
    const int n = deviceName.mid(Prefix.size()).toInt(&ok);
    return ok && n >= 1 ? n : 0;
}

QString userPortsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/electronic-fuse/ports/");
}

QString systemPath(const QString &deviceName)
{
#ifdef Q_OS_WIN
    return deviceName;
#else
    const int n = portNumber(deviceName);
    if (n == 0)
        return deviceName;
    const QString candidates[] = {
        userPortsFolder() + QStringLiteral("COM%1").arg(n),
        QStringLiteral("/dev/COM%1").arg(n),
        QStringLiteral("/dev/ttyS%1").arg(n - 1),
    };
    for (const QString &path : candidates) {
        if (QFileInfo::exists(path))   // follows links: a dangling link does not count
            return path;
    }
    return candidates[2];
#endif
}

} // namespace portnames
