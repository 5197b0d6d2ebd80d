#include "portnames.h"

#include <QFileInfo>
#include <QRegularExpression>
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

QString deviceNameFromText(const QString &text)
{
    static const QRegularExpression com(QStringLiteral("^(?:\\\\\\\\\\.\\\\)?COM([1-9][0-9]?)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(text);
    if (m.hasMatch()) {
        const int n = m.captured(1).toInt();
        return n <= PortCount ? deviceName(n) : QString();
    }
    return text.contains(QLatin1Char('/')) ? text : QString();
}

QString userPortsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/electronic-fuse/ports/");
}

QString systemPath(const QString &deviceName, const QString &portsFolder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(portsFolder);
    return deviceName;
#else
    const int n = portNumber(deviceName);
    if (n == 0)
        return deviceName;
    const QString candidates[] = {
        portsFolder + QStringLiteral("COM%1").arg(n),
        QStringLiteral("/dev/COM%1").arg(n),
        QStringLiteral("/dev/ttyS%1").arg(n - 1),
    };
    // The user's link names the device even while it dangles (its adapter unplugged):
    // the COM name is then absent, and no on-board port stands in for it.
    if (QFileInfo(candidates[0]).isSymLink() || QFileInfo::exists(candidates[0]))
        return candidates[0];
    for (const QString &path : {candidates[1], candidates[2]}) {
        if (QFileInfo::exists(path))
            return path;
    }
    return candidates[2];
#endif
}

} // namespace portnames
